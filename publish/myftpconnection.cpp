// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/myftpconnection.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QThread>

#include "publish/ftperrorhandler.h"
#include "publish/ftplog.h"
#include "publish/myinetsession.h"

namespace {

// The operation's name in a retry line: the first word of its log text.
QString operationName(const QString& logText)
{
    return logText.section(QLatin1Char('('), 0, 0);
}

QString call(const char* name, const QString& argument)
{
    return QString::fromLatin1(name) + QLatin1Char('(') + argument + QLatin1Char(')');
}

} // namespace

CMyFtpConnection::CMyFtpConnection(CMyInetSession& session, const FtpSiteLogin& login,
                                   bool passive)
    : m_session(session), m_login(login), m_passive(passive),
      m_retries(std::max(1, session.Options().retries)),
      m_retryDelay(std::max(0, session.Options().retryDelay))
{
    m_session.Log().HideSecret(m_login.password);
    // The window stays painted, and Cancel works, from the first connect on.
    if (m_session.Pump())
        SetPump(m_session.Pump());
}

CMyFtpConnection::~CMyFtpConnection() = default;

std::unique_ptr<CMyFtpConnection> CMyFtpConnection::Open(CMyInetSession& session,
                                                         const FtpSiteLogin& login, bool passive,
                                                         FtpError& error)
{
    std::unique_ptr<CMyFtpConnection> connection(new CMyFtpConnection(session, login, passive));
    if (!connection->OpenClient(error))
        return nullptr;
    error = FtpError();
    return connection;
}

bool CMyFtpConnection::OpenClient(FtpError& error)
{
    // In active mode the client proves with a listing that the server's data connections
    // reach us, so a refused PORT fails here, where the caller can still fall back.
    if (m_client.open(m_session.MakeOptions(m_login, m_passive)))
        return true;
    error = m_client.lastError();
    return false;
}

void CMyFtpConnection::Close()
{
    m_client.close();
}

bool CMyFtpConnection::Pause()
{
    if (!m_pump) {
        QThread::msleep(static_cast<unsigned long>(m_retryDelay));
        return true;
    }
    // Short naps with the pump between them keep the window painted and Cancel working.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < m_retryDelay) {
        if (!m_pump())
            return false;
        const qint64 left = m_retryDelay - timer.elapsed();
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(left, 0, 20)));
    }
    return m_pump();
}

void CMyFtpConnection::LogRetry(const QString& logText, int attempt, RetryLine line)
{
    QString retry = QStringLiteral("Retry operation %1 (%2 of %3)")
                        .arg(operationName(logText))
                        .arg(attempt + 1)
                        .arg(m_retries);
    if (line == RetryLine::WithDelay)
        retry += QStringLiteral(" Delay: %1").arg(m_retryDelay);
    m_session.Log().WriteLine(retry);
}

bool CMyFtpConnection::RunWithRetries(const QString& logText,
                                      const std::function<bool(FtpClient&)>& call,
                                      RetryLine line, bool endOnNoMoreFiles)
{
    bool ok = false;
    for (int attempt = 0; !ok && attempt < m_retries; ++attempt) {
        ok = call(m_client);
        if (ok)
            break;
        m_lastError = m_client.lastError();
        if (m_lastError.code == FtpError::Cancelled)
            break;
        if (endOnNoMoreFiles && m_lastError.code == FtpError::NoMoreFiles)
            break;
        if (attempt > 0)
            LogRetry(logText, attempt, line);
        // A reset runs operations of its own; what failed here stays the operation's error.
        const FtpError failure = m_lastError;
        const bool stop = HandleFtpError(failure, logText, *this);
        m_lastError = failure;
        if (stop)
            break;
        // No pause after the last attempt: nothing follows it.
        if (attempt + 1 < m_retries && !Pause()) {
            m_lastError = FtpError{FtpError::Cancelled, 0, QString(),
                                   ftpErrorMessage(FtpError::Cancelled), QByteArray()};
            break;
        }
    }
    return ok;
}

bool CMyFtpConnection::SetCurrentDirectory(const QString& path)
{
    return RunWithRetries(call("SetCurrentDirectory", path),
                          [&](FtpClient& client) { return client.setCurrentFolder(path); });
}

bool CMyFtpConnection::GetCurrentDirectory(QString& path)
{
    // The folder is kept on our side; only a connection that was closed has to be opened
    // again to know it.
    return RunWithRetries(call("GetCurrentDirectory", path), [&](FtpClient& client) {
        if (!client.isOpen() && !client.open(client.options()))
            return false;
        path = client.currentFolder();
        return true;
    });
}

bool CMyFtpConnection::CreateDirectory(const QString& name)
{
    if (name.isEmpty())
        return true;
    const bool ok = RunWithRetries(call("CreateDirectory", name),
                                   [&](FtpClient& client) { return client.createFolder(name); });
    return ok || m_lastError.code == FtpError::None;
}

bool CMyFtpConnection::PutFile(const QString& localPath, const QString& remotePath)
{
    return RunWithRetries(call("PutFile", remotePath), [&](FtpClient& client) {
        return client.upload(localPath, remotePath);
    });
}

bool CMyFtpConnection::GetFile(const QString& remotePath, const QString& localPath,
                               qint64 maxBytes)
{
    return RunWithRetries(call("GetFile", remotePath), [&](FtpClient& client) {
        return client.download(remotePath, localPath, maxBytes);
    });
}

bool CMyFtpConnection::Rename(const QString& from, const QString& to)
{
    return RunWithRetries(call("Rename", from + QStringLiteral(" -> ") + to),
                          [&](FtpClient& client) { return client.rename(from, to); });
}

bool CMyFtpConnection::RemoveDirectory(const QString& path)
{
    return RunWithRetries(
        call("RemoveDirectory", path),
        [&](FtpClient& client) { return client.removeFolder(path); }, RetryLine::WithDelay);
}

bool CMyFtpConnection::Remove(const QString& path)
{
    return RunWithRetries(call("Remove", path),
                          [&](FtpClient& client) { return client.removeFile(path); });
}

const FtpError& CMyFtpConnection::LastError() const
{
    return m_lastError;
}

void CMyFtpConnection::SetInitialFolder(const QString& folder)
{
    m_initialFolder = folder;
}

QString CMyFtpConnection::InitialFolder() const
{
    return m_initialFolder;
}

bool CMyFtpConnection::IsPassive() const
{
    return m_passive;
}

const FtpSiteLogin& CMyFtpConnection::Login() const
{
    return m_login;
}

int CMyFtpConnection::Retries() const
{
    return m_retries;
}

int CMyFtpConnection::RetryDelay() const
{
    return m_retryDelay;
}

void CMyFtpConnection::SetPump(std::function<bool()> pump)
{
    m_pump = pump;
    m_client.setPump(std::move(pump));
}

CMyInetSession& CMyFtpConnection::Session()
{
    return m_session;
}
