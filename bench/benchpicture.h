// SPDX-License-Identifier: GPL-2.0-or-later
// What the editor's dialog benchmarks share: a large made-up picture and the best of a few runs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "enhancer/dib.h"
#include "enhancer/imagerecord.h"

namespace bench
{

// A packed 24-bit picture whose pixel (x, y) is fill(x, y, pixel).
inline ImageRecord makePicture(int width, int height,
                               const std::function<void(int, int, uint8_t*)>& fill)
{
    BITMAPINFOHEADER header = MakeDibHeader(width, height);
    const uint32_t stride = DibStride(width);
    header.biSizeImage = stride * height;
    uint8_t* pixels = ImageRecord::AllocatePacked(header);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            fill(x, y, pixels + size_t(y) * stride + size_t(x) * 3);
    ImageRecord record;
    record.Assign(header, pixels, true);
    return record;
}

// The shortest of runs timings, in seconds.
inline double bestOf(int runs, const std::function<double()>& run)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, run());
    return best;
}

} // namespace bench
