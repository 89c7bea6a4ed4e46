// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/themelister.h"

#include "album/albumproject.h"
#include "plugins/paramrules.h"

namespace {

QString quoted(const gv_string& text)
{
    return QLatin1Char('"') + QString::fromUtf8(text.c_str()) + QLatin1Char('"');
}

// COLORREF (0x00BBGGRR) as the usual #rrggbb.
QString colorText(int32_t colorref)
{
    const auto value = static_cast<uint32_t>(colorref);
    return QStringLiteral("#%1%2%3")
        .arg(value & 0xff, 2, 16, QLatin1Char('0'))
        .arg((value >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((value >> 16) & 0xff, 2, 16, QLatin1Char('0'));
}

QString fontText(const GVParamValue& value)
{
    if (value.font == nullptr)
        return QStringLiteral("(no font)");
    const GVLogFont& font = value.font->logFont;
    QString text = QString::fromLatin1(font.lfFaceName,
                                       static_cast<int>(qstrnlen(font.lfFaceName, 32)));
    text += QStringLiteral(" %1 pt").arg(value.font->chooseFont.iPointSize / 10.0);
    if (font.lfWeight >= GV_FW_BOLD)
        text += QStringLiteral(" bold");
    if (font.lfItalic)
        text += QStringLiteral(" italic");
    return text + QLatin1Char(' ') + colorText(static_cast<int32_t>(value.font->chooseFont.rgbColors));
}

QString choiceText(const GVParamInfo& param)
{
    const GVParamValue* selected = paramrules::value(param);
    QStringList options;
    for (const GVParamValueInfo& entry : param.values)
        options << QString::fromUtf8(entry.value.text.c_str());
    return (selected ? quoted(selected->text) : QStringLiteral("(none)")) +
           QStringLiteral(" of ") + options.join(QStringLiteral(", "));
}

} // namespace

QString ThemeLister::typeName(int32_t type)
{
    static const char* const names[] = {
        "number (hidden)", "number", "text", "choice", "file", "folder", "text (hidden)",
        "colour", "font", "none", "none", "text (hidden)", "slider", "file", "separator"};
    if (type < 0 || type > PT_SEPARATOR)
        return QStringLiteral("unknown type %1").arg(type);
    return QString::fromLatin1(names[type]);
}

QString ThemeLister::defaultText(const GVParamInfo& param)
{
    const GVParamValue* value = paramrules::value(param);
    switch (param.type) {
    case PT_NUMBER:
    case PT_SLIDER:
        return QStringLiteral("%1 (%2 to %3)")
            .arg(value ? value->number : 0)
            .arg(paramrules::bound(param, PVK_MINIMUM, INT32_MIN))
            .arg(paramrules::bound(param, PVK_MAXIMUM, INT32_MAX));
    case PT_NUMBER_HIDDEN:
        return QString::number(value ? value->number : 0);
    case PT_CHOICE:
        return choiceText(param);
    case PT_COLOR:
        return param.values.empty() ? QString() : colorText(param.values[0].value.number);
    case PT_FONT:
        return param.values.empty() ? QString() : fontText(param.values[0].value);
    case PT_FILE:
    case PT_FILE_2:
        return (value ? quoted(value->text) : QStringLiteral("\"\"")) +
               (param.values.size() > 1 ? QStringLiteral(" as ") + quoted(param.values[1].value.text)
                                        : QString());
    case PT_NONE_9:
    case PT_NONE_10:
    case PT_SEPARATOR:
        return QString();
    default:
        return value ? quoted(value->text) : QStringLiteral("\"\"");
    }
}

int ThemeLister::list(AlbumProject& album)
{
    int templates = 0;
    const auto& plugins = album.Plugins();
    if (plugins.empty())
        m_out << "No output plug-ins are installed.\n";
    for (int i = 0; i < static_cast<int>(plugins.size()); ++i) {
        const CPluginInfo& plugin = plugins[static_cast<size_t>(i)];
        m_out << plugin.GetDisplayName() << " (" << plugin.GetName() << ", version "
              << (*plugin.GetText4() ? plugin.GetText4() : "unknown") << ")\n"
              << "  " << QString::fromStdString(plugin.libraryPath) << "\n";
        const int before = templates;
        gv_vector<TemplateInfo> list;
        album.PluginManager().EnumTemplates(i, list);
        templates += list.size();
        if (templates == before)
            m_out << "  (no templates)\n";
        listTemplates(album, i);
    }
    for (const CPluginManager::Skipped& skipped : album.PluginManager().SkippedPlugins())
        m_out << "Skipped " << QString::fromStdString(skipped.libraryPath) << ": "
              << QString::fromStdString(skipped.reason) << "\n";
    m_out.flush();
    return templates;
}

void ThemeLister::listTemplates(AlbumProject& album, int pluginIndex)
{
    gv_vector<TemplateInfo> templates;
    album.PluginManager().EnumTemplates(pluginIndex, templates);
    for (const TemplateInfo& info : templates) {
        m_out << "  Template " << info.id << ": " << info.name.c_str() << "\n";
        album.ChooseTemplate(pluginIndex, info.id);
        listParameters(album);
    }
    album.ChooseTemplate(-1, -1);
}

void ThemeLister::listParameters(AlbumProject& album)
{
    gv_vector<GVParamInfo> params;
    album.Parameters(&params);
    for (const GVParamInfo& param : params) {
        m_out << "    " << param.name.c_str() << " [" << typeName(param.type) << "] "
              << param.friendlyName.c_str();
        const QString value = defaultText(param);
        if (!value.isEmpty())
            m_out << " = " << value;
        m_out << "\n";
    }
}
