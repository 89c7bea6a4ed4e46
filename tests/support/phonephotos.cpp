// SPDX-License-Identifier: GPL-2.0-or-later
// glib, under libvips, uses names that Qt reserves as keywords: it comes first.
#include <vips/vips8>

#include "tests/support/phonephotos.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "platform/imaging.h"

namespace
{

QByteArray box(const char type[4], const QByteArray& payload)
{
    QByteArray size(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(8 + payload.size()), size.data());
    return size + QByteArray(type, 4) + payload;
}

// The TIFF part of a JPEG's EXIF segment.
QByteArray exifOfJpeg(const QByteArray& jpeg)
{
    const qsizetype at = jpeg.indexOf(QByteArray("Exif\0\0", 6));
    if (at < 4)
        return QByteArray();
    const int length = (uchar(jpeg[at - 2]) << 8) | uchar(jpeg[at - 1]);
    return jpeg.mid(at + 6, length - 8);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// libvips writes a bare JPEG XL codestream without metadata: wrap it in the container with
// the photo's EXIF.
bool wrapJxl(const QString& path, const QString& photo)
{
    const QByteArray codestream = readAll(path);
    const QByteArray exif = exifOfJpeg(readAll(photo));
    if (codestream.isEmpty() || exif.isEmpty())
        return false;
    const QByteArray file = box("JXL ", QByteArray("\r\n\x87\n", 4)) +
                            box("ftyp", QByteArray("jxl \0\0\0\0jxl ", 12)) +
                            box("Exif", QByteArray(4, '\0') + exif) + box("jxlc", codestream);
    return writeAll(path, file);
}

} // namespace

QString makePhonePhoto(const QString& photo, const QString& folder, const QString& name)
{
    imaging::startImaging();
    const QString path = folder + u'/' + name;
    const QString suffix = QFileInfo(name).suffix().toLower();
    try {
        const vips::VImage image = vips::VImage::new_from_file(photo.toUtf8().constData());
        const QByteArray file = path.toUtf8();
        if (suffix == QLatin1String("heic"))
            image.heifsave(
                file.constData(),
                vips::VImage::option()->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_HEVC));
        else if (suffix == QLatin1String("avif"))
            image.heifsave(file.constData(), vips::VImage::option()->set(
                                                 "compression", VIPS_FOREIGN_HEIF_COMPRESSION_AV1));
        else
            image.write_to_file(file.constData());
    } catch (const std::exception&) {
        return QString();
    }
    if (suffix == QLatin1String("jxl") && !wrapJxl(path, photo))
        return QString();
    return path;
}

QString makeTruncated(const QString& source, const QString& target, qint64 keep)
{
    return writeAll(target, readAll(source).left(keep)) ? target : QString();
}
