// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/legacyprojectreader.h"

#include <algorithm>
#include <cstring>

namespace
{

uint32_t littleEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t littleEndian16(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

// Texts end at their first NUL, as they did in the program that wrote them.
std::string cString(const char* bytes, size_t count)
{
    const void* nul = std::memchr(bytes, '\0', count);
    return std::string(bytes, nul ? static_cast<const char*>(nul) - bytes : count);
}

// The picture of an uncompressed 24- or 32-bit device-independent bitmap whose pixels fit
// the block; null for anything else.
QImage dibPicture(const char* info, const char* pixels, size_t pixelBytes)
{
    const auto width = static_cast<int32_t>(littleEndian32(info + 4));
    const auto height = static_cast<int32_t>(littleEndian32(info + 8));
    const uint16_t bits = littleEndian16(info + 14);
    const uint32_t compression = littleEndian32(info + 16);
    if (width <= 0 || height == 0 || height == INT32_MIN || compression != 0 ||
        (bits != 24 && bits != 32))
        return QImage();
    const int rows = height < 0 ? -height : height;
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    if (stride * static_cast<size_t>(rows) > pixelBytes)
        return QImage();
    QImage picture(width, rows, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    for (int y = 0; y < rows; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const char* row = pixels + stride * static_cast<size_t>(height > 0 ? rows - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(row + x * (bits / 8));
            out[x] = qRgb(p[2], p[1], p[0]);
        }
    }
    return picture;
}

} // namespace

LegacyProjectReader::LegacyProjectReader(const char* data, size_t size)
    : m_data(data), m_size(data ? size : 0)
{
}

ResultCode LegacyProjectReader::Read(LegacyProject& project)
{
    project = LegacyProject();
    m_pos = 0;
    for (auto step : {&LegacyProjectReader::readHeader, &LegacyProjectReader::readNames,
                      &LegacyProjectReader::readParams, &LegacyProjectReader::readImages,
                      &LegacyProjectReader::readThumbnail, &LegacyProjectReader::readDestination})
        if (const ResultCode result = (this->*step)(project); result != GV_OK)
            return result;
    return GV_OK;
}

ResultCode LegacyProjectReader::readHeader(LegacyProject& project)
{
    const char* header = nullptr;
    if (!take(HeaderSize, header))
        return GV_E_READFILE;
    if (littleEndian16(header + 4) != HeaderFieldValue)
        return GV_E_CORRUPTED;
    project.version = littleEndian32(header + 8);
    if (project.version > HighestVersion)
        return GV_E_CORRUPTED;
    project.imageCount = static_cast<int32_t>(littleEndian32(header + 16));
    const char* flags = nullptr;
    if (!take(2, flags))
        return GV_E_READFILE;
    if (flags[1] != 0)
        return GV_E_NOTIMPL;
    project.hasImageSection = flags[0] == 0;
    return GV_OK;
}

ResultCode LegacyProjectReader::readNames(LegacyProject& project)
{
    int32_t unused = 0;
    std::string unusedText;
    if (!number(unused) || !number(unused)) // a number of no meaning, the old plug-in index
        return GV_E_READFILE;
    if (!text(project.pluginName) || !text(unusedText))
        return GV_E_READFILE;
    if (project.version > 2 && !text(project.albumName))
        return GV_E_READFILE;
    if (!number(project.templateId) || !text(project.templateName))
        return GV_E_READFILE;
    return GV_OK;
}

ResultCode LegacyProjectReader::readParams(LegacyProject& project)
{
    int32_t count = 0;
    if (!number(count) || count < 0 || count > MaxParams)
        return GV_E_READFILE;
    project.params.reserve(count);
    for (int32_t i = 0; i < count; ++i) {
        GVParamInfo param;
        if (const ResultCode result = readParam(project.version, param); result != GV_OK)
            return result;
        project.params.push_back(param);
    }
    return GV_OK;
}

ResultCode LegacyProjectReader::readParam(uint32_t version, GVParamInfo& param)
{
    std::string name, friendlyName, description;
    int32_t count = 0;
    if (!number(param.id) || !text(name) || !text(friendlyName) || !text(description) ||
        !number(param.type) || !number(count))
        return GV_E_READFILE;
    param.name = name.c_str();
    param.friendlyName = friendlyName.c_str();
    param.description = description.c_str();
    // Each value takes four bytes at least; reserving no more than that keeps a damaged
    // count from costing memory, and reserving at all keeps growth linear.
    param.values.reserve(static_cast<int32_t>(
        std::min<size_t>(count < 0 ? 0 : static_cast<size_t>(count), remaining() / 4)));
    for (int32_t i = 0; i < count; ++i) {
        GVParamValueInfo value;
        if (const ResultCode result = readValue(version, param.type, value); result != GV_OK)
            return result;
        param.values.push_back(value);
    }
    return GV_OK;
}

ResultCode LegacyProjectReader::readValue(uint32_t version, int32_t type, GVParamValueInfo& value)
{
    if (!number(value.kind))
        return GV_E_READFILE;
    if (value.kind == PVK_USER_VALUE)
        value.kind = PVK_VALUE;
    const char* bytes = nullptr;
    if (type == PT_FONT && version >= 5) {
        if (!take(sizeof(GVFontBlock), bytes))
            return GV_E_READFILE;
        GVFontBlock block;
        std::memcpy(&block, bytes, sizeof block);
        // The stored pointer meant the LOGFONT that follows; in our block the two always go
        // together, and a pointer from another process means nothing here.
        block.chooseFont.lpLogFont = 0;
        value.value.setFont(&block);
        return GV_OK;
    }
    if (markerAhead()) {
        std::string valueText;
        if (!markedText(valueText, ValueTextLimit) || !number(value.value.number))
            return GV_E_READFILE;
        value.value.text = valueText.c_str();
        return GV_OK;
    }
    if (!take(FixedValueSize, bytes))
        return GV_E_READFILE;
    value.value.text = cString(bytes, FixedValueSize).c_str();
    value.value.number = static_cast<int32_t>(littleEndian32(bytes));
    return GV_OK;
}

ResultCode LegacyProjectReader::readImages(LegacyProject& project)
{
    if (!project.hasImageSection)
        return GV_OK;
    for (int32_t i = 0; i < project.imageCount; ++i) {
        SavedImage image;
        if (!text(image.name) || !text(image.path))
            return GV_E_READFILE;
        if (project.version > 1 && !text(image.relativePath))
            return GV_E_READFILE;
        if (!text(image.description))
            return GV_E_READFILE;
        if (project.version > 5 && !text(image.subfolder))
            return GV_E_READFILE;
        project.images.push_back(std::move(image));
    }
    return GV_OK;
}

ResultCode LegacyProjectReader::readThumbnail(LegacyProject& project)
{
    if (project.version < 3)
        return GV_OK;
    uint32_t marker = 0;
    if (!unsignedNumber(marker))
        return GV_E_READFILE;
    if (marker == ArgbThumbnailMarker)
        return readArgbThumbnail(project);
    // The marker was the first field of a BITMAPINFO; its other 40 bytes and the pixels follow.
    const char* info = nullptr;
    const char* pixels = nullptr;
    if (!take(BitmapInfoSize - 4, info) || !take(DibPixelsSize, pixels))
        return GV_E_READFILE;
    // The marker's four bytes lie just before the rest of the BITMAPINFO.
    project.thumbnail = dibPicture(info - 4, pixels, DibPixelsSize);
    return GV_OK;
}

ResultCode LegacyProjectReader::readArgbThumbnail(LegacyProject& project)
{
    int32_t width = 0, height = 0;
    if (!number(width) || !number(height))
        return GV_E_READFILE;
    if (width == 0 && height == 0)
        return GV_OK;
    if (width < 0 || height < 0)
        return GV_E_CORRUPTED;
    const uint64_t count = uint64_t(width) * uint64_t(height);
    const char* pixels = nullptr;
    if (count > remaining() / 4 || !take(static_cast<size_t>(count) * 4, pixels))
        return GV_E_READFILE;
    if (count == 0)
        return GV_OK;
    QImage picture(width, height, QImage::Format_ARGB32);
    if (picture.isNull())
        return GV_OK; // too large to show; the rest of the file still counts
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const char* row = pixels + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x)
            out[x] = littleEndian32(row + size_t(x) * 4);
    }
    project.thumbnail = picture;
    return GV_OK;
}

