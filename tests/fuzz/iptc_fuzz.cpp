// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the IPTC reader: any bytes, as a whole file.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "images/iptc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CIPTC iptc;
    iptc.ReadFromBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
