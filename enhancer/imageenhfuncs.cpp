// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/imageenhfuncs.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "enhancer/rowbands.h"

namespace
{

// Below this contrast the gain would turn negative and the channel's tones upside down; such
// values (reached by adding the all-channels slider to a channel's own) flatten it instead.
constexpr int MinContrast = -125;

// A histogram bin holding less than this share of the pixels (per cent) is noise, not range.
constexpr double AutoLevelThreshold = 0.053;

double ExponentFromGamma(int g)
{
    const int a = static_cast<int>(std::trunc(-g * 0.6));
    if (a <= -100)
        return 1e-7;
    if (a == 0)
        return 1.0;
    const double q = a >= 100 ? 0.9999999 : a * 0.01;
    return 2.0 / (1.0 - q) - 1.0;
}

bool ValidImage(int width, int height, const uint8_t* dst, const uint8_t* src)
{
    return width > 0 && height > 0 && dst != nullptr && src != nullptr;
}

} // namespace

void CImageEnhFuncs::SetParameters(int b, int c, int g)
{
    m_gain = std::max(c, MinContrast) * 0.8 * 0.01 + 1.0;
    m_offset = b + 128 - m_gain * 128;
    m_exponent = ExponentFromGamma(g);
    BuildTable();
}

void CImageEnhFuncs::BuildTable()
{
    for (int v = 0; v < 256; ++v) {
        const double u = std::clamp(m_gain * (v / 255.0) + m_offset / 255.0, 0.0, 1.0);
        const double w = std::clamp(std::pow(u, m_exponent), 0.0, 1.0);
        m_table[v] = static_cast<uint8_t>(w * 255);
    }
}

bool CImageEnhFuncs::Apply(int imageWidth, int imageHeight, int channel, int b, int c, int g,
                           uint8_t* dst, const uint8_t* src, const ProgressCallback& progress)
{
    if (!ValidImage(imageWidth, imageHeight, dst, src) || channel < 0 || channel > AllChannels)
        return false;
    width = imageWidth;
    height = imageHeight;
    SetParameters(b, c, g);
    if (channel == AllChannels)
        return MapChannels(BlueChannel, RedChannel + 1, dst, src, progress);
    return MapChannels(channel, channel + 1, dst, src, progress);
}

bool CImageEnhFuncs::MapChannels(int firstChannel, int endChannel, uint8_t* dst,
                                 const uint8_t* src, const ProgressCallback& progress) const
{
    const size_t stride = DibStride(width);
    const int columns = width;
    return RunRowBands(
        height,
        [&](int firstRow, int endRow) {
            for (int row = firstRow; row < endRow; ++row) {
                const uint8_t* in = src + row * stride;
                uint8_t* out = dst + row * stride;
                for (int x = 0; x < columns; ++x)
                    for (int ch = firstChannel; ch < endChannel; ++ch)
                        out[x * 3 + ch] = m_table[in[x * 3 + ch]];
            }
        },
        progress);
}

std::array<uint32_t, 256> CImageEnhFuncs::Histogram(int channel, const uint8_t* src) const
{
    const size_t stride = DibStride(width);
    const int columns = width;
    std::array<uint32_t, 256> total{};
    std::mutex totalLock;
    RunRowBands(height, [&](int firstRow, int endRow) {
        std::array<uint32_t, 256> band{};
        for (int row = firstRow; row < endRow; ++row) {
            const uint8_t* in = src + row * stride + channel;
            for (int x = 0; x < columns; ++x)
                ++band[in[x * 3]];
        }
        const std::lock_guard<std::mutex> hold(totalLock);
        for (int v = 0; v < 256; ++v)
            total[v] += band[v];
    });
    return total;
}

AutoLevelResult CImageEnhFuncs::AutoLevel(int imageWidth, int imageHeight, int channel,
                                          uint8_t* dst, const uint8_t* src)
{
    AutoLevelResult result;
    if (!ValidImage(imageWidth, imageHeight, dst, src) || channel < BlueChannel ||
        channel > RedChannel)
        return result;
    width = imageWidth;
    height = imageHeight;
    std::array<uint32_t, 256> bins = Histogram(channel, src);
    // Full white is left out: blown highlights must not pin the top of the range.
    bins[255] = 0;
    const double pixels = double(width) * double(height);
    for (uint32_t& count : bins)
        if (count * 100.0 / pixels < AutoLevelThreshold)
            count = 0;
    for (int v = 0; v < 255 && result.low == 255; ++v)
        if (bins[v] != 0)
            result.low = v;
    for (int v = 254; v >= 0 && result.high == 0; --v)
        if (bins[v] != 0)
            result.high = v;

    // A channel with one value in use, or none above the noise share (all of it full white,
    // say), has nothing to stretch: it stays as it is rather than being turned upside down.
    if (result.high <= result.low) {
        m_gain = 1.0;
        m_offset = 0.0;
        m_exponent = 1.0;
        BuildTable();
        if (dst != src)
            MapChannels(channel, channel + 1, dst, src, {});
        return result;
    }
    m_gain = static_cast<float>(255.0 / (result.high - result.low));
    m_offset = -result.low * m_gain;
    m_exponent = 1.0;
    BuildTable();
    MapChannels(channel, channel + 1, dst, src, {});
    result.stretched = true;
    result.brightness = m_gain * 128 + m_offset - 128;
    result.contrast = (m_gain - 1) * 100 * 1.25;
    return result;
}
