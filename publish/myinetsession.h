// SPDX-License-Identifier: GPL-2.0-or-later
// CMyInetSession: what every connection of one publish dialog (or one CLI run) shares: the
// corrected settings and their time-outs, the log and the user's trusted keys.
#pragma once

#include <functional>

#include "platform/ftpclient.h"
#include "publish/ftpsettings.h"
#include "publish/trustedkeys.h"

class FtpLog;
class Settings;
struct FtpSiteLogin;

class CMyInetSession {
public:
    // The name the session gives itself where a protocol has a place for one (FTP has none).
    static constexpr const char* AgentName = "Vellora FTP";

    CMyInetSession(const FtpSettings& settings, FtpLog& log, Settings& store);
    CMyInetSession(const CMyInetSession&) = delete;
    CMyInetSession& operator=(const CMyInetSession&) = delete;

    const FtpSettings& Options() const;
    FtpLog& Log();
    TrustedKeys& Trust();

    // The client options for a site: the session's time-outs, the login (none when
    // anonymous), the mode, the trusted certificate key and the known-hosts file.
    FtpOptions MakeOptions(const FtpSiteLogin& login, bool passive) const;

    // Called while any connection of the session waits on the network, from its first
    // connect on: false cancels (see FtpClient::setPump). Connections opened later take it.
    void SetPump(std::function<bool()> pump);
    const std::function<bool()>& Pump() const;

private:
    FtpSettings m_settings;
    FtpLog& m_log;
    TrustedKeys m_trust;
    std::function<bool()> m_pump;
};
