// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "platform/placebookmarks.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/albumprop.h"
#include "shell/openalbum.h"
#include "tests/shell/albumfiles.h"
#include "tests/shell/sheetfixture.h"

namespace
{

class FindChoosers : public NoChoosers
{
public:
    QString openFile(const QString&, const QString& folder, const QString& filter) override
    {
        calls << folder + u'|' + filter;
        return answer;
    }
    QString answer;
    QStringList calls;
};

class AlbumManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pluginFolder = installTestPlugins(program.file("plugins"), {"gvtest_alpha", "gvtest_beta"});
        app.Album().PluginManager().SetPluginFolders({pluginFolder});
        Settings().writeString("Paths", "ProjectPath", projects());
        qputenv("GALLIVEX_NO_BROWSER", "1");
        // The shipped artwork, so that the pictures show what users get.
        QDirIterator files(binFolder() + QStringLiteral("/graphics"), QDir::Files);
        QDir().mkpath(program.file("graphics"));
        while (files.hasNext()) {
            files.next();
            QFile::copy(files.filePath(), program.file("graphics/" + files.fileName()));
        }
    }
    void TearDown() override
    {
        sheet.reset();
        app.ExitInstance();
    }
    QString projects() const { return work.file("projects"); }
    QString write(const QString& title, const QString& name, qint64 age, int photos = 0,
                  const QString& destination = QStringLiteral("/albums/x"))
    {
        return writeAlbum(projects(), title, {name, destination, photos, true, age}, pluginFolder);
    }
    // The wizard on the album manager, its loader done.
    COpenAlbum& showPage()
    {
        EXPECT_EQ(app.InitInstance({}), CGVApp::Start::RunWizard);
        sheet = std::make_unique<CAlbumSheet>(
            app, finder, HelpCommands(program.path(), [](const QUrl&) { return true; }));
        sheet->SetAboutDialog([] {});
        sheet->SetTipDialog([] {});
        sheet->Start();
        // The welcome page's "open an album", then Next.
        static_cast<CAlbumIntro&>(*sheet->Page(CAlbumSheet::WelcomePage))
            .OpenExistingButton()
            .click();
        sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click();
        EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
        page().SetFavoritesFolder(favorites.path());
        EXPECT_TRUE(page().Loader().WaitUntilDone(20000));
        settle();
        return page();
    }
    COpenAlbum& page()
    {
        return static_cast<COpenAlbum&>(*sheet->Page(CAlbumSheet::AlbumManagerPage));
    }
    QStringList shown()
    {
        QStringList texts;
        for (int row = 0; row < page().Albums().count(); ++row)
            texts << page().Albums().item(row)->text();
        return texts;
    }
    void select(int row)
    {
        page().Albums().clearSelection();
        page().Albums().setCurrentItem(page().Albums().item(row));
    }
    void pressNext()
    {
        sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    static void saveScreenshot(QWidget& widget, const QString& name)
    {
        const QString folder = binFolder() + QStringLiteral("/../screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + u'/' + name + QStringLiteral(".png")));
    }

    SettingsSandbox sandbox;
    TestFolder program;
    TestFolder work;
    TestFolder favorites;
    TestFolder config; // the file managers' bookmarks go here
    EnvironmentValue configValue{"XDG_CONFIG_HOME", config.path().toUtf8()};
    std::string pluginFolder;
    ScriptedPrompter prompter;
    FindChoosers finder;
    CGVApp app{prompter, program.path()};
    std::unique_ptr<CAlbumSheet> sheet;
};

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(AlbumManagerTest, ListsTheAlbumsNewestFirstAndDropsACorruptOne)
{
    write("old", "Old times", 3000, 2);
    const QString middle = write("mid", "Family", 2000, 1);
    writeCorruptAlbum(projects(), "broken", 1000);
    write("new", "Summer trip", 10, 3);
    Settings().writeString("Settings", "LastAlbumOpen", middle);
    showPage();
    EXPECT_EQ(shown(), QStringList({"Summer trip", "Family", "Old times"}));
    ASSERT_EQ(page().Albums().selectedItems().size(), 1);
    EXPECT_EQ(page().Albums().selectedItems().front()->text(), QStringLiteral("Family"));
    EXPECT_EQ(page().Albums().item(0)->toolTip(),
              QStringLiteral("Album \"Summer trip\"\nContains 3 images.\nTemplate: \"Classic\""));
    EXPECT_FALSE(page().Albums().item(0)->icon().isNull());
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZBACK)->isEnabled());
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZNEXT)->isEnabled());
    saveScreenshot(*sheet, "albummanager");
    // Leaving the page empties the list; coming back reads the folder again.
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::WelcomePage);
    EXPECT_EQ(page().Albums().count(), 0);
    EXPECT_EQ(page().List().Count(), 0);
}

