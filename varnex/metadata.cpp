// SPDX-License-Identifier: GPL-2.0-or-later
// The camera metadata a picture may keep from its photo: EXIF, without the GPS position.
#include "varnex/operations.h"

#include <mutex>

#include <exiv2/exiv2.hpp>

namespace varnex {

namespace {

bool holdsExif(FileFormat format)
{
    return format == FileFormat::Jpeg || format == FileFormat::Png || format == FileFormat::Tiff ||
           format == FileFormat::Webp;
}

void removeGps(Exiv2::ExifData& exif)
{
    for (auto item = exif.begin(); item != exif.end();) {
        if (item->groupName() == "GPSInfo")
            item = exif.erase(item);
        else
            ++item;
    }
    const auto pointer = exif.findKey(Exiv2::ExifKey("Exif.Image.GPSTag"));
    if (pointer != exif.end())
        exif.erase(pointer);
}

// Tags that described the photo as stored and no longer describe the picture.
void describePicture(Exiv2::ExifData& exif, Size size)
{
    Exiv2::ExifThumb(exif).erase();
    exif["Exif.Image.Orientation"] = static_cast<uint16_t>(1);
    if (exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension")) != exif.end()) {
        exif["Exif.Photo.PixelXDimension"] = static_cast<uint32_t>(size.width);
        exif["Exif.Photo.PixelYDimension"] = static_cast<uint32_t>(size.height);
    }
}

} // namespace

void removeMetadata(const std::string& path)
{
    static std::once_flag xmpStarted;
    std::call_once(xmpStarted, [] { Exiv2::XmpParser::initialize(); });
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    if (image->exifData().empty() && image->xmpData().empty())
        return;
    image->clearMetadata();
    image->writeMetadata();
}

void copyCameraMetadata(const std::string& from, const std::string& to, FileFormat format,
                        Size size)
{
    if (!holdsExif(format))
        return;
    // The XMP toolkit must be started once before threads read files that may carry XMP.
    static std::once_flag xmpStarted;
    std::call_once(xmpStarted, [] { Exiv2::XmpParser::initialize(); });
    // Keeping metadata is a bonus: a photo in a format exiv2 does not know just has none.
    if (Exiv2::ImageFactory::getType(from) == Exiv2::ImageType::none)
        return;
    auto source = Exiv2::ImageFactory::open(from);
    source->readMetadata();
    Exiv2::ExifData exif = source->exifData();
    if (exif.empty())
        return;
    removeGps(exif);
    describePicture(exif, size);
    auto target = Exiv2::ImageFactory::open(to);
    target->readMetadata();
    target->setExifData(exif);
    target->writeMetadata();
}

} // namespace varnex
