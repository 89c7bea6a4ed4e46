// SPDX-License-Identifier: GPL-2.0-or-later
// The FTP client facing servers that misbehave: refusals, silence, a 421, connections that
// break, a user who cancels. Each failure must carry the code the publishing layer decides
// on, and the session must work again afterwards without being opened anew.
#include <gtest/gtest.h>

#include <QTcpServer>

#include "platform/ftpclient.h"
#include "tests/platform/ftpclienttest.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

namespace
{

constexpr auto Ftp = FtpOptions::Protocol::Ftp;
const QString Password = QStringLiteral("Wrong-Secret-99");

// Where nobody or nothing but the system answers.
FtpOptions bareListener(uint16_t port)
{
    FtpOptions options;
    options.host = QStringLiteral("127.0.0.1");
    options.port = port;
    options.connectTimeoutMs = 1000;
    options.operationTimeoutMs = 1000;
    return options;
}

PyFtpServer::Options withFaults(const FtpFaults& faults)
{
    PyFtpServer::Options options;
    options.faults = faults;
    return options;
}

} // namespace

class FtpClientFaultsTest : public testing::Test
{
protected:
    // Starts the fault-injecting server and logs in; short time-outs keep the waits short.
    bool start(const PyFtpServer::Options& options = {}, bool passive = true)
    {
        m_server = std::make_unique<PyFtpServer>(options);
        if (!m_server->skipReason().isEmpty())
            return false;
        m_options = loginTo(*m_server, Ftp, passive, 1500);
        return true;
    }
    bool open() { return m_client.open(m_options); }
    QString upload(const QByteArray& bytes, const QString& remote)
    {
        const QString source = m_local.write(QStringLiteral("upload.bin"), bytes);
        return m_client.upload(source, remote) ? QString() : m_client.lastError().message;
    }

    std::unique_ptr<PyFtpServer> m_server;
    FtpOptions m_options;
    FtpClient m_client;
    TestFolder m_local;
};

#define START_OR_SKIP(...)                                                                         \
    if (!start(__VA_ARGS__))                                                                       \
    GTEST_SKIP() << m_server->skipReason().toStdString()

TEST_F(FtpClientFaultsTest, AWrongPasswordIsALoginFailureWithTheReply)
{
    START_OR_SKIP();
    m_options.password = Password;
    EXPECT_FALSE(open());
    EXPECT_FALSE(m_client.isOpen());
    EXPECT_EQ(m_client.lastError().code, FtpError::LoginFailed);
    EXPECT_EQ(m_client.lastError().replyCode, 530);
    EXPECT_FALSE(m_client.lastError().message.isEmpty());
}

TEST_F(FtpClientFaultsTest, ThePasswordNeverComesBackEvenWhenTheServerEchoesIt)
{
    FtpFaults echo;
    echo.echoLastArgument = true;
    START_OR_SKIP(withFaults(echo));
    m_options.password = Password;
    EXPECT_FALSE(open());
    EXPECT_EQ(m_client.lastError().replyCode, 530);
    EXPECT_TRUE(m_client.lastError().replyText.contains(QStringLiteral("(hidden)")))
        << m_client.lastError().replyText.toStdString();
    EXPECT_FALSE(m_client.lastError().replyText.contains(Password));
    EXPECT_FALSE(m_client.lastError().message.contains(Password));

    // The right password echoed in the 230 reply, then silence: the time-out must not carry
    // that reply out either.
    echo.add(FtpFault::stall(QStringLiteral("FEAT")));
    m_server->setFaults(echo);
    m_options.password = m_server->password();
    EXPECT_FALSE(open());
    EXPECT_EQ(m_client.lastError().code, FtpError::TimedOut);
    EXPECT_FALSE(m_client.lastError().replyText.contains(m_server->password()));
    EXPECT_FALSE(m_client.lastError().message.contains(m_server->password()));
}

TEST_F(FtpClientFaultsTest, NobodyListeningIsCannotConnect)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const FtpOptions options = bareListener(probe.serverPort());
    probe.close();
    FtpClient client;
    EXPECT_FALSE(client.open(options));
    EXPECT_EQ(client.lastError().code, FtpError::CannotConnect);
    EXPECT_TRUE(client.lastError().message.contains(QString::number(options.port)));
}

TEST_F(FtpClientFaultsTest, AServerThatNeverGreetsTimesOut)
{
    // The system accepts the connection into the backlog; nobody ever says a word.
    QTcpServer mute;
    ASSERT_TRUE(mute.listen(QHostAddress::LocalHost));
    FtpClient client;
    EXPECT_FALSE(client.open(bareListener(mute.serverPort())));
    EXPECT_EQ(client.lastError().code, FtpError::TimedOut);
    EXPECT_EQ(client.lastError().replyCode, 0);
}

