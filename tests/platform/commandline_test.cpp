// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "shell/commandline.h"

TEST(CommandLine, FirstFileIsOpenedAndSwitchesAreRecognised)
{
    CommandLineInfo none = CommandLineInfo::parse({});
    EXPECT_EQ(none.command, CommandLineInfo::FileNew);
    EXPECT_TRUE(none.showSplash);

    CommandLineInfo open = CommandLineInfo::parse({"/home/ann/Albums/Trip.gvp", "second.gvp"});
    EXPECT_EQ(open.command, CommandLineInfo::FileOpen);
    EXPECT_EQ(open.fileName, "/home/ann/Albums/Trip.gvp"); // a path, not a switch

    CommandLineInfo quiet = CommandLineInfo::parse({"/NOLOGO", "Trip.gvp"});
    EXPECT_FALSE(quiet.showSplash);
    EXPECT_EQ(quiet.fileName, "Trip.gvp");
    EXPECT_FALSE(CommandLineInfo::parse({"-nologo"}).showSplash);
    EXPECT_EQ(CommandLineInfo::parse({"-nologo"}).command, CommandLineInfo::FileNew);
}

TEST(CommandLine, ThemePackagesInAnyCase)
{
    for (const char* name : {"blue.thm", "Blue.THM", "x.Thm", "pack.td", "PACK.TD", "a.tD"})
        EXPECT_TRUE(CommandLineInfo::isThemeFile(name)) << name;
    for (const char* name : {"album.gvp", "thm", "a.thm.gvp", "a.tdx", "td", "a.th"})
        EXPECT_FALSE(CommandLineInfo::isThemeFile(name)) << name;
}
