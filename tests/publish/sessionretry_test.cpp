// SPDX-License-Identifier: GPL-2.0-or-later
// The retry loop of the remote operations, the decision per failure and the reset of a
// connection that broke off, against the fault-injecting server.
#include "tests/publish/sessionfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file big enough that a reset after its first bytes finds the upload still running.
QString bigFile(const TestFolder& folder)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < 600 * 1024; ++i)
        bytes += QByteArray::number(i * 7919) + '\n';
    return folder.write(QStringLiteral("big.bin"), bytes);
}


// A proxy in front of a server's control port that breaks the session off whenever the
// client sends a line matching drop; the port it listens on, 0 when it did not start.
uint16_t startDropProxy(ServerProcess& proxy, const TestFolder& folder, uint16_t serverPort,
                        const QString& drop)
{
    const QString script = QDir::cleanPath(sharedTestData("../publish/dropproxy.py"));
    const QString output = folder.file("proxy.log");
    QString why;
    if (!proxy.start("/usr/bin/python3",
                     {script, "--server-port", QString::number(serverPort), "--drop", drop},
                     output, why))
        return 0;
    static const QRegularExpression listening("listening on port (\\d+)");
    for (int i = 0; i < 250 && proxy.isRunning(); ++i) {
        const auto match = listening.match(QString::fromUtf8(bytesOf(output)));
        if (match.hasMatch()) {
            const auto port = static_cast<uint16_t>(match.captured(1).toUInt());
            return proxy.waitForPort(port, 5000, why) ? port : 0;
        }
        QThread::msleep(20);
    }
    return 0;
}

} // namespace

TEST_F(SessionTest, TimeOutsAreTriedAsOftenAsTheRetriesSayWithARetryLineFromTheSecond)
{
    settings.operationsTimeout = 1000;
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    server.setFaults(FtpFaults().add(FtpFault::stall("MKD")));

    EXPECT_FALSE(connection->CreateDirectory("stalled"));
    EXPECT_EQ(connection->LastError().code, FtpError::TimedOut);
    EXPECT_EQ(server.commandCount("MKD"), 3);
    const QString text = logText();
    EXPECT_FALSE(text.contains("Retry operation CreateDirectory (1 of 3)"));
    EXPECT_TRUE(text.contains("Retry operation CreateDirectory (2 of 3) [")) << text.toStdString();
    EXPECT_TRUE(text.contains("Retry operation CreateDirectory (3 of 3) ["));
    EXPECT_EQ(text.count(" (CreateDirectory(stalled):12002): "), 3);
    EXPECT_EQ(text.count("\toperation timeout\r\n"), 3);
    EXPECT_LT(text.indexOf("(2 of 3)"), text.indexOf("(3 of 3)"));
}

TEST_F(SessionTest, RemovingAFolderNamesTheDelayInItsRetryLine)
{
    settings.retries = 2;
    settings.operationsTimeout = 1000;
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("gone/keep.txt", "x");
    auto connection = open(server);
    ASSERT_TRUE(connection);
    server.setFaults(FtpFaults().add(FtpFault::stall("RMD")));

    EXPECT_FALSE(connection->RemoveDirectory("/gone"));
    EXPECT_EQ(server.commandCount("RMD"), 2);
    EXPECT_TRUE(logText().contains("Retry operation RemoveDirectory (2 of 2) Delay: 20 ["))
        << logText().toStdString();
}

TEST_F(SessionTest, AServerRefusalStopsAtTheFirstAttemptWithItsReplyInTheLog)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    server.setFaults(FtpFaults().add(FtpFault::replyWith("MKD", "550 Not here, sorry.")));

    EXPECT_FALSE(connection->CreateDirectory("refused"));
    EXPECT_EQ(server.commandCount("MKD"), 1);
    EXPECT_EQ(connection->LastError().code, FtpError::ExtendedError);
    EXPECT_EQ(connection->LastError().replyCode, 550);
    const QString text = logText();
    EXPECT_TRUE(text.contains(" (CreateDirectory(refused):12003): \t550 - ")) << text.toStdString();
    EXPECT_TRUE(text.contains("Not here, sorry."));
    EXPECT_FALSE(text.contains("Retry operation"));
    EXPECT_FALSE(QFileInfo::exists(server.root() + "/refused"));
}

