// SPDX-License-Identifier: GPL-2.0-or-later
// Photos from today's phones: which types the engine decodes, the photo filter that offers
// them, and their camera data and turn read as a JPEG's are.
#include <gtest/gtest.h>

#include <QFile>

#include <vips/vips8>

#include "platform/displaytransform.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "platform/phototypes.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

using namespace imaging;

namespace
{

QString textOf(const Image& image, uint32_t id)
{
    const auto item = image.property(id);
    return item ? QString::fromLatin1(item->value).remove(u'\0').trimmed() : QString();
}

struct Made {
    const char* name;
    RawFormat format;
};
constexpr Made PhoneFormats[] = {{"p.heic", RawFormat::Heif},
                                 {"p.avif", RawFormat::Avif},
                                 {"p.webp", RawFormat::Webp},
                                 {"p.jxl", RawFormat::Jxl}};

constexpr uint32_t TagModel = 272;
constexpr uint32_t TagGpsLatitude = 2;

} // namespace

TEST(PhotoTypes, DebiansEngineDecodesEveryPhoneFormat)
{
    // libheif decodes both HEVC and AV1 here, and libvips has its JPEG XL loader.
    QStringList names;
    for (const PhotoType& type : modernPhotoTypes())
        names << type.patterns.join(u',');
    EXPECT_EQ(names, (QStringList{"*.heic,*.heif", "*.avif", "*.webp", "*.jxl"}));
}

TEST(PhotoTypes, EachDecodedFormatIsNamedAsItsFilterEntry)
{
    for (const PhotoType& type : modernPhotoTypes())
        EXPECT_EQ(modernTypeName(type.format), type.name) << qPrintable(type.name);
    EXPECT_EQ(modernTypeName(RawFormat::Heif), QString("HEIF photos"));
    EXPECT_EQ(modernTypeName(RawFormat::Jxl), QString("JPEG XL pictures"));
    // The types every program writes are not among them.
    for (const RawFormat format : {RawFormat::Unknown, RawFormat::Jpeg, RawFormat::Exif,
                                   RawFormat::Png, RawFormat::Tiff, RawFormat::MemoryBmp})
        EXPECT_TRUE(modernTypeName(format).isEmpty()) << int(format);
}

TEST(PhotoTypes, FilterTextGetsTheTypesInItsFirstEntryAndAsEntries)
{
    const QString filter = "All|*.jpg;*.png|JPEG (*.jpg)|*.jpg||";
    EXPECT_EQ(withModernTypes(filter, {}), filter);
    EXPECT_EQ(withModernTypes(filter, {{"HEIF", {"*.heic", "*.heif"}}, {"WebP", {"*.webp"}}}),
              QString("All|*.jpg;*.png;*.heic;*.heif;*.webp|JPEG (*.jpg)|*.jpg|"
                      "HEIF (*.heic;*.heif)|*.heic;*.heif|WebP (*.webp)|*.webp||"));
    // A text without entries is left as it is.
    EXPECT_EQ(withModernTypes("nothing", {{"WebP", {"*.webp"}}}), QString("nothing"));
}

TEST(PhoneFormats, CameraDataIsReadAsForJpeg)
{
    TestFolder folder;
    const QString photo = sharedTestData("photos/exs-DSCN0010.jpg");
    for (const Made& made : PhoneFormats) {
        const QString path = makePhonePhoto(photo, folder.path(), made.name);
        ASSERT_FALSE(path.isEmpty()) << made.name;
        const auto image = Image::open(path);
        ASSERT_NE(image, nullptr) << made.name;
        EXPECT_EQ(image->rawFormat(), made.format) << made.name;
        EXPECT_EQ(image->width(), 640);
        EXPECT_EQ(textOf(*image, TagModel), QString("COOLPIX P6000")) << made.name;
        EXPECT_TRUE(image->property(TagGpsLatitude).has_value()) << made.name;
        EXPECT_EQ(image->propertyIds().size(), Image::open(photo)->propertyIds().size() -
                                                   (made.format == RawFormat::Webp ? 0 : 1))
            << made.name << ": every item but the turn";
        // The picture itself decodes.
        EXPECT_FALSE(image->pixels(QSize(64, 64)).isNull()) << made.name;
    }
}

TEST(PhoneFormats, TheirDecodersTurnThePictureSoTheTagDoesNotTurnItAgain)
{
    TestFolder folder;
    const QString sideways = sharedTestData("photos/exs-landscape_6.jpg");
    for (const Made& made : PhoneFormats) {
        const QString path = makePhonePhoto(sideways, folder.path(), made.name);
        ASSERT_FALSE(path.isEmpty()) << made.name;
        const auto image = Image::open(path);
        ASSERT_NE(image, nullptr);
        const bool webp = made.format == RawFormat::Webp;
        // A WebP is turned by its EXIF as a JPEG is; the others are upright once decoded.
        EXPECT_EQ(image->property(TagOrientation).has_value(), webp) << made.name;
        EXPECT_EQ(readDisplayTransform(path).rotation, webp ? 1 : 0) << made.name;
    }
}

TEST(PhoneFormats, TheEnginesOwnExifBlockReadsAsTheFileDoes)
{
    TestFolder folder;
    const QString path =
        makePhonePhoto(sharedTestData("photos/exs-DSCN0010.jpg"), folder.path(), "p.webp");
    const vips::VImage header = vips::VImage::new_from_file(path.toUtf8().constData());
    size_t length = 0;
    const void* data = header.get_blob(VIPS_META_EXIF_NAME, &length);
    const QByteArray block(static_cast<const char*>(data), static_cast<qsizetype>(length));
    ASSERT_TRUE(block.startsWith(QByteArray("Exif\0\0", 6)));
    const std::vector<PropertyItem> fromFile = metadata::read(path);
    ASSERT_FALSE(fromFile.empty());
    EXPECT_EQ(metadata::readExifBlock(block), fromFile);
    EXPECT_EQ(metadata::readExifBlock(block.mid(6)), fromFile); // without the prefix
    EXPECT_TRUE(metadata::readExifBlock(QByteArray("Exif\0\0II*\0", 10)).empty());
    EXPECT_TRUE(metadata::readExifBlock(QByteArray(300, '\xFF')).empty());
}

TEST(PhoneFormats, CutShortFilesDoNotOpen)
{
    TestFolder folder;
    const QString photo = sharedTestData("photos/exs-DSCN0010.jpg");
    for (const char* name : {"p.heic", "p.avif", "p.webp"}) {
        const QString whole = makePhonePhoto(photo, folder.path(), name);
        ASSERT_FALSE(whole.isEmpty());
        EXPECT_EQ(Image::open(makeTruncated(whole, folder.file(QString("cut-") + name), 3000)),
                  nullptr)
            << name;
    }
}
