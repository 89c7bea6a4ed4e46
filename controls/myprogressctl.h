// SPDX-License-Identifier: GPL-2.0-or-later
// CMyProgressCtl: the percentage bar of the progress window, painted entirely by itself: a
// filled part in a left-to-right blend of two colours, the rest in the background colour, and
// optionally the percentage centred over it. Colours are COLORREF values (0x00BBGGRR), as the
// skin and the template parameters give them.
#pragma once

#include <cstdint>

#include <QColor>
#include <QString>
#include <QWidget>

// What the bar shows at a position, for a client area width pixels wide.
struct ProgressBarLook {
    bool filled = false; // false: background only, no text
    int filledWidth = 0; // pixels from the left edge
    QString text;        // the percentage, or empty when it is not shown
};
// Only a position strictly inside the range fills anything: position / maximum of the width,
// truncated, with the text position * 100 / maximum as "%.0f%%".
ProgressBarLook progressBarLook(int32_t minimum, int32_t maximum, int32_t position, int width,
                                bool showPercent);

QColor colorFromColorRef(int32_t colorRef);
int32_t colorRefFromColor(const QColor& color);

class CMyProgressCtl : public QWidget {
public:
    explicit CMyProgressCtl(QWidget* parent = nullptr);

    void SetRange(int32_t minimum, int32_t maximum);
    int32_t Minimum() const { return m_minimum; }
    int32_t Maximum() const { return m_maximum; }
    // Both return the position before the change.
    int32_t SetPos(int32_t position);
    int32_t StepIt();
    int32_t GetPos() const { return m_position; }
    int32_t SetStep(int32_t step);
    int32_t Step() const { return m_step; }

    void SetStartColor(int32_t colorRef);
    void SetEndColor(int32_t colorRef);
    void SetBkColor(int32_t colorRef);
    void SetTextColor(int32_t colorRef);
    int32_t StartColor() const { return m_startColor; }
    int32_t EndColor() const { return m_endColor; }
    int32_t BkColor() const { return m_backgroundColor; }
    int32_t TextColor() const { return m_textColor; }
    void SetShowPercent(bool show);
    bool ShowsPercent() const { return m_showPercent; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t m_minimum = 0;
    int32_t m_maximum = 100;
    int32_t m_step = 10;
    int32_t m_position = 0;
    int32_t m_startColor = 0x0000FF; // red
    int32_t m_endColor = 0xFF0000;   // blue
    int32_t m_backgroundColor;       // the button face colour of the style
    int32_t m_textColor = 0xFFFFFF;  // white
    bool m_showPercent = false;
};
