// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/affinetransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "enhancer/rowbands.h"

namespace
{

constexpr double SmallestPivot = 0.0001;
// Extents are rounded up unless they overshoot a whole pixel by less than this.
constexpr double RoundUp = 0.9999;
// Coordinates this close to a whole pixel are taken as that pixel.
constexpr double Snap = 1e-9;
const uint8_t White[3] = {255, 255, 255};

// The whole part (into whole) and the fraction of a coordinate above -3, without the
// library's floor, which is slow on plain x86-64. A fraction this close to 0 or 1 is rounding
// noise: exact turns and flips copy pixels instead of blending them with it.
double SnappedFraction(double value, int& whole)
{
    whole = int(value + 3.0) - 3;
    double fraction = value - whole;
    if (fraction < Snap) {
        fraction = 0.0;
    } else if (fraction > 1.0 - Snap) {
        fraction = 0.0;
        ++whole;
    }
    return fraction;
}

uint8_t Clamped(int value)
{
    return uint8_t(std::clamp(value, 0, 255));
}

// A channel times a weight, truncated, as the bilinear blend adds them.
int Weighted(uint8_t channel, double weight)
{
    return int(channel * weight);
}

} // namespace

TransformMatrix RotationMatrix(int angle, bool flipHorizontal, bool flipVertical)
{
    const int turn = ((angle % 360) + 360) % 360;
    double cosine = 0.0;
    double sine = 0.0;
    switch (turn) {
    case 0: cosine = 1.0; break;
    case 90: sine = 1.0; break;
    case 180: cosine = -1.0; break;
    case 270: sine = -1.0; break;
    default: {
        const double theta = double(turn) / 180.0 * std::numbers::pi;
        cosine = std::cos(theta);
        sine = std::sin(theta);
    }
    }
    TransformMatrix matrix{cosine, sine, -sine, cosine};
    if (flipHorizontal) {
        matrix.m00 = -matrix.m00;
        matrix.m01 = -matrix.m01;
    }
    if (flipVertical) {
        matrix.m10 = -matrix.m10;
        matrix.m11 = -matrix.m11;
    }
    return matrix;
}

TransformMatrix ScaleMatrix(int32_t newWidth, int32_t newHeight, int32_t currentWidth,
                            int32_t currentHeight)
{
    TransformMatrix matrix;
    matrix.m00 = currentWidth != 0 ? double(newWidth) / currentWidth : 0.0;
    matrix.m11 = currentHeight != 0 ? double(newHeight) / currentHeight : 0.0;
    return matrix;
}

AffineTransform::AffineTransform(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                                 const TransformMatrix& m)
    : m_source(source), m_pixels(sourcePixels), m_stride(DibStride(source.biWidth))
{
    if (sourcePixels == nullptr || source.biWidth <= 0 || source.biHeight <= 0 ||
        source.biBitCount != 24)
        return;
    const double w = source.biWidth;
    const double h = source.biHeight;
    const double xs[4] = {0.0, w * m.m00 + h * m.m01, w * m.m00, h * m.m01};
    const double ys[4] = {0.0, w * m.m10 + h * m.m11, w * m.m10, h * m.m11};
    m_minX = *std::min_element(xs, xs + 4);
    m_minY = *std::min_element(ys, ys + 4);
    const double width = std::trunc(*std::max_element(xs, xs + 4) - m_minX + RoundUp);
    const double height = std::trunc(*std::max_element(ys, ys + 4) - m_minY + RoundUp);
    m_scale = std::sqrt(std::fabs(m.m00 * m.m11 - m.m01 * m.m10));
    m_window = m_scale > 0.0 ? 1.0 / m_scale : 0.0;
    m_axisAligned = (m.m01 == 0.0 && m.m10 == 0.0) || (m.m00 == 0.0 && m.m11 == 0.0);
    if (!Invert(m) || width < 1.0 || height < 1.0 || width > INT32_MAX || height > INT32_MAX)
        return;
    m_width = int32_t(width);
    m_height = int32_t(height);
    m_valid = true;
    // Resize and flips: the source x follows the result column alone and y the row alone;
    // quarter turns: the other way round. Each is then located once per column or row.
    const bool scales = m.m01 == 0.0 && m.m10 == 0.0;
    const bool turns = m.m00 == 0.0 && m.m11 == 0.0;
    if ((scales || turns) && !UsesBoxAverage()) {
        m_columnsGiveX = scales;
        m_columns.resize(size_t(m_width));
        for (int column = 0; column < m_width; ++column) {
            double x = 0.0;
            double y = 0.0;
            SourcePoint(column + 0.5, 0.5, x, y);
            m_columns[size_t(column)] = scales ? Locate(x - 0.5, m_source.biWidth)
                                               : Locate(y - 0.5, m_source.biHeight);
        }
    }
}

