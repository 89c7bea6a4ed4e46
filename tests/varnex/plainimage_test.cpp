// SPDX-License-Identifier: GPL-2.0-or-later
// Opening, resizing and saving through the plain image interface, checked by decoding the
// files written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/resource.h>

#include <QDir>

#include <exiv2/exiv2.hpp>

#include "platform/displaytransform.h"
#include "tests/support/bigphoto.h"
#include "tests/varnex/pictures.h"

namespace {

const Rgb R{255, 0, 0};

std::string photo(const char* name)
{
    return sharedTestData(QStringLiteral("photos/") + QLatin1String(name)).toStdString();
}

Exiv2::ExifData exifOf(const std::string& path)
{
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    return image->exifData();
}

bool hasKey(const Exiv2::ExifData& exif, const char* key)
{
    return exif.findKey(Exiv2::ExifKey(key)) != exif.end();
}

// Detail that JPEG cannot compress away.
vips::VImage noise(int width, int height)
{
    auto band = [&] {
        return vips::VImage::gaussnoise(
                   width, height, vips::VImage::option()->set("mean", 128.0)->set("sigma", 50.0))
            .cast(VIPS_FORMAT_UCHAR);
    };
    return band()
        .bandjoin({band(), band()})
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

// Mean strength of fine detail: what a blur takes away.
double detail(const vips::VImage& picture)
{
    const vips::VImage grey = picture.colourspace(VIPS_INTERPRETATION_B_W).cast(VIPS_FORMAT_FLOAT);
    return (grey - grey.gaussblur(1.0)).abs().avg();
}

int gpsTags(const Exiv2::ExifData& exif)
{
    int count = 0;
    for (const auto& item : exif)
        count += item.groupName() == "GPSInfo" ? 1 : 0;
    return count;
}

} // namespace

TEST(PlainImage, EveryOperationFailsWithoutAPicture)
{
    Plain image = newPlain();
    const std::vector<std::function<bool(IPlainImage&)>> operations{
        [](IPlainImage& i) { return i.ResizeKeepAspect(10, 10, 1); },
        [](IPlainImage& i) { return i.Resize(10, 10); },
        [](IPlainImage& i) { return i.Rotate(30); },
        [](IPlainImage& i) { return i.FlipVertical(); },
        [](IPlainImage& i) { return i.Rotate90(); },
        [](IPlainImage& i) { return i.Border(3, Red, 0); },
        [](IPlainImage& i) { return i.ResizeCanvas(5, 5, 4, Red); },
        [](IPlainImage& i) { return i.SetBgImage("/nonexistent.png"); },
        [](IPlainImage& i) { return i.HSBCG(10, 0, 0, 0, 100); },
        [](IPlainImage& i) { return i.TextOut("x", "", 0, 0, 10, 0, Red); },
        [](IPlainImage& i) { return i.Gray(); },
        [](IPlainImage& i) { return i.Colorize(Black, Red, White); },
        [](IPlainImage& i) { return i.Save(0, "/tmp/never-written.png"); },
        [](IPlainImage& i) { return i.Shine(50); },
        [](IPlainImage& i) { return i.Blur(0); },
        [](IPlainImage& i) { return i.AutoLevels(); },
        [](IPlainImage& i) { return i.DropShadow(5, 5, 50, Black); },
        [](IPlainImage& i) { return i.FlipHorizontal(); },
        [](IPlainImage& i) { return i.Rotate180(); },
        [](IPlainImage& i) { return i.Rotate270(); },
        [](IPlainImage& i) { return i.RoundedBorder(3, Red, 2); },
        [](IPlainImage& i) { return i.Border(0, Red, 0); },
        [](IPlainImage& i) { return i.AddImage("/nonexistent.png", 0, 0, 0, 0, 0); },
        [](IPlainImage& i) { return i.AddWatermark("/nonexistent.png", 4, 50); },
        [](IPlainImage& i) { return i.AddTextWatermark("x", "", 4, 10, 50, Red); },
        [](IPlainImage& i) { return i.ImageBorder("/nonexistent.png", 3, 3); },
        [](IPlainImage& i) { return i.Sharpen(20); },
        [](IPlainImage& i) { return i.Blur(20); },
    };
    for (size_t i = 0; i < operations.size(); ++i)
        EXPECT_FALSE(operations[i](*image)) << "operation " << i;
    EXPECT_EQ(image->GetWidth(), 0);
    EXPECT_EQ(image->GetHeight(), 0);
    EXPECT_TRUE(image->SetBgColor(Red)); // a setting, kept for later
    EXPECT_EQ(image->Reserved1(), 0);
    EXPECT_EQ(image->Reserved47(), 0);
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.png"));
}

TEST(PlainImage, OpenFailsOnMissingOrCorruptFiles)
{
    TestFolder folder;
    const QString corrupt = folder.write(QStringLiteral("broken.jpg"), "not a picture at all");
    const QString truncated = folder.write(QStringLiteral("cut.png"), "\x89PNG\r\n\x1a\n");
    for (const QString& path : {folder.file(QStringLiteral("missing.jpg")), corrupt, truncated}) {
        Plain image = newPlain();
        EXPECT_FALSE(image->Open(0, 0, path.toUtf8().constData())) << path.toStdString();
        EXPECT_FALSE(image->OpenSized(10, 10, path.toUtf8().constData()));
        EXPECT_EQ(image->GetWidth(), 0);
    }
    EXPECT_FALSE(newPlain()->Open(0, 0, ""));
}

TEST(PlainImage, CreatedColourIsNotSwapped)
{
    TestFolder folder;
    Plain image = created(8, 6, Red);
    ASSERT_TRUE(image);
    const vips::VImage red = roundTrip(*image, folder);
    EXPECT_EQ(red.width(), 8);
    EXPECT_EQ(red.height(), 6);
    EXPECT_EQ(at(red, 3, 3), (Rgb{255, 0, 0}));
    ASSERT_TRUE(image->CreateImage(4, 4, 0x336699));
    EXPECT_EQ(at(roundTrip(*image, folder), 1, 1), (Rgb{0x99, 0x66, 0x33}));
    EXPECT_FALSE(image->CreateImage(0, 4, Red));
}

TEST(PlainImage, ResizesKeepingTheShape)
{
    struct Case {
        int width, height, boxWidth, boxHeight, flag, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {400, 300, 200, 200, 1, 200, 150}, // landscape
        {300, 400, 200, 200, 1, 150, 200}, // portrait
        {100, 50, 400, 400, 1, 400, 200},  // enlarged
        {100, 50, 400, 400, 0, 100, 50},   // kept as it is
        {1000, 2, 100, 100, 1, 100, 1},    // never a 0-pixel side
        {2, 1000, 100, 100, 1, 1, 100},    {1, 1, 50, 30, 1, 30, 30}, {640, 480, 1, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        Plain image = created(c.width, c.height, Green);
        ASSERT_TRUE(image->ResizeKeepAspect(c.boxWidth, c.boxHeight, c.flag));
        EXPECT_EQ(image->GetWidth(), c.expectedWidth) << c.width << "x" << c.height;
        EXPECT_EQ(image->GetHeight(), c.expectedHeight) << c.width << "x" << c.height;
    }
    Plain image = created(5, 5, Green);
    EXPECT_FALSE(image->ResizeKeepAspect(0, 10, 1));
    EXPECT_FALSE(image->Resize(10, -1));
}

TEST(PlainImage, ResizesExactlyWithTheChosenKernel)
{
    TestFolder folder;
    const std::string path = write(
        folder, "two.png",
        filled(1, 1, {0, 0, 0}).join(filled(1, 1, {255, 255, 255}), VIPS_DIRECTION_HORIZONTAL));
    struct Case {
        int mode;
        bool smooth; // values between black and white appear
    };
    for (const Case c : {Case{5, false}, Case{6, true}, Case{7, true}}) {
        Plain image = opened(path);
        ASSERT_TRUE(image);
        image->SetInterpolationMode(c.mode);
        ASSERT_TRUE(image->Resize(40, 3));
        const vips::VImage out = roundTrip(*image, folder);
        ASSERT_EQ(out.width(), 40);
        ASSERT_EQ(out.height(), 3);
        bool between = false;
        for (int x = 0; x < 40; ++x)
            between = between || (at(out, x, 1)[0] > 10 && at(out, x, 1)[0] < 245);
        EXPECT_EQ(between, c.smooth) << "mode " << c.mode;
    }
}

TEST(PlainImage, EveryFormatSavesAndOpensAgain)
{
    TestFolder folder;
    const std::string source = write(folder, "source.png", quadrants(40, 30));
    for (const char* name :
         {"a.jpg", "b.JPEG", "c.png", "d.gif", "e.bmp", "f.tif", "g.tiff", "h.webp", "i.avif"}) {
        Plain image = opened(source);
        ASSERT_TRUE(image);
        const std::string path = folder.file(QLatin1String(name)).toStdString();
        ASSERT_TRUE(image->Save(0, path.c_str())) << name;
        Plain again = opened(path);
        ASSERT_TRUE(again) << name;
        EXPECT_EQ(again->GetWidth(), 40) << name;
        EXPECT_EQ(again->GetHeight(), 30) << name;
        EXPECT_TRUE(similar(at(decoded(path), 5, 5), {255, 0, 0}, 40)) << name;
    }
}

TEST(PlainImage, ConvertsEveryKindOfInputTo8BitSrgb)
{
    TestFolder folder;
    const vips::VImage grey = filled(6, 4, {128});
    struct Case {
        const char* name;
        vips::VImage picture;
        int bands;
        Rgb colour;
    };
    const Case cases[] = {
        {"grey.png", grey, 3, {128, 128, 128}},
        {"greyalpha.png", grey.bandjoin_const({255}), 4, {128, 128, 128}},
        {"deep.png",
         (filled(6, 4, {255, 0, 0}) * 257)
             .cast(VIPS_FORMAT_USHORT)
             .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
         3, R},
        {"cmyk.jpg",
         filled(6, 4, {0, 255, 255, 0})
             .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK)),
         3, R},
    };
    for (const Case& c : cases) {
        Plain image = opened(write(folder, c.name, c.picture));
        ASSERT_TRUE(image) << c.name;
        const vips::VImage out = roundTrip(*image, folder);
        EXPECT_EQ(out.bands(), c.bands) << c.name;
        EXPECT_EQ(out.format(), VIPS_FORMAT_UCHAR) << c.name;
        EXPECT_TRUE(similar(at(out, 2, 2), c.colour, 60)) << c.name;
    }
}

