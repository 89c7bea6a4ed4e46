// SPDX-License-Identifier: GPL-2.0-or-later
// FtpClient: one session with an FTP, FTPS or SFTP server, kept open across operations.
//
// The control connection is opened once and reused by every operation; a dropped connection
// is opened again, and logged in again, by the next operation. The current folder is kept on
// our side and every remote path is sent absolute, so an operation never depends on where the
// previous one left the server. Failures carry the codes the publishing layer decides on:
//   12002 time-out (no answer in time; a server's 421 is not a time-out but a reply),
//   12003 the server answered with an error reply (its code and text in the error),
//   12030 / 12031 connection aborted / reset,
//   18 no more files (listing an empty folder is not an error; the caller decides),
//   1223 cancelled by the pump,
//   and the other codes of ftpErrorMessage().
// No reply text, error message or log line this class gives out contains the password.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct FtpError {
    enum : int {
        None = 0,
        NoMoreFiles = 18,           // a listing found nothing
        Cancelled = 1223,           // the pump asked to stop
        TimedOut = 12002,           // no answer within the time-out
        ExtendedError = 12003,      // the server answered with an error reply
        InvalidUrl = 12005,         // the address cannot be used
        NameNotResolved = 12007,    // the host name is unknown
        LoginFailed = 12014,        // the server refused the login or the password
        CannotConnect = 12029,      // nobody answers on that host and port
        ConnectionAborted = 12030,  // the connection broke off
        ConnectionReset = 12031,    // the server reset the connection
        SecurityFailure = 12157,    // the TLS or SSH handshake failed
        UntrustedCertificate = 12045, // the server's certificate is not trusted
        HostKeyMismatch = 12046,    // the SSH host key differs from the remembered one
        LocalFileError = 12060,     // the local file could not be read or written
        TooLarge = 12061,           // a download was larger than allowed
        Unknown = 12000,            // anything else
    };
    int code = None;
    int replyCode = 0;   // the server's last reply code (FTP), 0 when there was none; an
                         // SFTP server's refusal (no such file, no permission) gives 550
    QString replyText;   // the server's last reply line(s), at most 2600 characters
    QString message;     // a sentence for the user; ftpErrorMessage(code) when nothing better
    // For UntrustedCertificate: the SHA-256 of the server's public key, base64, so that the
    // user can choose to trust it (see FtpOptions::trustedKeySha256).
    QByteArray presentedKeySha256;

    bool ok() const { return code == None; }
};

// The text the system gives for one of the codes above; empty for a code without one.
QString ftpErrorMessage(int code);

struct FtpOptions {
    enum class Protocol { Ftp, Ftps, Sftp };
    Protocol protocol = Protocol::Ftp;
    QString host;
    uint16_t port = 0;   // 0: the protocol's usual port (21 or 22)
    QString user;        // empty: anonymous (FTP and FTPS only)
    QString password;
    bool passive = true; // FTPS is always passive
    int connectTimeoutMs = 50000;   // the whole connect and login
    int operationTimeoutMs = 30000; // a reply, or data moving, within this
    // FTPS: the base64 SHA-256 of a server public key the user chose to trust although no
    // certificate authority vouches for it; empty: only what the system's CA store accepts.
    QByteArray trustedKeySha256;
    // SFTP: the known-hosts file that remembers host keys; a host seen for the first time is
    // added to it, a changed key is refused (HostKeyMismatch).
    QString knownHostsFile;
};

struct FtpEntry {
    QString name;     // the entry's own name, without a folder
    bool folder = false;
    qint64 size = -1; // -1 when the listing does not say
    QDateTime modified; // invalid when the listing does not say
};

class FtpClient {
public:
    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // Connects and logs in; the current folder becomes the one the server put us in.
    bool open(const FtpOptions& options);
    void close();
    bool isOpen() const;
    const FtpOptions& options() const;

    // The last operation's failure (code None after a success).
    const FtpError& lastError() const;

    // Called every few milliseconds while an operation waits on the network: return false to
    // cancel it (the operation then fails with Cancelled). Lets a window stay painted and its
    // Cancel button work while the program waits.
    void setPump(std::function<bool()> pump);
    // Called as an upload or download moves: bytes done and the file's size.
    void setTransferProgress(std::function<void(qint64 done, qint64 total)> progress);

    // Paths are absolute ("/a/b") or relative to the current folder; "/" separators.
    QString currentFolder() const;
    // Changes the current folder after the server confirmed the folder exists.
    bool setCurrentFolder(const QString& path);
    bool createFolder(const QString& path);
    bool removeFolder(const QString& path); // only an empty folder
    bool removeFile(const QString& path);
    // Renames, replacing an existing target where the server allows it.
    bool rename(const QString& from, const QString& to);
    // Sends a local file in binary; the remote folder must exist.
    bool upload(const QString& localPath, const QString& remotePath);
    // Fetches a remote file in binary into localPath (replaced only when the whole file came);
    // more than maxBytes fails with TooLarge.
    bool download(const QString& remotePath, const QString& localPath, qint64 maxBytes);
    // The entries of a folder, without "." and ".."; an empty folder gives an empty list and
    // success.
    bool list(const QString& folder, std::vector<FtpEntry>& entries);

    // The absolute path a relative or absolute path names, against the current folder.
    QString absolutePath(const QString& path) const;

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};
