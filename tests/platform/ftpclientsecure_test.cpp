// SPDX-License-Identifier: GPL-2.0-or-later
// FTPS against pure-ftpd with a self-signed certificate, and SFTP against OpenSSH's sftp
// server: who the server is gets checked before a password goes out, a key the user chose to
// trust is pinned, host keys are remembered on first use and a changed one is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "platform/ftpclient.h"
#include "tests/platform/ftpclienttest.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

namespace
{

// A key of the type the test server uses, made anew: not the server's.
QByteArray otherHostKey(const TestFolder& folder)
{
    const QString path = folder.file(QStringLiteral("other"));
    QProcess keygen;
    keygen.start(QStringLiteral("ssh-keygen"),
                 {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ecdsa"),
                  QStringLiteral("-b"), QStringLiteral("256"), QStringLiteral("-N"), QString(),
                  QStringLiteral("-f"), path});
    keygen.waitForFinished(20000);
    const QList<QByteArray> parts = contentOf(path + QStringLiteral(".pub")).split(' ');
    return parts.size() >= 2 ? parts[0] + ' ' + parts[1] : QByteArray();
}

} // namespace

TEST(FtpClientFtpsTest, ASelfSignedCertificateIsRefusedWithItsKeyThenTrustedByIt)
{
    PureFtpd server;
    if (!server.skipReason().isEmpty())
        GTEST_SKIP() << server.skipReason().toStdString();
    FtpOptions options = loginTo(server, FtpOptions::Protocol::Ftps);
    options.passive = false; // FTPS goes passive whatever is asked
    FtpClient client;
    ASSERT_FALSE(client.open(options));
    EXPECT_EQ(client.lastError().code, FtpError::UntrustedCertificate)
        << client.lastError().message.toStdString();
    EXPECT_EQ(client.lastError().presentedKeySha256, server.publicKeySha256().toBase64());
    EXPECT_TRUE(client.lastError().message.contains(
        QString::fromLatin1(server.publicKeySha256().toBase64())));

    options.trustedKeySha256 = client.lastError().presentedKeySha256;
    ASSERT_TRUE(client.open(options)) << client.lastError().message.toStdString();
    TestFolder local;
    const QByteArray bytes(200 * 1024, 's');
    ASSERT_TRUE(client.createFolder(QStringLiteral("secure folder")));
    ASSERT_TRUE(client.upload(local.write(QStringLiteral("a.jpg"), bytes),
                              QStringLiteral("/secure folder/a.jpg")))
        << client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(server.root() + QStringLiteral("/secure folder/a.jpg")), bytes);
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(client.list(QStringLiteral("secure folder"), entries))
        << client.lastError().message.toStdString();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, bytes.size());
    ASSERT_TRUE(client.download(QStringLiteral("/secure folder/a.jpg"),
                                local.file(QStringLiteral("b.jpg")), -1));
    EXPECT_EQ(contentOf(local.file(QStringLiteral("b.jpg"))), bytes);
}

TEST(FtpClientFtpsTest, AKeyOtherThanTheTrustedOneIsRefused)
{
    PureFtpd server;
    if (!server.skipReason().isEmpty())
        GTEST_SKIP() << server.skipReason().toStdString();
    FtpOptions options = loginTo(server, FtpOptions::Protocol::Ftps);
    options.trustedKeySha256 = QByteArray(32, 'k').toBase64();
    FtpClient client;
    EXPECT_FALSE(client.open(options));
    EXPECT_EQ(client.lastError().code, FtpError::UntrustedCertificate);
    EXPECT_EQ(client.lastError().presentedKeySha256, server.publicKeySha256().toBase64());
}

TEST(FtpClientFtpsTest, AServerWithoutTlsIsASecurityFailure)
{
    PyFtpServer server;
    if (!server.skipReason().isEmpty())
        GTEST_SKIP() << server.skipReason().toStdString();
    FtpClient client;
    EXPECT_FALSE(client.open(loginTo(server, FtpOptions::Protocol::Ftps)));
    EXPECT_EQ(client.lastError().code, FtpError::SecurityFailure)
        << client.lastError().message.toStdString();
    EXPECT_EQ(server.commandCount(QStringLiteral("PASS")), 0);
}

class FtpClientSftpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_server.skipReason().isEmpty())
            GTEST_SKIP() << m_server.skipReason().toStdString();
        m_options = loginTo(m_server, FtpOptions::Protocol::Sftp);
        m_options.knownHostsFile = m_local.file(QStringLiteral("keys/not yet/known_hosts"));
    }

    SftpServer m_server;
    FtpOptions m_options;
    FtpClient m_client;
    TestFolder m_local;
};

