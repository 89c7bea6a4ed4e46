// SPDX-License-Identifier: GPL-2.0-or-later
// Sizes and resampling.
#include "varnex/operations.h"

#include <algorithm>
#include <cmath>

namespace varnex {

VipsKernel kernelFor(int interpolationMode)
{
    switch (interpolationMode) {
    case 5:
        return VIPS_KERNEL_NEAREST;
    case 6:
        return VIPS_KERNEL_LINEAR;
    default:
        return VIPS_KERNEL_CUBIC;
    }
}

const char* interpolatorFor(int interpolationMode)
{
    switch (interpolationMode) {
    case 5:
        return "nearest";
    case 6:
        return "bilinear";
    default:
        return "bicubic";
    }
}

Size fitInside(Size source, Size box, bool enlarge)
{
    if (!enlarge && source.width <= box.width && source.height <= box.height)
        return source;
    const double byWidth = static_cast<double>(box.width) / source.width;
    const double byHeight = static_cast<double>(box.height) / source.height;
    // The tighter side is exact; the other is rounded but never 0 nor beyond the box.
    if (byWidth <= byHeight) {
        const long height = std::lround(source.height * byWidth);
        return {box.width, static_cast<int>(std::clamp<long>(height, 1, box.height))};
    }
    const long width = std::lround(source.width * byHeight);
    return {static_cast<int>(std::clamp<long>(width, 1, box.width)), box.height};
}

Size coverSize(Size source, Size box)
{
    const double scale = std::max(static_cast<double>(box.width) / source.width,
                                  static_cast<double>(box.height) / source.height);
    return {std::max(box.width, static_cast<int>(std::lround(source.width * scale))),
            std::max(box.height, static_cast<int>(std::lround(source.height * scale)))};
}

int jpegShrinkFor(Size source, Size target)
{
    // The decoder's scaled output is the stored size divided and rounded up.
    for (int shrink : {8, 4, 2}) {
        const int width = (source.width + shrink - 1) / shrink;
        const int height = (source.height + shrink - 1) / shrink;
        if (width >= target.width && height >= target.height)
            return shrink;
    }
    return 1;
}

VImage resizeExact(const VImage& in, Size target, VipsKernel kernel)
{
    if (sizeOf(in) == target)
        return in;
    const double hscale = static_cast<double>(target.width) / in.width();
    const double vscale = static_cast<double>(target.height) / in.height();
    VImage out = premultiplied(in, [&](const VImage& image) {
        return image.resize(hscale, VImage::option()->set("vscale", vscale)->set("kernel", kernel));
    });
    // Rounding inside the resampler may leave a side one pixel off the size asked for.
    if (sizeOf(out) != target)
        out = out.embed(0, 0, target.width, target.height,
                        VImage::option()->set("extend", VIPS_EXTEND_COPY));
    return out;
}

VImage coverCrop(const VImage& in, Size size, VipsKernel kernel)
{
    const Size covering = coverSize(sizeOf(in), size);
    const VImage scaled = resizeExact(in, covering, kernel);
    return scaled.extract_area((covering.width - size.width) / 2,
                               (covering.height - size.height) / 2, size.width, size.height);
}

} // namespace varnex
