// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftpclient.h"

#include <QDate>
#include <QFile>
#include <QSaveFile>

#include "platform/ftpfailure.h"
#include "platform/ftplisting.h"
#include "platform/ftppath.h"
#include "platform/ftpsession.h"
#include "platform/safefile.h"

class FtpClient::Impl : public FtpSession
{
};

FtpClient::FtpClient() : m_impl(std::make_unique<Impl>()) {}

FtpClient::~FtpClient() = default;

bool FtpClient::open(const FtpOptions& options)
{
    Impl& d = *m_impl;
    const OneAtATime guard(d.busy);
    if (!d.begin(guard))
        return false;
    d.curl.disconnect();
    d.isOpen = false;
    d.mlsd = FtpSession::Mlsd::Unknown;
    d.options = options;
    if (options.protocol == FtpOptions::Protocol::Ftps)
        d.options.passive = true; // active FTPS data connections fail with this curl
    d.replies.setSecret(options.password);
    if (!d.curl.valid()) {
        d.failWith(FtpError::Unknown, QStringLiteral("The network library could not start."));
        return false;
    }
    if (!FtpPath::usableHost(options.host)) {
        d.failWith(FtpError::InvalidUrl,
                   options.host.isEmpty()
                       ? QStringLiteral("No server name was given.")
                       : QStringLiteral("\"%1\" is not a server name or address.")
                             .arg(options.host.simplified()));
        return false;
    }
    QString why;
    if (d.sftp() && !FtpTrust::prepareKnownHosts(options.knownHostsFile, why)) {
        d.failWith(FtpError::LocalFileError, why);
        return false;
    }
    if (!d.connect())
        return false;
    d.isOpen = true;
    // In active mode the server connects back to us; prove now that it can, so that a
    // server or a network refusing that fails here and the caller can switch to passive.
    if (!d.options.passive && d.options.protocol == FtpOptions::Protocol::Ftp) {
        QByteArray bytes;
        if (!d.fetchListing(d.current, false, bytes)) {
            d.isOpen = false;
            d.curl.disconnect();
            return false;
        }
    }
    return true;
}

void FtpClient::close()
{
    if (m_impl->busy)
        return;
    m_impl->curl.disconnect();
    m_impl->isOpen = false;
    m_impl->current = QStringLiteral("/");
}

bool FtpClient::isOpen() const
{
    return m_impl->isOpen;
}

const FtpOptions& FtpClient::options() const
{
    return m_impl->options;
}

const FtpError& FtpClient::lastError() const
{
    return m_impl->lastError;
}

void FtpClient::setPump(std::function<bool()> pump)
{
    m_impl->pump = std::move(pump);
}

void FtpClient::setTransferProgress(std::function<void(qint64, qint64)> progress)
{
    m_impl->progress = std::move(progress);
}

QString FtpClient::currentFolder() const
{
    return m_impl->current;
}

QString FtpClient::absolutePath(const QString& path) const
{
    return FtpPath::absolute(m_impl->current, path);
}

bool FtpClient::setCurrentFolder(const QString& path)
{
    const OneAtATime guard(m_impl->busy);
    const QString folder = absolutePath(path);
    if (!m_impl->begin(guard) || !m_impl->checkPath(folder))
        return false;
    // SFTP has no command to ask whether a folder is there: reading it tells.
    QByteArray bytes;
    const bool there = m_impl->sftp() ? m_impl->fetchListing(folder, false, bytes)
                                      : m_impl->quote({"CWD " + folder.toUtf8()});
    if (there)
        m_impl->current = folder;
    return there;
}

bool FtpClient::createFolder(const QString& path)
{
    return m_impl->pathCommand(absolutePath(path), "MKD", "mkdir");
}

bool FtpClient::removeFolder(const QString& path)
{
    return m_impl->pathCommand(absolutePath(path), "RMD", "rmdir");
}

bool FtpClient::removeFile(const QString& path)
{
    return m_impl->pathCommand(absolutePath(path), "DELE", "rm");
}

