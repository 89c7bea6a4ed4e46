// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/ftpservers.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>

namespace
{

const char* const Host = "127.0.0.1";
const int StartMilliseconds = 15000;
const int StopMilliseconds = 3000;

// Runs a tool to its end; "" when it succeeded, else what went wrong with its output.
QString runTool(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return program + QStringLiteral(": ") + process.errorString();
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return program + QStringLiteral(" did not finish");
    }
    const QByteArray out = process.readAllStandardOutput();
    if (output)
        *output = out;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(process.readAllStandardError() + out).trimmed();
    return {};
}

sockaddr_in loopback(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, Host, &address.sin_addr);
    return address;
}

// A port nobody listens on right now, as the system hands them out.
uint16_t freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    uint16_t port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

bool acceptsConnections(uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_in address = loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

// A random range of passive ports below the range the system hands out on its own, so that
// servers of tests running at the same time rarely meet (and try another port when they do).
std::pair<int, int> passiveRange(int count)
{
    static std::mt19937 random{std::random_device{}()};
    const int low = std::uniform_int_distribution<int>(20000, 30000 - count)(random);
    return {low, low + count - 1};
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The superuser's tests serialise their changes of the account files through this lock.
class AccountLock
{
public:
    AccountLock() : m_fd(open("/tmp/gvftptest-account.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd >= 0)
            flock(m_fd, LOCK_EX);
    }
    ~AccountLock()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    AccountLock(const AccountLock&) = delete;
    AccountLock& operator=(const AccountLock&) = delete;

private:
    int m_fd;
};

QString rootNeeded(const QString& what)
{
    return QStringLiteral("%1 needs the superuser (to log the local test account in)").arg(what);
}

} // namespace

// ---------------------------------------------------------------------------------------------

ServerProcess::~ServerProcess()
{
    stop();
}

bool ServerProcess::start(const QString& program, const QStringList& arguments,
                          const QString& logPath, QString& why)
{
    m_logPath = logPath;
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(logPath, QIODevice::Append);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // A session of its own: its process group is then ours to end as a whole. It also ends
    // when the test program ends without stopping it (a crash, a time-out's kill), instead of
    // serving on for ever.
    const pid_t parent = getpid();
    m_process.setChildProcessModifier([parent] {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
    });
    m_process.start(program, arguments);
    if (m_process.waitForStarted())
        return true;
    why = program + QStringLiteral(": ") + m_process.errorString();
    return false;
}

bool ServerProcess::waitForPort(uint16_t port, int milliseconds, QString& why)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (!isRunning()) {
            QFile log(m_logPath);
            log.open(QIODevice::ReadOnly);
            why = QStringLiteral("the server ended: ") +
                  QString::fromLocal8Bit(log.readAll().right(2000));
            return false;
        }
        if (acceptsConnections(port))
            return true;
        QThread::msleep(20);
    }
    why = QStringLiteral("nothing listens on port %1").arg(port);
    return false;
}

bool ServerProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

void ServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The whole group, sessions the server forked included; signalled only while the leader
    // is not yet reaped, so that its id cannot have been given to anything else.
    const pid_t group = static_cast<pid_t>(m_process.processId());
    kill(-group, SIGTERM);
    if (!m_process.waitForFinished(StopMilliseconds)) {
        kill(-group, SIGKILL);
        m_process.waitForFinished(StopMilliseconds);
    }
}

// ---------------------------------------------------------------------------------------------