TEST_F(FtpClientFaultsTest, AGarbageGreetingIsNotTakenForAServer)
{
    FtpFaults garbage;
    garbage.greeting = FtpFaults::Greeting::Garbage;
    START_OR_SKIP(withFaults(garbage));
    EXPECT_FALSE(open());
    EXPECT_NE(m_client.lastError().code, FtpError::None);
    EXPECT_FALSE(m_client.lastError().message.isEmpty());
}

TEST_F(FtpClientFaultsTest, A421IsAServerReplyNotATimeOut)
{
    START_OR_SKIP();
    ASSERT_TRUE(open()) << m_client.lastError().message.toStdString();
    m_server->setFaults(FtpFaults().add(
        FtpFault::replyWith(QStringLiteral("STOR"), QStringLiteral("421 Too many users."))));
    EXPECT_FALSE(upload("x", QStringLiteral("/a.jpg")).isEmpty());
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 421);
    EXPECT_TRUE(m_client.lastError().replyText.contains(QStringLiteral("Too many users")));

    // A quoted command answered with 421 as well; the server closes the session each time.
    m_server->setFaults(FtpFaults().add(
        FtpFault::replyWith(QStringLiteral("MKD"), QStringLiteral("421 Going down."))));
    EXPECT_FALSE(m_client.createFolder(QStringLiteral("d")));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 421);

    // The next operation logs in again by itself.
    m_server->setFaults({});
    EXPECT_TRUE(m_client.createFolder(QStringLiteral("d")))
        << m_client.lastError().message.toStdString();
    EXPECT_EQ(upload("y", QStringLiteral("/d/a.jpg")), QString());
    EXPECT_GE(m_server->commandCount(QStringLiteral("USER")), 2);
}

TEST_F(FtpClientFaultsTest, RefusalsKeepTheSession)
{
    START_OR_SKIP();
    ASSERT_TRUE(open());
    EXPECT_FALSE(m_client.removeFile(QStringLiteral("/missing.jpg")));
    EXPECT_FALSE(m_client.rename(QStringLiteral("/missing.jpg"), QStringLiteral("/b.jpg")));
    EXPECT_EQ(m_client.lastError().replyCode, 550);
    EXPECT_TRUE(m_client.createFolder(QStringLiteral("/d")));
    EXPECT_EQ(m_server->commandCount(QStringLiteral("USER")), 1);
}

TEST_F(FtpClientFaultsTest, SilenceTimesOutAndTheNextOperationWorks)
{
    START_OR_SKIP();
    ASSERT_TRUE(open());
    m_server->setFaults(FtpFaults().add(FtpFault::stall(QStringLiteral("MKD"))));
    EXPECT_FALSE(m_client.createFolder(QStringLiteral("slow")));
    EXPECT_EQ(m_client.lastError().code, FtpError::TimedOut);
    m_server->setFaults({});
    EXPECT_TRUE(m_client.createFolder(QStringLiteral("slow")))
        << m_client.lastError().message.toStdString();
}

TEST_F(FtpClientFaultsTest, AResetInTheMiddleOfAnUploadThenTheNextUploadWorks)
{
    START_OR_SKIP(withFaults(FtpFaults().add(FtpFault::resetDuringStor(1, 64 * 1024))));
    ASSERT_TRUE(open());
    const QByteArray bytes(1024 * 1024, 'p');
    EXPECT_FALSE(upload(bytes, QStringLiteral("/big.jpg")).isEmpty());
    const int code = m_client.lastError().code;
    EXPECT_TRUE(code == FtpError::ConnectionReset || code == FtpError::ConnectionAborted)
        << code << " " << m_client.lastError().message.toStdString();
    EXPECT_EQ(upload(bytes, QStringLiteral("/big.jpg")), QString());
    EXPECT_EQ(contentOf(m_server->root() + QStringLiteral("/big.jpg")), bytes);
}

TEST_F(FtpClientFaultsTest, ThePumpCancelsAWaitAndTheSessionGoesOn)
{
    START_OR_SKIP();
    ASSERT_TRUE(open());
    m_server->put(QStringLiteral("a.jpg"), "a");
    m_server->setFaults(FtpFaults().add(FtpFault::stall(QStringLiteral("RETR"))));
    int calls = 0;
    m_client.setPump([&] { return ++calls < 5; });
    EXPECT_FALSE(m_client.download(QStringLiteral("a.jpg"), m_local.file("a.jpg"), -1));
    EXPECT_EQ(m_client.lastError().code, FtpError::Cancelled);
    EXPECT_EQ(calls, 5);
    EXPECT_FALSE(QFile::exists(m_local.file("a.jpg")));

    m_server->setFaults({});
    m_client.setPump([&] { return ++calls > 0; });
    EXPECT_TRUE(m_client.download(QStringLiteral("a.jpg"), m_local.file("a.jpg"), -1))
        << m_client.lastError().message.toStdString();
}

