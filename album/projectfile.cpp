// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectfile.h"

#include <new>
#include <string_view>

#include <QDir>
#include <QFileInfo>

#include "album/albumproject.h"
#include "album/imagesearch.h"
#include "album/projectloader.h"
#include "album/projectpaths.h"
#include "album/projectwriter.h"
#include "platform/choosers.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"

namespace
{

const QString PathsSection = QStringLiteral("Paths");
const QString ProjectPathValue = QStringLiteral("ProjectPath");
const QString LastProjectPathValue = QStringLiteral("LastProjectPath");
constexpr std::string_view ReplacedInNames = " ;:$\"'.,\\/&^@#!~`()-=|";

// "Albums (*.gvp)|*.gvp||" as the chooser wants it: "Albums (*.gvp)".
QString chooserFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << (parts[i].contains(QLatin1Char('('))
                        ? parts[i]
                        : parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    return filters.join(QStringLiteral(";;"));
}

} // namespace

ProjectFile::ProjectFile(AlbumProject& album, Prompter& prompter, Choosers& choosers)
    : m_album(album), m_prompter(prompter), m_choosers(choosers), m_search(&ImageSearch::Global())
{
}

void ProjectFile::SetThumbnailSize(int side)
{
    m_thumbnailSide = side > 28 ? side : 128;
}

ResultCode ProjectFile::SaveProject()
{
    // Library failures (memory, above all) end the save without leaving our code.
    try {
        if (m_album.HasProjectFile() || MakeDefaultProjectPath()) {
            const std::string path = m_album.ProjectPath().c_str();
            return saveWithProgress(path.c_str());
        }
        return saveToChosenFile();
    } catch (const std::bad_alloc&) {
        return GV_E_OUTOFRESOURCES;
    } catch (...) {
        return GV_E_UNEXPECTED;
    }
}

ResultCode ProjectFile::saveToChosenFile()
{
    if (m_prompter.ask(loadString(IDS_CHOOSE_PROJECT_FILE), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes) != Prompter::Answer::Yes)
        return GV_OK;
    Settings settings;
    QString chosen = m_choosers.saveFile(loadString(IDS_SAVE_ALBUM_TITLE),
                                         settings.getString(PathsSection, ProjectPathValue),
                                         chooserFilter(loadString(IDS_PROJECT_FILTER)));
    if (chosen.isEmpty())
        return GV_OK;
    // The extension is looked for in the file's name, not in the folders above it.
    if (!QString::fromStdString(projectpaths::fileName(chosen.toStdString())).contains('.'))
        chosen += QStringLiteral(".gvp");
    settings.writeString(PathsSection, LastProjectPathValue, chosen);
    const std::string path = chosen.toStdString();
    const ResultCode result = saveWithProgress(path.c_str());
    if (result == GV_OK)
        m_album.SetProjectPath(path.c_str());
    return result;
}

ResultCode ProjectFile::saveWithProgress(const char* path)
{
    ProgressScope progress(m_album, loadString(IDS_SAVING));
    return WriteProject(path);
}

ResultCode ProjectFile::WriteProject(const char* path)
{
    try {
        return ProjectWriter(m_album).Write(path);
    } catch (const std::bad_alloc&) {
        return GV_E_OUTOFRESOURCES;
    } catch (...) {
        return GV_E_UNEXPECTED;
    }
}

ResultCode ProjectFile::OpenProject(const char* path, bool ask)
{
    try {
        return openProject(path, ask);
    } catch (const std::bad_alloc&) {
        return GV_E_OUTOFRESOURCES;
    } catch (...) {
        return GV_E_READFILE;
    }
}

ResultCode ProjectFile::openProject(const char* path, bool ask)
{
    if (path == nullptr)
        return GV_E_READFILE;
    if (ReadXmlProject(path, ask))
        return GV_OK;
    m_album.Reset();
    m_album.Summary().projectPath = path;
    ProjectLoader loader(m_album, m_prompter, m_choosers, *m_search, m_thumbnailSide);
    const ResultCode result = loader.ReadLegacyProject(path, ask);
    // A file that could not be read never becomes the album's file, so saving the album
    // cannot overwrite it.
    if (result == GV_OK)
        m_album.SetProjectPath(path);
    m_album.SetModified(false);
    return result;
}

bool ProjectFile::ReadXmlProject(const char* path, bool ask)
{
    if (path == nullptr)
        return false;
    ProjectLoader loader(m_album, m_prompter, m_choosers, *m_search, m_thumbnailSide);
    return loader.ReadXmlProject(path, ask);
}

QString ProjectFile::ProjectsFolder()
{
    Settings settings;
    QString folder = settings.getString(PathsSection, ProjectPathValue);
    const bool configured = !folder.isEmpty();
    if (!configured)
        folder = platform::userDataFolder() + QStringLiteral("/Projects/");
    if (!QDir().mkpath(QString::fromStdString(projectpaths::nativePath(folder.toStdString()))))
        return QString();
    if (!configured)
        settings.writeString(PathsSection, ProjectPathValue, folder);
    return folder;
}

std::string ProjectFile::FileNameFor(const std::string& albumName)
{
    std::string name = albumName;
    for (char& c : name)
        if (ReplacedInNames.find(c) != std::string_view::npos)
            c = '_';
    return name;
}

bool ProjectFile::MakeDefaultProjectPath()
{
    const QString folder = ProjectsFolder();
    if (folder.isEmpty())
        return false;
    if (!m_album.HasProjectFile()) {
        // A cancelled dialog leaves the name the album had.
        const QString proposed = QString::fromUtf8(m_album.AlbumName().c_str());
        const std::optional<QString> name = m_nameDialog ? m_nameDialog(proposed) : std::nullopt;
        if (name)
            m_album.SetAlbumName(name->toUtf8().constData(), true);
        else
            m_album.SetAlbumName(proposed.toUtf8().constData());
    }
    const std::string name = FileNameFor(m_album.AlbumName().c_str());
    // Without a name the file would be only its extension: let the user choose instead.
    if (name.empty())
        return false;
    const std::string base = projectpaths::join(folder.toStdString(), name);
    std::string path = base + ".gvp";
    for (long n = 0; projectpaths::exists(path); ++n)
        path = base + std::to_string(n) + ".gvp";
    m_album.SetProjectPath(path.c_str());
    return true;
}
