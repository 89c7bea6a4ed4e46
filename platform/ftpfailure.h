// SPDX-License-Identifier: GPL-2.0-or-later
// FtpFailure: what one failed transfer left behind (curl's result, the server's reply, what
// the checks saw), turned into the FtpError the callers decide on.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include "platform/ftpclient.h"

struct FtpFailure {
    int curlCode = 0;  // CURLcode
    int replyCode = 0; // the reply that tells, 0 when the server said nothing
    QString replyText;
    QString detail; // curl's own explanation
    bool cancelled = false;
    bool tooLarge = false;
    QString localProblem; // set when the local file failed, a sentence naming it
    bool hostKeyMismatch = false;
    QByteArray presentedKey;
    FtpOptions::Protocol protocol = FtpOptions::Protocol::Ftp;
    QString host;
    uint16_t port = 0;
    QString knownHostsFile;

    FtpError toError() const;
    // A refusal read from a reply although curl itself succeeded (quoted commands).
    static FtpError refusal(const QString& host, int replyCode, const QString& replyText);

private:
    QString sentence(const FtpError& error) const;
};
