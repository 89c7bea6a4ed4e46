// SPDX-License-Identifier: GPL-2.0-or-later
// The metadata of HEIC, AVIF and JPEG XL photos reduced where it lies: made by libvips from a
// real camera photo given serials, an owner and a place, reduced by either rule, then read back
// with exiv2 and libvips; the pictures decode to the same pixels and the files keep their size.
// Damaged and hostile files are refused and left as they were.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include <QFile>
#include <QtEndian>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>

#include "platform/bmffmetadata.h"
#include "platform/cameradata.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "tests/support/jpegscan.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

using namespace imaging::metadata;

namespace
{

struct Keys {
    std::set<std::string> exif, xmp;
    bool has(const std::string& key) const { return exif.count(key) || xmp.count(key); }
    bool anyStartingWith(const std::string& prefix) const
    {
        for (const auto* set : {&exif, &xmp})
            for (const std::string& key : *set)
                if (key.rfind(prefix, 0) == 0)
                    return true;
        return false;
    }
};

Keys keysOf(const QString& path)
{
    startUp();
    Keys found;
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    for (const auto& datum : image->exifData())
        found.exif.insert(datum.key());
    for (const auto& datum : image->xmpData())
        found.xmp.insert(datum.key());
    return found;
}

// A Nikon original with GPS and maker notes, given serials, an owner and a place in XMP.
QString cameraPhoto(const TestFolder& folder)
{
    const QString path = folder.file("camera.jpg");
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(sharedTestData("photos/exs-DSCN0010.jpg"), path));
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    startUp();
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    exif["Exif.Photo.BodySerialNumber"] = "4012345";
    exif["Exif.Photo.LensSerialNumber"] = "0000778";
    exif["Exif.Photo.CameraOwnerName"] = "Owen Owner";
    image->setExifData(exif);
    Exiv2::XmpData xmp = image->xmpData();
    xmp["Xmp.exif.GPSLatitude"] = "43,28.281N";
    xmp["Xmp.photoshop.City"] = "Portovenere";
    xmp["Xmp.aux.SerialNumber"] = "4012345";
    xmp["Xmp.dc.title"] = "Harbour";
    image->setXmpData(xmp);
    image->writeMetadata();
    return path;
}

QByteArray box(const char type[4], const QByteArray& payload)
{
    QByteArray size(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(8 + payload.size()), size.data());
    return size + QByteArray(type, 4) + payload;
}

QByteArray xmpPacketOf(const QString& path)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return QByteArray::fromStdString(image->xmpPacket());
}

// The phone photo of the camera photo; JPEG XL files get the XMP box cameras add too.
QString phonePhoto(const TestFolder& folder, const QString& name)
{
    const QString camera = cameraPhoto(folder);
    const QString path = makePhonePhoto(camera, folder.path(), name);
    if (path.isEmpty() || !name.endsWith(".jxl"))
        return path;
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(box("xml ", xmpPacketOf(camera))) <= 0)
        return QString();
    return path;
}

// The decoded pixels of a file, read through a copy under a new name so that no decoding of
// the file before a change is taken for one after it.
QByteArray pixelsOf(const QString& path, const QString& copyName)
{
    const QString copy = path.section(u'/', 0, -2) + u'/' + copyName;
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        return QByteArray();
    const vips::VImage image = vips::VImage::new_from_file(copy.toUtf8().constData());
    size_t size = 0;
    void* memory = image.write_to_memory(&size);
    const QByteArray pixels(static_cast<const char*>(memory), static_cast<qsizetype>(size));
    g_free(memory);
    return pixels;
}

// What libvips hands on of a file's EXIF and XMP, as text.
std::string libvipsMetadataOf(const QString& path, const QString& copyName)
{
    const QString copy = path.section(u'/', 0, -2) + u'/' + copyName;
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(path, copy));
    const vips::VImage image = vips::VImage::new_from_file(copy.toUtf8().constData());
    std::string text;
    for (const char* field : {"exif-data", "xmp-data"}) {
        if (image.get_typeof(field) == 0)
            continue;
        size_t length = 0;
        const void* data = image.get_blob(field, &length);
        text.append(static_cast<const char*>(data), length);
    }
    if (image.get_typeof("exif-ifd3-GPSLatitude") != 0)
        text += "exif-ifd3-GPSLatitude";
    return text;
}

