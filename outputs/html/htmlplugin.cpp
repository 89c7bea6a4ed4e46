// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/htmlplugin.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

#include "outputs/html/generation.h"
#include "outputs/html/themefiles.h"
#include "outputs/html/themeparams.h"

using namespace html;

namespace
{

// Nothing may cross the library boundary as an exception: every slot runs through here.
template <typename Result, typename Fn> Result guarded(Result failure, Fn&& fn) noexcept
{
    try {
        return fn();
    } catch (const std::exception& error) {
        qWarning("HTML plug-in: %s", error.what());
    } catch (...) {
        qWarning("HTML plug-in: unexpected failure");
    }
    return failure;
}

// Opens the page in the user's browser; the command-line program has no desktop services of
// its own, so there the desktop's opener is asked directly.
bool openInBrowser(const QString& page)
{
    const QUrl url = QUrl::fromLocalFile(page);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        return QDesktopServices::openUrl(url);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
#else
    return false;
#endif
}

} // namespace

int32_t CHtmlPlugin::GetPreview(int32_t templateId, gv_string* picture, IGallivex*)
{
    return guarded<int32_t>(0, [&]() -> int32_t {
        const ThemePtr theme = m_catalog.find(templateId);
        if (picture == nullptr || theme == nullptr || theme->preview.isEmpty())
            return 0;
        const std::optional<QString> path = fileInside(theme->folder, theme->preview);
        if (!path)
            return 0;
        *picture = QDir::toNativeSeparators(*path).toUtf8().constData();
        return 1;
    });
}

void CHtmlPlugin::EndPreview()
{
    // The preview is a file of the theme itself: nothing was made that needs undoing.
}

int32_t CHtmlPlugin::GetTemplates(gv_vector<TemplateInfo>* templates)
{
    return guarded<int32_t>(GV_E_UNEXPECTED, [&]() -> int32_t {
        if (templates == nullptr)
            return GV_E_INVALIDPARAM;
        m_catalog.scan(); // the theme page lists afresh, after installs too
        for (const ThemePtr& theme : m_catalog.themes())
            templates->push_back(TemplateInfo(theme->id, theme->name.toUtf8().constData(),
                                              theme->description.toUtf8().constData()));
        return GV_OK;
    });
}

int32_t CHtmlPlugin::GetTemplateParams(int32_t templateId, gv_vector<GVParamInfo>* params)
{
    return guarded<int32_t>(GV_E_UNEXPECTED, [&]() -> int32_t {
        const ThemePtr theme = m_catalog.find(templateId);
        if (params == nullptr)
            return GV_E_INVALIDPARAM;
        if (theme == nullptr)
            return GV_E_TEMPLATE;
        CThemeParams::describe(*theme, *params);
        return GV_OK;
    });
}

ResultCode CHtmlPlugin::Generate(int32_t templateId, IGallivex* host)
{
    return guarded<ResultCode>(GV_E_UNEXPECTED, [&]() -> ResultCode {
        if (host == nullptr)
            return GV_E_INVALIDPARAM;
        ThemePtr theme = m_catalog.find(templateId);
        if (theme == nullptr)
            return GV_E_TEMPLATE;
        return CGeneration(theme, *host).run();
    });
}

QString CHtmlPlugin::startPageOf(int32_t templateId, const gv_string* destination)
{
    const ThemePtr theme = m_catalog.find(templateId);
    if (theme == nullptr || destination == nullptr || destination->empty())
        return QString();
    return QDir(QString::fromUtf8(destination->c_str())).filePath(theme->startPage);
}

int32_t CHtmlPlugin::ViewAlbum(int32_t templateId, gv_string* destination)
{
    return guarded<int32_t>(-1, [&]() -> int32_t {
        const QString page = startPageOf(templateId, destination);
        if (page.isEmpty() || !QFileInfo(page).isFile())
            return -1;
        if (qEnvironmentVariable(NoBrowserVariable) == QLatin1String("1"))
            return 0;
        return openInBrowser(page) ? 0 : -1;
    });
}

int32_t CHtmlPlugin::GetStartPage(int32_t templateId, gv_string* destination, gv_string* startPage)
{
    return guarded<int32_t>(GV_E_UNEXPECTED, [&]() -> int32_t {
        if (startPage == nullptr)
            return GV_E_INVALIDPARAM;
        const QString page = startPageOf(templateId, destination);
        *startPage = QDir::toNativeSeparators(page).toUtf8().constData();
        return page.isEmpty() ? GV_E_TEMPLATE : GV_OK;
    });
}

int32_t CHtmlPlugin::Reserved7()
{
    return 0;
}

bool CHtmlPlugin::UsesSubfolderText(int32_t templateId)
{
    return guarded<bool>(false, [&] {
        const ThemePtr theme = m_catalog.find(templateId);
        return theme != nullptr && theme->groupsBySubfolder;
    });
}
