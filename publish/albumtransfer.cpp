// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/albumtransfer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "album/progress.h"
#include "images/imagefingerprint.h"
#include "platform/ftpclient.h"
#include "platform/stringtable.h"
#include "publish/ftplog.h"
#include "publish/myftpconnection.h"
#include "publish/myinetsession.h"
#include "publish/remotefolders.h"

namespace fs = std::filesystem;

namespace
{

QString withPercentS(int id, const QString& value)
{
    return loadString(id).replace(QStringLiteral("%s"), value);
}

// What the server or the client said about a failure, for a message or the log. The last
// reply explains only a refusal: after a time-out or a reset it is some earlier, good one.
QString describe(const FtpError& error)
{
    if (error.code == FtpError::ExtendedError && !error.replyText.trimmed().isEmpty())
        return error.replyText.trimmed();
    if (!error.message.isEmpty())
        return error.message;
    return ftpErrorMessage(error.code);
}

// One name of a path we write on the server: it must stay inside its folder and be usable
// in an FTP command (a line break would end the command early).
bool isSendableName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'\\'))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool isSendablePath(const QString& relative)
{
    const QStringList parts = relative.split(u'/');
    return std::all_of(parts.begin(), parts.end(), isSendableName);
}

QString parentOf(const QString& folder)
{
    const qsizetype slash = folder.lastIndexOf(u'/', folder.size() - 2);
    return slash < 0 ? QString() : folder.left(slash + 1);
}

// Lets the progress's Cancel stop an operation that waits on the network.
std::function<bool()> pumpOf(Progress* progress)
{
    if (progress == nullptr)
        return {};
    return [progress] { return !progress->pump(); };
}

} // namespace

AlbumTransfer::AlbumTransfer(CMyFtpConnection& connection, Progress* progress)
    : m_connection(connection), m_progress(progress)
{
}

QString AlbumTransfer::FailureText(const QString& target)
{
    return withPercentS(IDS_TRANSFER_FAILED, target);
}

const std::vector<RemoteFileList::Upload>& AlbumTransfer::Pending() const
{
    return m_pending;
}

FtpLog& AlbumTransfer::Log()
{
    return m_connection.Session().Log();
}

bool AlbumTransfer::Plan(const QString& localFolder, const QString& target, QString& message)
{
    m_pending.clear();
    m_skipped = 0;
    if (localFolder.isEmpty() || !QFileInfo(localFolder).isDir()) {
        message = loadString(IDS_NO_ALBUM_FOLDER).arg(localFolder);
        return false;
    }
    m_local = QDir::cleanPath(localFolder) + u'/';
    if (!ResolveTarget(target, message))
        return false;
    Log().WriteLine(withPercentS(IDS_TRANSFERRING_ALBUM, m_target));
    if (m_progress != nullptr)
        m_progress->setTitle(loadString(IDS_TRANSFER_TITLE));

    RemoteFileList local = RemoteFileList::Build(m_local);
    m_unreadable = local.UnreadableNames();
    const QString listPath = m_local + RemoteFileList::FileName();
    QString why;
    if (!local.Save(listPath, &why)) {
        message = loadString(IDS_FILE_LIST_NOT_SAVED).arg(listPath, why);
        Log().WriteLine(message);
        return false;
    }
    const int files = local.FileCount();
    FetchOldList(local);
    local.AppendSelf();
    m_pending = local.Uploads();
    m_skipped = files - (int(m_pending.size()) - 1);
    if (!CheckNames(message)) {
        Log().WriteLine(message);
        m_pending.clear();
        return false;
    }
    return true;
}

bool AlbumTransfer::ResolveTarget(const QString& target, QString& message)
{
    QString path = target;
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/')) {
        QString current;
        if (!m_connection.GetCurrentDirectory(current)) {
            message = loadString(IDS_REMOTE_FOLDER_UNKNOWN);
            return false;
        }
        path = RemoteFolders::Join(current, path);
    }
    path = QDir::cleanPath(path);
    if (path == u"/.." || path.startsWith(QStringLiteral("/../"))) {
        message = loadString(IDS_OUTSIDE_TARGET).arg(target, QStringLiteral("/"));
        return false;
    }
    m_target = path.endsWith(u'/') ? path : path + u'/';
    return true;
}

