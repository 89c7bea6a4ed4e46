// SPDX-License-Identifier: GPL-2.0-or-later
// The camera details a web album's viewer shows beside a photo: camera, lens, exposure,
// aperture, ISO, focal length and when it was taken, as the album builder's own EXIF texts
// word them. Never the location or serial numbers: only these fields are read.
#pragma once

#include <QString>
#include <QVariantList>

namespace html
{

// A list of {label, value} maps, in the order above, for the fields the photo records; empty
// when the file has no EXIF data or cannot be read.
QVariantList cameraDetails(const QString& photoPath);

} // namespace html