// Elimination with the larger first column entry as pivot; a pivot this small means the
// matrix squashes the picture flat.
bool AffineTransform::Invert(const TransformMatrix& m)
{
    const bool exchange = std::fabs(m.m10) > std::fabs(m.m00);
    const double a = exchange ? m.m10 : m.m00;
    const double b = exchange ? m.m11 : m.m01;
    const double c = exchange ? m.m00 : m.m10;
    const double d = exchange ? m.m01 : m.m11;
    if (std::fabs(a) < SmallestPivot)
        return false;
    if (std::fabs(d - c / a * b) < SmallestPivot)
        return false;
    const double determinant = m.m00 * m.m11 - m.m01 * m.m10;
    m_inverse[0] = m.m11 / determinant;
    m_inverse[1] = -m.m01 / determinant;
    m_inverse[2] = -m.m10 / determinant;
    m_inverse[3] = m.m00 / determinant;
    return true;
}

void AffineTransform::SourcePoint(double column, double row, double& x, double& y) const
{
    const double u = column + m_minX;
    const double v = row + m_minY;
    x = m_inverse[0] * u + m_inverse[1] * v;
    y = m_inverse[2] * u + m_inverse[3] * v;
}

const uint8_t* AffineTransform::Pixel(int x, int y) const
{
    if (m_axisAligned) {
        x = std::clamp(x, 0, m_source.biWidth - 1);
        y = std::clamp(y, 0, m_source.biHeight - 1);
    } else if (x < 0 || y < 0 || x >= m_source.biWidth || y >= m_source.biHeight) {
        return White;
    }
    return m_pixels + size_t(y) * m_stride + size_t(x) * 3;
}

AffineTransform::Axis AffineTransform::Locate(double value, int32_t size) const
{
    // The result of an axis-aligned transform covers the source exactly: points past the
    // outer pixel centres take the border pixels.
    if (m_axisAligned)
        value = std::clamp(value, 0.0, size - 1.0);
    Axis axis;
    axis.fraction = SnappedFraction(value, axis.whole);
    return axis;
}

void AffineTransform::SampleBilinear(double x, double y, uint8_t* out) const
{
    if (!m_axisAligned && (x < -2.0 || y < -2.0 || x > m_source.biWidth + 1.0 ||
                           y > m_source.biHeight + 1.0)) {
        // Far outside: white without looking (and without overflowing an int).
        out[0] = out[1] = out[2] = 255;
        return;
    }
    Blend(Locate(x, m_source.biWidth), Locate(y, m_source.biHeight), out);
}

void AffineTransform::Blend(Axis ax, Axis ay, uint8_t* out) const
{
    const int x0 = ax.whole;
    const int y0 = ay.whole;
    const double fx = ax.fraction;
    const double fy = ay.fraction;
    const bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < m_source.biWidth &&
                        y0 + 1 < m_source.biHeight;
    const uint8_t* p00 = inside ? m_pixels + size_t(y0) * m_stride + size_t(x0) * 3 : Pixel(x0, y0);
    if (fx == 0.0 && fy == 0.0) {
        out[0] = p00[0];
        out[1] = p00[1];
        out[2] = p00[2];
        return;
    }
    const uint8_t* p10 = inside ? p00 + 3 : Pixel(x0 + 1, y0);
    const uint8_t* p01 = inside ? p00 + m_stride : Pixel(x0, y0 + 1);
    const uint8_t* p11 = inside ? p00 + m_stride + 3 : Pixel(x0 + 1, y0 + 1);
    for (int c = 0; c < 3; ++c) {
        const uint8_t top = Clamped(Weighted(p10[c], fx) + Weighted(p00[c], 1.0 - fx));
        const uint8_t bottom = Clamped(Weighted(p11[c], fx) + Weighted(p01[c], 1.0 - fx));
        out[c] = Clamped(Weighted(bottom, fy) + Weighted(top, 1.0 - fy));
    }
}

