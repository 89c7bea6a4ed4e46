// SPDX-License-Identifier: GPL-2.0-or-later
// The test servers themselves: each starts, greets and logs in as the publishing tests expect,
// and the fault-injecting one misbehaves exactly as told, also when told while it runs. The
// conversation is typed by hand over a socket so that no FTP client is needed to trust them.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QThread>

#include "tests/support/ftpservers.h"

namespace
{

#define SKIP_UNLESS_RUNNING(server)                                                                \
    if (!(server).skipReason().isEmpty())                                                          \
    GTEST_SKIP() << (server).skipReason().toStdString()

// One control connection, replies read whole (multi-line ones up to their "NNN " line).
class Control
{
public:
    explicit Control(QTcpSocket* socket = nullptr) : m_socket(socket ? socket : &m_own) {}

    bool open(uint16_t port)
    {
        m_socket->connectToHost(QStringLiteral("127.0.0.1"), port);
        return m_socket->waitForConnected(5000);
    }
    // "" when nothing complete came within the time.
    QString reply(int milliseconds = 5000)
    {
        const QDeadlineTimer deadline(milliseconds);
        QString text;
        while (!deadline.hasExpired()) {
            while (m_socket->canReadLine()) {
                const QString line = QString::fromUtf8(m_socket->readLine()).trimmed();
                text += line + QLatin1Char('\n');
                if (line.size() < 4 || line[3] != QLatin1Char('-'))
                    return text.trimmed();
            }
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                break;
            m_socket->waitForReadyRead(50);
        }
        return {};
    }
    QString send(const QString& command, int milliseconds = 5000)
    {
        m_socket->write(command.toUtf8() + "\r\n");
        m_socket->flush();
        return reply(milliseconds);
    }
    QString login(const QString& user, const QString& password)
    {
        send(QStringLiteral("USER ") + user);
        return send(QStringLiteral("PASS ") + password);
    }
    // Connects, takes the greeting and logs the server's user in; true when that worked.
    bool logIn(const TestFtpServer& server)
    {
        return open(server.port()) && !reply().isEmpty() &&
               login(server.user(), server.password()).startsWith(QLatin1String("230"));
    }
    // Sends bytes over a passive data connection; the final reply of the upload.
    QString store(const QString& name, const QByteArray& bytes, int replyMilliseconds = 5000)
    {
        const uint16_t dataPort = passivePort(send(QStringLiteral("PASV")));
        QTcpSocket data;
        data.connectToHost(QStringLiteral("127.0.0.1"), dataPort);
        if (dataPort == 0 || !data.waitForConnected(5000))
            return QStringLiteral("no data connection");
        const QString first = send(QStringLiteral("STOR ") + name);
        if (!first.startsWith(QLatin1Char('1')))
            return first;
        for (qint64 sent = 0;
             sent < bytes.size() && data.state() == QAbstractSocket::ConnectedState;
             sent += 16384) {
            data.write(bytes.mid(sent, 16384));
            data.waitForBytesWritten(5000);
        }
        data.disconnectFromHost();
        if (data.state() != QAbstractSocket::UnconnectedState)
            data.waitForDisconnected(5000);
        return reply(replyMilliseconds);
    }
    bool connected() const { return m_socket->state() == QAbstractSocket::ConnectedState; }
    bool waitClosed()
    {
        const QDeadlineTimer deadline(5000);
        while (connected() && !deadline.hasExpired())
            m_socket->waitForReadyRead(50);
        return !connected();
    }

private:
    static uint16_t passivePort(const QString& reply)
    {
        static const QRegularExpression numbers(
            QStringLiteral("\\((\\d+),(\\d+),(\\d+),(\\d+),(\\d+),(\\d+)\\)"));
        const auto match = numbers.match(reply);
        return match.hasMatch() ? match.captured(5).toUInt() * 256 + match.captured(6).toUInt() : 0;
    }

