// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/resizemath.h"

#include <algorithm>

namespace
{

int64_t Entry(int64_t value)
{
    return std::clamp<int64_t>(value, 0, ResizeMath::MaxEntry);
}

} // namespace

int ResizeMath::Start(int32_t currentWidth, int32_t currentHeight)
{
    m_currentWidth = std::max(currentWidth, 0);
    m_currentHeight = std::max(currentHeight, 0);
    m_newWidth = m_currentWidth;
    m_newHeight = m_currentHeight;
    Compute();
    return m_currentWidth == 0 || m_currentHeight == 0 ? WrongInitialSizeText : 0;
}

// part x 100 / whole, 0 for an empty whole (the dialog has already said the size is wrong).
int64_t ResizeMath::Share(int64_t part, int64_t whole)
{
    return whole > 0 ? part * 100 / whole : 0;
}

void ResizeMath::Compute()
{
    if (m_mode == Pixels) {
        m_newWidth = m_widthEntry;
        m_newHeight = m_heightEntry;
    } else {
        m_newWidth = m_widthEntry * m_currentWidth / 100;
        m_newHeight = m_heightEntry * m_currentHeight / 100;
    }
}

void ResizeMath::EditWidth(int64_t entry)
{
    m_widthEntry = Entry(entry);
    if (m_lockAspect) {
        m_heightEntry = m_mode == Pixels
                            ? (m_currentWidth > 0 ? m_widthEntry * m_currentHeight / m_currentWidth : 0)
                            : m_widthEntry;
    }
    Compute();
}

void ResizeMath::EditHeight(int64_t entry)
{
    m_heightEntry = Entry(entry);
    if (m_lockAspect) {
        m_widthEntry = m_mode == Pixels
                           ? (m_currentHeight > 0 ? m_heightEntry * m_currentWidth / m_currentHeight : 0)
                           : m_heightEntry;
    }
    Compute();
}

void ResizeMath::SetMode(Mode mode)
{
    if (mode == m_mode)
        return;
    if (mode == Percent) {
        m_widthEntry = Entry(Share(m_newWidth, m_currentWidth));
        m_heightEntry = Entry(Share(m_newHeight, m_currentHeight));
    } else {
        // Back to pixels starts again from the image's own size.
        m_widthEntry = m_currentWidth;
        m_heightEntry = m_currentHeight;
    }
    m_mode = mode;
    Compute();
}

int ResizeMath::CheckAccept() const
{
    const int64_t pixels = m_newWidth * m_newHeight;
    if (pixels > MaxResultPixels)
        return TooLargeText;
    if (pixels <= 0)
        return UndefinedSizeText;
    return 0;
}

ResizeMath::Label ResizeMath::WidthLabel() const
{
    if (m_mode == Pixels)
        return {PixelsLabelText, Share(m_newWidth, m_currentWidth)};
    return {PercentLabelText, m_newWidth};
}

ResizeMath::Label ResizeMath::HeightLabel() const
{
    if (m_mode == Pixels)
        return {PixelsLabelText, Share(m_newHeight, m_currentHeight)};
    return {PercentLabelText, m_newHeight};
}

std::string ResizeMath::FormatLabel(const std::string& format, int64_t number)
{
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            text += '%';
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
            text += std::to_string(number);
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}
