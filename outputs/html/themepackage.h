// SPDX-License-Identifier: GPL-2.0-or-later
// CThemePackage: installs and removes the user's own themes. A theme package (".thm") is a zip
// archive holding one theme folder. Before anything is installed the archive is checked
// (every entry inside that one folder: no absolute paths, no "..", no links, no encryption,
// a sane size) and the unpacked theme must load like any other; only then does it replace an
// older copy of itself, in one rename. Shipped themes are never replaced nor removed.
#pragma once

#include <cstdint>

#include <QString>

#include "sdk/resultcode.h"

class CThemePackage
{
public:
    static constexpr qint64 MaxUnpackedBytes = 200LL * 1024 * 1024;
    static constexpr qint64 MaxEntries = 5000;

    // start names a .thm file, or a folder holding exactly one. GV_OK and the package's
    // folder in *chosenFolder; GV_E_FILENOTFOUND (no package), GV_E_INVALIDPARAM (several
    // packages), GV_E_CORRUPTED (not a safe package of a working theme), GV_E_EXISTS (the id
    // or folder of a shipped or another theme), GV_E_CREATEFILE (cannot write).
    static ResultCode install(const QString& start, QString* chosenFolder, QString* error);
    // Removes the user-installed theme with that id: GV_OK, GV_E_NOTFOUND, GV_E_DELETEFILE
    // for a shipped theme or when it cannot be removed.
    static ResultCode uninstall(int32_t templateId, QString* error);

    // Removes the work folders of installations that were killed or crashed, putting back
    // a theme one of them had moved aside; nothing while an installation runs.
    static void removeAbandonedInstallations();

    // The package that start names, or "" (and *result) when there is none or several.
    static QString findPackage(const QString& start, ResultCode* result);
};
