// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page through the wizard: adding files and folders with scripted choosers,
// the order buttons, titles and descriptions, the subfolder text box, leaving the page, turns
// and levels with undo, and pictures of the page.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QtEndian>

#include "images/imageadder.h"
#include "images/imageedits.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "shell/addimagedlg.h"
#include "shell/myimage.h"
#include "shell/telmplatesel.h"
#include "tests/shell/imagepagefixture.h"

TEST_F(ImagePageTest, AnEmptyAlbumShowsTheSplashAndNextRefuses)
{
    openPage();
    EXPECT_NE(page().Splash(), nullptr);
    EXPECT_EQ(page().StatusLine().text(), QStringLiteral("0  images in the album / 0 selected"));
    EXPECT_FALSE(page().Button(CAddImageDlg::ID_REMOVE)->isEnabled());
    next();
    EXPECT_EQ(prompter.texts.last(), QStringLiteral("Please, add images to the album first."));
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
}

TEST_F(ImagePageTest, AddTakesTheFilterTypesAndSelectsTheLastPhoto)
{
    openPage();
    const QString notes = photos.write("notes.txt", "text");
    const QString bare = photos.write("bare", "not a picture either");
    chooser->files = {photo("exs-Nikon_D70.jpg"), notes, bare,
                      photo("mdi-photoshop-8x12-rgb24.png", "Shot.PNG")};
    page().OnCommand(CAddImageDlg::ID_ADD);
    EXPECT_EQ(chooser->filters.last(), CImageAdder::FileFilter());
    EXPECT_EQ(titles(), (QStringList{"exs-Nikon_D70.jpg", "Shot.PNG"}));
    // A file without an extension passes the filter and is refused only because it does
    // not open: its path is the message.
    EXPECT_TRUE(prompter.texts.contains(bare));
    EXPECT_FALSE(prompter.texts.join(' ').contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(page().Splash(), nullptr);
    EXPECT_EQ(page().StatusLine().text(), QStringLiteral("2  images in the album / 1 selected"));
    EXPECT_TRUE(page().Preview().HasPicture());
    EXPECT_EQ(app.GetSettings().getString("Paths", "PhotosPath"), photos.path());
    EXPECT_TRUE(app.Album().IsModified());
    EXPECT_EQ(page().TitleList().count(), 2);
    EXPECT_EQ(page().PathList().item(0)->text(), photos.file("exs-Nikon_D70.jpg"));
}

TEST_F(ImagePageTest, AddFolderUsesTheCheckBoxesAndSubfolderTexts)
{
    openPage();
    photo("exs-Nikon_D70.jpg", "top.jpg");
    photo("mdi-mspaint-10x10.gif", "2004/Summer/beach.gif");
    chooser->folder = ImageListChoosers::FolderChoice{photos.path(), true, true};
    page().OnCommand(CAddImageDlg::ID_ADD_FOLDER);
    EXPECT_EQ(chooser->titles.last(), QStringLiteral("Please select the folder with photos you "
                                                     "wish to add to your album."));
    EXPECT_TRUE(chooser->presets.back().withSubfolders);
    ASSERT_EQ(page().Rows().Size(), 2u);
    QStringList subfolders;
    for (const PageImage& row : page().Rows().Rows())
        subfolders << row.subfolder;
    subfolders.sort();
    EXPECT_EQ(subfolders, (QStringList{"", "2004\\Summer"}));
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{0});

    chooser->folder = ImageListChoosers::FolderChoice{photos.path(), false, false};
    page().OnCommand(CAddImageDlg::ID_ADD_FOLDER);
    EXPECT_EQ(page().Rows().Size(), 3u);
    EXPECT_EQ(app.GetSettings().getInt("Settings", "AddWithSubfolders", 1), 0);
    EXPECT_EQ(app.GetSettings().getInt("Settings", "ParseSubfolders", 1), 0);
    page().OnCommand(CAddImageDlg::ID_ADD_FOLDER);
    EXPECT_FALSE(chooser->presets.back().withSubfolders);
    EXPECT_FALSE(chooser->presets.back().parseSubfolders);
}

TEST_F(ImagePageTest, OrderButtonsMoveTheSelection)
{
    openPage();
    addThree();
    page().SelectRows({1, 2});
    page().OnCommand(CAddImageDlg::ID_TOP);
    EXPECT_EQ(titles(), (QStringList{"b.png", "c.gif", "a.jpg"}));
    EXPECT_EQ(page().SelectedRows(), (std::vector<int>{0, 1}));
    page().OnCommand(CAddImageDlg::ID_UP); // at the edge: nothing moves
    EXPECT_EQ(titles(), (QStringList{"b.png", "c.gif", "a.jpg"}));
    page().OnCommand(CAddImageDlg::ID_DOWN);
    EXPECT_EQ(titles(), (QStringList{"a.jpg", "b.png", "c.gif"}));
    EXPECT_EQ(page().SelectedRows(), (std::vector<int>{1, 2}));
    page().SelectRows({0});
    page().OnCommand(CAddImageDlg::ID_BOTTOM);
    EXPECT_EQ(titles(), (QStringList{"b.png", "c.gif", "a.jpg"}));
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(page().PathList().item(2)->text(), photos.file("a.jpg"));
}

