// SPDX-License-Identifier: GPL-2.0-or-later
// ThemeJson: the installed plug-ins, their templates and each template's parameters with
// types and default values, as JSON for other programs:
//   {"default_theme": "HTML/Classic",
//    "plugins": [{"name", "display_name", "version", "library",
//                 "templates": [{"id", "name", "parameters": [{"name", "caption",
//                     "description", "id", "type", "type_name", "default", ...}]}]}],
//    "skipped": [{"library", "reason"}]}
// A default is a number for number types, the text for the others, "#rrggbb" for colours,
// "Family, 12pt, bold, #rrggbb" for fonts, null where there is no value; numbers add
// "minimum" and "maximum", choices "options", files "file_name" and "filter".
#pragma once

#include <QJsonObject>

#include "sdk/gvparaminfo.h"

class AlbumProject;

class ThemeJson
{
public:
    static QJsonObject Catalogue(AlbumProject& album);
    static QJsonObject Parameter(const GVParamInfo& param);

private:
    static QJsonObject plugin(AlbumProject& album, int pluginIndex);
};
