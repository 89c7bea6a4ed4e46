// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftpreplies.h"

namespace
{

// The code of a reply line "123 text" / "123-text" / "123"; 0 for other lines.
int codeOf(const QByteArray& line, char& separator)
{
    if (line.size() < 3)
        return 0;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9')
            return 0;
    separator = line.size() > 3 ? line[3] : ' ';
    if (separator != ' ' && separator != '-')
        return 0;
    return line.left(3).toInt();
}

// Servers must not be able to make us hold an unbounded reply.
void appendBounded(QString& text, const QString& line)
{
    if (text.size() >= FtpReplies::maxTextLength)
        return;
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += line.left(FtpReplies::maxTextLength - text.size());
}

} // namespace

void FtpReplies::clear()
{
    m_exchanges.clear();
    m_partial.clear();
    m_multiCode = 0;
    m_multiText.clear();
    m_lastCode = 0;
    m_lastText.clear();
}

void FtpReplies::setSecret(const QString& secret)
{
    m_secret = secret;
}

QString FtpReplies::hide(QString text) const
{
    if (!m_secret.isEmpty())
        text.replace(m_secret, QStringLiteral("(hidden)"));
    return text;
}

void FtpReplies::commandSent(const QByteArray& bytes)
{
    QByteArray command = bytes.trimmed();
    if (command.toUpper().startsWith("PASS"))
        command = "PASS (hidden)";
    // A runaway operation is bounded too: only the recent talk matters.
    if (m_exchanges.size() > 1000)
        m_exchanges.erase(m_exchanges.begin(), m_exchanges.begin() + 500);
    m_exchanges.push_back({command, 0, {}});
}

void FtpReplies::replyReceived(const QByteArray& bytes)
{
    m_partial += bytes;
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        QByteArray text = m_partial.left(end);
        m_partial.remove(0, end + 1);
        if (text.endsWith('\r'))
            text.chop(1);
        line(text);
    }
    if (m_partial.size() > maxTextLength)
        m_partial.truncate(maxTextLength);
}

void FtpReplies::line(const QByteArray& bytes)
{
    const QString text = hide(QString::fromUtf8(bytes));
    char separator = ' ';
    const int code = codeOf(bytes, separator);
    if (m_multiCode != 0) {
        appendBounded(m_multiText, text);
        if (code == m_multiCode && separator == ' ') {
            finish(code, m_multiText);
            m_multiCode = 0;
            m_multiText.clear();
        }
        return;
    }
    if (code == 0)
        return;
    if (separator == '-') {
        m_multiCode = code;
        m_multiText = text.left(maxTextLength);
        return;
    }
    finish(code, text.left(maxTextLength));
}

void FtpReplies::finish(int code, const QString& text)
{
    m_lastCode = code;
    m_lastText = text;
    // A preliminary 1xx reply is followed by the command's final one.
    if (m_exchanges.empty() || (m_exchanges.back().code != 0 && m_exchanges.back().code >= 200))
        m_exchanges.push_back({{}, 0, {}});
    m_exchanges.back().code = code;
    m_exchanges.back().text = text;
}

const FtpReplies::Exchange* FtpReplies::replyTo(const QByteArray& command) const
{
    for (auto it = m_exchanges.rbegin(); it != m_exchanges.rend(); ++it)
        if (it->command == command)
            return it->code >= 200 ? &*it : nullptr;
    return nullptr;
}
