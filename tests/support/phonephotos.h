// SPDX-License-Identifier: GPL-2.0-or-later
// Photos in the formats of today's phones, made by libvips from a real camera photo at test
// time: HEIC (HEVC), AVIF (AV1), WebP and JPEG XL, each with the camera photo's EXIF (the JPEG
// XL one in a container with an Exif box, as cameras write it).
#pragma once

#include <QByteArray>
#include <QString>

// Writes folder/name from the JPEG photo in the format of name's extension (".heic", ".avif",
// ".webp", ".jxl", ".png"); the path, or "" when libvips could not write it.
QString makePhonePhoto(const QString& photo, const QString& folder, const QString& name);
// The same file cut short after keep bytes: its header may open, its picture never.
QString makeTruncated(const QString& source, const QString& target, qint64 keep);