TEST_F(ImagePageTest, RemoveAsksAndTheLastRemovalEmptiesThePage)
{
    openPage();
    addThree();
    page().SelectRows({0, 2});
    prompter.answers = {Prompter::Answer::No};
    page().OnCommand(CAddImageDlg::ID_REMOVE);
    EXPECT_EQ(prompter.texts.last(), QStringLiteral("Are you sure you want to remove the "
                                                    "selected image(s) from the album?"));
    EXPECT_EQ(page().Rows().Size(), 3u);
    prompter.answers = {Prompter::Answer::Yes};
    page().OnCommand(CAddImageDlg::ID_REMOVE);
    EXPECT_EQ(titles(), QStringList{"b.png"});
    EXPECT_TRUE(QFileInfo::exists(photos.file("a.jpg")));
    page().SelectRows({0});
    prompter.answers = {Prompter::Answer::Yes};
    page().OnCommand(CAddImageDlg::ID_REMOVE);
    EXPECT_TRUE(page().Rows().IsEmpty());
    EXPECT_FALSE(page().Preview().HasPicture());
    EXPECT_FALSE(page().PathList().isEnabled());
    next();
    EXPECT_EQ(prompter.texts.last(), QStringLiteral("Please, add images to the album first."));
}

TEST_F(ImagePageTest, TitlesAndDescriptionsFollowTheirRules)
{
    openPage();
    addThree();
    page().SelectRows({0, 1});
    EXPECT_FALSE(page().Button(CAddImageDlg::ID_EDIT_TITLE)->isEnabled());
    EXPECT_FALSE(page().DescriptionBox().isEnabled());
    page().SelectRows({0});
    EXPECT_TRUE(page().Button(CAddImageDlg::ID_EDIT_TITLE)->isEnabled());
    page().TitleList().item(0)->setText(QStringLiteral("Harbour"));
    EXPECT_EQ(page().Rows().Rows()[0].title, QStringLiteral("Harbour"));
    page().TitleList().item(0)->setText(QString()); // an empty edit keeps the title
    EXPECT_EQ(page().Rows().Rows()[0].title, QStringLiteral("Harbour"));
    EXPECT_EQ(page().TitleList().item(0)->text(), QStringLiteral("Harbour"));

    page().DescriptionBox().setPlainText(QStringLiteral("\r\n\"Low\"\ttide\n\n"));
    page().SelectRows({1});
    EXPECT_EQ(page().Rows().Rows()[0].description, QStringLiteral(" Low  tide"));
    page().SelectRows({0});
    EXPECT_EQ(page().DescriptionBox().toPlainText(), QStringLiteral(" Low  tide"));

    // A description being typed survives the titles being shown afresh.
    page().DescriptionBox().setPlainText(QStringLiteral("Still typing"));
    // Ctrl+Shift+R, D and F, typed into the lists.
    QTest::keyClick(&page().PathList(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(titles(), (QStringList{"Harbour", "b", "c"}));
    EXPECT_EQ(page().Rows().Rows()[0].description, QStringLiteral("Still typing"));
    QTest::keyClick(&page().TitleList(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(page().Rows().Rows()[0].description.isEmpty());
    EXPECT_TRUE(page().DescriptionBox().toPlainText().isEmpty());
    QTest::keyClick(&page().PathList(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(titles(), (QStringList{"", "", ""}));
}

TEST_F(ImagePageTest, TheSubfolderBoxFollowsThePlugIn)
{
    openPage();
    EXPECT_TRUE(page().SubfolderBox().isHidden());
    back();
    ASSERT_TRUE(static_cast<CTelmplateSel&>(*sheet->Page(CAlbumSheet::ThemePage))
                    .SelectTemplate(0, 20));
    clickNext();
    ASSERT_FALSE(page().SubfolderBox().isHidden());
    photo("exs-Nikon_D70.jpg", "2004/Summer/a.jpg");
    photo("mdi-mspaint-10x10.gif", "2004/Winter/b.gif");
    chooser->folder = ImageListChoosers::FolderChoice{photos.path(), true, true};
    page().OnCommand(CAddImageDlg::ID_ADD_FOLDER);
    page().SelectRows({});
    EXPECT_FALSE(page().SubfolderBox().isEnabled());
    page().SelectRows({0, 1});
    EXPECT_EQ(page().SubfolderBox().text(), QStringLiteral("2004\\"));
    page().SubfolderBox().setText(QStringLiteral("/Trips/2004/"));
    Q_EMIT page().SubfolderBox().editingFinished();
    for (const PageImage& row : page().Rows().Rows())
        EXPECT_EQ(row.subfolder, QStringLiteral("Trips\\2004"));
    for (const AlbumImage& image : app.Album().Images())
        EXPECT_STREQ(image.subfolder.c_str(), "Trips\\2004");
}

TEST_F(ImagePageTest, BackAndNextWriteThePageToTheAlbum)
{
    openPage();
    addThree();
    page().SelectRows({2});
    page().OnCommand(CAddImageDlg::ID_TOP);
    back();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    ASSERT_EQ(app.Album().Images().size(), 3u);
    EXPECT_STREQ(app.Album().Images()[0].name.c_str(), "c.gif");
    clickNext();
    EXPECT_EQ(titles(), (QStringList{"c.gif", "a.jpg", "b.png"}));
    EXPECT_EQ(page().Splash(), nullptr);
    page().SelectRows({1});
    page().OnCommand(CAddImageDlg::ID_BOTTOM);
    next();
    ASSERT_EQ(app.Album().Images().size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(app.Album().Images()[i].index, i);
    EXPECT_STREQ(app.Album().Images()[2].name.c_str(), "a.jpg");
    EXPECT_STREQ(app.Album().Images()[2].path.c_str(), photos.file("a.jpg").toUtf8().constData());
}

TEST_F(ImagePageTest, TurnsAndLevelsAreTagsAndUndoRestoresTheFiles)
{
    openPage();
    addThree();
    const QString jpeg = photos.file("a.jpg");
    const QString png = photos.file("b.png");
    const QByteArray jpegBefore = bytesOf(jpeg), pngBefore = bytesOf(png);
    page().SelectRows({0, 1});
    ASSERT_TRUE(page().Button(CAddImageDlg::ID_ROTATE_RIGHT)->isEnabled());
    page().OnCommand(CAddImageDlg::ID_ROTATE_RIGHT);
    EXPECT_EQ(orientationIn(jpeg), 6);
    EXPECT_EQ(orientationIn(imaging::sideFilePath(png)), 6);
    EXPECT_EQ(bytesOf(png), pngBefore);
    const QByteArray jpegTurned = bytesOf(jpeg);
    page().OnCommand(CAddImageDlg::ID_MENU_ROTATE_180);
    EXPECT_EQ(orientationIn(jpeg), 8);
    EXPECT_EQ(orientationIn(imaging::sideFilePath(png)), 8);
    page().OnCommand(CAddImageDlg::ID_UNDO);
    EXPECT_EQ(bytesOf(jpeg), jpegTurned);
    EXPECT_EQ(orientationIn(imaging::sideFilePath(png)), 6);
    EXPECT_FALSE(page().Edits().HasBackups());

    page().SelectRows({1});
    page().OnCommand(CAddImageDlg::ID_AUTOLEVELS);
    EXPECT_TRUE(page().Preview().HasLevels());
    EXPECT_TRUE(page().Button(CAddImageDlg::ID_AUTOLEVELS)->isChecked());
    page().OnCommand(CAddImageDlg::ID_MENU_UNDO);
    EXPECT_FALSE(page().Preview().HasLevels());
    EXPECT_NE(jpegBefore, jpegTurned);
}

TEST_F(ImagePageTest, LevelsOfATiffShowInThePreviewAndTheButton)
{
    openPage();
    chooser->files = {photo("syn-tiff-le-exif.tif", "scan.tif")};
    page().OnCommand(CAddImageDlg::ID_ADD);
    page().SelectRows({0});
    QAbstractButton* levels = page().Button(CAddImageDlg::ID_AUTOLEVELS);
    ASSERT_TRUE(levels->isEnabled());
    EXPECT_FALSE(levels->isChecked());
    levels->click();
    EXPECT_TRUE(page().Preview().HasLevels());
    EXPECT_TRUE(levels->isChecked());
    page().OnCommand(CAddImageDlg::ID_MENU_UNDO);
    EXPECT_FALSE(page().Preview().HasLevels());
    EXPECT_FALSE(levels->isChecked());
}

TEST_F(ImagePageTest, ScreenshotsOfThePage)
{
    useShippedGraphics();
    openPage();
    saveScreenshot(*sheet, QStringLiteral("imagelist-empty"));
    chooser->files = {photo("exs-canon-ixus.jpg", "harbour.jpg"),
                      photo("exs-landscape_6.jpg", "landscape.jpg"),
                      photo("mdi-photoshop-8x12-rgb24.png", "tiny.png")};
    page().OnCommand(CAddImageDlg::ID_ADD);
    page().SelectRows({0});
    page().OnCommand(CAddImageDlg::ID_AUTOLEVELS);
    saveScreenshot(*sheet, QStringLiteral("imagelist-photos"));
    page().SelectRows({1});
    page().OnCommand(CAddImageDlg::ID_ROTATE_LEFT);
    saveScreenshot(*sheet, QStringLiteral("imagelist-turned"));
    EXPECT_EQ(orientationIn(photos.file("landscape.jpg")), 1);
}
