// SPDX-License-Identifier: GPL-2.0-or-later
// PackedImage: a new image an edit made, waiting to be applied to the document. It owns a
// packed buffer (room for the header before the pixels) until the document takes it.
#pragma once

#include <cstdint>
#include <memory>

#include "enhancer/dib.h"

struct PackedPixelsDeleter {
    void operator()(uint8_t* pixels) const;
};
using PackedPixels = std::unique_ptr<uint8_t, PackedPixelsDeleter>;

struct PackedImage {
    BITMAPINFOHEADER header;
    PackedPixels pixels;

    explicit operator bool() const { return pixels != nullptr; }
    int32_t Width() const { return header.biWidth; }
    int32_t Height() const { return header.biHeight; }
    uint32_t Stride() const { return DibStride(header.biWidth); }
    // Hands the buffer over (to ImageRecord::Assign as packed); release it with
    // ImageRecord::FreePacked.
    uint8_t* Release() { return pixels.release(); }
};

// An empty image of width x height with the other header fields of like (resolution and the
// rest), its row padding zeroed; no result when the size is empty or too large. The block has
// some slack after the last row, as the editor's transforms have always kept.
PackedImage MakePackedImage(const BITMAPINFOHEADER& like, int32_t width, int32_t height);
