// SPDX-License-Identifier: GPL-2.0-or-later
// FtpAddress: a site address as the user types it: "ftp://host:port/folder", "ftps://...",
// "sftp://...", or just "host/folder".
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "platform/ftpclient.h"

struct FtpAddress {
    FtpOptions::Protocol protocol = FtpOptions::Protocol::Ftp;
    QString host;
    uint16_t port = 0;   // 0: none given, the protocol's usual port
    QString folder;      // "/" or "/a/b": absolute, without "." and ".."
    QString user, password; // from "user:password@host", decoded; empty when not given

    // Reads a URL; when that fails or its scheme is not ftp, ftps or sftp, reads "ftp://" +
    // text. Null when neither gives a host, the port is not 1-65535, the folder climbs above
    // the top with "..", or a part holds control characters (they would end an FTP command).
    static std::optional<FtpAddress> Parse(const QString& text);
    // The address without user and password: "ftp://host[:port]/folder".
    QString ToText() const;
};
