// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/cropcopy.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "enhancer/rowbands.h"

RECT BufferRectOfCrop(const BITMAPINFOHEADER& source, const RECT& rectangle)
{
    const int64_t width = std::max<int32_t>(source.biWidth, 0);
    const int64_t height = std::max<int32_t>(source.biHeight, 0);
    int64_t left = rectangle.left;
    int64_t right = rectangle.right;
    int64_t top = height - rectangle.top;
    int64_t bottom = height - rectangle.bottom;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    RECT result;
    result.left = int32_t(std::clamp<int64_t>(left, 0, width));
    result.right = int32_t(std::clamp<int64_t>(right, 0, width));
    result.top = int32_t(std::clamp<int64_t>(top, 0, height));
    result.bottom = int32_t(std::clamp<int64_t>(bottom, 0, height));
    return result;
}

PackedImage CropCopy(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                     const RECT& rectangle, const ProgressCallback* progress)
{
    if (sourcePixels == nullptr || source.biBitCount != 24)
        return {};
    const RECT area = BufferRectOfCrop(source, rectangle);
    const int32_t width = area.right - area.left;
    const int32_t height = area.bottom - area.top;
    PackedImage result = MakePackedImage(source, width, height);
    if (!result)
        return {};
    const uint32_t sourceStride = DibStride(source.biWidth);
    const uint32_t stride = result.Stride();
    uint8_t* pixels = result.pixels.get();
    auto copyRows = [&](int first, int end) {
        for (int row = first; row < end; ++row)
            std::memcpy(pixels + size_t(row) * stride,
                        sourcePixels + size_t(area.top + row) * sourceStride + size_t(area.left) * 3,
                        size_t(width) * 3);
    };
    if (!RunRowBands(height, copyRows, progress != nullptr ? *progress : ProgressCallback()))
        return {};
    return result;
}