TEST(PlainImage, WritesBmpItselfWhenLibvipsCannot)
{
    TestFolder folder;
    Plain image = created(5, 3, Blue);
    const std::string path = folder.file(QStringLiteral("own.bmp")).toStdString();
    vips_operation_block_set("VipsForeignSaveMagick", TRUE);
    const bool saved = image->Save(0, path.c_str());
    vips_operation_block_set("VipsForeignSaveMagick", FALSE);
    ASSERT_TRUE(saved);
    EXPECT_EQ(std::filesystem::file_size(path), 54u + 3 * 16); // rows padded to 4 bytes
    const vips::VImage back = decoded(path);
    EXPECT_EQ(back.width(), 5);
    EXPECT_EQ(at(back, 4, 2), (Rgb{0, 0, 255}));
}

TEST(PlainImage, FailedSavesLeaveNoFile)
{
    TestFolder folder;
    Plain image = created(10, 10, Red);
    auto save = [&](const char* name) {
        return image->Save(0, folder.file(QLatin1String(name)).toUtf8().constData());
    };
    EXPECT_FALSE(save("picture.xyz"));
    EXPECT_FALSE(save("no/such/dir/p.jpg"));
    // Written completely, then it cannot replace a folder of that name.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.png")));
    EXPECT_FALSE(save("taken.png"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("taken.png")});
}

