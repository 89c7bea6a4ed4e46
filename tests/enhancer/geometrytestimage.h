// SPDX-License-Identifier: GPL-2.0-or-later
// Small images for the geometry tests: crafted pixel by pixel, or a real photo decoded by
// libvips into the editor's bottom-up blue-green-red rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "enhancer/dib.h"
#include "enhancer/packedimage.h"

struct Bgr {
    uint8_t b = 0, g = 0, r = 0;
    bool operator==(const Bgr&) const = default;
};

// An image in the editor's layout; x to the right, y rows from the bottom.
class TestImage {
public:
    TestImage(int32_t width, int32_t height, Bgr fill = {});
    // A copy of an edit's result.
    explicit TestImage(const PackedImage& image);

    int32_t Width() const { return m_header.biWidth; }
    int32_t Height() const { return m_header.biHeight; }
    const BITMAPINFOHEADER& Header() const { return m_header; }
    const uint8_t* Pixels() const { return m_bytes.data(); }
    uint8_t* Pixels() { return m_bytes.data(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    Bgr At(int x, int y) const;
    void Set(int x, int y, Bgr colour);
    // Fills the row padding with a byte that no pixel has, so reading it shows.
    void PoisonPadding(uint8_t value);
    // Pixels only, row by row (padding left out).
    std::vector<uint8_t> PixelBytes() const;

private:
    BITMAPINFOHEADER m_header;
    std::vector<uint8_t> m_bytes;
};

// A distinct colour for each position of a small image: tells at a glance where a pixel came
// from.
Bgr Label(int x, int y);
// An image whose pixels are their labels.
TestImage LabelledImage(int32_t width, int32_t height);

// A photo of the test data decoded by libvips (upright as stored, 8-bit sRGB).
TestImage LoadPhoto(const std::string& relativePath);
// The same photo turned clockwise by 90, 180 or 270 degrees, or mirrored, by libvips itself.
enum class VipsTurn { Rotate90, Rotate180, Rotate270, FlipHorizontal, FlipVertical };
TestImage LoadPhotoTurnedByVips(const std::string& relativePath, VipsTurn turn);