// Where the location entry of an item with one extent starts, where its base offset lies and
// where its extent's offset and length lie, in a file whose iloc uses 4-byte offsets, lengths
// and base offsets (as libheif writes it).
struct Entry {
    qsizetype at = -1, base = -1, extent = -1;
};
Entry entryOf(const QByteArray& file, quint16 item)
{
    const qsizetype iloc = file.indexOf("iloc");
    if (iloc < 0 || file[iloc + 4] != 0 || file[iloc + 8] != '\x44' || file[iloc + 9] != '\x40')
        return {};
    const int base = 4;
    const int count = qFromBigEndian<quint16>(file.constData() + iloc + 10);
    for (qsizetype i = 0, at = iloc + 12; i < count; ++i, at += 14 + base)
        if (qFromBigEndian<quint16>(file.constData() + at) == item)
            return {at, at + 4, at + 6 + base};
    return {};
}

} // namespace

TEST(BmffMetadata, PhoneFilesGiveUpPlaceAndOwnerButKeepHowTheyWereTaken)
{
    for (const char* name : {"phone.heic", "phone.avif", "phone.jxl"}) {
        SCOPED_TRACE(name);
        TestFolder folder;
        const QString path = phonePhoto(folder, name);
        ASSERT_FALSE(path.isEmpty());
        const Keys before = keysOf(path);
        ASSERT_TRUE(before.anyStartingWith("Exif.GPSInfo."));
        ASSERT_TRUE(before.has("Exif.Photo.BodySerialNumber"));
        ASSERT_TRUE(before.anyStartingWith("Exif.Nikon3.")); // decoded maker notes
        ASSERT_TRUE(before.has("Xmp.exif.GPSLatitude"));
        ASSERT_TRUE(before.has("Xmp.photoshop.City"));
        ASSERT_FALSE(holdsOnly(path, Published::WithoutPrivateData));
        const qint64 size = QFile(path).size();
        const QByteArray pixels = pixelsOf(path, "before-" + QString(name));
        ASSERT_FALSE(pixels.isEmpty());

        ASSERT_TRUE(reduceInPlace(path, Published::WithoutPrivateData));
        const Keys after = keysOf(path);
        for (const char* gone :
             {"Exif.Photo.BodySerialNumber", "Exif.Photo.LensSerialNumber",
              "Exif.Photo.CameraOwnerName", "Exif.Photo.MakerNote", "Exif.Image.GPSTag",
              "Xmp.exif.GPSLatitude", "Xmp.photoshop.City", "Xmp.aux.SerialNumber"})
            EXPECT_FALSE(after.has(gone)) << gone;
        EXPECT_FALSE(after.anyStartingWith("Exif.GPSInfo."));
        EXPECT_FALSE(after.anyStartingWith("Exif.Nikon3."));
        for (const char* kept : {"Exif.Image.Make", "Exif.Image.Model", "Exif.Photo.ExposureTime",
                                 "Exif.Photo.FNumber", "Exif.Photo.DateTimeOriginal",
                                 "Xmp.dc.title"})
            EXPECT_TRUE(after.has(kept)) << kept;
        const std::string seen = libvipsMetadataOf(path, "after-" + QString(name));
        for (const char* gone : {"4012345", "0000778", "Owen Owner", "Portovenere", "GPSLatitude"})
            EXPECT_EQ(seen.find(gone), std::string::npos) << gone;
        if (!QString(name).endsWith(".jxl")) { // libvips hands on no EXIF of JPEG XL files
            EXPECT_NE(seen.find("COOLPIX P6000"), std::string::npos); // the camera model stays
        }
        EXPECT_EQ(QFile(path).size(), size);
        EXPECT_EQ(pixelsOf(path, "reduced-" + QString(name)), pixels);
        EXPECT_TRUE(holdsOnly(path, Published::WithoutPrivateData));
        // Reduced once, the file is not written again.
        const QByteArray reduced = wholeFile(path);
        EXPECT_TRUE(reduceInPlace(path, Published::WithoutPrivateData));
        EXPECT_EQ(wholeFile(path), reduced);
    }
}