TEST(PlainImage, JpegQualityChangesTheFileSize)
{
    TestFolder folder;
    const std::string source = write(folder, "noise.png", noise(64, 64));
    uintmax_t sizes[2] = {};
    const int qualities[2] = {20, 95};
    for (int i = 0; i < 2; ++i) {
        Plain image = opened(source);
        image->SetJpegQuality(qualities[i]);
        const std::string path = folder.file(QStringLiteral("q%1.jpg").arg(i)).toStdString();
        ASSERT_TRUE(image->Save(0, path.c_str()));
        sizes[i] = std::filesystem::file_size(path);
    }
    EXPECT_LT(sizes[0] * 2, sizes[1]);
}

// The stored pictures lie on their sides with Orientation 6 and 8; both show upright, in
// sRGB converted through their embedded profile.
TEST(PlainImage, OpensPhotosAsDisplayed)
{
    TestFolder folder;
    for (const char* name : {"exs-landscape_6.jpg", "exs-landscape_8.jpg"}) {
        Plain image = opened(photo(name));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->GetWidth(), 600) << name; // stored 450 x 600
        EXPECT_EQ(image->GetHeight(), 450) << name;
        const vips::VImage shown =
            decoded(photo(name))
                .icc_transform("srgb", vips::VImage::option()->set("embedded", true))
                .autorot();
        for (int flags : {0, 1}) {
            const std::string path =
                folder.file(QStringLiteral("shown%1.jpg").arg(flags)).toStdString();
            ASSERT_TRUE(image->Save(flags, path.c_str()));
            EXPECT_LT(difference(decoded(path), shown), 8.0) << name; // turned wrong: over 30
            const Exiv2::ExifData exif = exifOf(path);
            const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
            EXPECT_EQ(orientation == exif.end() ? 1 : orientation->toLong(), 1) << name;
            EXPECT_EQ(exif.empty(), flags == 0) << name;
        }
    }
}

