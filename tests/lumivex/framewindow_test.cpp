// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's main window driven through its buttons and keys: toolbar variants, enabling,
// status panes, title, the Undo button's picture, navigation, recent files, help, about.
#include <algorithm>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "enhancer/imagefile.h"
#include "enhancer/imagerecord.h"

#include "enhancer/ui/commandtable.h"
#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "enhancer/ui/toolbaricons.h"
#include "shell/imagesavedlistener.h"
#include "shell/skinscheme.h"
#include "tests/lumivex/framefixture.h"

namespace
{

QList<int> buttonOrder(const CMainFrame& frame)
{
    QList<int> order;
    for (QAction* action : frame.ToolBar()->actions()) {
        if (action->isSeparator()) {
            order << 0;
            continue;
        }
        bool found = false;
        for (const int id : CommandTable::Ids()) {
            QToolButton* button = frame.ToolButton(id);
            if (button && (button->defaultAction() == action ||
                           frame.ToolBar()->widgetForAction(action) == button)) {
                order << id;
                found = true;
                break;
            }
        }
        if (!found)
            order << -1;
    }
    return order;
}

} // namespace

TEST_F(FrameTest, TheListGetsPreviousAndNextInsteadOfOpen)
{
    const QString a = quarters("a.png");
    const QString b = photo("exs-Nikon_D70.jpg", "b.jpg");
    const QString list = folder.write("list.txt", (a + "\n" + b + "\n").toUtf8());
    start({"\\b" + list});
    EXPECT_EQ(buttonOrder(*frame),
              (QList<int>{ID_PREVIOUS_IMAGE, ID_NEXT_IMAGE, ID_FILE_SAVE, ID_EDIT_UNDO, 0,
                          ID_ZOOM_IN, ID_ZOOM_OUT, 0, ID_ENHANCE_COLORS, ID_RESIZE, ID_ROTATE,
                          ID_CROP_FREE, ID_SHARPEN, ID_RED_EYES, 0, ID_FILE_PRINT}));
    EXPECT_FALSE(frame->ToolButton(ID_PREVIOUS_IMAGE)->isEnabled());
    EXPECT_TRUE(frame->ToolButton(ID_NEXT_IMAGE)->isEnabled());
    EXPECT_EQ(frame->StatusBar()->PaneText(0), QStringLiteral("a.png"));
    EXPECT_EQ(frame->StatusBar()->PaneText(1), QStringLiteral("320x160x24"));
    EXPECT_EQ(frame->StatusBar()->PaneText(3), QStringLiteral("Image 1 of 2"));
    screenshot(*frame, QStringLiteral("frame-list-light"));

    ASSERT_TRUE(click(ID_NEXT_IMAGE));
    EXPECT_EQ(frame->StatusBar()->PaneText(0), QStringLiteral("b.jpg"));
    EXPECT_EQ(frame->StatusBar()->PaneText(3), QStringLiteral("Image 2 of 2"));
    EXPECT_TRUE(frame->ToolButton(ID_PREVIOUS_IMAGE)->isEnabled());
    EXPECT_FALSE(frame->ToolButton(ID_NEXT_IMAGE)->isEnabled());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("b.jpg - Lumivex"));
}

TEST_F(FrameTest, ScreenReadersReadThePanesTexts)
{
    const QString a = quarters("a.png");
    const QString list = folder.write("list.txt", (a + "\n" + a + "\n").toUtf8());
    start({"\\b" + list});
    // The panes are named for what they hold; their texts come as descriptions.
    const QList<QLabel*> labels = frame->StatusBar()->findChildren<QLabel*>();
    const auto pane = std::find_if(labels.begin(), labels.end(), [](QLabel* label) {
        return label->accessibleName() == QStringLiteral("Place in list");
    });
    ASSERT_NE(pane, labels.end());
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(*pane);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("Place in list"));
    EXPECT_EQ(reader->text(QAccessible::Description), QStringLiteral("Image 1 of 2"));
    ASSERT_TRUE(click(ID_NEXT_IMAGE));
    EXPECT_EQ(reader->text(QAccessible::Description), QStringLiteral("Image 2 of 2"));
}

TEST_F(FrameTest, ASinglePhotoGetsOpenAndEveryEditEnabled)
{
    start({quarters("one.png")});
    const QList<int> order = buttonOrder(*frame);
    ASSERT_FALSE(order.isEmpty());
    EXPECT_EQ(order.front(), ID_FILE_OPEN);
    EXPECT_FALSE(order.contains(ID_NEXT_IMAGE));
    EXPECT_EQ(frame->ToolButton(ID_NEXT_IMAGE), nullptr);
    for (const int id : {ID_FILE_SAVE, ID_ENHANCE_COLORS, ID_RESIZE, ID_ROTATE, ID_CROP_FREE,
                         ID_SHARPEN, ID_RED_EYES, ID_FILE_PRINT, ID_ZOOM_IN})
        EXPECT_TRUE(frame->ToolButton(id)->isEnabled()) << id;
    EXPECT_FALSE(frame->ToolButton(ID_EDIT_UNDO)->isEnabled());
    EXPECT_TRUE(frame->StatusBar()->PaneText(3).isEmpty());
    EXPECT_EQ(frame->ToolButton(ID_ZOOM_IN)->toolTip(), QStringLiteral("Zoom in"));
    screenshot(*frame, QStringLiteral("frame-single-light"));
}

