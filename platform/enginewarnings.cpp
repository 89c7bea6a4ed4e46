// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/enginewarnings.h"

#include <cstring>

#include <glib.h>

namespace imaging
{

namespace
{

// The engine's log domain.
constexpr const char* EngineDomain = "VIPS";

// HEIF and AVIF photos describe their colours in an "nclx" box that the engine does not use;
// it says so for every such photo although the picture decodes as it should.
constexpr const char* QuietedWarnings[] = {"heifload: ignoring nclx profile"};

void filterWarning(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer data)
{
    if (!isQuietedEngineWarning(message))
        g_log_default_handler(domain, level, message, data);
}

} // namespace

bool isQuietedEngineWarning(const char* message)
{
    if (message == nullptr)
        return false;
    for (const char* quieted : QuietedWarnings)
        if (std::strcmp(message, quieted) == 0)
            return true;
    return false;
}

void quietHarmlessEngineWarnings()
{
    g_log_set_handler(EngineDomain, G_LOG_LEVEL_WARNING, filterWarning, nullptr);
}

} // namespace imaging
