// SPDX-License-Identifier: GPL-2.0-or-later
// Font parameters between their two forms: the 120-byte font block the host stores (a
// CHOOSEFONT with its LOGFONT) and what a page needs to show the font with CSS.
#pragma once

#include <QString>
#include <QVariantMap>

#include "sdk/gvfontblock.h"

namespace html
{

// The block for a manifest's font default: face, size in points, bold or weight, italic,
// color "#rrggbb" and the generic family ("serif", "sans-serif", "monospace", ...).
GVFontBlock fontBlockOf(const QVariantMap& font);
// The font for pages: family (a CSS font-family list, face first), size ("34px"), weight
// ("700"), style ("italic" or "normal"), color ("#rrggbb"), decoration and css, all of it as
// CSS declarations. fallbackGeneric is used when the block names no family of its own.
QVariantMap fontForPages(const GVFontBlock& block, const QString& fallbackGeneric);

} // namespace html
