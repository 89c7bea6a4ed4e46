// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/sharpenoperation.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "enhancer/imagerecord.h"
#include "enhancer/rowbands.h"

namespace
{

ProgressCallback CallbackOf(const ProgressCallback* progress)
{
    return progress != nullptr ? *progress : ProgressCallback();
}

} // namespace

int CSharpenOperation::AmountOfSlider(int position)
{
    const int amount = std::clamp(position, 0, SliderMaximum) - 100;
    // Softening goes only to -40: the left half of the slider is stretched by 2.5.
    return amount < 0 ? int(amount / 2.5) : amount;
}

void CSharpenOperation::SetAmount(int amount)
{
    m_amount = std::clamp(amount, MinAmount, MaxAmount);
}

uint8_t CSharpenOperation::Blend(uint8_t source, uint8_t sharpened, int amount)
{
    const int value = source + (sharpened - source) * amount / 100;
    return uint8_t(std::clamp(value, 0, 255));
}

bool CSharpenOperation::Prepare(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                                const ProgressCallback* progress)
{
    m_sharpened.reset();
    if (sourcePixels == nullptr || source.biWidth <= 0 || source.biHeight <= 0 ||
        source.biBitCount != 24)
        return false;
    const size_t bytes = size_t(DibStride(source.biWidth)) * size_t(source.biHeight);
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[bytes]);
    if (copy == nullptr)
        return false;
    m_header = source;
    m_sharpened = std::move(copy);
    const bool done = RunRowBands(
        source.biHeight, [&](int first, int end) { SharpenRows(sourcePixels, first, end); },
        CallbackOf(progress));
    if (!done)
        m_sharpened.reset();
    return done;
}

// Each byte of an inner pixel against the same byte of its four neighbours. The outer rows
// and columns keep their values: a neighbour there would be padding or another row.
void CSharpenOperation::SharpenRows(const uint8_t* source, int firstRow, int endRow)
{
    const size_t stride = DibStride(m_header.biWidth);
    const int height = m_header.biHeight;
    const size_t innerEnd = size_t(std::max(m_header.biWidth - 1, 1)) * 3;
    for (int row = firstRow; row < endRow; ++row) {
        const uint8_t* in = source + size_t(row) * stride;
        uint8_t* out = m_sharpened.get() + size_t(row) * stride;
        std::memcpy(out, in, stride);
        if (row == 0 || row == height - 1)
            continue;
        for (size_t b = 3; b < innerEnd; ++b) {
            const int value = 5 * in[b] - in[b - 3] - in[b + 3] - in[b - stride] - in[b + stride];
            out[b] = uint8_t(std::clamp(value, 0, 255));
        }
    }
}

void CSharpenOperation::BlendRows(const uint8_t* source, uint8_t* destination, const RECT& area,
                                  int firstRow, int endRow) const
{
    const size_t stride = DibStride(m_header.biWidth);
    const size_t begin = size_t(area.left) * 3;
    // Whole rows take their padding along, so a new buffer is written completely.
    const size_t end = area.left == 0 && area.right == m_header.biWidth ? stride
                                                                          : size_t(area.right) * 3;
    for (int row = area.top + firstRow; row < area.top + endRow; ++row) {
        const size_t offset = size_t(row) * stride;
        const uint8_t* in = source + offset;
        const uint8_t* sharp = m_sharpened.get() + offset;
        uint8_t* out = destination + offset;
        for (size_t b = begin; b < end; ++b)
            out[b] = Blend(in[b], sharp[b], m_amount);
    }
}

bool CSharpenOperation::Apply(BITMAPINFOHEADER source, const uint8_t* sourcePixels,
                              BITMAPINFOHEADER destination, uint8_t** destinationPixels,
                              const ProgressCallback* progress, const RECT* rect)
{
    (void)destination;
    if (!IsPrepared() || sourcePixels == nullptr || destinationPixels == nullptr ||
        source.biWidth != m_header.biWidth || source.biHeight != m_header.biHeight)
        return false;
    RECT area{0, 0, source.biWidth, source.biHeight};
    if (rect != nullptr) {
        area.left = std::clamp(rect->left, 0, source.biWidth);
        area.right = std::clamp(rect->right, area.left, source.biWidth);
        area.top = std::clamp(rect->top, 0, source.biHeight);
        area.bottom = std::clamp(rect->bottom, area.top, source.biHeight);
    }
    uint8_t* made = nullptr;
    if (*destinationPixels == nullptr) {
        made = ImageRecord::AllocatePacked(source);
        if (made == nullptr)
            return false;
        // A new buffer has only what is blended below: the rest starts as the source.
        if (rect != nullptr)
            std::memcpy(made, sourcePixels, size_t(DibStride(source.biWidth)) * source.biHeight);
    }
    uint8_t* target = made != nullptr ? made : *destinationPixels;
    const bool done = RunRowBands(
        area.bottom - area.top,
        [&](int first, int end) { BlendRows(sourcePixels, target, area, first, end); },
        CallbackOf(progress));
    if (!done) {
        ImageRecord::FreePacked(made);
        return false;
    }
    if (made != nullptr)
        *destinationPixels = made;
    return true;
}
