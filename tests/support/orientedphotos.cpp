// SPDX-License-Identifier: GPL-2.0-or-later
// libvips first: its glib headers use names that Qt's keywords would replace.
#include <vips/vips8>

#include "tests/support/orientedphotos.h"

#include <cmath>

#include <QBuffer>
#include <QDir>

#include "platform/imaging.h"

namespace
{

// Four colours far apart, so a quarter that lands in the wrong place cannot pass.
const QColor Quarters[4] = {QColor(220, 40, 40), QColor(40, 180, 40), QColor(40, 60, 220),
                            QColor(240, 220, 60)};

QImage quarteredPicture()
{
    QImage picture(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            picture.setPixelColor(x, y, Quarters[(y < 32 ? 0 : 2) + (x < 48 ? 0 : 1)]);
    return picture;
}

QByteArray pngOf(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A test that runs alone may be the first in its process to use libvips.
int distance(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

} // namespace

QStringList makeOrientedPhotos(const QString& folder)
{
    // A test may make its photos before anything else has started libvips.
    if (!imaging::startImaging())
        return {};
    QDir().mkpath(folder);
    const QByteArray png = pngOf(quarteredPicture());
    QStringList photos;
    try {
        const vips::VImage upright =
            vips::VImage::new_from_buffer(png.constData(), size_t(png.size()), "");
        for (int orientation = 1; orientation <= 8; ++orientation) {
            vips::VImage tagged = upright.copy();
            tagged.set("orientation", orientation);
            const QString path = QDir(folder).filePath(QStringLiteral("orientation-%1.jpg").arg(orientation));
            tagged.jpegsave(path.toUtf8().constData(), vips::VImage::option()->set("Q", 95));
            photos << path;
        }
    } catch (const vips::VError&) {
        return {};
    }
    return photos;
}

QImage autorotated(const QString& path)
{
    if (!imaging::startImaging())
        return QImage();
    try {
        const vips::VImage turned =
            vips::VImage::new_from_file(path.toUtf8().constData()).autorot();
        void* bytes = nullptr;
        size_t size = 0;
        turned.write_to_buffer(".png", &bytes, &size);
        QImage picture = QImage::fromData(static_cast<const uchar*>(bytes), int(size), "PNG");
        g_free(bytes);
        return picture;
    } catch (const vips::VError&) {
        return QImage();
    }
}

std::array<QColor, 4> quarterColours(const QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    return {picture.pixelColor(w / 4, h / 4), picture.pixelColor(3 * w / 4, h / 4),
            picture.pixelColor(w / 4, 3 * h / 4), picture.pixelColor(3 * w / 4, 3 * h / 4)};
}

bool showsTheSame(const QImage& picture, const QImage& expected, QString* why)
{
    if (picture.isNull() || expected.isNull()) {
        *why = QStringLiteral("no picture");
        return false;
    }
    // Shaped alike: the expected picture fitted into this one fills it to within a pixel.
    const QSize fitted = expected.size().scaled(picture.size(), Qt::KeepAspectRatio);
    if (std::abs(fitted.width() - picture.width()) > 1 ||
        std::abs(fitted.height() - picture.height()) > 1) {
        *why = QStringLiteral("%1 x %2 is not shaped as %3 x %4")
                   .arg(picture.width()).arg(picture.height())
                   .arg(expected.width()).arg(expected.height());
        return false;
    }
    const auto shown = quarterColours(picture);
    const auto wanted = quarterColours(expected);
    for (size_t i = 0; i < 4; ++i) {
        if (distance(shown[i], wanted[i]) > 90) {
            *why = QStringLiteral("quarter %1 is %2, not %3")
                       .arg(i).arg(shown[i].name(), wanted[i].name());
            return false;
        }
    }
    return true;
}

QImage opaquePart(const QImage& picture)
{
    QRect part;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) > 128)
                part |= QRect(x, y, 1, 1);
    return picture.copy(part);
}
