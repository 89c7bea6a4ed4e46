// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/enhancer/corefixture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <QtEndian>

#include "enhancer/imagerecord.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"

PackedPixels filledPixels(int width, int height, uint8_t value)
{
    const BITMAPINFOHEADER header = MakeDibHeader(width, height);
    PackedPixels pixels(ImageRecord::AllocatePacked(header));
    const uint32_t stride = DibStride(width);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels.get() + size_t(y) * stride;
        std::memset(row, value, size_t(width) * 3);
        std::memset(row + size_t(width) * 3, 0, stride - size_t(width) * 3);
    }
    return pixels;
}

PackedPixels patternPixels(int width, int height, uint8_t seed)
{
    PackedPixels pixels = filledPixels(width, height, 0);
    const uint32_t stride = DibStride(width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = pixels.get() + size_t(y) * stride + size_t(x) * 3;
            p[0] = uint8_t(x + seed);
            p[1] = uint8_t(y + seed);
            p[2] = uint8_t(x + y + seed);
        }
    return pixels;
}

QColor shownColour(const ImageRecord& image, int x, int yFromTop)
{
    const int row = image.heightPixels - 1 - yFromTop;
    const uint8_t* p = image.Pixels() + size_t(row) * DibStride(image.widthPixels) + size_t(x) * 3;
    return QColor(p[2], p[1], p[0]);
}

std::vector<QColor> quarterColours(const ImageRecord& image)
{
    const int w = image.widthPixels, h = image.heightPixels;
    return {shownColour(image, w / 4, h / 4), shownColour(image, 3 * w / 4, h / 4),
            shownColour(image, w / 4, 3 * h / 4), shownColour(image, 3 * w / 4, 3 * h / 4)};
}

bool closeTo(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QImage quarterPicture()
{
    QImage picture(32, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool right = x >= 16, bottom = y >= 8;
            picture.setPixel(x, y,
                             !bottom ? (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0))
                                     : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255)));
        }
    return picture;
}

namespace
{

imaging::PropertyItem orientationItem(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(static_cast<uint16_t>(value), bytes.data());
    return {imaging::TagOrientation, imaging::PropertyShort, bytes};
}

// Rationals with denominator 10, so that tenths survive.
imaging::PropertyItem levelsItem(const std::vector<double>& levels)
{
    QByteArray bytes;
    for (const double value : levels) {
        uint32_t pair[2] = {static_cast<uint32_t>(std::lround(value * 10)), 10};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return {imaging::TagReferenceBlackWhite, imaging::PropertyRational, bytes};
}

} // namespace

QString writePicture(const QString& path, const QImage& picture, const QString& mimeType,
                     int orientation, const std::vector<double>& levels)
{
    auto image = imaging::Image::fromQImage(picture);
    if (!image)
        return QString();
    if (orientation != 0)
        image->setProperty(orientationItem(orientation));
    if (!levels.empty())
        image->setProperty(levelsItem(levels));
    return image->save(path, mimeType) ? path : QString();
}

QString writeSideFile(const QString& photo, int orientation, const std::vector<double>& levels)
{
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::black);
    return writePicture(imaging::sideFilePath(photo), pixel, QStringLiteral("image/jpeg"),
                        orientation, levels);
}

QStringList EditorChoosers::openFiles(const QString&, const QString&, const QString& filter)
{
    filters << filter;
    if (openAnswers.empty())
        return {};
    QStringList answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString EditorChoosers::saveFile(const QString&, const QString& suggested, const QString& filter)
{
    suggestions << suggested;
    filters << filter;
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}
