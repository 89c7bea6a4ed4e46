// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/phototypes.h"

#include <mutex>

#include <libheif/heif.h>
#include <vips/vips.h>

#include "platform/imaging.h"
#include "platform/stringtable.h"

namespace imaging
{

namespace
{

bool hasLoader(const char* name)
{
    return vips_type_find("VipsOperation", name) != 0;
}

// libvips hands HEIF files to libheif, which decodes HEVC (HEIC) and AV1 (AVIF) only through
// the decoders it was built with.
bool heifDecodes(heif_compression_format format)
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
    return hasLoader("heifload") && heif_have_decoder_for_format(format) != 0;
}

QString patternsText(const QStringList& patterns)
{
    return patterns.join(u';');
}

} // namespace

std::vector<PhotoType> modernPhotoTypes()
{
    static const std::vector<PhotoType> types = [] {
        std::vector<PhotoType> found;
        if (!startImaging())
            return found;
        if (heifDecodes(heif_compression_HEVC))
            found.push_back({loadString(IDS_HEIF_PHOTOS),
                             {QStringLiteral("*.heic"), QStringLiteral("*.heif")},
                             RawFormat::Heif});
        if (heifDecodes(heif_compression_AV1))
            found.push_back(
                {loadString(IDS_AVIF_PHOTOS), {QStringLiteral("*.avif")}, RawFormat::Avif});
        if (hasLoader("webpload"))
            found.push_back(
                {loadString(IDS_WEBP_PICTURES), {QStringLiteral("*.webp")}, RawFormat::Webp});
        if (hasLoader("jxlload"))
            found.push_back(
                {loadString(IDS_JXL_PICTURES), {QStringLiteral("*.jxl")}, RawFormat::Jxl});
        return found;
    }();
    return types;
}

QString modernTypeName(RawFormat format)
{
    for (const PhotoType& type : modernPhotoTypes())
        if (type.format == format)
            return type.name;
    return QString();
}

QString withModernTypes(const QString& filter, const std::vector<PhotoType>& types)
{
    // Entries are name|patterns pairs; the text ends in "||".
    QStringList parts = filter.split(u'|');
    if (parts.size() < 2 || types.empty())
        return filter;
    qsizetype end = parts.size();
    while (end > 2 && parts[end - 1].isEmpty())
        --end;
    QStringList added;
    for (const PhotoType& type : types) {
        parts[1] += u';' + patternsText(type.patterns);
        added << QStringLiteral("%1 (%2)").arg(type.name, patternsText(type.patterns))
              << patternsText(type.patterns);
    }
    for (qsizetype i = 0; i < added.size(); ++i)
        parts.insert(end + i, added[i]);
    return parts.join(u'|');
}

} // namespace imaging
