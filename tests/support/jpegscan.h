// SPDX-License-Identifier: GPL-2.0-or-later
// Reading files back in tests that check a photo's picture data stayed as it was while its
// metadata changed.
#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a file, "" when it cannot be read.
QByteArray wholeFile(const QString& path);
// Everything from a JPEG's main start-of-scan marker on: the compressed picture. The segments
// before it are stepped over by their lengths, since an EXIF thumbnail holds a start-of-scan
// marker of its own. "" when there is none.
QByteArray jpegScanData(const QByteArray& jpeg);
