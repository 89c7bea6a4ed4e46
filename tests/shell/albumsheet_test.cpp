// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTest>
#include <QTreeWidget>

#include "album/projectfile.h"
#include "controls/imagebutton.h"
#include "platform/settings.h"
#include "shell/aboutdlg.h"
#include "shell/albumintro.h"
#include "shell/telmplatesel.h"
#include "tests/shell/sheetfixture.h"

namespace
{

const QString ExitQuestion = QStringLiteral("Exit Gallivex now?");
const QString OpenFailed = QStringLiteral(
    "Error occured while opening album.\n\nFile is corrupted or unsupported version.");

using AlbumSheetTest = SheetTest;

} // namespace

TEST_F(AlbumSheetTest, TheSheetHoldsTheSevenPagesInOrderAtLeastAtItsDesignedSize)
{
    CAlbumSheet& wizard = startSheet();
    const QStringList classes = {"CAlbumIntro",  "COpenAlbum", "CTelmplateSel", "CAddImageDlg",
                                 "CControlsDlg", "CSaveAlbum", "CFinalPage"};
    ASSERT_EQ(wizard.PageCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(QString::fromLatin1(wizard.Page(i)->metaObject()->className()), classes[i]);
        EXPECT_EQ(wizard.Page(i)->PageIndex(), i);
        EXPECT_EQ(wizard.Page(i)->size(), QSize(593, 496));
    }
    EXPECT_EQ(wizard.size(), QSize(598, 548));
    wizard.show();
    wizard.resize(700, 300); // never smaller than designed
    EXPECT_EQ(wizard.size(), QSize(700, 548));
    EXPECT_EQ(wizard.Page(0)->size(), QSize(695, 496));
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Vellora Gallivex Basic 3.6"));
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::WelcomePage);
}

TEST_F(AlbumSheetTest, MissingStepPicturesAreReportedOnceAndTheWizardStillRuns)
{
    CAlbumSheet& wizard = startSheet();
    EXPECT_EQ(prompter.texts.count(QStringLiteral("Error loading image")), 1);
    EXPECT_TRUE(wizard.StepPicture(0).isNull());
}

TEST_F(AlbumSheetTest, AnAlbumOnTheCommandLineOpensOnTheThemePage)
{
    const QString project = savedProject();
    CAlbumSheet& wizard = startSheet({project});
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_EQ(app.Album().PluginIndex(), 0);
    EXPECT_EQ(app.Album().TemplateId(), 20);
    auto& themes = static_cast<CTelmplateSel&>(*wizard.Page(CAlbumSheet::ThemePage));
    ASSERT_NE(themes.Tree().currentItem(), nullptr);
    EXPECT_EQ(themes.Tree().currentItem()->text(0), QStringLiteral("Grid"));
    EXPECT_FALSE(prompter.texts.contains(OpenFailed));
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Vellora Gallivex Basic 3.6"));
}

TEST_F(AlbumSheetTest, ACorruptAlbumOnTheCommandLineIsReportedAndTheWelcomePageStays)
{
    const QString corrupt = program.write("broken.gvp", QByteArray("<album><unclosed"));
    CAlbumSheet& wizard = startSheet({corrupt});
    EXPECT_TRUE(prompter.texts.contains(OpenFailed));
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::WelcomePage);
}

TEST_F(AlbumSheetTest, CancelAsksAndNoKeepsTheWizardAsItWas)
{
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    walkTo(CAlbumSheet::ThemePage);
    prompter.answers = {Prompter::Answer::No};
    wizard.Button(CMyPropertySheet::IDCANCEL)->click();
    EXPECT_EQ(prompter.texts.last(), ExitQuestion);
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::ThemePage);
    prompter.answers = {Prompter::Answer::Yes};
    wizard.close(); // the window's close button asks the same
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
}

TEST_F(AlbumSheetTest, NextAndBackPassThroughEveryPageToFinish)
{
    CAlbumSheet& wizard = startSheet();
    walkTo(CAlbumSheet::FinalPage);
    EXPECT_TRUE(wizard.Button(CMyPropertySheet::ID_WIZFINISH)->isVisibleTo(&wizard));
    EXPECT_FALSE(wizard.Button(CMyPropertySheet::ID_WIZNEXT)->isVisibleTo(&wizard));
    wizard.Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::GenerationPage);
    EXPECT_TRUE(wizard.Button(CMyPropertySheet::ID_WIZNEXT)->isVisibleTo(&wizard));
}

