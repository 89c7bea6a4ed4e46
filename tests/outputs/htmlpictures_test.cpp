// SPDX-License-Identifier: GPL-2.0-or-later
// What an album's pictures and files are made of: names that stay put for unchanged photos,
// no camera data (and never a location) unless asked for, the host's quality and resize
// method, photos that cannot be read, and the files a user chooses for a theme.
#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMutex>

#include <exiv2/exiv2.hpp>

#include "platform/settings.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/claimedpng.h"
#include "tests/support/orientedphotos.h"
#include "tests/support/testenv.h"

namespace
{

std::set<QString> picturesIn(const QString& album)
{
    const QStringList names = QDir(album + QStringLiteral("/pictures")).entryList(QDir::Files);
    return {names.begin(), names.end()};
}

QString pageText(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

Exiv2::ExifData exifOf(const QString& file)
{
    auto image = Exiv2::ImageFactory::open(file.toStdString());
    image->readMetadata();
    return image->exifData();
}

bool hasGps(const Exiv2::ExifData& exif)
{
    for (const Exiv2::Exifdatum& item : exif)
        if (item.groupName() == "GPSInfo")
            return true;
    return false;
}

class PicturesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(album.ready()); }

    // A copy of a shared photo in the test's folder, so the test may change it.
    QString copyOf(const QString& photo, const QString& name)
    {
        const QString copy = work.file(QStringLiteral("photos/") + name);
        QDir().mkpath(work.file(QStringLiteral("photos")));
        QFile::copy(sharedPhoto(photo), copy);
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }
    // Gives the photo a GPS position, as a phone would.
    static void addGps(const QString& file)
    {
        auto image = Exiv2::ImageFactory::open(file.toStdString());
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
        exif["Exif.GPSInfo.GPSLatitude"] = "48/1 51/1 24/1";
        exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
        exif["Exif.GPSInfo.GPSLongitude"] = "2/1 21/1 3/1";
        image->setExifData(exif);
        image->writeMetadata();
    }
    QString dest(const QString& name) const { return work.file(name); }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

} // namespace

TEST_F(PicturesTest, UnchangedPhotosKeepTheirPictureNames)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    const QString changing = copyOf(QStringLiteral("exs-canon-ixus.jpg"), QStringLiteral("b.jpg"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("A"));
    album.addPhoto(changing, QStringLiteral("B"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")), QStringLiteral("C"));
    ASSERT_EQ(album.generate(dest("first")), GV_OK);
    const std::set<QString> first = picturesIn(dest("first"));
    ASSERT_EQ(first.size(), 12u) << "four pictures of each of three photos";

    // New titles change pages only.
    album.album().Images()[0].name = "A renamed";
    ASSERT_EQ(album.generate(dest("titles")), GV_OK);
    EXPECT_EQ(picturesIn(dest("titles")), first);

    // A changed photo gets new names; the others keep theirs.
    QImage replacement(320, 200, QImage::Format_RGB32);
    replacement.fill(Qt::darkCyan);
    ASSERT_TRUE(replacement.save(changing, "JPEG"));
    ASSERT_EQ(album.generate(dest("changed")), GV_OK);
    const std::set<QString> changed = picturesIn(dest("changed"));
    std::set<QString> kept;
    std::set_intersection(first.begin(), first.end(), changed.begin(), changed.end(),
                          std::inserter(kept, kept.begin()));
    EXPECT_EQ(kept.size(), 8u);
    EXPECT_EQ(changed.size(), 12u);

    // A different setting makes different pictures under different names.
    album.setNumber("JPEGQuality", 40);
    ASSERT_EQ(album.generate(dest("quality")), GV_OK);
    const std::set<QString> quality = picturesIn(dest("quality"));
    std::set<QString> common;
    std::set_intersection(changed.begin(), changed.end(), quality.begin(), quality.end(),
                          std::inserter(common, common.begin()));
    EXPECT_TRUE(common.empty());
}

TEST_F(PicturesTest, TheSamePhotoTwiceSharesItsPictures)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("One"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Again"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    EXPECT_EQ(picturesIn(dest("album")).size(), 4u);
    const QString html = pageText(dest("album/index.html"));
    EXPECT_TRUE(html.contains(QLatin1String("One")) && html.contains(QLatin1String("Again")));
}

TEST_F(PicturesTest, ATurnInTheSideFileMakesNewPictures)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QString photo = copyOf(QStringLiteral("exs-DSCN0010.jpg"), QStringLiteral("turn.jpg"));
    album.addPhoto(photo);
    ASSERT_EQ(album.generate(dest("before")), GV_OK);
    // The album builder keeps turns of photos in an EXIF side file beside them.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    const QString side = photo + QStringLiteral(".exif");
    ASSERT_TRUE(dot.save(side, "JPEG"));
    auto image = Exiv2::ImageFactory::open(side.toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = static_cast<uint16_t>(6);
    image->setExifData(exif);
    image->writeMetadata();
    ASSERT_EQ(album.generate(dest("after")), GV_OK);
    std::set<QString> common;
    const std::set<QString> before = picturesIn(dest("before")), after = picturesIn(dest("after"));
    std::set_intersection(before.begin(), before.end(), after.begin(), after.end(),
                          std::inserter(common, common.begin()));
    EXPECT_TRUE(common.empty());
    EXPECT_TRUE(pageText(dest("after/index.html"))
                    .contains(QLatin1String("data-width=\"480\" data-height=\"640\"")))
        << "the big picture is turned";
}

TEST_F(PicturesTest, PicturesCarryNoCameraDataOrLocationByDefault)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QString photo = copyOf(QStringLiteral("exs-canon-ixus.jpg"), QStringLiteral("gps.jpg"));
    addGps(photo);
    ASSERT_TRUE(hasGps(exifOf(photo)));
    album.addPhoto(photo);
    ASSERT_EQ(album.generate(dest("plain")), GV_OK);
    for (const QString& name : picturesIn(dest("plain")))
        EXPECT_TRUE(exifOf(dest("plain/pictures/") + name).empty()) << name.toStdString();

    album.setChoice("CameraData", QStringLiteral("Keep (without location)"));
    ASSERT_EQ(album.generate(dest("camera")), GV_OK);
    for (const QString& name : picturesIn(dest("camera"))) {
        const Exiv2::ExifData exif = exifOf(dest("camera/pictures/") + name);
        EXPECT_NE(exif.findKey(Exiv2::ExifKey("Exif.Image.Make")), exif.end())
            << name.toStdString();
        EXPECT_FALSE(hasGps(exif)) << name.toStdString();
    }
}

TEST_F(PicturesTest, TheHostsQualityAndResizeMethodAreHonoured)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("mdi-Olympus_PEN_E-P3.jpg")));
    const auto bytesOf = [&](const QString& folder, const char* kind) {
        qint64 total = 0;
        for (const QString& name : picturesIn(dest(folder)))
            if (name.endsWith(QLatin1String(kind)))
                total += QFileInfo(dest(folder) + QStringLiteral("/pictures/") + name).size();
        return total;
    };
    album.setNumber("JPEGQuality", 30);
    ASSERT_EQ(album.generate(dest("low")), GV_OK);
    album.setNumber("JPEGQuality", 95);
    ASSERT_EQ(album.generate(dest("high")), GV_OK);
    EXPECT_LT(bytesOf("low", "-big.jpg") * 2, bytesOf("high", "-big.jpg"));

    album.setChoice("InterpolationMode", QStringLiteral("Bicubic"));
    ASSERT_EQ(album.generate(dest("bicubic")), GV_OK);
    EXPECT_NE(picturesIn(dest("high")), picturesIn(dest("bicubic")));
    EXPECT_NE(bytesOf("high", "-half.jpg"), bytesOf("bicubic", "-half.jpg"));
}

