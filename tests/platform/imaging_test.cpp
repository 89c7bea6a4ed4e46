// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include <QFile>

#include "platform/displaytransform.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "tests/support/bigphoto.h"
#include "platform/settings.h"
#include "tests/support/claimedpng.h"
#include "tests/support/jpegscan.h"
#include "tests/support/testenv.h"

using namespace imaging;

namespace {

PropertyItem shortItem(uint32_t id, uint16_t value)
{
    return {id, PropertyShort, QByteArray(reinterpret_cast<const char*>(&value), 2)};
}

PropertyItem levelsItem(const uint32_t points[6])
{
    QByteArray bytes;
    for (int i = 0; i < 6; ++i) {
        const uint32_t pair[2] = {points[i], 1};
        bytes.append(reinterpret_cast<const char*>(pair), 8);
    }
    return {TagReferenceBlackWhite, PropertyRational, bytes};
}

uint16_t shortValue(const Image& image, uint32_t id)
{
    const auto item = image.property(id);
    uint16_t value = 0;
    if (item && item->value.size() >= 2)
        std::memcpy(&value, item->value.constData(), 2);
    return value;
}

// A 2 x 1 picture: red on the left, blue on the right.
QImage redBlue()
{
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    return picture;
}

} // namespace

TEST(Imaging, OpensHeadersFormatsAndTags)
{
    struct Case {
        const char* file;
        RawFormat format;
    } cases[] = {
        {"photos/exs-canon-ixus.jpg", RawFormat::Exif},
        {"photos/exs-Canon_40D.jpg", RawFormat::Jpeg},
        {"photos/ex2-Reagan.tiff", RawFormat::Tiff},
        {"photos/mdi-photoshop-8x12-rgb24.png", RawFormat::Png},
        {"photos/mdi-mspaint-10x10.gif", RawFormat::Gif},
        {"photos/mdi-24bpp-10x10.bmp", RawFormat::Bmp},
    };
    for (const Case& c : cases) {
        auto image = Image::open(sharedTestData(c.file));
        ASSERT_NE(image, nullptr) << c.file;
        EXPECT_EQ(image->rawFormat(), c.format) << c.file;
        EXPECT_GT(image->width(), 0);
    }
    auto canon = Image::open(sharedTestData("photos/exs-canon-ixus.jpg"));
    const auto make = canon->property(271);
    ASSERT_TRUE(make.has_value());
    EXPECT_EQ(make->type, PropertyAscii);
    EXPECT_EQ(make->value, QByteArray("Canon", 6)); // the terminating zero is part of it
    auto turned = Image::open(sharedTestData("photos/exs-landscape_6.jpg"));
    EXPECT_EQ(shortValue(*turned, TagOrientation), 6);

    TestFolder folder;
    EXPECT_EQ(Image::open(folder.file("missing.jpg")), nullptr);
    EXPECT_EQ(Image::open(folder.write("text.jpg", "not a picture")), nullptr);
    EXPECT_EQ(Image::open(folder.path()), nullptr);
}

TEST(Imaging, ChangingATagNeverReencodesThePhoto)
{
    TestFolder folder;
    const QString copy = folder.write("photo.jpg", wholeFile(sharedTestData("photos/exs-canon-ixus.jpg")));
    const QByteArray before = wholeFile(copy);
    {
        auto image = Image::open(copy);
        ASSERT_NE(image, nullptr);
        image->setProperty(shortItem(TagOrientation, 8));
        ASSERT_TRUE(image->save(copy, "image/jpeg"));
    }
    const QByteArray after = wholeFile(copy);
    EXPECT_NE(before, after);
    EXPECT_EQ(jpegScanData(before), jpegScanData(after));
    auto reopened = Image::open(copy);
    EXPECT_EQ(shortValue(*reopened, TagOrientation), 8);
    EXPECT_EQ(reopened->property(271)->value, QByteArray("Canon", 6));
    EXPECT_EQ(folder.path(), QFileInfo(copy).absolutePath());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no leftovers
}

