// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/photoinfo.h"

#include <memory>
#include <utility>
#include <vector>

#include <QFileInfo>
#include <QJsonArray>

#include "images/exifreader.h"
#include "images/imageadder.h"
#include "images/iptc.h"
#include "platform/imaging.h"

namespace
{

void readExif(const imaging::Image& image, PhotoInfo::Exif& exif)
{
    bool found = false; // the texts themselves say whether a field was there
    exif.date = exif::FormatExifDate(image, found);
    exif.time = exif::FormatExifTime(image, found);
    exif.camera = exif::FormatExifCamera(image, found);
    exif.focalLength = exif::FormatExifFocalLength(image, found);
    exif.shutter = exif::FormatExifShutter(image, found);
    exif.flash = exif::FormatExifFlash(image, found);
    exif.aperture = exif::FormatExifAperture(image, found);
    exif.iso = exif::FormatExifIso(image, found);
    exif.description = exif::BuildExifDescription(image, found, CImageAdder::Options().blankLines);
}

void readIptc(const QString& path, PhotoInfo::Iptc& iptc)
{
    CIPTC reader;
    if (!reader.Read(path))
        return;
    iptc.caption = reader.Text(CIPTC::Caption);
    iptc.objectName = reader.Text(CIPTC::ObjectName);
    iptc.keywords = reader.TextList(CIPTC::Keyword);
    iptc.byLine = reader.Text(CIPTC::ByLine);
    iptc.city = reader.Text(CIPTC::City);
    iptc.country = reader.Text(CIPTC::Country);
    iptc.headline = reader.Text(CIPTC::Headline);
    iptc.credit = reader.Text(CIPTC::Credit);
    iptc.source = reader.Text(CIPTC::Source);
    iptc.copyright = reader.Text(CIPTC::RightsNotice);
    iptc.writer = reader.Text(CIPTC::WriterEditor);
}

} // namespace

PhotoInfo PhotoInfo::Read(const QString& path)
{
    PhotoInfo info;
    info.path = path;
    const CImageAdder::Described described = CImageAdder::Describe(path, CImageAdder::Options());
    info.readable = described.readable;
    info.title = described.title;
    info.description = described.description;
    if (!QFileInfo(path).isFile())
        return info;
    if (const std::unique_ptr<imaging::Image> image = imaging::Image::open(path))
        readExif(*image, info.exif);
    readIptc(path, info.iptc);
    return info;
}

QJsonObject PhotoInfo::ToJson() const
{
    const QJsonObject exifObject{{"date", exif.date},
                                 {"time", exif.time},
                                 {"camera", exif.camera},
                                 {"focal_length", exif.focalLength},
                                 {"shutter", exif.shutter},
                                 {"flash", exif.flash},
                                 {"aperture", exif.aperture},
                                 {"iso", exif.iso},
                                 {"description", exif.description}};
    const QJsonObject iptcObject{{"caption", iptc.caption},
                                 {"object_name", iptc.objectName},
                                 {"keywords", QJsonArray::fromStringList(iptc.keywords)},
                                 {"by_line", iptc.byLine},
                                 {"city", iptc.city},
                                 {"country", iptc.country},
                                 {"headline", iptc.headline},
                                 {"credit", iptc.credit},
                                 {"source", iptc.source},
                                 {"copyright", iptc.copyright},
                                 {"writer", iptc.writer}};
    return QJsonObject{{"path", path},
                       {"title", title},
                       {"description", description},
                       {"exif", exifObject},
                       {"iptc", iptcObject}};
}

QString PhotoInfo::ToText() const
{
    const std::vector<std::pair<const char*, QString>> fields = {
        {"Title", title},
        {"Description", description},
        {"Date", exif.date},
        {"Time", exif.time},
        {"Camera", exif.camera},
        {"Focal length", exif.focalLength},
        {"Shutter", exif.shutter},
        {"Flash", exif.flash},
        {"Aperture", exif.aperture},
        {"ISO", exif.iso},
        {"EXIF description", exif.description},
        {"IPTC caption", iptc.caption},
        {"IPTC object name", iptc.objectName},
        {"IPTC keywords", iptc.keywords.join(QStringLiteral(", "))},
        {"IPTC by-line", iptc.byLine},
        {"IPTC city", iptc.city},
        {"IPTC country", iptc.country},
        {"IPTC headline", iptc.headline},
        {"IPTC credit", iptc.credit},
        {"IPTC source", iptc.source},
        {"IPTC copyright", iptc.copyright},
        {"IPTC writer", iptc.writer},
    };
    QString text = path + u'\n';
    for (const auto& [name, value] : fields) {
        if (value.isEmpty())
            continue;
        // Descriptions run over several lines; each continues under the first.
        QString shown = value;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        shown.replace(u'\n', QStringLiteral("\n    "));
        text += QStringLiteral("  %1: %2\n").arg(QString::fromLatin1(name), shown);
    }
    return text;
}
