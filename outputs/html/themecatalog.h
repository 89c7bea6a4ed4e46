// SPDX-License-Identifier: GPL-2.0-or-later
// CThemeCatalog: the HTML themes installed, in display order. Shipped themes live in
// templates/ beside the plug-in (plugins/html/templates), the user's own in the per-user data
// folder (templates/html); both can be moved for tests with GALLIVEX_HTML_TEMPLATES and
// GALLIVEX_HTML_USER_TEMPLATES. A theme whose manifest is broken is skipped with a warning
// saying why, and the others stay available; of two themes with the same id the first found
// (shipped before user-installed, then by folder name) wins.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "outputs/html/theme.h"

class CThemeCatalog
{
public:
    struct Skipped {
        QString folder;
        QString reason;
    };

    static QString shippedFolder();
    static QString userFolder();
    // Tells every catalogue that themes were installed or removed, so they read them again.
    static void markChanged();

    // Reads both folders again.
    void scan();
    // The themes, by the manifests' "order", then name; scanned on first use and after a
    // change.
    const std::vector<html::ThemePtr>& themes();
    // The theme with that id, or null.
    html::ThemePtr find(int32_t id);
    const std::vector<Skipped>& skipped() const { return m_skipped; }

private:
    void scanFolder(const QString& folder, bool userInstalled);

    std::vector<html::ThemePtr> m_themes;
    std::vector<Skipped> m_skipped;
    int m_scannedChange = -1;
};
