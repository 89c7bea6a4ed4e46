// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/cameradetails.h"

#include <QVariantMap>

#include "images/exifreader.h"
#include "platform/imaging.h"

namespace html
{

namespace
{

constexpr uint32_t TagLensModel = 42036;

void add(QVariantList& list, const char* label, const QString& value)
{
    const QString text = value.trimmed();
    if (!text.isEmpty())
        list << QVariantMap{{"label", QString::fromLatin1(label)}, {"value", text}};
}

QString withUnit(const QString& value, const char* unit)
{
    return value.isEmpty() ? value : value + QString::fromLatin1(unit);
}

QString lens(const imaging::Image& image)
{
    QString text;
    exif::ReadExifText(image, TagLensModel, text);
    return text;
}

// The long date and the time, as the album builder writes them into descriptions.
QString taken(const imaging::Image& image)
{
    bool found = false;
    const QString date = exif::FormatExifDate(image, found);
    const QString time = exif::FormatExifTime(image, found);
    return date.isEmpty() || time.isEmpty() ? date + time : date + u' ' + time;
}

} // namespace

QVariantList cameraDetails(const QString& photoPath)
{
    QVariantList list;
    const std::unique_ptr<imaging::Image> image = imaging::Image::open(photoPath);
    if (!image)
        return list;
    bool found = false;
    add(list, "Camera", exif::FormatExifCamera(*image, found));
    add(list, "Lens", lens(*image));
    add(list, "Exposure", withUnit(exif::FormatExifShutter(*image, found), " s"));
    add(list, "Aperture", exif::FormatExifAperture(*image, found));
    add(list, "ISO", exif::FormatExifIso(*image, found));
    add(list, "Focal length", withUnit(exif::FormatExifFocalLength(*image, found), " mm"));
    add(list, "Date", taken(*image));
    return list;
}

} // namespace html
