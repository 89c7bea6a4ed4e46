// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the EXIF text rules: any bytes as a text tag and as a user comment with
// each character code.
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QImage>

#include "images/exifreader.h"
#include "platform/imaging.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto image = [] {
        QImage pixel(1, 1, QImage::Format_ARGB32);
        pixel.fill(0);
        return imaging::Image::fromQImage(pixel);
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    exif::ExifTextFromBytes(bytes);
    for (uint16_t type : {imaging::PropertyAscii, imaging::PropertyUndefined}) {
        image->setProperty({exif::TagUserComment, type, bytes});
        image->setProperty({exif::TagImageDescription, type, bytes});
        bool found = false;
        exif::BuildExifDescription(*image, found, 1);
        QDate date;
        QTime time;
        exif::ReadExifDateTime(*image, date, time);
    }
    return 0;
}