    QTcpSocket m_own;
    QTcpSocket* m_socket;
};

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// --- pyftpdlib ---------------------------------------------------------------------------------

TEST(PyFtpServer, LogsTheUserInAndRefusesAWrongPassword)
{
    PyFtpServer server;
    SKIP_UNLESS_RUNNING(server);
    Control wrong;
    ASSERT_TRUE(wrong.open(server.port()));
    EXPECT_TRUE(wrong.reply().startsWith(QLatin1String("220")));
    EXPECT_TRUE(
        wrong.login(server.user(), QStringLiteral("not-it")).startsWith(QLatin1String("530")));

    Control right;
    ASSERT_TRUE(right.open(server.port()));
    right.reply();
    EXPECT_TRUE(right.login(server.user(), server.password()).startsWith(QLatin1String("230")));
    EXPECT_EQ(server.url(), QStringLiteral("ftp://127.0.0.1:%1/").arg(server.port()));
}

TEST(PyFtpServer, AnonymousOnlyRefusesNamedUsers)
{
    PyFtpServer::Options options;
    options.withUser = false;
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control named;
    ASSERT_TRUE(named.open(server.port()));
    named.reply();
    EXPECT_FALSE(named.login(QStringLiteral("gvtest"), QStringLiteral("x"))
                     .startsWith(QLatin1String("230")));
    Control anonymous;
    ASSERT_TRUE(anonymous.open(server.port()));
    anonymous.reply();
    EXPECT_TRUE(anonymous.login(server.user(), QStringLiteral("me@example.org"))
                    .startsWith(QLatin1String("230")));
}

TEST(PyFtpServer, UploadsLandInTheRootAndAreCounted)
{
    PyFtpServer::Options options;
    options.passivePortCount = 20;
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    const QByteArray bytes = pattern(300000);
    EXPECT_TRUE(control.store(QStringLiteral("a.bin"), bytes).startsWith(QLatin1String("226")));
    EXPECT_TRUE(control.store(QStringLiteral("b.bin"), "b").startsWith(QLatin1String("226")));
    EXPECT_EQ(readFile(server.root() + QStringLiteral("/a.bin")), bytes);
    EXPECT_EQ(server.commandCount(QStringLiteral("STOR")), 2);
    EXPECT_EQ(server.commandCount(QStringLiteral("stor")), 2);
    EXPECT_EQ(server.commandCount(QStringLiteral("RETR")), 0);
}

TEST(PyFtpServer, FaultsChangeWhileItRuns)
{
    PyFtpServer server;
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    EXPECT_TRUE(control.send(QStringLiteral("NOOP")).startsWith(QLatin1String("200")));

    server.setFaults(FtpFaults().add(
        FtpFault::replyWith(QStringLiteral("NOOP"), QStringLiteral("421 Going away."))));
    EXPECT_EQ(control.send(QStringLiteral("NOOP")), QStringLiteral("421 Going away."));
    EXPECT_TRUE(control.waitClosed()) << "a 421 closes the session";

    server.setFaults({});
    Control again;
    ASSERT_TRUE(again.logIn(server));
    EXPECT_TRUE(again.send(QStringLiteral("NOOP")).startsWith(QLatin1String("200")));
}

TEST(PyFtpServer, OnlyTheNthOccurrenceMisbehaves)
{
    PyFtpServer::Options options;
    options.faults.add(
        FtpFault::replyWith(QStringLiteral("NOOP"), QStringLiteral("500 Third."), 3));
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.open(server.port()));
    control.reply();
    QStringList replies;
    for (int i = 0; i < 4; ++i)
        replies << control.send(QStringLiteral("NOOP")).left(3);
    EXPECT_EQ(replies, QStringList({"200", "200", "500", "200"}));
}

TEST(PyFtpServer, StalledCommandIsNeverAnswered)
{
    PyFtpServer::Options options;
    options.faults.add(FtpFault::stall(QStringLiteral("CWD")));
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    EXPECT_EQ(control.send(QStringLiteral("CWD /"), 700), QString());
    EXPECT_TRUE(control.connected());
}

TEST(PyFtpServer, StalledUploadStopsReadingAndNeverFinishes)
{
    PyFtpServer::Options options;
    options.faults.add(FtpFault::stall(QStringLiteral("STOR"), 2, 65536));
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    const QByteArray bytes = pattern(300000);
    EXPECT_TRUE(control.store(QStringLiteral("first.bin"), bytes).startsWith(QLatin1String("226")));
    EXPECT_EQ(control.store(QStringLiteral("second.bin"), bytes, 700), QString());
    EXPECT_TRUE(control.connected());
    const qint64 taken = QFileInfo(server.root() + QStringLiteral("/second.bin")).size();
    EXPECT_GE(taken, 65536);
    EXPECT_LT(taken, bytes.size());
}

TEST(PyFtpServer, GreetingsCanBeGarbageOrMissing)
{
    PyFtpServer::Options options;
    options.faults.greeting = FtpFaults::Greeting::Garbage;
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control garbage;
    ASSERT_TRUE(garbage.open(server.port()));
    const QString text = garbage.reply();
    EXPECT_FALSE(QRegularExpression(QStringLiteral("^\\d{3}[ -]")).match(text).hasMatch())
        << text.toStdString();

    FtpFaults silent;
    silent.greeting = FtpFaults::Greeting::None;
    server.setFaults(silent);
    Control none;
    ASSERT_TRUE(none.open(server.port()));
    EXPECT_EQ(none.reply(700), QString());
    EXPECT_TRUE(none.connected());
}

