// SPDX-License-Identifier: GPL-2.0-or-later
// The publishing settings and their corrections, the log file and the trusted keys.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/settings.h"
#include "publish/ftplog.h"
#include "publish/ftpsettings.h"
#include "publish/trustedkeys.h"
#include "tests/support/testenv.h"

namespace {

const QString Section = QStringLiteral("Settings");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FtpSettingsTest : public ::testing::Test {
protected:
    SettingsSandbox sandbox;
    Settings settings;
};

class FtpLogTest : public ::testing::Test {
protected:
    TestFolder folder;
    FtpLog log{folder.file(QStringLiteral("gallivex.ftp.log"))};
};

} // namespace

TEST_F(FtpSettingsTest, MissingValuesBecomeDefaultsAndAreWrittenBack)
{
    const FtpSettings read = FtpSettings::ReadAndCorrect(settings);
    EXPECT_EQ(read.connectionTimeout, 50000);
    EXPECT_EQ(read.operationsTimeout, 30000);
    EXPECT_EQ(read.retries, 5);
    EXPECT_EQ(read.retryDelay, 1000);
    EXPECT_FALSE(read.forcePassive);
    EXPECT_EQ(settings.getInt(Section, "FTPConnectionTimeout", -1), 50000);
    EXPECT_EQ(settings.getInt(Section, "FTPOperationsTimeout", -1), 30000);
    EXPECT_EQ(settings.getInt(Section, "FTPNumberOfRetries", -1), 5);
    EXPECT_EQ(settings.getInt(Section, "FTPRetryDelay", -1), 1000);
    EXPECT_EQ(settings.getInt(Section, "FTPForcePassiveMode", -1), 0);
}

TEST_F(FtpSettingsTest, ValuesTooSmallToWorkWithAreCorrectedEachOnItsOwn)
{
    settings.writeInt(Section, "FTPConnectionTimeout", 4999);
    settings.writeInt(Section, "FTPOperationsTimeout", 5000);
    settings.writeInt(Section, "FTPNumberOfRetries", 0);
    settings.writeInt(Section, "FTPRetryDelay", -20);
    const FtpSettings read = FtpSettings::ReadAndCorrect(settings);
    EXPECT_EQ(read.connectionTimeout, 50000);
    EXPECT_EQ(read.operationsTimeout, 5000); // the least usable value is kept
    EXPECT_EQ(read.retries, 5);
    EXPECT_EQ(read.retryDelay, 1000);
    EXPECT_EQ(settings.getInt(Section, "FTPConnectionTimeout", -1), 50000);
    EXPECT_EQ(settings.getInt(Section, "FTPOperationsTimeout", -1), 5000);
    EXPECT_EQ(settings.getInt(Section, "FTPNumberOfRetries", -1), 5);
    EXPECT_EQ(settings.getInt(Section, "FTPRetryDelay", -1), 1000);
}

TEST_F(FtpSettingsTest, StoredValuesThatWorkAreKept)
{
    settings.writeInt(Section, "FTPConnectionTimeout", 7000);
    settings.writeInt(Section, "FTPOperationsTimeout", 120000);
    settings.writeInt(Section, "FTPNumberOfRetries", 3);
    settings.writeInt(Section, "FTPRetryDelay", 1);
    const FtpSettings read = FtpSettings::ReadAndCorrect(settings);
    EXPECT_EQ(read.connectionTimeout, 7000);
    EXPECT_EQ(read.operationsTimeout, 120000);
    EXPECT_EQ(read.retries, 3);
    EXPECT_EQ(read.retryDelay, 1);
    EXPECT_EQ(settings.getInt(Section, "FTPNumberOfRetries", -1), 3);
}

TEST_F(FtpSettingsTest, AnyNonZeroPassiveValueMeansOnAndIsWrittenBackAsOne)
{
    settings.writeInt(Section, "FTPForcePassiveMode", 7);
    EXPECT_TRUE(FtpSettings::ReadAndCorrect(settings).forcePassive);
    EXPECT_EQ(settings.getInt(Section, "FTPForcePassiveMode", -1), 1);
    settings.writeInt(Section, "FTPForcePassiveMode", -1);
    EXPECT_TRUE(FtpSettings::ReadAndCorrect(settings).forcePassive);
    EXPECT_EQ(settings.getInt(Section, "FTPForcePassiveMode", -1), 1);
    settings.writeString(Section, "FTPForcePassiveMode", "off"); // not a number: off
    EXPECT_FALSE(FtpSettings::ReadAndCorrect(settings).forcePassive);
    EXPECT_EQ(settings.getInt(Section, "FTPForcePassiveMode", -1), 0);
}

