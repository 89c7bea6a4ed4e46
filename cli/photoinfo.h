// SPDX-License-Identifier: GPL-2.0-or-later
// PhotoInfo: what the image list page makes of a photo (its title and automatic description
// with the default settings), the texts the EXIF reader gives for it, and its IPTC fields.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class PhotoInfo
{
public:
    // Reads the photo; readable is false when it does not open as an image.
    static PhotoInfo Read(const QString& path);

    // {"path", "title", "description", "exif": {...}, "iptc": {...}}; every EXIF field is
    // "" when the photo does not have it.
    QJsonObject ToJson() const;
    // The same for a person: one "Name: value" line per field that has a value.
    QString ToText() const;

    QString path;
    bool readable = false;
    QString title;
    QString description;

    struct Exif {
        QString date, time, camera, focalLength, shutter, flash, aperture, iso, description;
    } exif;

    struct Iptc {
        QString caption, objectName, byLine, city, country, headline, credit, source, copyright,
            writer;
        QStringList keywords;
    } iptc;
};
