// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "platform/settings.h"
#include "shell/gvapp.h"
#include "tests/support/testenv.h"

namespace {

class GVAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installTestPlugins(program.file("plugins"), {"gvtest_alpha"});
        app.Album().PluginManager().SetPluginFolders({program.str() + "/plugins"});
    }
    // A machine-wide store as an installer leaves it.
    void machineStore(const QString& application, const QString& key, int value)
    {
        Settings(application, Settings::Scope::Machine).writeInt("Settings", key, value);
    }
    // A stand-in setup program that records its arguments.
    void installSetupProgram()
    {
        const QString script = program.write(
            "morlune", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                       "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString waitForSetupArguments()
    {
        QElapsedTimer timer;
        timer.start();
        QFile args(program.file("args.txt"));
        while (!args.exists() && timer.elapsed() < 10000)
            QThread::msleep(20);
        return args.open(QIODevice::ReadOnly) ? QString::fromUtf8(args.readAll()) : QString();
    }

    SettingsSandbox sandbox;
    TestFolder program;
    ScriptedPrompter prompter;
    CGVApp app{prompter, program.path()};
};

} // namespace

TEST_F(GVAppTest, FirstRunWithoutCompanySettingsCopiesTheWholeCompany)
{
    machineStore("Gallivex", "JPEGQuality", 90);
    machineStore("Lumivex", "Zoom", 3);
    machineStore("HTML", "Columns", 5);
    ASSERT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
    EXPECT_EQ(Settings().getInt("Settings", "JPEGQuality", 0), 90);
    EXPECT_EQ(Settings("Lumivex").getInt("Settings", "Zoom", 0), 3);
    EXPECT_EQ(Settings("HTML").getInt("Settings", "Columns", 0), 5);
    EXPECT_EQ(Settings().getInt("Application", "Version", 0), 65539);
    EXPECT_EQ(app.ThumbnailSide(), 128);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(GVAppTest, FirstRunWithCompanySettingsCopiesOnlyTheAlbumBuildersTrees)
{
    Settings("Lumivex").writeInt("Settings", "Zoom", 1); // the user already has the editor
    machineStore("Gallivex", "JPEGQuality", 90);
    machineStore("SWF", "Speed", 2);
    machineStore("Lumivex", "Zoom", 3);
    machineStore("Quindle", "Copies", 4);
    ASSERT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
    EXPECT_EQ(Settings().getInt("Settings", "JPEGQuality", 0), 90);
    EXPECT_EQ(Settings("SWF").getInt("Settings", "Speed", 0), 2);
    EXPECT_EQ(Settings("Lumivex").getInt("Settings", "Zoom", 0), 1);
    EXPECT_FALSE(Settings("Quindle").exists());
}

TEST_F(GVAppTest, LaterRunsKeepTheUsersSettings)
{
    Settings().writeInt("Settings", "JPEGQuality", 50);
    machineStore("Gallivex", "JPEGQuality", 90);
    machineStore("Gallivex", "Recycle", 1);
    ASSERT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
    EXPECT_EQ(Settings().getInt("Settings", "JPEGQuality", 0), 50);
    EXPECT_FALSE(Settings().contains("Settings", "Recycle"));
}

TEST_F(GVAppTest, MissingPluginsEndTheStartWithTheInstallMessage)
{
    app.Album().PluginManager().SetPluginFolders({program.str() + "/nowhere"});
    EXPECT_EQ(app.InitInstance({"Trip.gvp"}), CGVApp::Start::Failed);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0],
              "Failed to initialize Gallivex. Application is not installed properly.");
}

TEST_F(GVAppTest, ThemePackagesGoToTheSetupProgramInAnyCase)
{
    installSetupProgram();
    const QString theme = program.path() + "/My Themes/Ocean.THM";
    ASSERT_EQ(app.InitInstance({theme}), CGVApp::Start::InstallTheme);
    EXPECT_EQ(waitForSetupArguments(), theme + "\n");
    EXPECT_TRUE(prompter.texts.isEmpty());
    app.ExitInstance();
}

TEST_F(GVAppTest, AMissingSetupProgramIsReported)
{
    ASSERT_EQ(app.InitInstance({"pack.Td"}), CGVApp::Start::InstallTheme);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].startsWith("The theme installer could not be started"));
}

TEST_F(GVAppTest, OtherFilesAreAlbumsToOpen)
{
    installSetupProgram();
    ASSERT_EQ(app.InitInstance({"/home/ann/Trip.gvp"}), CGVApp::Start::RunWizard);
    EXPECT_EQ(app.AlbumToOpen(), "/home/ann/Trip.gvp");
    EXPECT_FALSE(QFile::exists(program.file("args.txt")));
    ASSERT_EQ(app.Album().Plugins().size(), 1u);
}

TEST_F(GVAppTest, PageShortcuts)
{
    ASSERT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
    const int expected[7] = {285, 280, 0, 278, 0, 0, 287};
    for (int page = 0; page < 7; ++page)
        EXPECT_EQ(app.AcceleratorTableOf(page), expected[page]) << page;
    EXPECT_EQ(app.AcceleratorTableOf(7), 0);
    EXPECT_EQ(app.AcceleratorTableOf(-1), 0);

    const auto& welcome = acceleratorTable(285);
    ASSERT_EQ(welcome.size(), 2u);
    EXPECT_EQ(welcome[0].key, Qt::CTRL | Qt::Key_C);
    EXPECT_EQ(welcome[0].command, 32780);
    const auto& images = acceleratorTable(278);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[2].key, Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(images[2].command, 2116);
    EXPECT_TRUE(acceleratorTable(0).empty());
}

TEST_F(GVAppTest, ExitReleasesThePlugins)
{
    ASSERT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
    const std::string library = app.Album().Plugins()[0].libraryPath;
    app.ExitInstance();
    EXPECT_TRUE(app.Album().Plugins().empty());
    EXPECT_FALSE(platform::isModuleLoaded(library));
}
