// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/imagemetadata.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include <exiv2/exiv2.hpp>

namespace imaging::metadata {

namespace {

// The EXIF groups whose tags are items: the main image, the camera, GPS, interoperability.
bool isItemGroup(const std::string& group)
{
    return group == "Image" || group == "Photo" || group == "GPSInfo" || group == "Iop";
}

bool knownIn(uint16_t tag, const char* group)
{
    try {
        return Exiv2::ExifKey(tag, group).tagName().rfind("0x", 0) != 0;
    } catch (...) {
        return false;
    }
}

// The group a new item goes to: where the tag is defined, the main image when in doubt.
const char* groupFor(uint16_t tag)
{
    if (knownIn(tag, "Photo"))
        return "Photo";
    if (knownIn(tag, "Image"))
        return "Image";
    if (tag < 32)
        return "GPSInfo";
    return "Image";
}

PropertyItem toItem(const Exiv2::Exifdatum& datum)
{
    PropertyItem item;
    item.id = datum.tag();
    item.type = static_cast<uint16_t>(datum.typeId());
    item.value.resize(static_cast<qsizetype>(datum.size()));
    if (!item.value.isEmpty())
        datum.copy(reinterpret_cast<Exiv2::byte*>(item.value.data()), Exiv2::littleEndian);
    return item;
}

void addItem(Exiv2::ExifData& exif, const PropertyItem& item)
{
    const auto tag = static_cast<uint16_t>(item.id);
    Exiv2::Value::AutoPtr value = Exiv2::Value::create(static_cast<Exiv2::TypeId>(item.type));
    value->read(reinterpret_cast<const Exiv2::byte*>(item.value.constData()),
                static_cast<long>(item.value.size()), Exiv2::littleEndian);
    exif.add(Exiv2::ExifKey(tag, groupFor(tag)), value.get());
}

Exiv2::Image::AutoPtr openFile(const QString& path)
{
    // Damaged maker notes are common in camera files; exiv2 reads past them and would
    // otherwise print a warning for each one on the terminal (startUp silences it).
    startUp();
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    if (image.get() != nullptr)
        image->readMetadata();
    return image;
}

// Namespaces registered while files are read (on worker threads) go through this lock.
std::mutex xmpLock;
std::atomic<bool> xmpStarted{false};

void lockXmp(void*, bool lock)
{
    if (lock)
        xmpLock.lock();
    else
        xmpLock.unlock();
}

} // namespace

void startUp()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // Off by default in this version of the library: without it a HEIF file reads as a
        // video with none of its photo's EXIF.
        Exiv2::enableBMFF(true);
        xmpStarted = Exiv2::XmpParser::initialize(lockXmp, nullptr);
    });
}

bool started()
{
    return xmpStarted;
}

std::vector<PropertyItem> read(const QString& path)
{
    std::vector<PropertyItem> items;
    try {
        Exiv2::Image::AutoPtr image = openFile(path);
        if (image.get() == nullptr)
            return items;
        for (const Exiv2::Exifdatum& datum : image->exifData())
            if (isItemGroup(datum.groupName()))
                items.push_back(toItem(datum));
    } catch (...) {
        items.clear(); // unreadable metadata reads as none
    }
    return items;
}

std::vector<PropertyItem> readExifBlock(const QByteArray& block)
{
    std::vector<PropertyItem> items;
    const QByteArray tiff = block.startsWith(QByteArray("Exif\0\0", 6)) ? block.mid(6) : block;
    if (tiff.size() < 8)
        return items;
    try {
        startUp();
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(tiff.constData()),
                                  static_cast<uint32_t>(tiff.size()));
        for (const Exiv2::Exifdatum& datum : exif)
            if (isItemGroup(datum.groupName()))
                items.push_back(toItem(datum));
    } catch (...) {
        items.clear();
    }
    return items;
}

