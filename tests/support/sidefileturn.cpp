// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/sidefileturn.h"

#include <QImage>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

void turnBySideFile(const QString& photo)
{
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    const QString side = photo + QStringLiteral(".exif");
    ASSERT_TRUE(dot.save(side, "JPEG"));
    auto image = Exiv2::ImageFactory::open(side.toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = static_cast<uint16_t>(6);
    image->setExifData(exif);
    image->writeMetadata();
}
