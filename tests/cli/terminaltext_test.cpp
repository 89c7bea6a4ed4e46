// SPDX-License-Identifier: GPL-2.0-or-later
// What the command-line programs write to a terminal: texts from photos, plug-ins, themes
// and the command line may hold control characters that would drive the terminal; they are
// shown as escapes there and passed on as they are to files and pipes.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/terminal.h"
#include "tests/cli/clirun.h"

namespace
{

TEST(TerminalText, ControlCharactersBecomeEscapes)
{
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {"plain text", "plain text"},
        {"two\nlines\tand a tab", "two\nlines\tand a tab"},
        {"windows\r\nbreaks\r\n", "windows\nbreaks\n"},
        {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
        {"back\rover\b\x7f", "back\\x0dover\\x08\\x7f"},
        {QString("c1 ") + QChar(0x9b) + "31m", "c1 \\u009b31m"},
        {QString::fromUtf8("Zürich – 東京"), QString::fromUtf8("Zürich – 東京")},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::escapeControls(c.text), c.shown) << c.text.toStdString();
}

TEST(TerminalText, InfoAndMorluneEscapeOnATerminalOnly)
{
    CliHome home;
    TestFolder folder;
    const QString photo = folder.file("sky\x1b[2J.jpg");
    ASSERT_TRUE(QFile::copy(sharedTestData("photos/exs-Canon_40D.jpg"), photo));

    const CliResult shown = home.runOnTerminal("gallivex-cli", {"info", photo});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(shown.out.contains("Title: sky\\x1b[2J.jpg\n")) << shown.out.toStdString();
    EXPECT_FALSE(shown.out.contains(QChar(0x1b)));
    // Piped, the text is passed on as it is.
    EXPECT_TRUE(home.run("gallivex-cli", {"info", photo}).out.contains("Title: sky\x1b[2J.jpg\n"));

    const CliResult missing =
        home.runOnTerminal("gallivex-cli", {"info", folder.file("gone\x1b]0;owned\x07.jpg")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.contains("gone\\x1b]0;owned\\x07.jpg")) << missing.out.toStdString();
    EXPECT_FALSE(missing.out.contains(QChar(0x1b)));

    const CliResult theme = home.runOnTerminal("morlune", {folder.file("red\x1b[31m.thm")});
    EXPECT_EQ(theme.exitCode, 1);
    EXPECT_TRUE(theme.out.contains("red\\x1b[31m.thm")) << theme.out.toStdString();
    EXPECT_FALSE(theme.out.contains(QChar(0x1b)));
}

TEST(TerminalText, ThemesEscapesLibraryNamesOnATerminal)
{
    CliHome home;
    TestFolder plugins;
    installTestPlugins(plugins.path(), {"gvtest_alpha"});
    ASSERT_TRUE(QFile::copy(testPluginPath("gvtest_notaplugin"), plugins.file("libbad\x1b[5m.so")));
    const CliResult shown =
        home.runOnTerminal("gallivex-cli", {"themes", "--plugins", plugins.path()});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(shown.out.contains("libbad\\x1b[5m.so")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("Alpha"));
    EXPECT_FALSE(shown.out.contains(QChar(0x1b)));
}

} // namespace
