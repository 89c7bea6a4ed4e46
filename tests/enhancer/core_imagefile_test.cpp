// SPDX-License-Identifier: GPL-2.0-or-later
// Loading photos as they are shown and saving them without losing the file or its metadata.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>

#include "enhancer/imagefile.h"
#include "enhancer/imagerecord.h"
#include "platform/displaytransform.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "tests/enhancer/corefixture.h"
#include "tests/support/claimedpng.h"
#include "tests/support/testenv.h"

namespace
{

const QColor Red(255, 0, 0), Green(0, 255, 0), Blue(0, 0, 255), White(255, 255, 255);

struct ExtensionCase {
    const char* path;
    const char* mimeType;
};

TEST(ImageFileTable, ExtensionsMapCaseInsensitivelyToTheirTypes)
{
    const ExtensionCase cases[] = {
        {"/p/a.dib", "image/bmp"},      {"/p/a.BMP", "image/bmp"},   {"/p/a.Jpg", "image/jpeg"},
        {"/p/a.jpe", "image/jpeg"},     {"/p/a.JPEG", "image/jpeg"}, {"/p/a.png", "image/png"},
        {"/p/a.gif", "image/gif"},      {"/p/a.emf", "image/emf"},   {"/p/a.wmf", "image/wmf"},
        {"/p/a.ico", "image/ico"},      {"/p/a.tif", "image/tiff"},  {"/p/a.TIFF", "image/tiff"},
        {"/p/a.tar.jpg", "image/jpeg"}, {"/p/a.jpg.xyz", ""},        {"/p/picture", ""},
        {"/my.dir/picture", ""},        {"/p/a.jpgx", ""},           {"/p/a.", ""},
    };
    for (const ExtensionCase& c : cases)
        EXPECT_EQ(EncoderMimeType(QString::fromLatin1(c.path)), QLatin1String(c.mimeType))
            << c.path;
}

TEST(ImageFileTable, EncoderOnlyWhereTheImagingLayerWrites)
{
    const QStringList encoders = imaging::Image::encoders();
    ASSERT_TRUE(encoders.contains(QStringLiteral("image/jpeg")));
    for (const char* path : {"a.jpg", "a.png", "a.bmp", "a.dib", "a.tif", "a.gif"})
        EXPECT_EQ(HasEncoder(QLatin1String(path)),
                  encoders.contains(EncoderMimeType(QLatin1String(path))))
            << path;
    for (const char* path : {"a.emf", "a.wmf", "a.ico", "a.xyz", "picture", "a.webp"})
        EXPECT_FALSE(HasEncoder(QLatin1String(path))) << path;
}

class ImageFileTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ImageRecord image;
    QString reason;

    bool load(const QString& path) { return LoadImageFile(path, image, &reason); }
    void expectQuarters(const std::vector<QColor>& expected, const char* what)
    {
        const std::vector<QColor> got = quarterColours(image);
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(closeTo(got[i], expected[i]))
                << what << " quarter " << i << ": " << qPrintable(got[i].name()) << " instead of "
                << qPrintable(expected[i].name());
    }
};

TEST_F(ImageFileTest, LoadsTheBottomUpRecordWithItsHeader)
{
    const QString path = writePicture(folder.file("q.png"), quarterPicture(), "image/png");
    ASSERT_TRUE(load(path)) << qPrintable(reason);
    EXPECT_EQ(image.header.biSize, 40u);
    EXPECT_EQ(image.header.biWidth, 32);
    EXPECT_EQ(image.header.biHeight, 16);
    EXPECT_EQ(image.header.biBitCount, 24);
    EXPECT_EQ(image.header.biCompression, 0u);
    EXPECT_EQ(image.byteSize, 96u * 16u);
    EXPECT_FALSE(image.IsPacked());
    EXPECT_EQ(image.path, path.toStdString());
    EXPECT_EQ(image.fileName, "q.png");
    // The last row of the buffer is the picture's top row: red on the left.
    const uint8_t* top = image.Pixels() + 15 * 96;
    EXPECT_EQ((std::array<uint8_t, 3>{top[0], top[1], top[2]}),
              (std::array<uint8_t, 3>{0, 0, 255}));
    expectQuarters({Red, Green, Blue, White}, "upright");
}

struct TurnCase {
    int photoOrientation; // 0: no tag in the photo
    int sideOrientation;  // 0: no side file
    int width, height;
    std::vector<QColor> quarters;
};