bool FtpClient::rename(const QString& from, const QString& to)
{
    const OneAtATime guard(m_impl->busy);
    const QString source = absolutePath(from);
    const QString target = absolutePath(to);
    if (!m_impl->begin(guard) || !m_impl->checkPath(source) || !m_impl->checkPath(target))
        return false;
    if (!m_impl->sftp())
        return m_impl->quote({"RNFR " + source.toUtf8(), "RNTO " + target.toUtf8()});
    const QByteArray rename =
        "rename " + FtpPath::quotedForSftp(source) + " " + FtpPath::quotedForSftp(target);
    if (m_impl->quote({rename}))
        return true;
    // SFTP servers refuse to rename over an existing file: the target goes first then.
    const FtpError refused = m_impl->lastError;
    if (refused.code != FtpError::ExtendedError)
        return false;
    if (m_impl->quote({"*rm " + FtpPath::quotedForSftp(target), rename}))
        return true;
    m_impl->lastError = refused;
    return false;
}

bool FtpClient::upload(const QString& localPath, const QString& remotePath)
{
    Impl& d = *m_impl;
    const OneAtATime guard(d.busy);
    const QString target = absolutePath(remotePath);
    if (!d.begin(guard) || !d.checkPath(target))
        return false;
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        d.failWith(
            FtpError::LocalFileError,
            QStringLiteral("The file %1 cannot be read: %2").arg(localPath, file.errorString()));
        return false;
    }
    d.prepare(d.urlOf(target, false));
    curl_easy_setopt(d.curl.easy(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d.curl.easy(), CURLOPT_READFUNCTION, &FtpSession::onRead);
    curl_easy_setopt(d.curl.easy(), CURLOPT_READDATA, m_impl.get());
    curl_easy_setopt(d.curl.easy(), CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file.size()));
    d.source = &file;
    const bool sent = d.perform();
    d.source = nullptr;
    return sent;
}

bool FtpClient::download(const QString& remotePath, const QString& localPath, qint64 maxBytes)
{
    Impl& d = *m_impl;
    const OneAtATime guard(d.busy);
    const QString source = absolutePath(remotePath);
    if (!d.begin(guard) || !d.checkPath(source))
        return false;
    // The bytes go to a temporary file beside the target, which replaces it only when whole.
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        d.failWith(
            FtpError::LocalFileError,
            QStringLiteral("The file %1 cannot be written: %2").arg(localPath, file.errorString()));
        return false;
    }
    d.prepare(d.urlOf(source, false));
    curl_easy_setopt(d.curl.easy(), CURLOPT_WRITEFUNCTION, &FtpSession::onWriteFile);
    curl_easy_setopt(d.curl.easy(), CURLOPT_WRITEDATA, m_impl.get());
    if (maxBytes >= 0)
        curl_easy_setopt(d.curl.easy(), CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(maxBytes));
    d.sink = &file;
    d.limit = maxBytes;
    const bool fetched = d.perform();
    d.sink = nullptr;
    if (!fetched)
        return false;
    QString why;
    if (!platform::commitSafely(file, {}, &why)) {
        d.failWith(FtpError::LocalFileError,
                   QStringLiteral("The file %1 could not be written: %2").arg(localPath, why));
        return false;
    }
    return true;
}

bool FtpClient::list(const QString& folder, std::vector<FtpEntry>& entries)
{
    Impl& d = *m_impl;
    entries.clear();
    const OneAtATime guard(d.busy);
    const QString path = absolutePath(folder);
    if (!d.begin(guard) || !d.checkPath(path))
        return false;
    const bool ftp = !d.sftp();
    bool mlsd = ftp && d.mlsd != FtpSession::Mlsd::Refused;
    QByteArray bytes;
    bool listed = d.fetchListing(path, mlsd, bytes);
    // A server that does not understand MLSD (whatever its FEAT said) is listed with LIST
    // from then on.
    if (!listed && mlsd && d.lastError.code == FtpError::ExtendedError &&
        (d.lastError.replyCode == 500 || d.lastError.replyCode == 502)) {
        d.mlsd = FtpSession::Mlsd::Refused;
        mlsd = false;
        listed = d.fetchListing(path, false, bytes);
    }
    if (!listed)
        return false;
    if (mlsd)
        d.mlsd = FtpSession::Mlsd::Offered;
    entries = FtpListing::parse(bytes, mlsd ? FtpListing::Format::Mlsd : FtpListing::Format::List,
                                QDate::currentDate());
    return true;
}
