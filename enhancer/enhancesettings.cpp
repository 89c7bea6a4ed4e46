// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/enhancesettings.h"

#include <cstring>
#include <new>

#include "enhancer/imagerecord.h"

namespace
{

constexpr int All = CImageEnhFuncs::AllChannels;

} // namespace

float& EnhanceSettings::Parameters::operator[](int kind)
{
    return kind == Brightness ? brightness : kind == Contrast ? contrast : gamma;
}

float EnhanceSettings::Parameters::operator[](int kind) const
{
    return kind == Brightness ? brightness : kind == Contrast ? contrast : gamma;
}

EnhanceSettings::~EnhanceSettings()
{
    ImageRecord::FreePacked(m_output);
}

size_t EnhanceSettings::PixelBytes() const
{
    return size_t(DibStride(m_header.biWidth)) * size_t(m_header.biHeight);
}

bool EnhanceSettings::Start(const BITMAPINFOHEADER& header, const uint8_t* documentPixels)
{
    ImageRecord::FreePacked(m_output);
    m_output = nullptr;
    m_source = nullptr;
    m_working.clear();
    if (documentPixels == nullptr || header.biWidth <= 0 || header.biHeight <= 0 ||
        header.biBitCount != 24)
        return false;
    m_header = header;
    m_output = ImageRecord::AllocatePacked(header);
    if (m_output == nullptr)
        return false;
    try {
        m_working.assign(documentPixels, documentPixels + PixelBytes());
    } catch (const std::bad_alloc&) {
        ImageRecord::FreePacked(m_output);
        m_output = nullptr;
        return false;
    }
    m_source = documentPixels;
    m_params = {};
    m_autoLevel = {};
    m_channel = All;
    m_allReset = false;
    for (int channel = 0; channel < All; ++channel)
        ApplyChannel(channel, m_params[channel], m_source);
    return true;
}

void EnhanceSettings::SelectChannel(int channel)
{
    if (channel >= 0 && channel <= All)
        m_channel = channel;
}

int EnhanceSettings::SliderPosition(int kind) const
{
    const float value = m_params[m_channel][kind];
    return kind == Gamma ? int(value) : int(value * m_sliderScale);
}

int EnhanceSettings::AutoLevelButtonText() const
{
    if (m_autoLevel[m_channel])
        return m_channel == All ? UndoAutoLevelsText : UndoAutoLevelText;
    return m_channel == All ? AutoLevelsText : AutoLevelText;
}

void EnhanceSettings::ApplyChannel(int channel, const Parameters& params, const uint8_t* src)
{
    m_funcs.Apply(m_header.biWidth, m_header.biHeight, channel, int(params.brightness),
                  int(params.contrast), int(params.gamma), m_working.data(), src);
}

void EnhanceSettings::RestoreWorking()
{
    std::memcpy(m_working.data(), m_source, PixelBytes());
}

void EnhanceSettings::SliderChanged(int kind, int position)
{
    if (m_source == nullptr || kind < Brightness || kind > Gamma)
        return;
    const float value = kind == Gamma ? float(position) : float(position / m_sliderScale);
    Parameters& current = m_params[m_channel];
    const float delta = value - current[kind];
    current[kind] = value;
    if (m_channel == All) {
        // Mapping every channel from the document's pixels restores the working copy too.
        for (int channel = 0; channel < All; ++channel) {
            float& own = m_params[channel][kind];
            own = m_allReset ? 0.0f : own + delta;
            ApplyChannel(channel, m_params[channel], m_source);
        }
        m_allReset = false;
    } else {
        ApplyChannel(m_channel, current, m_source);
        // The all-channels value shows the mean of the three.
        m_params[All][kind] += delta / 3;
    }
}

void EnhanceSettings::Reset(int kind)
{
    if (m_source == nullptr || kind < Brightness || kind > Gamma)
        return;
    if (m_channel == All)
        m_allReset = true;
    else
        m_params[All][kind] -= m_params[m_channel][kind] / 3;
    m_params[m_channel][kind] = 0;
    SliderChanged(kind, 0);
}

void EnhanceSettings::ToggleAutoLevels()
{
    if (m_source == nullptr)
        return;
    if (m_autoLevel[m_channel])
        AutoLevelsOff(m_channel);
    else
        AutoLevelsOn(m_channel);
}

// Channels without automatic levels keep showing their own sliders after the working copy
// was restored from the document: what the preview shows is what OK hands over.
void EnhanceSettings::ReapplyManualChannels(int except)
{
    for (int channel = 0; channel < All; ++channel) {
        const Parameters& own = m_params[channel];
        const bool neutral =
            int(own.brightness) == 0 && int(own.contrast) == 0 && int(own.gamma) == 0;
        if (channel != except && !m_autoLevel[channel] && !neutral)
            ApplyChannel(channel, own, m_source);
    }
}

void EnhanceSettings::AutoLevelsOn(int current)
{
    m_autoLevel[current] = true;
    if (current == All) {
        m_autoLevel = {true, true, true, true};
        m_params[All].brightness = m_params[All].contrast = 0;
    }
    RestoreWorking();
    float brightnessChange = 0, contrastChange = 0;
    for (int channel = 0; channel < All; ++channel) {
        if (!m_autoLevel[channel])
            continue;
        const AutoLevelResult levels = m_funcs.AutoLevel(m_header.biWidth, m_header.biHeight,
                                                         channel, m_working.data(),
                                                         m_working.data());
        Parameters& own = m_params[channel];
        if (channel == current) {
            brightnessChange = float(levels.brightness) - own.brightness;
            contrastChange = float(levels.contrast) - own.contrast;
        }
        own.brightness = float(levels.brightness);
        own.contrast = float(levels.contrast);
    }
    Parameters& all = m_params[All];
    if (current == All) {
        const int sum = int(m_params[0].brightness + m_params[1].brightness +
                            m_params[2].brightness);
        all.brightness = float(sum / 3);
        all.contrast = (m_params[0].contrast + m_params[1].contrast + m_params[2].contrast) / 3;
    } else {
        all.brightness += brightnessChange / 3;
        all.contrast += contrastChange / 3;
        ReapplyManualChannels(current);
    }
    Reset(Gamma);
}

void EnhanceSettings::AutoLevelsOff(int current)
{
    RestoreWorking();
    Parameters& all = m_params[All];
    if (current == All) {
        all.brightness = all.contrast = 0;
        m_autoLevel[All] = false;
    } else {
        all.brightness -= m_params[current].brightness / 3;
        all.contrast -= m_params[current].contrast / 3;
    }
    for (int channel = 0; channel < All; ++channel) {
        if (channel == current || current == All) {
            m_autoLevel[channel] = false;
            m_params[channel].brightness = m_params[channel].contrast = 0;
        }
    }
    for (int channel = 0; channel < All; ++channel)
        if (m_autoLevel[channel])
            m_funcs.AutoLevel(m_header.biWidth, m_header.biHeight, channel, m_working.data(),
                              m_working.data());
    if (current == All) {
        for (int channel = 0; channel < All; ++channel)
            ApplyChannel(channel, all, m_source);
    } else {
        ApplyChannel(current, m_params[current], m_source);
        ReapplyManualChannels(current);
    }
}

uint8_t* EnhanceSettings::TakeOutput()
{
    if (m_output == nullptr || m_source == nullptr)
        return nullptr;
    std::memcpy(m_output, m_working.data(), PixelBytes());
    uint8_t* output = m_output;
    m_output = nullptr;
    return output;
}
