// SPDX-License-Identifier: GPL-2.0-or-later
// What the FTP client's tests share: the options that log in to one of the test servers.
#pragma once

#include <QFile>

#include "platform/ftpclient.h"
#include "tests/support/ftpservers.h"

// Logs in as the server's user; time-outs short enough that a test waits little on a fault.
inline FtpOptions loginTo(const TestFtpServer& server, FtpOptions::Protocol protocol,
                          bool passive = true, int timeoutMs = 5000)
{
    FtpOptions options;
    options.protocol = protocol;
    options.host = QStringLiteral("127.0.0.1");
    options.port = server.port();
    options.user = server.user() == QLatin1String("anonymous") ? QString() : server.user();
    options.password = options.user.isEmpty() ? QString() : server.password();
    options.passive = passive;
    options.connectTimeoutMs = timeoutMs;
    options.operationTimeoutMs = timeoutMs;
    return options;
}

inline QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
