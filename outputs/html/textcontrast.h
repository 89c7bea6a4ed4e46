// SPDX-License-Identifier: GPL-2.0-or-later
// Text colours that stay readable: the contrast of two colours as the web's accessibility
// guidelines measure it, and a colour near a chosen one (a user's accent) that reaches a
// contrast against the page behind it.
#pragma once

#include <optional>

#include <QColor>
#include <QString>

namespace html
{

// The contrast ratio of two opaque colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The colour itself when it reaches minimum against background; otherwise the colour mixed
// with black or white (whichever the background sets off better) just far enough to reach
// it, or as near as the background allows (every background has a colour of 4.5:1 or more).
QColor readableOn(const QColor& text, const QColor& background, double minimum = 4.5);

// "#rrggbb" (or "#rgb") as a colour; nothing for any other text.
std::optional<QColor> parseHexColour(const QString& text);

} // namespace html
