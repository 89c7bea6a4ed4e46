// SPDX-License-Identifier: GPL-2.0-or-later
// AffineTransform: resize, rotation and flips of the editor in one routine. A 2 x 2 matrix maps
// source points to result points; every result pixel is sampled from the source through the
// inverse matrix, bilinearly or, when the picture shrinks a lot, by averaging a box of source
// pixels. Whatever falls outside the source is white.
#pragma once

#include <cstdint>
#include <vector>

#include "enhancer/dib.h"
#include "enhancer/packedimage.h"

// (x, y) maps to (x m00 + y m01, x m10 + y m11); x counts pixels to the right, y rows upwards
// (the bottom-up buffer's own order).
struct TransformMatrix {
    double m00 = 1.0, m01 = 0.0, m10 = 0.0, m11 = 1.0;
};

// A turn clockwise by angle degrees, then the flips. Quarter turns are exact (no rounding
// noise from the sine), so they move whole pixels.
TransformMatrix RotationMatrix(int angle, bool flipHorizontal, bool flipVertical);
// From the current size to the new one.
TransformMatrix ScaleMatrix(int32_t newWidth, int32_t newHeight, int32_t currentWidth,
                            int32_t currentHeight);

class AffineTransform {
public:
    // Below this scale a result pixel covers several source pixels, which are averaged.
    static constexpr double BoxAverageBelow = 0.7;

    AffineTransform(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                    const TransformMatrix& matrix);

    // False when the matrix cannot be inverted or the result would be empty.
    bool IsValid() const { return m_valid; }
    int32_t ResultWidth() const { return m_width; }
    int32_t ResultHeight() const { return m_height; }
    bool UsesBoxAverage() const { return m_scale <= BoxAverageBelow; }
    // The source point that the corner (column, row) of a result pixel maps back to.
    void SourcePoint(double column, double row, double& x, double& y) const;

    // Writes result rows [firstRow, endRow) into pixels (the result's stride).
    void RenderRows(uint8_t* pixels, int firstRow, int endRow) const;
    // The whole result, rows spread over the cores; none when invalid, out of memory or
    // stopped through progress.
    PackedImage Run(const ProgressCallback* progress) const;

private:
    // A source coordinate split into its pixel and the fraction towards the next one.
    struct Axis {
        int whole = 0;
        double fraction = 0.0;
    };

    bool Invert(const TransformMatrix& matrix);
    Axis Locate(double value, int32_t size) const;
    void SampleBilinear(double x, double y, uint8_t* out) const;
    void Blend(Axis ax, Axis ay, uint8_t* out) const;
    void RenderSeparableRows(uint8_t* pixels, int firstRow, int endRow) const;
    void SampleBox(double x, double y, uint8_t* out) const;
    const uint8_t* Pixel(int x, int y) const;

    BITMAPINFOHEADER m_source;
    const uint8_t* m_pixels;
    uint32_t m_stride = 0;
    double m_inverse[4] = {1.0, 0.0, 0.0, 1.0};
    double m_minX = 0.0, m_minY = 0.0;
    double m_scale = 1.0;
    double m_window = 1.0;
    int32_t m_width = 0, m_height = 0;
    // Resize and the quarter turns and flips cover the source exactly: there the border
    // pixels repeat instead of fading into white.
    bool m_axisAligned = false;
    bool m_valid = false;
    // Where each result column samples, for resize, flips and quarter turns: along the
    // source's x, or (turns) along its y.
    std::vector<Axis> m_columns;
    bool m_columnsGiveX = true;
};

// The transform in one call: no result when the matrix is singular, the result empty, memory
// short, or progress asked to stop.
PackedImage TransformImage(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                           const TransformMatrix& matrix, const ProgressCallback* progress);