TEST_F(PicturesTest, PhotosThatCannotBeReadAreLeftOut)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(work.write(QStringLiteral("photos/broken.jpg"), "not a photo at all"),
                   QStringLiteral("Broken"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Fine"));
    album.addPhoto(work.file(QStringLiteral("photos/gone.jpg")), QStringLiteral("Gone"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString index = pageText(dest("album/index.html"));
    EXPECT_TRUE(index.contains(QLatin1String("1 photo<")));
    EXPECT_FALSE(index.contains(QLatin1String("Broken")));
    EXPECT_FALSE(QFileInfo::exists(dest("album/photo-2.html")));
    EXPECT_EQ(picturesIn(dest("album")).size(), 4u)
        << "nothing half-made is left of the broken one";
}

// Warnings printed while the object lives, from any thread.
class WarningLog
{
public:
    WarningLog() { s_previous = qInstallMessageHandler(&WarningLog::record); }
    ~WarningLog() { qInstallMessageHandler(s_previous); }
    QString text() const
    {
        const QMutexLocker lock(&s_mutex);
        return s_lines.join(u'\n');
    }

private:
    static void record(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        const QMutexLocker lock(&s_mutex);
        s_lines << message;
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
};

TEST_F(PicturesTest, PhotosOverThePixelLimitAreLeftOutWithAWarning)
{
    Settings().writeInt(QStringLiteral("Settings"), QStringLiteral("MaxMegapixels"), 2);
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    const QString huge =
        work.write(QStringLiteral("photos/huge.png"), testpng::claiming(2000, 1001));
    album.addPhoto(huge, QStringLiteral("Huge"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Fine"));
    const WarningLog warnings;
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString index = pageText(dest("album/index.html"));
    EXPECT_TRUE(index.contains(QLatin1String("1 photo<")));
    EXPECT_FALSE(index.contains(QLatin1String("Huge")));
    EXPECT_TRUE(warnings.text().contains(
        huge + QStringLiteral(" is 2000 x 1001 pixels, more than the 2 megapixels")))
        << warnings.text().toStdString();
}

TEST_F(PicturesTest, AnAlbumOfOnlyUnreadablePhotosIsAFailure)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(work.write(QStringLiteral("photos/broken.jpg"), "not a photo"),
                   QStringLiteral("Broken"));
    EXPECT_EQ(album.generate(dest("album")), GV_E_READFILE);
    EXPECT_FALSE(QFileInfo::exists(dest("album/index.html")));
}

// Published the right way round: every orientation, the mirrored ones too, as libvips turns
// the same photo upright, in the big picture and the thumbnail alike.
TEST_F(PicturesTest, EveryOrientationIsPublishedUpright)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QStringList photos = makeOrientedPhotos(work.file("oriented"));
    ASSERT_EQ(photos.size(), 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        album.album().Images().clear();
        album.addPhoto(photos[orientation - 1]);
        const QString folder = dest(QString("album%1").arg(orientation));
        ASSERT_EQ(album.generate(folder), GV_OK);
        const QImage expected = autorotated(photos[orientation - 1]);
        const std::set<QString> pictures = picturesIn(folder);
        ASSERT_FALSE(pictures.empty());
        for (const QString& name : pictures) {
            QString why;
            EXPECT_TRUE(showsTheSame(QImage(folder + "/pictures/" + name), expected, &why))
                << name.toStdString() << ": " << why.toStdString();
        }
    }
}
