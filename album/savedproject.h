// SPDX-License-Identifier: GPL-2.0-or-later
// What a project file holds, as read from its bytes and before it is put into an album:
// the readers only parse, so a damaged file is refused before the album or the user is
// troubled, and the parsing can be tried on any bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "sdk/gvfontblock.h"

// One photo of the album as stored.
struct SavedImage {
    std::string name;
    std::string path;
    std::string relativePath; // stored for information; photos are found by path
    std::string description;
    std::string subfolder;
};

// The numeric fields of a saved font, in the order the file lists them.
enum SavedFontField : size_t {
    SF_rgbColors,
    SF_iPointSize,
    SF_Flags,
    SF_lfHeight,
    SF_lfWidth,
    SF_lfEscapement,
    SF_lfOrientation,
    SF_lfWeight,
    SF_lfItalic,
    SF_lfUnderline,
    SF_lfStrikeOut,
    SF_lfOutPrecision,
    SF_lfClipPrecision,
    SF_lfQuality,
    SF_lfPitchAndFamily,
    SF_Count,
};

// Attribute names of the font fields, indexed by SavedFontField.
inline constexpr std::array<const char*, SF_Count> SavedFontFieldNames = {
    "rgbColors",    "iPointSize",     "Flags",           "lfHeight",  "lfWidth",
    "lfEscapement", "lfOrientation",  "lfWeight",        "lfItalic",  "lfUnderline",
    "lfStrikeOut",  "lfOutPrecision", "lfClipPrecision", "lfQuality", "lfPitchAndFamily",
};
inline constexpr const char* SavedFaceNameField = "lfFaceName";

// Where each field lies in the font block, and whether it is a byte or 32 bits wide.
struct SavedFontPlace {
    size_t offset;
    bool byte;
};
inline constexpr size_t ChooseFontAt = offsetof(GVFontBlock, chooseFont);
inline constexpr size_t LogFontAt = offsetof(GVFontBlock, logFont);
inline constexpr std::array<SavedFontPlace, SF_Count> SavedFontPlaces = {{
    {ChooseFontAt + offsetof(GVChooseFont, rgbColors), false},
    {ChooseFontAt + offsetof(GVChooseFont, iPointSize), false},
    {ChooseFontAt + offsetof(GVChooseFont, Flags), false},
    {LogFontAt + offsetof(GVLogFont, lfHeight), false},
    {LogFontAt + offsetof(GVLogFont, lfWidth), false},
    {LogFontAt + offsetof(GVLogFont, lfEscapement), false},
    {LogFontAt + offsetof(GVLogFont, lfOrientation), false},
    {LogFontAt + offsetof(GVLogFont, lfWeight), false},
    {LogFontAt + offsetof(GVLogFont, lfItalic), true},
    {LogFontAt + offsetof(GVLogFont, lfUnderline), true},
    {LogFontAt + offsetof(GVLogFont, lfStrikeOut), true},
    {LogFontAt + offsetof(GVLogFont, lfOutPrecision), true},
    {LogFontAt + offsetof(GVLogFont, lfClipPrecision), true},
    {LogFontAt + offsetof(GVLogFont, lfQuality), true},
    {LogFontAt + offsetof(GVLogFont, lfPitchAndFamily), true},
}};

// A field as the file shows it: 32-bit fields as signed numbers, bytes as 0 to 255.
inline int32_t savedFontField(const GVFontBlock& block, size_t field)
{
    const auto* at = reinterpret_cast<const unsigned char*>(&block) + SavedFontPlaces[field].offset;
    if (SavedFontPlaces[field].byte)
        return *at;
    int32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Takes a saved number into its field: bytes keep the low byte, the others the low 32 bits.
inline void setSavedFontField(GVFontBlock& block, size_t field, int64_t value)
{
    auto* at = reinterpret_cast<unsigned char*>(&block) + SavedFontPlaces[field].offset;
    if (SavedFontPlaces[field].byte) {
        *at = static_cast<unsigned char>(value & 0xff);
        return;
    }
    const auto low = static_cast<uint32_t>(value);
    std::memcpy(at, &low, sizeof low);
}

// One parameter value the user had set. A field the file does not carry is left out, so the
// template's own value stays in its place.
struct SavedParam {
    std::string internalName;
    std::optional<std::string> text;
    std::optional<int32_t> number;
    bool hasFont = false;
    std::array<std::optional<int64_t>, SF_Count> font;
    std::optional<std::string> faceName;
};

// The contents of an XML project file.
struct SavedProject {
    std::string pluginName;
    std::string templateName;
    bool hasSettings = false;
    std::string albumName;
    std::string destination;
    std::string favoritesName;
    std::vector<SavedParam> params;
    std::vector<SavedImage> images;
};
