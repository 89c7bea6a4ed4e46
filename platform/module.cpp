// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/module.h"

#include <dlfcn.h>

namespace platform {

ModuleHandle loadModule(const std::string& path, std::string* error)
{
    dlerror();
    // Local binding: two plug-ins may define the same symbols without seeing each other's.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && error != nullptr) {
        const char* reason = dlerror();
        *error = reason ? reason : "the library could not be loaded";
    }
    return handle;
}

void* moduleSymbol(ModuleHandle module, const char* name)
{
    return module ? dlsym(module, name) : nullptr;
}

bool freeModule(ModuleHandle module)
{
    return module != nullptr && dlclose(module) == 0;
}

bool isModuleLoaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return false;
    dlclose(handle); // RTLD_NOLOAD still counted a reference
    return true;
}

const char* moduleSuffix()
{
    return ".so";
}

} // namespace platform
