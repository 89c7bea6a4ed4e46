// SPDX-License-Identifier: GPL-2.0-or-later
// FtpTrust: who the server is. For FTPS, the system's certificate authorities decide, unless
// the user chose to trust one server key by its SHA-256, which is then pinned; the key the
// server presents is always noted so that a refused certificate can be shown to the user.
// For SFTP, host keys are remembered in a known-hosts file on first use, as ssh does, and a
// changed key is refused.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include <curl/curl.h>

#include "platform/ftpclient.h"

class FtpTrust
{
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
    // The known-hosts line of an SSH host key blob: "[host]:port type base64", the port
    // left out when it is 22, as ssh writes it. Empty when the blob names no key type.
    static QByteArray knownHostsLine(const QString& host, uint16_t port, const QByteArray& blob);

private:
    static CURLcode sslContext(CURL* easy, void* context, void* self);
    static int sshKey(CURL* easy, const curl_khkey* known, const curl_khkey* found,
                      curl_khmatch match, void* self);
    bool remember(const curl_khkey& found) const;

    QByteArray m_presentedKey;
    QString m_knownHostsFile;
    QByteArray m_hostEntry; // the host as the known-hosts file names it
    uint16_t m_port = 22;
    bool m_hostKeyMismatch = false;
};
