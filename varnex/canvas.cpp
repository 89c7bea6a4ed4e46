// SPDX-License-Identifier: GPL-2.0-or-later
// Pixels, colours and anchors shared by the operations, and the plain canvas changes.
#include "varnex/operations.h"

#include <algorithm>

namespace varnex {

std::vector<double> pixelOf(uint32_t colorRef, int bands)
{
    std::vector<double> pixel{static_cast<double>(colorRef & 0xFF),
                              static_cast<double>((colorRef >> 8) & 0xFF),
                              static_cast<double>((colorRef >> 16) & 0xFF)};
    if (bands == 4)
        pixel.push_back(255.0);
    return pixel;
}

Size sizeOf(const VImage& image)
{
    return {image.width(), image.height()};
}

VImage solid(Size size, uint32_t colorRef, int bands)
{
    // A constant image: it costs no memory until something reads it.
    return VImage::black(size.width, size.height)
        .new_from_image(pixelOf(colorRef, bands))
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage colourBands(const VImage& image)
{
    return image.bands() == 3 ? image : image.extract_band(0, VImage::option()->set("n", 3));
}

VImage alphaOf(const VImage& image)
{
    if (image.bands() == 4)
        return image.extract_band(3);
    return VImage::black(image.width(), image.height()).new_from_image(255.0);
}

VImage withAlpha(const VImage& rgb, const std::optional<VImage>& alpha)
{
    return alpha ? rgb.bandjoin(*alpha) : rgb;
}

VImage toUchar(const VImage& image)
{
    // cast() truncates, so results of float work are rounded first.
    VImage out = image.format() == VIPS_FORMAT_UCHAR
                     ? image
                     : image.linear(1.0, 0.5).cast(VIPS_FORMAT_UCHAR);
    return out.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage premultiplied(const VImage& in, const std::function<VImage(const VImage&)>& work)
{
    if (in.bands() != 4)
        return work(in);
    return toUchar(work(in.premultiply()).unpremultiply());
}

bool isAnchor(int code)
{
    return code >= 0 && code <= 8;
}

bool isCanvasPlacement(int code)
{
    return isAnchor(code) || code == AttentionPlacement;
}

Point anchorPosition(int code, Size outer, Size inner, int margin)
{
    auto place = [margin](int step, int outerSide, int innerSide) {
        if (step == 0)
            return margin;
        if (step == 1)
            return (outerSide - innerSide) / 2;
        return outerSide - innerSide - margin;
    };
    return {place(code % 3, outer.width, inner.width), place(code / 3, outer.height, inner.height)};
}

VImage resizeCanvas(const VImage& in, Size size, int code, uint32_t colorRef)
{
    VImage picture = in;
    if (code == AttentionPlacement) {
        // Cut to the canvas around what is interesting; a side the canvas is longer on is
        // padded, centred, below.
        const Size kept{std::min(size.width, in.width()), std::min(size.height, in.height())};
        if (kept.width < in.width() || kept.height < in.height())
            picture = in.smartcrop(kept.width, kept.height,
                                   VImage::option()->set("interesting",
                                                         VIPS_INTERESTING_ATTENTION));
        code = 4;
    }
    // Negative positions crop, so a smaller canvas keeps the part around the anchor.
    const Point at = anchorPosition(code, size, sizeOf(picture), 0);
    return picture.embed(at.x, at.y, size.width, size.height,
                    VImage::option()
                        ->set("extend", VIPS_EXTEND_BACKGROUND)
                        ->set("background", pixelOf(colorRef, picture.bands())));
}

VImage backgroundCanvas(Size size, const Background& background, VipsKernel kernel)
{
    if (!background.image)
        return solid(size, background.color, 3);
    return coverCrop(colourBands(*background.image), size, kernel);
}

} // namespace varnex
