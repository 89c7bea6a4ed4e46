// SPDX-License-Identifier: GPL-2.0-or-later
// ThemeChoice: finds an installed theme (a template of an output plug-in) by the name the
// command line gives it, "PLUGIN/TEMPLATE", and knows the theme new albums get by default.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

class AlbumProject;

class ThemeChoice
{
public:
    int32_t pluginIndex = -1;
    int32_t templateId = -1;

    // The plug-in by its name or display name, the template by its name or id, all without
    // regard to case; "PLUGIN" alone means its first template. Nothing when none matches.
    static std::optional<ThemeChoice> Find(AlbumProject& album, const QString& name);
    // The first template of the plug-in named "HTML", else the first template of the first
    // plug-in that has any; nothing when no plug-in has a template.
    static std::optional<ThemeChoice> Default(AlbumProject& album);
    // "PLUGIN/TEMPLATE" of a theme; "" when it is not installed.
    static QString NameOf(AlbumProject& album, int32_t pluginIndex, int32_t templateId);

private:
    static std::optional<ThemeChoice> firstTemplate(AlbumProject& album, int32_t pluginIndex);
};
