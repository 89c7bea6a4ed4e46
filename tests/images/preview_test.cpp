// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "images/preview.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "tests/support/claimedpng.h"
#include "tests/support/orientedphotos.h"
#include "tests/support/testenv.h"

namespace {

// A 40 x 20 picture: the left half red, the right half blue.
QString writeRedBlue(const TestFolder& folder, const QString& name)
{
    QImage picture(40, 20, QImage::Format_ARGB32);
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 20; ++y)
            picture.setPixel(x, y, x < 20 ? qRgb(200, 0, 0) : qRgb(0, 0, 200));
    const QString path = folder.file(name);
    imaging::Image::fromQImage(picture)->save(path, name.endsWith(".png") ? "image/png" : "image/jpeg");
    return path;
}

void writeSideFile(const QString& photo, uint16_t orientation, const uint32_t* levels)
{
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::black);
    auto side = imaging::Image::fromQImage(pixel);
    side->setProperty({imaging::TagOrientation, imaging::PropertyShort,
                       QByteArray(reinterpret_cast<const char*>(&orientation), 2)});
    if (levels != nullptr) {
        QByteArray bytes;
        for (int i = 0; i < 6; ++i) {
            const uint32_t pair[2] = {levels[i], 1};
            bytes.append(reinterpret_cast<const char*>(pair), 8);
        }
        side->setProperty({imaging::TagReferenceBlackWhite, imaging::PropertyRational, bytes});
    }
    ASSERT_TRUE(side->save(imaging::sideFilePath(photo), "image/jpeg"));
}

} // namespace

TEST(Preview, FitsAndCentresThePicture)
{
    TestFolder folder;
    const QString photo = writeRedBlue(folder, "plain.png");
    const PreviewPicture preview = renderPreview(photo, QSize(100, 100));
    ASSERT_FALSE(preview.picture.isNull());
    EXPECT_EQ(preview.picture.size(), QSize(100, 50));
    EXPECT_EQ(preview.rect, QRect(0, 25, 100, 50));
    EXPECT_GT(qRed(preview.picture.pixel(10, 25)), 150);
    EXPECT_TRUE(renderPreview(folder.file("missing.png"), QSize(100, 100)).picture.isNull());
    EXPECT_TRUE(renderPreview(photo, QSize(0, 0)).picture.isNull());
}

TEST(Preview, APhotoOverThePixelLimitShowsNothing)
{
    SettingsSandbox settings;
    Settings().writeInt("Settings", "MaxMegapixels", 2);
    TestFolder folder;
    const QString within = folder.write("within.png", testpng::claiming(2000, 1000));
    EXPECT_FALSE(renderPreview(within, QSize(100, 100)).picture.isNull());
    const QString over = folder.write("over.png", testpng::claiming(2000, 1001));
    EXPECT_TRUE(renderPreview(over, QSize(100, 100)).picture.isNull());
}

TEST(Preview, SideFileTurnWinsOverThePhoto)
{
    TestFolder folder;
    const QString photo = writeRedBlue(folder, "turned.png");
    writeSideFile(photo, 6, nullptr);
    const PreviewPicture preview = renderPreview(photo, QSize(100, 100));
    EXPECT_EQ(preview.transform.rotation, 1);
    ASSERT_EQ(preview.picture.size(), QSize(50, 100));
    EXPECT_EQ(preview.rect, QRect(25, 0, 50, 100));
    // Turned clockwise, the red left half is now on top.
    EXPECT_GT(qRed(preview.picture.pixel(25, 10)), 150);
    EXPECT_GT(qBlue(preview.picture.pixel(25, 90)), 150);
}

TEST(Preview, PhotoTagsAreUsedWithoutASideFile)
{
    TestFolder folder;
    const QString photo = writeRedBlue(folder, "own.jpg");
    {
        auto image = imaging::Image::open(photo);
        const uint16_t upsideDown = 3;
        image->setProperty({imaging::TagOrientation, imaging::PropertyShort,
                            QByteArray(reinterpret_cast<const char*>(&upsideDown), 2)});
        ASSERT_TRUE(image->save(photo, "image/jpeg"));
    }
    const PreviewPicture preview = renderPreview(photo, QSize(80, 80));
    EXPECT_EQ(preview.transform.rotation, 2);
    ASSERT_EQ(preview.picture.size(), QSize(80, 40));
    EXPECT_GT(qBlue(preview.picture.pixel(5, 20)), 150); // blue now on the left
}

TEST(Preview, LevelsBrightenTheShownPicture)
{
    TestFolder folder;
    const QString photo = writeRedBlue(folder, "dark.png");
    const uint32_t levels[6] = {0, 200, 0, 200, 0, 200};
    writeSideFile(photo, 1, levels);
    const PreviewPicture preview = renderPreview(photo, QSize(40, 20));
    EXPECT_TRUE(preview.transform.hasLevels());
    EXPECT_EQ(preview.transform.rotation, 0);
    EXPECT_EQ(qRed(preview.picture.pixel(5, 10)), 255); // 200 stretched to white
}

// Every EXIF orientation, the four mirrored ones too, shown as libvips turns it upright, in
// the photo itself and when the turn was recorded in the side file of an untagged copy.
TEST(Preview, EveryOrientationIsShownUpright)
{
    TestFolder folder;
    const QStringList photos = makeOrientedPhotos(folder.file("oriented"));
    ASSERT_EQ(photos.size(), 8);
    const QImage plain = autorotated(photos[0]);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QString photo = photos[orientation - 1];
        const QImage expected = autorotated(photo);
        const PreviewPicture preview = renderPreview(photo, QSize(120, 120));
        QString why;
        EXPECT_TRUE(showsTheSame(preview.picture, expected, &why)) << why.toStdString();
        EXPECT_EQ(preview.rect.size(), preview.picture.size());
        EXPECT_EQ(preview.transform.mirrored, orientation == 2 || orientation == 4 ||
                                                  orientation == 5 || orientation == 7);

        const QString untagged = folder.file(QString("side-%1.png").arg(orientation));
        ASSERT_TRUE(plain.save(untagged));
        writeSideFile(untagged, uint16_t(orientation), nullptr);
        EXPECT_TRUE(showsTheSame(renderPreview(untagged, QSize(50, 200)).picture, expected, &why))
            << why.toStdString();
    }
}