TEST_F(AlbumSheetTest, EachPageHasTheShortcutsOfItsTable)
{
    CAlbumSheet& wizard = startSheet();
    auto keysOf = [&](int page) {
        QStringList keys;
        for (const QShortcut* shortcut : wizard.Page(page)->findChildren<QShortcut*>())
            keys << shortcut->key().toString();
        keys.sort();
        return keys;
    };
    EXPECT_EQ(keysOf(0), (QStringList{"Ctrl+C", "Ctrl+O"}));
    EXPECT_EQ(keysOf(2), QStringList());
    EXPECT_EQ(keysOf(3), (QStringList{"Ctrl+A", "Ctrl+Z", "F2"}));
    EXPECT_EQ(keysOf(6), (QStringList{"Ctrl+C", "Ctrl+E"}));
}

TEST_F(AlbumSheetTest, TheHelpMenuOffersItsSixCommandsWithContentsFirst)
{
    CAlbumSheet& wizard = startSheet();
    tipsShown = 0; // the tip at start-up
    std::unique_ptr<QMenu> menu(wizard.BuildHelpMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts,
              (QStringList{"&Help Contents", "Ti&p of the day...", "&What's new...",
                           "&Online support (web)", "&Technical support (e-mail)", "&About..."}));
    EXPECT_EQ(menu->defaultAction(), menu->actions().first());
    menu->actions()[1]->trigger();
    menu->actions()[5]->trigger();
    EXPECT_EQ(tipsShown, 1);
    EXPECT_EQ(aboutShown, 1);
}

TEST_F(AlbumSheetTest, HelpContentsOpensThePageOfTheActiveStep)
{
    QDir().mkpath(program.file("help/gv/wizard"));
    program.write("help/gv/wizard/generate.html", "<html></html>");
    CAlbumSheet& wizard = startSheet();
    walkTo(CAlbumSheet::GenerationPage);
    wizard.OnHelpCommand(CMyPropertySheet::ID_HELP_CONTENTS);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(program.file("help/gv/wizard/generate.html")));
}

TEST_F(AlbumSheetTest, TheTipOfTheDayAtStartUpFollowsTheUsersSetting)
{
    Settings().writeInt("Tip", "StartUp", 1); // the user turned the tips off
    startSheet();
    EXPECT_EQ(tipsShown, 0);
    sheet.reset();
    Settings().writeInt("Tip", "StartUp", 0);
    CAlbumSheet& wizard = makeSheet();
    wizard.Start();
    settle();
    EXPECT_EQ(tipsShown, 1);
    chooseOnWelcome(false);
    clickBack(); // only the first showing of the welcome page
    settle();
    EXPECT_EQ(tipsShown, 1);
    std::unique_ptr<QMenu> menu(wizard.BuildSystemMenu());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&Show tip of the day"));
    menu->actions()[0]->trigger();
    settle();
    EXPECT_EQ(tipsShown, 2);
}

TEST_F(AlbumSheetTest, NoLogoOnTheCommandLineKeepsTheTipAway)
{
    startSheet({"/nologo"}); // tips are on by default
    EXPECT_EQ(tipsShown, 0);
}

TEST_F(AlbumSheetTest, ASupportMailThatCannotBeSentTellsWhereToWrite)
{
    CAlbumSheet& wizard = startSheet();
    openSucceeds = false;
    wizard.OnHelpCommand(CMyPropertySheet::ID_MAIL_SUPPORT);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(prompter.texts.last().startsWith(QStringLiteral("Failed to send mail.")));
    EXPECT_TRUE(prompter.texts.last().contains(opened[0].path()));
}

TEST_F(AlbumSheetTest, TheAboutBoxNamesTheProductAndItsSupportButtonOpensTheSupportPage)
{
    CAlbumSheet& wizard = startSheet();
    std::unique_ptr<QMenu> menu(wizard.BuildSystemMenu());
    menu->actions()[1]->trigger();
    EXPECT_EQ(aboutShown, 1);
    CAboutDlg about(
        app.GetSkin(), [&] { wizard.Help().ShowOnlineSupport(); }, &wizard);
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Vellora Gallivex Basic 3.6")));
    EXPECT_TRUE(texts.contains(QStringLiteral("3, 6, 603")));
    about.SupportButton().click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
}

