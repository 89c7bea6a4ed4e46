// SPDX-License-Identifier: GPL-2.0-or-later
// ConnectToSite: opens a site the way the publish dialog's Connect button does, with its log
// lines: the login (never the password), then FTP in active mode first unless the settings
// force passive mode, and passive mode when active failed. FTPS is always passive (active TLS
// data connections do not work with our FTP library); SFTP has no modes.
#pragma once

#include <memory>

#include "publish/myftpconnection.h"

class CMyInetSession;

// The open connection, or null with error filled; error.message is then the text to show
// (the failure's own text, which is then already in the log, or the general connection
// failure text when it has none).
std::unique_ptr<CMyFtpConnection> ConnectToSite(CMyInetSession& session,
                                                const FtpSiteLogin& login, FtpError& error);
