// SPDX-License-Identifier: GPL-2.0-or-later
// The font block of a font parameter: a CHOOSEFONT followed by the LOGFONT it describes,
// 120 bytes with the 32-bit Windows layout. Project files and plug-ins exchange these bytes
// as they are, so every field has a fixed width and place. Pointer and handle fields are kept
// as 32-bit numbers and never dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)
struct GVLogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

struct GVChooseFont {
    uint32_t lStructSize = 60;
    uint32_t hwndOwner = 0;
    uint32_t hDC = 0;
    uint32_t lpLogFont = 0;
    int32_t iPointSize = 0; // tenths of a point
    uint32_t Flags = 0;
    uint32_t rgbColors = 0; // COLORREF, 0x00BBGGRR
    uint32_t lCustData = 0;
    uint32_t lpfnHook = 0;
    uint32_t lpTemplateName = 0;
    uint32_t hInstance = 0;
    uint32_t lpszStyle = 0;
    uint16_t nFontType = 0;
    uint16_t alignment = 0;
    int32_t nSizeMin = 0;
    int32_t nSizeMax = 0;
};

struct GVFontBlock {
    GVChooseFont chooseFont;
    GVLogFont logFont;
};
#pragma pack(pop)

static_assert(sizeof(GVLogFont) == 60, "LOGFONT is 60 bytes");
static_assert(sizeof(GVChooseFont) == 60, "CHOOSEFONT is 60 bytes");
static_assert(sizeof(GVFontBlock) == 120, "the font block is 120 bytes");
static_assert(offsetof(GVChooseFont, rgbColors) == 24 && offsetof(GVChooseFont, nSizeMin) == 52);
static_assert(offsetof(GVLogFont, lfFaceName) == 28);

// Weights of lfWeight.
constexpr int32_t GV_FW_NORMAL = 400;
constexpr int32_t GV_FW_BOLD = 700;
