// SPDX-License-Identifier: GPL-2.0-or-later
// ResizeMath: what the resize dialog computes — the new size from the two entries in percent
// or in pixels, the locked aspect ratio, switching between the two modes, the numbers its
// labels show and the limits checked on OK. The dialog only shows and reads these values.
#pragma once

#include <cstdint>
#include <string>

class ResizeMath {
public:
    enum Mode { Percent = 0, Pixels = 1 };

    // Texts of the editor's string table the dialog shows.
    static constexpr int WrongInitialSizeText = 191; // "Wrong initial size."
    static constexpr int PercentLabelText = 192;     // "%%   (%d pixels)"
    static constexpr int PixelsLabelText = 193;      // "pixels (%d%%)"
    static constexpr int TooLargeText = 194;         // "Image too large."
    static constexpr int UndefinedSizeText = 195;    // "Size of image undefined."
    // More result pixels than this are refused.
    static constexpr int64_t MaxResultPixels = 100'000'000;
    // Entries are digits only; longer numbers than this mean nothing here.
    static constexpr int64_t MaxEntry = 999'999'999;

    // Starts with the image's size, 100 % in both entries; the text to show when that size is
    // unusable, else 0.
    int Start(int32_t currentWidth, int32_t currentHeight);

    // The user typed into the width (or height) entry; with the aspect locked the other entry
    // follows.
    void EditWidth(int64_t entry);
    void EditHeight(int64_t entry);
    void SetMode(Mode mode);
    void SetLockAspect(bool locked) { m_lockAspect = locked; }

    // The text to refuse OK with (the dialog stays open), else 0.
    int CheckAccept() const;

    struct Label {
        int text = 0;       // string table id
        int64_t number = 0; // the %d of that text
    };
    // The labels after the width and height entries.
    Label WidthLabel() const;
    Label HeightLabel() const;
    // A label's text from its format ("%d" the number, "%%" a percent sign).
    static std::string FormatLabel(const std::string& format, int64_t number);

    Mode GetMode() const { return m_mode; }
    bool LockAspect() const { return m_lockAspect; }
    int64_t WidthEntry() const { return m_widthEntry; }
    int64_t HeightEntry() const { return m_heightEntry; }
    int64_t NewWidth() const { return m_newWidth; }
    int64_t NewHeight() const { return m_newHeight; }
    int32_t CurrentWidth() const { return m_currentWidth; }
    int32_t CurrentHeight() const { return m_currentHeight; }

private:
    void Compute();
    static int64_t Share(int64_t part, int64_t whole);

    int32_t m_currentWidth = 640, m_currentHeight = 480;
    int64_t m_newWidth = 640, m_newHeight = 480;
    Mode m_mode = Percent;
    bool m_lockAspect = true;
    int64_t m_widthEntry = 100, m_heightEntry = 100;
};
