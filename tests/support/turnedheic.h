// SPDX-License-Identifier: GPL-2.0-or-later
// A HEIC photo as phones write it: the picture stored as the sensor saw it, a turn box that
// the decoder applies, and an EXIF Orientation that says the same turn once more (and must
// not be applied again).
#pragma once

#include <QImage>
#include <QString>

// Writes picture to path as HEVC-coded HEIF turned by orientation (an EXIF orientation value,
// 1 to 8) in both places; path, or "" when libheif could not write it.
QString writeTurnedHeic(const QString& path, const QImage& picture, int orientation);
