// SPDX-License-Identifier: GPL-2.0-or-later
// morlune, the theme installer, as a real process over stand-in packages and the test
// plug-ins (whose "InstallTemplate" takes whatever it is given, or refuses everything).
#include <gtest/gtest.h>

#include "cli/themeinstaller.h"
#include "tests/cli/clirun.h"

namespace
{

CPluginInfo named(const char* name)
{
    CPluginInfo info;
    info.SetName(name);
    return info;
}

TEST(ThemeInstaller, TheHtmlPluginIsAskedFirst)
{
    EXPECT_EQ(ThemeInstaller::InstallOrder({named("Alpha"), named("HTML"), named("Beta")}),
              (std::vector<size_t>{1, 0, 2}));
    EXPECT_EQ(ThemeInstaller::InstallOrder({named("Alpha"), named("Beta")}),
              (std::vector<size_t>{0, 1}));
    EXPECT_EQ(ThemeInstaller::InstallOrder({named("Alpha"), named("html")}),
              (std::vector<size_t>{1, 0}));
    EXPECT_TRUE(ThemeInstaller::InstallOrder({}).empty());
}

TEST(ThemeInstaller, ThemeFileNames)
{
    const std::pair<const char*, bool> cases[] = {
        {"sunset.thm", true},      {"SUNSET.THM", true}, {"a.Td", true},   {"/x/y.td", true},
        {"sunset.thm.zip", false}, {"thm", false},       {"a.tdx", false}, {"", false},
    };
    for (const auto& [name, theme] : cases)
        EXPECT_EQ(ThemeInstaller::IsThemeFile(name), theme) << name;
}

class MorluneTest : public ::testing::Test
{
protected:
    CliResult morlune(const QStringList& plugins, const QStringList& arguments)
    {
        const QString folder = work.file("plugins-" + plugins.join('-'));
        installTestPlugins(folder, plugins);
        return home.run("morlune", QStringList{"--plugins", folder} + arguments);
    }

    CliHome home;
    TestFolder work;
};

TEST_F(MorluneTest, ThePluginThatTakesThePackageInstallsIt)
{
    const QString package = work.write("Sunset.THM", "a stand-in package");
    const struct {
        QStringList plugins;
        int exitCode;
        QString out;
        QString err;
    } cases[] = {
        {{"gvtest_probe", "gvtest_alpha"}, 0, "with the plug-in \"Alpha albums\" (Alpha)", ""},
        {{"gvtest_alpha", "gvtest_html"}, 0, "with the plug-in \"HTML albums\" (HTML)", ""},
        {{"gvtest_probe"},
         1,
         "",
         "no installed plug-in could install \"" + package + "\"\n  Host probe: Unexpected error"},
        {{}, 1, "", "no installed plug-in could install"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plugins.join(' ').toStdString());
        const CliResult run = morlune(c.plugins, {package});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (!c.out.isEmpty()) {
            EXPECT_TRUE(run.out.contains("Installed \"" + package + "\" " + c.out))
                << run.out.toStdString();
            EXPECT_TRUE(run.out.contains("No new theme appeared")) << run.out.toStdString();
        }
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    }
}

TEST_F(MorluneTest, RefusesWhatIsNoThemePackage)
{
    const QString zip = work.write("sunset.zip", "not a theme");
    const QString descriptor = work.write("sunset.td", "a descriptor");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{zip}, 1, "is no theme package (.thm or .td)"},
        {{work.file("gone.thm")}, 1, "there is no theme package"},
        {{}, 2, "usage: morlune"},
        {{descriptor, zip}, 2, "usage: morlune"},
        {{"--colour", descriptor}, 2, "unknown option --colour"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = morlune({"gvtest_alpha"}, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    const CliResult help = home.run("morlune", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: morlune"));
    const CliResult td = morlune({"gvtest_alpha"}, {descriptor});
    EXPECT_EQ(td.exitCode, 0) << td.err.toStdString();
}

} // namespace
