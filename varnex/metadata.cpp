// SPDX-License-Identifier: GPL-2.0-or-later
// The camera metadata a picture may keep from its photo: EXIF, without the private data.
#include "varnex/operations.h"

#include <mutex>

#include <QString>

#include <exiv2/exiv2.hpp>

#include "platform/cameradata.h"

namespace varnex {

namespace {

bool holdsExif(FileFormat format)
{
    return format == FileFormat::Jpeg || format == FileFormat::Png || format == FileFormat::Tiff ||
           format == FileFormat::Webp;
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
    // Keeping metadata is a bonus: a picture whose photo's data cannot be carried just has
    // none (every picture is written stripped first), which never tells more than it should.
    imaging::metadata::copyCameraData(QString::fromStdString(from), QString::fromStdString(to),
                                      size.width, size.height);
}

} // namespace varnex