void AffineTransform::SampleBox(double x, double y, uint8_t* out) const
{
    const double limit = double(INT32_MAX / 2);
    int x0 = int(std::floor(std::clamp(x, -limit, limit)));
    int x1 = int(std::floor(std::clamp(x + m_window, -limit, limit)));
    int y0 = int(std::floor(std::clamp(y, -limit, limit)));
    int y1 = int(std::floor(std::clamp(y + m_window, -limit, limit)));
    if (m_axisAligned) {
        // Only the source's own pixels: a shrunk picture keeps its edges.
        const int right = m_source.biWidth - 1;
        const int top = m_source.biHeight - 1;
        x0 = std::clamp(x0, 0, right);
        x1 = std::clamp(x1, 0, right);
        y0 = std::clamp(y0, 0, top);
        y1 = std::clamp(y1, 0, top);
    }
    uint64_t sum[3] = {0, 0, 0};
    for (int sy = y0; sy <= y1; ++sy) {
        for (int sx = x0; sx <= x1; ++sx) {
            const uint8_t* p = Pixel(sx, sy);
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
        }
    }
    const uint64_t count = uint64_t(x1 - x0 + 1) * uint64_t(y1 - y0 + 1);
    for (int c = 0; c < 3; ++c)
        out[c] = uint8_t(sum[c] / count);
}

void AffineTransform::RenderRows(uint8_t* pixels, int firstRow, int endRow) const
{
    const uint32_t stride = DibStride(m_width);
    const bool box = UsesBoxAverage();
    if (!box && !m_columns.empty()) {
        RenderSeparableRows(pixels, firstRow, endRow);
        return;
    }
    for (int row = firstRow; row < endRow; ++row) {
        uint8_t* out = pixels + size_t(row) * stride;
        for (int column = 0; column < m_width; ++column, out += 3) {
            double x = 0.0;
            double y = 0.0;
            if (box) {
                // The box starts at the result pixel's corner and spans its footprint.
                SourcePoint(column, row, x, y);
                SampleBox(x, y, out);
            } else {
                // Pixel centre to pixel centre: turns and flips move whole pixels.
                SourcePoint(column + 0.5, row + 0.5, x, y);
                SampleBilinear(x - 0.5, y - 0.5, out);
            }
        }
    }
}

// The same arithmetic as per pixel (the other matrix entries are zero), so the same bytes.
void AffineTransform::RenderSeparableRows(uint8_t* pixels, int firstRow, int endRow) const
{
    const uint32_t stride = DibStride(m_width);
    for (int row = firstRow; row < endRow; ++row) {
        double x = 0.0;
        double y = 0.0;
        SourcePoint(0.5, row + 0.5, x, y);
        uint8_t* out = pixels + size_t(row) * stride;
        if (m_columnsGiveX) {
            const Axis ay = Locate(y - 0.5, m_source.biHeight);
            for (int column = 0; column < m_width; ++column, out += 3)
                Blend(m_columns[size_t(column)], ay, out);
        } else {
            const Axis ax = Locate(x - 0.5, m_source.biWidth);
            for (int column = 0; column < m_width; ++column, out += 3)
                Blend(ax, m_columns[size_t(column)], out);
        }
    }
}

PackedImage AffineTransform::Run(const ProgressCallback* progress) const
{
    if (!m_valid)
        return {};
    PackedImage result = MakePackedImage(m_source, m_width, m_height);
    if (!result)
        return {};
    uint8_t* pixels = result.pixels.get();
    const bool done = RunRowBands(
        m_height, [&](int first, int end) { RenderRows(pixels, first, end); },
        progress != nullptr ? *progress : ProgressCallback());
    if (!done)
        return {};
    return result;
}

PackedImage TransformImage(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                           const TransformMatrix& matrix, const ProgressCallback* progress)
{
    return AffineTransform(source, sourcePixels, matrix).Run(progress);
}
