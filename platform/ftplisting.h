// SPDX-License-Identifier: GPL-2.0-or-later
// FtpListing: the entries of a folder from what a server sends for MLSD, LIST or an SFTP
// directory read. Servers differ: MLSD is machine-readable, LIST comes in the unix "ls -l"
// form or the DOS form, with names that may hold spaces and symbolic links shown as
// "name -> target". Everything here is untrusted input: a line that cannot be read is
// skipped, and a name that could leave the folder ("", ".", "..", anything with "/") is
// never returned.
#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QDate>

#include "platform/ftpclient.h"

class FtpListing
{
public:
    enum class Format { Mlsd, List };

    // Every entry of a whole listing, in the server's order. today dates the unix lines that
    // give a time instead of a year.
    static std::vector<FtpEntry> parse(const QByteArray& listing, Format format,
                                       const QDate& today);
    // One MLSD line ("type=file;size=3;modify=20240102030405; name").
    static std::optional<FtpEntry> parseMlsdLine(const QByteArray& line);
    // One LIST line, unix or DOS form; "total 12" and other lines without an entry give none.
    static std::optional<FtpEntry> parseListLine(const QByteArray& line, const QDate& today);
    // Whether a FEAT reply announces MLST (and so MLSD).
    static bool offersMlsd(const QString& featReply);
    // Whether a name is one a folder can hold: not empty, not "." or "..", no "/" or NUL.
    static bool isPlainName(const QString& name);

private:
    static std::optional<FtpEntry> parseUnixLine(const QByteArray& line, const QDate& today);
    static std::optional<FtpEntry> parseDosLine(const QByteArray& line);
};
