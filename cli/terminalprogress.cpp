#include "cli/terminalprogress.h"

bool TerminalProgress::pump()
{
    const QString current = line(m_title, m_percent, m_text);
    if (m_out != nullptr && m_written != current) {
        std::fprintf(m_out, "%s\n", qUtf8Printable(current));
        std::fflush(m_out);
        m_written = current;
    }
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
