// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/imaging.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <mutex>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTransform>

#include <vips/vips8>

#include "platform/enginewarnings.h"
#include "platform/filemodes.h"
#include "platform/imagemetadata.h"
#include "platform/safefile.h"
#include "platform/settings.h"

namespace imaging {

namespace {

RawFormat formatOfJpeg(const QString& path)
{
    // A camera file that starts with its EXIF segment rather than a JFIF one.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return RawFormat::Jpeg;
    const QByteArray head = file.read(12);
    return head.size() == 12 && static_cast<uchar>(head[3]) == 0xE1 && head.mid(6, 4) == "Exif"
               ? RawFormat::Exif
               : RawFormat::Jpeg;
}

RawFormat formatOf(const QString& path, const vips::VImage& image)
{
    const char* loader = nullptr;
    if (vips_image_get_typeof(image.get_image(), "vips-loader"))
        vips_image_get_string(image.get_image(), "vips-loader", &loader);
    const QByteArray name = loader ? QByteArray(loader) : QByteArray();
    if (name.startsWith("jpegload"))
        return formatOfJpeg(path);
    if (name.startsWith("pngload"))
        return RawFormat::Png;
    if (name.startsWith("gifload"))
        return RawFormat::Gif;
    if (name.startsWith("tiffload"))
        return RawFormat::Tiff;
    if (name.startsWith("webpload"))
        return RawFormat::Webp;
    if (name.startsWith("heifload")) {
        const char* compression = nullptr;
        if (vips_image_get_typeof(image.get_image(), "heif-compression") &&
            vips_image_get_string(image.get_image(), "heif-compression", &compression) == 0 &&
            compression && QByteArray(compression) == "av1")
            return RawFormat::Avif;
        return RawFormat::Heif;
    }
    if (name.startsWith("jxlload"))
        return RawFormat::Jxl;
    if (name.startsWith("magickload") || name.startsWith("bmpload"))
        return RawFormat::Bmp; // the only format this program opens through that loader
    return RawFormat::Unknown;
}

// Any 8-bit sRGB picture with alpha, whatever the file held (grey, CMYK, 16 bits, palette).
vips::VImage toRgba8(vips::VImage image)
{
    if (image.interpretation() != VIPS_INTERPRETATION_sRGB)
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    if (image.format() != VIPS_FORMAT_UCHAR)
        image = image.cast(VIPS_FORMAT_UCHAR);
    if (image.bands() == 3)
        image = image.bandjoin_const({255});
    return image.extract_band(0, vips::VImage::option()->set("n", 4));
}

QImage toQImage(vips::VImage image)
{
    image = toRgba8(image);
    size_t size = 0;
    void* buffer = image.write_to_memory(&size);
    QImage picture(static_cast<const uchar*>(buffer), image.width(), image.height(),
                   image.width() * 4, QImage::Format_RGBA8888);
    QImage copy = picture.convertToFormat(QImage::Format_ARGB32);
    g_free(buffer);
    return copy;
}

// The picture as a vips image over its own pixels, without a copy: keeper holds them for as long
// as the vips image is used. A picture the size of a whole photo is saved with no second or
// third full-size buffer beside it.
vips::VImage toVips(const QImage& picture, QImage& keeper)
{
    keeper = picture.convertToFormat(QImage::Format_ARGB32); // shared when it already is
    VipsImage* image = vips_image_new_from_memory(
        keeper.constBits(), static_cast<size_t>(keeper.sizeInBytes()), keeper.width(),
        keeper.height(), 4, VIPS_FORMAT_UCHAR);
    if (image == nullptr)
        throw vips::VError();
    const vips::VImage stored(image);
    // A 32-bit ARGB value lies in memory as B, G, R, A on little-endian machines, as A, R, G, B
    // on big-endian ones; the bands are picked lazily, row by row, as the encoder asks.
    constexpr bool little = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    const vips::VImage rgba = stored.extract_band(little ? 2 : 1)
                                  .bandjoin(stored.extract_band(little ? 1 : 2))
                                  .bandjoin(stored.extract_band(little ? 0 : 3))
                                  .bandjoin(stored.extract_band(little ? 3 : 0));
    return rgba.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

struct Encoder {
    const char* mime;
    const char* suffix;
};
const Encoder Encoders[] = {
    {"image/jpeg", ".jpg"}, {"image/png", ".png"},   {"image/gif", ".gif"},
    {"image/bmp", ".bmp"},  {"image/tiff", ".tif"},  {"image/webp", ".webp"},
    {"image/heif", ".heic"}, {"image/avif", ".avif"},
};

const char* suffixOf(const QString& mimeType)
{
    for (const Encoder& encoder : Encoders)
        if (mimeType.compare(QLatin1String(encoder.mime), Qt::CaseInsensitive) == 0)
            return encoder.suffix;
    return nullptr;
}

bool vipsCanSave(const char* suffix)
{
    return vips_foreign_find_save(suffix) != nullptr;
}

// The EXIF blob libvips found in the file ("Exif\0\0" and a TIFF header), empty when none.
QByteArray vipsExifBlob(const vips::VImage& header)
{
    if (vips_image_get_typeof(header.get_image(), VIPS_META_EXIF_NAME) == 0)
        return QByteArray();
    const void* data = nullptr;
    size_t length = 0;
    if (vips_image_get_blob(header.get_image(), VIPS_META_EXIF_NAME, &data, &length) != 0)
        return QByteArray();
    return QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(length));
}

// HEIF, AVIF and JPEG XL decoders turn the picture upright themselves (the file's own turn
// boxes, or the codestream's orientation), and the standards say their EXIF Orientation is
// not applied again: it reads as upright so nothing shows the photo turned twice.
bool decoderTurnsUpright(RawFormat format)
{
    return format == RawFormat::Heif || format == RawFormat::Avif || format == RawFormat::Jxl;
}

std::vector<PropertyItem> propertiesOf(const QString& path, RawFormat format,
                                       const vips::VImage& header)
{
    std::vector<PropertyItem> items = metadata::read(path);
    // Where exiv2 finds nothing the engine's own reading of the EXIF block stands in.
    if (items.empty())
        items = metadata::readExifBlock(vipsExifBlob(header));
    if (decoderTurnsUpright(format))
        std::erase_if(items, [](const PropertyItem& item) { return item.id == 274; });
    return items;
}

} // namespace

bool startImaging()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = VIPS_INIT("gallivex") == 0;
        // No operation cache: it keys decoded files by name, so a photo saved over by the
        // editor would come back as it was. Photos are decoded once each anyway.
        vips_cache_set_max(0);
        quietHarmlessEngineWarnings();
    });
    return started;
}