TEST_F(ImageFileTest, OrientationFromThePhotoOrItsSideFile)
{
    const TurnCase cases[] = {
        {0, 6, 16, 32, {Blue, Red, White, Green}}, // side file: a quarter turn clockwise
        {0, 2, 32, 16, {Red, Green, Blue, White}}, // mirrored: ignored
        {0, 5, 32, 16, {Red, Green, Blue, White}}, // mirrored and turned: ignored
        {6, 0, 16, 32, {Blue, Red, White, Green}}, // the photo's own tag
        {3, 0, 32, 16, {White, Blue, Green, Red}}, // a real half turn, not a flip
        {8, 0, 16, 32, {Green, White, Red, Blue}}, // three quarters
        {0, 9, 32, 16, {Red, Green, Blue, White}}, // no such value
        {1, 8, 16, 32, {Green, White, Red, Blue}}, // the side file, once there, decides
    };
    int n = 0;
    for (const TurnCase& c : cases) {
        const QString path = folder.file(QStringLiteral("a%1.jpg").arg(n++));
        ASSERT_FALSE(
            writePicture(path, quarterPicture(), "image/jpeg", c.photoOrientation).isEmpty());
        if (c.sideOrientation != 0) {
            ASSERT_FALSE(writeSideFile(path, c.sideOrientation).isEmpty());
        }
        ASSERT_TRUE(load(path)) << qPrintable(reason);
        EXPECT_EQ(image.widthPixels, c.width) << c.photoOrientation << "/" << c.sideOrientation;
        EXPECT_EQ(image.heightPixels, c.height) << c.photoOrientation << "/" << c.sideOrientation;
        expectQuarters(c.quarters, qPrintable(QStringLiteral("orientation %1/%2")
                                                  .arg(c.photoOrientation)
                                                  .arg(c.sideOrientation)));
    }
}

struct LevelsCase {
    std::vector<double> levels;
    QColor expected; // of a grey 120 picture
};

TEST_F(ImageFileTest, LevelsFromTheSideFileOnlyWhenTheyAreLevels)
{
    const LevelsCase cases[] = {
        {{20, 220, 20, 220, 20, 220}, QColor(128, 128, 128)},  // (120 - 20) x 255 / 200
        {{0, 255, 0, 255, 40, 140}, QColor(120, 120, 204)},    // blue alone stretched
        {{10, 20, 10, 20, 10, 20}, QColor(120, 120, 120)},     // sum 90: not levels
        {{0, 25, 0, 25, 0, 50}, QColor(120, 120, 120)},        // sum exactly 100
        {{0, 255, 128, 255, 128, 255}, QColor(120, 120, 120)}, // a camera's YCbCr reference
    };
    QImage grey(8, 8, QImage::Format_ARGB32);
    grey.fill(qRgb(120, 120, 120));
    int n = 0;
    for (const LevelsCase& c : cases) {
        const QString path =
            writePicture(folder.file(QStringLiteral("g%1.png").arg(n++)), grey, "image/png");
        ASSERT_FALSE(writeSideFile(path, 0, c.levels).isEmpty());
        ASSERT_TRUE(load(path)) << qPrintable(reason);
        EXPECT_TRUE(closeTo(shownColour(image, 4, 4), c.expected, 1))
            << n << ": " << qPrintable(shownColour(image, 4, 4).name());
    }
}

TEST_F(ImageFileTest, ADamagedSideFileLeavesThePhotoToItsOwnTags)
{
    const QString path = writePicture(folder.file("d.jpg"), quarterPicture(), "image/jpeg", 6);
    const QString side = writeSideFile(path, 8);
    QFile damaged(side);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    const QByteArray head = damaged.read(30);
    ASSERT_TRUE(damaged.resize(0) && damaged.write(head) == 30); // cut short in its tags
    damaged.close();
    ASSERT_TRUE(load(path)) << qPrintable(reason);
    EXPECT_EQ(image.widthPixels, 16);
    expectQuarters({Blue, Red, White, Green}, "the photo's own turn");
    ASSERT_TRUE(QFile::resize(side, 0));
    ASSERT_TRUE(load(path)) << qPrintable(reason);
    expectQuarters({Blue, Red, White, Green}, "an empty side file");
}

TEST_F(ImageFileTest, ADecodableFileOfAnotherExtensionOpensWithoutEncoder)
{
    const QString png = writePicture(folder.file("p.png"), quarterPicture(), "image/png");
    const QString xyz = folder.file("photo.xyz");
    ASSERT_TRUE(QFile::rename(png, xyz));
    ASSERT_TRUE(load(xyz)) << qPrintable(reason);
    EXPECT_EQ(image.widthPixels, 32);
    EXPECT_FALSE(HasEncoder(xyz));
}

