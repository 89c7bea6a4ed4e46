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
// calls do nothing.
void startUp();
// True once startUp has run.
bool started();

// The EXIF items of a file (main image, camera, GPS and interoperability tags), in file
// order; empty when the file has none or cannot be read.
std::vector<PropertyItem> read(const QString& path);
// Replaces the EXIF items of a file with items; false when the file cannot be written.
bool write(const QString& path, const std::vector<PropertyItem>& items);

} // namespace imaging::metadata
