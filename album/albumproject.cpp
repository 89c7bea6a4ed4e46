// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/albumproject.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "album/hostparameters.h"
#include "album/projectpaths.h"
#include "plugins/paramrules.h"

namespace fs = std::filesystem;

AlbumProject::AlbumProject() = default;

AlbumProject::~AlbumProject()
{
    m_params.clear();
    m_pluginManager.ReleasePlugins(m_plugins);
}

bool AlbumProject::Initialise()
{
    m_modified = false;
    m_fresh = true;
    m_pluginIndex = -1;
    m_templateId = -1;
    m_albumName = "";
    m_namedByUser = false;
    if (!m_pluginManager.Init(false))
        return false;
    return m_pluginManager.EnumPlugins(m_plugins) == 0;
}

void AlbumProject::Reset()
{
    m_pluginIndex = -1;
    m_templateId = -1;
    m_images.clear();
    m_params.clear();
    m_pluginManager.ReleasePlugins(m_plugins);
    m_plugins.clear();
    m_albumName = "";
    m_destination = "";
    m_favoritesName = "";
    m_summary = AlbumSummary();
    Initialise();
    m_generated = false;
    m_projectPath = "";
}

void AlbumProject::MarkModified()
{
    m_modified = true;
    m_generated = false;
}

bool AlbumProject::SetAlbumName(const char* name, bool byUser)
{
    if (name == nullptr || *name == '\0')
        return false;
    m_albumName = name;
    m_namedByUser = byUser;
    return true;
}

const GVParamInfo* AlbumProject::findParameter(const char* name) const
{
    for (const GVParamInfo& param : m_params)
        if (paramrules::sameName(param.name.c_str(), name))
            return &param;
    return nullptr;
}

gv_string AlbumProject::ChosenTemplateName()
{
    if (m_pluginIndex < 0 || m_templateId < 0)
        return gv_string();
    gv_vector<TemplateInfo> templates;
    m_pluginManager.EnumTemplates(m_pluginIndex, templates);
    for (const TemplateInfo& info : templates)
        if (info.id == m_templateId)
            return info.name;
    return gv_string();
}

gv_string AlbumProject::AlbumName()
{
    if (!m_albumName.empty() && (m_generated || m_namedByUser || !m_destination.empty()))
        return m_albumName;
    if (const GVParamInfo* title = findParameter("Title")) {
        const GVParamValue* value = paramrules::value(*title);
        if (value != nullptr && !value->text.empty()) {
            m_albumName = value->text;
            return m_albumName;
        }
    }
    const gv_string templateName = ChosenTemplateName();
    if (!templateName.empty())
        m_albumName = templateName;
    return templateName;
}

const CPluginInfo* AlbumProject::ChosenPlugin() const
{
    if (m_pluginIndex < 0 || m_pluginIndex >= static_cast<int32_t>(m_plugins.size()))
        return nullptr;
    return &m_plugins[static_cast<size_t>(m_pluginIndex)];
}

bool AlbumProject::ChooseTemplate(int32_t pluginIndex, int32_t templateId)
{
    if (pluginIndex < -1 || pluginIndex >= static_cast<int32_t>(m_plugins.size()))
        return false;
    if (pluginIndex != m_pluginIndex || templateId != m_templateId)
        m_params.clear();
    m_pluginIndex = pluginIndex;
    m_templateId = pluginIndex < 0 ? -1 : templateId;
    return true;
}

int AlbumProject::Parameters(gv_vector<GVParamInfo>* params)
{
    const CPluginInfo* plugin = ChosenPlugin();
    if (plugin == nullptr || m_templateId < 0)
        return -1;
    if (m_params.empty()) {
        if (plugin->plugin == nullptr)
            return -1;
        // The plug-in builds its records with its own code; copying them here gives records
        // that stay valid after the plug-in's library is unloaded.
        gv_vector<GVParamInfo> fromPlugin;
        try {
            plugin->plugin->GetTemplateParams(m_templateId, &fromPlugin);
            m_params = fromPlugin;
        } catch (...) {
            m_params.clear(); // a plug-in that throws offers only the host's parameters
        }
        hostparams::append(m_params, m_settings);
    }
    if (params != nullptr)
        *params = m_params;
    return 0;
}

void AlbumProject::ImagesForPlugins(gv_vector<AlbumImageInfo>& images) const
{
    for (const AlbumImage& image : m_images)
        images.push_back(static_cast<const AlbumImageInfo&>(image));
}

Progress& AlbumProject::BeginProgress(const QString& title)
{
    m_progress = m_progressFactory ? m_progressFactory() : nullptr;
    if (!m_progress)
        m_progress = std::make_unique<SilentProgress>();
    m_progress->setTitle(title);
    return *m_progress;
}

bool AlbumProject::CreateFoldersForPath(const char* path)
{
    if (path == nullptr)
        return true;
    bool result = true;
    // A backslash separates only in a path written on Windows; elsewhere it is part of a name.
    const std::string text = projectpaths::nativePath(path);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '/')
            continue;
        const std::string prefix = text.substr(0, i);
        std::error_code error;
        if (prefix.empty() || fs::exists(prefix, error))
            continue;
        result = fs::create_directory(prefix, error) && !error;
    }
    return result;
}
