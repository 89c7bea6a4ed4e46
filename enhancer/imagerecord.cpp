// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/imagerecord.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

namespace
{

// The largest pixel block we agree to allocate: well above any photo we can decode, well
// below what would take the machine down.
constexpr uint64_t MaxPixelBytes = 1ull << 31;

} // namespace

ImageRecord::~ImageRecord()
{
    Release();
}

ImageRecord::ImageRecord(ImageRecord&& other) noexcept
{
    Swap(other);
}

ImageRecord& ImageRecord::operator=(ImageRecord&& other) noexcept
{
    if (this != &other) {
        Release();
        Swap(other);
    }
    return *this;
}

uint8_t* ImageRecord::AllocatePacked(const BITMAPINFOHEADER& header)
{
    if (header.biWidth <= 0 || header.biHeight <= 0)
        return nullptr;
    const uint64_t bytes = uint64_t(DibStride(header.biWidth)) * uint64_t(header.biHeight);
    if (bytes > MaxPixelBytes)
        return nullptr;
    auto* block = static_cast<uint8_t*>(std::malloc(bytes + PackedHeaderRoom));
    return block != nullptr ? block + PackedHeaderRoom : nullptr;
}

void ImageRecord::FreePacked(uint8_t* pixels)
{
    if (pixels != nullptr)
        std::free(pixels - PackedHeaderRoom);
}

uint8_t* ImageRecord::AllocateBare(size_t bytes)
{
    if (bytes == 0 || bytes > MaxPixelBytes)
        return nullptr;
    return static_cast<uint8_t*>(std::malloc(bytes));
}

void ImageRecord::Assign(const BITMAPINFOHEADER& newHeader, uint8_t* pixels, bool packed)
{
    Release();
    header = newHeader;
    m_pixels = pixels;
    RecomputeDerived();
    m_packed = packed;
}

void ImageRecord::Release()
{
    if (m_pixels == nullptr)
        return;
    if (m_packed)
        FreePacked(m_pixels);
    else
        std::free(m_pixels);
    m_pixels = nullptr;
    m_packed = false;
}

void ImageRecord::Swap(ImageRecord& other) noexcept
{
    std::swap(header, other.header);
    std::swap(path, other.path);
    std::swap(fileName, other.fileName);
    std::swap(width, other.width);
    std::swap(height, other.height);
    std::swap(aspect, other.aspect);
    std::swap(widthPixels, other.widthPixels);
    std::swap(heightPixels, other.heightPixels);
    std::swap(byteSize, other.byteSize);
    std::swap(m_pixels, other.m_pixels);
    std::swap(m_packed, other.m_packed);
}

void ImageRecord::RecomputeDerived()
{
    widthPixels = header.biWidth;
    heightPixels = header.biHeight;
    width = widthPixels;
    height = heightPixels;
    aspect = heightPixels != 0 ? float(width / height) : 0.0f;
    byteSize = DibStride(widthPixels) * uint32_t(heightPixels > 0 ? heightPixels : 0);
    m_packed = false;
    const size_t slash = path.find_last_of("/\\");
    fileName = slash == std::string::npos ? path : path.substr(slash + 1);
}
