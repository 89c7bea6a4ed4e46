// SPDX-License-Identifier: GPL-2.0-or-later
// Connecting with its log lines and the passive fall-back, anonymous logins, the password
// kept out of every file, and walking remote folders.
#include "tests/publish/sessionfixture.h"

#include <set>

#include <QDirIterator>

#include "publish/ftpconnector.h"
#include "publish/myftpfilefind.h"

namespace {

std::set<QString> namesOf(MyCFtpFileFind& find, const QString& pattern)
{
    std::set<QString> names;
    for (bool more = find.FindFile(pattern); more; more = find.FindNextFile())
        names.insert(find.GetFileName());
    return names;
}

} // namespace

TEST_F(SessionTest, ActiveModeIsTriedFirstAndKeptWhenItWorks)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    FtpError error;
    auto connection = ConnectToSite(session(), loginFor(server), error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_FALSE(connection->IsPassive());
    const QString local = work.write("a.txt", "active");
    EXPECT_TRUE(connection->PutFile(local, "/a.txt"));
    EXPECT_GT(server.commandCount("PORT") + server.commandCount("EPRT"), 0);

    const QString text = logText();
    const QStringList lines = {"Connecting to 127.0.0.1 [",
                               "Username: gvtest\r\nPassword: (hidden)\r\n [",
                               "Connected to 127.0.0.1, PassiveMode = false ["};
    qsizetype at = 0;
    for (const QString& line : lines) {
        at = text.indexOf(line, at);
        EXPECT_GE(at, 0) << line.toStdString() << " in\n" << text.toStdString();
    }
    EXPECT_FALSE(text.contains("Connection failed"));
    EXPECT_FALSE(text.contains("Anonymous login."));
}

TEST_F(SessionTest, ARefusedPortFallsBackToPassiveMode)
{
    PyFtpServer::Options options;
    options.faults.refuseActiveMode();
    PyFtpServer server(options);
    SKIP_WITHOUT(server);
    server.put("photos/a.jpg", "a");
    FtpError error;
    auto connection = ConnectToSite(session(), loginFor(server), error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_TRUE(connection->IsPassive());
    MyCFtpFileFind find(*connection);
    EXPECT_EQ(namesOf(find, "/photos/*"), std::set<QString>{"a.jpg"});

    const QString text = logText();
    const qsizetype failed = text.indexOf("Connection failed.\r\nTrying passive mode... [");
    EXPECT_GE(failed, 0) << text.toStdString();
    EXPECT_GT(text.indexOf("Connected to 127.0.0.1, PassiveMode = true ["), failed);
    EXPECT_FALSE(text.contains("PassiveMode = false"));
}

TEST_F(SessionTest, ForcedPassiveModeNeverTriesActive)
{
    settings.forcePassive = true;
    PyFtpServer server;
    SKIP_WITHOUT(server);
    FtpError error;
    auto connection = ConnectToSite(session(), loginFor(server), error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_TRUE(connection->IsPassive());
    EXPECT_TRUE(connection->PutFile(work.write("p.txt", "passive"), "/p.txt"));
    EXPECT_EQ(server.commandCount("PORT") + server.commandCount("EPRT"), 0);
    const QString text = logText();
    EXPECT_TRUE(text.contains("Connected to 127.0.0.1, PassiveMode = true [")) << text.toStdString();
    EXPECT_FALSE(text.contains("Connection failed"));
}

TEST_F(SessionTest, AnonymousSitesLogInWithoutUserOrPassword)
{
    PyFtpServer::Options options;
    options.withUser = false;
    PyFtpServer server(options);
    SKIP_WITHOUT(server);
    FtpSiteLogin login = loginFor(server);
    // Ticked anonymous wins over a login the dialog still shows.
    login.user = "someone";
    login.password = "not-sent-4711";
    login.anonymous = true;
    FtpError error;
    auto connection = ConnectToSite(session(), login, error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_TRUE(connection->CreateDirectory("incoming"));
    EXPECT_TRUE(QFileInfo(server.root() + "/incoming").isDir());
    const QString text = logText();
    EXPECT_TRUE(text.contains("Anonymous login. [")) << text.toStdString();
    EXPECT_FALSE(text.contains("Username:"));
    EXPECT_FALSE(text.contains("not-sent-4711"));

    // No login name at all is anonymous too.
    login = loginFor(server);
    login.user.clear();
    auto second = ConnectToSite(session(), login, error);
    EXPECT_TRUE(second) << error.message.toStdString();
}

TEST_F(SessionTest, AFailedConnectReturnsNothingWithATextToShow)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    FtpSiteLogin login = loginFor(server);
    login.password = "wrong-one";
    FtpError error;
    EXPECT_FALSE(ConnectToSite(session(), login, error));
    EXPECT_EQ(error.code, FtpError::LoginFailed);
    EXPECT_FALSE(error.message.isEmpty());
    const QString text = logText();
    EXPECT_TRUE(text.contains("Connection failed.\r\nTrying passive mode...")) << text.toStdString();
    EXPECT_FALSE(text.contains("Connected to"));

    // Nobody listening: the general text when the failure has none of its own is never empty.
    login.port = 1;
    EXPECT_FALSE(ConnectToSite(session(), login, error));
    EXPECT_EQ(error.code, FtpError::CannotConnect);
    EXPECT_FALSE(error.message.isEmpty());
}

TEST_F(SessionTest, ThePasswordIsInNoLogLineAndNoFileEvenWhenTheServerEchoesIt)
{
    PyFtpServer::Options options;
    options.faults.echoLastArgument = true;
    options.faults.add(FtpFault::replyWith("MKD", "550 Cannot create that."));
    PyFtpServer server(options);
    SKIP_WITHOUT(server);
    log.WriteHeader();
    log.WriteSettings(settings);
    FtpError error;
    auto connection = ConnectToSite(session(), loginFor(server), error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    // A folder named like the password: its refusal echoes the name back.
    EXPECT_FALSE(connection->CreateDirectory(server.password()));
    connection.reset();
    FtpSiteLogin wrong = loginFor(server);
    wrong.password = "Wr0ng-Pa55";
    EXPECT_FALSE(ConnectToSite(session(), wrong, error));

    const QString text = logText();
    EXPECT_TRUE(text.contains("(you said: (hidden))")) << text.toStdString();
    for (const QString& folder : {work.path(), sandbox.root()}) {
        QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QByteArray bytes = file.readAll();
            EXPECT_FALSE(bytes.contains(server.password().toUtf8())) << path.toStdString();
            EXPECT_FALSE(bytes.contains("Wr0ng-Pa55")) << path.toStdString();
        }
    }
}

TEST_F(SessionTest, AnEmptyFolderIsListedWithoutALogLine)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    QDir().mkpath(server.root() + "/empty");
    auto connection = open(server);
    ASSERT_TRUE(connection);
    MyCFtpFileFind find(*connection);
    EXPECT_FALSE(find.FindFile("/empty/*"));
    EXPECT_EQ(find.LastError(), FtpError::NoMoreFiles);
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(find.LastError(), FtpError::NoMoreFiles);
    EXPECT_TRUE(logText().isEmpty()) << logText().toStdString();
    EXPECT_EQ(server.commandCount("MLSD") + server.commandCount("LIST"), 1);
}

TEST_F(SessionTest, FindingWalksTheEntriesOfAFolderFreshFromTheServer)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("album/a.jpg", "a");
    server.put("album/b.txt", "b");
    server.put("album/sub/c.jpg", "c");
    auto connection = open(server);
    ASSERT_TRUE(connection);
    MyCFtpFileFind find(*connection);

    EXPECT_EQ(namesOf(find, "/album/*"), (std::set<QString>{"a.jpg", "b.txt", "sub"}));
    EXPECT_EQ(namesOf(find, "/album/*.jpg"), std::set<QString>{"a.jpg"});
    ASSERT_TRUE(find.FindFile("/album/sub"));
    EXPECT_TRUE(find.IsDirectory());
    EXPECT_FALSE(find.IsDots());
    EXPECT_EQ(find.GetFilePath(), "/album/sub");
    EXPECT_FALSE(find.FindNextFile());
    ASSERT_TRUE(find.FindFile("/album/a.jpg"));
    EXPECT_FALSE(find.IsDirectory());
    EXPECT_FALSE(find.FindFile("/album/none.jpg"));
    EXPECT_EQ(find.LastError(), FtpError::NoMoreFiles);

    // Relative to the current folder, and never from an earlier listing.
    ASSERT_TRUE(connection->SetCurrentDirectory("/album/sub"));
    server.put("album/sub/d.jpg", "d");
    EXPECT_EQ(namesOf(find, "*"), (std::set<QString>{"c.jpg", "d.jpg"}));
    EXPECT_TRUE(logText().isEmpty());

    // A folder that is not there is the server's refusal, logged once.
    EXPECT_FALSE(find.FindFile("/missing/*"));
    EXPECT_EQ(find.LastError(), FtpError::ExtendedError);
    EXPECT_EQ(logText().count(" (FindFile(/missing/*):12003): "), 1) << logText().toStdString();
}