TEST_F(AlbumManagerTest, NextWithoutAnAlbumAsksForOneAndStays)
{
    showPage();
    EXPECT_EQ(page().Albums().count(), 0);
    pressNext();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    ASSERT_FALSE(prompter.texts.isEmpty());
    EXPECT_EQ(prompter.texts.back(), loadString(IDS_SELECT_ALBUM_FIRST));
}

TEST_F(AlbumManagerTest, NextOpensTheSelectedAlbumAndRemembersIt)
{
    write("a", "Alpha album", 200, 2);
    const QString path = write("b", "Beta album", 100, 1);
    showPage();
    select(0);
    app.Album().SetFresh(true);
    pressNext();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_STREQ(app.Album().StoredAlbumName().c_str(), "Beta album");
    EXPECT_EQ(app.Album().Images().size(), 1u);
    EXPECT_FALSE(app.Album().IsFresh());
    EXPECT_EQ(Settings().getString("Settings", "LastAlbumOpen"), QDir::toNativeSeparators(path));
}

TEST_F(AlbumManagerTest, FindOpensAProjectFromAnywhereAndRefusesACorruptOne)
{
    const QString elsewhere =
        writeAlbum(work.file("other"), "found", {"Found album", "/x", 0, false, 5}, pluginFolder);
    const QString corrupt = writeCorruptAlbum(work.file("other"), "bad", 5);
    showPage();
    finder.answer = corrupt;
    page().OnCommand(COpenAlbum::IDC_FIND);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    EXPECT_EQ(prompter.texts.back(), loadString(IDS_OPEN_FAILED));
    EXPECT_EQ(finder.calls.front(),
              projects() + QStringLiteral("|Gallivex albums (*.gvp)|*.gvp||"));
    finder.answer = elsewhere;
    page().OnCommand(COpenAlbum::IDC_FIND);
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_STREQ(app.Album().StoredAlbumName().c_str(), "Found album");
    EXPECT_EQ(Settings().getString("Paths", "LastProjectPath"), elsewhere);
    EXPECT_EQ(finder.calls.back().section(u'|', 0, 0), corrupt); // starts where it last looked
}

TEST_F(AlbumManagerTest, DeleteAsksFirstAndRemovesTheProjectWithItsThumbnailAndFavorite)
{
    const QString keep = write("keep", "Keep me", 200);
    const QString drop =
        writeAlbum(projects(), "drop", {"Drop me", "/albums/x", 0, true, 100, true}, pluginFolder);
    platform::PlaceBookmarks places;
    for (const char* name : {"Keep me", "Drop me"}) {
        favorites.write(QString::fromUtf8(name) + ".desktop", "[Desktop Entry]\nType=Link\n");
        ASSERT_TRUE(places.add(name, QUrl::fromLocalFile("/albums/x"), "gallivex"));
    }
    showPage();
    page().Albums().clearSelection();
    page().OnCommand(COpenAlbum::IDC_DELETE);
    EXPECT_EQ(prompter.texts.back(), loadString(IDS_SELECT_ALBUM_TO_DELETE));
    select(0);
    prompter.answers = {Prompter::Answer::No};
    page().OnCommand(COpenAlbum::ID_DELETE);
    EXPECT_EQ(prompter.texts.back(),
              QStringLiteral("Are you sure that you want to delete album \"Drop me\"?"));
    EXPECT_TRUE(QFile::exists(drop));
    prompter.answers = {Prompter::Answer::Yes};
    QTest::keyClick(&page().Albums(), Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(drop));
    EXPECT_FALSE(QFile::exists(drop + ".jpg"));
    EXPECT_TRUE(QFile::exists(keep));
    EXPECT_EQ(shown(), QStringList({"Keep me"}));
    EXPECT_EQ(page().List().Count(), 1);
    // The deleted album's shortcut and place go with it; the other album keeps its own.
    EXPECT_EQ(entriesOf(favorites.path()), QStringList({"Keep me.desktop"}));
    EXPECT_TRUE(places.target("Drop me").isEmpty());
    EXPECT_FALSE(places.target("Keep me").isEmpty());
}

