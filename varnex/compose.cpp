// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures laid over or under the picture.
#include "varnex/operations.h"

#include <algorithm>

namespace varnex {

namespace {

constexpr int WatermarkMargin = 8;

VImage withOpacity(const VImage& top, double opacity)
{
    if (top.bands() != 4)
        return top.bandjoin_const({255.0 * opacity});
    if (opacity >= 1.0)
        return top;
    return colourBands(top).bandjoin(toUchar(top.extract_band(3) * opacity));
}

int scaledSide(int side, int to, int from)
{
    return static_cast<int>(std::max<int64_t>(1, int64_t{side} * to / from));
}

} // namespace

VImage overlay(const VImage& base, const VImage& top, Point at, double opacity)
{
    const VImage layer = withOpacity(top, std::clamp(opacity, 0.0, 1.0));
    const VImage out =
        toUchar(base.composite2(layer, VIPS_BLEND_MODE_OVER,
                                VImage::option()->set("x", at.x)->set("y", at.y)->set(
                                    "compositing_space", VIPS_INTERPRETATION_sRGB)));
    // The blend always gives alpha; a picture that had none keeps none.
    return base.bands() == 4 ? out : colourBands(out);
}

VImage addImage(const VImage& in, const VImage& picture, Point at, Size size, double opacity,
                VipsKernel kernel)
{
    // A side given as 0 follows from the other one, keeping the picture's shape.
    if (size.width <= 0 && size.height > 0)
        size.width = scaledSide(picture.width(), size.height, picture.height());
    if (size.height <= 0 && size.width > 0)
        size.height = scaledSide(picture.height(), size.width, picture.width());
    const VImage placed = size.width > 0 ? resizeExact(picture, size, kernel) : picture;
    return overlay(in, placed, at, opacity);
}

VImage watermark(const VImage& in, const VImage& mark, int code, double opacity, VipsKernel kernel)
{
    // A mark larger than the picture is shrunk to fit within the margins.
    const Size room{std::max(1, in.width() - 2 * WatermarkMargin),
                    std::max(1, in.height() - 2 * WatermarkMargin)};
    const Size fitted = fitInside(sizeOf(mark), room, false);
    const VImage placed = resizeExact(mark, fitted, kernel);
    return overlay(in, placed, anchorPosition(code, sizeOf(in), fitted, WatermarkMargin), opacity);
}

VImage flattenOver(const VImage& in, const Background& background, VipsKernel kernel)
{
    if (in.bands() != 4)
        return in;
    if (!background.image)
        return toUchar(
            in.flatten(VImage::option()->set("background", pixelOf(background.color, 3))));
    return overlay(backgroundCanvas(sizeOf(in), background, kernel), in, {0, 0}, 1.0);
}

} // namespace varnex