namespace FtpTestUser
{

const char* const Name = "gvftptest";
const char* const Password = "gv-Ftp-Test-2718";

QString ensure()
{
    if (geteuid() != 0)
        return QStringLiteral("creating the local test account needs the superuser");
    AccountLock lock;
    if (!getpwnam(Name)) {
        // A login shell from /etc/shells: vsftpd's PAM rules refuse the others.
        const QString why = runTool(QStringLiteral("useradd"),
                                    {QStringLiteral("--create-home"), QStringLiteral("--shell"),
                                     QStringLiteral("/bin/sh"), QStringLiteral("--comment"),
                                     QStringLiteral("Gallivex FTP tests"), QLatin1String(Name)});
        if (!why.isEmpty() && !getpwnam(Name))
            return why;
    }
    const passwd* account = getpwnam(Name);
    if (!account)
        return QStringLiteral("the account %1 is not there").arg(QLatin1String(Name));
    // The servers change into the home folder at login even when another root is set.
    const QString home = QFile::decodeName(account->pw_dir);
    if (!QFileInfo::exists(home) && (!QDir().mkpath(home) || !giveTo(home)))
        return QStringLiteral("cannot make the home folder ") + home;
    return runTool(QStringLiteral("chpasswd"), {},
                   QByteArray(Name) + ':' + QByteArray(Password) + '\n');
}

bool giveTo(const QString& path)
{
    const passwd* account = getpwnam(Name);
    if (!account)
        return false;
    auto change = [&](const QString& one) {
        return lchown(QFile::encodeName(one).constData(), account->pw_uid, account->pw_gid) == 0;
    };
    bool ok = change(path);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = change(it.next()) && ok;
    return ok;
}

} // namespace FtpTestUser

// ---------------------------------------------------------------------------------------------

FtpFault FtpFault::stall(const QString& command, int nth, qint64 afterBytes)
{
    return {command, nth, Action::Stall, {}, afterBytes};
}

FtpFault FtpFault::resetDuringStor(int nth, qint64 afterBytes)
{
    return {QStringLiteral("STOR"), nth, Action::Reset, {}, afterBytes};
}

FtpFault FtpFault::replyWith(const QString& command, const QString& reply, int nth)
{
    return {command, nth, Action::Reply, reply, 0};
}

FtpFaults& FtpFaults::add(const FtpFault& fault)
{
    rules.push_back(fault);
    return *this;
}

FtpFaults& FtpFaults::refuseActiveMode()
{
    const QString refused = QStringLiteral("500 Active mode is not allowed here.");
    add(FtpFault::replyWith(QStringLiteral("PORT"), refused));
    return add(FtpFault::replyWith(QStringLiteral("EPRT"), refused));
}

FtpFaults& FtpFaults::diskFull()
{
    return add(FtpFault::replyWith(QStringLiteral("STOR"),
                                   QStringLiteral("452 Insufficient storage space.")));
}

QByteArray FtpFaults::toJson() const
{
    static const char* const actions[] = {"stall", "reset", "reply"};
    static const char* const greetings[] = {"normal", "garbage", "none"};
    QJsonArray list;
    for (const FtpFault& fault : rules)
        list.append(QJsonObject{{"command", fault.command},
                                {"nth", fault.nth},
                                {"action", actions[static_cast<int>(fault.action)]},
                                {"reply", fault.reply},
                                {"after_bytes", fault.afterBytes}});
    const QJsonObject control{{"greeting", greetings[static_cast<int>(greeting)]},
                              {"echo", echoLastArgument},
                              {"rules", list}};
    return QJsonDocument(control).toJson(QJsonDocument::Compact);
}

// ---------------------------------------------------------------------------------------------

TestFtpServer::TestFtpServer(QString scheme, QString folder)
    : m_dir(QDir::tempPath() + QStringLiteral("/gvftp-XXXXXX")), m_scheme(std::move(scheme)),
      m_folder(std::move(folder)), m_root(m_dir.filePath(QStringLiteral("root")))
{
    // Servers that change to the test account must be able to pass through.
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    QDir().mkpath(root());
}

TestFtpServer::~TestFtpServer()
{
    m_process.stop();
}

QString TestFtpServer::url() const
{
    return QStringLiteral("%1://%2:%3%4")
        .arg(m_scheme, QLatin1String(Host))
        .arg(m_port)
        .arg(m_folder);
}