TEST(BmffMetadata, RemoveKeepsTheTurnAndTheColourProfileOfAHeif)
{
    TestFolder folder;
    // A photo with a colour profile: libvips stores it as the image item's property.
    const QString path = makePhonePhoto(sharedTestData("photos/exs-landscape_6.jpg"),
                                        folder.path(), "profiled.heic");
    ASSERT_FALSE(path.isEmpty());
    ASSERT_FALSE(keysOf(path).exif.empty());
    const QByteArray pixels = pixelsOf(path, "before.heic");
    const qint64 size = QFile(path).size();
    ASSERT_TRUE(reduceInPlace(path, Published::OrientationAndProfile));
    const Keys after = keysOf(path);
    for (const std::string& key : after.exif)
        EXPECT_EQ(key, "Exif.Image.Orientation");
    EXPECT_TRUE(after.xmp.empty());
    EXPECT_TRUE(holdsOnly(path, Published::OrientationAndProfile));
    EXPECT_EQ(QFile(path).size(), size);
    EXPECT_EQ(pixelsOf(path, "after.heic"), pixels);
    const QString copy = folder.file("profile.heic");
    ASSERT_TRUE(QFile::copy(path, copy));
    EXPECT_NE(vips::VImage::new_from_file(copy.toUtf8().constData()).get_typeof("icc-profile-data"),
              0u);
    // Everything went: Keep finds nothing more to drop either.
    EXPECT_TRUE(holdsOnly(path, Published::WithoutPrivateData));
}

TEST(BmffMetadata, CompressedJpegXlMetadataIsRefusedAndABareCodestreamHoldsNone)
{
    TestFolder folder;
    const QString path = phonePhoto(folder, "boxed.jxl");
    ASSERT_FALSE(path.isEmpty());
    // A brotli-compressed EXIF box may hold anything: it cannot be reduced or vouched for.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(box("brob", QByteArray("Exif") + QByteArray(40, '\x5a')));
    }
    const QByteArray bytes = wholeFile(path);
    EXPECT_FALSE(reduceInPlace(path, Published::WithoutPrivateData));
    EXPECT_FALSE(holdsOnly(path, Published::WithoutPrivateData));
    EXPECT_EQ(wholeFile(path), bytes);
    EXPECT_EQ(BmffMetadata(bytes).layout(), BmffMetadata::Layout::Sealed);

    const QString bare = folder.file("bare.jxl");
    vips::VImage::new_from_file(sharedTestData("photos/exs-DSCN0010.jpg").toUtf8().constData())
        .write_to_file(bare.toUtf8().constData());
    const QByteArray codestream = wholeFile(bare);
    ASSERT_TRUE(codestream.startsWith("\xff\x0a"));
    EXPECT_EQ(BmffMetadata(codestream).layout(), BmffMetadata::Layout::NotContainer);
    EXPECT_TRUE(reduceInPlace(bare, Published::WithoutPrivateData));
    EXPECT_TRUE(holdsOnly(bare, Published::OrientationAndProfile));
    EXPECT_EQ(wholeFile(bare), codestream);
}

