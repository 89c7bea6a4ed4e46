// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstring>

#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include "shell/telmplatesel.h"
#include "shell/themechoice.h"
#include "tests/shell/sheetfixture.h"

namespace
{

const QString SelectTheme = QStringLiteral("Please select the theme to continue ");

class ThemePageTest : public SheetTest
{
protected:
    CTelmplateSel& themes() { return static_cast<CTelmplateSel&>(*sheet->Page(2)); }
    void openThemePage()
    {
        startSheet();
        walkTo(CAlbumSheet::ThemePage);
    }
    // The album's parameters as the properties page would have fetched them.
    void fetchParameters() { ASSERT_GE(app.Album().Parameters(nullptr), 0); }
    void next() { sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click(); }
};

} // namespace

TEST_F(ThemePageTest, TheTreeListsEveryPlugInWithItsTemplatesAndSelectsTheFirstTemplate)
{
    openThemePage();
    QTreeWidget& tree = themes().Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    QStringList shown;
    for (int i = 0; i < 2; ++i) {
        shown << tree.topLevelItem(i)->text(0);
        EXPECT_TRUE(tree.topLevelItem(i)->isExpanded());
    }
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"Alpha albums", "Beta albums"}));
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_NE(tree.currentItem()->parent(), nullptr);
    EXPECT_EQ(tree.currentItem()->text(0), QStringLiteral("Classic"));
    EXPECT_EQ(tree.iconSize(), QSize(24, 24));
}

TEST_F(ThemePageTest, NextWithAPlugInSelectedAsksForATheme)
{
    openThemePage();
    QTreeWidget& tree = themes().Tree();
    tree.setCurrentItem(tree.topLevelItem(0));
    next();
    EXPECT_EQ(prompter.texts.last(), SelectTheme);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
}

TEST_F(ThemePageTest, TheSameTemplateKeepsTheParametersAndTheAlbumUnchanged)
{
    openThemePage();
    next(); // Classic of the first plug-in
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    fetchParameters();
    const int32_t count = app.Album().ParameterList().size();
    ASSERT_GT(count, 0);
    app.Album().SetModified(false);
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    EXPECT_EQ(app.Album().ParameterList().size(), count);
    EXPECT_FALSE(app.Album().IsModified());
}

TEST_F(ThemePageTest, ClickingAPlugInKeepsTheParametersOfTheChosenTemplate)
{
    openThemePage();
    next(); // Classic of the first plug-in
    fetchParameters();
    const auto titleOf = [this]() -> GVParamInfo* {
        for (GVParamInfo& param : app.Album().ParameterList())
            if (std::strcmp(param.name.c_str(), "Title") == 0)
                return &param;
        return nullptr;
    };
    GVParamInfo* title = titleOf();
    ASSERT_NE(title, nullptr);
    title->values[0].value.text = "My own title";
    app.Album().SetModified(false);
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);

    // The user clicks the plug-in, then the same template again, and goes on.
    QTreeWidget& tree = themes().Tree();
    QTreeWidgetItem* classic = tree.currentItem();
    ASSERT_NE(classic, nullptr);
    QTreeWidgetItem* plugin = classic->parent();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(plugin).center());
    ASSERT_EQ(tree.currentItem(), plugin);
    EXPECT_EQ(app.Album().ParameterList().size(), 10);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(classic).center());
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    ASSERT_EQ(app.Album().ParameterList().size(), 10);
    ASSERT_NE(titleOf(), nullptr);
    EXPECT_STREQ(titleOf()->values[0].value.text.c_str(), "My own title");
    EXPECT_FALSE(app.Album().IsModified());
}

TEST_F(ThemePageTest, AnotherTemplateEmptiesTheParametersAndMarksTheAlbumModified)
{
    openThemePage();
    next();
    fetchParameters();
    app.Album().SetModified(false);
    const int32_t plugin = app.Album().PluginIndex();
    clickBack();
    ASSERT_TRUE(themes().SelectTemplate(plugin, 20));
    next();
    EXPECT_EQ(app.Album().TemplateId(), 20);
    EXPECT_EQ(app.Album().ParameterList().size(), 0);
    EXPECT_TRUE(app.Album().IsModified());
}

TEST_F(ThemePageTest, BackSkipsTheAlbumManagerOnlyForAFreshAlbum)
{
    openThemePage();
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::WelcomePage);
    // An album the album manager opened goes back there.
    savedProject();
    openFirstAlbumOfTheManager();
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
}

TEST_F(ThemePageTest, DoubleClickOnATemplateActsAsNext)
{
    openThemePage();
    QTreeWidget& tree = themes().Tree();
    Q_EMIT tree.itemDoubleClicked(tree.currentItem(), 0);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    EXPECT_GE(app.Album().TemplateId(), 0);
}

TEST_F(ThemePageTest, TheDownloadButtonOpensTheThemesShortcutThenTheMakersPage)
{
    openThemePage();
    themes().DownloadButton().click();
    ASSERT_EQ(opened.size(), 1); // no "themes.url" beside the program
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    program.write("themes.url", "[InternetShortcut]\r\nURL=https://themes.test/new\r\n");
    themes().DownloadButton().click();
    EXPECT_EQ(opened.last(), QUrl("https://themes.test/new"));
}

