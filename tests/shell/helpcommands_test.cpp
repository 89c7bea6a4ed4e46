// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QUrlQuery>

#include "platform/dialogchoosers.h"
#include "shell/helpcommands.h"
#include "tests/support/testenv.h"

namespace
{

class HelpCommandsTest : public ::testing::Test
{
protected:
    TestFolder program;
    HelpCommands help{program.path(), [this](const QUrl& url) {
                          opened << url;
                          return browserWorks;
                      }};
    QList<QUrl> opened;
    bool browserWorks = true;
};

} // namespace

TEST_F(HelpCommandsTest, EachPageHasItsTopic)
{
    const QStringList topics = {"welcome",    "modify",   "selecttheme", "selectimages",
                                "setaparams", "generate", "final"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(HelpCommands::HelpTopic(i), "::/wizard/" + topics[i] + ".html");
    EXPECT_EQ(HelpCommands::HelpTopic(7), QString());
    EXPECT_EQ(help.HelpFile("::/wizard/final.html"), program.file("help/gv/wizard/final.html"));
}

TEST_F(HelpCommandsTest, ContentsFallBackToTheShortcutThenToTheWeb)
{
    EXPECT_TRUE(help.ShowContents(0)); // no help page, no shortcut: the maker's help
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    program.write("Online Help.url", "[InternetShortcut]\nURL=https://help.test/gv\n");
    help.ShowContents(0);
    EXPECT_EQ(opened.last(), QUrl("https://help.test/gv"));
    program.write("help/gv/wizard/welcome.html", "<html></html>");
    help.ShowContents(0);
    EXPECT_EQ(opened.last(), QUrl::fromLocalFile(program.file("help/gv/wizard/welcome.html")));
}

TEST_F(HelpCommandsTest, AFailingBrowserTriesEveryAddressInLine)
{
    browserWorks = false;
    program.write("help/gv/wizard/modify.html", "<html></html>");
    program.write("Online Help.url", "[InternetShortcut]\nURL=https://help.test/gv\n");
    EXPECT_FALSE(help.ShowContents(1));
    EXPECT_EQ(opened.size(), 3);
    opened.clear();
    EXPECT_FALSE(help.ShowOnlineSupport()); // no "Support.url": only the web page
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(HelpCommandsTest, TheSupportMailNamesTheProductAndVersion)
{
    help.SendSupportMail();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue("subject", QUrl::FullyDecoded),
              QStringLiteral("Technical Support Vellora Gallivex Basic 3.6  Version: 3, 6, 603"));
}

TEST_F(HelpCommandsTest, ShortcutFilesWithoutAnAddressGiveNone)
{
    EXPECT_TRUE(HelpCommands::ShortcutTarget(program.file("missing.url")).isEmpty());
    const QString empty = program.write("empty.url", "[InternetShortcut]\n");
    EXPECT_TRUE(HelpCommands::ShortcutTarget(empty).isEmpty());
}

TEST(DialogChoosers, StringTableFiltersBecomeDialogFilters)
{
    EXPECT_EQ(DialogChoosers::dialogFilter("Gallivex albums (*.gvp)|*.gvp||"),
              QStringLiteral("Gallivex albums (*.gvp)"));
    EXPECT_EQ(DialogChoosers::dialogFilter("JPEG (*.jpg;*.jpe)|*.jpg;*.jpe|GIF (*.gif)|*.gif||"),
              QStringLiteral("JPEG (*.jpg *.jpe);;GIF (*.gif)"));
    EXPECT_EQ(DialogChoosers::dialogFilter("Pictures (*.png)"), QStringLiteral("Pictures (*.png)"));
}