TEST_F(ImageFileTest, BadFilesFailWithAReasonAndNoImage)
{
    const QString good = writePicture(folder.file("good.png"), quarterPicture(), "image/png");
    const QByteArray png = [&] {
        QFile f(good);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"empty.jpg", QByteArray(), "empty"},
        {"text.jpg", QByteArray("this is not a picture\n"), "not an image"},
        {"half.png", png.left(40), ""},
        {"huge.png", testpng::claiming(12000, 9000), "100 megapixels"},
        {"wide.png", testpng::claiming(100001, 1000), "100 megapixels"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(load(good));
        const QString path = folder.write(QLatin1String(c.name), c.bytes);
        reason.clear();
        EXPECT_FALSE(load(path)) << c.name;
        EXPECT_FALSE(image.HasPixels()) << c.name;
        EXPECT_FALSE(reason.isEmpty()) << c.name;
        EXPECT_TRUE(reason.contains(QLatin1String(c.says))) << c.name << ": " << qPrintable(reason);
    }
    EXPECT_FALSE(load(folder.file("missing.jpg")));
    EXPECT_TRUE(reason.contains(QLatin1String("no such file"))) << qPrintable(reason);
}

// Every type of the table the imaging layer writes: saved and read back.
TEST_F(ImageFileTest, RoundTripsThroughEveryEncoderOfTheTable)
{
    const BITMAPINFOHEADER header = MakeDibHeader(5, 3); // 15 bytes a row, padded to 16
    const PackedPixels pixels = patternPixels(5, 3, 40);
    int written = 0;
    for (const char* extension : {".dib", ".bmp", ".jpg", ".jpe", ".jpeg", ".png", ".gif", ".emf",
                                  ".wmf", ".ico", ".tif", ".tiff"}) {
        const QString path = folder.file(QStringLiteral("round") + QLatin1String(extension));
        if (!HasEncoder(path)) {
            EXPECT_FALSE(SaveImageFile(path, header, pixels.get())) << extension;
            EXPECT_FALSE(QFileInfo::exists(path)) << extension;
            continue;
        }
        ++written;
        ASSERT_TRUE(SaveImageFile(path, header, pixels.get())) << extension;
        ImageRecord back;
        ASSERT_TRUE(LoadImageFile(path, back, &reason)) << extension << qPrintable(reason);
        ASSERT_EQ(back.widthPixels, 5);
        ASSERT_EQ(back.heightPixels, 3);
        const QString mime = EncoderMimeType(path);
        const bool lossless = mime == "image/bmp" || mime == "image/png" || mime == "image/tiff";
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 15; ++x) {
                const int want = pixels.get()[y * 16 + x], got = back.Pixels()[y * 16 + x];
                if (lossless)
                    ASSERT_EQ(got, want) << extension << " byte " << x << " row " << y;
                else
                    ASSERT_NEAR(got, want, 24) << extension << " byte " << x << " row " << y;
            }
    }
    EXPECT_GE(written, 8); // bmp, jpeg and png and tiff under all their names at least
    EXPECT_EQ(entriesOf(folder.path()).filter(QLatin1String(".lumivex")).size(), 0);
}

// A new file renamed over the old one, never the old one written over; a failed save leaves
// the old one as it was, and nothing else in the folder.
TEST_F(ImageFileTest, SavingReplacesTheFileWholeOrNotAtAll)
{
    const QString path = folder.file("photo.png");
    const BITMAPINFOHEADER header = MakeDibHeader(4, 4);
    ASSERT_TRUE(SaveImageFile(path, header, filledPixels(4, 4, 10).get()));
    struct stat before {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    ASSERT_TRUE(SaveImageFile(path, header, filledPixels(4, 4, 200).get()));
    struct stat after {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);

    BITMAPINFOHEADER bad = header;
    bad.biBitCount = 32;
    EXPECT_FALSE(SaveImageFile(path, bad, filledPixels(4, 4, 99).get(), {}, &reason));
    EXPECT_FALSE(SaveImageFile(path, header, nullptr));
    EXPECT_FALSE(SaveImageFile(folder.file("no/such/x.png"), header, filledPixels(4, 4, 1).get()));
    ASSERT_TRUE(load(path));
    EXPECT_EQ(image.Pixels()[0], 200);
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"photo.png"});
}

constexpr uint32_t TagPixelXDimension = 0xA002, TagPixelYDimension = 0xA003;

// The EXIF items of a file but those an edit changes: the turn, the levels, the size.
std::vector<imaging::PropertyItem> itemsBesideTheTurn(const QString& path)
{
    std::vector<imaging::PropertyItem> items = imaging::metadata::read(path);
    std::erase_if(items, [](const imaging::PropertyItem& item) {
        return item.id == imaging::TagOrientation || item.id == imaging::TagReferenceBlackWhite ||
               item.id == TagPixelXDimension || item.id == TagPixelYDimension;
    });
    return items;
}

