// SPDX-License-Identifier: GPL-2.0-or-later
// FtpTrust: who the server is. For FTPS, the system's certificate authorities decide, unless
// the user chose to trust one server key by its SHA-256, which is then pinned; the key the
// server presents is always noted so that a refused certificate can be shown to the user.
// For SFTP, host keys are remembered in a known-hosts file on first use, as ssh does, and a
// changed key is refused.
#pragma once

#include <QByteArray>
#include <QString>

#include <curl/curl.h>

#include "platform/ftpclient.h"

class FtpTrust {
public:
    // Sets the TLS or SSH checks of options on a freshly reset handle. The object must
    // outlive the transfer: the checks report to it.
    void apply(CURL* easy, const FtpOptions& options);
    // Forgets what the previous transfer saw.
    void clear();

    // The base64 SHA-256 of the public key of the last certificate the server presented.
    QByteArray presentedKey() const { return m_presentedKey; }
    // Whether an SFTP server's host key differed from the remembered one.
    bool hostKeyMismatch() const { return m_hostKeyMismatch; }

    // Makes sure the known-hosts file and its folder exist; false with the reason.
    static bool prepareKnownHosts(const QString& file, QString& why);
    // The base64 SHA-256 of a DER-encoded public key (SubjectPublicKeyInfo).
    static QByteArray keyHash(const QByteArray& publicKeyDer);

private:
    static CURLcode sslContext(CURL* easy, void* context, void* self);
    static int sshKey(CURL* easy, const curl_khkey* known, const curl_khkey* found,
                      curl_khmatch match, void* self);

    QByteArray m_presentedKey;
    bool m_hostKeyMismatch = false;
};
