// SPDX-License-Identifier: GPL-2.0-or-later
// What the HTML plug-in library exports: the plug-in object, its version record and the two
// theme package functions the album builder and the setup program call.
#include <cstring>
#include <new>

#include <QString>

#include "outputs/html/htmlplugin.h"
#include "outputs/html/themepackage.h"
#include "sdk/gvpluginexports.h"

namespace
{

constexpr GVVersionRecord VersionRecord = {
    sizeof(GVVersionRecord),
    GV_PLUGIN_INTERFACE_VERSION,
    (GVHTML_VERSION_MAJOR << 16) | GVHTML_VERSION_MINOR,
    (GVHTML_VERSION_PATCH << 16) | 0,
    "HTML",
    "Web album (HTML)",
    "Web photo albums from themes: pages and pictures that work from any folder or web host",
    "Copyright (C) Vellora",
};

} // namespace

GV_PLUGIN_EXPORT IOutputPlugin* GVCreateOutputPlugin()
{
    try {
        return new (std::nothrow) CHtmlPlugin();
    } catch (...) {
        return nullptr;
    }
}

GV_PLUGIN_EXPORT void GVDestroyOutputPlugin(IOutputPlugin* plugin)
{
    delete static_cast<CHtmlPlugin*>(plugin);
}

GV_PLUGIN_EXPORT const GVVersionRecord* GVGetVersionRecord()
{
    return &VersionRecord;
}

// folder: GV_MAX_PATH characters, in and out. In: a theme package or the folder holding
// one; out, after an install: the folder the package was in, when it fits.
GV_PLUGIN_EXPORT int InstallTemplate(char* folder, int)
{
    if (folder == nullptr)
        return GV_E_INVALIDPARAM;
    try {
        const QString start =
            QString::fromUtf8(folder, static_cast<qsizetype>(strnlen(folder, GV_MAX_PATH - 1)));
        QString chosen;
        QString error;
        const ResultCode result = CThemePackage::install(start, &chosen, &error);
        if (result != GV_OK) {
            qWarning("HTML plug-in: theme package not installed: %s", qUtf8Printable(error));
            return result;
        }
        const QByteArray out = chosen.toUtf8();
        if (out.size() < GV_MAX_PATH)
            std::memcpy(folder, out.constData(), static_cast<size_t>(out.size()) + 1);
        return GV_OK;
    } catch (...) {
        return GV_E_UNEXPECTED;
    }
}

GV_PLUGIN_EXPORT int UninstallTemplate(int templateId, int)
{
    try {
        QString error;
        const ResultCode result = CThemePackage::uninstall(templateId, &error);
        if (result != GV_OK)
            qWarning("HTML plug-in: theme not removed: %s", qUtf8Printable(error));
        return result;
    } catch (...) {
        return GV_E_UNEXPECTED;
    }
}
