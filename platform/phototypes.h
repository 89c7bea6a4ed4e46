// SPDX-License-Identifier: GPL-2.0-or-later
// The photo file types of today's phones and cameras (HEIF, AVIF, WebP, JPEG XL) that this
// machine's image engine decodes. Which ones it does depends on how libvips and libheif were
// built, so the engine is asked at run time rather than trusting a list.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "platform/imaging.h"

namespace imaging
{

struct PhotoType {
    QString name;         // "HEIF photos"
    QStringList patterns; // "*.heic", "*.heif"
    RawFormat format = RawFormat::Unknown;
};

// The types the engine can decode, in a fixed order; each is asked once per process.
std::vector<PhotoType> modernPhotoTypes();

// The name of format's type ("HEIF photos") when it is one of the modern types the engine
// decodes, else "".
QString modernTypeName(RawFormat format);

// The photo filter text ("Name|*.a;*.b|...||", the first entry listing every type) with the
// modern types the engine decodes added to its first entry and as entries of their own.
QString withModernTypes(const QString& filter, const std::vector<PhotoType>& types);

} // namespace imaging