void AlbumTransfer::FetchOldList(RemoteFileList& local)
{
    // A private folder: a fixed name in a shared one could be swapped under us.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        Log().WriteLine(loadString(IDS_OLD_LIST_NOT_FETCHED).arg(folder.errorString()));
        return;
    }
    const QString copy = folder.filePath(RemoteFileList::FileName());
    m_connection.SetPump(pumpOf(m_progress));
    const bool fetched =
        m_connection.GetFile(m_target + RemoteFileList::FileName(), copy, RemoteFileList::MaxBytes);
    m_connection.SetPump({});
    if (!fetched) {
        Log().WriteLine(
            loadString(IDS_OLD_LIST_NOT_FETCHED).arg(describe(m_connection.LastError())));
        return;
    }
    QString why;
    const std::optional<RemoteFileList> old = RemoteFileList::Load(copy, why);
    if (!old) {
        Log().WriteLine(loadString(IDS_OLD_LIST_NOT_USED).arg(why));
        return;
    }
    local.Prune(*old);
}

bool AlbumTransfer::CheckNames(QString& message) const
{
    if (!m_unreadable.empty()) {
        message = loadString(IDS_NAME_NOT_SENDABLE).arg(m_unreadable.front());
        return false;
    }
    for (const RemoteFileList::Upload& upload : m_pending) {
        if (!isSendablePath(upload.relativePath)) {
            message = loadString(IDS_NAME_NOT_SENDABLE).arg(upload.relativePath);
            return false;
        }
    }
    return true;
}

AlbumTransfer::Result AlbumTransfer::Run()
{
    Result result;
    result.skipped = m_skipped;
    if (m_pending.empty())
        return Fail(result, loadString(IDS_NO_ALBUM_FOLDER).arg(m_local));
    if (m_progress != nullptr)
        m_progress->setTitle(loadString(IDS_TRANSFER_TITLE));
    m_token = QString::number(QRandomGenerator::global()->generate(), 16);
    m_attempt = 0;
    m_madeFolders.clear();
    m_connection.SetPump(pumpOf(m_progress));
    QString message;
    bool ok = EnsureFolder(m_target, message);
    for (size_t i = 0; ok && i < m_pending.size(); ++i) {
        if (Report(int(i), m_pending[i].relativePath)) {
            message = loadString(IDS_TRANSFER_CANCELLED);
            ok = false;
        } else if ((ok = Send(m_pending[i], message))) {
            ++result.uploaded;
        }
    }
    m_connection.SetPump({});
    if (!ok)
        return Fail(result, message);
    Report(int(m_pending.size()), QString());
    Log().WriteLine(loadString(IDS_TRANSFER_FINISHED));
    result.ok = true;
    return result;
}

AlbumTransfer::Result AlbumTransfer::Fail(Result result, const QString& message)
{
    result.ok = false;
    result.message = message;
    if (!message.isEmpty())
        Log().WriteLine(message);
    Log().WriteLine(FailureText(m_target));
    return result;
}

// The percentage counts the files this transfer sends (the list at least), so that it ends
// at 100 also when only a few files changed.
bool AlbumTransfer::Report(int sent, const QString& file)
{
    if (m_progress == nullptr)
        return false;
    m_progress->setText(file);
    m_progress->setPosition(sent * 100 / int(m_pending.size()));
    return m_progress->pump();
}

bool AlbumTransfer::EnsureFolder(const QString& folder, QString& message)
{
    if (std::find(m_madeFolders.begin(), m_madeFolders.end(), folder) != m_madeFolders.end())
        return true;
    bool made = false;
    if (!folder.startsWith(m_target)) {
        message = loadString(IDS_OUTSIDE_TARGET).arg(folder, m_target);
    } else if (folder == m_target) {
        made = RemoteFolders::CreatePath(m_connection, folder, message);
    } else {
        const QString parent = parentOf(folder);
        const QString name = folder.mid(parent.size(), folder.size() - parent.size() - 1);
        made = EnsureFolder(parent, message) &&
               RemoteFolders::CreateChild(m_connection, parent, name, message);
    }
    if (made)
        m_madeFolders.push_back(folder);
    return made;
}

bool AlbumTransfer::Send(const RemoteFileList::Upload& upload, QString& message)
{
    if (!isSendablePath(upload.relativePath)) {
        message = loadString(IDS_OUTSIDE_TARGET).arg(upload.relativePath, m_target);
        return false;
    }
    const QString remote = m_target + upload.relativePath;
    const QString local = m_local + upload.relativePath;
    if (!EnsureFolder(remote.left(remote.lastIndexOf(u'/') + 1), message))
        return false;
    // The list is ours, written by Plan; every other file must still be what was listed.
    const bool check = upload.relativePath != RemoteFileList::FileName();
    if (check && !Unchanged(upload, message))
        return false;
    const QString temporary = SendToTemporary(local, remote);
    if (temporary.isEmpty())
        return Failed(upload, message);
    if (check && !Unchanged(upload, message)) {
        RemoveTemporary(temporary);
        return false;
    }
    return MoveIntoPlace(upload, temporary, message);
}

