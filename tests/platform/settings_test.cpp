// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/settings.h"
#include "tests/support/testenv.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    // Writes a store the way an installer or an older version could have left it.
    void writeStore(const QString& scope, const QString& application, const QByteArray& text)
    {
        const QString path = sandbox.root() + "/" + scope + "/Vellora/" + application + ".conf";
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    SettingsSandbox sandbox;
};

} // namespace

TEST_F(SettingsTest, MissingAndMalformedValuesReadAsDefaults)
{
    writeStore("user", "Gallivex",
               "[Settings]\nJPEGQuality=abc\nRecycle=\nCreateNew=0\nList=1, 2\n"
               "[Paths]\nProjectPath=/home/u/albums\n");
    Settings settings;
    EXPECT_EQ(settings.getInt("Settings", "JPEGQuality", 75), 75);
    EXPECT_EQ(settings.getInt("Settings", "Recycle", 3), 3);
    EXPECT_EQ(settings.getInt("Settings", "CreateNew", 1), 0);
    EXPECT_EQ(settings.getInt("Settings", "Absent", -123), -123);
    EXPECT_EQ(settings.getString("Settings", "List", "none"), "none");
    EXPECT_EQ(settings.getString("Paths", "ProjectPath"), "/home/u/albums");
    EXPECT_EQ(settings.getString("Paths", "Missing", "Vellora Albums"), "Vellora Albums");
}

TEST_F(SettingsTest, ValuesRoundTripIncludingAwkwardNames)
{
    Settings settings;
    EXPECT_FALSE(settings.exists());
    settings.writeInt("SkinInfo", "BkgroundColor", -1);
    settings.writeString("UserFieldFormat", "Comment: ", "Description: ");
    settings.writeString("Exif Dialog", "1042", "x=1,y");
    EXPECT_TRUE(settings.exists());
    EXPECT_EQ(settings.getInt("SkinInfo", "BkgroundColor", 0), -1);
    EXPECT_EQ(settings.getString("UserFieldFormat", "Comment: "), "Description: ");
    EXPECT_EQ(settings.getString("Exif Dialog", "1042"), "x=1,y");
    EXPECT_TRUE(settings.sectionExists("Exif Dialog"));
    EXPECT_FALSE(settings.sectionExists("Tip"));
    EXPECT_TRUE(settings.contains("SkinInfo", "BkgroundColor"));
}

TEST_F(SettingsTest, UserScopeNeverFallsBackToTheMachine)
{
    writeStore("machine", "Gallivex", "[Settings]\nJPEGQuality=90\n");
    writeStore("machine", "Vellora", "[Settings]\nJPEGQuality=91\n");
    EXPECT_EQ(Settings("Gallivex", Settings::Scope::Machine).getInt("Settings", "JPEGQuality", 0), 90);
    EXPECT_EQ(Settings().getInt("Settings", "JPEGQuality", 75), 75);
    EXPECT_FALSE(Settings().exists());
    EXPECT_FALSE(Settings::companyExists(Settings::Scope::User));
    EXPECT_TRUE(Settings::companyExists(Settings::Scope::Machine));
}

TEST_F(SettingsTest, CopiesOneProgramOrTheWholeCompany)
{
    writeStore("machine", "Gallivex", "[Settings]\nJPEGQuality=90\n[Paths]\nTemplatePath=/opt\n");
    writeStore("machine", "HTML", "[Options]\nTheme=blue\n");
    writeStore("machine", "Lumivex", "[Settings]\nZoom=2\n");
    EXPECT_EQ(Settings::applications(Settings::Scope::Machine),
              QStringList({"Gallivex", "HTML", "Lumivex"}));

    Settings::copyTree("Gallivex", Settings::Scope::Machine, Settings::Scope::User);
    Settings::copyTree("SWF", Settings::Scope::Machine, Settings::Scope::User); // no source
    EXPECT_EQ(Settings().getInt("Settings", "JPEGQuality", 0), 90);
    EXPECT_EQ(Settings().getString("Paths", "TemplatePath"), "/opt");
    EXPECT_EQ(Settings::applications(Settings::Scope::User), QStringList({"Gallivex"}));

    Settings::copyCompany(Settings::Scope::Machine, Settings::Scope::User);
    EXPECT_EQ(Settings("Lumivex").getInt("Settings", "Zoom", 0), 2);
    EXPECT_EQ(Settings("HTML").getString("Options", "Theme"), "blue");
}
