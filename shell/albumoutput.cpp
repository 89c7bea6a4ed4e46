#include "shell/albumoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include "album/albumproject.h"
#include "album/projectfile.h"
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
    // neither made nor emptied for nothing. Like a failing plug-in, this shows nothing.
    if (const CPluginInfo* plugin = m_app.Album().ChosenPlugin();
        plugin == nullptr || plugin->plugin == nullptr || m_app.Album().TemplateId() < 0)
        return 0;
    const CAlbumGenerator::Outcome outcome = m_generator.Generate(destination, saveAtOnce);
    if (outcome.result != 0 || outcome.plugin != GV_OK)
        return outcome.result;
    AlbumProject& album = m_app.Album();
    if (const CPluginInfo* plugin = album.ChosenPlugin();
        plugin != nullptr && plugin->plugin != nullptr) {
        gv_string folder = album.Destination();
        plugin->plugin->ViewAlbum(album.TemplateId(), &folder);
    }
    if (addFavorites && album.IsGenerated() &&
        AddFavoritesShortcut(album, AlbumInspector::FavoritesFolder(m_app.GetSettings()),
                             QCoreApplication::applicationFilePath())) {
        // The project file learns the shortcut's name.
        if (const ResultCode result = m_projectFile->SaveProject(); result != GV_OK)
            m_app.GetPrompter().message(QString::fromUtf8(FormatResultMessage(result).c_str()),
                                        Prompter::Icon::Error);
    }
    return 0;
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
    album.SetFavoritesName(name.toUtf8().constData());
    return true;
}
