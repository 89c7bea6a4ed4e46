// SPDX-License-Identifier: GPL-2.0-or-later
// The photos' own files offered for download: not at all by default, reduced by the camera-data
// choice without touching the picture data, or untouched; named after their bytes so that a
// new generation keeps them, and shared between photos with the same bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>

#include "outputs/html/albumcontext.h"
#include "outputs/html/albumwriter.h"
#include "outputs/html/originals.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/support/jpegscan.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

namespace
{

std::set<std::string> exifKeysOf(const QString& file)
{
    auto image = Exiv2::ImageFactory::open(file.toStdString());
    image->readMetadata();
    std::set<std::string> keys;
    for (const auto& datum : image->exifData())
        keys.insert(datum.key());
    return keys;
}

bool hasGroup(const std::set<std::string>& keys, const std::string& group)
{
    return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
        return key.rfind("Exif." + group + ".", 0) == 0;
    });
}

class OriginalsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(album.ready());
        ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
        // A Nikon original with its GPS position and maker notes, given a body serial.
        photo = work.file("nikon.jpg");
        ASSERT_TRUE(QFile::copy(sharedPhoto("exs-DSCN0010.jpg"), photo));
        QFile(photo).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        auto image = Exiv2::ImageFactory::open(photo.toStdString());
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        exif["Exif.Photo.BodySerialNumber"] = "4012345";
        image->setExifData(exif);
        image->writeMetadata();
        // The photo is read only, as photos on a card or a shared drive often are.
        QFile(photo).setPermissions(QFile::ReadOwner);
        album.addPhoto(photo);
    }
    QString dest(const QString& relative = QString()) const
    {
        return work.file(QStringLiteral("album/") + relative);
    }
    QStringList originals(const QString& folder = QStringLiteral("album")) const
    {
        return QDir(work.file(folder + "/originals"))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
    QString photo;
};

} // namespace

TEST_F(OriginalsTest, NoneAreOfferedByDefault)
{
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_FALSE(QFileInfo::exists(dest("originals")));
}

TEST_F(OriginalsTest, YesWithRemoveKeepsOnlyTheTurnAndTheSamePictureData)
{
    album.setChoice("Download", "Yes");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QStringList files = originals();
    ASSERT_EQ(files.size(), 1) << files.join(',').toStdString();
    EXPECT_TRUE(files[0].endsWith("-r1.jpg"));
    const QString copy = dest("originals/" + files[0]);
    EXPECT_EQ(exifKeysOf(copy), std::set<std::string>{"Exif.Image.Orientation"});
    EXPECT_EQ(jpegScanData(wholeFile(copy)), jpegScanData(wholeFile(photo)));
    EXPECT_FALSE(jpegScanData(wholeFile(copy)).isEmpty());
    EXPECT_TRUE(QFileInfo(copy).permissions() & QFile::WriteOwner);
}

TEST_F(OriginalsTest, YesWithKeepDropsPlaceSerialsAndMakerNotes)
{
    album.setChoice("Download", "Yes");
    album.setChoice("CameraData", "Keep (without location)");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    ASSERT_EQ(originals().size(), 1);
    const QString copy = dest("originals/" + originals()[0]);
    EXPECT_TRUE(copy.endsWith("-k1.jpg"));
    const std::set<std::string> keys = exifKeysOf(copy);
    EXPECT_TRUE(keys.count("Exif.Image.Model"));
    EXPECT_TRUE(keys.count("Exif.Photo.ExposureTime"));
    EXPECT_FALSE(keys.count("Exif.Photo.BodySerialNumber"));
    EXPECT_FALSE(keys.count("Exif.Photo.MakerNote"));
    EXPECT_FALSE(hasGroup(keys, "GPSInfo"));
    EXPECT_FALSE(hasGroup(keys, "Nikon3"));
    EXPECT_EQ(jpegScanData(wholeFile(copy)), jpegScanData(wholeFile(photo)));
}

TEST_F(OriginalsTest, UntouchedOriginalsAreTheFilesAsTheyAre)
{
    album.setChoice("Download", "Yes, untouched originals");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    ASSERT_EQ(originals().size(), 1);
    EXPECT_EQ(wholeFile(dest("originals/" + originals()[0])), wholeFile(photo));
}

