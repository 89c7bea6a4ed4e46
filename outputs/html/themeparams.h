// SPDX-License-Identifier: GPL-2.0-or-later
// CThemeParams: a theme's parameters both ways. describe() turns the manifest's declarations
// into the records the host shows and stores; the object reads the values the host hands back
// at generation time, checked against the declarations (a value outside its range, or a choice
// that is no option, falls back to the theme's default rather than breaking the album).
#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QVariantMap>

#include "outputs/html/theme.h"
#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"

class CThemeParams
{
public:
    static constexpr int DefaultJpegQuality = 75;
    static constexpr int DefaultInterpolation = 5;

    // The theme's parameters with their defaults, ids counted from 0.
    static void describe(const html::Theme& theme, gv_vector<GVParamInfo>& out);

    CThemeParams(const html::Theme& theme, const gv_vector<GVParamInfo>& values);

    // Numbers (clamped to their declared range), texts, choices, colours and fonts by name.
    std::optional<int> number(const QString& name) const;
    QString text(const QString& name) const;
    // The file the user chose for a file parameter and the name the album keeps it under
    // (entry 1); both "" when none is chosen.
    QString chosenFile(const QString& name) const;
    QString albumFileName(const QString& name) const;

    // The host's two parameters: 1..100, and 5, 6 or 7.
    int jpegQuality() const;
    int interpolationMode() const;
    bool keepsCameraData() const;
    // Photos of folder parameters are published as they are, their location included.
    bool keepsFolderOriginals() const;

    // A value for "{Name}" in picture scripts: a number (colours as COLORREF) or a text.
    QVariant scriptValue(const QString& name) const;
    // Every parameter as pages see it: numbers, texts, "#rrggbb" colours, font maps. Files
    // and folders are left to the caller, who knows what was copied.
    QVariantMap forPages() const;

private:
    const GVParamInfo* find(const char* name) const;
    const GVParamValue* valueOf(const QString& name) const;

    const html::Theme& m_theme;
    gv_vector<GVParamInfo> m_values;
};
