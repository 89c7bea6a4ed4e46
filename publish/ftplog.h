// SPDX-License-Identifier: GPL-2.0-or-later
// FtpLog: the plain-text log of everything publishing did, for the user and for support.
//
// Every write opens the file, appends and closes it again, so the log is complete even when
// the program is ended in the middle of a transfer; a file that cannot be opened loses that
// write and nothing else. Lines end in "\r\n" so that any text editor shows them.
// No secret handed to HideSecret is ever written: every write replaces it by "(hidden)",
// server replies that echo it included.
#pragma once

#include <QString>
#include <QStringList>

struct FtpSettings;

class FtpLog {
public:
    explicit FtpLog(QString path = DefaultPath());

    // The per-user data folder + the program file's name + ".ftp.log" (an installed program's
    // own folder is not writable).
    static QString DefaultPath();
    QString Path() const;

    // Starts the log afresh: the title, version, start time and the request to send it in.
    void WriteHeader();
    // The corrected settings, as a plain line.
    void WriteSettings(const FtpSettings& settings);
    // "message [local time]".
    void WriteLine(const QString& message);
    // Text as it is (error entries); lone "\n" become "\r\n".
    void Append(const QString& raw);
    // A text that must never reach the file (a password); empty texts are ignored.
    void HideSecret(const QString& secret);

    // The local time as the log writes it ("%c" of the C library).
    static QString TimeStamp();

private:
    QString Hidden(const QString& text) const;

    QString m_path;
    QStringList m_secrets;
};
