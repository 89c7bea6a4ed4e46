// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/themechoice.h"

#include <cstring>

#include "album/albumproject.h"
#include "platform/module.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "sdk/gvpluginexports.h"

namespace
{

const CPluginInfo* pluginAt(const AlbumProject& album, int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(album.Plugins().size()))
        return nullptr;
    return &album.Plugins()[static_cast<size_t>(index)];
}

} // namespace

std::vector<ThemePlugin> ThemeChoice::Tree() const
{
    std::vector<ThemePlugin> tree;
    const auto& plugins = m_album.Plugins();
    for (size_t i = 0; i < plugins.size(); ++i) {
        ThemePlugin entry;
        entry.index = static_cast<int32_t>(i);
        entry.displayName = QString::fromUtf8(plugins[i].GetDisplayName());
        gv_vector<TemplateInfo> templates;
        // A plug-in without an object is listed without templates.
        if (plugins[i].plugin != nullptr &&
            m_album.PluginManager().EnumTemplates(entry.index, templates) == 0) {
            for (int32_t t = 0; t < templates.size(); ++t)
                entry.templates.push_back(
                    {templates[t].id, QString::fromUtf8(templates[t].name.c_str())});
        }
        tree.push_back(std::move(entry));
    }
    return tree;
}

void ThemeChoice::EndPreviews() const
{
    for (const CPluginInfo& plugin : m_album.Plugins()) {
        if (plugin.plugin != nullptr)
            plugin.plugin->EndPreview();
    }
}

QString ThemeChoice::Preview(int32_t pluginIndex, int32_t templateId) const
{
    EndPreviews();
    const CPluginInfo* plugin = pluginAt(m_album, pluginIndex);
    if (plugin == nullptr || plugin->plugin == nullptr)
        return QString();
    gv_string picture;
    if (plugin->plugin->GetPreview(templateId, &picture, &m_host) == 0)
        return QString();
    return QString::fromUtf8(picture.c_str());
}

ThemeChoice::NextResult ThemeChoice::Next(int32_t pluginIndex, int32_t templateId,
                                          Prompter& prompter)
{
    if (templateId < 0 || pluginAt(m_album, pluginIndex) == nullptr) {
        prompter.message(loadString(IDS_SELECT_THEME), Prompter::Icon::Information);
        return NextResult::NeedTheme;
    }
    if (pluginIndex == m_album.PluginIndex() && templateId == m_album.TemplateId())
        return NextResult::Kept;
    m_album.ChooseTemplate(pluginIndex, templateId);
    // The old template's values mean nothing to the new one: they are fetched afresh.
    m_album.ParameterList().clear();
    m_album.MarkModified();
    return NextResult::Changed;
}

int ThemeChoice::BackTarget() const
{
    return m_album.IsFresh() ? 0 : 1;
}

bool ThemeChoice::Install(int32_t pluginIndex, const QString& templateFolder) const
{
    const CPluginInfo* plugin = pluginAt(m_album, pluginIndex);
    if (plugin == nullptr)
        return false;
    auto install = reinterpret_cast<InstallTemplateFn>(
        platform::moduleSymbol(plugin->module, GV_INSTALL_TEMPLATE_EXPORT));
    if (install == nullptr)
        return false;
    // The export may write a folder of its own into the buffer.
    char buffer[GV_MAX_PATH] = {};
    const QByteArray folder = templateFolder.toUtf8().left(GV_MAX_PATH - 1);
    std::memcpy(buffer, folder.constData(), static_cast<size_t>(folder.size()));
    return install(buffer, 0) == 0;
}

bool ThemeChoice::Uninstall(int32_t pluginIndex, int32_t templateId, const QString& itemText,
                            Prompter& prompter) const
{
    const CPluginInfo* plugin = pluginAt(m_album, pluginIndex);
    if (plugin == nullptr || templateId < 0)
        return false;
    auto uninstall = reinterpret_cast<UninstallTemplateFn>(
        platform::moduleSymbol(plugin->module, GV_UNINSTALL_TEMPLATE_EXPORT));
    if (uninstall == nullptr)
        return true;
    const QString question = loadString(IDS_UNINSTALL_THEME_QUESTION) + u' ' + itemText;
    if (prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::No) !=
        Prompter::Answer::Yes)
        return false;
    uninstall(templateId, 0);
    return true;
}
