// SPDX-License-Identifier: GPL-2.0-or-later
// The imaging layer: images opened from files or made in memory, their size and format,
// their EXIF property items by tag number, drawing them scaled with a colour matrix and a
// rotation, and saving them through an encoder chosen by MIME type.
//
// Opening reads the header and metadata only; pixels are decoded when first needed, and then
// only at the size asked for where the format allows it. Saving an image whose pixels were not
// changed into its own format rewrites only the metadata: the compressed picture data stay
// exactly as they were, so changing a tag never degrades a photo.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace imaging {

enum class RawFormat { Unknown, MemoryBmp, Bmp, Jpeg, Png, Gif, Tiff, Exif, Webp, Heif, Avif, Jxl };

// Types of property items, with the EXIF type numbers.
enum PropertyType : uint16_t {
    PropertyByte = 1,
    PropertyAscii = 2,
    PropertyShort = 3,
    PropertyLong = 4,
    PropertyRational = 5,
    PropertyUndefined = 7,
    PropertySLong = 9,
    PropertySRational = 10,
};

// One EXIF tag: its number, type and value bytes in little-endian order (texts keep their
// terminating zero byte).
struct PropertyItem {
    uint32_t id = 0;
    uint16_t type = PropertyUndefined;
    QByteArray value;
    bool operator==(const PropertyItem&) const = default;
};

// Rotations and flips, numbered as the platform's imaging library numbers them: a rotation
// clockwise by 0, 90, 180, 270 degrees, then the same followed by a horizontal flip.
enum class RotateFlip : int {
    None = 0, Rotate90 = 1, Rotate180 = 2, Rotate270 = 3,
    FlipX = 4, Rotate90FlipX = 5, Rotate180FlipX = 6, Rotate270FlipX = 7,
};

// A 5 x 5 colour matrix applied to [r g b a 1] rows (values 0 to 1): row 4 adds offsets.
using ColorMatrix = std::array<std::array<float, 5>, 5>;
ColorMatrix identityMatrix();
bool isIdentity(const ColorMatrix& matrix, float tolerance = 0.001f);
// Applies the matrix to every pixel of a 32-bit image.
void applyColorMatrix(QImage& image, const ColorMatrix& matrix);

class Image {
public:
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Opens an image file, reading its header and metadata; null when it cannot be read.
    static std::unique_ptr<Image> open(const QString& path);
    // An image in memory (a "memory bitmap"), e.g. a side file's 1 x 1 picture.
    static std::unique_ptr<Image> fromQImage(const QImage& picture);

    int width() const;
    int height() const;
    RawFormat rawFormat() const;
    QString path() const;

    // Property items, read from the file when it was opened and changed in memory until saved.
    std::vector<uint32_t> propertyIds() const;
    std::optional<PropertyItem> property(uint32_t id) const;
    void setProperty(const PropertyItem& item);
    void removeProperty(uint32_t id);

    // The pixels as 32-bit ARGB, shrunk while decoding to fit maxSize when it is given; null
    // (with a warning) when the file has more pixels than maxPixels() allows.
    QImage pixels(QSize maxSize = QSize()) const;
    // The picture scaled to exactly size (smooth), with the colour matrix when given, then
    // rotated or flipped.
    QImage draw(QSize size, const ColorMatrix* matrix = nullptr,
                RotateFlip rotateFlip = RotateFlip::None) const;
    // Replaces the pixels (the image then counts as changed and is encoded when saved).
    void setPixels(const QImage& picture);

    // Saves with the encoder of mimeType ("image/jpeg", "image/png", ...); false on failure,
    // leaving no half-written file. jpegQuality applies to JPEG and WebP.
    bool save(const QString& path, const QString& mimeType, int jpegQuality = 90) const;
    // The MIME types of the encoders this machine has.
    static QStringList encoders();
    // The MIME type of a raw format, "" for none.
    static QString mimeType(RawFormat format);
    // True when files of the format can carry property items that are written back.
    static bool holdsProperties(RawFormat format);
    // True when the property items of files of the format are read (those of HEIF, AVIF and
    // JPEG XL files are read but never written).
    static bool readsProperties(RawFormat format);

private:
    struct Data;
    explicit Image(std::unique_ptr<Data> data);
    bool writeTo(const QString& work, const QString& mimeType, const char* suffix,
                 int jpegQuality) const;
    std::unique_ptr<Data> d;
};

// Photos with more pixels than this are refused from their header, before anything is decoded:
// a small damaged or hostile file can claim a size that would take minutes and gigabytes to
// decode. 250 megapixels unless the "MaxMegapixels" value of the "Settings" section says
// otherwise.
constexpr int DefaultMaxMegapixels = 250;
qint64 maxPixels();
// "" when a picture of width x height may be decoded, else the warning that names path.
QString pixelLimitFault(const QString& path, qint64 width, qint64 height);
// The same warning without the path: "W x H pixels, more than the N megapixels a photo may
// have".
QString pixelLimitReason(qint64 width, qint64 height);

// Starts the image engine once per process (safe to call repeatedly, from any thread).
bool startImaging();

} // namespace imaging
