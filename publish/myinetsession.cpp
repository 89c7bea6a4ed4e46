// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/myinetsession.h"

#include "publish/ftplog.h"
#include "publish/myftpconnection.h"

CMyInetSession::CMyInetSession(const FtpSettings& settings, FtpLog& log, Settings& store)
    : m_settings(settings), m_log(log), m_trust(store)
{
}

const FtpSettings& CMyInetSession::Options() const
{
    return m_settings;
}

FtpLog& CMyInetSession::Log()
{
    return m_log;
}

TrustedKeys& CMyInetSession::Trust()
{
    return m_trust;
}

FtpOptions CMyInetSession::MakeOptions(const FtpSiteLogin& login, bool passive) const
{
    FtpOptions options;
    options.protocol = login.protocol;
    options.host = login.server;
    options.port = login.port;
    if (!login.IsAnonymous()) {
        options.user = login.user;
        options.password = login.password;
    }
    options.passive = passive;
    options.connectTimeoutMs = m_settings.connectionTimeout;
    options.operationTimeoutMs = m_settings.operationsTimeout;
    if (login.protocol == FtpOptions::Protocol::Ftps)
        options.trustedKeySha256 = m_trust.KeyFor(login.server, login.port);
    if (login.protocol == FtpOptions::Protocol::Sftp)
        options.knownHostsFile = TrustedKeys::KnownHostsFile();
    return options;
}

void CMyInetSession::SetPump(std::function<bool()> pump)
{
    m_pump = std::move(pump);
}

const std::function<bool()>& CMyInetSession::Pump() const
{
    return m_pump;
}