ResultCode LegacyProjectReader::readDestination(LegacyProject& project)
{
    if (project.version < 4)
        return GV_OK;
    if (!text(project.destination))
        return GV_E_READFILE;
    if (!project.destination.empty() && !text(project.favoritesName))
        return GV_E_READFILE;
    return GV_OK;
}

bool LegacyProjectReader::take(size_t count, const char*& bytes)
{
    if (count > remaining())
        return false;
    bytes = m_data + m_pos;
    m_pos += count;
    return true;
}

bool LegacyProjectReader::unsignedNumber(uint32_t& value)
{
    const char* bytes = nullptr;
    if (!take(4, bytes))
        return false;
    value = littleEndian32(bytes);
    return true;
}

bool LegacyProjectReader::number(int32_t& value)
{
    uint32_t raw = 0;
    if (!unsignedNumber(raw))
        return false;
    value = static_cast<int32_t>(raw);
    return true;
}

bool LegacyProjectReader::markerAhead() const
{
    return remaining() >= 4 && littleEndian32(m_data + m_pos) == TextMarker;
}

bool LegacyProjectReader::text(std::string& value, size_t limit)
{
    return markerAhead() ? markedText(value, limit) : lineText(value, limit);
}

bool LegacyProjectReader::markedText(std::string& value, size_t limit)
{
    uint32_t marker = 0, length = 0;
    const char* bytes = nullptr;
    if (!unsignedNumber(marker) || !unsignedNumber(length) || !take(length, bytes))
        return false;
    value = cString(bytes, std::min<size_t>(length, limit));
    if (!value.empty() && value.back() == '\n')
        value.pop_back();
    return true;
}

bool LegacyProjectReader::lineText(std::string& value, size_t limit)
{
    if (remaining() == 0)
        return false;
    const char* start = m_data + m_pos;
    const void* feed = std::memchr(start, '\n', remaining());
    const size_t length = feed ? static_cast<const char*>(feed) - start + 1 : remaining();
    m_pos += length;
    value = cString(start, std::min(length, limit));
    if (!value.empty() && value.back() == '\n')
        value.pop_back();
    return true;
}
