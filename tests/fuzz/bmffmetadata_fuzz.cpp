// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the box walker of HEIF, AVIF and JPEG XL files: any bytes as a whole file.
// Every block it finds must be fillable at its length, and nothing else may change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "platform/bmffmetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    imaging::metadata::BmffMetadata walked(bytes);
    if (walked.layout() != imaging::metadata::BmffMetadata::Layout::Located)
        return 0;
    qsizetype total = 0;
    for (int block = 0; block < walked.count(); ++block) {
        const QByteArray payload = walked.payload(block);
        total += payload.size();
        if (!walked.replace(block, QByteArray(payload.size(), '\x5a')))
            std::abort();
    }
    qsizetype differing = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        differing += walked.bytes()[i] != bytes[i];
    if (walked.bytes().size() != bytes.size() || differing > total)
        std::abort();
    return 0;
}
