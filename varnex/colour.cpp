// SPDX-License-Identifier: GPL-2.0-or-later
// Colour work: the display colour matrix, grey, toning, adjustments and levels.
#include "varnex/operations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace varnex {

namespace {

using Curve = std::array<double, 256>;

std::optional<VImage> alphaBand(const VImage& in)
{
    return in.bands() == 4 ? std::optional<VImage>(in.extract_band(3)) : std::nullopt;
}

// A lookup table of 256 entries, one band per curve.
VImage lutOf(std::vector<Curve> curves)
{
    std::vector<VImage> bands;
    for (Curve& curve : curves)
        bands.push_back(VImage::new_matrix(256, 1, curve.data(), 256));
    return toUchar(VImage::bandjoin(bands));
}

bool isDiagonal(const imaging::ColorMatrix& m)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (row != column && std::fabs(m[row][column]) > 1e-6f)
                return false;
    return true;
}

// Piecewise cubic through (0, a), (0.5, b), (1, c) with slopes that keep it monotonic where
// the three values are: smooth toning with no bands and no reversals.
double monotoneCurve(double a, double b, double c, double t)
{
    const double s0 = 2 * (b - a);
    const double s1 = 2 * (c - b);
    const double middle = s0 * s1 > 0 ? 2 * s0 * s1 / (s0 + s1) : 0.0;
    const bool first = t < 0.5;
    const double u = first ? t * 2 : (t - 0.5) * 2;
    const double y0 = first ? a : b;
    const double y1 = first ? b : c;
    const double m0 = (first ? s0 : middle) * 0.5;
    const double m1 = (first ? middle : s1) * 0.5;
    const double u2 = u * u;
    const double u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * y0 + (u3 - 2 * u2 + u) * m0 + (-2 * u3 + 3 * u2) * y1 +
           (u3 - u2) * m1;
}

double contrastFactor(int contrast)
{
    // -100 is flat grey; +100 is four times the contrast.
    return contrast <= 0 ? 1.0 + contrast / 100.0 : 1.0 + 3.0 * contrast / 100.0;
}

Curve toneCurve(const Adjustments& a)
{
    Curve curve{};
    const double factor = contrastFactor(std::clamp(a.contrast, -100, 100));
    for (int v = 0; v < 256; ++v) {
        double x = v / 255.0 + std::clamp(a.brightness, -100, 100) / 100.0;
        x = std::clamp((x - 0.5) * factor + 0.5, 0.0, 1.0);
        curve[v] = 255.0 * std::pow(x, 1.0 / a.gamma);
    }
    return curve;
}

VImage hueSaturation(const VImage& rgb, int hue, int saturation)
{
    const double chroma = 1.0 + std::clamp(saturation, -100, 100) / 100.0;
    const VImage lch = rgb.colourspace(VIPS_INTERPRETATION_LCH);
    return toUchar(lch.linear({1.0, chroma, 1.0}, {0.0, 0.0, static_cast<double>(hue)})
                       .colourspace(VIPS_INTERPRETATION_sRGB));
}

// The lowest and highest values with more than clip pixels outside them; false when none
// are (a flat channel).
bool levelRange(const uint32_t* histogram, int bands, int band, double clip, int& low, int& high)
{
    double below = 0;
    for (low = 0; low < 255; ++low)
        if ((below += histogram[low * bands + band]) > clip)
            break;
    double above = 0;
    for (high = 255; high > 0; --high)
        if ((above += histogram[high * bands + band]) > clip)
            break;
    return high > low;
}

} // namespace

VImage applyMatrix(const VImage& in, const imaging::ColorMatrix& m)
{
    if (imaging::isIdentity(m, 1e-6f))
        return in;
    // Rows are [r g b a 1] row vectors on 0..1 values, so row 4 holds offsets of a 255th.
    const std::vector<double> offsets{m[4][0] * 255.0, m[4][1] * 255.0, m[4][2] * 255.0};
    VImage rgb = colourBands(in);
    if (isDiagonal(m)) {
        rgb = rgb.linear({m[0][0], m[1][1], m[2][2]}, offsets);
    } else {
        std::vector<double> transposed(9);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                transposed[column * 3 + row] = m[row][column];
        rgb = rgb.recomb(VImage::new_matrix(3, 3, transposed.data(), 9)).linear(1.0, offsets);
    }
    return withAlpha(toUchar(rgb), alphaBand(in));
}

VImage gray(const VImage& in)
{
    // Luminance computed in linear light, then the same value in all three bands.
    const VImage luminance = colourBands(in).colourspace(VIPS_INTERPRETATION_B_W);
    return withAlpha(toUchar(luminance.colourspace(VIPS_INTERPRETATION_sRGB)), alphaBand(in));
}

VImage colorize(const VImage& in, uint32_t shadows, uint32_t midtones, uint32_t highlights)
{
    const std::vector<double> a = pixelOf(shadows, 3);
    const std::vector<double> b = pixelOf(midtones, 3);
    const std::vector<double> c = pixelOf(highlights, 3);
    std::vector<Curve> curves(3);
    for (int band = 0; band < 3; ++band)
        for (int v = 0; v < 256; ++v)
            curves[band][v] = monotoneCurve(a[band], b[band], c[band], v / 255.0);
    const VImage luminance = colourBands(in).colourspace(VIPS_INTERPRETATION_B_W);
    return withAlpha(toUchar(luminance.maplut(lutOf(curves))), alphaBand(in));
}

VImage adjust(const VImage& in, const Adjustments& a)
{
    VImage rgb = colourBands(in);
    if (a.hue % 360 != 0 || a.saturation != 0)
        rgb = hueSaturation(rgb, a.hue, a.saturation);
    if (a.brightness != 0 || a.contrast != 0 || a.gamma != 1.0) {
        const Curve curve = toneCurve(a);
        rgb = rgb.maplut(lutOf({curve, curve, curve}));
    }
    return withAlpha(toUchar(rgb), alphaBand(in));
}

VImage autoLevels(const VImage& in)
{
    const VImage rgb = colourBands(in);
    size_t length = 0;
    const std::unique_ptr<void, decltype(&g_free)> memory(
        rgb.hist_find().cast(VIPS_FORMAT_UINT).write_to_memory(&length), &g_free);
    const auto* histogram = static_cast<const uint32_t*>(memory.get());
    const double clip = 0.005 * rgb.width() * rgb.height();
    std::vector<double> scale(3, 1.0);
    std::vector<double> offset(3, 0.0);
    for (int band = 0; band < 3; ++band) {
        int low = 0;
        int high = 255;
        if (!levelRange(histogram, 3, band, clip, low, high))
            continue;
        scale[band] = 255.0 / (high - low);
        offset[band] = -low * scale[band];
    }
    return withAlpha(toUchar(rgb.linear(scale, offset)), alphaBand(in));
}

} // namespace varnex
