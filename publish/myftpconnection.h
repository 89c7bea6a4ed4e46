// SPDX-License-Identifier: GPL-2.0-or-later
// CMyFtpConnection: one open connection to an FTP, FTPS or SFTP site that remembers how it was
// opened, so that a dropped connection can be opened again (ResetConnection) and the work
// continued in the folder it was in.
//
// Every operation is a retry loop: an attempt that fails is handed to HandleFtpError, which
// logs it and decides whether another attempt is worth it (time-outs, resets, a failure
// without a server reply) or not (the server refused); attempts are the retry delay apart.
// The result is the last attempt's; LastError() tells why an operation failed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QString>

#include "platform/ftpclient.h"

class CMyInetSession;

// What is needed to open a site again.
struct FtpSiteLogin {
    FtpOptions::Protocol protocol = FtpOptions::Protocol::Ftp;
    QString server;
    uint16_t port = 0;          // 0: the protocol's usual port
    QString user, password;     // empty user and password: anonymous
    bool anonymous = false;

    // Anonymous when asked for, or when there is no user name to log in with.
    bool IsAnonymous() const { return anonymous || user.isEmpty(); }
};

class CMyFtpConnection {
public:
    // Opens (connect + login); null, and error filled, when it fails. An active-mode FTP
    // connection fails here already when the server's data connections cannot reach us, so
    // that the caller falls back to passive mode now and not in the middle of a transfer.
    static std::unique_ptr<CMyFtpConnection> Open(CMyInetSession& session,
                                                  const FtpSiteLogin& login, bool passive,
                                                  FtpError& error);
    ~CMyFtpConnection();
    CMyFtpConnection(const CMyFtpConnection&) = delete;
    CMyFtpConnection& operator=(const CMyFtpConnection&) = delete;

    bool SetCurrentDirectory(const QString& path);
    bool GetCurrentDirectory(QString& path);
    // An empty name succeeds at once.
    bool CreateDirectory(const QString& name);
    // Binary upload of a local file to a remote path whose folder exists.
    bool PutFile(const QString& localPath, const QString& remotePath);
    // Binary download; a file larger than maxBytes fails (TooLarge) and leaves localPath alone.
    bool GetFile(const QString& remotePath, const QString& localPath, qint64 maxBytes);
    // Renames, replacing an existing target where the server allows it.
    bool Rename(const QString& from, const QString& to);
    // Removes an empty folder.
    bool RemoveDirectory(const QString& path);
    bool Remove(const QString& path);

    // Why the last failed operation failed.
    const FtpError& LastError() const;

    // The folder to return to after the connection was opened again (empty: where the server
    // puts us after the login).
    void SetInitialFolder(const QString& folder);
    QString InitialFolder() const;

    bool IsPassive() const;
    const FtpSiteLogin& Login() const;
    int Retries() const;
    int RetryDelay() const;

    // Called while an operation waits and during the pauses between attempts: return false to
    // cancel (the operation then fails with FtpError::Cancelled at once).
    void SetPump(std::function<bool()> pump);
    CMyInetSession& Session();

    // The retry loop around one client call, for the operations built on this connection
    // (the folder finder). logText is the operation's log text ("FindFile(/a/*)"); the retry
    // line names its first word. With endOnNoMoreFiles, error 18 ends the loop at once without
    // a log line or the error decision.
    enum class RetryLine { Plain, WithDelay };
    bool RunWithRetries(const QString& logText, const std::function<bool(FtpClient&)>& call,
                        RetryLine line = RetryLine::Plain, bool endOnNoMoreFiles = false);

    // Closes the connection; the next operation opens it again only through a reset.
    void Close();

private:
    CMyFtpConnection(CMyInetSession& session, const FtpSiteLogin& login, bool passive);
    bool OpenClient(FtpError& error);
    bool Pause();
    void LogRetry(const QString& logText, int attempt, RetryLine line);

    CMyInetSession& m_session;
    FtpSiteLogin m_login;
    bool m_passive;
    int m_retries;
    int m_retryDelay;
    QString m_initialFolder;
    FtpClient m_client;
    FtpError m_lastError;
    std::function<bool()> m_pump;
    bool m_resetting = false; // a reset in progress does not start another one
    friend bool ResetConnection(CMyFtpConnection& connection);
};
