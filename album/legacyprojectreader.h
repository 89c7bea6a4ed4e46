// SPDX-License-Identifier: GPL-2.0-or-later
// LegacyProjectReader: parses a project file of the older binary format into a
// LegacyProject. It only reads: choosing the plug-in and finding the photos is the loader's
// work. Every length and count is checked against the bytes that are there.
//
// Numbers are 32-bit little-endian. A text is either the marker 0x23871287, a 32-bit length
// and that many bytes, or one line ending in a line feed; either loses a trailing line feed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "album/savedproject.h"
#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"
#include "sdk/resultcode.h"

// The contents of an older project file.
struct LegacyProject {
    uint32_t version = 0;
    int32_t imageCount = 0; // as the header states it
    bool hasImageSection = true;
    std::string pluginName;
    std::string albumName; // versions 3 and later
    int32_t templateId = -1;
    std::string templateName;
    gv_vector<GVParamInfo> params;
    std::vector<SavedImage> images;
    QImage thumbnail;        // null when the file has none or it cannot be shown
    std::string destination; // versions 4 and later
    std::string favoritesName;
};

class LegacyProjectReader
{
public:
    static constexpr uint32_t HighestVersion = 10;
    static constexpr uint32_t TextMarker = 0x23871287;
    static constexpr uint32_t ArgbThumbnailMarker = 0x34869;
    static constexpr size_t HeaderSize = 20;
    static constexpr uint16_t HeaderFieldValue = 20;
    static constexpr size_t TextLimit = 8191; // longer texts keep their first part
    static constexpr size_t ValueTextLimit = 1039;
    static constexpr size_t FixedValueSize = 260;
    static constexpr int32_t MaxParams = 100;
    static constexpr size_t BitmapInfoSize = 44;
    static constexpr size_t DibPixelsSize = 43202;

    LegacyProjectReader(const char* data, size_t size);
    // 0; -1004 for a short read or a parameter count outside 0..100; -1010 for a header of
    // another kind or a later version; -1000 for a file the reader does not handle.
    ResultCode Read(LegacyProject& project);

private:
    ResultCode readHeader(LegacyProject& project);
    ResultCode readNames(LegacyProject& project);
    ResultCode readParams(LegacyProject& project);
    ResultCode readParam(uint32_t version, GVParamInfo& param);
    ResultCode readValue(uint32_t version, int32_t type, GVParamValueInfo& value);
    ResultCode readImages(LegacyProject& project);
    ResultCode readThumbnail(LegacyProject& project);
    ResultCode readArgbThumbnail(LegacyProject& project);
    ResultCode readDestination(LegacyProject& project);

    size_t remaining() const { return m_size - m_pos; }
    bool take(size_t count, const char*& bytes);
    bool number(int32_t& value);
    bool unsignedNumber(uint32_t& value);
    bool markerAhead() const;
    bool text(std::string& value, size_t limit = TextLimit);
    bool markedText(std::string& value, size_t limit);
    bool lineText(std::string& value, size_t limit);

    const char* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
