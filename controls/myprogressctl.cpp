// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/myprogressctl.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPalette>

ProgressBarLook progressBarLook(int32_t minimum, int32_t maximum, int32_t position, int width,
                                bool showPercent)
{
    ProgressBarLook look;
    if (position <= minimum || position >= maximum || maximum == 0)
        return look;
    look.filled = true;
    // Whole numbers, so that the truncation is exact (300 * 29 / 100 is 87, not 86.999...).
    const int64_t filled = static_cast<int64_t>(position) * width / maximum;
    look.filledWidth = static_cast<int>(std::clamp<int64_t>(filled, 0, width < 0 ? 0 : width));
    if (showPercent)
        look.text = QString::asprintf("%.0f%%", position * 100.0 / maximum);
    return look;
}

QColor colorFromColorRef(int32_t colorRef)
{
    const uint32_t value = static_cast<uint32_t>(colorRef);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t colorRefFromColor(const QColor& color)
{
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                static_cast<uint32_t>(color.green()) << 8 |
                                static_cast<uint32_t>(color.blue()) << 16);
}

CMyProgressCtl::CMyProgressCtl(QWidget* parent)
    : QWidget(parent), m_backgroundColor(colorRefFromColor(palette().color(QPalette::Button)))
{
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted here
}

void CMyProgressCtl::SetRange(int32_t minimum, int32_t maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

int32_t CMyProgressCtl::SetPos(int32_t position)
{
    const int32_t previous = m_position;
    m_position = position;
    update();
    return previous;
}

int32_t CMyProgressCtl::StepIt()
{
    // Past the maximum the bar starts over from the beginning of the range.
    int64_t next = static_cast<int64_t>(m_position) + m_step;
    const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
    if (next > m_maximum && span > 0)
        next = m_minimum + (next - m_minimum) % span;
    return SetPos(static_cast<int32_t>(next));
}

int32_t CMyProgressCtl::SetStep(int32_t step)
{
    const int32_t previous = m_step;
    m_step = step;
    return previous;
}

void CMyProgressCtl::SetStartColor(int32_t colorRef)
{
    m_startColor = colorRef;
    update();
}

void CMyProgressCtl::SetEndColor(int32_t colorRef)
{
    m_endColor = colorRef;
    update();
}

void CMyProgressCtl::SetBkColor(int32_t colorRef)
{
    m_backgroundColor = colorRef;
    update();
}

void CMyProgressCtl::SetTextColor(int32_t colorRef)
{
    m_textColor = colorRef;
    update();
}

void CMyProgressCtl::SetShowPercent(bool show)
{
    m_showPercent = show;
    update();
}

QSize CMyProgressCtl::sizeHint() const
{
    return QSize(300, fontMetrics().height() + 8);
}

void CMyProgressCtl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorFromColorRef(m_backgroundColor));
    const ProgressBarLook look =
        progressBarLook(m_minimum, m_maximum, m_position, width(), m_showPercent);
    if (!look.filled)
        return;
    const QRect filled(0, 0, look.filledWidth, height());
    const QColor start = colorFromColorRef(m_startColor);
    const QColor end = colorFromColorRef(m_endColor);
    if (start == end) {
        painter.fillRect(filled, start);
    } else {
        QLinearGradient blend(0, 0, look.filledWidth, 0);
        blend.setColorAt(0, start);
        blend.setColorAt(1, end);
        painter.fillRect(filled, blend);
    }
    if (!look.text.isEmpty()) {
        painter.setPen(colorFromColorRef(m_textColor));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, look.text);
    }
}
