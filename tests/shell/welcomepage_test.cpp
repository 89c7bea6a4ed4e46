// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "controls/imagebutton.h"
#include "platform/settings.h"
#include "shell/albumintro.h"
#include "shell/welcomechoice.h"
#include "tests/shell/sheetfixture.h"

namespace
{

class WelcomePageTest : public SheetTest
{
protected:
    CAlbumIntro& welcome() { return static_cast<CAlbumIntro&>(*sheet->Page(0)); }
    int storedCreateNew() { return Settings().getInt("Settings", "CreateNew", -5); }
    // A key as the window system delivers it to the wizard's window, shortcuts first.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : sheet.get(), key, modifiers);
        settle();
    }
    void enterGoesOn();
    void doubleClick(QAbstractButton& button)
    {
        const QPointF centre = QPointF(button.rect().center());
        QMouseEvent event(QEvent::MouseButtonDblClick, centre, button.mapToGlobal(centre),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &event);
    }
};

} // namespace

TEST(WelcomeChoice, NewAlbumsSkipTheAlbumManagerAndStartAfresh)
{
    SettingsSandbox sandbox;
    Settings settings;
    WelcomeChoice choice(settings);
    EXPECT_TRUE(choice.StoredCreateNew()); // the default
    AlbumProject album;
    album.SetDestination("/somewhere");
    EXPECT_EQ(choice.Next(true, album), WelcomeChoice::ThemePage);
    EXPECT_STREQ(album.Destination().c_str(), "");
    EXPECT_TRUE(album.IsFresh());
    EXPECT_EQ(settings.getInt("Settings", "CreateNew", -1), 1);
    EXPECT_EQ(choice.Next(false, album), WelcomeChoice::AlbumManagerPage);
    EXPECT_EQ(settings.getInt("Settings", "CreateNew", -1), 0);
    EXPECT_FALSE(choice.StoredCreateNew());
    settings.writeInt("Settings", "CreateNew", -3); // below 1 means an existing album
    EXPECT_FALSE(choice.StoredCreateNew());
}

TEST_F(WelcomePageTest, TheStoredChoiceIsCheckedAndOnlyNextIsEnabled)
{
    Settings().writeInt("Settings", "CreateNew", 0);
    startSheet();
    EXPECT_FALSE(welcome().CreateNewButton().isChecked());
    EXPECT_TRUE(welcome().OpenExistingButton().isChecked());
    EXPECT_EQ(welcome().CreateNewButton().toolTip(),
              QStringLiteral("Check to start creating new album  (Ctrl+C)"));
    EXPECT_EQ(welcome().OpenExistingButton().toolTip(),
              QStringLiteral("Check to open existing album (Ctrl+O)"));
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZNEXT)->isEnabled());
    EXPECT_FALSE(sheet->Button(CMyPropertySheet::ID_WIZBACK)->isEnabled());
    sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    EXPECT_EQ(storedCreateNew(), 0);
}

TEST_F(WelcomePageTest, ClickingTheCheckedChoiceKeepsExactlyOneOn)
{
    startSheet();
    welcome().CreateNewButton().click();
    EXPECT_TRUE(welcome().CreateNewButton().isChecked());
    EXPECT_FALSE(welcome().OpenExistingButton().isChecked());
    welcome().OpenExistingButton().click();
    EXPECT_FALSE(welcome().CreateNewButton().isChecked());
    EXPECT_TRUE(welcome().OpenExistingButton().isChecked());
}

TEST_F(WelcomePageTest, NewAlbumGoesToTheThemePageWithAFreshAlbum)
{
    startSheet();
    app.Album().ChooseTemplate(0, 20);
    app.Album().MarkModified();
    sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_EQ(storedCreateNew(), 1);
    EXPECT_FALSE(app.Album().IsModified());
    EXPECT_TRUE(app.Album().IsFresh());
    EXPECT_EQ(app.Album().Plugins().size(), 2u); // listed again
    // The fresh album skips the album manager on the way back too.
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::WelcomePage);
}

TEST_F(WelcomePageTest, ShortcutsChooseAndGoAtOnce)
{
    startSheet();
    EXPECT_TRUE(welcome().OnCommand(CAlbumIntro::ID_OPEN_EXISTING));
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    EXPECT_EQ(storedCreateNew(), 0);
    clickBack();
    EXPECT_TRUE(welcome().OnCommand(CAlbumIntro::ID_CREATE_NEW));
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_EQ(storedCreateNew(), 1);
    EXPECT_FALSE(welcome().OnCommand(32782)); // another page's command
}

TEST_F(WelcomePageTest, DoubleClickChoosesAndGoes)
{
    startSheet();
    doubleClick(welcome().OpenExistingButton());
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    clickBack();
    doubleClick(welcome().CreateNewButton());
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
}

TEST_F(WelcomePageTest, ComingBackShowsTheStoredChoiceAgain)
{
    startSheet(); // CreateNew is 1 by default
    chooseOnWelcome(true);
    clickBack();
    EXPECT_TRUE(welcome().CreateNewButton().isChecked());
    EXPECT_FALSE(welcome().OpenExistingButton().isChecked());
    chooseOnWelcome(false);
    clickBack();
    EXPECT_FALSE(welcome().CreateNewButton().isChecked());
    EXPECT_TRUE(welcome().OpenExistingButton().isChecked());
}

TEST_F(WelcomePageTest, OnlyTheShownPagesKeysWork)
{
    startSheet();
    sheet->show();
    sheet->activateWindow();
    QApplication::setActiveWindow(sheet.get());
    settle();
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    // Ctrl+C belongs to the welcome page and to the final page; neither is shown now.
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    clickBack();
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
}

void WelcomePageTest::enterGoesOn()
{
    startSheet();
    sheet->show();
    QApplication::setActiveWindow(sheet.get());
    welcome().OpenExistingButton().click();
    welcome().OpenExistingButton().setFocus();
    press(Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->setFocus();
    press(Qt::Key_Enter, Qt::KeypadModifier); // the focused Back button
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::WelcomePage);
}

TEST_F(WelcomePageTest, EnterGoesOnWithTheCheckedChoice)
{
    enterGoesOn();
}

TEST_F(WelcomePageTest, EnterGoesOnWithTheSkinnedChoices)
{
    useShippedGraphics();
    enterGoesOn();
    EXPECT_NE(qobject_cast<CImageButton*>(&welcome().CreateNewButton()), nullptr);
}
