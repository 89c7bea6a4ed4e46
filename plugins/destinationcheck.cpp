// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/destinationcheck.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "album/projectpaths.h"
#include "outputs/html/albummanifest.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "publish/remotefilelist.h"

namespace
{

const QString SettingsSection = QStringLiteral("Settings");
const QString RecycleValue = QStringLiteral("Recycle");
const QString NotShowAgainValue = QStringLiteral("NotShowAgain");

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

// Paths written on Windows come with backslashes; elsewhere a backslash is part of a name.
QString withSlashes(const QString& path)
{
    return QString::fromStdString(projectpaths::nativePath(path.toStdString()));
}

QString withTrailingSlash(QString path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(withSlashes(path)).absoluteFilePath());
}

QString canonical(const QString& path)
{
    return QFileInfo(withSlashes(path)).canonicalFilePath();
}

// The folder as it will be once made: the part that exists with its links resolved, and the
// rest as given. Empty when there is no such path.
QString canonicalToBe(const QString& path)
{
    if (path.isEmpty())
        return QString();
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(
        projectpaths::toPath(cleanAbsolute(path).toStdString()), error);
    return error ? QString() : QString::fromStdString(projectpaths::fromPath(resolved));
}

// True when path is folder itself or lies below it; both absolute and clean.
bool within(const QString& folder, const QString& path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    return path.compare(folder, PathCase) == 0 ||
           path.startsWith(withTrailingSlash(folder), PathCase);
}

} // namespace

CDestinationCheck::CDestinationCheck(Prompter& prompter, DeletionWarning warning,
                                     QString programFolder)
    : m_prompter(prompter), m_warning(std::move(warning)), m_programFolder(std::move(programFolder))
{
}

QString CDestinationCheck::DefaultResultFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

QString CDestinationCheck::ProposeDestination(AlbumProject& album)
{
    const QString current = QString::fromUtf8(album.Destination().c_str());
    if (!current.isEmpty() && QFileInfo(current).isDir())
        return current;
    QString folder = Settings().getString(QStringLiteral("Paths"), QStringLiteral("ResultPath"));
    if (folder.isEmpty())
        folder = DefaultResultFolder();
    if (!projectpaths::endsInSeparator(folder.toStdString()))
        folder += u'/';
    // Without a name the proposal would be the parent folder itself, which is then emptied.
    std::string name = ProjectFile::FileNameFor(album.AlbumName().c_str());
    if (name.empty())
        name = "Album";
    return folder + QString::fromStdString(name);
}

bool CDestinationCheck::refuse(Refusal why, const QString& message)
{
    m_refusal = why;
    if (!message.isEmpty())
        m_prompter.message(message, Prompter::Icon::Error);
    return false;
}

bool CDestinationCheck::PrepareFolder(const QString& destination)
{
    m_refusal = Refusal::None;
    const QFileInfo info(withSlashes(destination));
    if (!destination.isEmpty() && info.isDir())
        return true;
    if (!destination.isEmpty() && (info.exists() || info.isSymLink()))
        return refuse(Refusal::NotFolder, loadString(IDS_DESTINATION_NOT_FOLDER).arg(destination));
    if (destination.isEmpty() || !QDir().mkpath(withSlashes(destination)))
        return refuse(Refusal::CannotCreate, loadString(IDS_PATH_DOES_NOT_EXIST));
    return true;
}

bool CDestinationCheck::Acceptable(const QString& destination, AlbumProject& album)
{
    m_refusal = Refusal::None;
    return destination.isEmpty() || !refusedFolder(destination, album);
}

bool CDestinationCheck::Check(const QString& destination, AlbumProject& album)
{
    m_refusal = Refusal::None;
    if (refusedFolder(destination, album))
        return false;
    // The album's own folder is generated into as it is: the generation keeps what it still
    // uses and removes only what it wrote before and no longer needs.
    if (CAlbumManifest::HoldsAlbum(withSlashes(destination), {RemoteFileList::FileName()}))
        return true;
    // Hidden entries alone do not make a folder worth a question.
    const QDir folder(withSlashes(destination));
    if (folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty())
        return true;
    if (m_prompter.ask(loadString(IDS_FOLDER_NOT_EMPTY).arg(destination), Prompter::Buttons::YesNo,
                       Prompter::Answer::No, Prompter::Icon::Warning) != Prompter::Answer::Yes)
        return refuse(Refusal::Declined, QString());
    const std::optional<DeletionMethod> method = deletionMethod(destination);
    if (!method)
        return refuse(Refusal::Declined, QString());
    return empty(destination, method->removeImmediately, album);
}

