// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftpconnector.h"

#include "platform/stringtable.h"
#include "publish/ftplog.h"
#include "publish/myinetsession.h"

namespace {

void logLogin(FtpLog& log, const FtpSiteLogin& login)
{
    log.WriteLine(QStringLiteral("Connecting to %1").arg(login.server));
    if (login.IsAnonymous())
        log.WriteLine(QStringLiteral("Anonymous login."));
    else
        log.WriteLine(
            QStringLiteral("Username: %1\r\nPassword: (hidden)\r\n").arg(login.user));
}

QString connectedLine(const FtpSiteLogin& login, bool passive)
{
    return QStringLiteral("Connected to %1, PassiveMode = %2")
        .arg(login.server, passive ? QStringLiteral("true") : QStringLiteral("false"));
}

// FTP: active mode first unless passive is forced, passive when active failed.
std::unique_ptr<CMyFtpConnection> connectFtp(CMyInetSession& session, const FtpSiteLogin& login,
                                             FtpError& error)
{
    FtpLog& log = session.Log();
    if (!session.Options().forcePassive) {
        auto connection = CMyFtpConnection::Open(session, login, false, error);
        if (connection) {
            log.WriteLine(connectedLine(login, false));
            return connection;
        }
        log.WriteLine(QStringLiteral("Connection failed.\r\nTrying passive mode..."));
    }
    auto connection = CMyFtpConnection::Open(session, login, true, error);
    if (connection)
        log.WriteLine(connectedLine(login, true));
    return connection;
}

} // namespace

std::unique_ptr<CMyFtpConnection> ConnectToSite(CMyInetSession& session,
                                                const FtpSiteLogin& login, FtpError& error)
{
    FtpLog& log = session.Log();
    log.HideSecret(login.password);
    logLogin(log, login);
    std::unique_ptr<CMyFtpConnection> connection;
    switch (login.protocol) {
    case FtpOptions::Protocol::Ftp:
        connection = connectFtp(session, login, error);
        break;
    case FtpOptions::Protocol::Ftps:
        // Our FTP library cannot take TLS data connections in active mode.
        log.WriteLine(QStringLiteral("FTPS connections use passive mode only."));
        connection = CMyFtpConnection::Open(session, login, true, error);
        if (connection)
            log.WriteLine(connectedLine(login, true));
        break;
    case FtpOptions::Protocol::Sftp:
        log.WriteLine(QStringLiteral("SFTP connections have no active or passive mode."));
        connection = CMyFtpConnection::Open(session, login, true, error);
        if (connection)
            log.WriteLine(QStringLiteral("Connected to %1").arg(login.server));
        break;
    }
    // A failure's own text goes to the log too; the general text adds nothing there.
    if (!connection && error.message.isEmpty())
        error.message = loadString(IDS_FTP_CONNECT_FAILED);
    else if (!connection)
        log.WriteLine(error.message);
    return connection;
}