bool write(const QString& path, const std::vector<PropertyItem>& items)
{
    try {
        Exiv2::Image::AutoPtr image = openFile(path);
        if (image.get() == nullptr)
            return false;
        Exiv2::ExifData exif = image->exifData();
        // Replace the item groups; keep what items do not describe (maker notes, thumbnail).
        for (auto it = exif.begin(); it != exif.end();)
            it = isItemGroup(it->groupName()) ? exif.erase(it) : std::next(it);
        for (const PropertyItem& item : items)
            addItem(exif, item);
        image->setExifData(exif);
        image->writeMetadata();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace imaging::metadata

namespace imaging::metadata {

namespace {

// Tags that describe how a file stores its picture; the file written from edited pixels
// describes its own.
// clang-format off
const char* const LayoutTags[] = {
    "Exif.Image.NewSubfileType", "Exif.Image.ImageWidth", "Exif.Image.ImageLength",
    "Exif.Image.BitsPerSample", "Exif.Image.Compression", "Exif.Image.PhotometricInterpretation",
    "Exif.Image.StripOffsets", "Exif.Image.SamplesPerPixel", "Exif.Image.RowsPerStrip",
    "Exif.Image.StripByteCounts", "Exif.Image.PlanarConfiguration", "Exif.Image.TileWidth",
    "Exif.Image.TileLength", "Exif.Image.TileOffsets", "Exif.Image.TileByteCounts",
    "Exif.Image.SubIFDs", "Exif.Image.JPEGInterchangeFormat",
    "Exif.Image.JPEGInterchangeFormatLength", "Exif.Image.ReferenceBlackWhite",
};
// clang-format on

void eraseKey(Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it != exif.end())
        exif.erase(it);
}

// Writes value into an existing tag, keeping its type where the value is unchanged.
void restate(Exiv2::ExifData& exif, const char* key, uint32_t value)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it != exif.end() && it->toLong() != static_cast<long>(value))
        *it = value;
}

void editExif(Exiv2::ExifData& exif, int width, int height)
{
    Exiv2::ExifThumb(exif).erase();
    for (const char* key : LayoutTags)
        eraseKey(exif, key);
    const auto turn = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (turn != exif.end())
        *turn = static_cast<uint16_t>(1);
    restate(exif, "Exif.Photo.PixelXDimension", static_cast<uint32_t>(width));
    restate(exif, "Exif.Photo.PixelYDimension", static_cast<uint32_t>(height));
}

void editXmp(Exiv2::XmpData& xmp)
{
    for (const char* key :
         {"Xmp.tiff.ReferenceBlackWhite", "Xmp.tiff.ImageWidth", "Xmp.tiff.ImageLength",
          "Xmp.exif.PixelXDimension", "Xmp.exif.PixelYDimension"}) {
        const auto it = xmp.findKey(Exiv2::XmpKey(key));
        if (it != xmp.end())
            xmp.erase(it);
    }
    const auto turn = xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation"));
    if (turn != xmp.end())
        turn->setValue("1");
}

bool writes(const Exiv2::Image& image, Exiv2::MetadataId kind)
{
    const Exiv2::AccessMode mode = Exiv2::ImageFactory::checkMode(image.imageType(), kind);
    return mode == Exiv2::amWrite || mode == Exiv2::amReadWrite;
}

// An ICC profile says its colour space at bytes 16 to 19; the edited pixels are RGB.
bool isRgbProfile(const Exiv2::DataBuf& profile)
{
    return profile.size_ >= 20 && std::memcmp(profile.pData_ + 16, "RGB ", 4) == 0;
}

bool hasMetadata(Exiv2::Image& image)
{
    return !image.exifData().empty() || !image.iptcData().empty() || !image.xmpData().empty() ||
           !image.comment().empty() || image.iccProfileDefined();
}

} // namespace

bool carryOverToEdited(const QString& source, const QString& target, int width, int height)
{
    Exiv2::Image::AutoPtr from;
    try {
        from = openFile(source);
    } catch (...) {
        return true; // a source without readable metadata has nothing to carry
    }
    if (from.get() == nullptr || !hasMetadata(*from))
        return true;
    try {
        Exiv2::Image::AutoPtr to = openFile(target);
        if (to.get() == nullptr)
            return false;
        // BMP and GIF files open for reading only: they hold no metadata to write.
        if (!writes(*to, Exiv2::mdExif) && !writes(*to, Exiv2::mdXmp))
            return true;
        if (writes(*to, Exiv2::mdExif)) {
            Exiv2::ExifData exif = from->exifData();
            editExif(exif, width, height);
            to->setExifData(exif);
        }
        if (writes(*to, Exiv2::mdIptc))
            to->setIptcData(from->iptcData());
        if (writes(*to, Exiv2::mdXmp)) {
            Exiv2::XmpData xmp = from->xmpData();
            editXmp(xmp);
            to->setXmpData(xmp);
        }
        if (writes(*to, Exiv2::mdComment))
            to->setComment(from->comment());
        if (writes(*to, Exiv2::mdIccProfile) && from->iccProfileDefined() &&
            isRgbProfile(*from->iccProfile())) {
            Exiv2::DataBuf profile(from->iccProfile()->pData_, from->iccProfile()->size_);
            to->setIccProfile(profile);
        }
        to->writeMetadata();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace imaging::metadata
