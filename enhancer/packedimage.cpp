// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/packedimage.h"

#include <cstdlib>
#include <cstring>

#include "enhancer/imagerecord.h"

namespace
{

// Slack after the pixels: the whole block is stride x height + 64 bytes, the pixels 40 in.
constexpr size_t TailRoom = 24;
// Never more than 2 GB of pixels: far above any photo the editor opens.
constexpr uint64_t MaxPixelBytes = 1ull << 31;

} // namespace

void PackedPixelsDeleter::operator()(uint8_t* pixels) const
{
    ImageRecord::FreePacked(pixels);
}

PackedImage MakePackedImage(const BITMAPINFOHEADER& like, int32_t width, int32_t height)
{
    PackedImage image;
    if (width <= 0 || height <= 0)
        return image;
    const uint64_t bytes = uint64_t(DibStride(width)) * uint64_t(height);
    if (bytes > MaxPixelBytes)
        return image;
    auto* block = static_cast<uint8_t*>(std::malloc(bytes + PackedHeaderRoom + TailRoom));
    if (block == nullptr)
        return image;
    image.pixels.reset(block + PackedHeaderRoom);
    image.header = like;
    image.header.biWidth = width;
    image.header.biHeight = height;
    image.header.biSizeImage = uint32_t(bytes);
    const uint32_t stride = DibStride(width);
    const uint32_t used = uint32_t(width) * 3u;
    if (stride != used) {
        for (int32_t row = 0; row < height; ++row)
            std::memset(image.pixels.get() + size_t(row) * stride + used, 0, stride - used);
    }
    std::memset(image.pixels.get() + bytes, 0, TailRoom);
    return image;
}