TEST_F(SessionTest, A421IsTheServersAnswerNotATimeOutAndTheNextOperationWorks)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    server.setFaults(FtpFaults().add(FtpFault::replyWith("MKD", "421 Too busy, later.", 1)));

    EXPECT_FALSE(connection->CreateDirectory("busy"));
    EXPECT_EQ(connection->LastError().replyCode, 421);
    EXPECT_EQ(server.commandCount("MKD"), 1);
    const QString text = logText();
    EXPECT_TRUE(text.contains(" (CreateDirectory(busy):12003): \t421 - ")) << text.toStdString();
    EXPECT_FALSE(text.contains("operation timeout"));

    // The server closed that session; the connection logs in again by itself.
    EXPECT_TRUE(connection->CreateDirectory("busy"));
    EXPECT_TRUE(QFileInfo(server.root() + "/busy").isDir());
}

TEST_F(SessionTest, AResetDuringAnUploadReopensInTheInitialFolderAndTheUploadCompletes)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("album/old.txt", "old");
    auto connection = open(server);
    ASSERT_TRUE(connection);
    ASSERT_TRUE(connection->SetCurrentDirectory("/album"));
    connection->SetInitialFolder("/album");
    server.setFaults(FtpFaults().add(FtpFault::resetDuringStor(1, 64 * 1024)));
    const QString local = bigFile(work);

    EXPECT_TRUE(connection->PutFile(local, "big.bin")) << logText().toStdString();
    EXPECT_EQ(server.commandCount("STOR"), 2);
    EXPECT_EQ(bytesOf(server.root() + "/album/big.bin"), bytesOf(local));
    QString current;
    EXPECT_TRUE(connection->GetCurrentDirectory(current));
    EXPECT_EQ(current, "/album");

    const QString text = logText();
    const qsizetype entry = text.indexOf(QRegularExpression(" \\(PutFile\\(big.bin\\):1203[01]\\): "
                                                            "\tconnection reset\r\n"));
    const qsizetype trying = text.indexOf("Trying to reset connection (1 of 3) Delay: 20 [");
    const qsizetype connected = text.indexOf("Connected to 127.0.0.1 [");
    const qsizetype folder = text.indexOf("Trying to set initial dir to \"/album\" [");
    EXPECT_GE(entry, 0) << text.toStdString();
    EXPECT_GT(trying, entry);
    EXPECT_GT(connected, trying);
    EXPECT_GT(folder, connected);
    EXPECT_FALSE(text.contains("Trying to reset connection (2 of 3)"));
    EXPECT_FALSE(text.contains("Failed with error"));
}

TEST_F(SessionTest, AResetThatNeverGetsBackInFailsTheOperationAtOnce)
{
    settings.operationsTimeout = 1000; // each new session waits that long for a real greeting
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    // The session already open goes on; every new one is greeted with garbage.
    FtpFaults faults;
    faults.add(FtpFault::resetDuringStor(1, 64 * 1024));
    faults.greeting = FtpFaults::Greeting::Garbage;
    server.setFaults(faults);

    EXPECT_FALSE(connection->PutFile(bigFile(work), "/big.bin"));
    EXPECT_EQ(server.commandCount("STOR"), 1);
    const QString text = logText();
    EXPECT_TRUE(text.contains("Trying to reset connection (3 of 3) Delay: 20 [")) << text.toStdString();
    EXPECT_EQ(text.count("Failed with error: "), 3);
    EXPECT_FALSE(text.contains("Connected to"));
    EXPECT_FALSE(text.contains("Retry operation PutFile"));
}

TEST_F(SessionTest, AResetWhoseInitialFolderIsGoneFailsWithTheBreakAsItsError)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("album/old.txt", "old");
    server.put("other/keep.txt", "keep");
    auto connection = open(server);
    ASSERT_TRUE(connection);
    connection->SetInitialFolder("/album");
    ASSERT_TRUE(QDir(server.root() + "/album").removeRecursively());
    server.setFaults(FtpFaults().add(FtpFault::resetDuringStor(1, 64 * 1024)));

    EXPECT_FALSE(connection->PutFile(bigFile(work), "/other/big.bin"));
    const int code = connection->LastError().code;
    EXPECT_TRUE(code == FtpError::ConnectionAborted || code == FtpError::ConnectionReset) << code;
    EXPECT_EQ(server.commandCount("STOR"), 1);
    const QString text = logText();
    EXPECT_EQ(text.count("Trying to set initial dir to \"/album\" ["), 3) << text.toStdString();
    EXPECT_EQ(text.count("Failed with error: "), 3);
    EXPECT_TRUE(text.contains(" (SetCurrentDirectory(/album):12003): \t550 - "));
}

