// SPDX-License-Identifier: GPL-2.0-or-later
// FtpSites: the publish dialog's remembered sites in the settings section "FTPSites": "Count",
// then per entry "Server%i", "Login%i", "Config%i" and, for a saved password that the
// desktop's secret store could not take, "PWD%i". The list keeps at most ten entries, the
// most recently connected first.
#pragma once

#include <vector>

#include <QString>

#include "publish/siteentry.h"

class SecretStore;
class Settings;

class FtpSites
{
public:
    static constexpr int MaxSites = 10;

    // secrets may be null: saved passwords then go to the plain "PWD" values.
    FtpSites(Settings& settings, SecretStore* secrets);

    // The stored entries in their order; entries without a server are skipped, an anonymous
    // entry comes without its login, and a password only when it was saved.
    std::vector<SiteEntry> Load() const;
    // Replaces the stored list by sites, in their order ("Count" first).
    void Save(const std::vector<SiteEntry>& sites);

    // Connect's list rule: every entry equal to address leaves the list, a new one (keeping
    // nothing but the address) goes to the top, and the entry after the tenth is dropped.
    // Returns the new top entry.
    static SiteEntry& BringToTop(std::vector<SiteEntry>& sites, const QString& address);

    // The name under which a site's password is kept in the secret store.
    static QString SecretKey(const SiteEntry& site);

private:
    QString readPassword(int index, const SiteEntry& site) const;
    void writePassword(int index, const SiteEntry& site);

    Settings& m_settings;
    SecretStore* m_secrets;
};
