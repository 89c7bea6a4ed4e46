// SPDX-License-Identifier: GPL-2.0-or-later
// What of a photo's metadata an album publishes: "Keep (without location)" and "Remove" on
// real camera photos, pictures made from photos, and formats whose metadata is read only.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include <QFile>

#include <exiv2/exiv2.hpp>

#include "platform/cameradata.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "tests/support/phonephotos.h"
#include "tests/support/jpegscan.h"
#include "tests/support/testenv.h"

using namespace imaging::metadata;

namespace
{

QString copyOf(const TestFolder& folder, const QString& photo, const QString& name)
{
    const QString path = folder.file(name);
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(sharedTestData("photos/" + photo), path));
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

struct Metadata {
    std::set<std::string> exif, iptc, xmp;
    std::set<std::string> exifGroups;
    std::string comment;
    bool icc = false;
    bool has(const std::string& key) const
    {
        return exif.count(key) || iptc.count(key) || xmp.count(key);
    }
    bool xmpStartingWith(const std::string& prefix) const
    {
        for (const std::string& key : xmp)
            if (key.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
};

Metadata metadataOf(const QString& path)
{
    startUp();
    Metadata found;
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    for (const auto& datum : image->exifData()) {
        found.exif.insert(datum.key());
        found.exifGroups.insert(datum.groupName());
    }
    for (const auto& datum : image->iptcData())
        found.iptc.insert(datum.key());
    for (const auto& datum : image->xmpData())
        found.xmp.insert(datum.key());
    found.comment = image->comment();
    found.icc = image->iccProfileDefined();
    return found;
}

// Gives a real camera photo the owner and serial tags cameras write into their EXIF.
void addOwnerTags(const QString& path)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    exif["Exif.Photo.BodySerialNumber"] = "4012345";
    exif["Exif.Photo.LensSerialNumber"] = "0000778";
    exif["Exif.Photo.CameraOwnerName"] = "Ann Example";
    exif["Exif.Image.Artist"] = "Ann Example Photography";
    exif["Exif.Image.Copyright"] = "(c) Ann Example";
    exif["Exif.Image.HostComputer"] = "ann-laptop";
    image->setExifData(exif);
    Exiv2::XmpData xmp = image->xmpData();
    xmp["Xmp.aux.SerialNumber"] = "4012345";
    xmp["Xmp.exifEX.CameraOwnerName"] = "Ann Example";
    xmp["Xmp.exif.GPSLatitude"] = "43,28.281N";
    xmp["Xmp.dc.title"] = "Harbour";
    image->setXmpData(xmp);
    image->writeMetadata();
}

} // namespace

TEST(CameraData, KeepWithoutLocationDropsWhereAndWhoseButKeepsHow)
{
    TestFolder folder;
    // A Nikon original with a GPS position and maker notes, given serials and an owner.
    const QString path = copyOf(folder, "exs-DSCN0010.jpg", "nikon.jpg");
    addOwnerTags(path);
    const Metadata before = metadataOf(path);
    ASSERT_TRUE(before.exifGroups.count("GPSInfo"));
    ASSERT_TRUE(before.exifGroups.count("Nikon3")); // decoded maker notes
    ASSERT_TRUE(before.has("Exif.Photo.MakerNote"));
    const QByteArray picture = jpegScanData(wholeFile(path));

    ASSERT_TRUE(reduceInPlace(path, Published::WithoutPrivateData));
    const Metadata after = metadataOf(path);
    for (const char* gone :
         {"Exif.Image.GPSTag", "Exif.Photo.MakerNote", "Exif.Photo.BodySerialNumber",
          "Exif.Photo.LensSerialNumber", "Exif.Photo.CameraOwnerName", "Exif.Image.HostComputer",
          "Xmp.aux.SerialNumber", "Xmp.exifEX.CameraOwnerName", "Xmp.exif.GPSLatitude"})
        EXPECT_FALSE(after.has(gone)) << gone;
    for (const std::string& group : after.exifGroups)
        EXPECT_TRUE(group == "Image" || group == "Photo" || group == "Iop") << group;
    for (const char* kept :
         {"Exif.Image.Make", "Exif.Image.Model", "Exif.Photo.ExposureTime", "Exif.Photo.FNumber",
          "Exif.Photo.ISOSpeedRatings", "Exif.Photo.DateTimeOriginal", "Exif.Photo.FocalLength",
          "Exif.Image.Orientation", "Exif.Image.Artist", "Exif.Image.Copyright", "Xmp.dc.title"})
        EXPECT_TRUE(after.has(kept)) << kept;
    // The picture data stay byte for byte, and it still opens.
    EXPECT_EQ(jpegScanData(wholeFile(path)), picture);
    EXPECT_NE(imaging::Image::open(path), nullptr);
    EXPECT_TRUE(holdsOnly(path, Published::WithoutPrivateData));
    // Once reduced there is nothing more to do: the file is not written again.
    const QByteArray reduced = wholeFile(path);
    EXPECT_TRUE(reduceInPlace(path, Published::WithoutPrivateData));
    EXPECT_EQ(wholeFile(path), reduced);
}

TEST(CameraData, SerialsInMakerNotesAndPlaceNamesGoToo)
{
    TestFolder folder;
    const QString olympus = copyOf(folder, "mdi-Olympus_PEN_E-P3.jpg", "olympus.jpg");
    ASSERT_TRUE(metadataOf(olympus).has("Exif.OlympusEq.SerialNumber"));
    ASSERT_TRUE(reduceInPlace(olympus, Published::WithoutPrivateData));
    EXPECT_FALSE(metadataOf(olympus).has("Exif.OlympusEq.SerialNumber"));
    EXPECT_TRUE(metadataOf(olympus).has("Exif.Image.Model"));

    // The IPTC reference photo names its place in IPTC and in XMP; its credits stay.
    const QString reference = copyOf(folder, "fr-IPTC-PhotometadataRef-Std2021.1.jpg", "ref.jpg");
    const Metadata before = metadataOf(reference);
    ASSERT_TRUE(before.has("Iptc.Application2.City"));
    ASSERT_TRUE(before.xmpStartingWith("Xmp.iptcExt.LocationCreated"));
    ASSERT_TRUE(reduceInPlace(reference, Published::WithoutPrivateData));
    const Metadata after = metadataOf(reference);
    for (const char* gone : {"Iptc.Application2.City", "Iptc.Application2.CountryName",
                             "Iptc.Application2.ProvinceState", "Xmp.photoshop.City"})
        EXPECT_FALSE(after.has(gone)) << gone;
    EXPECT_FALSE(after.xmpStartingWith("Xmp.iptcExt.LocationCreated"));
    EXPECT_FALSE(after.xmpStartingWith("Xmp.iptcExt.LocationShown"));
    for (const char* kept : {"Iptc.Application2.Caption", "Iptc.Application2.Byline",
                             "Iptc.Application2.Copyright", "Exif.Image.Artist"})
        EXPECT_TRUE(after.has(kept)) << kept;
}

TEST(CameraData, RemoveKeepsOnlyTheTurnAndTheColourProfile)
{
    TestFolder folder;
    const QString path = copyOf(folder, "exs-landscape_6.jpg", "turned.jpg");
    ASSERT_TRUE(metadataOf(path).icc);
    const QByteArray picture = jpegScanData(wholeFile(path));
    ASSERT_TRUE(reduceInPlace(path, Published::OrientationAndProfile));
    const Metadata after = metadataOf(path);
    EXPECT_EQ(after.exif, std::set<std::string>{"Exif.Image.Orientation"});
    EXPECT_TRUE(after.iptc.empty());
    EXPECT_TRUE(after.xmp.empty());
    EXPECT_TRUE(after.icc);
    EXPECT_EQ(jpegScanData(wholeFile(path)), picture);

    // Everything of a photo full of metadata goes, and its pixels still decode the same.
    const QString full = copyOf(folder, "fr-IPTC-PhotometadataRef-Std2021.1.jpg", "full.jpg");
    const QImage shown = imaging::Image::open(full)->pixels();
    ASSERT_TRUE(reduceInPlace(full, Published::OrientationAndProfile));
    const Metadata stripped = metadataOf(full);
    EXPECT_TRUE(stripped.iptc.empty() && stripped.xmp.empty() && stripped.comment.empty());
    EXPECT_LE(stripped.exif.size(), 1u);
    EXPECT_EQ(imaging::Image::open(full)->pixels(), shown);
}

TEST(CameraData, TiffPicturesSurviveEitherRule)
{
    TestFolder folder;
    for (const Published rule : {Published::WithoutPrivateData, Published::OrientationAndProfile}) {
        const QString path = copyOf(folder, "ex2-Reagan.tiff", "reagan.tiff");
        const QImage shown = imaging::Image::open(path)->pixels();
        ASSERT_FALSE(shown.isNull());
        ASSERT_TRUE(reduceInPlace(path, rule));
        const auto reopened = imaging::Image::open(path);
        ASSERT_NE(reopened, nullptr);
        EXPECT_EQ(reopened->pixels(), shown);
        EXPECT_TRUE(metadataOf(path).iptc.empty() || rule == Published::WithoutPrivateData);
    }
}

TEST(CameraData, PhoneFormatsSayWhetherTheyHoldTooMuch)
{
    TestFolder folder;
    // A HEIC with the camera's GPS position loses it where it lies: the file keeps its size.
    const QString heic =
        makePhonePhoto(sharedTestData("photos/exs-DSCN0010.jpg"), folder.path(), "gps.heic");
    ASSERT_FALSE(heic.isEmpty());
    const qint64 size = QFile(heic).size();
    EXPECT_FALSE(holdsOnly(heic, Published::WithoutPrivateData));
    EXPECT_TRUE(reduceInPlace(heic, Published::WithoutPrivateData));
    EXPECT_TRUE(holdsOnly(heic, Published::WithoutPrivateData));
    EXPECT_FALSE(metadataOf(heic).exifGroups.count("GPSInfo"));
    EXPECT_EQ(QFile(heic).size(), size);
    // One without metadata holds nothing either rule drops.
    const QString bare =
        makePhonePhoto(sharedTestData("photos/mdi-24bpp-10x10.bmp"), folder.path(), "bare.heic");
    EXPECT_TRUE(holdsOnly(bare, Published::OrientationAndProfile));
    EXPECT_TRUE(reduceInPlace(bare, Published::OrientationAndProfile));
    // Files without metadata the library knows hold nothing to drop.
    const QString gif = copyOf(folder, "mdi-mspaint-10x10.gif", "p.gif");
    EXPECT_TRUE(reduceInPlace(gif, Published::OrientationAndProfile));
    const QString text = folder.write("notes.jpg", "no picture here");
    EXPECT_TRUE(holdsOnly(text, Published::WithoutPrivateData));
}

TEST(CameraData, PicturesGetTheCameraDataWithoutPrivateDataUpright)
{
    TestFolder folder;
    const QString photo = copyOf(folder, "exs-DSCN0010.jpg", "photo.jpg");
    addOwnerTags(photo);
    QImage pixels(64, 48, QImage::Format_ARGB32);
    pixels.fill(Qt::darkCyan);
    const QString picture = folder.file("picture.jpg");
    ASSERT_TRUE(imaging::Image::fromQImage(pixels)->save(picture, "image/jpeg"));
    ASSERT_TRUE(copyCameraData(photo, picture, 64, 48));
    const Metadata made = metadataOf(picture);
    EXPECT_TRUE(made.has("Exif.Image.Model"));
    EXPECT_TRUE(made.has("Exif.Photo.ExposureTime"));
    for (const char* gone : {"Exif.Image.GPSTag", "Exif.Photo.MakerNote",
                             "Exif.Photo.BodySerialNumber", "Exif.Photo.CameraOwnerName"})
        EXPECT_FALSE(made.has(gone)) << gone;
    for (const std::string& group : made.exifGroups)
        EXPECT_TRUE(group == "Image" || group == "Photo" || group == "Iop") << group;
    EXPECT_TRUE(made.xmp.empty());
    const auto image = imaging::Image::open(picture);
    const auto turn = image->property(274);
    ASSERT_TRUE(turn.has_value());
    EXPECT_EQ(uchar(turn->value[0]), 1);
    // A photo without metadata gives none, and that is fine.
    const QString plain = folder.file("plain.jpg");
    ASSERT_TRUE(imaging::Image::fromQImage(pixels)->save(plain, "image/jpeg"));
    EXPECT_TRUE(copyCameraData(plain, picture, 64, 48));
}