TEST_F(ThemePageTest, UninstallAsksFirstAndInstallRefillsTheTree)
{
    openThemePage();
    ThemeChoice choice(app.Album(), app.Host());
    prompter.answers = {Prompter::Answer::No};
    EXPECT_FALSE(choice.Uninstall(0, 10, "Classic", prompter));
    EXPECT_EQ(prompter.texts.last(),
              QStringLiteral("Are you sure you want to uninstall theme? Classic"));
    prompter.answers = {Prompter::Answer::Yes};
    EXPECT_TRUE(choice.Uninstall(0, 10, "Classic", prompter));
    EXPECT_TRUE(choice.Install(0, program.path()));
    EXPECT_FALSE(choice.Install(0, QString())); // the test plug-in refuses an empty folder
    EXPECT_FALSE(choice.Install(7, program.path()));
}

TEST_F(ThemePageTest, TheHtmlPluginsThemesShowTheirPreview)
{
    const QString library = QStringLiteral(GVTEST_HTML_PLUGIN_DIR "/libgvhtml.so");
    if (!QFileInfo::exists(library))
        GTEST_SKIP() << "the HTML plug-in is not built";
    qputenv("GALLIVEX_HTML_TEMPLATES", GVTEST_HTML_PLUGIN_DIR "/html/templates");
    qputenv("GALLIVEX_HTML_USER_TEMPLATES", program.file("usertemplates").toUtf8());
    app.Album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    useShippedGraphics();
    openThemePage();
    QTreeWidget& tree = themes().Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    ASSERT_GT(tree.topLevelItem(0)->childCount(), 0);
    EXPECT_FALSE(themes().PreviewArea().pixmap().isNull());
    sheet->show();
    saveScreenshot(*sheet, QStringLiteral("page2-theme-html"));
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
}

namespace
{

// The theme rules over a host of their own, without any window.
class ThemeChoiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installTestPlugins(plugins.path(), {"gvtest_alpha", "gvtest_empty"});
        album().PluginManager().SetPluginFolders({plugins.str()});
        ASSERT_TRUE(album().Initialise());
    }
    AlbumProject& album() { return host.Album(); }
    int32_t pluginNamed(const char* name)
    {
        for (size_t i = 0; i < album().Plugins().size(); ++i)
            if (QByteArray(album().Plugins()[i].GetName()) == name)
                return static_cast<int32_t>(i);
        return -1;
    }

    SettingsSandbox sandbox;
    TestFolder plugins;
    CGallivexImpl host;
    ThemeChoice choice{host.Album(), host};
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(ThemeChoiceTest, APlugInWithoutAnObjectIsListedWithoutTemplates)
{
    const std::vector<ThemePlugin> tree = choice.Tree();
    ASSERT_EQ(tree.size(), 2u);
    for (const ThemePlugin& plugin : tree) {
        if (plugin.index == pluginNamed("Alpha")) {
            ASSERT_EQ(plugin.templates.size(), 2u);
            EXPECT_EQ(plugin.templates[0].name, QStringLiteral("Classic"));
            EXPECT_EQ(plugin.templates[1].id, 20);
        } else {
            EXPECT_TRUE(plugin.templates.empty());
            EXPECT_EQ(choice.Preview(plugin.index, 10), QString());
        }
    }
}

TEST_F(ThemeChoiceTest, NextKeepsTheSameTemplateAndResetsForAnother)
{
    const int32_t alpha = pluginNamed("Alpha");
    EXPECT_EQ(choice.Next(alpha, 10, prompter), ThemeChoice::NextResult::Changed);
    EXPECT_TRUE(album().IsModified());
    ASSERT_GE(album().Parameters(nullptr), 0);
    const int32_t count = album().ParameterList().size();
    album().SetModified(false);
    EXPECT_EQ(choice.Next(alpha, 10, prompter), ThemeChoice::NextResult::Kept);
    EXPECT_EQ(album().ParameterList().size(), count);
    EXPECT_FALSE(album().IsModified());
    EXPECT_EQ(choice.Next(alpha, 20, prompter), ThemeChoice::NextResult::Changed);
    EXPECT_EQ(album().ParameterList().size(), 0);
    EXPECT_EQ(album().TemplateId(), 20);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(ThemeChoiceTest, NextWithoutATemplateOrWithAnUnknownPlugInAsksForATheme)
{
    EXPECT_EQ(choice.Next(pluginNamed("Alpha"), -1, prompter), ThemeChoice::NextResult::NeedTheme);
    EXPECT_EQ(choice.Next(9, 10, prompter), ThemeChoice::NextResult::NeedTheme);
    EXPECT_EQ(choice.Next(-1, -1, prompter), ThemeChoice::NextResult::NeedTheme);
    EXPECT_EQ(prompter.texts, QStringList(3, SelectTheme));
    EXPECT_EQ(album().PluginIndex(), -1);
}

TEST_F(ThemeChoiceTest, BackSkipsTheAlbumManagerForAFreshAlbum)
{
    EXPECT_EQ(choice.BackTarget(), 0);
    album().SetFresh(false);
    EXPECT_EQ(choice.BackTarget(), 1);
}
