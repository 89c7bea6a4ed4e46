// SPDX-License-Identifier: GPL-2.0-or-later
#include "tolvane/pluginmanager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

std::string versionText(const GVVersionRecord& record)
{
    return std::to_string(record.productVersionMS >> 16) + "." +
           std::to_string(record.productVersionMS & 0xffff) + "." +
           std::to_string(record.productVersionLS >> 16) + "." +
           std::to_string(record.productVersionLS & 0xffff);
}

// A library without a version record is still a plug-in; it is known by its file name.
std::string nameFromFile(const std::string& path)
{
    std::string stem = fs::path(path).stem().string();
    if (stem.rfind("lib", 0) == 0 && stem.size() > 3)
        stem.erase(0, 3);
    return stem;
}

bool sameNameIgnoringCase(const char* a, const std::string& b)
{
    return std::equal(b.begin(), b.end(), a, a + std::char_traits<char>::length(a),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                  std::tolower(static_cast<unsigned char>(y)); });
}

} // namespace

bool ReadPluginVersion(const std::string& libraryPath, uint32_t& versionMS, uint32_t& versionLS)
{
    // Loading a library that is already loaded only counts another reference.
    platform::ModuleHandle module = platform::loadModule(libraryPath);
    if (module == nullptr)
        return false;
    auto version = reinterpret_cast<GVGetVersionRecordFn>(
        platform::moduleSymbol(module, GV_VERSION_RECORD_EXPORT));
    const GVVersionRecord* record = version ? version() : nullptr;
    if (record != nullptr) {
        versionMS = record->productVersionMS;
        versionLS = record->productVersionLS;
    }
    platform::freeModule(module);
    return record != nullptr;
}

CPluginManager::CPluginManager()
{
    m_folders = {platform::shippedFolder(platform::Shipped::Plugins).toStdString(),
                 (fs::path(platform::userDataFolder().toStdString()) / "plugins").string()};
}

CPluginManager::~CPluginManager()
{
    std::vector<CPluginInfo> none;
    ReleasePlugins(none);
}

void CPluginManager::SetPluginFolders(std::vector<std::string> folders)
{
    m_folders = std::move(folders);
}

bool CPluginManager::Init(bool)
{
    std::error_code error;
    return std::any_of(m_folders.begin(), m_folders.end(),
                       [&](const std::string& folder) { return fs::is_directory(folder, error); });
}

std::vector<std::string> CPluginManager::libraryFiles() const
{
    // Ordered by file name alone, so an installed set always lists the same way; on equal
    // names the earlier folder comes first.
    std::vector<std::pair<std::string, std::string>> found;
    for (const std::string& folder : m_folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            const fs::path& path = it->path();
            if (path.extension() == platform::moduleSuffix() && it->is_regular_file(error))
                found.emplace_back(path.filename().string(), path.string());
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> paths;
    for (const auto& entry : found)
        paths.push_back(entry.second);
    return paths;
}

void CPluginManager::skip(const std::string& path, std::string reason)
{
    m_skipped.push_back({path, std::move(reason)});
}

void CPluginManager::loadOne(const std::string& path)
{
    std::string error;
    platform::ModuleHandle module = platform::loadModule(path, &error);
    if (module == nullptr)
        return skip(path, "cannot be loaded: " + error);

    auto create = reinterpret_cast<GVCreateOutputPluginFn>(
        platform::moduleSymbol(module, GV_CREATE_PLUGIN_EXPORT));
    auto destroy = reinterpret_cast<GVDestroyOutputPluginFn>(
        platform::moduleSymbol(module, GV_DESTROY_PLUGIN_EXPORT));
    auto version = reinterpret_cast<GVGetVersionRecordFn>(
        platform::moduleSymbol(module, GV_VERSION_RECORD_EXPORT));
    const GVVersionRecord* record = version ? version() : nullptr;

    std::string reason;
    if (create == nullptr)
        reason = "not an output plug-in: it exports no " + std::string(GV_CREATE_PLUGIN_EXPORT);
    else if (record && record->interfaceVersion != GV_PLUGIN_INTERFACE_VERSION)
        reason = "built for plug-in interface version " + std::to_string(record->interfaceVersion) +
                 ", this program uses version " + std::to_string(GV_PLUGIN_INTERFACE_VERSION);
    const std::string name = record && record->name && *record->name ? record->name
                                                                      : nameFromFile(path);
    for (const Loaded& other : m_loaded)
        if (reason.empty() && sameNameIgnoringCase(other.info.GetName(), name))
            reason = "another plug-in named \"" + name + "\" is already loaded from " +
                     other.info.libraryPath;
    if (!reason.empty()) {
        platform::freeModule(module);
        return skip(path, reason);
    }

    Loaded loaded;
    CPluginInfo& info = loaded.info;
    info.SetName(name.c_str());
    info.SetDisplayName(record && record->displayName && *record->displayName ? record->displayName
                                                                              : name.c_str());
    info.SetText1(record && record->description ? record->description : "");
    info.SetText4(record ? versionText(*record).c_str() : "");
    info.SetNumber(record ? static_cast<int32_t>(record->interfaceVersion) : 0);
    info.libraryPath = fs::absolute(path).lexically_normal().string();
    info.text2 = fs::path(path).parent_path().string();
    info.module = module;
    try {
        info.plugin = create();
    } catch (...) {
        info.plugin = nullptr;
    }
    loaded.destroy = destroy;
    m_loaded.push_back(std::move(loaded));
}

int CPluginManager::EnumPlugins(std::vector<CPluginInfo>& plugins)
{
    if (m_loaded.empty()) {
        m_skipped.clear();
        for (const std::string& path : libraryFiles())
            loadOne(path);
    }
    plugins.clear();
    for (const Loaded& loaded : m_loaded)
        plugins.push_back(loaded.info);
    return GV_OK;
}

int CPluginManager::EnumTemplates(int pluginIndex, gv_vector<TemplateInfo>& templates)
{
    templates.clear();
    if (pluginIndex < 0 || pluginIndex >= static_cast<int>(m_loaded.size()))
        return GV_E_PLUGINID;
    IOutputPlugin* plugin = m_loaded[static_cast<size_t>(pluginIndex)].info.plugin;
    if (plugin == nullptr)
        return GV_E_PLUGINID;
    try {
        return plugin->GetTemplates(&templates);
    } catch (...) {
        templates.clear();
        return GV_E_TEMPLATE;
    }
}

void CPluginManager::ReleasePlugins(std::vector<CPluginInfo>& plugins)
{
    for (Loaded& loaded : m_loaded) {
        if (loaded.info.plugin != nullptr && loaded.destroy != nullptr) {
            try {
                loaded.destroy(loaded.info.plugin);
            } catch (...) {
            }
        }
        platform::freeModule(loaded.info.module);
    }
    m_loaded.clear();
    for (CPluginInfo& info : plugins) {
        info.plugin = nullptr;
        info.module = nullptr;
    }
}
