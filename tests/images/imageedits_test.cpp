// SPDX-License-Identifier: GPL-2.0-or-later
// Turns and automatic levels of the image list page, kept as tags in real photos (copied into
// a test folder) or in side files, and the undo of the last edit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTransform>
#include <QtEndian>

#include "images/imageedits.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"
#include "tests/support/orientedphotos.h"
#include "tests/support/testenv.h"

namespace
{

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString copyPhoto(const TestFolder& folder, const QString& name)
{
    const QString target = folder.file(name);
    QFile::copy(sharedTestData(QStringLiteral("photos/") + name), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

// The Orientation tag of a file; 0 when it has none or does not open.
int orientationIn(const QString& path)
{
    const auto image = imaging::Image::open(path);
    const auto item = image ? image->property(imaging::TagOrientation) : std::nullopt;
    return item && item->value.size() >= 2 ? qFromLittleEndian<uint16_t>(item->value.constData())
                                           : 0;
}

// The compressed picture of a JPEG: everything from its last start-of-scan marker on.
QByteArray scanData(const QByteArray& jpeg)
{
    return jpeg.mid(jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2)));
}

std::vector<uint32_t> levelsIn(const QString& path)
{
    const auto image = imaging::Image::open(path);
    const auto item = image ? image->property(imaging::TagReferenceBlackWhite) : std::nullopt;
    std::vector<uint32_t> values;
    if (item && item->value.size() == 48)
        for (int i = 0; i < 12; ++i)
            values.push_back(qFromLittleEndian<uint32_t>(item->value.constData() + i * 4));
    return values;
}

} // namespace

TEST(ImageEdits, OrientationTableTurnsEveryWay)
{
    const int values[] = {1, 3, 6, 8};
    const int right[] = {6, 8, 3, 1}, half[] = {3, 1, 8, 6}, left[] = {8, 6, 1, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CImageEdits::NewOrientation(90, values[i]), right[i]);
        EXPECT_EQ(CImageEdits::NewOrientation(180, values[i]), half[i]);
        EXPECT_EQ(CImageEdits::NewOrientation(270, values[i]), left[i]);
    }
    // Mirrored photos stay mirrored: the mirror image turns as the user sees it.
    const int mirrored[] = {2, 5, 4, 7};
    const int mirroredRight[] = {7, 2, 5, 4}, mirroredHalf[] = {4, 7, 2, 5};
    const int mirroredLeft[] = {5, 4, 7, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CImageEdits::NewOrientation(90, mirrored[i]), mirroredRight[i]) << mirrored[i];
        EXPECT_EQ(CImageEdits::NewOrientation(180, mirrored[i]), mirroredHalf[i]) << mirrored[i];
        EXPECT_EQ(CImageEdits::NewOrientation(270, mirrored[i]), mirroredLeft[i]) << mirrored[i];
    }
    // Values that are no orientation count as upright.
    EXPECT_EQ(CImageEdits::NewOrientation(270, 0), 8);
    EXPECT_EQ(CImageEdits::NewOrientation(90, 9), 6);
}

TEST(ImageEdits, JpegTurnsInThePhotoWithoutReencoding)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("exs-Canon_40D.jpg"));
    const QByteArray scan = scanData(bytesOf(photo));
    ASSERT_GT(scan.size(), 100);
    ASSERT_EQ(orientationIn(photo), 1);
    const int angles[] = {90, 90, 180, 270, 180, 270};
    const int expected[] = {6, 3, 1, 8, 6, 1};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(CImageEdits::RotateImage(photo, angles[i])) << i;
        EXPECT_EQ(orientationIn(photo), expected[i]) << i;
        EXPECT_EQ(scanData(bytesOf(photo)), scan) << i;
    }
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(photo)));
    EXPECT_FALSE(QFileInfo::exists(photo + "_tmp"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
}

TEST(ImageEdits, TiffTurnsInThePhotoWithItsPixelsKept)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("syn-tiff-le-exif.tif"));
    const auto before = imaging::Image::open(photo);
    ASSERT_TRUE(before);
    const QImage pixels = before->pixels();
    ASSERT_EQ(orientationIn(photo), 6);
    ASSERT_TRUE(CImageEdits::RotateImage(photo, 180));
    EXPECT_EQ(orientationIn(photo), 8);
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(photo)));
    const auto after = imaging::Image::open(photo);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->rawFormat(), imaging::RawFormat::Tiff);
    EXPECT_EQ(after->pixels(), pixels);
}

