// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/cameradata.h"

#include <string>
#include <string_view>

#include <exiv2/exiv2.hpp>

#include "platform/imagemetadata.h"

namespace imaging::metadata
{

namespace
{

// EXIF tags of the main groups that name the camera, its owner or the computer.
constexpr std::string_view PrivateExifKeys[] = {
    "Exif.Image.GPSTag",          "Exif.Photo.BodySerialNumber",   "Exif.Photo.LensSerialNumber",
    "Exif.Photo.CameraOwnerName", "Exif.Image.CameraSerialNumber", "Exif.Photo.ImageUniqueID",
    "Exif.Photo.MakerNote",       "Exif.Image.DNGPrivateData",     "Exif.Image.HostComputer",
};

// XMP properties (and the structures below them) with the same meaning.
constexpr std::string_view PrivateXmpPrefixes[] = {
    "Xmp.exif.GPS",
    "Xmp.exifEX.BodySerialNumber",
    "Xmp.exifEX.LensSerialNumber",
    "Xmp.exifEX.CameraOwnerName",
    "Xmp.exifEX.ImageUniqueID",
    "Xmp.exif.ImageUniqueID",
    "Xmp.aux.SerialNumber",
    "Xmp.aux.LensSerialNumber",
    "Xmp.aux.OwnerName",
    "Xmp.tiff.HostComputer",
    "Xmp.photoshop.City",
    "Xmp.photoshop.State",
    "Xmp.photoshop.Country",
    "Xmp.iptc.Location",
    "Xmp.iptc.CountryCode",
    "Xmp.iptcExt.LocationCreated",
    "Xmp.iptcExt.LocationShown",
};

// IPTC datasets that name places.
constexpr std::string_view PrivateIptcKeys[] = {
    "Iptc.Application2.LocationCode",  "Iptc.Application2.LocationName",
    "Iptc.Application2.City",          "Iptc.Application2.SubLocation",
    "Iptc.Application2.ProvinceState", "Iptc.Application2.CountryCode",
    "Iptc.Application2.CountryName",
};

template <typename List> bool listed(const List& list, const std::string& key)
{
    for (std::string_view entry : list)
        if (key == entry)
            return true;
    return false;
}

bool isPrivateExif(const Exiv2::Exifdatum& datum)
{
    // Only the main image, camera and interoperability groups are kept: GPS, maker notes
    // (decoded into groups of their own) and the thumbnail's directory are not.
    const std::string group = datum.groupName();
    if (group != "Image" && group != "Photo" && group != "Iop")
        return true;
    return listed(PrivateExifKeys, datum.key());
}

bool isPrivateXmp(const Exiv2::Xmpdatum& datum)
{
    const std::string key = datum.key();
    for (std::string_view prefix : PrivateXmpPrefixes)
        if (std::string_view(key).starts_with(prefix))
            return true;
    return false;
}

template <typename Data, typename Drops> bool eraseWhere(Data& data, Drops drops)
{
    bool erased = false;
    for (auto item = data.begin(); item != data.end();) {
        if (drops(*item)) {
            item = data.erase(item);
            erased = true;
        } else {
            ++item;
        }
    }
    return erased;
}

// The metadata of one file, changed in memory.
struct Reduced {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    std::string comment;
    bool changed = false;
};

Reduced reduce(Exiv2::Image& image, Published rule)
{
    Reduced out{image.exifData(), image.iptcData(), image.xmpData(), image.comment()};
    if (rule == Published::OrientationAndProfile) {
        // A TIFF keeps its colour profile among its tags.
        out.changed = eraseWhere(out.exif, [](const Exiv2::Exifdatum& datum) {
            return datum.key() != "Exif.Image.Orientation" &&
                   datum.key() != "Exif.Image.InterColorProfile";
        });
        out.changed = !out.iptc.empty() || !out.xmp.empty() || !out.comment.empty() || out.changed;
        out.iptc.clear();
        out.xmp.clear();
        out.comment.clear();
        return out;
    }
    const bool exif = eraseWhere(out.exif, isPrivateExif);
    const bool iptc = eraseWhere(out.iptc, [](const Exiv2::Iptcdatum& datum) {
        return listed(PrivateIptcKeys, datum.key());
    });
    const bool xmp = eraseWhere(out.xmp, isPrivateXmp);
    out.changed = exif || iptc || xmp;
    return out;
}

bool writes(const Exiv2::Image& image, Exiv2::MetadataId kind)
{
    const Exiv2::AccessMode mode = Exiv2::ImageFactory::checkMode(image.imageType(), kind);
    return mode == Exiv2::amWrite || mode == Exiv2::amReadWrite;
}

Exiv2::Image::AutoPtr openRead(const QString& path)
{
    startUp();
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    if (image.get() != nullptr)
        image->readMetadata();
    return image;
}

// Writes what the file's format holds; false when one kind it has cannot be written.
bool writeBack(Exiv2::Image& image, const Reduced& reduced)
{
    const struct {
        Exiv2::MetadataId kind;
        bool present;
    } kinds[] = {{Exiv2::mdExif, !image.exifData().empty()},
                 {Exiv2::mdIptc, !image.iptcData().empty()},
                 {Exiv2::mdXmp, !image.xmpData().empty()},
                 {Exiv2::mdComment, !image.comment().empty()}};
    for (const auto& kind : kinds)
        if (kind.present && !writes(image, kind.kind))
            return false;
    if (writes(image, Exiv2::mdExif))
        image.setExifData(reduced.exif);
    if (writes(image, Exiv2::mdIptc))
        image.setIptcData(reduced.iptc);
    if (writes(image, Exiv2::mdXmp))
        image.setXmpData(reduced.xmp);
    if (writes(image, Exiv2::mdComment))
        image.setComment(reduced.comment);
    image.writeMetadata();
    return true;
}

} // namespace

bool reduceInPlace(const QString& path, Published rule)
{
    Exiv2::Image::AutoPtr image;
    try {
        image = openRead(path);
    } catch (...) {
        return true; // nothing the library can read: no metadata it could find either
    }
    if (image.get() == nullptr)
        return true;
    try {
        const Reduced reduced = reduce(*image, rule);
        return !reduced.changed || writeBack(*image, reduced);
    } catch (...) {
        return false;
    }
}

bool holdsOnly(const QString& path, Published rule)
{
    try {
        Exiv2::Image::AutoPtr image = openRead(path);
        return image.get() == nullptr || !reduce(*image, rule).changed;
    } catch (...) {
        return true;
    }
}

bool copyCameraData(const QString& photo, const QString& picture, int width, int height)
{
    try {
        Exiv2::Image::AutoPtr source = openRead(photo);
        if (source.get() == nullptr || source->exifData().empty())
            return true;
        Exiv2::ExifData exif = source->exifData();
        eraseWhere(exif, isPrivateExif);
        Exiv2::ExifThumb(exif).erase();
        exif["Exif.Image.Orientation"] = static_cast<uint16_t>(1);
        if (exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension")) != exif.end()) {
            exif["Exif.Photo.PixelXDimension"] = static_cast<uint32_t>(width);
            exif["Exif.Photo.PixelYDimension"] = static_cast<uint32_t>(height);
        }
        Exiv2::Image::AutoPtr target = openRead(picture);
        if (target.get() == nullptr || !writes(*target, Exiv2::mdExif))
            return true;
        target->setExifData(exif);
        target->writeMetadata();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace imaging::metadata
