// SPDX-License-Identifier: GPL-2.0-or-later
// CSharpenOperation: sharpen or soften by an amount. A sharpened copy of the whole image is
// made once; moving the slider only blends the source towards it (positive amounts) or away
// from it (negative amounts, which soften).
#pragma once

#include <cstdint>
#include <memory>

#include "enhancer/dib.h"
#include "enhancer/operation.h"

class CSharpenOperation : public COperation {
public:
    static constexpr int MinAmount = -40;
    static constexpr int MaxAmount = 100;
    static constexpr int SliderMaximum = 200;

    // The amount of a slider position (0 to 200): its left half covers -40 to 0, its right
    // half 0 to 100.
    static int AmountOfSlider(int position);
    static int SliderOfAmount(int amount) { return amount + 100; }

    int Amount() const { return m_amount; }
    void SetAmount(int amount);

    // Makes the sharpened copy of the image; false when memory is short or progress asked to
    // stop (the operation then has no copy and applies nothing).
    bool Prepare(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                 const ProgressCallback* progress);
    bool IsPrepared() const { return m_sharpened != nullptr; }
    // The sharpened copy (same layout as the source), null before Prepare.
    const uint8_t* Sharpened() const { return m_sharpened.get(); }

    // Blends source with the sharpened copy into *destinationPixels: the whole image, or only
    // the pixels inside rect. False for a source of another size than the prepared one.
    bool Apply(BITMAPINFOHEADER source, const uint8_t* sourcePixels,
               BITMAPINFOHEADER destination, uint8_t** destinationPixels,
               const ProgressCallback* progress, const RECT* rect) override;

    // One blended byte.
    static uint8_t Blend(uint8_t source, uint8_t sharpened, int amount);

private:
    void SharpenRows(const uint8_t* source, int firstRow, int endRow);
    void BlendRows(const uint8_t* source, uint8_t* destination, const RECT& area, int firstRow,
                   int endRow) const;

    int m_amount = 0;
    BITMAPINFOHEADER m_header;
    std::unique_ptr<uint8_t[]> m_sharpened;
};
