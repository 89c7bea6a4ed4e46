// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/trustedkeys.h"

#include <QDir>

#include "platform/paths.h"
#include "platform/settings.h"

namespace {

const QString Section = QStringLiteral("FTPTrust");

QString siteName(const QString& host, uint16_t port)
{
    return host.toLower() + QLatin1Char(':') + QString::number(port);
}

} // namespace

TrustedKeys::TrustedKeys(Settings& store) : m_store(store) {}

QByteArray TrustedKeys::KeyFor(const QString& host, uint16_t port) const
{
    return m_store.getString(Section, siteName(host, port)).toLatin1();
}

void TrustedKeys::Trust(const QString& host, uint16_t port, const QByteArray& sha256)
{
    m_store.writeString(Section, siteName(host, port), QString::fromLatin1(sha256));
}

QString TrustedKeys::KnownHostsFile()
{
    const QString folder = platform::userDataFolder();
    QDir().mkpath(folder);
    return folder + QStringLiteral("/sftp_known_hosts");
}
