// SPDX-License-Identifier: GPL-2.0-or-later
// The publish dialog's remembered sites as the settings keep them, and where their passwords
// go: the desktop's secret store when one answers, else the plain value, and never the plain
// value when the password is not to be remembered.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "platform/secretstore.h"
#include "platform/settings.h"
#include "publish/ftpsites.h"
#include "tests/support/testenv.h"

namespace
{

const QString Section = QStringLiteral("FTPSites");

SiteEntry site(const QString& server, const QString& login = {}, const QString& password = {},
               bool anonymous = false, bool savePassword = false)
{
    SiteEntry entry;
    entry.server = server;
    entry.login = login;
    entry.password = password;
    entry.anonymous = anonymous;
    entry.savePassword = savePassword;
    return entry;
}

// Every byte the settings hold, to look for a password in.
QByteArray storedBytes(const QString& root)
{
    QByteArray all;
    QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

class SitesTest : public ::testing::Test
{
protected:
    SettingsSandbox sandbox;
    Settings settings;
    // No secret service runs where the tests run: a bus address that leads nowhere makes
    // that so even on a desktop, and the short time-out keeps a hung answer from stalling.
    EnvironmentValue bus{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/gallivex-bus"};
    SecretStore secrets{QStringLiteral("Gallivex tests"), 2000};
};

TEST_F(SitesTest, SavedListLoadsInItsOrderWithItsFlags)
{
    FtpSites sites(settings, &secrets);
    sites.Save({site("ftp://one.example/a", "ann", "pw1", false, true),
                site("two.example", "bob", "pw2", false, false),
                site("ftp://three.example", "", "", true, false)});
    EXPECT_EQ(settings.getInt(Section, "Count", 0), 3);
    EXPECT_EQ(settings.getInt(Section, "Config0", -1), 1);
    EXPECT_EQ(settings.getInt(Section, "Config1", -1), 0);
    EXPECT_EQ(settings.getInt(Section, "Config2", -1), 2);

    const std::vector<SiteEntry> loaded = sites.Load();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0], site("ftp://one.example/a", "ann", "pw1", false, true));
    EXPECT_EQ(loaded[1], site("two.example", "bob", "", false, false));
    EXPECT_EQ(loaded[2], site("ftp://three.example", "", "", true, false));
}

TEST_F(SitesTest, AnonymousSiteLoadsWithoutTheLoginWrittenForIt)
{
    settings.writeInt(Section, "Count", 1);
    settings.writeString(Section, "Server0", "ftp://anon.example");
    settings.writeString(Section, "Login0", "someone");
    settings.writeString(Section, "PWD0", "secret");
    settings.writeInt(Section, "Config0", 2);
    const std::vector<SiteEntry> loaded = FtpSites(settings, &secrets).Load();
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_TRUE(loaded[0].anonymous);
    EXPECT_TRUE(loaded[0].login.isEmpty());
    EXPECT_TRUE(loaded[0].password.isEmpty()) << "flag 1 is not set";
}

TEST_F(SitesTest, LoginIsWrittenEvenForAnAnonymousSite)
{
    FtpSites(settings, &secrets).Save({site("ftp://anon.example", "kept", "", true)});
    EXPECT_EQ(settings.getString(Section, "Login0"), "kept");
}

TEST_F(SitesTest, EntriesWithoutServerAreSkippedAndCountIsBounded)
{
    settings.writeInt(Section, "Count", 14);
    for (int i = 0; i < 14; ++i) {
        settings.writeString(Section, QStringLiteral("Server%1").arg(i),
                             i == 1 ? QString() : QStringLiteral("host%1").arg(i));
    }
    const std::vector<SiteEntry> loaded = FtpSites(settings, &secrets).Load();
    ASSERT_EQ(loaded.size(), 10u);
    EXPECT_EQ(loaded[0].server, "host0");
    EXPECT_EQ(loaded[1].server, "host2");
    EXPECT_EQ(loaded[9].server, "host10");
}

TEST_F(SitesTest, DamagedCountLoadsNothing)
{
    settings.writeString(Section, "Count", "-3");
    settings.writeString(Section, "Server0", "host");
    EXPECT_TRUE(FtpSites(settings, &secrets).Load().empty());
    settings.writeString(Section, "Count", "many");
    EXPECT_TRUE(FtpSites(settings, &secrets).Load().empty());
}

TEST_F(SitesTest, PasswordNotRememberedIsWrittenNowhere)
{
    FtpSites(settings, &secrets).Save({site("ftp://h.example", "ann", "Zebra-Quartz-77")});
    EXPECT_FALSE(settings.contains(Section, "PWD0"));
    EXPECT_FALSE(storedBytes(sandbox.root()).contains("Zebra-Quartz-77"));
}

TEST_F(SitesTest, RememberedPasswordFallsBackToPlainValueWithoutSecretService)
{
    FtpSites sites(settings, &secrets);
    sites.Save({site("ftp://h.example", "ann", "Zebra-Quartz-77", false, true)});
    EXPECT_FALSE(secrets.LastError().isEmpty()) << "a secret service answered";
    EXPECT_EQ(settings.getString(Section, "PWD0"), "Zebra-Quartz-77");
    EXPECT_EQ(sites.Load().at(0).password, "Zebra-Quartz-77");
}

TEST_F(SitesTest, ForgettingThePasswordRemovesThePlainValue)
{
    FtpSites sites(settings, &secrets);
    sites.Save({site("a", "u", "first", false, true), site("b", "v", "second", false, true)});
    ASSERT_TRUE(settings.contains(Section, "PWD1"));
    sites.Save({site("a", "u", "first", false, false)});
    EXPECT_FALSE(settings.contains(Section, "PWD0"));
    EXPECT_FALSE(settings.contains(Section, "PWD1")) << "the dropped entry kept its password";
    EXPECT_FALSE(storedBytes(sandbox.root()).contains("second"));
}

TEST_F(SitesTest, PlainPasswordOfAnEarlierVersionIsStillRead)
{
    settings.writeInt(Section, "Count", 1);
    settings.writeString(Section, "Server0", "old.example");
    settings.writeString(Section, "Login0", "me");
    settings.writeString(Section, "PWD0", "legacy");
    settings.writeInt(Section, "Config0", 1);
    const SiteEntry loaded = FtpSites(settings, &secrets).Load().at(0);
    EXPECT_EQ(loaded.login, "me");
    EXPECT_EQ(loaded.password, "legacy");
    EXPECT_TRUE(loaded.savePassword);
}

TEST_F(SitesTest, WithoutSecretStoreSavedPasswordIsPlain)
{
    FtpSites sites(settings, nullptr);
    sites.Save({site("h", "u", "p", false, true)});
    EXPECT_EQ(sites.Load().at(0).password, "p");
}

TEST(SiteListTest, ConnectedAddressGoesToTheTopOnce)
{
    std::vector<SiteEntry> list{site("a", "ua"), site("b", "ub"), site("a", "again")};
    SiteEntry& top = FtpSites::BringToTop(list, "a");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(&top, &list[0]);
    EXPECT_EQ(list[0], site("a")) << "the moved entry starts afresh";
    EXPECT_EQ(list[1].server, "b");
}

TEST(SiteListTest, EleventhAddressIsDropped)
{
    std::vector<SiteEntry> list;
    for (int i = 0; i < 10; ++i)
        list.push_back(site(QStringLiteral("host%1").arg(i)));
    FtpSites::BringToTop(list, "new");
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front().server, "new");
    EXPECT_EQ(list.back().server, "host8");
    // A known address does not push another one out.
    FtpSites::BringToTop(list, "host8");
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.back().server, "host7");
}

TEST(SecretStoreTest, WithoutServiceEveryCallFailsPlainly)
{
    EnvironmentValue bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/gallivex-bus");
    SecretStore store(QStringLiteral("Gallivex tests"), 2000);
    EXPECT_FALSE(store.Write("key", "value"));
    EXPECT_FALSE(store.LastError().isEmpty());
    EXPECT_FALSE(store.Read("key").has_value());
    // Asked once, the missing service is not asked again.
    EXPECT_FALSE(store.Available());
    EXPECT_FALSE(store.Remove("key"));
}

} // namespace