TEST(ImageEdits, HalfTurnOfASidewaysPhotoStaysSideways)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("exs-landscape_6.jpg"));
    ASSERT_TRUE(CImageEdits::RotateImage(photo, 180));
    EXPECT_EQ(orientationIn(photo), 8);
    EXPECT_EQ(imaging::readDisplayTransform(photo).rotation, 3);
}

TEST(ImageEdits, OtherFormatsTurnInTheirSideFile)
{
    TestFolder folder;
    for (const char* name :
         {"mdi-photoshop-8x12-rgb24.png", "mdi-mspaint-10x10.gif", "mdi-24bpp-10x10.bmp"}) {
        const QString photo = copyPhoto(folder, QString::fromLatin1(name));
        const QByteArray before = bytesOf(photo);
        ASSERT_FALSE(before.isEmpty()) << name;
        const int angles[] = {90, 180, 270, 180, 90};
        const int expected[] = {6, 8, 3, 1, 6};
        const int rotation[] = {1, 3, 2, 0, 1};
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(CImageEdits::RotateImage(photo, angles[i])) << name << i;
            EXPECT_EQ(orientationIn(imaging::sideFilePath(photo)), expected[i]) << name << i;
            EXPECT_EQ(imaging::readDisplayTransform(photo).rotation, rotation[i]) << name << i;
        }
        EXPECT_EQ(bytesOf(photo), before) << name;
        const auto side = imaging::Image::open(imaging::sideFilePath(photo));
        ASSERT_TRUE(side) << name;
        EXPECT_EQ(side->width(), 1);
        EXPECT_TRUE(side->rawFormat() == imaging::RawFormat::Jpeg ||
                    side->rawFormat() == imaging::RawFormat::Exif);
    }
}

TEST(ImageEdits, AutoLevelsOfAKnownPicture)
{
    // 100 x 100: red 10 on 50 pixels (0.5 %), 240 on 10 (0.1 %), 250 on 3 (0.03 %, below
    // the threshold), 128 elsewhere; green 128 everywhere; blue 0 everywhere.
    QImage picture(100, 100, QImage::Format_ARGB32);
    picture.fill(qRgb(128, 128, 0));
    for (int i = 0; i < 50; ++i)
        picture.setPixel(i, 0, qRgb(10, 128, 0));
    for (int i = 0; i < 10; ++i)
        picture.setPixel(i, 1, qRgb(240, 128, 0));
    for (int i = 0; i < 3; ++i)
        picture.setPixel(i, 2, qRgb(250, 128, 0));
    const CImageEdits::Levels expected{10, 240, 128, 128, 0, 0};
    EXPECT_EQ(CImageEdits::AutoLevels(picture), expected);

    QImage black(20, 20, QImage::Format_ARGB32);
    black.fill(Qt::black);
    EXPECT_EQ(CImageEdits::AutoLevels(black), (CImageEdits::Levels{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(CImageEdits::AutoLevels(QImage()), (CImageEdits::Levels{256, 0, 256, 0, 256, 0}));

    TestFolder folder;
    const QString photo = folder.file("known.png");
    ASSERT_TRUE(imaging::Image::fromQImage(picture)->save(photo, "image/png"));
    const QByteArray before = bytesOf(photo);
    ASSERT_TRUE(CImageEdits::AutoLevelsImage(photo));
    EXPECT_EQ(bytesOf(photo), before);
    const std::vector<uint32_t> stored{10, 1, 240, 1, 128, 1, 128, 1, 0, 1, 0, 1};
    EXPECT_EQ(levelsIn(imaging::sideFilePath(photo)), stored);
    EXPECT_TRUE(imaging::readDisplayTransform(photo).hasLevels());
}

TEST(ImageEdits, LevelsOfAJpegGoInThePhoto)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("exs-canon-ixus.jpg"));
    const QByteArray scan = scanData(bytesOf(photo));
    ASSERT_TRUE(CImageEdits::AutoLevelsImage(photo));
    const std::vector<uint32_t> levels = levelsIn(photo);
    ASSERT_EQ(levels.size(), 12u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_LE(levels[i * 2], 256u);
        EXPECT_EQ(levels[i * 2 + 1], 1u);
    }
    EXPECT_EQ(scanData(bytesOf(photo)), scan);
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(photo)));
}