TEST_F(FtpClientSftpTest, OperationsInTheHomeFolder)
{
    ASSERT_TRUE(m_client.open(m_options)) << m_client.lastError().message.toStdString();
    const QString home = QDir::cleanPath(m_server.root());
    EXPECT_EQ(m_client.currentFolder(), home);

    const QByteArray bytes(150 * 1024, 'f');
    ASSERT_TRUE(m_client.createFolder(QStringLiteral("my album")))
        << m_client.lastError().message.toStdString();
    ASSERT_TRUE(m_client.setCurrentFolder(QStringLiteral("my album")));
    EXPECT_EQ(m_client.currentFolder(), home + QStringLiteral("/my album"));
    ASSERT_TRUE(m_client.upload(m_local.write(QStringLiteral("new.jpg"), bytes),
                                QStringLiteral("photo \"1\".jpg.part")))
        << m_client.lastError().message.toStdString();
    m_server.put(QStringLiteral("my album/photo \"1\".jpg"), "old");
    // Renamed over the old file, which SFTP servers refuse to do in one step.
    ASSERT_TRUE(
        m_client.rename(QStringLiteral("photo \"1\".jpg.part"), QStringLiteral("photo \"1\".jpg")))
        << m_client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(home + QStringLiteral("/my album/photo \"1\".jpg")), bytes);

    std::vector<FtpEntry> entries;
    ASSERT_TRUE(m_client.list(QStringLiteral("."), entries))
        << m_client.lastError().message.toStdString();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, QStringLiteral("photo \"1\".jpg"));
    EXPECT_EQ(entries[0].size, bytes.size());

    ASSERT_TRUE(m_client.download(QStringLiteral("photo \"1\".jpg"),
                                  m_local.file(QStringLiteral("back.jpg")), -1));
    EXPECT_EQ(contentOf(m_local.file(QStringLiteral("back.jpg"))), bytes);
    EXPECT_FALSE(m_client.download(QStringLiteral("photo \"1\".jpg"),
                                   m_local.file(QStringLiteral("small.jpg")), 1000));
    EXPECT_EQ(m_client.lastError().code, FtpError::TooLarge);

    EXPECT_FALSE(m_client.removeFolder(QStringLiteral("../my album"))); // not empty
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 550);
    EXPECT_FALSE(m_client.lastError().replyText.isEmpty());
    ASSERT_TRUE(m_client.removeFile(QStringLiteral("photo \"1\".jpg")));
    ASSERT_TRUE(m_client.removeFolder(home + QStringLiteral("/my album")))
        << m_client.lastError().message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/my album")));

    EXPECT_FALSE(m_client.setCurrentFolder(QStringLiteral("/no/such/folder")));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 550);
    EXPECT_EQ(m_client.currentFolder(), home + QStringLiteral("/my album"));
}

TEST_F(FtpClientSftpTest, AHostKeyIsRememberedOnFirstUseAndAChangedOneRefused)
{
    ASSERT_TRUE(m_client.open(m_options)) << m_client.lastError().message.toStdString();
    const QByteArray remembered = contentOf(m_options.knownHostsFile);
    const QByteArray host = "[127.0.0.1]:" + QByteArray::number(m_server.port());
    ASSERT_TRUE(remembered.startsWith(host + ' ')) << remembered.constData() << "|";
    m_client.close();

    // Known now: opened again without a change to the file.
    ASSERT_TRUE(m_client.open(m_options)) << m_client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(m_options.knownHostsFile), remembered);
    m_client.close();

    const QByteArray other = otherHostKey(m_local);
    ASSERT_FALSE(other.isEmpty());
    QFile file(m_options.knownHostsFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(host + ' ' + other + '\n');
    file.close();
    EXPECT_FALSE(m_client.open(m_options));
    EXPECT_EQ(m_client.lastError().code, FtpError::HostKeyMismatch);
    EXPECT_TRUE(m_client.lastError().message.contains(m_options.knownHostsFile));
    EXPECT_EQ(contentOf(m_options.knownHostsFile), host + ' ' + other + '\n');
}

TEST_F(FtpClientSftpTest, AWrongPasswordIsALoginFailure)
{
    m_options.password = QStringLiteral("not-the-password");
    EXPECT_FALSE(m_client.open(m_options));
    EXPECT_EQ(m_client.lastError().code, FtpError::LoginFailed)
        << m_client.lastError().message.toStdString();
}