TEST_F(AlbumSheetTest, UnsavedChangesMakeCancelEscAndCloseAskToSaveWithCancelTheDefault)
{
    const QString SaveFirst = QStringLiteral(
        "Your album has changes that are not saved.\n\nSave them before Gallivex closes?");
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    walkTo(CAlbumSheet::ImageListPage);
    addPhotosThroughAdd({}); // one photo on the page, not yet in the album
    prompter.texts.clear();
    wizard.Button(CMyPropertySheet::IDCANCEL)->click(); // nothing scripted: the default
    EXPECT_EQ(prompter.texts, QStringList{SaveFirst});
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::ImageListPage);
    EXPECT_EQ(app.Album().Images().size(), 1u); // the page's photo reached the album
    QTest::keyClick(&wizard, Qt::Key_Escape);
    wizard.close();
    EXPECT_EQ(prompter.texts, (QStringList{SaveFirst, SaveFirst, SaveFirst}));
    EXPECT_TRUE(wizard.isVisible());
    prompter.answers = {Prompter::Answer::No}; // Don't save
    wizard.close();
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_FALSE(app.Album().HasProjectFile());
}

TEST_F(AlbumSheetTest, SaveOnLeavingWritesTheAlbumAsTheWizardDoesAndThenCloses)
{
    TestFolder projects;
    Settings().writeString("Paths", "ProjectPath", projects.path());
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    walkTo(CAlbumSheet::PropertiesPage);
    prompter.answers = {Prompter::Answer::Yes}; // Save
    wizard.Button(CMyPropertySheet::IDCANCEL)->click();
    EXPECT_FALSE(wizard.isVisible());
    ASSERT_TRUE(app.Album().HasProjectFile());
    EXPECT_FALSE(app.Album().IsModified());
    const QString saved = QString::fromUtf8(app.Album().ProjectPath().c_str());
    EXPECT_TRUE(saved.startsWith(projects.path())) << saved.toStdString();
    // The project reads back with its photo.
    ScriptedPrompter quiet;
    CGVApp reader(quiet, program.path());
    reader.Album().PluginManager().SetPluginFolders({program.str() + "/plugins"});
    ASSERT_EQ(reader.InitInstance({}), CGVApp::Start::RunWizard);
    ProjectFile file(reader.Album(), quiet, choosers);
    EXPECT_EQ(file.OpenProject(saved.toUtf8().constData(), false), 0);
    EXPECT_EQ(reader.Album().Images().size(), 1u);
    reader.ExitInstance();
}

TEST_F(AlbumSheetTest, ASaveThatDoesNotHappenKeepsTheWizardOpen)
{
    // No projects folder can be made and the user declines to choose a file.
    Settings().writeString("Paths", "ProjectPath", program.write("not-a-folder", "x"));
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    walkTo(CAlbumSheet::ImageListPage);
    addPhotosThroughAdd({});
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::No};
    wizard.Button(CMyPropertySheet::IDCANCEL)->click();
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_TRUE(app.Album().IsModified());
}

TEST_F(AlbumSheetTest, AltBAndAltNGoBackAndOnAsTheCaptionsPromise)
{
    useShippedGraphics(); // the skinned buttons, whose captions are pictures
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    wizard.activateWindow();
    QApplication::setActiveWindow(&wizard);
    settle();
    ASSERT_TRUE(qobject_cast<CImageButton*>(wizard.Button(CMyPropertySheet::ID_WIZNEXT)));
    auto press = [&](Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : &wizard, key, Qt::AltModifier);
        QTest::qWait(250); // the button shows itself pressed for a moment, then clicks
        settle();
    };
    press(Qt::Key_N);
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::ThemePage);
    press(Qt::Key_B);
    EXPECT_EQ(wizard.GetActiveIndex(), CAlbumSheet::WelcomePage);
    EXPECT_EQ(wizard.Button(CMyPropertySheet::ID_WIZBACK)->accessibleName(), QStringLiteral("Back"));
    EXPECT_EQ(wizard.Button(CMyPropertySheet::ID_WIZNEXT)->accessibleName(), QStringLiteral("Next"));
}
