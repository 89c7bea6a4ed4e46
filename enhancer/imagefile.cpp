// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/imagefile.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryFile>

#include "enhancer/imagerecord.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/rowbands.h"
#include "platform/displaytransform.h"
#include "platform/filemodes.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "platform/phototypes.h"

namespace
{

struct ExtensionEntry {
    const char* extension;
    const char* mimeType;
};
// Looked up in this order.
constexpr ExtensionEntry ExtensionTable[] = {
    {".dib", "image/bmp"},   {".bmp", "image/bmp"}, {".jpg", "image/jpeg"}, {".jpe", "image/jpeg"},
    {".jpeg", "image/jpeg"}, {".png", "image/png"}, {".gif", "image/gif"},  {".emf", "image/emf"},
    {".wmf", "image/wmf"},   {".ico", "image/ico"}, {".tif", "image/tiff"}, {".tiff", "image/tiff"},
};

void setReason(QString* reason, const QString& text)
{
    if (reason != nullptr)
        *reason = text;
}

// A transparent pixel shows the white of the page under it.
inline uint8_t overWhite(int channel, int alpha)
{
    return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Copies picture (32-bit, top row first) into the bottom-up 24-bit rows of pixels.
void toDib(const QImage& picture, uint8_t* pixels)
{
    const int height = picture.height();
    const int width = picture.width();
    const uint32_t stride = DibStride(width);
    RunRowBands(height, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            uint8_t* out = pixels + size_t(stride) * size_t(height - 1 - y);
            for (int x = 0; x < width; ++x, out += 3) {
                const int alpha = qAlpha(in[x]);
                out[0] = overWhite(qBlue(in[x]), alpha);
                out[1] = overWhite(qGreen(in[x]), alpha);
                out[2] = overWhite(qRed(in[x]), alpha);
            }
            for (uint32_t pad = uint32_t(width) * 3; pad < stride; ++pad, ++out)
                *out = 0;
        }
    });
}

QImage fromDib(const BITMAPINFOHEADER& header, const uint8_t* pixels)
{
    const int width = header.biWidth;
    const int height = header.biHeight;
    QImage picture(width, height, QImage::Format_ARGB32);
    if (picture.isNull())
        return picture;
    const uint32_t stride = DibStride(width);
    RunRowBands(height, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const uint8_t* in = pixels + size_t(stride) * size_t(height - 1 - y);
            auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < width; ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        }
    });
    return picture;
}

// Why path does not open, from what is known before decoding; "" when it may be decoded.
QString refusalOf(const QString& path, const imaging::Image* photo)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return loadLumivexString(IDS_LX_NO_SUCH_FILE);
    if (info.size() == 0)
        return loadLumivexString(IDS_LX_EMPTY_FILE);
    if (photo == nullptr || photo->width() <= 0 || photo->height() <= 0)
        return loadLumivexString(IDS_LX_NOT_AN_IMAGE);
    if (qint64(photo->width()) * photo->height() > MaxEditorPixels)
        return loadLumivexString(IDS_LX_TOO_MANY_PIXELS)
            .arg(photo->width())
            .arg(photo->height())
            .arg(MaxEditorPixels / 1000000);
    return QString();
}

// The photo's pixels as shown: the side file's tags when it opens, else the photo's own.
// Only plain quarter turns count; a mirrored Orientation is left as it is.
QImage shownPixels(const QString& path, const imaging::Image& photo)
{
    const auto side = imaging::Image::open(imaging::sideFilePath(path));
    const imaging::DisplayTransform shown = imaging::transformOf(side ? *side : photo);
    const auto turn = shown.mirrored ? imaging::RotateFlip::None
                                     : static_cast<imaging::RotateFlip>(shown.rotation);
    return photo.draw(QSize(photo.width(), photo.height()),
                      shown.hasLevels() ? &shown.matrix : nullptr, turn);
}

// A side file of a saved photo would turn or level the pixels a second time.
bool settleSideFile(const QString& path)
{
    const QString sidePath = imaging::sideFilePath(path);
    auto side = imaging::Image::open(sidePath);
    if (!side)
        return true;
    const imaging::PropertyItem upright{imaging::TagOrientation, imaging::PropertyShort,
                                        QByteArray("\1\0", 2)};
    const auto turn = side->property(imaging::TagOrientation);
    const bool levels = side->property(imaging::TagReferenceBlackWhite).has_value();
    if (!levels && (!turn || *turn == upright))
        return true;
    if (turn)
        side->setProperty(upright);
    side->removeProperty(imaging::TagReferenceBlackWhite);
    return side->save(sidePath, QStringLiteral("image/jpeg"));
}

