// SPDX-License-Identifier: GPL-2.0-or-later
// FtpPath: remote paths as the client sends them. Every path goes out absolute, so that no
// operation depends on the folder the server was left in; URLs carry it percent-encoded.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include "platform/ftpclient.h"

class FtpPath
{
public:
    // The absolute, tidy form of path ("/a/b"), taken against current when relative; "\" is
    // read as "/", "." and empty parts are dropped, ".." goes up but never above "/".
    static QString absolute(const QString& current, const QString& path);
    // Whether a path can be sent in a command: no line breaks or NUL, which would let a name
    // smuggle in a command of its own.
    static bool sendable(const QString& path);
    // Whether a host name or address can go into a URL as it is: letters, digits, ".", "-",
    // "_", or an IPv6 address; nothing that would turn part of it into a login or a path.
    static bool usableHost(const QString& host);
    // The folder above an absolute path ("/" for "/" itself).
    static QString parent(const QString& absolutePath);
    // The URL of an absolute path; folder adds the "/" that makes it a folder's URL.
    static QByteArray url(FtpOptions::Protocol protocol, const QString& host, uint16_t port,
                          const QString& absolutePath, bool folder);
    // An absolute path in double quotes for an SFTP command, with '"' and '\' escaped.
    static QByteArray quotedForSftp(const QString& absolutePath);
};
