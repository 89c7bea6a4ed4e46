// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/themecatalog.h"

#include <algorithm>
#include <atomic>

#include <QDir>
#include <QtGlobal>

#include "outputs/html/thememanifest.h"
#include "outputs/html/themepackage.h"
#include "platform/paths.h"

using namespace html;

namespace
{

std::atomic<int> g_changes{0};

QString fromEnvironment(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString CThemeCatalog::shippedFolder()
{
    return fromEnvironment("GALLIVEX_HTML_TEMPLATES",
                           platform::shippedFolder(platform::Shipped::HtmlThemes));
}

QString CThemeCatalog::userFolder()
{
    return fromEnvironment("GALLIVEX_HTML_USER_TEMPLATES",
                           platform::userDataFolder() + QStringLiteral("/templates/html"));
}

void CThemeCatalog::markChanged()
{
    ++g_changes;
}

void CThemeCatalog::scan()
{
    m_scannedChange = g_changes.load();
    m_themes.clear();
    m_skipped.clear();
    scanFolder(shippedFolder(), false);
    CThemePackage::removeAbandonedInstallations();
    scanFolder(userFolder(), true);
    std::stable_sort(m_themes.begin(), m_themes.end(), [](const ThemePtr& a, const ThemePtr& b) {
        if (a->order != b->order)
            return a->order < b->order;
        return a->name.compare(b->name, Qt::CaseInsensitive) < 0;
    });
}

void CThemeCatalog::scanFolder(const QString& folder, bool userInstalled)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = dir.filePath(name);
        QString reason;
        ThemePtr theme = CThemeManifest::load(path, userInstalled, &reason);
        if (theme) {
            const auto same = std::find_if(m_themes.begin(), m_themes.end(),
                                           [&](const ThemePtr& t) { return t->id == theme->id; });
            if (same == m_themes.end()) {
                m_themes.push_back(theme);
                continue;
            }
            reason =
                QStringLiteral("its id %1 is taken by \"%2\"").arg(theme->id).arg((*same)->name);
        }
        qWarning("HTML plug-in: theme in %s skipped: %s", qUtf8Printable(path),
                 qUtf8Printable(reason));
        m_skipped.push_back({path, reason});
    }
}

const std::vector<ThemePtr>& CThemeCatalog::themes()
{
    if (m_scannedChange != g_changes.load())
        scan();
    return m_themes;
}

ThemePtr CThemeCatalog::find(int32_t id)
{
    for (const ThemePtr& theme : themes())
        if (theme->id == id)
            return theme;
    return nullptr;
}
