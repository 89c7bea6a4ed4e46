// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/redeyebrush.h"

#include <algorithm>
#include <cmath>

namespace
{

uint8_t ColourByte(uint32_t colour, int shift)
{
    return uint8_t((colour >> shift) & 0xff);
}

} // namespace

void RedEyeBrush::SetFromSliders(int sizePosition, int eyeColourPosition, int sharpnessPosition)
{
    size = sizePosition;
    k = eyeColourPosition / 100.0;
    sharpness = sharpnessPosition;
}

int RedEyeBrush::SizeAfterWheel(int sizePosition, int wheelDelta)
{
    return std::clamp(sizePosition + wheelDelta / 120 * 2, MinSize, MaxSize);
}

uint8_t RedEyeBrush::AutomaticRed(uint8_t green, uint8_t blue) const
{
    const double red = (3 * k - 1) * green + (2 - 3 * k) * blue;
    return uint8_t(std::clamp(red, 0.0, 255.0));
}

std::array<uint8_t, 3> RedEyeBrush::CustomTarget(const uint8_t* pixel) const
{
    // Blue and green carry the pixel's brightness: its red is the very fault being painted over.
    const int s = pixel[0] + pixel[1];
    const int m = ColourByte(customColour, 8) + ColourByte(customColour, 16);
    std::array<uint8_t, 3> target{};
    for (int channel = 0; channel < 3; ++channel) {
        // Pixel bytes run blue, green, red; the colour's run red, green, blue.
        const int t = ColourByte(customColour, 8 * (2 - channel));
        const double value =
            m > s ? double(t) * s / m : 255 - double(255 - t) * (511 - s) / (511 - m);
        target[channel] = uint8_t(value);
    }
    return target;
}

double RedEyeBrush::Weight(double d) const
{
    if (sharpness > 50) {
        const double t = 2.0 * sharpness / 100 - 1;
        return (1 - d) / (1 - t);
    }
    return (1 - d) * (2.0 * sharpness / 100);
}

void RedEyeBrush::CorrectPixel(uint8_t* pixel, double d) const
{
    std::array<uint8_t, 3> target{};
    int firstChannel = 0;
    if (customMode) {
        target = CustomTarget(pixel);
    } else {
        target[2] = AutomaticRed(pixel[1], pixel[0]);
        firstChannel = 2;
    }
    const bool fullCore =
        sharpness >= 100 || (sharpness > 50 && d < 2.0 * sharpness / 100 - 1);
    const double weight = fullCore ? 1.0 : Weight(d);
    for (int channel = firstChannel; channel < 3; ++channel) {
        if (fullCore)
            pixel[channel] = target[channel];
        else
            pixel[channel] = uint8_t(target[channel] * weight + (1 - weight) * pixel[channel]);
    }
}

DabArea RedEyeBrush::Dab(const BITMAPINFOHEADER& header, uint8_t* pixels, int px, int py) const
{
    const int a = size;
    const int b = a / 2;
    const int left = px - b, top = py - b;
    // The square must lie inside the image whole; for odd sizes it reaches one pixel further
    // than the half size, which must not run past the last column or row.
    if (pixels == nullptr || a <= 0 || left < 0 || top < 0 || left + a > header.biWidth ||
        top + a > header.biHeight)
        return {};
    const size_t stride = DibStride(header.biWidth);
    const double square = double(a) * a;
    for (int i = 0; i < a; ++i) {
        uint8_t* row = pixels + size_t(top + i) * stride + size_t(left) * 3;
        for (int j = 0; j < a; ++j) {
            const double d = ((i * i + j * j - (i + j) * a) + square * 0.5) / (square * 0.25);
            if (d <= 1)
                CorrectPixel(row + j * 3, d);
        }
    }
    return {left, top, left + a, top + a};
}

bool PickColour(const BITMAPINFOHEADER& header, const uint8_t* pixels, int x, int y,
                uint32_t* colour)
{
    if (pixels == nullptr || colour == nullptr || x < 0 || y < 0 || x >= header.biWidth ||
        y >= header.biHeight)
        return false;
    const uint8_t* pixel =
        pixels + size_t(header.biHeight - 1 - y) * DibStride(header.biWidth) + size_t(x) * 3;
    *colour = uint32_t(pixel[2]) | uint32_t(pixel[1]) << 8 | uint32_t(pixel[0]) << 16;
    return true;
}