// Renames the arrived temporary file over the target; a server that refuses that gets the
// plain upload of the target.
bool AlbumTransfer::MoveIntoPlace(const RemoteFileList::Upload& upload, const QString& temporary,
                                  QString& message)
{
    const QString remote = m_target + upload.relativePath;
    if (m_connection.Rename(temporary, remote))
        return true;
    const FtpError renameFailure = m_connection.LastError();
    RemoveTemporary(temporary);
    if (renameFailure.code != FtpError::ExtendedError) {
        m_lastFailure = renameFailure; // cancelled, or the connection is gone
        return Failed(upload, message);
    }
    // A server that cannot rename over a file still takes the file under its own name.
    Log().WriteLine(loadString(IDS_RENAME_REFUSED).arg(temporary, remote));
    if (!m_connection.PutFile(m_local + upload.relativePath, remote))
        return Failed(upload, message);
    return upload.relativePath == RemoteFileList::FileName() || Unchanged(upload, message);
}

// Every attempt of the upload gets a name of its own: a server may still hold the name of an
// attempt that broke off. The names of broken attempts are removed; the one that arrived is
// returned (empty when none did).
QString AlbumTransfer::SendToTemporary(const QString& local, const QString& remote)
{
    QStringList tried;
    const bool sent = m_connection.RunWithRetries(QStringLiteral("PutFile(%1)").arg(remote),
                                                  [&](FtpClient& client) {
                                                      tried << TemporaryName(remote);
                                                      return client.upload(local, tried.back());
                                                  });
    const QString arrived = sent ? tried.takeLast() : QString();
    const FtpError failure = m_connection.LastError();
    for (const QString& broken : tried)
        RemoveTemporary(broken, Quietly);
    if (!sent)
        m_lastFailure = failure;
    return arrived;
}

bool AlbumTransfer::Failed(const RemoteFileList::Upload& upload, QString& message)
{
    const FtpError& error =
        m_lastFailure.code != FtpError::None ? m_lastFailure : m_connection.LastError();
    message = error.code == FtpError::Cancelled
                  ? loadString(IDS_TRANSFER_CANCELLED)
                  : loadString(IDS_UPLOAD_FAILED).arg(upload.relativePath, describe(error));
    m_lastFailure = FtpError();
    return false;
}

void AlbumTransfer::RemoveTemporary(const QString& temporary, Removal removal)
{
    // Also after a Cancel: the pump would refuse the removal at once.
    m_connection.SetPump({});
    if (removal == Quietly) {
        // One try without the retry loop's log: the attempt may never have made the file.
        m_connection.RunWithRetries(QStringLiteral("Remove(%1)").arg(temporary),
                                    [&](FtpClient& client) {
                                        client.removeFile(temporary);
                                        return true;
                                    });
    } else if (!m_connection.Remove(temporary)) {
        Log().WriteLine(loadString(IDS_TEMPORARY_NOT_REMOVED).arg(temporary));
    }
    m_connection.SetPump(pumpOf(m_progress));
}

bool AlbumTransfer::Unchanged(const RemoteFileList::Upload& upload, QString& message) const
{
    const QString path = m_local + upload.relativePath;
    const std::string native = path.toStdString();
    const std::optional<std::string> id = ImageFingerprint(native);
    if (!id || upload.id.isEmpty()) {
        message = loadString(IDS_FILE_UNREADABLE).arg(upload.relativePath);
        return false;
    }
    std::error_code error;
    const qint64 size = static_cast<qint64>(fs::file_size(native, error));
    const fs::file_time_type time = fs::last_write_time(native, error);
    const bool same = !error && size == upload.size &&
                      time.time_since_epoch().count() == upload.modified &&
                      upload.id.compare(QString::fromStdString(*id), Qt::CaseInsensitive) == 0;
    if (!same)
        message = loadString(IDS_FILE_CHANGED).arg(upload.relativePath);
    return same;
}

// A dot-name of its own for every attempt: a server may still hold a broken upload's name.
QString AlbumTransfer::TemporaryName(const QString& remote)
{
    const QString folder = remote.left(remote.lastIndexOf(u'/') + 1);
    return folder + QStringLiteral(".gvx-%1-%2.part").arg(m_token).arg(++m_attempt);
}