TEST(BmffMetadata, DamagedAndHostileFilesAreRefusedAsTheyWere)
{
    TestFolder folder;
    const QString path = phonePhoto(folder, "whole.heic");
    ASSERT_FALSE(path.isEmpty());
    const QByteArray whole = wholeFile(path);
    const auto refusedUnchanged = [&](const QByteArray& bytes, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(BmffMetadata(bytes).layout(), BmffMetadata::Layout::Damaged);
        const QString file = folder.write("hostile.heic", bytes);
        EXPECT_FALSE(reduceInPlace(file, Published::WithoutPrivateData));
        EXPECT_EQ(wholeFile(file), bytes);
    };
    // Cut short in the item table, and in the picture data after the metadata.
    refusedUnchanged(whole.left(200), "cut in the meta box");
    refusedUnchanged(whole.left(whole.size() - 1000), "cut in the picture data");

    const Entry exifEntry = entryOf(whole, 2), pictureEntry = entryOf(whole, 1);
    const qsizetype exif = exifEntry.extent;
    ASSERT_GT(exif, 0);
    ASSERT_GT(pictureEntry.at, 0);
    QByteArray onPicture = whole; // the EXIF item said to lie on the picture's data
    std::copy_n(whole.constData() + pictureEntry.base, 4, onPicture.data() + exifEntry.base);
    std::copy_n(whole.constData() + pictureEntry.extent, 4, onPicture.data() + exif);
    refusedUnchanged(onPicture, "metadata over the picture");
    QByteArray beyond = whole; // an EXIF item running past the end of the file
    qToBigEndian<quint32>(0xfffffff0u, beyond.data() + exif + 4);
    refusedUnchanged(beyond, "metadata beyond the file");
    QByteArray wrapped = whole; // an offset that wraps around when added
    qToBigEndian<quint32>(0xffffffffu, wrapped.data() + exif);
    refusedUnchanged(wrapped, "offset past the end");
    QByteArray meta = whole; // a meta box larger than the file
    qToBigEndian<quint32>(0x7fffffffu, meta.data() + whole.indexOf("meta") - 4);
    refusedUnchanged(meta, "meta box too large");
    QByteArray twice = whole; // two location entries claiming the EXIF item
    ASSERT_GT(entryOf(whole, 3).at, 0);
    qToBigEndian<quint16>(2, twice.data() + entryOf(whole, 3).at);
    refusedUnchanged(twice, "one item located twice");
}

TEST(BmffMetadata, GarbledBoxesNeverLeadOutsideTheFile)
{
    // Random bytes over the boxes before the picture data and random cuts: every walk either
    // refuses the file or finds blocks it can fill without growing or moving anything.
    TestFolder folder;
    QByteArray seeds[2];
    seeds[0] = wholeFile(phonePhoto(folder, "seed.heic"));
    seeds[1] = wholeFile(phonePhoto(folder, "seed.jxl"));
    ASSERT_FALSE(seeds[0].isEmpty());
    ASSERT_FALSE(seeds[1].isEmpty());
    std::mt19937 random(17);
    int located = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = seeds[round % 2];
        const int head = static_cast<int>(std::min<qsizetype>(bytes.size(), 700));
        for (int flips = 1 + int(random() % 4); flips > 0; --flips)
            bytes[int(random() % head)] = char(random() % 4 == 0 ? 0xff : random() % 256);
        if (round % 5 == 0)
            bytes.truncate(int(random() % bytes.size()));
        BmffMetadata walked(bytes);
        if (walked.layout() != BmffMetadata::Layout::Located)
            continue;
        located += walked.count() > 0;
        qsizetype total = 0;
        for (int block = 0; block < walked.count(); ++block) {
            const QByteArray payload = walked.payload(block);
            total += payload.size();
            ASSERT_TRUE(walked.replace(block, QByteArray(payload.size(), '\0')));
            EXPECT_FALSE(walked.replace(block, payload + 'x'));
        }
        ASSERT_LE(total, bytes.size());
        ASSERT_EQ(walked.bytes().size(), bytes.size());
        qsizetype differing = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            differing += walked.bytes()[i] != bytes[i];
        ASSERT_LE(differing, total);
    }
    EXPECT_GT(located, 300); // most flips miss what matters: the walks that go on are tried
    EXPECT_LT(located, 2900); // and many do not
    // Through the whole reduction, some garbled files on disk: refused ones stay as they were.
    for (int round = 0; round < 60; ++round) {
        QByteArray bytes = seeds[round % 2];
        for (int flips = 1 + int(random() % 3); flips > 0; --flips)
            bytes[int(random() % 700)] = char(random() % 256);
        const QString file = folder.write(round % 2 ? "garbled.jxl" : "garbled.heic", bytes);
        if (!reduceInPlace(file, Published::WithoutPrivateData)) {
            EXPECT_EQ(wholeFile(file), bytes);
        } else {
            EXPECT_EQ(QFile(file).size(), bytes.size());
        }
    }
}