TEST_F(FtpLogTest, HeaderStartsTheFileAfreshWithItsNineLines)
{
    log.WriteLine("an old session");
    log.WriteHeader();
    const QString text = QString::fromUtf8(contentsOf(log.Path()));
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 10) << text.toStdString();
    const QString rule(41, '=');
    EXPECT_EQ(lines[0], "Vellora Gallivex FTP Log File");
    EXPECT_EQ(lines[1], rule);
    EXPECT_EQ(lines[2], "Version: 3, 6, 603");
    EXPECT_TRUE(lines[3].startsWith("Started: ") && lines[3].size() > 12) << lines[3].toStdString();
    EXPECT_EQ(lines[4], rule);
    EXPECT_EQ(lines[5], "Please send the contents of this log file");
    EXPECT_TRUE(lines[6].contains("support@vellora.example"));
    EXPECT_EQ(lines[7], "this errors not for the first time.");
    EXPECT_EQ(lines[8], rule);
    EXPECT_EQ(lines[9], "");
    EXPECT_FALSE(text.contains("an old session"));
}

TEST_F(FtpLogTest, PlainLinesCarryTheTimeAndTheSettingsLineItsFourValues)
{
    log.WriteHeader();
    FtpSettings settings;
    settings.connectionTimeout = 6000;
    settings.operationsTimeout = 7000;
    settings.retries = 3;
    settings.retryDelay = 10;
    log.WriteSettings(settings);
    log.WriteLine("Connecting to example");
    const QString text = QString::fromUtf8(contentsOf(log.Path()));
    const QString stamp = QStringLiteral("\\[[^\\]\\r\\n]+\\]\\r\\n");
    EXPECT_TRUE(text.contains(QRegularExpression(
        "\r\nFTP Settings:\r\nConnection TimeOut: 6000\r\nOperations TimeOut: 7000\r\n"
        "Retry Number: 3\r\nRetry Delay: 10\r\n " + stamp)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("\r\nConnecting to example " + stamp + "$")))
        << text.toStdString();
}

TEST_F(FtpLogTest, EveryLineEndsInCrLfWhicheverWayItWasWritten)
{
    log.Append("one\ntwo\r\nthree\n\n");
    EXPECT_EQ(contentsOf(log.Path()), QByteArray("one\r\ntwo\r\nthree\r\n\r\n"));
}

TEST_F(FtpLogTest, SecretsNeverReachTheFile)
{
    log.HideSecret("s3cr\xc3\xa9t");
    log.HideSecret(""); // an empty secret would hide every gap between letters
    log.WriteHeader();
    log.WriteLine("PASS s3cr\xc3\xa9t");
    log.Append("\t530 - Login incorrect (you said: s3cr\xc3\xa9ts3cr\xc3\xa9t)\n");
    const QByteArray bytes = contentsOf(log.Path());
    EXPECT_FALSE(bytes.contains("s3cr")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("PASS (hidden) ["));
    EXPECT_TRUE(bytes.contains("(you said: (hidden)(hidden))\r\n"));
    EXPECT_TRUE(bytes.contains("Vellora Gallivex FTP Log File\r\n"));
}

TEST_F(FtpLogTest, AFileThatCannotBeOpenedLosesTheLineAndNothingElse)
{
    // A folder where the file should be: nothing can be written, nothing may fail loudly.
    ASSERT_TRUE(QDir().mkpath(log.Path()));
    log.WriteHeader();
    log.WriteLine("lost");
    EXPECT_TRUE(QFileInfo(log.Path()).isDir());

    FtpLog deeper(folder.file("new/folder/gallivex.ftp.log"));
    deeper.WriteLine("kept");
    EXPECT_TRUE(contentsOf(deeper.Path()).startsWith("kept ["));
}

TEST(FtpLogPath, DefaultIsInTheUserDataFolderNamedAfterTheProgram)
{
    const QString path = FtpLog::DefaultPath();
    EXPECT_TRUE(path.endsWith("/Vellora/Gallivex/publishsession_tests.ftp.log"))
        << path.toStdString();
    EXPECT_FALSE(path.startsWith(binFolder()));
}

TEST(TrustedKeysTest, ChoicesAreKeptPerHostAndPortAndCanBeForgotten)
{
    TestFolder data;
    EnvironmentValue dataHome("XDG_DATA_HOME", data.path().toUtf8());
    SettingsSandbox sandbox;
    Settings store;
    TrustedKeys keys(store);
    EXPECT_TRUE(keys.KeyFor("ftp.example.com", 21).isEmpty());
    keys.Trust("FTP.Example.com", 21, "q83vEjRWeJA=");
    keys.Trust("ftp.example.com", 990, "AAAA");
    EXPECT_EQ(TrustedKeys(store).KeyFor("ftp.example.com", 21), "q83vEjRWeJA=");
    EXPECT_EQ(keys.KeyFor("ftp.example.com", 990), "AAAA");
    EXPECT_EQ(store.getString("FTPTrust", "ftp.example.com:21"), "q83vEjRWeJA=");
    keys.Trust("ftp.example.com", 21, QByteArray());
    EXPECT_TRUE(keys.KeyFor("ftp.example.com", 21).isEmpty());
    EXPECT_TRUE(TrustedKeys::KnownHostsFile().startsWith(QFileInfo(FtpLog::DefaultPath()).path()));
}
