// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/themeinstaller.h"

#include <cstring>

#include "plugins/paramrules.h"
#include "sdk/gvpluginexports.h"
#include "sdk/resultcode.h"
#include "tolvane/pluginmanager.h"

ThemeInstaller::ThemeInstaller(CPluginManager& manager, std::vector<CPluginInfo>& plugins)
    : m_manager(manager), m_plugins(plugins)
{
}

bool ThemeInstaller::IsThemeFile(const QString& path)
{
    return path.endsWith(QStringLiteral(".thm"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".td"), Qt::CaseInsensitive);
}

std::vector<size_t> ThemeInstaller::InstallOrder(const std::vector<CPluginInfo>& plugins)
{
    std::vector<size_t> order;
    for (size_t i = 0; i < plugins.size(); ++i)
        if (paramrules::sameName(plugins[i].GetName(), "HTML"))
            order.push_back(i);
    for (size_t i = 0; i < plugins.size(); ++i)
        if (!paramrules::sameName(plugins[i].GetName(), "HTML"))
            order.push_back(i);
    return order;
}

QStringList ThemeInstaller::templateNames(size_t index)
{
    gv_vector<TemplateInfo> templates;
    m_manager.EnumTemplates(static_cast<int>(index), templates);
    QStringList names;
    for (const TemplateInfo& info : templates)
        names << QStringLiteral("%1 (template %2)")
                     .arg(QString::fromUtf8(info.name.c_str()))
                     .arg(info.id);
    return names;
}

ThemeInstaller::Outcome ThemeInstaller::Install(const QString& package)
{
    Outcome outcome;
    const QByteArray path = package.toUtf8();
    for (const size_t index : InstallOrder(m_plugins)) {
        const CPluginInfo& plugin = m_plugins[index];
        auto install = reinterpret_cast<InstallTemplateFn>(
            platform::moduleSymbol(plugin.module, GV_INSTALL_TEMPLATE_EXPORT));
        if (install == nullptr)
            continue;
        const QString name = QString::fromUtf8(plugin.GetDisplayName());
        // The export writes into the buffer; a path that does not fit cannot be handed over.
        char buffer[GV_MAX_PATH] = {};
        if (path.size() >= GV_MAX_PATH) {
            outcome.refusals << QStringLiteral("%1: the path is too long").arg(name);
            continue;
        }
        std::memcpy(buffer, path.constData(), static_cast<size_t>(path.size()));
        const QStringList before = templateNames(index);
        int result = GV_E_UNEXPECTED;
        try {
            result = install(buffer, 0);
        } catch (...) {
        }
        if (result != GV_OK) {
            outcome.refusals << QStringLiteral("%1: %2").arg(
                name, QString::fromUtf8(FormatResultMessage(result).c_str()));
            continue;
        }
        outcome.installed = true;
        outcome.plugin = name;
        outcome.pluginName = QString::fromUtf8(plugin.GetName());
        for (const QString& theme : templateNames(index))
            if (!before.contains(theme))
                outcome.themes << theme;
        return outcome;
    }
    return outcome;
}
