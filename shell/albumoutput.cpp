// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumoutput.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/placebookmarks.h"
#include "platform/prompter.h"
#include "platform/safefile.h"
#include "platform/stringtable.h"
#include "plugins/gallivex_impl.h"
#include "shell/albuminspector.h"
#include "shell/gvapp.h"

namespace
{

// A value of a desktop entry keeps to its one line.
QString desktopValue(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\r"));
    return text;
}

} // namespace

AlbumOutput::AlbumOutput(CGVApp& app, Choosers& choosers)
    : m_app(app),
      m_projectFile(std::make_unique<ProjectFile>(app.Album(), app.GetPrompter(), choosers)),
      m_check(
          app.GetPrompter(),
          [this](const QString& text, CDestinationCheck::DeletionMethod stored)
              -> std::optional<CDestinationCheck::DeletionMethod> {
              if (!m_warning)
                  return std::nullopt;
              return m_warning(text, stored);
          },
          app.ProgramFolder()),
      m_generator(app.Host(), m_check, *m_projectFile, app.GetPrompter())
{
}

AlbumOutput::~AlbumOutput() = default;

void AlbumOutput::SetAlbumNameDialog(std::function<std::optional<QString>(const QString&)> dialog)
{
    m_projectFile->SetAlbumNameDialog(std::move(dialog));
}

int AlbumOutput::Generate(const QString& destination, bool saveAtOnce, bool addFavorites)
{
    // An album without a usable plug-in and template cannot be generated: its folder is
    // neither made nor emptied for nothing.
    const CPluginInfo* chosen = m_app.Album().ChosenPlugin();
    if (chosen == nullptr)
        return GV_E_PLUGINID;
    if (chosen->plugin == nullptr)
        return GV_E_PLUGINNOTINSTALLED;
    if (m_app.Album().TemplateId() < 0)
        return GV_E_TEMPLATE;
    const CAlbumGenerator::Outcome outcome = m_generator.Generate(destination, saveAtOnce);
    if (outcome.result != 0)
        return outcome.result;
    if (outcome.plugin != GV_OK)
        return outcome.plugin;
    AlbumProject& album = m_app.Album();
    if (addFavorites && album.IsGenerated() &&
        AddFavoritesShortcut(album, AlbumInspector::FavoritesFolder(m_app.GetSettings()),
                             QStringLiteral("gallivex"))) {
        // The project file learns the shortcut's name.
        if (const ResultCode result = m_projectFile->SaveProject(); result != GV_OK)
            m_app.GetPrompter().message(QString::fromUtf8(FormatResultMessage(result).c_str()),
                                        Prompter::Icon::Error);
    }
    return 0;
}

QString AlbumOutput::ResultText(int result) const
{
    switch (result) {
    case 0:
        return loadString(IDS_ALBUM_GENERATED)
            .arg(QDir::toNativeSeparators(QString::fromUtf8(m_app.Album().Destination().c_str())));
    case -1:
    case GV_E_FILENOTFOUND:
        return QString();
    case GV_CANCELLED:
        return loadString(IDS_GENERATION_CANCELLED);
    default:
        return loadString(IDS_GENERATION_FAILED)
            .arg(QString::fromUtf8(FormatResultMessage(static_cast<ResultCode>(result)).c_str()));
    }
}

bool AlbumOutput::View()
{
    AlbumProject& album = m_app.Album();
    const CPluginInfo* plugin = album.ChosenPlugin();
    int32_t result = GV_E_PLUGINNOTINSTALLED;
    if (plugin != nullptr && plugin->plugin != nullptr) {
        gv_string folder = album.Destination();
        result = plugin->plugin->ViewAlbum(album.TemplateId(), &folder);
    }
    if (result >= 0)
        return true;
    m_app.GetPrompter().message(loadString(IDS_VIEW_FAILED).arg(result), Prompter::Icon::Error);
    return false;
}

bool AlbumOutput::Next(bool saveAtOnce, const std::function<int()>& generate)
{
    if (!m_app.Album().IsGenerated()) {
        switch (m_app.GetPrompter().ask(loadString(IDS_GENERATE_NOW),
                                        Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes)) {
        case Prompter::Answer::Yes:
            if (generate() != 0)
                return false;
            break;
        case Prompter::Answer::No:
            break;
        default:
            return false;
        }
    }
    m_generator.SaveIfModified(saveAtOnce);
    return true;
}

bool AlbumOutput::AddFavoritesShortcut(AlbumProject& album, const QString& favoritesFolder,
                                       const QString& iconFile)
{
    const CPluginInfo* plugin = album.ChosenPlugin();
    if (plugin == nullptr || plugin->plugin == nullptr)
        return false;
    gv_string destination = album.Destination();
    gv_string startPage;
    if (plugin->plugin->GetStartPage(album.TemplateId(), &destination, &startPage) < 0)
        return false;
    const QString name = QString::fromUtf8(album.AlbumName().c_str());
    const QString page = QString::fromUtf8(startPage.c_str());
    // The name is the file's name: it may not lead into another folder.
    if (name.isEmpty() || page.isEmpty() || name.contains(u'/') || name.contains(u'\\') ||
        name == QStringLiteral(".") || name == QStringLiteral(".."))
        return false;
    if (!QDir().mkpath(favoritesFolder))
        return false;
    const QUrl url = QUrl(page).scheme().size() > 1 ? QUrl(page) : QUrl::fromLocalFile(page);
    const QString shortcut = QDir(favoritesFolder).filePath(name + QStringLiteral(".desktop"));
    const QString entry =
        QStringLiteral("[Desktop Entry]\nType=Link\nName=%1\nURL=%2\nComment=%3\nIcon=%4\n")
            .arg(desktopValue(name), desktopValue(url.toString(QUrl::FullyEncoded)),
                 desktopValue(loadString(IDS_FAVORITES_COMMENT)), desktopValue(iconFile));
    if (!platform::writeFileSafely(shortcut, entry.toUtf8()))
        return false;
    // File managers and file dialogs list their bookmarked places, not a shortcut folder:
    // the album's folder goes there (a published album's address as it is).
    const QUrl place = url.isLocalFile() ? QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath()) : url;
    platform::PlaceBookmarks().add(name, place, iconFile);
    album.SetFavoritesName(name.toUtf8().constData());
    return true;
}
