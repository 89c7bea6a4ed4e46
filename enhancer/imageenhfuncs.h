// SPDX-License-Identifier: GPL-2.0-or-later
// CImageEnhFuncs: the colour enhancement's pixel work. Brightness, contrast and gamma become a
// 256-entry lookup table that maps one byte position (blue 0, green 1, red 2) of every pixel;
// automatic levels stretch the range one channel really uses to the full 0..255.
#pragma once

#include <array>
#include <cstdint>

#include "enhancer/dib.h"

// What automatic levels found in a channel and the slider values that stand for its stretch.
struct AutoLevelResult {
    int low = 255;         // smallest value in use (255 when none)
    int high = 0;          // largest value in use below 255 (0 when none)
    double brightness = 0; // equivalent brightness slider value
    double contrast = 0;   // equivalent contrast slider value
    bool stretched = false; // false when the channel was left as it was
};

class CImageEnhFuncs {
public:
    // Byte positions of a pixel; AllChannels maps the three with one table.
    static constexpr int BlueChannel = 0, GreenChannel = 1, RedChannel = 2, AllChannels = 3;

    virtual ~CImageEnhFuncs() = default;

    // Gain, offset and exponent from brightness b, contrast c and gamma g (each -100..100 on the
    // sliders), and the table built from them.
    void SetParameters(int b, int c, int g);

    // Builds the table from (b, c, g) and maps byte position channel of every pixel from src
    // into dst (channel 3: positions 0, 1 and 2 with the same table). dst may be src. Other
    // bytes of dst are left alone. False for a bad size or channel, or when progress stopped it.
    bool Apply(int width, int height, int channel, int b, int c, int g, uint8_t* dst,
               const uint8_t* src, const ProgressCallback& progress = {});

    // Stretches the values of byte position channel (0..2) of src into dst (which may be src)
    // so that the range in use covers 0..255; the parameters are left at the stretch's gain,
    // offset and exponent 1.
    AutoLevelResult AutoLevel(int width, int height, int channel, uint8_t* dst,
                              const uint8_t* src);

    double Offset() const { return m_offset; }
    double Gain() const { return m_gain; }
    double Exponent() const { return m_exponent; }
    const std::array<uint8_t, 256>& Table() const { return m_table; }

    int32_t width = 0;
    int32_t height = 0;

private:
    void BuildTable();
    bool MapChannels(int firstChannel, int endChannel, uint8_t* dst, const uint8_t* src,
                     const ProgressCallback& progress) const;
    std::array<uint32_t, 256> Histogram(int channel, const uint8_t* src) const;

    double m_offset = 0.0;
    double m_gain = 1.0;
    double m_exponent = 1.0;
    std::array<uint8_t, 256> m_table{};
};
