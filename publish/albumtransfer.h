// SPDX-License-Identifier: GPL-2.0-or-later
// AlbumTransfer: sends a generated album folder to a folder on the server, only what changed
// since the last time, without any window; the publish dialog and the command-line tool both
// run it.
//
// Plan() lists the album with a content id per file, saves that list as "filelist.xml" in the
// album folder, fetches the list the last transfer left on the server and drops every file
// whose id is the same there. Run() sends what is left in list order, then the list itself.
//
// A transfer cut off at any point leaves the server usable and the next one completes it:
// every file goes to a temporary name in its folder and is renamed over the old one, so no
// file under its real name is ever half written; the list goes last, only after every file
// arrived, so the server's list never claims a file that is not there. Nothing is written or
// removed outside the target folder.
#pragma once

#include <vector>

#include <QString>

#include "platform/ftpclient.h"
#include "publish/remotefilelist.h"

class CMyFtpConnection;
class FtpLog;
class Progress;

class AlbumTransfer
{
public:
    // progress may be null (nothing shown, never cancelled).
    AlbumTransfer(CMyFtpConnection& connection, Progress* progress);

    struct Result {
        bool ok = false;
        int uploaded = 0; // files sent, the list included
        int skipped = 0;  // files left alone because the server has them already
        QString message;  // why it failed: shown before the general failure text
    };

    // Plans (local list, old list, prune) without sending: the dry run and the counts.
    // target is the folder on the server, absolute or relative to the current one.
    bool Plan(const QString& localFolder, const QString& target, QString& message);
    const std::vector<RemoteFileList::Upload>& Pending() const;
    // Files Plan found unchanged on the server.
    int Skipped() const { return m_skipped; }
    // The absolute folder on the server the album goes to, "/" at its end.
    const QString& Target() const { return m_target; }

    // Sends what Plan left, filelist.xml last; honours Progress cancel.
    Result Run();

    // The general failure text for target (the caller shows it and opens the log).
    static QString FailureText(const QString& target);

private:
    bool ResolveTarget(const QString& target, QString& message);
    void FetchOldList(RemoteFileList& local);
    bool CheckNames(QString& message) const;
    bool Report(int sent, const QString& file);
    bool Send(const RemoteFileList::Upload& upload, QString& message);
    bool MoveIntoPlace(const RemoteFileList::Upload& upload, const QString& temporary,
                       QString& message);
    QString SendToTemporary(const QString& local, const QString& remote);
    bool Failed(const RemoteFileList::Upload& upload, QString& message);
    enum Removal { Logged, Quietly };
    void RemoveTemporary(const QString& temporary, Removal removal = Logged);
    bool Unchanged(const RemoteFileList::Upload& upload, QString& message) const;
    QString TemporaryName(const QString& remote);
    bool EnsureFolder(const QString& folder, QString& message);
    Result Fail(Result result, const QString& message);
    FtpLog& Log();

    CMyFtpConnection& m_connection;
    Progress* m_progress;
    QString m_local;  // the album folder, "/" at its end
    QString m_target; // absolute, "/" at its end
    std::vector<RemoteFileList::Upload> m_pending;
    std::vector<QString> m_unreadable;
    std::vector<QString> m_madeFolders; // known to exist during this run
    int m_skipped = 0;
    QString m_token; // tells this run's temporary names apart from any other's
    int m_attempt = 0;
    FtpError m_lastFailure; // of the upload, kept past the removal of its broken names
};