TEST_F(OriginalsTest, ANewGenerationKeepsTheCopiesOfUnchangedPhotos)
{
    album.setChoice("Download", "Yes");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    ASSERT_EQ(originals().size(), 1);
    const QString copy = dest("originals/" + originals()[0]);
    // A marker the copy would lose if it were made again.
    ASSERT_TRUE(
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    const QFileInfo before(copy);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_EQ(originals(), QStringList{before.fileName()});
    EXPECT_TRUE(QFileInfo(copy).permissions() & QFile::ReadOther);
    // Another choice is another copy under another name.
    album.setChoice("CameraData", "Keep (without location)");
    ASSERT_EQ(album.generate(dest("../second")), GV_OK);
    ASSERT_EQ(originals("second").size(), 1);
    EXPECT_NE(originals("second")[0], before.fileName());
    EXPECT_EQ(originals("second")[0].left(32), before.fileName().left(32)); // same bytes
}

TEST_F(OriginalsTest, PhotoValuesNameTheCopyAndPhotosWithTheSameBytesShareIt)
{
    album.setChoice("Download", "Yes, untouched originals");
    ASSERT_EQ(album.generate(dest()), GV_OK); // the host now writes into dest()
    const QString twin = work.file("twin.JPG");
    ASSERT_TRUE(QFile::copy(photo, twin));
    const QString other = sharedPhoto("exs-Canon_40D.jpg");
    std::vector<html::PhotoPictures> pictures(3);
    pictures[0].source = photo;
    pictures[1].source = twin;
    pictures[2].source = other;
    std::vector<html::AlbumPhoto> photos(4);
    for (size_t i = 0; i < photos.size(); ++i)
        photos[i].pictures = std::min<size_t>(i, 2);
    photos[3].pictures = 0; // a photo twice in the album

    CAlbumWriter writer(album.host());
    COriginals published(COriginals::Offer::Untouched, false, writer);
    ASSERT_EQ(published.publish(photos, pictures), GV_OK);
    EXPECT_EQ(photos[0].originalUrl, photos[1].originalUrl);
    EXPECT_EQ(photos[0].originalUrl, photos[3].originalUrl);
    EXPECT_NE(photos[0].originalUrl, photos[2].originalUrl);
    EXPECT_TRUE(photos[0].originalUrl.startsWith("originals/"));
    EXPECT_EQ(photos[0].originalName, QString("nikon.jpg"));
    EXPECT_EQ(photos[1].originalName, QString("twin.JPG"));
    EXPECT_TRUE(photos[1].originalUrl.endsWith(".jpg"));
    EXPECT_EQ(wholeFile(dest(photos[2].originalUrl)), wholeFile(other));

    // The pages see them as the photo's original; nothing offered reads as "".
    COriginals none(COriginals::Offer::None, false, writer);
    std::vector<html::AlbumPhoto> plain(1);
    ASSERT_EQ(none.publish(plain, pictures), GV_OK);
    EXPECT_TRUE(plain[0].originalUrl.isEmpty() && plain[0].originalName.isEmpty());
    html::Theme theme;
    const std::vector<QString> names;
    photos.resize(1);
    const CAlbumContext context(theme, "Trip", {}, photos, pictures, names, 0);
    const QVariantMap page = context.page(html::PageSpec{}, 1);
    const QVariantMap first =
        page["album"].toMap()["photos"].toList().value(0).toMap()["original"].toMap();
    EXPECT_EQ(first["url"].toString(), photos[0].originalUrl);
    EXPECT_EQ(first["name"].toString(), QString("nikon.jpg"));
}

TEST_F(OriginalsTest, PhoneFilesAreOfferedWithoutTheirPlace)
{
    const QString heic = makePhonePhoto(sharedPhoto("exs-DSCN0010.jpg"), work.path(), "gps.heic");
    ASSERT_FALSE(heic.isEmpty());
    ASSERT_TRUE(hasGroup(exifKeysOf(heic), "GPSInfo"));
    album.addPhoto(heic);
    album.setChoice("Download", "Yes");
    album.setChoice("CameraData", "Keep (without location)");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    // Both are offered; the HEIC's copy keeps its size and camera but not its place.
    const QStringList files = originals();
    ASSERT_EQ(files.size(), 2) << files.join(',').toStdString();
    const QString heicCopy = files.filter(".heic").value(0);
    ASSERT_TRUE(heicCopy.endsWith("-k1.heic")) << heicCopy.toStdString();
    const QString copy = dest("originals/" + heicCopy);
    const std::set<std::string> keys = exifKeysOf(copy);
    EXPECT_FALSE(hasGroup(keys, "GPSInfo"));
    EXPECT_FALSE(hasGroup(keys, "Nikon3"));
    EXPECT_TRUE(keys.count("Exif.Image.Model"));
    EXPECT_EQ(QFileInfo(copy).size(), QFileInfo(heic).size());
    EXPECT_NE(wholeFile(copy), wholeFile(heic));
    // Untouched, it is offered as it is.
    album.setChoice("Download", "Yes, untouched originals");
    ASSERT_EQ(album.generate(dest("../untouched")), GV_OK);
    const QStringList kept = originals("untouched");
    ASSERT_EQ(kept.size(), 2) << kept.join(',').toStdString();
    const QString untouched = kept.filter(".heic").value(0);
    EXPECT_EQ(wholeFile(work.file("untouched/originals/" + untouched)), wholeFile(heic));
}

TEST_F(OriginalsTest, AFileWhosePrivateDataCannotGoIsNotOffered)
{
    // A JPEG XL file with its EXIF compressed: what it holds cannot be reduced.
    const QString jxl = makePhonePhoto(sharedPhoto("exs-DSCN0010.jpg"), work.path(), "sealed.jxl");
    ASSERT_FALSE(jxl.isEmpty());
    {
        QFile file(jxl);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray("\0\0\0\x30" "brob" "Exif", 12) + QByteArray(36, '\x5a'));
    }
    album.addPhoto(jxl);
    album.setChoice("Download", "Yes");
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QStringList files = originals();
    ASSERT_EQ(files.size(), 1) << files.join(',').toStdString();
    EXPECT_TRUE(files[0].endsWith(".jpg"));
}
