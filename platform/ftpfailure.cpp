// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftpfailure.h"

#include <curl/curl.h>

QString ftpErrorMessage(int code)
{
    switch (code) {
    case FtpError::NoMoreFiles:
        return QStringLiteral("There are no more files.");
    case FtpError::Cancelled:
        return QStringLiteral("The operation was canceled by the user.");
    case FtpError::TimedOut:
        return QStringLiteral("The operation timed out.");
    case FtpError::ExtendedError:
        return QStringLiteral("The server returned extended information.");
    case FtpError::InvalidUrl:
        return QStringLiteral("The URL is invalid.");
    case FtpError::NameNotResolved:
        return QStringLiteral("The server name or address could not be resolved.");
    case FtpError::LoginFailed:
        return QStringLiteral("The server refused the user name or the password.");
    case FtpError::CannotConnect:
        return QStringLiteral("A connection with the server could not be established.");
    case FtpError::ConnectionAborted:
        return QStringLiteral("The connection with the server was terminated abnormally.");
    case FtpError::ConnectionReset:
        return QStringLiteral("The connection with the server was reset.");
    case FtpError::SecurityFailure:
        return QStringLiteral("A secure connection with the server could not be established.");
    case FtpError::UntrustedCertificate:
        return QStringLiteral("The server's certificate is not trusted.");
    case FtpError::HostKeyMismatch:
        return QStringLiteral("The server's host key does not match the remembered one.");
    case FtpError::LocalFileError:
        return QStringLiteral("The local file could not be read or written.");
    case FtpError::TooLarge:
        return QStringLiteral("The file is larger than allowed.");
    case FtpError::Unknown:
        return QStringLiteral("An internal error occurred.");
    default:
        return {};
    }
}

namespace
{

int codeFor(int curlCode, int replyCode, FtpOptions::Protocol protocol, const QString& detail)
{
    switch (curlCode) {
    case CURLE_OPERATION_TIMEDOUT:
        // curl reports a server's 421 as a time-out; it is an answer, not silence.
        return replyCode == 421 ? FtpError::ExtendedError : FtpError::TimedOut;
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return FtpError::TimedOut;
    case CURLE_COULDNT_CONNECT:
        return FtpError::CannotConnect;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return FtpError::NameNotResolved;
    case CURLE_LOGIN_DENIED:
        return FtpError::LoginFailed;
    case CURLE_RECV_ERROR:
        return FtpError::ConnectionReset;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
        return FtpError::ConnectionAborted;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return protocol == FtpOptions::Protocol::Sftp ? FtpError::SecurityFailure
                                                      : FtpError::UntrustedCertificate;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return FtpError::SecurityFailure;
    case CURLE_SSH:
        // Before the session stands the handshake failed; after it, a file operation did.
        return detail.contains(QLatin1String("establish"), Qt::CaseInsensitive) ||
                       detail.contains(QLatin1String("banner"), Qt::CaseInsensitive)
                   ? FtpError::SecurityFailure
                   : FtpError::ExtendedError;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_BAD_DOWNLOAD_RESUME:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
        return FtpError::ExtendedError;
    case CURLE_WRITE_ERROR:
    case CURLE_READ_ERROR:
    case CURLE_FILE_COULDNT_READ_FILE:
        return FtpError::LocalFileError;
    case CURLE_ABORTED_BY_CALLBACK:
        return FtpError::Cancelled;
    case CURLE_FILESIZE_EXCEEDED:
        return FtpError::TooLarge;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return FtpError::InvalidUrl;
    default:
        return FtpError::Unknown;
    }
}

// SFTP has no reply codes; its refusals (no such file, no permission, a command refused) are
// as final as an FTP server's 550, and are given that code so that nobody retries them.
bool sftpRefusal(int curlCode)
{
    return curlCode == CURLE_REMOTE_ACCESS_DENIED || curlCode == CURLE_QUOTE_ERROR ||
           curlCode == CURLE_UPLOAD_FAILED || curlCode == CURLE_REMOTE_FILE_NOT_FOUND;
}

QString withReply(const QString& sentence, const QString& reply)
{
    return reply.isEmpty() ? sentence + QLatin1Char('.')
                           : sentence + QStringLiteral(": ") + reply.simplified();
}

} // namespace