TEST(PyFtpServer, EchoRepeatsTheLastArgumentSoHiddenPasswordsCanBeChecked)
{
    PyFtpServer::Options options;
    options.faults.echoLastArgument = true;
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.open(server.port()));
    control.reply();
    EXPECT_TRUE(control.login(server.user(), server.password()).contains(server.password()));
}

TEST(PyFtpServer, ActiveModeAndUploadsCanBeRefused)
{
    PyFtpServer::Options options;
    options.faults.refuseActiveMode().diskFull();
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    EXPECT_TRUE(
        control.send(QStringLiteral("PORT 127,0,0,1,200,10")).startsWith(QLatin1String("500")));
    EXPECT_TRUE(
        control.send(QStringLiteral("EPRT |1|127.0.0.1|51210|")).startsWith(QLatin1String("500")));
    EXPECT_TRUE(control.store(QStringLiteral("full.bin"), "x").startsWith(QLatin1String("452")));
    EXPECT_FALSE(QFileInfo::exists(server.root() + QStringLiteral("/full.bin")));
}

TEST(PyFtpServer, ResetInTheMiddleOfTheNthUploadLeavesAPartialFile)
{
    PyFtpServer::Options options;
    options.faults.add(FtpFault::resetDuringStor(2, 65536));
    PyFtpServer server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    const QByteArray bytes = pattern(1000000);
    EXPECT_TRUE(control.store(QStringLiteral("first.bin"), bytes).startsWith(QLatin1String("226")));
    EXPECT_FALSE(
        control.store(QStringLiteral("second.bin"), bytes).startsWith(QLatin1String("226")));
    EXPECT_TRUE(control.waitClosed());
    const QByteArray partial = readFile(server.root() + QStringLiteral("/second.bin"));
    EXPECT_GE(partial.size(), 65536);
    EXPECT_LT(partial.size(), bytes.size());
    EXPECT_TRUE(bytes.startsWith(partial));
    EXPECT_EQ(server.commandCount(QStringLiteral("STOR")), 2);
}

TEST(PyFtpServer, StopsAndRemovesItsFolder)
{
    QString root;
    uint16_t port = 0;
    {
        PyFtpServer server;
        SKIP_UNLESS_RUNNING(server);
        root = server.root();
        port = server.port();
        Control control;
        ASSERT_TRUE(control.open(port));
        EXPECT_TRUE(QFileInfo::exists(server.put(QStringLiteral("a/b.txt"), "b")));
    }
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    EXPECT_FALSE(socket.waitForConnected(2000));
    EXPECT_FALSE(QFileInfo::exists(root));
}

// Run by the next test in a program of its own: starts a server, tells its port and ends
// without stopping it, as a test program that crashes would.
TEST(PyFtpServer, HelperEndsWithoutStoppingItsServer)
{
    if (qEnvironmentVariableIsEmpty("GVTEST_ORPHAN_SERVER"))
        GTEST_SKIP() << "only run by ServersEndWithTheTestProgram";
    PyFtpServer server;
    std::printf("port %d in %s\n", server.port(),
                qPrintable(QFileInfo(server.root()).absolutePath()));
    std::fflush(stdout);
    _exit(0);
}

TEST(PyFtpServer, ServersEndWithTheTestProgram)
{
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GVTEST_ORPHAN_SERVER"), QStringLiteral("1"));
    helper.setProcessEnvironment(environment);
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=PyFtpServer.HelperEndsWithoutStoppingItsServer")});
    ASSERT_TRUE(helper.waitForFinished(30000));
    const auto match = QRegularExpression(QStringLiteral("port (\\d+) in (\\S+)"))
                           .match(QString::fromUtf8(helper.readAllStandardOutput()));
    ASSERT_TRUE(match.hasMatch());
    const uint16_t port = static_cast<uint16_t>(match.captured(1).toUInt());
    ASSERT_NE(port, 0);
    bool listening = true;
    const QDeadlineTimer deadline(10000);
    while (listening && !deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        listening = socket.waitForConnected(1000);
        if (listening)
            QThread::msleep(100);
    }
    EXPECT_FALSE(listening) << "the server of a test program that ended still serves";
    // Nobody else removes the folder of a server whose test program did not stop it.
    QDir(match.captured(2)).removeRecursively();
}

// --- vsftpd ------------------------------------------------------------------------------------