struct Image::Data {
    QString path;
    RawFormat format = RawFormat::Unknown;
    int width = 0;
    int height = 0;
    std::vector<PropertyItem> items;
    QImage memory; // pixels held in memory: a memory bitmap, or pixels that were replaced
    bool pixelsChanged = false;
};

Image::Image(std::unique_ptr<Data> data) : d(std::move(data)) {}
Image::~Image() = default;

std::unique_ptr<Image> Image::open(const QString& path)
{
    if (!startImaging() || !QFileInfo(path).isFile())
        return nullptr;
    try {
        const vips::VImage header = vips::VImage::new_from_file(
            path.toUtf8().constData(), vips::VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        auto data = std::make_unique<Data>();
        data->path = path;
        data->format = formatOf(path, header);
        data->width = header.width();
        data->height = header.height();
        if (readsProperties(data->format))
            data->items = propertiesOf(path, data->format, header);
        return std::unique_ptr<Image>(new Image(std::move(data)));
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<Image> Image::fromQImage(const QImage& picture)
{
    if (picture.isNull())
        return nullptr;
    auto data = std::make_unique<Data>();
    data->format = RawFormat::MemoryBmp;
    data->memory = picture.convertToFormat(QImage::Format_ARGB32);
    data->width = picture.width();
    data->height = picture.height();
    data->pixelsChanged = true;
    return std::unique_ptr<Image>(new Image(std::move(data)));
}

int Image::width() const { return d->width; }
int Image::height() const { return d->height; }
RawFormat Image::rawFormat() const { return d->format; }
QString Image::path() const { return d->path; }

std::vector<uint32_t> Image::propertyIds() const
{
    std::vector<uint32_t> ids;
    for (const PropertyItem& item : d->items)
        ids.push_back(item.id);
    return ids;
}

std::optional<PropertyItem> Image::property(uint32_t id) const
{
    for (const PropertyItem& item : d->items)
        if (item.id == id)
            return item;
    return std::nullopt;
}

void Image::setProperty(const PropertyItem& item)
{
    for (PropertyItem& existing : d->items) {
        if (existing.id == item.id) {
            existing = item;
            return;
        }
    }
    d->items.push_back(item);
}

void Image::removeProperty(uint32_t id)
{
    d->items.erase(std::remove_if(d->items.begin(), d->items.end(),
                                  [id](const PropertyItem& item) { return item.id == id; }),
                   d->items.end());
}

qint64 maxPixels()
{
    const int megapixels = Settings().getInt(QStringLiteral("Settings"),
                                             QStringLiteral("MaxMegapixels"), DefaultMaxMegapixels);
    return qint64{megapixels > 0 ? megapixels : DefaultMaxMegapixels} * 1000 * 1000;
}

QString pixelLimitReason(qint64 width, qint64 height)
{
    const qint64 limit = maxPixels();
    if (width * height <= limit)
        return QString();
    return QStringLiteral("%1 x %2 pixels, more than the %3 megapixels a photo may have")
        .arg(width)
        .arg(height)
        .arg(limit / 1000000);
}

QString pixelLimitFault(const QString& path, qint64 width, qint64 height)
{
    const QString reason = pixelLimitReason(width, height);
    return reason.isEmpty() ? reason : QStringLiteral("%1 is %2").arg(path, reason);
}

QImage Image::pixels(QSize maxSize) const
{
    if (!d->memory.isNull())
        return maxSize.isValid() && (d->width > maxSize.width() || d->height > maxSize.height())
                   ? d->memory.scaled(maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                   : d->memory;
    if (const QString fault = pixelLimitFault(d->path, d->width, d->height); !fault.isEmpty()) {
        qWarning("%s", qUtf8Printable(fault));
        return QImage();
    }
    try {
        const QByteArray file = d->path.toUtf8();
        if (maxSize.isValid() && (d->width > maxSize.width() || d->height > maxSize.height())) {
            // Shrinks while decoding where the format allows it (JPEG, WebP, HEIF).
            return toQImage(vips::VImage::thumbnail(
                file.constData(), std::max(1, maxSize.width()),
                vips::VImage::option()->set("height", std::max(1, maxSize.height()))
                    ->set("no_rotate", true)));
        }
        return toQImage(vips::VImage::new_from_file(file.constData()));
    } catch (const std::exception&) {
        return QImage();
    }
}

QImage Image::draw(QSize size, const ColorMatrix* matrix, RotateFlip rotateFlip) const
{
    if (size.isEmpty())
        return QImage();
    QImage picture = pixels(size);
    if (picture.isNull())
        return picture;
    if (picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (matrix != nullptr && !isIdentity(*matrix))
        applyColorMatrix(picture, *matrix);
    if (rotateFlip == RotateFlip::None)
        return picture;
    // Turned first, then flipped: Qt applies the left operand of a product first.
    QTransform transform;
    transform.rotate(90.0 * (static_cast<int>(rotateFlip) & 3));
    if (static_cast<int>(rotateFlip) >= 4)
        transform = transform * QTransform::fromScale(-1, 1);
    return picture.transformed(transform);
}

void Image::setPixels(const QImage& picture)
{
    d->memory = picture.convertToFormat(QImage::Format_ARGB32);
    d->width = picture.width();
    d->height = picture.height();
    d->pixelsChanged = true;
}

QString Image::mimeType(RawFormat format)
{
    switch (format) {
    case RawFormat::Jpeg:
    case RawFormat::Exif:
        return QStringLiteral("image/jpeg");
    case RawFormat::Png: return QStringLiteral("image/png");
    case RawFormat::Gif: return QStringLiteral("image/gif");
    case RawFormat::Bmp:
    case RawFormat::MemoryBmp: return QStringLiteral("image/bmp");
    case RawFormat::Tiff: return QStringLiteral("image/tiff");
    case RawFormat::Webp: return QStringLiteral("image/webp");
    case RawFormat::Heif: return QStringLiteral("image/heif");
    case RawFormat::Avif: return QStringLiteral("image/avif");
    case RawFormat::Jxl: return QStringLiteral("image/jxl");
    default: return QString();
    }
}

bool Image::holdsProperties(RawFormat format)
{
    return format == RawFormat::Jpeg || format == RawFormat::Exif || format == RawFormat::Tiff ||
           format == RawFormat::Webp;
}

bool Image::readsProperties(RawFormat format)
{
    return holdsProperties(format) || decoderTurnsUpright(format);
}

QStringList Image::encoders()
{
    startImaging();
    QStringList mimes;
    for (const Encoder& encoder : Encoders)
        if (QLatin1String(encoder.suffix) == QLatin1String(".bmp") || vipsCanSave(encoder.suffix))
            mimes << QLatin1String(encoder.mime);
    return mimes;
}

namespace {

// Encodes pixels into file (whose name ends in suffix) with the encoder of suffix.
bool encode(const vips::VImage& source, const QString& file, const char* suffix, int quality)
{
    vips::VImage image = toRgba8(source);
    const bool lossy = !qstrcmp(suffix, ".jpg") || !qstrcmp(suffix, ".webp") ||
                       !qstrcmp(suffix, ".heic") || !qstrcmp(suffix, ".avif");
    if (!qstrcmp(suffix, ".jpg") || !qstrcmp(suffix, ".bmp")) // these files have no alpha
        image = image.flatten(
            vips::VImage::option()->set("background", std::vector<double>{255, 255, 255}));
    if (!qstrcmp(suffix, ".bmp")) {
        // QImage::save ignores a failing last write when it closes the file.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        return buffer.open(QIODevice::WriteOnly) && toQImage(image).save(&buffer, "BMP") &&
               platform::writeFileSafely(file, bytes);
    }
    if (!vipsCanSave(suffix))
        return false;
    vips::VOption* options = vips::VImage::option()->set("strip", true);
    if (lossy)
        options->set("Q", std::clamp(quality, 1, 100));
    image.write_to_file(file.toUtf8().constData(), options);
    return true;
}

RawFormat formatOfMime(const QString& mimeType)
{
    for (RawFormat format : {RawFormat::Jpeg, RawFormat::Png, RawFormat::Gif, RawFormat::Bmp,
                             RawFormat::Tiff, RawFormat::Webp, RawFormat::Heif, RawFormat::Avif})
        if (Image::mimeType(format).compare(mimeType, Qt::CaseInsensitive) == 0)
            return format;
    return RawFormat::Unknown;
}

} // namespace

bool Image::save(const QString& path, const QString& mimeType, int jpegQuality) const
{
    const char* suffix = suffixOf(mimeType);
    if (suffix == nullptr || !startImaging())
        return false;
    // Everything is written to a temporary file beside the target and renamed into place,
    // so a failure never leaves a damaged file where a good one was.
    QTemporaryFile temporary(QFileInfo(path).absolutePath() + QStringLiteral("/.gvsave-XXXXXX") +
                             QLatin1String(suffix));
    if (!temporary.open())
        return false;
    const QString work = temporary.fileName();
    temporary.close();
    if (!writeTo(work, mimeType, suffix, jpegQuality))
        return false;
    // The scratch file was made for the owner alone.
    platform::giveUsualPermissions(work, path);
    std::error_code error;
    std::filesystem::rename(work.toStdString(), path.toStdString(), error);
    return !error;
}

bool Image::writeTo(const QString& work, const QString& mimeType, const char* suffix,
                    int jpegQuality) const
{
    const RawFormat target = formatOfMime(mimeType);
    const bool sameFormat =
        !d->pixelsChanged && Image::mimeType(d->format) == Image::mimeType(target);
    try {
        if (sameFormat) {
            // Only the metadata may differ: copy the file as it is and rewrite its tags.
            QFile::remove(work);
            if (!QFile::copy(d->path, work))
                return false;
            if (holdsProperties(target) && d->items != metadata::read(d->path))
                return metadata::write(work, d->items);
            return true;
        }
        QImage keeper; // outlives source, which may stand on its pixels
        const vips::VImage source = d->memory.isNull()
                                        ? vips::VImage::new_from_file(d->path.toUtf8().constData())
                                        : toVips(d->memory, keeper);
        if (!encode(source, work, suffix, jpegQuality))
            return false;
        return !holdsProperties(target) || d->items.empty() || metadata::write(work, d->items);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace imaging