FtpError FtpFailure::refusal(const QString& host, int replyCode, const QString& replyText)
{
    FtpError error;
    error.code = FtpError::ExtendedError;
    error.replyCode = replyCode;
    error.replyText = replyText.left(2600);
    error.message =
        withReply(QStringLiteral("The server %1 refused the request").arg(host), replyText);
    return error;
}

FtpError FtpFailure::toError() const
{
    FtpError error;
    error.replyCode = replyCode;
    // SFTP has no reply lines: curl's explanation is the nearest thing to one.
    error.replyText =
        (protocol == FtpOptions::Protocol::Sftp && replyText.isEmpty() ? detail : replyText)
            .left(2600);
    if (cancelled)
        error.code = FtpError::Cancelled;
    else if (tooLarge)
        error.code = FtpError::TooLarge;
    else if (!localProblem.isEmpty())
        error.code = FtpError::LocalFileError;
    else if (hostKeyMismatch)
        error.code = FtpError::HostKeyMismatch;
    else
        error.code = codeFor(curlCode, replyCode, protocol, detail);
    if (protocol == FtpOptions::Protocol::Sftp && error.code == FtpError::ExtendedError &&
        sftpRefusal(curlCode))
        error.replyCode = 550;
    error.message = sentence(error);
    if (error.code == FtpError::UntrustedCertificate)
        error.presentedKeySha256 = presentedKey;
    return error;
}

QString FtpFailure::sentence(const FtpError& error) const
{
    const QString reply = error.replyText.isEmpty() ? detail : error.replyText;
    switch (error.code) {
    case FtpError::TooLarge:
        return QStringLiteral("The file on the server %1 is larger than allowed.").arg(host);
    case FtpError::LocalFileError:
        return localProblem.isEmpty() ? withReply(ftpErrorMessage(error.code).chopped(1), detail)
                                      : localProblem;
    case FtpError::HostKeyMismatch:
        return QStringLiteral(
                   "The host key of the server %1 differs from the one remembered in %2, so the "
                   "connection was refused: the server may have been replaced, or someone may "
                   "be listening in. If its key was changed on purpose, remove the server's "
                   "line from that file.")
            .arg(host, knownHostsFile);
    case FtpError::TimedOut:
        return QStringLiteral("The server %1 did not answer in time.").arg(host);
    case FtpError::ExtendedError:
        return withReply(replyCode == 421
                             ? QStringLiteral("The server %1 closed the session").arg(host)
                             : QStringLiteral("The server %1 refused the request").arg(host),
                         reply);
    case FtpError::LoginFailed:
        return withReply(
            QStringLiteral("The server %1 refused the user name or the password").arg(host), reply);
    case FtpError::CannotConnect:
        return QStringLiteral("Nothing answers at %1 on port %2: the server may be down, or the "
                              "address or the port may be wrong.")
            .arg(host)
            .arg(port);
    case FtpError::NameNotResolved:
        return QStringLiteral("The server name %1 could not be found.").arg(host);
    case FtpError::ConnectionReset:
        return QStringLiteral("The server %1 reset the connection.").arg(host);
    case FtpError::ConnectionAborted:
        return QStringLiteral("The connection with the server %1 broke off.").arg(host);
    case FtpError::SecurityFailure:
        return withReply(
            QStringLiteral("A secure connection with the server %1 could not be established")
                .arg(host),
            detail);
    case FtpError::UntrustedCertificate:
        if (curlCode == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
            return QStringLiteral("The certificate of the server %1 is not the one you chose to "
                                  "trust: its key has changed. The new key's SHA-256 is %2; "
                                  "trust it only if you know that the server's key was replaced.")
                .arg(host, QString::fromLatin1(presentedKey));
        return QStringLiteral("The server %1 presents a certificate that no certificate "
                              "authority known to this computer vouches for (%2). Its key's "
                              "SHA-256 is %3; trust it only if you know that this is the "
                              "server's key.")
            .arg(host, detail, QString::fromLatin1(presentedKey));
    case FtpError::InvalidUrl:
        return withReply(QStringLiteral("The address of the server %1 cannot be used").arg(host),
                         detail);
    case FtpError::Cancelled:
        return ftpErrorMessage(error.code);
    default:
        return withReply(ftpErrorMessage(FtpError::Unknown).chopped(1), detail);
    }
}