TEST_F(AlbumManagerTest, RenamingSavesTheNewNameAndMovesTheFavoritesShortcut)
{
    const QString path = write("trip", "Old name", 100);
    platform::PlaceBookmarks places;
    ASSERT_TRUE(places.add("Old name", QUrl::fromLocalFile("/albums/x"), "gallivex"));
    QFile shortcut(favorites.file("Old name.desktop"));
    ASSERT_TRUE(shortcut.open(QIODevice::WriteOnly));
    shortcut.write("[Desktop Entry]\nType=Link\nName=Old name\nURL=file:///albums/x/index.html\n");
    shortcut.close();
    showPage();
    page().Albums().item(0)->setText("New name"); // as the label editor ends
    settle();
    EXPECT_EQ(shown(), QStringList({"New name"}));
    EXPECT_FALSE(QFile::exists(favorites.file("Old name.desktop")));
    QFile moved(favorites.file("New name.desktop"));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(moved.readAll().contains("Name=New name\n"));
    const auto summary = AlbumInspector({pluginFolder}, 128).ReadSummary(path);
    ASSERT_TRUE(summary);
    EXPECT_STREQ(summary->albumName.c_str(), "New name");
    EXPECT_STREQ(summary->favoritesName.c_str(), "New name");
    EXPECT_TRUE(places.target("Old name").isEmpty());
    EXPECT_EQ(places.target("New name"), QUrl::fromLocalFile("/albums/x"));
    // An empty name changes nothing.
    page().Albums().item(0)->setText("");
    settle();
    EXPECT_EQ(shown(), QStringList({"New name"}));
}

TEST_F(AlbumManagerTest, PropertiesShowTheAlbumReadOnly)
{
    const QString path = write("props", "Holiday", 100, 2, QStringLiteral("/albums/holiday"));
    showPage();
    select(0);
    bool shownDialog = false;
    page().SetPropertiesDialog([&](CAlbumProp& dialog) {
        shownDialog = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Album Properties"));
        EXPECT_EQ(dialog.findChild<QLabel*>("Album Name:")->text(), QStringLiteral("Holiday"));
        EXPECT_EQ(dialog.findChild<QLabel*>("Theme:")->text(), QStringLiteral("Classic"));
        EXPECT_EQ(dialog.findChild<QLabel*>("Plugin name:")->text(), QStringLiteral("Alpha"));
        EXPECT_EQ(dialog.findChild<QLabel*>("Number of images:")->text(), QStringLiteral("2"));
        EXPECT_EQ(dialog.findChild<QLabel*>("Favorites shortcut:")->text(), QStringLiteral("N/A"));
        auto* settingsFile = dialog.findChild<QLineEdit*>("&Settings file:");
        EXPECT_TRUE(settingsFile->isReadOnly());
        EXPECT_EQ(settingsFile->text(), QDir::toNativeSeparators(path));
        EXPECT_EQ(dialog.findChild<QLineEdit*>("&Path to the album:")->text(),
                  QStringLiteral("/albums/holiday"));
        dialog.resize(dialog.sizeHint());
        saveScreenshot(dialog, "albumproperties");
    });
    page().OnCommand(COpenAlbum::ID_PROPERTIES);
    settle();
    EXPECT_TRUE(shownDialog);
}

