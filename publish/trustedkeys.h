// SPDX-License-Identifier: GPL-2.0-or-later
// TrustedKeys: the user's "trust this certificate" choices for FTPS servers that no certificate
// authority vouches for, by "host:port" -> base64 SHA-256 of the server's public key, kept in
// the settings section "FTPTrust". SFTP host keys are remembered in KnownHostsFile(), the way
// ssh does it.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

class Settings;

class TrustedKeys {
public:
    explicit TrustedKeys(Settings& store);

    // The trusted key of the site, empty when the user trusted none.
    QByteArray KeyFor(const QString& host, uint16_t port) const;
    // Remembers the user's choice; an empty key forgets it.
    void Trust(const QString& host, uint16_t port, const QByteArray& sha256);

    // The SFTP known-hosts file in the per-user data folder (the folder is made when needed).
    static QString KnownHostsFile();

private:
    Settings& m_store;
};
