// SPDX-License-Identifier: GPL-2.0-or-later
// EXIF property items of image files, read and written with exiv2. Writing changes only the
// metadata of a file; its picture data stay as they are.
#pragma once

#include <vector>

#include <QString>

#include "platform/imaging.h"

namespace imaging::metadata {

// Starts the metadata library's XMP toolkit, which must not be started by two threads at
// once: every program calls this first thing in main, before any thread exists. Later
// calls do nothing. It also turns on the reading of HEIF, AVIF and JPEG XL containers.
void startUp();
// True once startUp has run.
bool started();

// The EXIF items of a file (main image, camera, GPS and interoperability tags), in file
// order; empty when the file has none or cannot be read.
std::vector<PropertyItem> read(const QString& path);
// The EXIF items of an EXIF block as image engines hand it over: a TIFF header and its
// directories, after an optional "Exif\0\0"; empty when it holds none or cannot be read.
std::vector<PropertyItem> readExifBlock(const QByteArray& block);
// Replaces the EXIF items of a file with items; false when the file cannot be written.
bool write(const QString& path, const std::vector<PropertyItem>& items);

// Gives target, a file just written from the edited pixels of the photo source (width x
// height now), the metadata of source: EXIF with its maker notes, IPTC, XMP, the comment and
// an RGB colour profile. The pixels carry the turn and the levels already, so Orientation is
// made upright and ReferenceBlackWhite left out; the thumbnail (the picture before the edit)
// and the tags that described the old file's layout are left out too. True when target holds
// it all, or when there is nothing to carry (source has no metadata or cannot be read) or
// target's format holds none (BMP, GIF).
bool carryOverToEdited(const QString& source, const QString& target, int width, int height);

} // namespace imaging::metadata
