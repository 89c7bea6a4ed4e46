// SPDX-License-Identifier: GPL-2.0-or-later
// Loading and unloading shared libraries (plug-ins and the like) by path.
#pragma once

#include <string>

namespace platform {

// An opaque handle of a loaded library; null when none. Handles are plain values so that
// records can share them; whoever loaded one frees it exactly once with freeModule.
using ModuleHandle = void*;

// Loads the library at path, resolving its symbols at once. On failure returns null and
// puts the loader's reason into *error when given.
ModuleHandle loadModule(const std::string& path, std::string* error = nullptr);
// The address of an exported symbol, or null.
void* moduleSymbol(ModuleHandle module, const char* name);
// Unloads the library; false for a null handle or when the loader refuses.
bool freeModule(ModuleHandle module);
// True while the library at path is loaded in this process.
bool isModuleLoaded(const std::string& path);
// The file name ending of shared libraries here (".so", ".dll", ".dylib").
const char* moduleSuffix();

} // namespace platform
