// SPDX-License-Identifier: GPL-2.0-or-later
// What of a photo's metadata an album publishes. "Keep (without location)" keeps what tells
// how the photo was taken (camera model, lens, exposure, date, the photographer's credit and
// copyright) and drops what tells where it was taken or whose camera it is: the GPS position
// and place names, camera and lens serial numbers, the camera owner's name, the computer it
// was edited on, unique ids, and maker notes whole (they can hold any of these). "Remove"
// keeps only what the picture needs to show right: its orientation and colour profile.
// Every change rewrites metadata only; the picture data stay as they are.
#pragma once

#include <QString>

namespace imaging::metadata
{

enum class Published { OrientationAndProfile, WithoutPrivateData };

// Reduces the metadata of the file at path by rule. True when the file holds no more than
// the rule allows, also when it holds none or its format holds none; false when something
// the rule drops could not be removed or writing failed. HEIF, AVIF and JPEG XL files are
// reduced where their metadata lies, at its old length (their picture data never move);
// one whose metadata is compressed, protected or would grow, or whose boxes are damaged,
// is refused and left as it was.
bool reduceInPlace(const QString& path, Published rule);

// True when the file holds nothing that rule drops (files that cannot be read hold nothing).
bool holdsOnly(const QString& path, Published rule);

// Gives picture, made from photo's pixels at width x height, the photo's EXIF without its
// private data, its thumbnail and its turn (the pixels are upright). True when done or when
// there is nothing to give or the picture's format holds no EXIF.
bool copyCameraData(const QString& photo, const QString& picture, int width, int height);

} // namespace imaging::metadata
