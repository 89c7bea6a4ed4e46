// SPDX-License-Identifier: GPL-2.0-or-later
// FtpReplies: the commands sent and the replies heard on an FTP control connection during
// one operation, paired, so that the reply to a quoted command can be found even when more
// commands follow it (the number curl reports afterwards is the last command's). The
// password never gets in: not in the PASS command, nor in a server's echo of it.
#pragma once

#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

class FtpReplies
{
public:
    struct Exchange {
        QByteArray command; // empty for a reply nobody asked for (the greeting)
        int code = 0;       // 0 until the final reply came
        QString text;       // every line of the reply, "\n" between them
    };

    // Forgets the previous operation's talk.
    void clear();
    // The text that must never be kept; replaced by "(hidden)".
    void setSecret(const QString& secret);
    QString hide(QString text) const;

    void commandSent(const QByteArray& bytes);
    void replyReceived(const QByteArray& bytes);

    int lastCode() const { return m_lastCode; }
    QString lastText() const { return m_lastText; }
    // The final reply to the command sent as command; null when none came.
    const Exchange* replyTo(const QByteArray& command) const;

    static constexpr int maxTextLength = 2600;

private:
    void line(const QByteArray& line);
    void finish(int code, const QString& text);

    std::vector<Exchange> m_exchanges;
    QByteArray m_partial; // a line still waiting for its end
    int m_multiCode = 0;  // the code of an open "123-" reply
    QString m_multiText;
    int m_lastCode = 0;
    QString m_lastText;
    QString m_secret;
};
