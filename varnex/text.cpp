// SPDX-License-Identifier: GPL-2.0-or-later
// Text drawn on the picture, rendered by libvips through Pango.
#include "varnex/operations.h"

#include <algorithm>

namespace varnex {

namespace {

constexpr int TextMargin = 8;

// libvips reads the text as Pango markup; the user's text is plain.
std::string escapeMarkup(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// "Family, Bold Italic 20": the comma stops a family name from being read as style words.
std::string fontDescription(const TextStyle& style)
{
    std::string description = style.font.empty() ? "Sans" : style.font;
    description += ",";
    if (style.bold)
        description += " Bold";
    if (style.italic)
        description += " Italic";
    return description + " " + std::to_string(style.size);
}

// The text's coverage (0..255), one band; at 72 dpi a point is a pixel.
VImage textMask(const std::string& text, const TextStyle& style)
{
    return VImage::text(
        escapeMarkup(text).c_str(),
        VImage::option()->set("font", fontDescription(style).c_str())->set("dpi", 72));
}

VImage colourLayer(const VImage& mask, const TextStyle& style)
{
    return solid(sizeOf(mask), style.color, 3)
        .bandjoin(toUchar(mask * std::clamp(style.opacity, 0.0, 1.0)));
}

} // namespace

VImage textAt(const VImage& in, const std::string& text, const TextStyle& style, Point at)
{
    return overlay(in, colourLayer(textMask(text, style), style), at, 1.0);
}

VImage textWatermark(const VImage& in, const std::string& text, const TextStyle& style, int code)
{
    VImage mask = textMask(text, style);
    const int room = std::max(1, in.width() - 2 * TextMargin);
    if (mask.width() > room) { // too wide: set again in the size that fits
        TextStyle smaller = style;
        smaller.size = std::max(1, style.size * room / mask.width());
        mask = textMask(text, smaller);
    }
    const Point at = anchorPosition(code, sizeOf(in), sizeOf(mask), TextMargin);
    return overlay(in, colourLayer(mask, style), at, 1.0);
}

} // namespace varnex
