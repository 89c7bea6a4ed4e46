// SPDX-License-Identifier: GPL-2.0-or-later
// Light, blur, sharpness and shadow.
#include "varnex/operations.h"

#include <algorithm>
#include <cmath>

namespace varnex {

namespace {

// The shine fades out over this share of the height.
constexpr double ShineReach = 0.55;

// How much of the picture stays in each lit row (1 - the light's opacity): strength at the
// top, easing smoothly to nothing.
VImage shineColumn(int rows, int total, double strength)
{
    std::vector<double> keep(static_cast<size_t>(rows));
    for (int y = 0; y < rows; ++y) {
        const double t = std::min(1.0, (y + 0.5) / (total * ShineReach));
        const double ease = 1.0 - t * t * (3.0 - 2.0 * t);
        keep[y] = 1.0 - strength * ease;
    }
    return VImage::new_matrix(1, rows, keep.data(), rows);
}

} // namespace

VImage shine(const VImage& in, int strength)
{
    const int rows = std::max(1, static_cast<int>(std::ceil(in.height() * ShineReach)));
    const VImage keep =
        shineColumn(rows, in.height(), std::clamp(strength, 0, 100) / 100.0)
            .embed(0, 0, in.width(), rows, VImage::option()->set("extend", VIPS_EXTEND_COPY));
    // White laid over the top rows: out = white + (in - white) * keep.
    const VImage top = colourBands(in.extract_area(0, 0, in.width(), rows));
    const VImage lit = toUchar((top - 255.0) * keep + 255.0);
    const VImage litWithAlpha =
        in.bands() == 4 ? lit.bandjoin(in.extract_area(0, 0, in.width(), rows)[3]) : lit;
    return in.insert(litWithAlpha, 0, 0);
}

VImage blur(const VImage& in, double sigma)
{
    return premultiplied(in, [sigma](const VImage& image) { return image.gaussblur(sigma); });
}

VImage sharpen(const VImage& in, int strength)
{
    // Sharpened in lightness only, which keeps colour fringes off the edges; flat areas get
    // a little so noise stays down.
    const double amount = std::clamp(strength, 0, 100) / 100.0;
    const VImage sharp = colourBands(in).sharpen(VImage::option()
                                                     ->set("sigma", 1.0)
                                                     ->set("x1", 2.0)
                                                     ->set("m1", amount)
                                                     ->set("m2", 5.0 * amount));
    const VImage rgb = toUchar(sharp.colourspace(VIPS_INTERPRETATION_sRGB));
    return in.bands() == 4 ? rgb.bandjoin(in[3]) : rgb;
}

VImage dropShadow(const VImage& in, const Shadow& shadow, const Background& background,
                  VipsKernel kernel)
{
    // The blur spreads about shadow.blur pixels beyond the shadow's edges; the canvas holds
    // all of it, with the picture as far up and left as that allows.
    const int spread = shadow.blur;
    const int lead = std::max(0, spread - shadow.offset);
    const Size canvas{lead + in.width() + shadow.offset + spread,
                      lead + in.height() + shadow.offset + spread};
    const int at = lead + shadow.offset;
    VImage shape = alphaOf(in).embed(at, at, canvas.width, canvas.height);
    if (spread > 0)
        shape = shape.gaussblur(spread / 2.0);
    const VImage layer = solid(canvas, shadow.color, 3)
                             .bandjoin(toUchar(shape * std::clamp(shadow.opacity, 0.0, 1.0)));
    const VImage shaded = overlay(backgroundCanvas(canvas, background, kernel), layer, {0, 0}, 1.0);
    return overlay(shaded, in, {lead, lead}, 1.0);
}

} // namespace varnex
