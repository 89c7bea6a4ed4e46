// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftpsites.h"

#include <algorithm>

#include "platform/secretstore.h"
#include "platform/settings.h"

namespace
{

const QString Section = QStringLiteral("FTPSites");
const QString CountValue = QStringLiteral("Count");

QString valueName(const char* word, int index)
{
    return QString::fromLatin1(word) + QString::number(index);
}

constexpr int AnonymousFlag = 2;
constexpr int PasswordSavedFlag = 1;

} // namespace

FtpSites::FtpSites(Settings& settings, SecretStore* secrets)
    : m_settings(settings), m_secrets(secrets)
{
}

std::vector<SiteEntry> FtpSites::Load() const
{
    std::vector<SiteEntry> sites;
    const int count = std::max(0, m_settings.getInt(Section, CountValue, 0));
    for (int i = 0; i < count && static_cast<int>(sites.size()) < MaxSites; ++i) {
        SiteEntry site;
        site.server = m_settings.getString(Section, valueName("Server", i));
        if (site.server.isEmpty())
            continue;
        const int flags = m_settings.getInt(Section, valueName("Config", i), 0);
        site.anonymous = (flags & AnonymousFlag) != 0;
        site.savePassword = (flags & PasswordSavedFlag) != 0;
        if (!site.anonymous)
            site.login = m_settings.getString(Section, valueName("Login", i));
        if (site.savePassword)
            site.password = readPassword(i, site);
        sites.push_back(site);
    }
    return sites;
}

QString FtpSites::readPassword(int index, const SiteEntry& site) const
{
    // A password written in plain text by an earlier version, or where no secret store ran,
    // is still honoured.
    const QString plainName = valueName("PWD", index);
    if (m_settings.contains(Section, plainName) || m_secrets == nullptr)
        return m_settings.getString(Section, plainName);
    return m_secrets->Read(SecretKey(site)).value_or(QString());
}

void FtpSites::Save(const std::vector<SiteEntry>& sites)
{
    const int previous = m_settings.getInt(Section, CountValue, 0);
    const int count = std::min(static_cast<int>(sites.size()), MaxSites);
    m_settings.writeInt(Section, CountValue, count);
    for (int i = 0; i < count; ++i) {
        const SiteEntry& site = sites[static_cast<size_t>(i)];
        m_settings.writeString(Section, valueName("Server", i), site.server);
        m_settings.writeString(Section, valueName("Login", i), site.login);
        m_settings.writeInt(Section, valueName("Config", i), site.ConfigFlags());
        writePassword(i, site);
    }
    // Entries that fell off the list take their plain passwords with them.
    for (int i = count; i < std::max(previous, MaxSites); ++i)
        m_settings.remove(Section, valueName("PWD", i));
}

void FtpSites::writePassword(int index, const SiteEntry& site)
{
    const QString plainName = valueName("PWD", index);
    // A password that is no longer to be remembered must not stay behind in plain text.
    m_settings.remove(Section, plainName);
    if (!site.savePassword || site.anonymous) {
        if (m_secrets != nullptr && !site.anonymous)
            m_secrets->Remove(SecretKey(site));
        return;
    }
    if (m_secrets != nullptr && m_secrets->Write(SecretKey(site), site.password))
        return;
    m_settings.writeString(Section, plainName, site.password);
}

SiteEntry& FtpSites::BringToTop(std::vector<SiteEntry>& sites, const QString& address)
{
    std::erase_if(sites, [&](const SiteEntry& site) { return site.server == address; });
    SiteEntry top;
    top.server = address;
    sites.insert(sites.begin(), top);
    if (sites.size() > static_cast<size_t>(MaxSites))
        sites.resize(MaxSites);
    return sites.front();
}

QString FtpSites::SecretKey(const SiteEntry& site)
{
    return QStringLiteral("ftp %1 %2").arg(site.server, site.login);
}