TEST_F(AlbumManagerTest, ViewAsksThePluginAndReportsItsRefusal)
{
    write("gen", "Generated", 100);
    showPage();
    select(0);
    prompter.texts.clear();
    page().OnCommand(COpenAlbum::ID_VIEW);
    // The test plug-in cannot show albums: it answers -1.
    EXPECT_EQ(prompter.texts, QStringList({loadString(IDS_VIEW_FAILED).arg(-1)}));
}

TEST_F(AlbumManagerTest, TheMenuOffersViewOnlyForGeneratedAlbumsAndPrintOnlyWhenInstalled)
{
    write("plain", "Never generated", 200, 0, QString());
    write("gen", "Generated", 100, 2);
    showPage();
    EXPECT_TRUE(page().PrintFolder().isEmpty());
    EXPECT_FALSE(page().Button(COpenAlbum::ID_PRINT)->isVisible());
    select(1);
    std::unique_ptr<QMenu> menu(page().BuildContextMenu());
    QStringList items;
    for (QAction* action : menu->actions())
        items << action->text() + (action->isEnabled() ? "" : " (off)");
    EXPECT_EQ(items, QStringList({"&Open Album \tCtrl+O", "&View Album \tCtrl+V (off)",
                                  "&Rename Album", "&Delete", "&Properties..."}));
    EXPECT_EQ(menu->defaultAction(), menu->actions().front());
    select(0);
    menu.reset(page().BuildContextMenu());
    EXPECT_TRUE(menu->actions()[1]->isEnabled());
}

TEST_F(AlbumManagerTest, PrintHandsTheAlbumsPhotosToThePrintProgram)
{
    TestFolder printer;
    const QString record = printer.file("args.txt");
    QFile script(printer.file("Quindle.exe"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\ncat \"$2\" >> '%1'\n")
                     .arg(record)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    Settings(QStringLiteral("Quindle")).writeString("", "Program path", printer.path());
    write("gen", "Generated", 100, 2);
    showPage();
    EXPECT_EQ(page().PrintFolder(), printer.path());
    select(0);
    std::unique_ptr<QMenu> menu(page().BuildContextMenu());
    EXPECT_EQ(menu->actions().back()->text(), QStringLiteral("&Print"));
    page().OnCommand(COpenAlbum::ID_PRINT);
    QFile args(record);
    for (int i = 0; i < 200 && !(args.exists() && args.size() > 0 &&
                                 QString::fromUtf8(fileContents(record)).count('\n') >= 4);
         ++i)
        QTest::qWait(20);
    const QStringList lines =
        QString::fromUtf8(fileContents(record)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("\\b"));
    EXPECT_TRUE(QFileInfo(lines[1]).fileName().startsWith("qd_"));
    EXPECT_TRUE(lines[2].endsWith("gen-0.jpg"));
    EXPECT_TRUE(lines[3].endsWith("gen-1.jpg"));
    QFile::remove(lines[1]);
}

TEST_F(AlbumManagerTest, DoubleClickOnTheIconOpensAndOnTheLabelEdits)
{
    write("a", "First", 200);
    write("b", "Second", 100);
    showPage();
    sheet->show();
    settle();
    QListWidget& albums = page().Albums();
    const QRect second = albums.visualItemRect(albums.item(1));
    QTest::mouseDClick(albums.viewport(), Qt::LeftButton, {},
                       second.bottomLeft() + QPoint(second.width() / 2, -3));
    settle();
    EXPECT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr); // the label editor
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    const QPoint icon =
        second.topLeft() + QPoint(second.width() / 2, albums.iconSize().height() / 2);
    QTest::mouseDClick(albums.viewport(), Qt::LeftButton, {}, icon);
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_STREQ(app.Album().StoredAlbumName().c_str(), "First"); // newest first: row 1
}

TEST_F(AlbumManagerTest, ThePageKeysRenameAndOpen)
{
    write("a", "Keyed", 100);
    showPage();
    sheet->show();
    settle();
    select(0);
    page().Albums().setFocus();
    QTest::keyClick(&page().Albums(), Qt::Key_F2);
    settle();
    EXPECT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();
    QTest::keyClick(&page().Albums(), Qt::Key_O, Qt::ControlModifier);
    settle();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    EXPECT_STREQ(app.Album().StoredAlbumName().c_str(), "Keyed");
}
