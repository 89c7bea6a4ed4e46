// SPDX-License-Identifier: GPL-2.0-or-later
// The decision after a failed attempt of a remote operation, and the reset of a dropped
// connection.
#pragma once

#include <QString>

struct FtpError;
class CMyFtpConnection;

// Logs the failure as an error entry and says whether to stop (true) or try again (false):
// time-outs are tried again, a connection that broke off is opened again first (and the
// operation stops when that fails), a server reply stops unless it carries no code, anything
// else stops. Error 0 continues without a log entry.
bool HandleFtpError(const FtpError& error, const QString& text, CMyFtpConnection& connection);

// Closes the connection and opens it again, up to the connection's number of retries, going
// back to its initial folder; each attempt is logged. False when every attempt failed.
bool ResetConnection(CMyFtpConnection& connection);