TEST(PlainImage, AppliesTheLevelsOfTheSideFile)
{
    TestFolder folder;
    const std::string path = write(folder, "grey.png", filled(4, 4, {125, 60, 200}));
    const std::string side = path + ".exif";
    filled(1, 1, {0, 0, 0}).cast(VIPS_FORMAT_UCHAR).jpegsave(side.c_str());
    auto sideFile = Exiv2::ImageFactory::open(side);
    Exiv2::ExifData levels;
    levels["Exif.Image.ReferenceBlackWhite"] = "50/1 200/1 40/1 220/1 0/1 255/1";
    sideFile->setExifData(levels);
    sideFile->writeMetadata();
    const imaging::ColorMatrix m =
        imaging::readDisplayTransform(QString::fromStdString(path)).matrix;
    ASSERT_FALSE(imaging::isIdentity(m));
    Plain image = opened(path);
    const Rgb out = at(roundTrip(*image, folder), 1, 1);
    const Rgb in{125, 60, 200};
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(out[c], std::clamp(in[c] * m[c][c] + m[4][c] * 255.0, 0.0, 255.0), 1.0) << c;
}

TEST(PlainImage, WritesCameraMetadataOnlyWhenAskedAndNeverTheGpsPosition)
{
    TestFolder folder;
    Plain image = opened(photo("exs-DSCN0010.jpg"));
    ASSERT_TRUE(image && image->ResizeKeepAspect(320, 320, 1));
    ASSERT_GT(gpsTags(exifOf(photo("exs-DSCN0010.jpg"))), 0);
    for (const char* extension : {".jpg", ".png", ".webp", ".tif"}) {
        const std::string plain = folder.file(QStringLiteral("plain") + extension).toStdString();
        const std::string kept = folder.file(QStringLiteral("kept") + extension).toStdString();
        ASSERT_TRUE(image->Save(0, plain.c_str())) << extension;
        ASSERT_TRUE(image->Save(1, kept.c_str())) << extension;
        EXPECT_FALSE(hasKey(exifOf(plain), "Exif.Image.Make")) << extension;
        const Exiv2::ExifData exif = exifOf(kept);
        EXPECT_TRUE(hasKey(exif, "Exif.Image.Make")) << extension;
        EXPECT_TRUE(hasKey(exif, "Exif.Photo.DateTimeOriginal")) << extension;
        EXPECT_EQ(gpsTags(exif), 0) << extension;
        EXPECT_FALSE(hasKey(exif, "Exif.Image.GPSTag")) << extension;
        EXPECT_EQ(decoded(kept).width(), 320) << extension;
    }
    // Photos without EXIF still save when it is asked for.
    for (const char* name : {"mdi-24bpp-10x10.bmp", "mdi-mspaint-10x10.gif"}) {
        Plain other = opened(photo(name));
        ASSERT_TRUE(other) << name;
        EXPECT_TRUE(other->Save(1, folder.file(QStringLiteral("other.jpg")).toUtf8().constData()));
    }
}

