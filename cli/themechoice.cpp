// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/themechoice.h"

#include "album/albumproject.h"
#include "plugins/paramrules.h"

namespace
{

bool sameName(const char* a, const QString& b)
{
    return paramrules::sameName(a, b.toUtf8().constData());
}

} // namespace

std::optional<ThemeChoice> ThemeChoice::firstTemplate(AlbumProject& album, int32_t pluginIndex)
{
    gv_vector<TemplateInfo> templates;
    album.PluginManager().EnumTemplates(pluginIndex, templates);
    if (templates.empty())
        return std::nullopt;
    return ThemeChoice{pluginIndex, templates[0].id};
}

std::optional<ThemeChoice> ThemeChoice::Find(AlbumProject& album, const QString& name)
{
    const qsizetype slash = name.indexOf(u'/');
    const QString pluginName = slash < 0 ? name : name.left(slash);
    const QString templateName = slash < 0 ? QString() : name.mid(slash + 1);
    const auto& plugins = album.Plugins();
    for (int32_t i = 0; i < static_cast<int32_t>(plugins.size()); ++i) {
        const CPluginInfo& plugin = plugins[static_cast<size_t>(i)];
        if (!sameName(plugin.GetName(), pluginName) &&
            !sameName(plugin.GetDisplayName(), pluginName))
            continue;
        if (templateName.isEmpty())
            return firstTemplate(album, i);
        gv_vector<TemplateInfo> templates;
        album.PluginManager().EnumTemplates(i, templates);
        for (const TemplateInfo& info : templates)
            if (sameName(info.name.c_str(), templateName))
                return ThemeChoice{i, info.id};
        bool isNumber = false;
        const int id = templateName.toInt(&isNumber);
        for (const TemplateInfo& info : templates)
            if (isNumber && info.id == id)
                return ThemeChoice{i, info.id};
    }
    return std::nullopt;
}

std::optional<ThemeChoice> ThemeChoice::Default(AlbumProject& album)
{
    const auto& plugins = album.Plugins();
    for (int32_t i = 0; i < static_cast<int32_t>(plugins.size()); ++i)
        if (sameName(plugins[static_cast<size_t>(i)].GetName(), QStringLiteral("HTML")))
            if (const std::optional<ThemeChoice> choice = firstTemplate(album, i))
                return choice;
    for (int32_t i = 0; i < static_cast<int32_t>(plugins.size()); ++i)
        if (const std::optional<ThemeChoice> choice = firstTemplate(album, i))
            return choice;
    return std::nullopt;
}

QString ThemeChoice::NameOf(AlbumProject& album, int32_t pluginIndex, int32_t templateId)
{
    const auto& plugins = album.Plugins();
    if (pluginIndex < 0 || pluginIndex >= static_cast<int32_t>(plugins.size()))
        return QString();
    gv_vector<TemplateInfo> templates;
    album.PluginManager().EnumTemplates(pluginIndex, templates);
    for (const TemplateInfo& info : templates)
        if (info.id == templateId)
            return QString::fromUtf8(plugins[static_cast<size_t>(pluginIndex)].GetName()) + u'/' +
                   QString::fromUtf8(info.name.c_str());
    return QString();
}
