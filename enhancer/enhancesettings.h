// SPDX-License-Identifier: GPL-2.0-or-later
// EnhanceSettings: everything the colour enhancement dialog keeps and decides, without the
// dialog. It holds brightness, contrast and gamma per channel and for all channels together,
// the automatic levels flags, the channel being edited and a working copy of the picture that
// follows every change; the dialog only forwards its sliders, buttons and radios here and
// shows what it reads back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "enhancer/dib.h"
#include "enhancer/imageenhfuncs.h"

class EnhanceSettings {
public:
    // Slider kinds.
    static constexpr int Brightness = 0, Contrast = 1, Gamma = 2;
    // Texts of the automatic levels button: undo for one channel, ask for one channel, ask for
    // all, undo for all.
    static constexpr int UndoAutoLevelText = 130, AutoLevelText = 132, UndoAutoLevelsText = 134,
                         AutoLevelsText = 135;

    struct Parameters {
        float brightness = 0, contrast = 0, gamma = 0;
        float& operator[](int kind);
        float operator[](int kind) const;
    };

    EnhanceSettings() = default;
    ~EnhanceSettings();
    EnhanceSettings(const EnhanceSettings&) = delete;
    EnhanceSettings& operator=(const EnhanceSettings&) = delete;

    // The dialog opens on the document's picture (not owned; it must outlive this object):
    // makes the working copy and the output buffer, passes the three channels through their
    // neutral tables and selects all channels. False when the picture is empty or memory is
    // short.
    bool Start(const BITMAPINFOHEADER& header, const uint8_t* documentPixels);

    // A channel radio: 0 blue, 1 green, 2 red, 3 all.
    void SelectChannel(int channel);
    // A slider of the given kind moved to position.
    void SliderChanged(int kind, int position);
    // A Reset button of the given kind.
    void Reset(int kind);
    // The automatic levels button: on or off for the current channel.
    void ToggleAutoLevels();

    // OK: copies the working picture into the output buffer and hands it over, with 40 bytes
    // of room in front as every edit's result has (release with ImageRecord::FreePacked or give
    // it to ImageRecord::Assign as packed). Null when there is none.
    uint8_t* TakeOutput();

    int CurrentChannel() const { return m_channel; }
    const Parameters& ParametersOf(int channel) const { return m_params.at(channel); }
    bool AutoLevelOn(int channel) const { return m_autoLevel.at(channel); }
    bool AllResetPending() const { return m_allReset; }
    // Where the slider of the given kind stands for the current channel; the labels show the
    // same numbers.
    int SliderPosition(int kind) const;
    // Which string the automatic levels button shows.
    int AutoLevelButtonText() const;

    const BITMAPINFOHEADER& Header() const { return m_header; }
    const uint8_t* WorkingPixels() const { return m_working.data(); }

private:
    void RestoreWorking();
    void ApplyChannel(int channel, const Parameters& params, const uint8_t* src);
    void ReapplyManualChannels(int except);
    void AutoLevelsOn(int channel);
    void AutoLevelsOff(int channel);
    size_t PixelBytes() const;

    CImageEnhFuncs m_funcs;
    std::array<Parameters, 4> m_params{};
    std::array<bool, 4> m_autoLevel{};
    int m_channel = CImageEnhFuncs::AllChannels;
    bool m_allReset = false;
    double m_sliderScale = 1.0;

    BITMAPINFOHEADER m_header;
    const uint8_t* m_source = nullptr;
    std::vector<uint8_t> m_working;
    uint8_t* m_output = nullptr;
};