TEST(ImageEdits, LevelsOfATiffGoInItsSideFileWithItsTurn)
{
    // The TIFF writer keeps a TIFF's own ReferenceBlackWhite: levels written into the photo
    // would be lost while the edit said it succeeded.
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("syn-tiff-le-exif.tif"));
    const QByteArray before = bytesOf(photo);
    ASSERT_EQ(imaging::readDisplayTransform(photo).rotation, 1);
    ASSERT_FALSE(imaging::readDisplayTransform(photo).hasLevels());
    ASSERT_TRUE(CImageEdits::AutoLevelsImage(photo));
    EXPECT_EQ(bytesOf(photo), before);
    EXPECT_EQ(levelsIn(imaging::sideFilePath(photo)).size(), 12u);
    // What the preview reads: the levels, and the turn the photo had.
    const imaging::DisplayTransform shown = imaging::readDisplayTransform(photo);
    EXPECT_TRUE(shown.hasLevels());
    EXPECT_EQ(shown.rotation, 1);
    // Later turns go where the preview reads them.
    ASSERT_TRUE(CImageEdits::RotateImage(photo, 90));
    EXPECT_EQ(imaging::readDisplayTransform(photo).rotation, 2);
    EXPECT_TRUE(imaging::readDisplayTransform(photo).hasLevels());
    EXPECT_EQ(bytesOf(photo), before);
}

TEST(ImageEdits, LevelsSampleIsAtMost480)
{
    QImage wide(1000, 601, QImage::Format_ARGB32);
    wide.fill(Qt::gray);
    const auto image = imaging::Image::fromQImage(wide);
    EXPECT_EQ(CImageEdits::LevelsSample(*image).size(), QSize(480, 288));
    QImage tall(30, 960, QImage::Format_ARGB32);
    tall.fill(Qt::gray);
    EXPECT_EQ(CImageEdits::LevelsSample(*imaging::Image::fromQImage(tall)).size(), QSize(15, 480));
    QImage small(30, 40, QImage::Format_ARGB32);
    small.fill(Qt::gray);
    EXPECT_EQ(CImageEdits::LevelsSample(*imaging::Image::fromQImage(small)).size(), QSize(30, 40));
}

TEST(ImageEdits, UndoRestoresTheStateBeforeTheLastEdit)
{
    TestFolder folder;
    TestFolder backups;
    const QString jpeg = copyPhoto(folder, QStringLiteral("exs-Nikon_D70.jpg"));
    const QString png = copyPhoto(folder, QStringLiteral("mdi-photoshop-8x12-rgb24.png"));
    const std::vector<CImageEdits::Selected> selection{{0, jpeg}, {1, png}};
    const QByteArray jpegBefore = bytesOf(jpeg);
    CImageEdits edits(backups.path());
    EXPECT_EQ(edits.RotateSelection(selection, 90), 2);
    EXPECT_TRUE(edits.HasBackups());
    const QByteArray jpegFirst = bytesOf(jpeg);
    const QByteArray sideFirst = bytesOf(imaging::sideFilePath(png));
    EXPECT_NE(jpegFirst, jpegBefore);
    EXPECT_EQ(edits.AutoLevelsSelection(selection), 2);
    EXPECT_NE(bytesOf(jpeg), jpegFirst);
    ASSERT_TRUE(edits.UndoLastEdit());
    EXPECT_EQ(bytesOf(jpeg), jpegFirst);
    EXPECT_EQ(bytesOf(imaging::sideFilePath(png)), sideFirst);
    EXPECT_FALSE(edits.HasBackups());
    EXPECT_TRUE(QDir(backups.path()).isEmpty());
    // Only one step: a second undo changes nothing.
    EXPECT_TRUE(edits.UndoLastEdit());
    EXPECT_EQ(bytesOf(jpeg), jpegFirst);
}

