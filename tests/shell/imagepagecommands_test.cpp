// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page's keys, its context menu, the photo editor and print program it starts,
// and the editor's "saved" message.
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "images/imageedits.h"
#include "platform/settings.h"
#include "shell/imagesavedlistener.h"
#include "shell/myimage.h"
#include "tests/shell/imagepagefixture.h"

TEST_F(ImagePageTest, TheKeysOfThePage)
{
    openPage();
    chooser->files = {photo("exs-Nikon_D70.jpg", "a.jpg"), photo("mdi-mspaint-10x10.gif", "b.gif")};
    // The page's shortcut table works in the active window.
    sheet->show();
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    page().PathList().setFocus();
    QTest::keyClick(&page().PathList(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(page().Rows().Size(), 2u);
    page().SelectRows({0});
    page().OnCommand(CAddImageDlg::ID_ROTATE_LEFT);
    EXPECT_EQ(orientationIn(photos.file("a.jpg")), 8);
    QTest::keyClick(&page().PathList(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(orientationIn(photos.file("a.jpg")), 1);
    EXPECT_FALSE(page().Edits().HasBackups());
    prompter.answers = {Prompter::Answer::Yes};
    QTest::keyClick(&page().TitleList(), Qt::Key_Delete);
    ASSERT_EQ(page().Rows().Size(), 1u);
    EXPECT_EQ(page().Rows().Rows()[0].title, QStringLiteral("b.gif"));
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{0});
}

TEST_F(ImagePageTest, TheContextMenuOffersWhatCanBeDone)
{
    openPage();
    addThree();
    page().SelectRows({0});
    const auto texts = [](QMenu& menu) {
        QStringList shown;
        for (QAction* action : menu.actions())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return shown;
    };
    auto menu = page().BuildContextMenu();
    EXPECT_EQ(texts(*menu),
              (QStringList{"&Rotate 90", "R&otate 180", "Ro&tate 270", "&Auto Levels"}));
    EXPECT_TRUE(menu->actions()[1]->isEnabled());
    page().OnCommand(CAddImageDlg::ID_MENU_ROTATE_270);
    Settings("Quindle").writeString(QString(), "Program path", program.path());
    menu = page().BuildContextMenu();
    EXPECT_EQ(texts(*menu), (QStringList{"&Rotate 90", "R&otate 180", "Ro&tate 270", "&Auto Levels",
                                         "-", "&Print", "-", "&Undo previous"}));
    page().SelectRows({});
    menu = page().BuildContextMenu();
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
}

TEST_F(ImagePageTest, TheEditorStartsOnlyWhenItIsInstalled)
{
    openPage();
    addThree();
    page().SelectRows({0});
    Settings("Lumivex").writeString(QString(), "Program path", program.path());
    back();
    clickNext();
    page().SelectRows({0});
    // The setting alone is not enough: the program itself is not there.
    EXPECT_FALSE(page().Button(CAddImageDlg::ID_ENHANCE)->isEnabled());
    page().OnCommand(CAddImageDlg::ID_ENHANCE);
    EXPECT_TRUE(started.isEmpty());

    program.write("Lumivex.exe", "#!/bin/sh\n");
    back();
    clickNext();
    page().SelectRows({0, 2});
    page().SelectRows({1});
    EXPECT_TRUE(page().Button(CAddImageDlg::ID_ENHANCE)->isEnabled());
    page().SelectRows({0, 2});
    page().OnCommand(CAddImageDlg::ID_ENHANCE);
    ASSERT_EQ(started.size(), 1);
    const QString list =
        temporary.file(QStringLiteral("qd_") + QString::fromUtf8(app.Album().AlbumName().c_str()));
    EXPECT_EQ(started[0], (QStringList{program.file("Lumivex.exe"), "\\b" + list,
                                       "\\w" + page().ListenerId()}));
    EXPECT_EQ(bytesOf(list), (photos.file("a.jpg") + "\n" + photos.file("c.gif") + "\n").toUtf8());
}

TEST_F(ImagePageTest, TheEditorsSavedMessageReloadsThePreview)
{
    openPage();
    chooser->files = {photo("mdi-photoshop-8x12-rgb24.png", "tall.png")};
    page().OnCommand(CAddImageDlg::ID_ADD);
    page().SelectRows({0});
    ASSERT_TRUE(page().Preview().HasPicture());
    EXPECT_FALSE(page().Preview().HasLevels());
    // The editor records levels in the side file, then tells the album builder.
    ASSERT_TRUE(CImageEdits::AutoLevelsImage(photos.file("tall.png")));
    EXPECT_FALSE(page().Preview().HasLevels());
    ASSERT_TRUE(
        CImageSavedListener::Send(page().ListenerId(), CImageSavedListener::WM_IMAGE_SAVED));
    for (int i = 0; i < 50 && !page().Preview().HasLevels(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(page().Preview().HasLevels());
}

TEST_F(ImagePageTest, ThePrintProgramGetsTheListOrTheMarkedPhoto)
{
    openPage();
    page().OnCommand(CAddImageDlg::ID_PRINT);
    EXPECT_TRUE(started.isEmpty()); // no program path: nothing to start
    Settings("Quindle").writeString(QString(), "Program path", program.path());
    const QString quindle = program.file("Quindle.exe");
    page().OnCommand(CAddImageDlg::ID_PRINT);
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started[0], QStringList{quindle});
    addThree();
    page().SelectRows({1});
    EXPECT_TRUE(page().Button(CAddImageDlg::ID_PRINT)->isEnabled());
    page().OnCommand(CAddImageDlg::ID_PRINT);
    ASSERT_EQ(started.size(), 2);
    const QString list =
        temporary.file(QStringLiteral("qd_") + QString::fromUtf8(app.Album().AlbumName().c_str()));
    EXPECT_EQ(started[1], (QStringList{quindle, "\\b", list}));
    EXPECT_EQ(bytesOf(list), (photos.file("b.png") + "\n").toUtf8());
    page().SelectRows({});
    page().PathList().setCurrentRow(2, QItemSelectionModel::NoUpdate);
    page().OnCommand(CAddImageDlg::ID_PRINT);
    ASSERT_EQ(started.size(), 3);
    EXPECT_EQ(started[2], (QStringList{quindle, "/c.gif", photos.path() + "/"}));
}

TEST_F(ImagePageTest, OutsideProgramButtonsSayWhyTheyAreDisabled)
{
    openPage();
    addThree();
    page().SelectRows({0});
    QAbstractButton& editor = *page().Button(CAddImageDlg::ID_ENHANCE);
    QAbstractButton& print = *page().Button(CAddImageDlg::ID_PRINT);
    EXPECT_FALSE(editor.isEnabled());
    EXPECT_FALSE(print.isEnabled());
    EXPECT_EQ(editor.toolTip(), QStringLiteral("The photo editor Lumivex is not installed."));
    EXPECT_EQ(print.toolTip(), QStringLiteral("The print program is not installed."));
    EXPECT_EQ(editor.accessibleDescription(), editor.toolTip()); // read out as well
    EXPECT_EQ(print.accessibleDescription(), print.toolTip());

    // Installed, they work again and say what they do.
    program.write("Lumivex.exe", "#!/bin/sh\n");
    Settings("Lumivex").writeString(QString(), "Program path", program.path());
    Settings("Quindle").writeString(QString(), "Program path", program.path());
    back();
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    page().SelectRows({1});
    EXPECT_TRUE(editor.isEnabled());
    EXPECT_TRUE(print.isEnabled());
    EXPECT_EQ(editor.toolTip(), QStringLiteral("Enhance image color characteristics"));
    EXPECT_EQ(print.toolTip(), QStringLiteral("Print an image"));
    EXPECT_TRUE(editor.accessibleDescription().isEmpty());
    // Two photos: still installed, but the editor's button waits for one photo.
    page().SelectRows({0, 1});
    EXPECT_FALSE(editor.isEnabled());
    EXPECT_EQ(editor.toolTip(), QStringLiteral("Enhance image color characteristics"));
}

TEST_F(ImagePageTest, TabLeavesTheDescriptionAndCtrlTabTypesATab)
{
    openPage();
    addThree();
    sheet->show();
    sheet->activateWindow();
    settle();
    page().SelectRows({0});
    QPlainTextEdit& description = page().DescriptionBox();
    description.setPlainText(QStringLiteral("Harbour"));
    description.moveCursor(QTextCursor::End);
    description.setFocus();
    settle();
    ASSERT_TRUE(description.hasFocus());
    QTest::keyClick(&description, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(description.toPlainText(), QStringLiteral("Harbour\t"));
    EXPECT_TRUE(description.hasFocus());
    QTest::keyClick(&description, Qt::Key_Tab);
    settle();
    EXPECT_FALSE(description.hasFocus());
    EXPECT_EQ(description.toPlainText(), QStringLiteral("Harbour\t"));
}
