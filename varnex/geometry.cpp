// SPDX-License-Identifier: GPL-2.0-or-later
// Turns and mirrors.
#include "varnex/operations.h"

namespace varnex {

namespace {

VImage turned(const VImage& in, int degrees, const std::vector<double>& background, int mode)
{
    const auto interpolate = vips::VInterpolate::new_from_name(interpolatorFor(mode));
    // An opaque background pixel is the same premultiplied, and a clear one is all zeros.
    return premultiplied(in, [&](const VImage& image) {
        return image.rotate(
            degrees,
            VImage::option()->set("interpolate", interpolate)->set("background", background));
    });
}

} // namespace

VImage rotateQuarters(const VImage& in, int quarterTurns)
{
    switch (((quarterTurns % 4) + 4) % 4) {
    case 1:
        return in.rot90();
    case 2:
        return in.rot180();
    case 3:
        return in.rot270();
    default:
        return in;
    }
}

VImage rotateAny(const VImage& in, int degrees, const Background& background, int mode)
{
    degrees = ((degrees % 360) + 360) % 360;
    if (degrees % 90 == 0)
        return rotateQuarters(in, degrees / 90); // exact, and nothing to fill
    if (!background.image)
        return turned(in, degrees, pixelOf(background.color, in.bands()), mode);
    // Turned on a clear background, then laid on the background picture.
    const VImage clear = in.bands() == 4 ? in : in.bandjoin_const({255});
    return flattenOver(turned(clear, degrees, {0, 0, 0, 0}, mode), background, kernelFor(mode));
}

VImage flip(const VImage& in, VipsDirection direction)
{
    return in.flip(direction);
}

} // namespace varnex
