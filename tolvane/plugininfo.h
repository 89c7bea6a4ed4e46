// SPDX-License-Identifier: GPL-2.0-or-later
// CPluginInfo: one installed output plug-in as the plug-in manager lists it. Copies share
// the plug-in object and the library handle; only the plug-in manager creates and frees them.
#pragma once

#include <string>

#include "platform/module.h"
#include "sdk/gvplugininfo.h"
#include "sdk/ioutputplugin.h"

class CPluginInfo : public GVPluginInfo {
public:
    std::string libraryPath;          // full path of the plug-in's library file
    std::string text2;                // the plug-in manager's own, copied only
    IOutputPlugin* plugin = nullptr;  // may be null: listed, but offers no templates
    platform::ModuleHandle module = nullptr;
};
