// SPDX-License-Identifier: GPL-2.0-or-later
// The "parameters" list of a theme manifest: each entry declares one parameter of the
// properties page with its type, default value and (by type) range, options or file names.
//
//   {"type": 14, "caption": "Layout"}                                   separator
//   {"name": "Title", "type": 2, "caption": "Album title", "default": "Holidays"}
//   {"name": "Columns", "type": 1, "default": 4, "min": 2, "max": 8}   also type 12, a slider
//   {"name": "Scheme", "type": 3, "options": ["Light", "Dark"], "default": "Light"}
//   {"name": "Background", "type": 4, "default": "", "file": "images/background.jpg",
//    "filter": "Pictures (*.jpg *.png)"}
//   {"name": "Accent", "type": 7, "default": "#3a6ea5"}
//   {"name": "TitleFont", "type": 8, "default": {"face": "Georgia", "size": 28, "bold": true,
//    "italic": false, "color": "#202020", "family": "serif"}}
#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>

#include "outputs/html/theme.h"

namespace html
{

// Reads every entry into params; false and *error naming the entry for the first fault.
bool readParameters(const QJsonArray& entries, QList<ThemeParam>& params, QString* error);
// "#rrggbb" as a COLORREF (0x00BBGGRR), or -1 when the text is no such colour.
int64_t colorRefOf(const QString& text);
// A COLORREF as "#rrggbb".
QString colorText(uint32_t colorRef);

} // namespace html
