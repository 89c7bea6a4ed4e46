// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftperrorhandler.h"

#include "platform/ftpclient.h"
#include "publish/ftplog.h"
#include "publish/myftpconnection.h"
#include "publish/myinetsession.h"

namespace {

// An entry that ends without a line end would run into the next line of the log.
void appendEntry(FtpLog& log, QString entry)
{
    if (!entry.endsWith(QLatin1Char('\n')))
        entry += QStringLiteral("\r\n");
    log.Append(entry);
}

} // namespace

bool HandleFtpError(const FtpError& error, const QString& text, CMyFtpConnection& connection)
{
    if (error.code == FtpError::None)
        return false;
    FtpLog& log = connection.Session().Log();
    QString entry =
        QStringLiteral("%1 (%2:%3): ").arg(FtpLog::TimeStamp(), text).arg(error.code);
    switch (error.code) {
    case FtpError::ExtendedError:
        entry += QStringLiteral("\t%1 - %2").arg(error.replyCode).arg(error.replyText.left(2600));
        appendEntry(log, entry);
        return error.replyCode != 0;
    case FtpError::ConnectionAborted:
    case FtpError::ConnectionReset:
        appendEntry(log, entry + QStringLiteral("\tconnection reset\n"));
        return !ResetConnection(connection);
    default:
        break;
    }
    const QString system = ftpErrorMessage(error.code);
    if (!system.isEmpty())
        entry += QStringLiteral("\t%1\n").arg(system);
    if (error.code == FtpError::TimedOut)
        entry += QStringLiteral("\toperation timeout\n");
    appendEntry(log, entry);
    return error.code != FtpError::TimedOut;
}

bool ResetConnection(CMyFtpConnection& connection)
{
    // A reset is already running further up (its folder change broke off again): that
    // attempt fails, and the outer reset goes on with its next one instead of nesting deeper.
    if (connection.m_resetting)
        return false;
    connection.m_resetting = true;
    FtpLog& log = connection.Session().Log();
    const QString server = connection.Login().server;
    const QString folder = connection.InitialFolder();
    bool ok = false;
    for (int attempt = 1; !ok && attempt <= connection.Retries(); ++attempt) {
        log.WriteLine(QStringLiteral("Trying to reset connection (%1 of %2) Delay: %3")
                          .arg(attempt)
                          .arg(connection.Retries())
                          .arg(connection.RetryDelay()));
        FtpError error;
        connection.Close();
        if (connection.OpenClient(error)) {
            log.WriteLine(QStringLiteral("Connected to %1").arg(server));
            ok = folder.isEmpty();
            if (!ok) {
                log.WriteLine(QStringLiteral("Trying to set initial dir to \"%1\"").arg(folder));
                ok = connection.SetCurrentDirectory(folder);
                error = connection.LastError();
            }
        }
        if (!ok) {
            const QString why = error.message.isEmpty() ? ftpErrorMessage(error.code)
                                                        : error.message;
            log.WriteLine(QStringLiteral("Failed with error: %1").arg(why));
        }
    }
    connection.m_resetting = false;
    return ok;
}
