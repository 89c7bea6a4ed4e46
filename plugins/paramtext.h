// SPDX-License-Identifier: GPL-2.0-or-later
// Colour and font values of template parameters written as text, the way the command line
// takes them and the theme listing shows them:
//   colour  "#rrggbb", or the stored number (COLORREF 0x00BBGGRR, decimal or 0x hex)
//   font    "Family, 12pt, bold, italic, #rrggbb": the family first, then in any order a size
//           ("12pt", "10.5pt" or "12"), "bold", "italic", "regular" and a colour
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "sdk/gvfontblock.h"

namespace paramtext
{

// Sizes in points become heights in pixels at the screen resolution fonts were chosen at.
constexpr int ScreenDpi = 96;
// The longest family name a project file keeps (it drops names of 31 bytes or more).
constexpr int MaxFaceBytes = 30;

std::optional<uint32_t> ParseColour(const QString& text);
QString FormatColour(uint32_t colorref);

// The font the text describes, starting from current: the family always changes, the size
// and colour when given; bold and italic are on only when named.
std::optional<GVFontBlock> ParseFont(const QString& text, const GVFontBlock& current);
QString FormatFont(const GVFontBlock& block);

} // namespace paramtext
