// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftptrust.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace
{

// The SHA-256 of the leaf certificate's public key, as a pinned key is given.
void notePresentedKey(X509_STORE_CTX* store, QByteArray& presented)
{
    if (X509* leaf = X509_STORE_CTX_get0_cert(store)) {
        if (EVP_PKEY* key = X509_get0_pubkey(leaf)) {
            const int length = i2d_PUBKEY(key, nullptr);
            if (length > 0) {
                QByteArray der(length, Qt::Uninitialized);
                auto* out = reinterpret_cast<unsigned char*>(der.data());
                if (i2d_PUBKEY(key, &out) == length)
                    presented = FtpTrust::keyHash(der);
            }
        }
    }
}

// Notes the server's key, then verifies the chain exactly as OpenSSL would have: the verdict
// stays curl's to act on.
int verifyChain(X509_STORE_CTX* store, void* self)
{
    try {
        notePresentedKey(store, *static_cast<QByteArray*>(self));
    } catch (...) {
        // Without the note the verdict still stands; only the key cannot be shown.
    }
    return X509_verify_cert(store);
}

} // namespace

void FtpTrust::clear()
{
    m_presentedKey.clear();
    m_hostKeyMismatch = false;
}

void FtpTrust::apply(CURL* easy, const FtpOptions& options)
{
    if (options.protocol == FtpOptions::Protocol::Ftps) {
        curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &FtpTrust::sslContext);
        curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, this);
        if (!options.trustedKeySha256.isEmpty()) {
            // The user vouched for this key: no authority is asked, but nothing else passes.
            const QByteArray pin = "sha256//" + options.trustedKeySha256;
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
            curl_easy_setopt(easy, CURLOPT_PINNEDPUBLICKEY, pin.constData());
        }
    } else if (options.protocol == FtpOptions::Protocol::Sftp) {
        m_knownHostsFile = options.knownHostsFile;
        m_hostEntry = options.host.toUtf8();
        m_port = options.port ? options.port : 22;
        const QByteArray file = QFile::encodeName(options.knownHostsFile);
        curl_easy_setopt(easy, CURLOPT_SSH_KNOWNHOSTS, file.constData());
        curl_easy_setopt(easy, CURLOPT_SSH_KEYFUNCTION, &FtpTrust::sshKey);
        curl_easy_setopt(easy, CURLOPT_SSH_KEYDATA, this);
        curl_easy_setopt(easy, CURLOPT_SSH_AUTH_TYPES,
                         static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    }
}

CURLcode FtpTrust::sslContext(CURL*, void* context, void* self)
{
    auto* trust = static_cast<FtpTrust*>(self);
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(context), &verifyChain,
                                     &trust->m_presentedKey);
    return CURLE_OK;
}

int FtpTrust::sshKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                     void* self)
{
    switch (match) {
    case CURLKHMATCH_OK:
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISSING:
        // Remembered on first use; from then on only this key is accepted. Written here, as
        // curl would write the host without its port and so vouch for every port of it.
        try {
            if (found)
                static_cast<FtpTrust*>(self)->remember(*found);
        } catch (...) {
            return CURLKHSTAT_REJECT; // nothing may be thrown back into curl
        }
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISMATCH:
        static_cast<FtpTrust*>(self)->m_hostKeyMismatch = true;
        return CURLKHSTAT_REJECT;
    default:
        return CURLKHSTAT_REJECT;
    }
}

bool FtpTrust::remember(const curl_khkey& found) const
{
    const QByteArray blob = found.len > 0 ? QByteArray(found.key, static_cast<qsizetype>(found.len))
                                          : QByteArray::fromBase64(QByteArray(found.key));
    const QByteArray line = knownHostsLine(QString::fromUtf8(m_hostEntry), m_port, blob);
    QFile file(m_knownHostsFile);
    if (line.isEmpty() || !file.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    // A last line without its end would run into ours.
    const bool ended = file.size() == 0 || (file.seek(file.size() - 1) && file.read(1) == "\n");
    file.seek(file.size());
    return file.write((ended ? "" : "\n") + line + "\n") > 0;
}

QByteArray FtpTrust::knownHostsLine(const QString& host, uint16_t port, const QByteArray& blob)
{
    // The blob starts with the key type's name, length first (four bytes, big-endian).
    if (blob.size() < 4)
        return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(blob.constData());
    const quint32 length = (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) |
                           (quint32(bytes[2]) << 8) | quint32(bytes[3]);
    if (length == 0 || length > 64 || blob.size() < 4 + static_cast<qsizetype>(length))
        return {};
    const QByteArray type = blob.mid(4, length);
    for (char c : type)
        if (c <= ' ' || c > '~')
            return {};
    const QByteArray name =
        port == 22 ? host.toUtf8() : "[" + host.toUtf8() + "]:" + QByteArray::number(port);
    return name + ' ' + type + ' ' + blob.toBase64();
}

bool FtpTrust::prepareKnownHosts(const QString& file, QString& why)
{
    if (file.isEmpty()) {
        why = QStringLiteral("No file was given to remember the server's host key in.");
        return false;
    }
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath())) {
        why = QStringLiteral("The folder %1 for remembered host keys cannot be created.")
                  .arg(info.absolutePath());
        return false;
    }
    if (info.exists())
        return true;
    QFile create(file);
    if (!create.open(QIODevice::WriteOnly)) {
        why = QStringLiteral("The file %1 for remembered host keys cannot be created: %2")
                  .arg(file, create.errorString());
        return false;
    }
    return true;
}

QByteArray FtpTrust::keyHash(const QByteArray& publicKeyDer)
{
    return QCryptographicHash::hash(publicKeyDer, QCryptographicHash::Sha256).toBase64();
}