TEST_F(FtpClientFaultsTest, ARefusedActiveModeFailsOpenSoThatPassiveCanBeTried)
{
    START_OR_SKIP(withFaults(FtpFaults().refuseActiveMode()), false);
    EXPECT_FALSE(open());
    EXPECT_FALSE(m_client.isOpen());
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 500);
    m_options.passive = true;
    EXPECT_TRUE(open()) << m_client.lastError().message.toStdString();
}

TEST_F(FtpClientFaultsTest, AFullDiskIsTheServersReply)
{
    START_OR_SKIP(withFaults(FtpFaults().diskFull()));
    ASSERT_TRUE(open());
    EXPECT_FALSE(upload("x", QStringLiteral("/x.jpg")).isEmpty());
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 452);
}

TEST_F(FtpClientFaultsTest, AServerThatRefusesMlsdIsListedWithList)
{
    START_OR_SKIP(withFaults(FtpFaults().add(FtpFault::replyWith(
        QStringLiteral("MLSD"), QStringLiteral("500 Command not understood.")))));
    ASSERT_TRUE(open());
    m_server->put(QStringLiteral("f/a b.jpg"), "ab");
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(m_client.list(QStringLiteral("f"), entries))
        << m_client.lastError().message.toStdString();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, QStringLiteral("a b.jpg"));
    EXPECT_EQ(entries[0].size, 2);
    ASSERT_TRUE(m_client.list(QStringLiteral("f"), entries));
    EXPECT_EQ(m_server->commandCount(QStringLiteral("MLSD")), 1);
}

TEST_F(FtpClientFaultsTest, AnonymousLogins)
{
    PyFtpServer::Options anonymous;
    anonymous.withUser = false;
    START_OR_SKIP(anonymous);
    EXPECT_TRUE(m_options.user.isEmpty());
    ASSERT_TRUE(open()) << m_client.lastError().message.toStdString();
    EXPECT_EQ(upload("anon", QStringLiteral("/anon.jpg")), QString());
    EXPECT_EQ(contentOf(m_server->root() + QStringLiteral("/anon.jpg")), QByteArray("anon"));
}

TEST_F(FtpClientFaultsTest, OperationsBeforeOpenFailPlainly)
{
    FtpClient client;
    EXPECT_FALSE(client.isOpen());
    EXPECT_FALSE(client.createFolder(QStringLiteral("/x")));
    EXPECT_NE(client.lastError().code, FtpError::None);
    EXPECT_FALSE(client.lastError().message.isEmpty());
    FtpOptions nowhere;
    EXPECT_FALSE(client.open(nowhere));
    EXPECT_EQ(client.lastError().code, FtpError::InvalidUrl);
}

TEST_F(FtpClientFaultsTest, APumpThatStartsAnotherOperationIsRefusedNotTangled)
{
    START_OR_SKIP();
    ASSERT_TRUE(open());
    m_server->setFaults(FtpFaults().add(FtpFault::stall(QStringLiteral("MKD"))));
    bool nestedRefused = false;
    int calls = 0;
    m_client.setPump([&] {
        // As a window's event loop would, were the user to click elsewhere meanwhile.
        if (++calls == 2)
            nestedRefused = !m_client.removeFile(QStringLiteral("/x")) &&
                            m_client.lastError().code == FtpError::Unknown;
        return calls < 4;
    });
    EXPECT_FALSE(m_client.createFolder(QStringLiteral("d")));
    EXPECT_TRUE(nestedRefused);
    EXPECT_EQ(m_client.lastError().code, FtpError::Cancelled);
    EXPECT_EQ(m_server->commandCount(QStringLiteral("DELE")), 0);
}

TEST_F(FtpClientFaultsTest, APumpThatThrowsStopsTheTransferLikeACancel)
{
    START_OR_SKIP();
    ASSERT_TRUE(open());
    m_server->setFaults(FtpFaults().add(FtpFault::stall(QStringLiteral("MKD"))));
    m_client.setPump([]() -> bool { throw std::runtime_error("window gone"); });
    EXPECT_FALSE(m_client.createFolder(QStringLiteral("d")));
    EXPECT_EQ(m_client.lastError().code, FtpError::Cancelled);
    m_server->setFaults({});
    m_client.setPump({});
    EXPECT_TRUE(m_client.createFolder(QStringLiteral("d")));
}
