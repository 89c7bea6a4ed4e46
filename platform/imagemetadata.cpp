// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/imagemetadata.h"

#include <atomic>
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
