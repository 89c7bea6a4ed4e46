// SPDX-License-Identifier: GPL-2.0-or-later
// What an output plug-in library exports, with C linkage, by these names:
//
//   IOutputPlugin* GVCreateOutputPlugin(void);          the plug-in object, or null
//   void GVDestroyOutputPlugin(IOutputPlugin*);         frees what GVCreateOutputPlugin made
//   const GVVersionRecord* GVGetVersionRecord(void);    names and version of the library
//   int InstallTemplate(char* folder, int reserved);    folder: 260 chars, in and out; 0 = done
//   int UninstallTemplate(int templateId, int reserved);
//
// The plug-in manager reads the version record before it makes the plug-in object and skips
// a library whose interface version it does not know.
#pragma once

#include <cstdint>

#include "sdk/ioutputplugin.h"

// The interface version this SDK describes.
constexpr uint32_t GV_PLUGIN_INTERFACE_VERSION = 1;
// Size of the folder buffer handed to InstallTemplate, in characters.
constexpr int GV_MAX_PATH = 260;

struct GVVersionRecord {
    uint32_t structSize;       // sizeof(GVVersionRecord)
    uint32_t interfaceVersion; // GV_PLUGIN_INTERFACE_VERSION
    uint32_t productVersionMS; // major << 16 | minor
    uint32_t productVersionLS; // build << 16 | revision
    const char* name;          // identifies the plug-in in project files, e.g. "HTML"
    const char* displayName;   // shown in the theme tree
    const char* description;
    const char* legalCopyright;
};

#ifdef _WIN32
#define GV_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define GV_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

extern "C" {
using GVCreateOutputPluginFn = IOutputPlugin* (*)();
using GVDestroyOutputPluginFn = void (*)(IOutputPlugin*);
using GVGetVersionRecordFn = const GVVersionRecord* (*)();
using InstallTemplateFn = int (*)(char* folder, int reserved);
using UninstallTemplateFn = int (*)(int templateId, int reserved);
}

inline constexpr const char* GV_CREATE_PLUGIN_EXPORT = "GVCreateOutputPlugin";
inline constexpr const char* GV_DESTROY_PLUGIN_EXPORT = "GVDestroyOutputPlugin";
inline constexpr const char* GV_VERSION_RECORD_EXPORT = "GVGetVersionRecord";
inline constexpr const char* GV_INSTALL_TEMPLATE_EXPORT = "InstallTemplate";
inline constexpr const char* GV_UNINSTALL_TEMPLATE_EXPORT = "UninstallTemplate";