TEST_F(SessionTest, FtpsGoesStraightToPassiveAndKeepsTheUsersTrust)
{
    PureFtpd server;
    SKIP_WITHOUT(server);
    FtpSiteLogin login = loginFor(server);
    login.protocol = FtpOptions::Protocol::Ftps;
    FtpError error;
    EXPECT_FALSE(ConnectToSite(session(), login, error));
    EXPECT_EQ(error.code, FtpError::UntrustedCertificate);
    EXPECT_EQ(error.presentedKeySha256, server.publicKeySha256().toBase64());

    session().Trust().Trust(login.server, login.port, error.presentedKeySha256);
    auto connection = ConnectToSite(session(), login, error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_TRUE(connection->IsPassive());
    EXPECT_TRUE(connection->PutFile(work.write("s.txt", "secure"), server.folder() + "s.txt"));
    const QString text = logText();
    EXPECT_TRUE(text.contains("FTPS connections use passive mode only. [")) << text.toStdString();
    EXPECT_FALSE(text.contains("Connection failed"));
    EXPECT_TRUE(text.contains("Connected to 127.0.0.1, PassiveMode = true ["));
}

TEST_F(SessionTest, SftpHasNoModesAndRemembersTheHostKey)
{
    SftpServer server;
    SKIP_WITHOUT(server);
    FtpSiteLogin login = loginFor(server);
    login.protocol = FtpOptions::Protocol::Sftp;
    FtpError error;
    auto connection = ConnectToSite(session(), login, error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    EXPECT_TRUE(connection->CreateDirectory(server.folder() + "made"));
    EXPECT_TRUE(QFileInfo(server.root() + "/made").isDir());
    const QString text = logText();
    EXPECT_TRUE(text.contains("SFTP connections have no active or passive mode. ["))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Connected to 127.0.0.1 ["));
    EXPECT_FALSE(text.contains("PassiveMode"));
    EXPECT_TRUE(TrustedKeys::KnownHostsFile().startsWith(work.path()));
    EXPECT_TRUE(QFileInfo(TrustedKeys::KnownHostsFile()).size() > 0);
}