TEST(Vsftpd, LogsTheTestAccountIntoItsRoot)
{
    Vsftpd server;
    SKIP_UNLESS_RUNNING(server);
    server.put(QStringLiteral("old/kept.txt"), "old");
    Control control;
    ASSERT_TRUE(control.open(server.port()));
    EXPECT_TRUE(control.reply().startsWith(QLatin1String("220")));
    EXPECT_TRUE(control.login(server.user(), server.password()).startsWith(QLatin1String("230")));
    EXPECT_TRUE(control.send(QStringLiteral("PWD")).contains(QLatin1String("\"/\"")));
    EXPECT_TRUE(control.send(QStringLiteral("TYPE I")).startsWith(QLatin1String("200")));
    EXPECT_TRUE(
        control.store(QStringLiteral("old/kept.txt"), "new").startsWith(QLatin1String("226")))
        << "files put by the test belong to the account that logs in";
    EXPECT_EQ(readFile(server.root() + QStringLiteral("/old/kept.txt")), QByteArray("new"));
    EXPECT_TRUE(control.send(QStringLiteral("MLSD")).startsWith(QLatin1String("5")));
}

TEST(Vsftpd, WithoutChrootTheLoginStartsInTheRootNamedAbsolutely)
{
    Vsftpd::Options options;
    options.chroot = false;
    Vsftpd server(options);
    SKIP_UNLESS_RUNNING(server);
    EXPECT_EQ(server.folder(), server.root() + "/");
    Control control;
    ASSERT_TRUE(control.logIn(server));
    EXPECT_TRUE(control.send(QStringLiteral("PWD")).contains("\"" + server.root() + "\""));
}

TEST(Vsftpd, AnonymousWritesIntoPub)
{
    Vsftpd::Options options;
    options.anonymous = true;
    Vsftpd server(options);
    SKIP_UNLESS_RUNNING(server);
    EXPECT_EQ(server.url(), QStringLiteral("ftp://127.0.0.1:%1/pub/").arg(server.port()));
    Control control;
    ASSERT_TRUE(control.open(server.port()));
    control.reply();
    EXPECT_TRUE(control.login(server.user(), server.password()).startsWith(QLatin1String("230")));
    EXPECT_TRUE(control.send(QStringLiteral("CWD /pub")).startsWith(QLatin1String("250")));
    EXPECT_TRUE(control.store(QStringLiteral("up.txt"), "up").startsWith(QLatin1String("226")));
    EXPECT_EQ(readFile(server.root() + QStringLiteral("/up.txt")), QByteArray("up"));
}

TEST(Vsftpd, ActiveModeCanBeTurnedOff)
{
    Vsftpd::Options options;
    options.activeMode = false;
    Vsftpd server(options);
    SKIP_UNLESS_RUNNING(server);
    Control control;
    ASSERT_TRUE(control.logIn(server));
    EXPECT_TRUE(
        control.send(QStringLiteral("PORT 127,0,0,1,200,10")).startsWith(QLatin1String("5")));
    EXPECT_TRUE(control.send(QStringLiteral("PASV")).startsWith(QLatin1String("227")));
}

// --- pure-ftpd ---------------------------------------------------------------------------------

TEST(PureFtpd, LogsInOverExplicitTlsOnly)
{
    PureFtpd server(PureFtpd::Tls::Required);
    SKIP_UNLESS_RUNNING(server);
    EXPECT_EQ(server.url(), QStringLiteral("ftps://127.0.0.1:%1/").arg(server.port()));
    EXPECT_EQ(server.publicKeySha256().size(), 32);

    Control plain;
    ASSERT_TRUE(plain.open(server.port()));
    plain.reply();
    EXPECT_FALSE(plain.login(server.user(), server.password()).startsWith(QLatin1String("230")));

    QSslSocket socket;
    Control secure(&socket);
    ASSERT_TRUE(secure.open(server.port()));
    secure.reply();
    ASSERT_TRUE(secure.send(QStringLiteral("AUTH TLS")).startsWith(QLatin1String("234")));
    QSslConfiguration trust = socket.sslConfiguration();
    trust.setCaCertificates(QSslCertificate::fromPath(server.certificatePath()));
    socket.setSslConfiguration(trust);
    socket.startClientEncryption();
    ASSERT_TRUE(socket.waitForEncrypted(10000)) << socket.errorString().toStdString();
    EXPECT_TRUE(secure.login(server.user(), server.password()).startsWith(QLatin1String("230")));
}

// --- OpenSSH -----------------------------------------------------------------------------------

TEST(SftpServer, AnswersWithTheSshBanner)
{
    SftpServer server;
    SKIP_UNLESS_RUNNING(server);
    EXPECT_EQ(server.url(),
              QStringLiteral("sftp://127.0.0.1:%1%2/").arg(server.port()).arg(server.root()));
    EXPECT_EQ(server.hostKeySha256().size(), 32);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(socket.waitForConnected(5000));
    const QDeadlineTimer deadline(5000);
    while (!socket.canReadLine() && !deadline.hasExpired())
        socket.waitForReadyRead(100);
    EXPECT_TRUE(socket.readLine().startsWith("SSH-2.0-"));
}
