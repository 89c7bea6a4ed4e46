// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/themejson.h"

#include <QJsonArray>

#include "album/albumproject.h"
#include "cli/themechoice.h"
#include "cli/themelister.h"
#include "plugins/parameditor.h"
#include "plugins/paramrules.h"

namespace
{

QString text(const gv_string& value)
{
    return QString::fromUtf8(value.c_str());
}

QJsonValue defaultValue(const GVParamInfo& param)
{
    switch (param.type) {
    case PT_NUMBER_HIDDEN:
    case PT_NUMBER:
    case PT_SLIDER: {
        const GVParamValue* value = paramrules::value(param);
        return value ? QJsonValue(value->number) : QJsonValue(0);
    }
    case PT_NONE_9:
    case PT_NONE_10:
    case PT_SEPARATOR:
        return QJsonValue(QJsonValue::Null);
    case PT_COLOR:
    case PT_FONT: {
        const QString shown = CParamEditor::ValueText(param);
        return shown.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(shown);
    }
    case PT_CHOICE:
        return paramrules::value(param) ? QJsonValue(CParamEditor::ValueText(param))
                                        : QJsonValue(QJsonValue::Null);
    default:
        return CParamEditor::ValueText(param);
    }
}

} // namespace

QJsonObject ThemeJson::Parameter(const GVParamInfo& param)
{
    QJsonObject object{{"name", text(param.name)},
                       {"caption", text(param.friendlyName)},
                       {"description", text(param.description)},
                       {"id", param.id},
                       {"type", param.type},
                       {"type_name", ThemeLister::typeName(param.type)},
                       {"default", defaultValue(param)}};
    if (param.type == PT_NUMBER || param.type == PT_SLIDER) {
        object.insert("minimum", paramrules::bound(param, PVK_MINIMUM, INT32_MIN));
        object.insert("maximum", paramrules::bound(param, PVK_MAXIMUM, INT32_MAX));
    } else if (param.type == PT_CHOICE) {
        object.insert("options", QJsonArray::fromStringList(CParamEditor::Options(param)));
    } else if ((param.type == PT_FILE || param.type == PT_FILE_2) && param.values.size() > 2) {
        object.insert("file_name", text(param.values[1].value.text));
        object.insert("filter", text(param.values[2].value.text));
    }
    return object;
}

QJsonObject ThemeJson::plugin(AlbumProject& album, int pluginIndex)
{
    const CPluginInfo& info = album.Plugins()[static_cast<size_t>(pluginIndex)];
    QJsonArray templates;
    gv_vector<TemplateInfo> list;
    album.PluginManager().EnumTemplates(pluginIndex, list);
    for (const TemplateInfo& entry : list) {
        album.ChooseTemplate(pluginIndex, entry.id);
        gv_vector<GVParamInfo> params;
        album.Parameters(&params);
        QJsonArray parameters;
        for (const GVParamInfo& param : params)
            parameters.append(Parameter(param));
        templates.append(
            QJsonObject{{"id", entry.id}, {"name", text(entry.name)}, {"parameters", parameters}});
    }
    album.ChooseTemplate(-1, -1);
    return QJsonObject{{"name", QString::fromUtf8(info.GetName())},
                       {"display_name", QString::fromUtf8(info.GetDisplayName())},
                       {"version", QString::fromUtf8(info.GetText4())},
                       {"library", QString::fromStdString(info.libraryPath)},
                       {"templates", templates}};
}

QJsonObject ThemeJson::Catalogue(AlbumProject& album)
{
    QJsonArray plugins;
    for (int i = 0; i < static_cast<int>(album.Plugins().size()); ++i)
        plugins.append(plugin(album, i));
    QJsonArray skipped;
    for (const CPluginManager::Skipped& entry : album.PluginManager().SkippedPlugins())
        skipped.append(QJsonObject{{"library", QString::fromStdString(entry.libraryPath)},
                                   {"reason", QString::fromStdString(entry.reason)}});
    const std::optional<ThemeChoice> theme = ThemeChoice::Default(album);
    return QJsonObject{{"default_theme", theme ? QJsonValue(ThemeChoice::NameOf(
                                                     album, theme->pluginIndex, theme->templateId))
                                               : QJsonValue(QJsonValue::Null)},
                       {"plugins", plugins},
                       {"skipped", skipped}};
}
