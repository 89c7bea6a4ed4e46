// SPDX-License-Identifier: GPL-2.0-or-later
// Real file servers for the publishing tests: each one is started by the test on a free port
// of 127.0.0.1, with a root folder of its own, and stopped (with every session it forked) and
// its folder removed when the object goes. A server that cannot run here says why in
// skipReason(), and the test skips with it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A server program in a session of its own: its process id is also the id of its process
// group, so stopping it ends the connections it forked as well.
class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts program with its output (both channels) going to logPath.
    bool start(const QString& program, const QStringList& arguments, const QString& logPath,
               QString& why);
    // Waits until something accepts connections on port; false when the program ended first
    // or the time ran out.
    bool waitForPort(uint16_t port, int milliseconds, QString& why);
    bool isRunning() const;
    void stop();

private:
    QProcess m_process;
    QString m_logPath;
};

// The local account the servers that log in system users (vsftpd, the SFTP server) and the
// virtual user of pure-ftpd run as. Creating it needs the superuser.
namespace FtpTestUser
{
extern const char* const Name;
extern const char* const Password;
// Creates the account when it is missing and sets its password; "" when ready, else why not.
QString ensure();
// Hands a file or folder (and what is in it) over to the account.
bool giveTo(const QString& path);
} // namespace FtpTestUser

// One misbehaviour of the fault-injecting server, for a command (all of them when nth is 0,
// else its nth occurrence counted from the server's start over every session).
struct FtpFault {
    enum class Action { Stall, Reset, Reply };
    QString command;
    int nth = 0;
    Action action = Action::Reply;
    QString reply;         // Reply: the whole reply line; a 421 also closes the session
    qint64 afterBytes = 0; // uploads: bytes taken before stalling or resetting

    // Never answers the command (with afterBytes, an upload stops being read after them).
    static FtpFault stall(const QString& command, int nth = 0, qint64 afterBytes = 0);
    // Takes afterBytes of the nth upload, leaves them in the file being written and resets
    // both connections, as a server that dies in the middle does.
    static FtpFault resetDuringStor(int nth, qint64 afterBytes);
    static FtpFault replyWith(const QString& command, const QString& reply, int nth = 0);
};

struct FtpFaults {
    enum class Greeting { Normal, Garbage, None };
    std::vector<FtpFault> rules;
    Greeting greeting = Greeting::Normal;
    bool echoLastArgument = false; // every reply ends with the last command's argument

    FtpFaults& add(const FtpFault& fault);
    // PORT and EPRT refused, so active mode fails.
    FtpFaults& refuseActiveMode();
    // Every upload answered "452" as by a server whose disk is full.
    FtpFaults& diskFull();
    QByteArray toJson() const;
};

// What every server shares: the folder, the process, the address and the login.
class TestFtpServer
{
public:
    virtual ~TestFtpServer();
    TestFtpServer(const TestFtpServer&) = delete;
    TestFtpServer& operator=(const TestFtpServer&) = delete;

    // "" when the server runs; otherwise why it does not (the test skips with it).
    QString skipReason() const { return m_skipReason; }
    bool isRunning() const { return m_skipReason.isEmpty() && m_process.isRunning(); }
    uint16_t port() const { return m_port; }
    // "ftp://127.0.0.1:PORT/FOLDER/" (ftps or sftp for those servers), without the login.
    QString url() const;
    // The remote folder the login starts in and may write to ("/" or "/pub/", or the root's
    // absolute path for SFTP).
    QString folder() const { return m_folder; }
    // The local folder that is the remote folder().
    QString root() const { return m_root; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    // Writes a file below root() as the server's own user would have (creating its folders).
    QString put(const QString& relative, const QByteArray& bytes) const;
    // Everything the server wrote to its log.
    QByteArray log() const;

protected:
    TestFtpServer(QString scheme, QString folder);
    QString workFile(const QString& name) const { return m_dir.filePath(name); }
    // Starts the program on a free port (found anew if the first one was taken meanwhile);
    // arguments may name the port as "%PORT%" and the config file may hold it as well.
    bool launch(const QString& program, const QStringList& arguments,
                const std::function<bool(uint16_t)>& writeConfig);
    // For servers that log the local test account in: false, with the reason to skip, when
    // program is missing (missing says so), the superuser is needed or the account cannot be
    // had; otherwise the login is the account's and root() belongs to it.
    bool useTestAccount(const QString& program, const QString& missing);
    void skip(const QString& reason) { m_skipReason = reason; }
    void setFolder(const QString& folder) { m_folder = folder; }
    void setRoot(const QString& root) { m_root = root; }
    bool m_ownedByTestUser = false; // root() and what put() writes belong to FtpTestUser
    QString m_user, m_password;
    uint16_t m_port = 0;
    ServerProcess m_process;

private:
    QTemporaryDir m_dir;
    QString m_scheme, m_folder, m_root, m_skipReason;
};

// pyftpdlib with faults a test can change while it runs.
class PyFtpServer : public TestFtpServer
{
public:
    struct Options {
        QString user = QStringLiteral("gvtest");
        QString password = QStringLiteral("gv-Secret-4711");
        bool anonymous = false;   // anonymous logins accepted besides the user
        bool withUser = true;     // false: only anonymous logins
        int passivePortCount = 0; // a random range of that many passive ports; 0: any port
        FtpFaults faults;
    };
    PyFtpServer() : PyFtpServer(Options()) {}
    explicit PyFtpServer(const Options& options);

    // Takes effect from the next command or connection on.
    void setFaults(const FtpFaults& faults) const;
    // How often the command reached the server since it started, over every session.
    int commandCount(const QString& command) const;
};

// vsftpd with a private configuration, logging the local test account in.
class Vsftpd : public TestFtpServer
{
public:
    struct Options {
        bool anonymous = false;  // log in anonymously into "/pub" (user "anonymous")
        bool activeMode = true;  // false: PORT and EPRT refused
        bool passiveMode = true; // false: PASV and EPSV refused
        // false: the account sees the whole file system and starts in root(), which folder()
        // then names absolutely, as on servers that keep users in their home folders
        bool chroot = true;
    };
    Vsftpd() : Vsftpd(Options()) {}
    explicit Vsftpd(const Options& options);

private:
    QStringList config(const Options& options, uint16_t port) const;
    bool prepareAnonymous();
};

// pure-ftpd with explicit TLS and a virtual user, from the unpacked tools folder.
class PureFtpd : public TestFtpServer
{
public:
    enum class Tls { Optional = 1, Required = 2 };
    explicit PureFtpd(Tls tls = Tls::Required);
    // The self-signed certificate the server shows (PEM) and the SHA-256 of its public key
    // (the DER of the SubjectPublicKeyInfo), as a "trust this certificate" choice keeps it.
    QString certificatePath() const { return workFile(QStringLiteral("cert.pem")); }
    QByteArray publicKeySha256() const { return m_keySha256; }
    // Where the pure-ftpd programs are looked for.
    static QString toolsFolder();

private:
    bool makeCertificate();
    bool makeUserDatabase(const QString& tools);
    QByteArray m_keySha256;
};

// OpenSSH's sshd serving only internal-sftp, starting in root(), for the local test account.
class SftpServer : public TestFtpServer
{
public:
    SftpServer();
    // The SHA-256 of the host key's blob, as known-hosts fingerprints are made.
    QByteArray hostKeySha256() const { return m_hostKeySha256; }
    QString hostKeyPath() const { return workFile(QStringLiteral("hostkey")); }

private:
    bool makeHostKey();
    QByteArray m_hostKeySha256;
};
