// SPDX-License-Identifier: GPL-2.0-or-later
// RedEyeBrush: the red-eye brush's pixel work. A dab recolours a soft round spot: either the
// red channel is rebuilt from green and blue (eye colour adjustment, factor k) or a chosen
// colour is painted with its brightness matched to each pixel. Sharpness decides how the
// strength falls off from the centre to the rim.
#pragma once

#include <array>
#include <cstdint>

#include "enhancer/dib.h"

// Pixels a dab changed, in image pixels (bottom-up rows), right and bottom exclusive.
struct DabArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

class RedEyeBrush {
public:
    // The sliders' ranges and start positions.
    static constexpr int MinSize = 4, MaxSize = 100, StartSize = 20;
    static constexpr int StartSharpness = 50, StartEyeColour = 100;

    // Takes the three sliders: brush size (diameter in image pixels), eye colour (k = position
    // / 100) and sharpness (0..100).
    void SetFromSliders(int sizePosition, int eyeColourPosition, int sharpnessPosition);
    // The number the brush size label shows.
    int SizeLabelValue() const { return size - 1; }
    // The brush size slider after a wheel turn of delta (120 a notch): two sizes a notch.
    static int SizeAfterWheel(int sizePosition, int wheelDelta);

    // The red that replaces a pixel's in eye colour adjustment.
    uint8_t AutomaticRed(uint8_t green, uint8_t blue) const;
    // The custom colour with its brightness matched to the pixel (bytes blue, green, red).
    std::array<uint8_t, 3> CustomTarget(const uint8_t* pixel) const;
    // Corrects one pixel (blue, green, red) at squared relative distance d from the centre.
    void CorrectPixel(uint8_t* pixel, double d) const;

    // One dab centred on image point (px, py), bottom-up rows. A dab that would reach past an
    // edge of the image is skipped whole and gives an empty area.
    DabArea Dab(const BITMAPINFOHEADER& header, uint8_t* pixels, int px, int py) const;

    int size = StartSize;
    int sharpness = StartSharpness;
    double k = StartEyeColour / 100.0;
    bool customMode = false;
    uint32_t customColour = 0; // COLORREF: red in the low byte, then green, then blue

private:
    double Weight(double d) const;
};

// The colour of pixel (x, y) of a 24-bit bottom-up picture, y counted from the top as on the
// screen, as a COLORREF; false outside the picture. The colour picker reads the rendered
// preview with it.
bool PickColour(const BITMAPINFOHEADER& header, const uint8_t* pixels, int x, int y,
                uint32_t* colour);
