// SPDX-License-Identifier: GPL-2.0-or-later
// What the session tests against real servers share: settings kept away from the user's,
// a log of their own, quick time-outs and retries, and the login of a test server.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QFile>

#include "platform/settings.h"
#include "publish/ftplog.h"
#include "publish/ftpsettings.h"
#include "publish/myftpconnection.h"
#include "publish/myinetsession.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        // Built directly: the corrections of stored values are tested on their own, and
        // would not allow time-outs this short.
        settings.connectionTimeout = 5000;
        settings.operationsTimeout = 4000; // a test of stalled commands shortens it
        settings.retries = 3;
        settings.retryDelay = 20;
    }

    CMyInetSession& session()
    {
        if (!m_session)
            m_session = std::make_unique<CMyInetSession>(settings, log, store);
        return *m_session;
    }

    static FtpSiteLogin loginFor(const TestFtpServer& server)
    {
        FtpSiteLogin login;
        login.server = QStringLiteral("127.0.0.1");
        login.port = server.port();
        login.user = server.user();
        login.password = server.password();
        return login;
    }

    // A connection in passive mode (the mode tests of their own try active mode).
    std::unique_ptr<CMyFtpConnection> open(const TestFtpServer& server)
    {
        FtpError error;
        auto connection = CMyFtpConnection::Open(session(), loginFor(server), true, error);
        EXPECT_TRUE(connection) << error.message.toStdString();
        return connection;
    }

    QString logText() const
    {
        QFile file(log.Path());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    TestFolder work;
    // The per-user data folder (known hosts, the default log) is the test's own too.
    EnvironmentValue dataHome{"XDG_DATA_HOME", work.path().toUtf8()};
    SettingsSandbox sandbox;
    Settings store;
    FtpLog log{work.file(QStringLiteral("session.ftp.log"))};
    FtpSettings settings;

private:
    std::unique_ptr<CMyInetSession> m_session;
};

#define SKIP_WITHOUT(server)                                                                  \
    if (!(server).skipReason().isEmpty())                                                    \
    GTEST_SKIP() << (server).skipReason().toStdString()
