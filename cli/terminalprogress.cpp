// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/terminalprogress.h"

#include <algorithm>

#include "platform/terminal.h"

namespace
{

constexpr int BarCells = 30;

} // namespace

TerminalProgress::TerminalProgress(std::FILE* out, Style style)
    : m_out(out), m_bar(style == Style::Bar || (style == Style::Auto && platform::isTerminal(out)))
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_bar && m_out != nullptr && m_written) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
    }
}

bool TerminalProgress::pump()
{
    if (m_out == nullptr)
        return false;
    const QString current = m_bar ? bar(m_title, m_percent, m_text, platform::terminalColumns() - 1)
                                  : line(m_title, m_percent, m_text);
    if (m_written == current)
        return false;
    if (m_bar) {
        // Blanks cover what a longer earlier bar left on the line.
        const qsizetype before = m_written ? m_written->size() : 0;
        const QString padding(std::max<qsizetype>(0, before - current.size()), u' ');
        std::fprintf(m_out, "\r%s%s", qUtf8Printable(current), qUtf8Printable(padding));
    } else {
        std::fprintf(m_out, "%s\n", qUtf8Printable(current));
    }
    std::fflush(m_out);
    m_written = current;
    return false;
}

QString TerminalProgress::line(const QString& title, int percent, const QString& text)
{
    // Joined, not formatted: a title or text may itself hold '%'.
    QString result = title + QStringLiteral(": ") + QString::number(percent) + QLatin1Char('%');
    if (!text.isEmpty())
        result += QLatin1Char(' ') + text;
    return result;
}

QString TerminalProgress::bar(const QString& title, int percent, const QString& text, int width)
{
    const int shown = std::clamp(percent, 0, 100);
    const int filled = shown * BarCells / 100;
    QString result = title + QStringLiteral(" [") + QString(filled, u'#') +
                     QString(BarCells - filled, u'.') + QStringLiteral("] ") +
                     QStringLiteral("%1%").arg(shown, 3);
    if (!text.isEmpty())
        result += QLatin1Char(' ') + text;
    if (width > 0 && result.size() > width)
        result.truncate(width);
    return result;
}
