// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the folder listings servers send: any bytes, read both as MLSD and as LIST.
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QDate>

#include "platform/ftplisting.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QDate today(2026, 12, 7);
    for (const auto format : {FtpListing::Format::Mlsd, FtpListing::Format::List})
        for (const FtpEntry& entry : FtpListing::parse(bytes, format, today))
            if (!FtpListing::isPlainName(entry.name))
                __builtin_trap(); // a name that could leave the folder got through
    return 0;
}
