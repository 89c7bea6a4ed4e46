// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/themepackage.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <zip.h>

#include "outputs/html/themecatalog.h"
#include "outputs/html/themefiles.h"
#include "outputs/html/thememanifest.h"

using namespace html;

namespace
{

constexpr uint32_t UnixFileType = 0170000; // the file type bits of a Unix mode
constexpr uint32_t UnixLink = 0120000;
// Installations unpack into ".install-XXXXXX" beside the themes while holding the lock; the
// theme a newer copy replaces waits there as ".replaced-FOLDER" until the new one is in place.
const QString WorkPrefix = QStringLiteral(".install-");
const QString ReplacedPrefix = QStringLiteral(".replaced-");
constexpr int LockWaitMs = 10000;

QString lockPath(const QString& themes)
{
    return themes + QStringLiteral("/.install.lock");
}

QFileInfoList workFolders(const QString& themes)
{
    return QDir(themes).entryInfoList({WorkPrefix + u'*'},
                                      QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Removes what installations that never finished (killed, or the machine went down) left
// behind, first putting back a theme one of them had moved aside. Only while holding the lock.
void removeAbandoned(const QString& themes)
{
    for (const QFileInfo& work : workFolders(themes)) {
        if (work.isSymLink())
            continue; // not ours: removing through it could reach anywhere
        const QFileInfoList aside =
            QDir(work.filePath())
                .entryInfoList({ReplacedPrefix + u'*'},
                               QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo& old : aside) {
            const QString back = themes + u'/' + old.fileName().mid(ReplacedPrefix.size());
            if (!QFileInfo::exists(back))
                QDir().rename(old.filePath(), back);
        }
        QDir(work.filePath()).removeRecursively();
    }
}

struct CloseArchive {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct CloseEntry {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, CloseArchive>;
using Entry = std::unique_ptr<zip_file_t, CloseEntry>;

struct Listing {
    QString top;               // the one folder everything is in
    QList<zip_uint64_t> files; // entries to unpack (folders are made on the way)
    QStringList paths;         // their paths below top
};

bool isLink(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return true;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & UnixFileType) == UnixLink;
}

// Checks one entry and adds it to the listing; false with *error for anything unsafe.
bool listEntry(zip_t* archive, zip_uint64_t index, Listing& listing, qint64& total, QString* error)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (raw == nullptr || zip_stat_index(archive, index, 0, &stat) != 0) {
        *error = QStringLiteral("the package cannot be read");
        return false;
    }
    QString name = QString::fromUtf8(raw);
    const bool folder = name.endsWith(u'/');
    if (folder)
        name.chop(1);
    const qsizetype slash = name.indexOf(u'/');
    const QString top = slash < 0 ? name : name.left(slash);
    if (!isSafeRelativePath(name) || top.startsWith(u'.') || isLink(archive, index) ||
        (stat.valid & ZIP_STAT_ENCRYPTION_METHOD && stat.encryption_method != ZIP_EM_NONE) ||
        (!folder && slash < 0) || (!listing.top.isEmpty() && top != listing.top)) {
        *error = QStringLiteral("the package holds \"%1\", which is not a plain file of one theme "
                                "folder")
                     .arg(QString::fromUtf8(raw));
        return false;
    }
    listing.top = top;
    total += static_cast<qint64>(stat.size);
    if (total > CThemePackage::MaxUnpackedBytes) {
        *error = QStringLiteral("the package is too big");
        return false;
    }
    if (!folder) {
        listing.files << index;
        listing.paths << name.mid(slash + 1);
    }
    return true;
}

bool unpackEntry(zip_t* archive, zip_uint64_t index, const QString& target)
{
    Entry entry(zip_fopen_index(archive, index, 0));
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (!entry || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    char buffer[64 * 1024];
    zip_int64_t got = 0;
    while ((got = zip_fread(entry.get(), buffer, sizeof buffer)) > 0)
        if (out.write(buffer, got) != got)
            return false;
    return got == 0 && out.flush();
}

ResultCode unpack(const QString& package, const QString& into, QString& top, QString* error)
{
    int code = 0;
    Archive archive(
        zip_open(QFile::encodeName(package).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    const zip_int64_t count = archive ? zip_get_num_entries(archive.get(), 0) : -1;
    if (count <= 0 || count > CThemePackage::MaxEntries) {
        *error = QStringLiteral("%1 is no theme package").arg(package);
        return GV_E_CORRUPTED;
    }
    Listing listing;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i)
        if (!listEntry(archive.get(), static_cast<zip_uint64_t>(i), listing, total, error))
            return GV_E_CORRUPTED;
    for (qsizetype i = 0; i < listing.files.size(); ++i)
        if (!unpackEntry(archive.get(), listing.files[i],
                         into + u'/' + listing.top + u'/' + listing.paths[i])) {
            *error = QStringLiteral("\"%1\" cannot be unpacked").arg(listing.paths[i]);
            return GV_E_CORRUPTED;
        }
    top = listing.top;
    return GV_OK;
}

// The user theme to replace (same id), or GV_E_EXISTS when the id or the folder belongs to
// another theme.
ResultCode checkPlace(const Theme& theme, const QString& target, QString& replaced, QString* error)
{
    CThemeCatalog catalog;
    catalog.scan();
    const ThemePtr same = catalog.find(theme.id);
    if (same && !same->userInstalled) {
        *error = QStringLiteral("the id %1 belongs to the shipped theme \"%2\"")
                     .arg(theme.id)
                     .arg(same->name);
        return GV_E_EXISTS;
    }
    replaced = same ? same->folder : QString();
    if (QFileInfo::exists(target) && QFileInfo(target).absoluteFilePath() != replaced) {
        *error = QStringLiteral("another theme is installed in %1").arg(target);
        return GV_E_EXISTS;
    }
    return GV_OK;
}

// Swaps the unpacked theme in for the copy it replaces (moved aside into the work folder,
// which takes it away), or puts the old copy back when that fails.
ResultCode moveIntoPlace(const QString& work, const QString& top, const QString& target,
                         const QString& replaced)
{
    const QString old = work + u'/' + ReplacedPrefix + QFileInfo(replaced).fileName();
    if (!replaced.isEmpty() && !QDir().rename(replaced, old))
        return GV_E_DELETEFILE;
    if (QDir().rename(work + u'/' + top, target))
        return GV_OK;
    if (!replaced.isEmpty())
        QDir().rename(old, replaced);
    return GV_E_CREATEFILE;
}

} // namespace

QString CThemePackage::findPackage(const QString& start, ResultCode* result)
{
    const QFileInfo info(start);
    *result = GV_OK;
    if (info.isFile() && info.suffix().compare(QLatin1String("thm"), Qt::CaseInsensitive) == 0)
        return info.absoluteFilePath();
    const QFileInfoList found =
        info.isDir()
            ? QDir(start).entryInfoList({"*.thm", "*.THM", "*.Thm"}, QDir::Files, QDir::Name)
            : QFileInfoList();
    if (found.size() == 1)
        return found.front().absoluteFilePath();
    *result = found.isEmpty() ? GV_E_FILENOTFOUND : GV_E_INVALIDPARAM;
    return QString();
}

ResultCode CThemePackage::install(const QString& start, QString* chosenFolder, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    ResultCode result = GV_OK;
    const QString package = findPackage(start, &result);
    if (package.isEmpty()) {
        message = QStringLiteral("%1 names no single theme package").arg(start);
        return result;
    }
    const QString themes = CThemeCatalog::userFolder();
    if (!QDir().mkpath(themes))
        return GV_E_CREATEFOLDER;
    QLockFile lock(lockPath(themes));
    lock.setStaleLockTime(0); // a big package may take long; a dead installer frees it anyway
    if (!lock.tryLock(LockWaitMs)) {
        message = QStringLiteral("another theme is being installed; try again when it is done");
        return GV_E_CREATEFILE;
    }
    removeAbandoned(themes);
    // Unpacked beside the themes, so moving it into place is a rename on the same disk.
    QTemporaryDir work(themes + QStringLiteral("/.install-XXXXXX"));
    QString top;
    if (!work.isValid())
        return GV_E_CREATEFILE;
    if ((result = unpack(package, work.path(), top, &message)) != GV_OK)
        return result;
    const ThemePtr theme = CThemeManifest::load(work.path() + u'/' + top, true, &message);
    if (!theme)
        return GV_E_CORRUPTED;
    const QString target = themes + u'/' + top;
    QString replaced;
    if ((result = checkPlace(*theme, target, replaced, &message)) != GV_OK)
        return result;
    if ((result = moveIntoPlace(work.path(), top, target, replaced)) != GV_OK)
        return result;
    CThemeCatalog::markChanged();
    if (chosenFolder != nullptr)
        *chosenFolder = QFileInfo(package).absolutePath();
    return GV_OK;
}

void CThemePackage::removeAbandonedInstallations()
{
    const QString themes = CThemeCatalog::userFolder();
    if (workFolders(themes).isEmpty())
        return;
    QLockFile lock(lockPath(themes));
    lock.setStaleLockTime(0);
    // Held by a running installation (perhaps this very one): its folder is no leftover.
    if (lock.tryLock(0))
        removeAbandoned(themes);
}

ResultCode CThemePackage::uninstall(int32_t templateId, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    CThemeCatalog catalog;
    catalog.scan();
    const ThemePtr theme = catalog.find(templateId);
    if (theme == nullptr) {
        message = QStringLiteral("no theme has the id %1").arg(templateId);
        return GV_E_NOTFOUND;
    }
    const QFileInfo folder(theme->folder);
    const QString themes = QFileInfo(CThemeCatalog::userFolder()).canonicalFilePath();
    // Only a real folder right inside the user's themes: never a link, never a shipped theme.
    if (!theme->userInstalled || folder.isSymLink() || themes.isEmpty() ||
        QFileInfo(folder.absolutePath()).canonicalFilePath() != themes) {
        message = QStringLiteral("\"%1\" came with the program and stays").arg(theme->name);
        return GV_E_DELETEFILE;
    }
    if (!QDir(theme->folder).removeRecursively())
        return GV_E_DELETEFILE;
    CThemeCatalog::markChanged();
    return GV_OK;
}