TEST(Imaging, TagsRoundTripThroughJpegAndTiff)
{
    TestFolder folder;
    for (const char* source : {"photos/exs-Canon_40D.jpg", "photos/ex2-Reagan.tiff"}) {
        const bool tiff = QString(source).endsWith(".tiff");
        const QString target = folder.file(tiff ? "out.tif" : "out.jpg");
        auto image = Image::open(sharedTestData(source));
        ASSERT_NE(image, nullptr);
        const uint32_t points[6] = {10, 240, 12, 250, 8, 230};
        image->setProperty(shortItem(TagOrientation, 3));
        image->setProperty(levelsItem(points));
        image->removeProperty(271);
        ASSERT_TRUE(image->save(target, tiff ? "image/tiff" : "image/jpeg")) << source;
        auto reopened = Image::open(target);
        ASSERT_NE(reopened, nullptr);
        EXPECT_EQ(shortValue(*reopened, TagOrientation), 3) << source;
        // In a TIFF file ReferenceBlackWhite describes how its pixels are stored, so the
        // file keeps its own; levels for such photos live in their side files.
        const auto levels = reopened->property(TagReferenceBlackWhite);
        if (!tiff) {
            ASSERT_TRUE(levels.has_value()) << source;
            EXPECT_EQ(levels->value, levelsItem(points).value);
        }
        EXPECT_FALSE(reopened->property(271).has_value()) << source;
        EXPECT_EQ(reopened->width(), image->width());
    }
}

TEST(Imaging, SideFilesAreOnePixelJpegsWithTheTags)
{
    TestFolder folder;
    const QString photo = folder.write("scan.png", wholeFile(sharedTestData("photos/mdi-photoshop-8x12-rgb24.png")));
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::transparent);
    auto side = Image::fromQImage(pixel);
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->rawFormat(), RawFormat::MemoryBmp);
    const uint32_t points[6] = {20, 200, 20, 200, 20, 200};
    side->setProperty(shortItem(TagOrientation, 6));
    side->setProperty(levelsItem(points));
    ASSERT_TRUE(side->save(sideFilePath(photo), "image/jpeg"));

    auto reopened = Image::open(sideFilePath(photo));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(Image::mimeType(reopened->rawFormat()), "image/jpeg");
    EXPECT_EQ(reopened->width(), 1);
    EXPECT_EQ(shortValue(*reopened, TagOrientation), 6);

    const DisplayTransform transform = readDisplayTransform(photo);
    EXPECT_EQ(transform.rotation, 1);
    EXPECT_TRUE(transform.hasLevels());
    EXPECT_NEAR(transform.matrix[0][0], 255.0 / 180, 1e-4);
    EXPECT_NEAR(transform.matrix[4][2], -(255.0 / 180) * 20 / 255, 1e-4);
}

TEST(Imaging, TransformReadsThePhotoWhenThereIsNoSideFile)
{
    EXPECT_EQ(readDisplayTransform(sharedTestData("photos/exs-landscape_8.jpg")).rotation, 3);
    EXPECT_EQ(readDisplayTransform(sharedTestData("photos/exs-portrait_3.jpg")).rotation, 2);
    // Orientation 5 is a mirror image lying on its side: turned right, then flipped.
    const DisplayTransform mirrored = readDisplayTransform(sharedTestData("photos/exs-portrait_5.jpg"));
    EXPECT_EQ(mirrored.rotation, 1);
    EXPECT_TRUE(mirrored.mirrored);
    EXPECT_EQ(mirrored.rotateFlip(), RotateFlip::Rotate90FlipX);
    EXPECT_FALSE(readDisplayTransform(sharedTestData("photos/exs-landscape_8.jpg")).mirrored);
    EXPECT_EQ(readDisplayTransform("/nonexistent.jpg").rotation, 0);
    // Cameras' YCbCr reference values are not levels.
    for (const char* camera : {"photos/mdi-Nikon_D1X.jpg", "photos/mdi-Konica_Q-M100_1.jpg"})
        EXPECT_FALSE(readDisplayTransform(sharedTestData(camera)).hasLevels()) << camera;
}

TEST(Imaging, SmallLevelSumsAreIgnored)
{
    auto image = Image::fromQImage(redBlue());
    const uint32_t small[6] = {0, 20, 0, 20, 0, 20};
    image->setProperty(levelsItem(small));
    EXPECT_FALSE(transformOf(*image).hasLevels());
    const uint32_t reversed[6] = {200, 100, 0, 255, 0, 255}; // white below black: left alone
    image->setProperty(levelsItem(reversed));
    const DisplayTransform transform = transformOf(*image);
    EXPECT_FLOAT_EQ(transform.matrix[0][0], 1.0f);
    EXPECT_FLOAT_EQ(transform.matrix[1][1], 1.0f);
}

