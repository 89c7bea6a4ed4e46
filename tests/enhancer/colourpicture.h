// SPDX-License-Identifier: GPL-2.0-or-later
// Small pictures for the colour tests: a 24-bit bottom-up pixel block with its header, every
// padding byte set to a marker so that a stray write shows, and a real photo in the same form.
#pragma once

#include <cstdint>
#include <vector>

#include "enhancer/dib.h"

constexpr uint8_t PaddingMarker = 0xEE;

struct Bgr {
    uint8_t blue = 0, green = 0, red = 0;
    bool operator==(const Bgr&) const = default;
};

class ColourPicture {
public:
    ColourPicture(int width, int height, Bgr fill = {});

    Bgr At(int x, int y) const;
    void Set(int x, int y, Bgr colour);
    uint8_t* Pixels() { return bytes.data(); }
    const uint8_t* Pixels() const { return bytes.data(); }
    // True when every padding byte still holds the marker.
    bool PaddingIntact() const;

    BITMAPINFOHEADER header;
    std::vector<uint8_t> bytes;
};

// A camera photo from the test data, decoded by the imaging layer and shrunk to fit
// maxSide x maxSide.
ColourPicture LoadTestPhoto(const char* name, int maxSide);