TEST_F(FrameTest, WithoutAPhotoOnlyOpenAndTheAppCommandsWork)
{
    start({});
    EXPECT_TRUE(frame->ToolButton(ID_FILE_OPEN)->isEnabled());
    for (const int id : {ID_FILE_SAVE, ID_ENHANCE_COLORS, ID_ROTATE, ID_CROP_FREE, ID_FILE_PRINT,
                         ID_ZOOM_IN, ID_ZOOM_OUT, ID_EDIT_UNDO})
        EXPECT_FALSE(frame->ToolButton(id)->isEnabled()) << id;
    // A disabled command's key does nothing.
    key(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lumi - Lumivex"));
}

TEST_F(FrameTest, RotatingMarksTheTitleAndUndoSwapsTheButton)
{
    start({quarters("turn.png")});
    // The Rotate button opens its menu; the first item turns clockwise.
    QToolButton* rotate = frame->ToolButton(ID_ROTATE);
    ASSERT_NE(rotate, nullptr);
    QTimer::singleShot(50, [this] {
        QMenu* menu = frame->RotateMenu();
        ASSERT_TRUE(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(rotate, Qt::LeftButton);
    QTest::qWait(150);
    waitForEdit();
    EXPECT_EQ(doc().Current().widthPixels, 160);
    EXPECT_EQ(doc().Current().heightPixels, 320);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("turn.png * - Lumivex"));
    EXPECT_EQ(frame->StatusBar()->PaneText(1), QStringLiteral("160x320x24"));
    QToolButton* undo = frame->ToolButton(ID_EDIT_UNDO);
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Undo"));
    const QImage undoPicture = undo->icon().pixmap(32).toImage();

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().Current().widthPixels, 320);
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Redo"));
    EXPECT_NE(undo->icon().pixmap(32).toImage(), undoPicture);
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("Redo \tCtrl+Z"));
    // Alt+Backspace redoes as Ctrl+Z does.
    key(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(doc().Current().widthPixels, 160);
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Undo"));
}

TEST_F(FrameTest, CroppingRefusesOtherEditsUntilEsc)
{
    start({quarters("crop.png")});
    key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(frame->View()->IsCropping());
    key(Qt::Key_E, Qt::ControlModifier);
    key(Qt::Key_Plus);
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(prompter.texts.at(0),
              QStringLiteral("Please finish image cropping or press Esc to cancel it"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    frame->View()->setFocus();
    key(Qt::Key_Escape);
    EXPECT_FALSE(frame->View()->IsCropping());
    const double before = frame->View()->Zoom().Zoom();
    key(Qt::Key_Plus);
    EXPECT_GT(frame->View()->Zoom().Zoom(), before);
    EXPECT_EQ(prompter.texts.size(), 2);
}

TEST_F(FrameTest, LeavingAModifiedPhotoAsksAndNoGoesOn)
{
    const QString a = quarters("a.png");
    const QString b = quarters("b.png");
    start({"\\b" + folder.write("list.txt", (a + "\n" + b + "\n").toUtf8())});
    key(Qt::Key_Plus); // zooming changes nothing in the photo
    frame->OnCommand(ID_FLIP_HORIZONTAL);
    waitForEdit();
    ASSERT_TRUE(doc().IsModified());
    prompter.answers = {Prompter::Answer::No};
    ASSERT_TRUE(click(ID_NEXT_IMAGE));
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts.at(0), QStringLiteral("Do you want to save your changes?"));
    EXPECT_EQ(doc().NavigationIndex(), 1);
    EXPECT_FALSE(doc().IsModified());
    // The file on disk was left as it was.
    ImageRecord first;
    QString reason;
    ASSERT_TRUE(LoadImageFile(a, first, &reason)) << reason.toStdString();
    EXPECT_TRUE(closeTo(shownColour(first, 10, 10), Qt::red));
}

TEST_F(FrameTest, SavingTellsTheAlbumBuilderAndRemembersTheFile)
{
    CImageSavedListener listener;
    ASSERT_TRUE(listener.Listen());
    int told = 0;
    QObject::connect(&listener, &CImageSavedListener::ImageSaved, [&told] { ++told; });
    const QString a = quarters("a.png");
    start({"\\b" + folder.write("list.txt", (a + "\n").toUtf8()), "\\w" + listener.Id()});
    frame->OnCommand(ID_ROTATE_180);
    waitForEdit();
    key(Qt::Key_S, Qt::ControlModifier);
    for (int i = 0; i < 50 && told == 0; ++i)
        QTest::qWait(10);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("a.png - Lumivex"));
    ImageRecord saved;
    ASSERT_TRUE(LoadImageFile(a, saved, nullptr));
    EXPECT_TRUE(closeTo(shownColour(saved, 10, 10), Qt::white));
    EXPECT_EQ(app->RecentFiles().value(0), a);
}

TEST_F(FrameTest, OpenOfSeveralPhotosMakesAListAndRecentFilesKeepFour)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << quarters(QStringLiteral("p%1.png").arg(i));
    start({});
    for (int i = 0; i < 5; ++i) {
        choosers.openAnswers.push_back({paths.at(i)});
        key(Qt::Key_O, Qt::ControlModifier);
    }
    EXPECT_EQ(app->RecentFiles(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    frame->RecentMenu()->popup(QPoint(0, 0));
    QCoreApplication::processEvents();
    ASSERT_EQ(frame->RecentMenu()->actions().size(), 4);
    EXPECT_EQ(frame->RecentMenu()->actions().at(1)->text(), QStringLiteral("&2 p3.png"));
    // Choosing one opens it again.
    frame->RecentMenu()->actions().at(3)->trigger();
    frame->RecentMenu()->hide();
    EXPECT_EQ(doc().PathName(), paths[1]);
    EXPECT_EQ(app->RecentFiles().value(0), paths[1]);

    choosers.openAnswers.push_back({paths[0], paths[2]});
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(doc().ListMode());
    ASSERT_NE(frame->ToolButton(ID_NEXT_IMAGE), nullptr);
    EXPECT_TRUE(frame->ToolButton(ID_NEXT_IMAGE)->isVisible());
    EXPECT_EQ(frame->ToolButton(ID_FILE_OPEN), nullptr);
    EXPECT_EQ(frame->StatusBar()->PaneText(3), QStringLiteral("Image 1 of 2"));
}

TEST_F(FrameTest, AMissingRecentFileLeavesTheList)
{
    const QString gone = quarters("gone.png");
    app = std::make_unique<CLumivexApp>(binFolder());
    app->AddRecentFile(gone);
    QFile::remove(gone);
    start({});
    frame->RecentMenu()->popup(QPoint(0, 0));
    QCoreApplication::processEvents();
    ASSERT_EQ(frame->RecentMenu()->actions().size(), 1);
    frame->RecentMenu()->actions().at(0)->trigger();
    frame->RecentMenu()->hide();
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts.at(0).contains(QStringLiteral("gone.png")));
    EXPECT_TRUE(app->RecentFiles().isEmpty());
}

TEST_F(FrameTest, HelpOpensTheEditorsOwnPage)
{
    start({});
    frame->Action(ID_HELP_FINDER)->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.at(0).endsWith(QStringLiteral("help/lumivex/index.html")));
    EXPECT_TRUE(QFileInfo::exists(opened.at(0)));
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(FrameTest, TheAboutBoxShowsTheVersionAndTheMakersLink)
{
    start({});
    bool checked = false;
    onNextDialog([&](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Lumivex"));
        QStringList texts;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("Lumivex Version 1.5  b115")));
        auto* link = dialog.findChild<CHyperLink*>();
        ASSERT_NE(link, nullptr);
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_TRUE(link->isVisited());
        screenshot(dialog, QStringLiteral("about-light"));
        checked = true;
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    frame->Action(ID_APP_ABOUT)->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://www.vellora.example/")});
}

TEST_F(FrameTest, ClosingAModifiedPhotoAsksFirst)
{
    const QString a = quarters("a.png");
    start({a});
    frame->OnCommand(ID_FLIP_VERTICAL);
    waitForEdit();
    prompter.answers = {Prompter::Answer::Yes};
    EXPECT_TRUE(frame->close());
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts.at(0), QStringLiteral("Do you want to save your changes?"));
    ImageRecord saved;
    ASSERT_TRUE(LoadImageFile(a, saved, nullptr));
    EXPECT_TRUE(closeTo(shownColour(saved, 10, 10), Qt::blue));
}

TEST_F(FrameTest, TheDarkPaletteGetsTheLightInkedPictures)
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(SkinScheme::of(ColourScheme::Dark).palette());
    const QString a = quarters("a.png");
    const QString b = quarters("b.png");
    start({"\\b" + folder.write("list.txt", (a + "\n" + b + "\n").toUtf8())});
    EXPECT_TRUE(ToolbarIcons::Folder(binFolder()).endsWith(QStringLiteral("lumivex/dark")));
    screenshot(*frame, QStringLiteral("frame-list-dark"));
    frame.reset();
    QApplication::setPalette(before);
    EXPECT_TRUE(ToolbarIcons::Folder(binFolder()).endsWith(QStringLiteral("lumivex/light")));
}
