// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albuminspector.h"

#include <QDir>
#include <QFile>

#include "album/imagesearch.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "platform/placebookmarks.h"
#include "platform/prompter.h"
#include "platform/safefile.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/gallivex_impl.h"
#include "plugins/parameditor.h"

namespace
{

// Albums read here never ask: the loader thread has nobody to ask and must not open a window.
class SilentPrompter : public Prompter
{
public:
    Answer ask(const QString&, Buttons, Answer defaultAnswer, Icon) override
    {
        return defaultAnswer;
    }
    void message(const QString&, Icon) override {}
};

// Points the shortcut's shown name at the album's new name.
void renameShortcutEntry(const QString& file, const QString& name)
{
    QFile shortcut(file);
    if (!shortcut.open(QIODevice::ReadOnly))
        return;
    QStringList lines = QString::fromUtf8(shortcut.readAll()).split(u'\n');
    shortcut.close();
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("Name=")))
            line = QStringLiteral("Name=") + name;
    }
    platform::writeFileSafely(file, lines.join(u'\n').toUtf8());
}

} // namespace

AlbumInspector::AlbumInspector(std::vector<std::string> pluginFolders, int thumbnailSide)
    : m_pluginFolders(std::move(pluginFolders)), m_thumbnailSide(thumbnailSide)
{
}

bool AlbumInspector::load(CGallivexImpl& host, const QString& path) const
{
    AlbumProject& album = host.Album();
    album.PluginManager().SetPluginFolders(m_pluginFolders);
    if (!album.Initialise())
        return false;
    SilentPrompter prompter;
    NoChoosers choosers;
    ImageSearch search; // its own list: the program's one belongs to the window's thread
    ProjectFile project(album, prompter, choosers);
    project.SetImageSearch(search);
    project.SetThumbnailSize(m_thumbnailSide);
    return project.OpenProject(path.toUtf8().constData(), false) == GV_OK;
}

std::optional<AlbumSummary> AlbumInspector::ReadSummary(const QString& path) const
{
    CGallivexImpl host;
    if (!load(host, path))
        return std::nullopt;
    AlbumSummary summary = host.Album().Summary();
    if (summary.albumName.empty())
        summary.albumName = host.Album().AlbumName();
    summary.destination = host.Album().Destination();
    summary.favoritesName = host.Album().FavoritesName();
    summary.imageCount = static_cast<int32_t>(host.Album().Images().size());
    return summary;
}

ResultCode AlbumInspector::Rename(const QString& path, const QString& oldName,
                                  const QString& newName, const QString& favoritesFolder) const
{
    CGallivexImpl host;
    if (!load(host, path))
        return GV_E_READFILE;
    AlbumProject& album = host.Album();
    // Without its plug-in or template the album was read without its parameters; written
    // back, it would lose them for good.
    const CPluginInfo* plugin = album.ChosenPlugin();
    if (plugin == nullptr || plugin->plugin == nullptr)
        return GV_E_PLUGINNOTINSTALLED;
    if (album.TemplateId() < 0)
        return GV_E_TEMPLATE;
    const QByteArray file = path.toUtf8();
    SilentPrompter prompter;
    NoChoosers choosers;
    ProjectFile project(album, prompter, choosers);
    // The title is the album's heading and, until it is generated, its name too.
    CParamEditor editor(album.ParameterList());
    if (editor.Find(QStringLiteral("Title")) != nullptr &&
        editor.Assign(QStringLiteral("Title"), newName) == CParamEditor::Result::Invalid)
        return GV_E_INVALIDPARAM;
    // A rename that would not stick (an album without a title parameter takes its name
    // from its template until generated) is refused rather than lost on the next read.
    if (!album.SetAlbumName(newName.toUtf8().constData()) ||
        QString::fromUtf8(album.AlbumName().c_str()) != newName)
        return GV_E_UNEXPECTED;
    if (const ResultCode result = project.WriteProject(file.constData()); result != GV_OK)
        return result;
    if (!oldName.isEmpty())
        platform::PlaceBookmarks().rename(oldName, newName);
    const QString extension = QStringLiteral(".desktop");
    const QString oldShortcut = QDir(favoritesFolder).filePath(oldName + extension);
    const QString newShortcut = QDir(favoritesFolder).filePath(newName + extension);
    if (oldName.isEmpty() || !QFile::exists(oldShortcut) || QFile::exists(newShortcut) ||
        !QFile::rename(oldShortcut, newShortcut))
        return GV_OK;
    renameShortcutEntry(newShortcut, newName);
    album.SetFavoritesName(newName.toUtf8().constData());
    return project.WriteProject(file.constData());
}

int32_t AlbumInspector::View(const QString& path) const
{
    CGallivexImpl host;
    if (!load(host, path))
        return GV_E_READFILE;
    const CPluginInfo* plugin = host.Album().ChosenPlugin();
    if (plugin == nullptr || plugin->plugin == nullptr)
        return GV_E_PLUGINNOTINSTALLED;
    gv_string destination = host.Album().Destination();
    return plugin->plugin->ViewAlbum(host.Album().TemplateId(), &destination);
}

std::optional<QStringList> AlbumInspector::ImagePaths(const QString& path) const
{
    CGallivexImpl host;
    if (!load(host, path))
        return std::nullopt;
    QStringList paths;
    for (const AlbumImage& image : host.Album().Images())
        paths << QString::fromUtf8(image.path.c_str());
    return paths;
}

bool AlbumInspector::DeleteProject(const QString& path)
{
    if (!QFile::remove(path))
        return false;
    QFile::remove(path + QStringLiteral(".jpg"));
    return true;
}

void AlbumInspector::ForgetFavorite(const QString& favoritesName, const QString& favoritesFolder)
{
    // A name that leads into another folder was never one of ours.
    if (favoritesName.isEmpty() || favoritesName.contains(u'/') || favoritesName == QStringLiteral("..") ||
        favoritesName == QStringLiteral("."))
        return;
    QFile::remove(QDir(favoritesFolder).filePath(favoritesName + QStringLiteral(".desktop")));
    platform::PlaceBookmarks().remove(favoritesName);
}

QString AlbumInspector::FavoritesFolder(const Settings& settings)
{
    const QString inner = settings.getString(
        QStringLiteral("Paths"), QStringLiteral("FavoritesPath"), QStringLiteral("Vellora Albums"));
    return QDir(QDir::homePath() + QStringLiteral("/Favorites")).filePath(inner);
}

QString AlbumInspector::InfoTip(const QString& title, const AlbumSummary& summary)
{
    return loadString(IDS_TIP_ALBUM).arg(title) +
           loadString(IDS_TIP_CONTAINS)
               .replace(QStringLiteral("%i"), QString::number(summary.imageCount)) +
           loadString(IDS_TIP_TEMPLATE).arg(QString::fromUtf8(summary.templateName.c_str()));
}