TEST(PlainImage, OpenSizedFitsTheBox)
{
    TestFolder folder;
    Plain image = newPlain();
    ASSERT_TRUE(image->OpenSized(100, 100, photo("exs-DSCN0010.jpg").c_str()));
    EXPECT_EQ(image->GetWidth(), 100); // 640 x 480 photo, known before decoding
    EXPECT_EQ(image->GetHeight(), 75);
    const vips::VImage out = roundTrip(*image, folder);
    EXPECT_EQ(out.width(), 100);
    EXPECT_EQ(out.height(), 75);
}

// A full-size photo shrinks while it is decoded: the right size, in little memory.
TEST(PlainImage, BigPhotoResizesInLittleMemory)
{
    TestFolder folder;
    const std::string big = bigTestPhoto().toStdString();
    Plain image = opened(big);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->GetWidth(), 5760);
    image->SetInterpolationMode(7);
    ASSERT_TRUE(image->ResizeKeepAspect(1600, 1600, 1));
    const std::string path = folder.file(QStringLiteral("big.png")).toStdString();
    ASSERT_TRUE(image->Save(0, path.c_str()));
    const vips::VImage out = decoded(path);
    EXPECT_EQ(out.width(), 1600);
    EXPECT_EQ(out.height(), 1067);
    // Decoded too small and enlarged, it would keep well under half the detail.
    const vips::VImage reference = vips::VImage::thumbnail(big.c_str(), 1600);
    EXPECT_GT(detail(out), 0.7 * detail(reference));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 300 * 1024) << "peak kilobytes";
}

// Placement 9 cuts a smaller canvas around what draws the eye rather than around the centre.
TEST(PlainImage, ACanvasCutAroundTheCentreOfInterestKeepsTheSubject)
{
    TestFolder folder;
    vips::VImage grey = vips::VImage::black(300, 100).new_from_image({128, 128, 128});
    vips::VImage patch = vips::VImage::black(30, 30).new_from_image({255, 0, 0});
    const std::string source =
        write(folder, "wide.png", grey.insert(patch, 250, 35).cast(VIPS_FORMAT_UCHAR));
    Plain image = opened(source);
    ASSERT_TRUE(image && image->ResizeCanvas(100, 100, 9, 0));
    const vips::VImage out = roundTrip(*image, folder);
    ASSERT_EQ(out.width(), 100);
    ASSERT_EQ(out.height(), 100);
    bool red = false;
    for (int x = 0; x < 100; ++x)
        red = red || similar(at(out, x, 50), {255, 0, 0}, 40);
    EXPECT_TRUE(red) << "the red patch at the right end is kept";
    Plain centred = opened(source);
    ASSERT_TRUE(centred && centred->ResizeCanvas(100, 100, 4, 0));
    EXPECT_FALSE(similar(at(roundTrip(*centred, folder), 99, 50), {255, 0, 0}, 40));
    Plain wrong = opened(source);
    EXPECT_FALSE(wrong && wrong->ResizeCanvas(100, 100, 10, 0));
}