bool validDib(const BITMAPINFOHEADER& header, const uint8_t* pixels)
{
    return pixels != nullptr && header.biWidth > 0 && header.biHeight > 0 &&
           header.biBitCount == 24 && header.biCompression == 0 &&
           qint64(header.biWidth) * header.biHeight <= MaxEditorPixels;
}

} // namespace

QString ImageFileExtension(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString EncoderMimeType(const QString& path)
{
    const QString extension = ImageFileExtension(path);
    for (const ExtensionEntry& entry : ExtensionTable)
        if (extension.compare(QLatin1String(entry.extension), Qt::CaseInsensitive) == 0)
            return QLatin1String(entry.mimeType);
    return QString();
}

bool HasEncoder(const QString& path)
{
    const QString mimeType = EncoderMimeType(path);
    return !mimeType.isEmpty() && imaging::Image::encoders().contains(mimeType);
}

bool LoadImageFile(const QString& path, ImageRecord& image, QString* reason,
                   imaging::RawFormat* format)
{
    image.Release();
    const auto photo = QFileInfo(path).isFile() ? imaging::Image::open(path) : nullptr;
    if (const QString refusal = refusalOf(path, photo.get()); !refusal.isEmpty()) {
        setReason(reason, refusal);
        return false;
    }
    const QImage picture = shownPixels(path, *photo);
    const BITMAPINFOHEADER header = MakeDibHeader(picture.width(), picture.height());
    uint8_t* pixels = picture.isNull()
                          ? nullptr
                          : ImageRecord::AllocateBare(size_t(DibStride(header.biWidth)) *
                                                      size_t(header.biHeight));
    if (pixels == nullptr) {
        setReason(reason, loadLumivexString(IDS_LX_NOT_DECODED));
        return false;
    }
    toDib(picture, pixels);
    if (format != nullptr)
        *format = photo->rawFormat();
    image.path = path.toStdString();
    image.Assign(header, pixels, false);
    return true;
}

QString KeptOriginalType(imaging::RawFormat format)
{
    // A file of these types is never written over by the editor: its encoders are not among
    // the editor's save types, and a JPEG under a .heic name would lose the original.
    return imaging::modernTypeName(format);
}

QString FreeNameBeside(const QString& path, const QString& extension)
{
    const QFileInfo original(path);
    const QDir folder = original.dir();
    const QString base = original.completeBaseName();
    QString name = base + extension;
    for (int n = 1; folder.exists(name) || folder.filePath(name) == path; ++n)
        name = base + QStringLiteral("-edited") +
               (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + extension;
    return folder.filePath(name);
}

bool SaveImageFile(const QString& path, const BITMAPINFOHEADER& header, const uint8_t* pixels,
                   const QString& metadataSource, QString* reason)
{
    const QString mimeType = EncoderMimeType(path);
    if (!HasEncoder(path) || !validDib(header, pixels)) {
        setReason(reason, loadLumivexString(IDS_LX_NO_ENCODER).arg(ImageFileExtension(path)));
        return false;
    }
    const auto image = imaging::Image::fromQImage(fromDib(header, pixels));
    const QFileInfo target(path);
    QTemporaryFile work(target.absolutePath() + QStringLiteral("/.lumivex-XXXXXX") +
                        ImageFileExtension(path));
    if (!image || !work.open()) {
        setReason(reason, work.errorString());
        return false;
    }
    work.close();
    if (!image->save(work.fileName(), mimeType) ||
        (!metadataSource.isEmpty() &&
         !imaging::metadata::carryOverToEdited(metadataSource, work.fileName(), header.biWidth,
                                               header.biHeight))) {
        setReason(reason, loadLumivexString(IDS_LX_ENCODER_FAILED));
        return false;
    }
    platform::giveUsualPermissions(work.fileName(), path);
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(work.fileName()).toStdString(),
                            QFile::encodeName(path).toStdString(), error);
    if (error) {
        setReason(reason, QString::fromStdString(error.message()));
        return false;
    }
    work.setAutoRemove(false);
    if (!settleSideFile(path)) {
        setReason(reason, loadLumivexString(IDS_LX_SIDE_FILE_FAILED));
        return false;
    }
    return true;
}
