// SPDX-License-Identifier: GPL-2.0-or-later
// CPluginManager: finds, loads, orders and unloads the output plug-ins.
//
// Plug-ins are shared libraries in the plugins/ folder beside the program and in the
// per-user plug-ins folder. They are listed in the order of their file names, so a plug-in
// keeps its index for as long as the same plug-ins are installed. A library that cannot be
// loaded, lacks the plug-in factory, was built for another interface version or repeats the
// name of an earlier plug-in is skipped, with the reason kept for SkippedPlugins().
#pragma once

#include <string>
#include <vector>

#include "sdk/gv_vector.h"
#include "sdk/gvpluginexports.h"
#include "sdk/templateinfo.h"
#include "tolvane/plugininfo.h"
#include "tolvane/tolvane_export.h"

// Reads the version record of a plug-in library file: its product version as two 32-bit
// halves (major << 16 | minor, build << 16 | revision). False when the library cannot be
// loaded or has no version record.
TOLVANE_EXPORT bool ReadPluginVersion(const std::string& libraryPath, uint32_t& versionMS,
                                      uint32_t& versionLS);

class TOLVANE_EXPORT CPluginManager {
public:
    struct Skipped {
        std::string libraryPath;
        std::string reason;
    };

    CPluginManager();
    CPluginManager(const CPluginManager&) = delete;
    CPluginManager& operator=(const CPluginManager&) = delete;
    virtual ~CPluginManager();

    // Prepares the manager; the argument is reserved (the host passes false). False when no
    // plug-ins folder exists at all, which means the program is not installed properly.
    bool Init(bool reserved);
    // Loads every plug-in and fills plugins with one record each; 0 on success. Called again
    // before ReleasePlugins, it lists the plug-ins already loaded.
    int EnumPlugins(std::vector<CPluginInfo>& plugins);
    // Fills templates with the templates of the plug-in at pluginIndex; an index that is out
    // of range or a plug-in without object leaves it empty and gives -1024.
    int EnumTemplates(int pluginIndex, gv_vector<TemplateInfo>& templates);
    // Frees every plug-in object and unloads its library; the records' object and library
    // handle become null, so nothing can be freed twice.
    void ReleasePlugins(std::vector<CPluginInfo>& plugins);

    // The folders searched, in order; by default the program's plugins/ and the user's.
    void SetPluginFolders(std::vector<std::string> folders);
    const std::vector<std::string>& PluginFolders() const { return m_folders; }
    // The libraries the last EnumPlugins passed over, and why.
    const std::vector<Skipped>& SkippedPlugins() const { return m_skipped; }

private:
    struct Loaded {
        CPluginInfo info;
        GVDestroyOutputPluginFn destroy = nullptr;
    };
    void loadOne(const std::string& path);
    void skip(const std::string& path, std::string reason);
    std::vector<std::string> libraryFiles() const;

    std::vector<std::string> m_folders;
    std::vector<Loaded> m_loaded;
    std::vector<Skipped> m_skipped;
};