TEST(Imaging, DrawScalesAppliesMatrixAndTurns)
{
    auto image = Image::fromQImage(redBlue());
    const QImage turned = image->draw(QSize(2, 1), nullptr, RotateFlip::Rotate90);
    ASSERT_EQ(turned.size(), QSize(1, 2));
    EXPECT_EQ(qRed(turned.pixel(0, 0)), 255); // the left pixel is on top after a clockwise turn
    EXPECT_EQ(qBlue(turned.pixel(0, 1)), 255);
    const QImage flipped = image->draw(QSize(2, 1), nullptr, RotateFlip::FlipX);
    EXPECT_EQ(qBlue(flipped.pixel(0, 0)), 255);
    // Turned first, then flipped: the picture's diagonal mirror, red still on top.
    const QImage transposed = image->draw(QSize(2, 1), nullptr, RotateFlip::Rotate90FlipX);
    ASSERT_EQ(transposed.size(), QSize(1, 2));
    EXPECT_EQ(qRed(transposed.pixel(0, 0)), 255);
    const QImage transversed = image->draw(QSize(2, 1), nullptr, RotateFlip::Rotate270FlipX);
    EXPECT_EQ(qBlue(transversed.pixel(0, 0)), 255);

    ColorMatrix halfRed = identityMatrix();
    halfRed[0][0] = 0.5f;
    halfRed[4][1] = 0.2f;
    const QImage tinted = image->draw(QSize(2, 1), &halfRed);
    EXPECT_NEAR(qRed(tinted.pixel(0, 0)), 128, 1);
    EXPECT_NEAR(qGreen(tinted.pixel(0, 0)), 51, 1);
    EXPECT_EQ(image->draw(QSize(8, 4)).size(), QSize(8, 4));
}

TEST(Imaging, LargePhotosShrinkWhileDecoding)
{
    auto photo = Image::open(bigTestPhoto());
    ASSERT_NE(photo, nullptr);
    const QImage small = photo->pixels(QSize(320, 320));
    ASSERT_FALSE(small.isNull());
    EXPECT_LE(std::max(small.width(), small.height()), 320);
    EXPECT_NEAR(double(small.width()) / small.height(), double(photo->width()) / photo->height(), 0.02);
}

// A 390 KB file may claim 200,000 x 200,000 pixels: its header still opens (size and tags are
// harmless), but nothing decodes it, whatever size is asked for.
TEST(Imaging, PhotosOverThePixelLimitAreNeverDecoded)
{
    SettingsSandbox settings;
    TestFolder folder;
    const QString huge = folder.write("huge.png", testpng::claiming(200000, 200000));
    const auto photo = Image::open(huge);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->width(), 200000);
    EXPECT_TRUE(photo->pixels().isNull());
    EXPECT_TRUE(photo->pixels(QSize(100, 100)).isNull());
    EXPECT_TRUE(photo->draw(QSize(100, 100)).isNull());
    EXPECT_EQ(pixelLimitFault(huge, 200000, 200000),
              huge + " is 200000 x 200000 pixels, more than the 250 megapixels a photo may have");
    EXPECT_EQ(pixelLimitFault(huge, 25000, 10000), QString());
    EXPECT_NE(pixelLimitFault(huge, 25000, 10001), QString());

    // The limit is a setting; a value that is no positive number keeps the default.
    const auto modest = Image::open(folder.write("modest.png", testpng::claiming(1500, 1000)));
    ASSERT_NE(modest, nullptr);
    EXPECT_EQ(modest->pixels().size(), QSize(1500, 1000));
    Settings().writeInt("Settings", "MaxMegapixels", 1);
    EXPECT_EQ(maxPixels(), 1000000);
    EXPECT_TRUE(modest->pixels(QSize(10, 10)).isNull());
    Settings().writeInt("Settings", "MaxMegapixels", 0);
    EXPECT_EQ(maxPixels(), 250000000);
}