bool CDestinationCheck::refusedFolder(const QString& destination, AlbumProject& album)
{
    const QString given = withTrailingSlash(withSlashes(destination));
    const QString program = canonical(m_programFolder);
    const QString target = canonicalToBe(destination);
    const bool literal =
        !m_programFolder.isEmpty() &&
        given.startsWith(withTrailingSlash(withSlashes(m_programFolder)), PathCase);
    if (literal || within(program, target))
        return !refuse(Refusal::InstallationFolder,
                       loadString(IDS_INSTALLATION_FOLDER).arg(destination));
    if (target.isEmpty())
        return !refuse(Refusal::NotFolder, loadString(IDS_DESTINATION_NOT_FOLDER).arg(destination));
    if (QFileInfo(target).isRoot())
        return !refuse(Refusal::Root, loadString(IDS_DESTINATION_IS_ROOT).arg(destination));
    if (within(target, canonical(QDir::homePath())))
        return !refuse(Refusal::Home, loadString(IDS_DESTINATION_IS_HOME).arg(destination));
    if (within(target, program))
        return !refuse(Refusal::HoldsProgram,
                       loadString(IDS_DESTINATION_HOLDS_PROGRAM).arg(destination));
    const QString absolute = cleanAbsolute(destination);
    for (const AlbumImage& image : album.Images()) {
        const QString photo = QString::fromUtf8(image.path.c_str());
        if (within(absolute, cleanAbsolute(photo)) || within(target, canonical(photo)))
            return !refuse(Refusal::HoldsPhotos,
                           loadString(IDS_DESTINATION_HOLDS_PHOTOS).arg(destination, photo));
    }
    return false;
}

std::optional<CDestinationCheck::DeletionMethod>
CDestinationCheck::deletionMethod(const QString& destination)
{
    if (m_fixed)
        return DeletionMethod{*m_fixed, false};
    Settings settings;
    DeletionMethod stored;
    stored.removeImmediately = settings.getInt(SettingsSection, RecycleValue, 0) == 1;
    stored.notShowAgain = settings.getInt(SettingsSection, NotShowAgainValue, 0) == 1;
    if (stored.notShowAgain)
        return stored;
    // Without a dialog to ask, nothing is deleted.
    const std::optional<DeletionMethod> chosen =
        m_warning ? m_warning(loadString(IDS_DELETION_WARNING_TEXT).arg(destination), stored)
                  : std::nullopt;
    if (chosen) {
        settings.writeInt(SettingsSection, RecycleValue, chosen->removeImmediately ? 1 : 0);
        settings.writeInt(SettingsSection, NotShowAgainValue, chosen->notShowAgain ? 1 : 0);
    }
    return chosen;
}

bool CDestinationCheck::empty(const QString& destination, bool removeImmediately,
                              AlbumProject& album)
{
    const QFileInfoList entries =
        QDir(withSlashes(destination))
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // The Trash lives in the user's data folder; where that folder is missing the file
    // system layer would make a Trash relative to the working folder instead.
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!removeImmediately && !entries.isEmpty() &&
        (dataFolder.isEmpty() || !QDir().mkpath(dataFolder)))
        return refuse(
            Refusal::EmptyingFailed,
            loadString(IDS_TRASH_FAILED).arg(destination, entries.first().absoluteFilePath()));
    ProgressScope scope(album, loadString(IDS_MOVING_TO_RECYCLE_BIN));
    Progress* progress = album.ActiveProgress();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString path = entries[i].absoluteFilePath();
        bool removed = false;
        if (removeImmediately) {
            // Links are removed themselves; nothing they point to is touched.
            std::error_code error;
            std::filesystem::remove_all(projectpaths::toPath(path.toStdString()), error);
            removed = !error;
        } else {
            removed = QFile::moveToTrash(path);
        }
        // Going on past a failure would generate into a half-emptied folder.
        if (!removed)
            return refuse(Refusal::EmptyingFailed,
                          loadString(removeImmediately ? IDS_DELETE_FAILED : IDS_TRASH_FAILED)
                              .arg(destination, path));
        if (progress != nullptr) {
            progress->setPosition(static_cast<int>((i + 1) * 100 / entries.size()));
            if (progress->pump())
                return refuse(Refusal::Declined, QString());
        }
    }
    return true;
}
