// SPDX-License-Identifier: GPL-2.0-or-later
// A PNG file that claims any size: a real header and a tiny compressed row of data, as a
// damaged or hostile file would be. Opening it reads the claimed size; decoding it all would
// take as long as a real picture of that size.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QtEndian>

namespace testpng
{

inline uint32_t crc32(const QByteArray& bytes)
{
    uint32_t crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray bigEndian(uint32_t value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray chunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(static_cast<uint32_t>(data.size())) + typed + bigEndian(crc32(typed));
}

// An 8-bit RGB PNG of width x height whose picture data end after the first few rows.
inline QByteArray claiming(uint32_t width, uint32_t height)
{
    const QByteArray header =
        bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\0\0\0", 5);
    // qCompress puts the length in front of a zlib stream, which is what IDAT holds.
    const QByteArray rows = qCompress(QByteArray(4096, '\0')).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", rows) +
           chunk("IEND", QByteArray());
}

} // namespace testpng
