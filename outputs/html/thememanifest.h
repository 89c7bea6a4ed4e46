// SPDX-License-Identifier: GPL-2.0-or-later
// CThemeManifest: reads a theme folder's theme.json and checks everything it names before the
// theme is offered: ids, parameters, pictures and their scripts, pages (parsed here, so a page
// with a fault never reaches a generation), assets and the preview picture.
#pragma once

#include <QString>

#include "outputs/html/theme.h"

class CThemeManifest
{
public:
    static constexpr const char* FileName = "theme.json";

    // The theme in folder, or null with *error saying what is wrong.
    static html::ThemePtr load(const QString& folder, bool userInstalled, QString* error);
};