std::unique_ptr<Exiv2::Image> openMetadata(const QString& path)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return std::unique_ptr<Exiv2::Image>(image.release());
}

TEST_F(ImageFileTest, ACameraPhotoKeepsItsMetadataWhenSaved)
{
    for (const char* name :
         {"photos/exs-Canon_40D.jpg", "photos/exs-landscape_6.jpg", "photos/mdx-withIptc.jpg",
          "photos/fr-IPTC-PhotometadataRef-Std2021.1.jpg"}) {
        const QString original = sharedTestData(QLatin1String(name));
        ASSERT_TRUE(load(original)) << name << qPrintable(reason);
        const QString saved = folder.file(QFileInfo(original).fileName());
        ASSERT_TRUE(SaveImageFile(saved, image.header, image.Pixels(), original, &reason))
            << name << qPrintable(reason);
        EXPECT_EQ(itemsBesideTheTurn(saved), itemsBesideTheTurn(original)) << name;
        const auto before = openMetadata(original);
        const auto after = openMetadata(saved);
        EXPECT_EQ(after->iptcData().count(), before->iptcData().count()) << name;
        EXPECT_EQ(after->xmpData().count() > 0, before->xmpData().count() > 0) << name;
        const auto width = after->exifData().findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
        if (width != after->exifData().end()) {
            EXPECT_EQ(width->toLong(), image.widthPixels) << name;
        }
        // Upright now: no viewer may turn the saved pixels again.
        const auto turn = after->exifData().findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (turn != after->exifData().end()) {
            EXPECT_EQ(turn->toLong(), 1) << name;
        }
        const auto maker = after->exifData().findKey(Exiv2::ExifKey("Exif.Photo.MakerNote"));
        const auto wasMaker = before->exifData().findKey(Exiv2::ExifKey("Exif.Photo.MakerNote"));
        EXPECT_EQ(maker != after->exifData().end(), wasMaker != before->exifData().end()) << name;
        // Loaded again, the saved photo shows as it was shown before saving.
        ImageRecord back;
        ASSERT_TRUE(LoadImageFile(saved, back, &reason));
        EXPECT_EQ(back.widthPixels, image.widthPixels) << name;
        EXPECT_EQ(back.heightPixels, image.heightPixels) << name;
    }
}

TEST_F(ImageFileTest, ATurnedPhotoIsSavedUprightWithoutItsLevels)
{
    const QString path = writePicture(folder.file("t.jpg"), quarterPicture(), "image/jpeg", 6,
                                      {20, 220, 20, 220, 20, 220});
    ASSERT_TRUE(load(path)) << qPrintable(reason);
    ASSERT_EQ(image.widthPixels, 16);
    ASSERT_TRUE(SaveImageFile(path, image.header, image.Pixels(), path, &reason))
        << qPrintable(reason);
    const auto saved = openMetadata(path);
    const auto& exif = saved->exifData();
    ASSERT_NE(exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")), exif.end());
    EXPECT_EQ(exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"))->toLong(), 1);
    EXPECT_EQ(exif.findKey(Exiv2::ExifKey("Exif.Image.ReferenceBlackWhite")), exif.end());
    const std::vector<QColor> shown = quarterColours(image);
    ASSERT_TRUE(load(path));
    EXPECT_EQ(image.widthPixels, 16);
    const std::vector<QColor> again = quarterColours(image);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(closeTo(again[i], shown[i])) << i;
}

TEST_F(ImageFileTest, ASideFileStopsTurningTheSavedPhoto)
{
    const QString path = writePicture(folder.file("s.png"), quarterPicture(), "image/png");
    ASSERT_FALSE(writeSideFile(path, 6, {20, 220, 20, 220, 20, 220}).isEmpty());
    ASSERT_TRUE(load(path));
    ASSERT_EQ(image.widthPixels, 16);
    const std::vector<QColor> shown = quarterColours(image);
    ASSERT_TRUE(SaveImageFile(path, image.header, image.Pixels(), path, &reason))
        << qPrintable(reason);
    const imaging::DisplayTransform side = imaging::readDisplayTransform(path);
    EXPECT_EQ(side.rotation, 0);
    EXPECT_FALSE(side.hasLevels());
    ASSERT_TRUE(load(path));
    EXPECT_EQ(image.widthPixels, 16);
    const std::vector<QColor> again = quarterColours(image);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(again[i], shown[i]) << i;
}

} // namespace