TEST(Imaging, EveryEncoderWritesAPictureThatOpensAgain)
{
    const QStringList encoders = Image::encoders();
    for (const char* mime : {"image/jpeg", "image/png", "image/gif", "image/bmp", "image/tiff", "image/webp"})
        EXPECT_TRUE(encoders.contains(mime)) << mime;
    TestFolder folder;
    auto source = Image::open(sharedTestData("photos/exs-Canon_40D.jpg"));
    ASSERT_NE(source, nullptr);
    int n = 0;
    for (const QString& mime : encoders) {
        const QString target = folder.file(QStringLiteral("out%1").arg(n++));
        ASSERT_TRUE(source->save(target, mime)) << qPrintable(mime);
        auto reopened = Image::open(target);
        ASSERT_NE(reopened, nullptr) << qPrintable(mime);
        EXPECT_EQ(Image::mimeType(reopened->rawFormat()), mime);
        EXPECT_EQ(reopened->width(), source->width());
    }
    EXPECT_FALSE(source->save(folder.file("x.jpg"), "image/x-unknown"));
    EXPECT_FALSE(source->save(folder.file("no/such/folder/x.jpg"), "image/jpeg"));
    EXPECT_FALSE(QFile::exists(folder.file("x.jpg")));
}

TEST(Imaging, APhotoSavedOverIsReadAfresh)
{
    TestFolder folder;
    const QString path = folder.file("photo.jpg");
    const struct {
        QSize size;
        QRgb colour;
    } versions[] = {{QSize(16, 8), qRgb(250, 0, 0)}, {QSize(32, 16), qRgb(0, 0, 250)},
                    {QSize(24, 12), qRgb(0, 250, 0)}};
    for (const auto& version : versions) {
        QImage picture(version.size, QImage::Format_ARGB32);
        picture.fill(version.colour);
        ASSERT_TRUE(Image::fromQImage(picture)->save(path, "image/jpeg"));
        auto image = Image::open(path);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width(), version.size.width());
        for (QSize box : {QSize(8, 4), version.size}) {
            const QImage shown = image->draw(box);
            ASSERT_FALSE(shown.isNull());
            EXPECT_NEAR(qRed(shown.pixel(1, 1)), qRed(version.colour), 8);
            EXPECT_NEAR(qBlue(shown.pixel(1, 1)), qBlue(version.colour), 8);
        }
    }
}

// Pictures are written under a scratch name only the owner may read, then renamed: the
// result is the user's like any file, and a picture saved over keeps the file's permissions.
TEST(Imaging, SavedPicturesGetTheUsualPermissions)
{
    TestFolder folder;
    const auto mode = [](const QString& file) {
        struct stat status {
        };
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 0777
                                                                         : 0u;
    };
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    const auto image = Image::fromQImage(picture);
    const mode_t previous = ::umask(027);
    const bool made = image->save(folder.file("new.jpg"), "image/jpeg");
    ::umask(previous);
    ASSERT_TRUE(made);
    EXPECT_EQ(mode(folder.file("new.jpg")), 0640u);
    const QString shared = folder.write("shared.png", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0664), 0);
    ASSERT_TRUE(image->save(shared, "image/png"));
    EXPECT_EQ(mode(shared), 0664u);
}

// The XMP toolkit under the metadata reader is started by the program's entry point (here the
// tests' own) before any thread exists; readers on several threads then agree with one.
TEST(ImagingMetadata, StartedBeforeAnyThreadAndSafeOnMany)
{
    EXPECT_TRUE(imaging::metadata::started());
    const QStringList photos{"fr-IPTC-PhotometadataRef-Std2021.1.jpg", "et-ExifTool.tif",
                             "exs-Canon_40D.jpg", "et-PhotoMechanic.jpg"};
    std::vector<size_t> alone;
    for (const QString& name : photos)
        alone.push_back(imaging::metadata::read(sharedTestData("photos/" + name)).size());
    std::vector<std::vector<size_t>> counts(8);
    std::vector<std::thread> readers;
    for (auto& seen : counts)
        readers.emplace_back([&photos, &seen] {
            for (const QString& name : photos)
                seen.push_back(imaging::metadata::read(sharedTestData("photos/" + name)).size());
        });
    for (std::thread& reader : readers)
        reader.join();
    for (const auto& seen : counts)
        EXPECT_EQ(seen, alone);
}