QString TestFtpServer::put(const QString& relative, const QByteArray& bytes) const
{
    const QString path = QDir(root()).filePath(relative);
    const QString top = QDir(root()).filePath(relative.section(QLatin1Char('/'), 0, 0));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeFile(path, bytes))
        return {};
    if (m_ownedByTestUser)
        FtpTestUser::giveTo(top);
    return path;
}

QByteArray TestFtpServer::log() const
{
    QFile file(workFile(QStringLiteral("server.log")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestFtpServer::useTestAccount(const QString& program, const QString& missing)
{
    QString why;
    if (!QFileInfo::exists(program))
        why = missing;
    else if (geteuid() != 0)
        why = rootNeeded(QFileInfo(program).fileName());
    else
        why = FtpTestUser::ensure();
    if (!why.isEmpty()) {
        skip(why);
        return false;
    }
    m_user = QLatin1String(FtpTestUser::Name);
    m_password = QLatin1String(FtpTestUser::Password);
    m_ownedByTestUser = true;
    FtpTestUser::giveTo(root());
    return true;
}

bool TestFtpServer::launch(const QString& program, const QStringList& arguments,
                           const std::function<bool(uint16_t)>& writeConfig)
{
    QString why = QStringLiteral("no free port");
    // Another program may take the port between our look and the server's bind: try anew.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_process.stop();
        m_port = freePort();
        if (m_port == 0 || !writeConfig(m_port))
            continue;
        QStringList withPort = arguments;
        withPort.replaceInStrings(QStringLiteral("%PORT%"), QString::number(m_port));
        if (m_process.start(program, withPort, workFile(QStringLiteral("server.log")), why) &&
            m_process.waitForPort(m_port, StartMilliseconds, why))
            return true;
    }
    m_process.stop();
    skip(QFileInfo(program).fileName() + QStringLiteral(" did not start: ") + why);
    return false;
}

// ---------------------------------------------------------------------------------------------

PyFtpServer::PyFtpServer(const Options& options)
    : TestFtpServer(QStringLiteral("ftp"), QStringLiteral("/"))
{
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString script = QStringLiteral(GVTEST_SUPPORT_DIR "/faultyftpd.py");
    if (!QFileInfo::exists(python)) {
        skip(QStringLiteral("no /usr/bin/python3"));
        return;
    }
    m_user = options.withUser ? options.user : QStringLiteral("anonymous");
    m_password = options.withUser ? options.password : QString();
    setFaults(options.faults);
    QStringList arguments{script,
                          QStringLiteral("--root"),
                          root(),
                          QStringLiteral("--control"),
                          workFile(QStringLiteral("control.json")),
                          QStringLiteral("--state"),
                          workFile(QStringLiteral("state.json"))};
    if (options.withUser)
        arguments << QStringLiteral("--user") << options.user << QStringLiteral("--password")
                  << options.password;
    if (options.anonymous || !options.withUser)
        arguments << QStringLiteral("--anonymous");
    if (options.passivePortCount > 0) {
        const auto [low, high] = passiveRange(options.passivePortCount);
        arguments << QStringLiteral("--passive-ports")
                  << QStringLiteral("%1-%2").arg(low).arg(high);
    }
    // The script binds a port of the system's choosing and names it in its first line.
    QString why;
    if (!m_process.start(python, arguments, workFile(QStringLiteral("server.log")), why)) {
        skip(why);
        return;
    }
    static const QRegularExpression listening(QStringLiteral("listening on port (\\d+)"));
    const QDeadlineTimer deadline(StartMilliseconds);
    while (m_port == 0 && m_process.isRunning() && !deadline.hasExpired()) {
        const auto match = listening.match(QString::fromUtf8(log()));
        if (match.hasMatch())
            m_port = static_cast<uint16_t>(match.captured(1).toUInt());
        else
            QThread::msleep(20);
    }
    if (m_port == 0 || !m_process.waitForPort(m_port, StartMilliseconds, why)) {
        m_process.stop();
        skip(QStringLiteral("pyftpdlib did not start: ") + why + QLatin1Char('\n') +
             QString::fromUtf8(log()));
    }
}

void PyFtpServer::setFaults(const FtpFaults& faults) const
{
    writeFile(workFile(QStringLiteral("control.json")), faults.toJson());
}

int PyFtpServer::commandCount(const QString& command) const
{
    QFile file(workFile(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QJsonObject counts =
        QJsonDocument::fromJson(file.readAll()).object()["counts"].toObject();
    return counts[command.toUpper()].toInt();
}

// ---------------------------------------------------------------------------------------------

Vsftpd::Vsftpd(const Options& options) : TestFtpServer(QStringLiteral("ftp"), QStringLiteral("/"))
{
    const QString program = QStringLiteral("/usr/sbin/vsftpd");
    if (!useTestAccount(program,
                        QStringLiteral("vsftpd is not installed (scripts/install-deps.sh)")))
        return;
    if (!options.chroot)
        setFolder(root() + QLatin1Char('/'));
    QDir().mkpath(workFile(QStringLiteral("empty")));
    if (options.anonymous && !prepareAnonymous())
        return;
    const QString conf = workFile(QStringLiteral("vsftpd.conf"));
    launch(program, {conf}, [&](uint16_t port) {
        return writeFile(conf, config(options, port).join(QLatin1Char('\n')).toUtf8() + '\n');
    });
}

// Anonymous logins start in a folder that belongs to the superuser (vsftpd insists) and
// write into its "pub", which belongs to the "ftp" account; root() is that "pub".
bool Vsftpd::prepareAnonymous()
{
    const passwd* ftp = getpwnam("ftp");
    if (!ftp) {
        skip(QStringLiteral("no \"ftp\" account for vsftpd's anonymous logins"));
        return false;
    }
    const QString anonRoot = workFile(QStringLiteral("anon"));
    const QString pub = anonRoot + QStringLiteral("/pub");
    QDir().mkpath(pub);
    setRoot(pub);
    if (chown(QFile::encodeName(pub).constData(), ftp->pw_uid, ftp->pw_gid) != 0) {
        skip(QStringLiteral("cannot hand the anonymous folder to \"ftp\""));
        return false;
    }
    m_user = QStringLiteral("anonymous");
    m_password = QStringLiteral("gallivex@example.org");
    m_ownedByTestUser = false;
    setFolder(QStringLiteral("/pub/"));
    return true;
}

QStringList Vsftpd::config(const Options& options, uint16_t port) const
{
    const auto yesNo = [](bool on) { return on ? QStringLiteral("YES") : QStringLiteral("NO"); };
    const auto [low, high] = passiveRange(64);
    QStringList lines{
        QStringLiteral("listen=YES"),
        QStringLiteral("background=NO"),
        QStringLiteral("listen_address=%1").arg(QLatin1String(Host)),
        QStringLiteral("listen_port=%1").arg(port),
        QStringLiteral("listen_ipv6=NO"),
        QStringLiteral("seccomp_sandbox=NO"),
        QStringLiteral("secure_chroot_dir=") + workFile(QStringLiteral("empty")),
        QStringLiteral("local_enable=YES"),
        QStringLiteral("write_enable=YES"),
        QStringLiteral("local_umask=022"),
        QStringLiteral("local_root=") + root(),
        QStringLiteral("chroot_local_user=") + yesNo(options.chroot),
        QStringLiteral("allow_writeable_chroot=YES"),
        QStringLiteral("anonymous_enable=") + yesNo(options.anonymous),
        QStringLiteral("port_enable=") + yesNo(options.activeMode),
        QStringLiteral("pasv_enable=") + yesNo(options.passiveMode),
        QStringLiteral("pasv_min_port=%1").arg(low),
        QStringLiteral("pasv_max_port=%1").arg(high),
        QStringLiteral("connect_from_port_20=NO"),
        QStringLiteral("delay_failed_login=0"),
        QStringLiteral("max_per_ip=0"),
        QStringLiteral("xferlog_enable=NO"),
        QStringLiteral("dirmessage_enable=NO"),
        QStringLiteral("ftpd_banner=Gallivex test server ready."),
    };
    if (options.anonymous)
        lines << QStringLiteral("anon_root=") + workFile(QStringLiteral("anon"))
              << QStringLiteral("anon_upload_enable=YES")
              << QStringLiteral("anon_mkdir_write_enable=YES")
              << QStringLiteral("anon_other_write_enable=YES") << QStringLiteral("anon_umask=022")
              << QStringLiteral("no_anon_password=YES");
    return lines;
}

// ---------------------------------------------------------------------------------------------

QString PureFtpd::toolsFolder()
{
    const QString tools = qEnvironmentVariable("GV_TEST_TOOLS");
    return (tools.isEmpty() ? QStringLiteral("/opt/gallivex-test-tools") : tools) +
           QStringLiteral("/pure-ftpd");
}

PureFtpd::PureFtpd(Tls tls) : TestFtpServer(QStringLiteral("ftps"), QStringLiteral("/"))
{
    const QString tools = toolsFolder();
    const QString program = tools + QStringLiteral("/usr/sbin/pure-ftpd");
    if (!useTestAccount(
            program,
            QStringLiteral("pure-ftpd is not unpacked in %1 (scripts/install-deps.sh)").arg(tools)))
        return;
    if (!makeCertificate() || !makeUserDatabase(tools))
        return;
    const auto [low, high] = passiveRange(64);
    const QStringList arguments{
        QStringLiteral("-S"), QStringLiteral("%1,%PORT%").arg(QLatin1String(Host)),
        QStringLiteral("-4"), QStringLiteral("-p"), QStringLiteral("%1:%2").arg(low).arg(high),
        QStringLiteral("-l"), QStringLiteral("puredb:") + workFile(QStringLiteral("users.pdb")),
        // Only the virtual user, everyone kept in their folder, no name look-ups.
        QStringLiteral("-E"), QStringLiteral("-A"), QStringLiteral("-H"), QStringLiteral("-I"),
        QStringLiteral("15"), QStringLiteral("-f"), QStringLiteral("none"), QStringLiteral("-g"),
        workFile(QStringLiteral("pure-ftpd.pid")), QStringLiteral("-Y"),
        QString::number(static_cast<int>(tls)), QStringLiteral("-2"),
        certificatePath() + QLatin1Char(',') + workFile(QStringLiteral("key.pem"))};
    launch(program, arguments, [](uint16_t) { return true; });
}

bool PureFtpd::makeCertificate()
{
    const QString openssl = QStringLiteral("openssl");
    QString why =
        runTool(openssl, {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                          QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                          QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-keyout"),
                          workFile(QStringLiteral("key.pem")), QStringLiteral("-out"),
                          certificatePath(), QStringLiteral("-subj"),
                          QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                          QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost")});
    QByteArray publicKey, der;
    if (why.isEmpty())
        why = runTool(openssl,
                      {QStringLiteral("x509"), QStringLiteral("-in"), certificatePath(),
                       QStringLiteral("-pubkey"), QStringLiteral("-noout")},
                      {}, &publicKey);
    if (why.isEmpty())
        why = runTool(openssl,
                      {QStringLiteral("pkey"), QStringLiteral("-pubin"), QStringLiteral("-outform"),
                       QStringLiteral("DER")},
                      publicKey, &der);
    if (!why.isEmpty() || der.isEmpty()) {
        skip(QStringLiteral("no certificate: ") + why);
        return false;
    }
    m_keySha256 = QCryptographicHash::hash(der, QCryptographicHash::Sha256);
    return true;
}

// One virtual user mapped to the test account, its password hashed with SHA-512 crypt: the
// default hash of pure-pw makes every login take seconds.
bool PureFtpd::makeUserDatabase(const QString& tools)
{
    QByteArray hash;
    QString why =
        runTool(QStringLiteral("openssl"),
                {QStringLiteral("passwd"), QStringLiteral("-6"), QStringLiteral("-stdin")},
                QByteArray(FtpTestUser::Password) + '\n', &hash);
    const passwd* account = getpwnam(FtpTestUser::Name);
    if (why.isEmpty() && account) {
        const QByteArray line = QByteArray(FtpTestUser::Name) + ':' + hash.trimmed() + ':' +
                                QByteArray::number(account->pw_uid) + ':' +
                                QByteArray::number(account->pw_gid) +
                                "::" + QFile::encodeName(root()) + "/./::::::::::::\n";
        const QString passwdFile = workFile(QStringLiteral("users.passwd"));
        if (!writeFile(passwdFile, line))
            why = QStringLiteral("cannot write ") + passwdFile;
        else
            why = runTool(tools + QStringLiteral("/usr/bin/pure-pw"),
                          {QStringLiteral("mkdb"), workFile(QStringLiteral("users.pdb")),
                           QStringLiteral("-f"), passwdFile});
    }
    if (!why.isEmpty())
        skip(QStringLiteral("no pure-ftpd user: ") + why);
    return why.isEmpty();
}

// ---------------------------------------------------------------------------------------------

SftpServer::SftpServer() : TestFtpServer(QStringLiteral("sftp"), QString())
{
    const QString program = QStringLiteral("/usr/sbin/sshd");
    if (!useTestAccount(program, QStringLiteral("sshd is not installed (scripts/install-deps.sh)")))
        return;
    // SFTP paths are the server's own: the login starts in root() and names it absolutely.
    setFolder(root() + QLatin1Char('/'));
    // sshd refuses to start without its privilege separation folder.
    QDir().mkpath(QStringLiteral("/run/sshd"));
    if (!makeHostKey())
        return;
    const QString conf = workFile(QStringLiteral("sshd_config"));
    launch(program, {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), conf},
           [&](uint16_t port) {
               const QStringList lines{
                   QStringLiteral("ListenAddress %1").arg(QLatin1String(Host)),
                   QStringLiteral("Port %1").arg(port),
                   QStringLiteral("HostKey ") + hostKeyPath(),
                   QStringLiteral("PidFile ") + workFile(QStringLiteral("sshd.pid")),
                   QStringLiteral("UsePAM no"),
                   QStringLiteral("PasswordAuthentication yes"),
                   QStringLiteral("KbdInteractiveAuthentication no"),
                   QStringLiteral("PubkeyAuthentication no"),
                   QStringLiteral("AuthorizedKeysFile none"),
                   QStringLiteral("PermitRootLogin no"),
                   QStringLiteral("AllowUsers ") + QLatin1String(FtpTestUser::Name),
                   QStringLiteral("StrictModes no"),
                   QStringLiteral("PermitTTY no"),
                   QStringLiteral("X11Forwarding no"),
                   QStringLiteral("AllowTcpForwarding no"),
                   QStringLiteral("MaxStartups 100"),
                   QStringLiteral("Subsystem sftp internal-sftp"),
                   QStringLiteral("ForceCommand internal-sftp -d ") + root(),
               };
               return writeFile(conf, lines.join(QLatin1Char('\n')).toUtf8() + '\n');
           });
}

bool SftpServer::makeHostKey()
{
    // ECDSA: a host key type every SSH library in use accepts.
    const QString why = runTool(
        QStringLiteral("ssh-keygen"),
        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ecdsa"), QStringLiteral("-b"),
         QStringLiteral("256"), QStringLiteral("-N"), QString(), QStringLiteral("-C"),
         QStringLiteral("gallivex-test"), QStringLiteral("-f"), hostKeyPath()});
    QFile publicKey(hostKeyPath() + QStringLiteral(".pub"));
    if (!why.isEmpty() || !publicKey.open(QIODevice::ReadOnly)) {
        skip(QStringLiteral("no host key: ") + why);
        return false;
    }
    const QByteArray blob = QByteArray::fromBase64(publicKey.readAll().split(' ').value(1));
    m_hostKeySha256 = QCryptographicHash::hash(blob, QCryptographicHash::Sha256);
    return true;
}
