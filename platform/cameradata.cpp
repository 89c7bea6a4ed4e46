// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/cameradata.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include <QtEndian>

#include <exiv2/exiv2.hpp>

#include "platform/bmffmetadata.h"
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

// Drops the EXIF tags rule drops; true when there were any.
bool reduceExif(Exiv2::ExifData& exif, Published rule)
{
    if (rule == Published::WithoutPrivateData)
        return eraseWhere(exif, isPrivateExif);
    // A TIFF keeps its colour profile among its tags.
    return eraseWhere(exif, [](const Exiv2::Exifdatum& datum) {
        return datum.key() != "Exif.Image.Orientation" &&
               datum.key() != "Exif.Image.InterColorProfile";
    });
}

bool reduceXmp(Exiv2::XmpData& xmp, Published rule)
{
    if (rule == Published::WithoutPrivateData)
        return eraseWhere(xmp, isPrivateXmp);
    const bool held = !xmp.empty();
    xmp.clear();
    return held;
}

Reduced reduce(Exiv2::Image& image, Published rule)
{
    Reduced out{image.exifData(), image.iptcData(), image.xmpData(), image.comment()};
    const bool exif = reduceExif(out.exif, rule);
    const bool xmp = reduceXmp(out.xmp, rule);
    bool iptc = false;
    if (rule == Published::OrientationAndProfile) {
        iptc = !out.iptc.empty() || !out.comment.empty();
        out.iptc.clear();
        out.comment.clear();
    } else {
        iptc = eraseWhere(out.iptc, [](const Exiv2::Iptcdatum& datum) {
            return listed(PrivateIptcKeys, datum.key());
        });
    }
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

// A TIFF header with an empty first directory: EXIF that holds nothing, still readable.
QByteArray emptyTiff(Exiv2::ByteOrder order)
{
    return order == Exiv2::bigEndian ? QByteArray("MM\0\x2a\0\0\0\x08\0\0\0\0\0\0", 14)
                                     : QByteArray("II\x2a\0\x08\0\0\0\0\0\0\0\0\0", 14);
}

// The EXIF of a container's item or box reduced by rule, at the block's length: the 4-byte
// distance to the TIFF header and what it skips stay, the TIFF data is made anew and padded
// with zeros. Nothing when it cannot be read or would not fit.
std::optional<QByteArray> reducedExifBlock(const QByteArray& block, Published rule)
{
    if (block.size() < 4)
        return block.count('\0') == block.size() ? std::optional(block) : std::nullopt;
    const quint32 skip = qFromBigEndian<quint32>(block.constData());
    if (skip > static_cast<quint32>(block.size() - 4))
        return std::nullopt;
    const qsizetype tiff = 4 + static_cast<qsizetype>(skip);
    const QByteArray data = block.mid(tiff);
    if (data.count('\0') == data.size())
        return block; // emptied before, or never filled
    Exiv2::ExifData exif;
    const Exiv2::ByteOrder order =
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(data.constData()),
                                  static_cast<uint32_t>(data.size()));
    if (order == Exiv2::invalidByteOrder)
        return std::nullopt;
    if (!reduceExif(exif, rule))
        return block;
    Exiv2::Blob blob;
    if (!exif.empty())
        Exiv2::ExifParser::encode(blob, order, exif);
    QByteArray reduced = block.left(tiff);
    reduced += blob.empty() ? emptyTiff(order)
                            : QByteArray(reinterpret_cast<const char*>(blob.data()),
                                         static_cast<qsizetype>(blob.size()));
    if (reduced.size() > block.size())
        return std::nullopt;
    return reduced + QByteArray(block.size() - reduced.size(), '\0');
}

// An XMP packet without properties.
constexpr char EmptyPacket[] =
    "<?xpacket begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>"
    "<?xpacket end=\"w\"?>";

// The packet padded with spaces to length, inside the packet where it has a wrapper (the
// place meant for growing in place).
QByteArray padded(QByteArray packet, qsizetype length)
{
    const QByteArray spaces(length - packet.size(), ' ');
    const qsizetype end = packet.lastIndexOf("<?xpacket end=");
    return end < 0 ? packet + spaces : packet.insert(end, spaces);
}

// The XMP of a container's item or box reduced by rule, at the block's length.
std::optional<QByteArray> reducedXmpBlock(const QByteArray& block, Published rule)
{
    QByteArray text = block;
    while (!text.isEmpty() && (text.back() == '\0' || std::isspace(uchar(text.back()))))
        text.chop(1);
    Exiv2::XmpData xmp;
    if (text.isEmpty() || Exiv2::XmpParser::decode(xmp, text.toStdString()) != 0)
        return text.isEmpty() ? std::optional(block) : std::nullopt;
    if (!reduceXmp(xmp, rule))
        return block;
    // Compact first; without line breaks and indents if that is still too long.
    for (const uint16_t format : {uint16_t(Exiv2::XmpParser::useCompactFormat),
                                  uint16_t(Exiv2::XmpParser::useCompactFormat |
                                           Exiv2::XmpParser::omitAllFormatting)}) {
        std::string packet;
        if (xmp.empty())
            packet = EmptyPacket;
        else if (Exiv2::XmpParser::encode(packet, xmp, format) != 0)
            return std::nullopt;
        if (static_cast<qsizetype>(packet.size()) <= block.size())
            return padded(QByteArray::fromStdString(packet), block.size());
    }
    return std::nullopt;
}

// True when the metadata library finds nothing rule drops in the file's bytes.
bool bytesHoldOnly(const QByteArray& bytes, Published rule)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
        reinterpret_cast<const Exiv2::byte*>(bytes.constData()), static_cast<long>(bytes.size()));
    if (image.get() == nullptr)
        return true;
    image->readMetadata();
    return !reduce(*image, rule).changed;
}

// HEIF, AVIF and JPEG XL files are reduced block by block where each block lies; nothing when
// the file is none of these. Before anything is written, the library that reads these files
// must find nothing left that the rule drops.
std::optional<bool> reduceContainer(const QString& path, Published rule)
{
    BmffMetadata container = BmffMetadata::load(path);
    if (container.layout() == BmffMetadata::Layout::NotContainer)
        return std::nullopt;
    if (container.layout() != BmffMetadata::Layout::Located)
        return false;
    startUp();
    bool changed = false;
    for (int block = 0; block < container.count(); ++block) {
        const QByteArray before = container.payload(block);
        const std::optional<QByteArray> after = container.kind(block) == BmffMetadata::Kind::Exif
                                                    ? reducedExifBlock(before, rule)
                                                    : reducedXmpBlock(before, rule);
        if (!after || (*after != before && !container.replace(block, *after)))
            return false;
        changed = changed || *after != before;
    }
    if (!bytesHoldOnly(container.bytes(), rule))
        return false;
    return !changed || container.save(path);
}

} // namespace

bool reduceInPlace(const QString& path, Published rule)
{
    try {
        if (const std::optional<bool> reduced = reduceContainer(path, rule))
            return *reduced;
    } catch (...) {
        return false;
    }
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
    // Compressed metadata boxes are beyond the library's reading: they may hold anything.
    if (BmffMetadata::load(path).layout() == BmffMetadata::Layout::Sealed)
        return false;
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