TEST_F(SessionTest, ABreakWhileAResetReturnsToItsFolderEndsThatAttemptWithoutNesting)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("album/old.txt", "old");
    server.put("other/keep.txt", "keep");
    ServerProcess proxy;
    const uint16_t port = startDropProxy(proxy, work, server.port(), "^CWD .*album");
    ASSERT_NE(port, 0) << bytesOf(work.file("proxy.log")).constData();
    FtpSiteLogin login = loginFor(server);
    login.port = port;
    FtpError error;
    auto connection = CMyFtpConnection::Open(session(), login, true, error);
    ASSERT_TRUE(connection) << error.message.toStdString();
    connection->SetInitialFolder("/album");
    // Resets calling themselves would go on for ever: cancel them, so the test fails instead.
    connection->SetPump([&] { return logText().count("Trying to reset connection (") <= 6; });
    server.setFaults(FtpFaults().add(FtpFault::resetDuringStor(1, 64 * 1024)));

    // Every way back into the folder breaks off: each reset attempt fails on its own, and
    // the resets do not call themselves without end.
    EXPECT_FALSE(connection->PutFile(bigFile(work), "/other/big.bin"));
    const QString text = logText();
    EXPECT_EQ(text.count("Trying to reset connection ("), 3) << text.toStdString();
    EXPECT_EQ(text.count("Trying to set initial dir to \"/album\" ["), 3);
    EXPECT_EQ(text.count("Failed with error: "), 3);
    EXPECT_EQ(text.count("(SetCurrentDirectory(/album):1203"), 3);
    EXPECT_EQ(server.commandCount("STOR"), 1);
}

TEST_F(SessionTest, CancelDuringTheRetryDelayStopsAtOnce)
{
    settings.retryDelay = 600000; // only a cancel ends this pause in time
    settings.operationsTimeout = 1000;
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    // The user presses Cancel once the first attempt failed and was logged.
    int pumped = 0;
    connection->SetPump([&] {
        ++pumped;
        return !logText().contains("(CreateDirectory(slow):12002)");
    });
    server.setFaults(FtpFaults().add(FtpFault::stall("MKD")));

    EXPECT_FALSE(connection->CreateDirectory("slow"));
    EXPECT_EQ(connection->LastError().code, FtpError::Cancelled);
    EXPECT_EQ(server.commandCount("MKD"), 1);
    EXPECT_GT(pumped, 0);
    EXPECT_FALSE(logText().contains("Retry operation"));
}

TEST_F(SessionTest, CreatingAFolderWithoutANameSucceedsWithoutAskingTheServer)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    auto connection = open(server);
    ASSERT_TRUE(connection);
    EXPECT_TRUE(connection->CreateDirectory(""));
    EXPECT_EQ(server.commandCount("MKD"), 0);
    EXPECT_TRUE(logText().isEmpty());
}

TEST_F(SessionTest, OperationsReachTheServer)
{
    PyFtpServer server;
    SKIP_WITHOUT(server);
    server.put("site/index.html", "<html>one</html>");
    auto connection = open(server);
    ASSERT_TRUE(connection);

    EXPECT_TRUE(connection->SetCurrentDirectory("/site"));
    EXPECT_TRUE(connection->CreateDirectory("pictures"));
    const QString local = work.write("photo.jpg", QByteArray(5000, 'p'));
    EXPECT_TRUE(connection->PutFile(local, "pictures/photo.part"));
    EXPECT_TRUE(connection->Rename("pictures/photo.part", "pictures/photo.jpg"));
    EXPECT_EQ(bytesOf(server.root() + "/site/pictures/photo.jpg"), QByteArray(5000, 'p'));
    EXPECT_TRUE(connection->GetFile("/site/index.html", work.file("index.html"), 1 << 20));
    EXPECT_EQ(bytesOf(work.file("index.html")), "<html>one</html>");
    EXPECT_FALSE(connection->GetFile("/site/index.html", work.file("small.html"), 4));
    EXPECT_EQ(connection->LastError().code, FtpError::TooLarge);
    EXPECT_FALSE(QFileInfo::exists(work.file("small.html")));
    EXPECT_TRUE(connection->Remove("pictures/photo.jpg"));
    EXPECT_TRUE(connection->RemoveDirectory("/site/pictures"));
    EXPECT_FALSE(QFileInfo::exists(server.root() + "/site/pictures"));
}