TEST(ImageEdits, UndoRemovesASideFileTheEditMade)
{
    TestFolder folder;
    TestFolder backups;
    const QString gif = copyPhoto(folder, QStringLiteral("mdi-mspaint-10x10.gif"));
    const QByteArray before = bytesOf(gif);
    CImageEdits edits(backups.path());
    EXPECT_EQ(edits.RotateSelection({{4, gif}}, 180), 1);
    EXPECT_TRUE(QFileInfo::exists(imaging::sideFilePath(gif)));
    EXPECT_TRUE(QFileInfo::exists(backups.file("Bckp_4")));
    ASSERT_TRUE(edits.UndoLastEdit());
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(gif)));
    EXPECT_EQ(bytesOf(gif), before);
    EXPECT_EQ(imaging::readDisplayTransform(gif).rotation, 0);
}

TEST(ImageEdits, DroppingBackupsDeletesTheCopiesOnly)
{
    TestFolder folder;
    TestFolder backups;
    const QString jpeg = copyPhoto(folder, QStringLiteral("exs-Nikon_D70.jpg"));
    {
        CImageEdits edits(backups.path());
        edits.RotateSelection({{0, jpeg}}, 270);
        EXPECT_FALSE(QDir(backups.path()).isEmpty());
    }
    EXPECT_TRUE(QDir(backups.path()).isEmpty());
    EXPECT_EQ(orientationIn(jpeg), 8);
}

TEST(ImageEdits, FailuresLeaveThePhotoAsItWas)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("exs-Nikon_D70.jpg"));
    const QByteArray before = bytesOf(photo);
    EXPECT_FALSE(CImageEdits::SaveImageInPlace(photo, imaging::Image::open(photo),
                                               QStringLiteral("image/x-none")));
    EXPECT_EQ(bytesOf(photo), before);
    EXPECT_FALSE(QFileInfo::exists(photo + "_tmp"));
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(photo)));

    const QString text = folder.write("notes.jpg", "not a picture");
    EXPECT_FALSE(CImageEdits::RotateImage(text, 90));
    EXPECT_FALSE(CImageEdits::AutoLevelsImage(text));
    EXPECT_EQ(bytesOf(text), QByteArray("not a picture"));
    EXPECT_FALSE(QFileInfo::exists(imaging::sideFilePath(text)));
}

TEST(ImageEdits, OnlyReadableWritableFilesCanBeEdited)
{
    TestFolder folder;
    const QString photo = copyPhoto(folder, QStringLiteral("exs-Nikon_D70.jpg"));
    EXPECT_TRUE(CImageEdits::CanEdit(photo));
    EXPECT_FALSE(CImageEdits::CanEdit(folder.file("missing.jpg")));
    EXPECT_TRUE(CImageEdits::CanEdit(QStringList{}));
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write to any file";
    QFile::setPermissions(photo, QFile::ReadOwner);
    EXPECT_FALSE(CImageEdits::CanEdit(photo));
    EXPECT_FALSE(CImageEdits::CanEdit(QStringList{photo}));
}

// Turning a photo turns what the user sees, mirrored photos too: afterwards libvips shows it
// as its former upright picture turned by the same angle.
TEST(ImageEdits, TurnsOfMirroredPhotosKeepTheMirror)
{
    TestFolder folder;
    const QStringList photos = makeOrientedPhotos(folder.file("oriented"));
    ASSERT_EQ(photos.size(), 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (int angle : {90, 180, 270}) {
            SCOPED_TRACE(QString("orientation %1 turned by %2").arg(orientation).arg(angle).toStdString());
            const QString photo = folder.file(QString("turn-%1-%2.jpg").arg(orientation).arg(angle));
            ASSERT_TRUE(QFile::copy(photos[orientation - 1], photo));
            const QImage before = autorotated(photo);
            ASSERT_TRUE(CImageEdits::RotateImage(photo, angle));
            const QImage expected = before.transformed(QTransform().rotate(angle));
            QString why;
            EXPECT_TRUE(showsTheSame(autorotated(photo), expected, &why)) << why.toStdString();
        }
    }
}
