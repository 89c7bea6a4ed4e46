// SPDX-License-Identifier: GPL-2.0-or-later
// Turns a photo the way the album builder does: by the EXIF side file it keeps beside it.
#pragma once

#include <QString>

// Writes photo + ".exif", a tiny JPEG whose Orientation turns the photo a quarter clockwise.
void turnBySideFile(const QString& photo);
