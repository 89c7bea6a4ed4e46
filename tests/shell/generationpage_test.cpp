// SPDX-License-Identifier: GPL-2.0-or-later
// The generation and final pages through the wizard's page protocol, with the real HTML
// plug-in writing albums into temporary folders, and the whole road of one new album.
#include <utility>

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include "album/projectfile.h"
#include "platform/placebookmarks.h"
#include "platform/settings.h"
#include "shell/albumintro.h"
#include "shell/albumlist.h"
#include "shell/openalbum.h"
#include "shell/albumoutput.h"
#include "shell/finalpage.h"
#include "shell/savealbum.h"
#include "shell/telmplatesel.h"
#include "shell/themechoice.h"
#include "tests/shell/imagepagefixture.h"

namespace
{

using Answer = Prompter::Answer;
using Method = CDestinationCheck::DeletionMethod;

const QString GenerateNow =
    QStringLiteral("The new album was not generated. Do you want to generate it now?");
const QString SaveChanges = QStringLiteral("Would you like to save changes to your album?");

class GenerationPageTest : public imagepage::ImagePageTest
{
protected:
    void SetUp() override
    {
        ImagePageTest::SetUp();
        if (!QFileInfo::exists(QStringLiteral(GVTEST_HTML_PLUGIN_DIR "/libgvhtml.so")))
            GTEST_SKIP() << "the HTML plug-in is not built";
        app.Album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    }
    CTelmplateSel& themePage() { return static_cast<CTelmplateSel&>(*sheet->Page(2)); }
    CSaveAlbum& generation() { return static_cast<CSaveAlbum&>(*sheet->Page(5)); }
    CFinalPage& final() { return static_cast<CFinalPage&>(*sheet->Page(6)); }
    Settings settings() { return Settings(); }
    int stored(const char* name, int fallback = -5)
    {
        return Settings().getInt(QStringLiteral("Settings"), QString::fromUtf8(name), fallback);
    }
    // The wizard at the generation page with an album of the HTML plug-in's first theme and
    // two photos; warnings are recorded and answered with answer.
    void openGeneration()
    {
        startSheet();
        ThemeChoice choice(app.Album(), app.Host());
        const std::vector<ThemePlugin> tree = choice.Tree();
        ASSERT_EQ(tree.size(), 1u);
        ASSERT_FALSE(tree[0].templates.empty());
        walkTo(CAlbumSheet::ThemePage);
        ASSERT_TRUE(themePage().SelectTemplate(tree[0].index, tree[0].templates[0].id));
        walkTo(CAlbumSheet::GenerationPage, {photo(QStringLiteral("exs-Nikon_D70.jpg")),
                                             photo(QStringLiteral("mdi-photoshop-8x12-rgb24.png"))});
        app.Album().MarkModified();
        generation().SetDeletionWarning([this](const QString& text, Method stored) {
            warnings << text;
            shownWith.push_back(stored);
            return warningAnswer;
        });
        prompter.texts.clear(); // what the start-up said (missing skin pictures)
    }
    void destination(const QString& folder) { generation().DestinationEdit().setText(folder); }
    QString favorites() const { return home.file(QStringLiteral("Favorites/Vellora Albums")); }

    TestFolder home;
    EnvironmentValue homeValue{"HOME", home.path().toUtf8()};
    // The file managers' bookmarks, of this test's own.
    EnvironmentValue configValue{"XDG_CONFIG_HOME", home.file(QStringLiteral(".config")).toUtf8()};
    QString bookmarks() const { return home.file(QStringLiteral(".config/gtk-3.0/bookmarks")); }
    EnvironmentValue noBrowser{"GALLIVEX_NO_BROWSER", "1"};
    EnvironmentValue themes{"GALLIVEX_HTML_TEMPLATES", GVTEST_HTML_PLUGIN_DIR "/html/templates"};
    TestFolder target;
    QStringList warnings;
    std::vector<Method> shownWith;
    std::optional<Method> warningAnswer;
};

// The generation page over the probe plug-in, whose Generate answers as its script says (a
// failure, the user's cancel) and whose ViewAlbum always fails.
class GenerationOutcomeTest : public GenerationPageTest
{
protected:
    void SetUp() override
    {
        GenerationPageTest::SetUp();
        if (IsSkipped())
            return;
        app.Album().PluginManager().SetPluginFolders(
            {installTestPlugins(probePlugins.path(), {"gvtest_probe"})});
    }
    void script(const QByteArray& lines) { probeFiles.write(QStringLiteral("script.txt"), lines); }
    void generate() { generation().GenerateButton().click(); }
    bool viewOffered() { return !generation().ViewButton().isHidden(); }

    TestFolder probePlugins;
    TestFolder probeFiles;
    EnvironmentValue scriptValue{"GVPROBE_SCRIPT", probeFiles.file("script.txt").toUtf8()};
    EnvironmentValue reportValue{"GVPROBE_REPORT", probeFiles.file("report.txt").toUtf8()};
};

} // namespace

TEST_F(GenerationOutcomeTest, ACancelledGenerationSaysSoAndNextStaysOnThePage)
{
    openGeneration();
    destination(target.path());
    EXPECT_FALSE(viewOffered());
    EXPECT_TRUE(generation().ResultLabel().text().isEmpty());
    script("return\t1223\n");
    generate();
    const QString cancelled =
        QStringLiteral("Generation was cancelled. The album was not generated.");
    EXPECT_EQ(generation().ResultLabel().text(), cancelled);
    EXPECT_TRUE(prompter.texts.isEmpty()); // the user's own doing: no message box
    EXPECT_FALSE(viewOffered());
    EXPECT_FALSE(app.Album().IsGenerated());
    EXPECT_TRUE(generation().GenerateButton().isEnabled());
    prompter.answers = {Answer::Yes};
    next();
    EXPECT_EQ(prompter.texts, QStringList{GenerateNow});
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    EXPECT_EQ(generation().ResultLabel().text(), cancelled);
}

TEST_F(GenerationOutcomeTest, AFailureIsShownThenASuccessOffersView)
{
    openGeneration();
    destination(target.path());
    script("return\t-1003\n");
    prompter.answers = {Answer::Yes};
    next();
    const QString failed =
        QStringLiteral("The album was not generated: Could not write into the file");
    EXPECT_EQ(prompter.texts, QStringList({GenerateNow, failed}));
    EXPECT_EQ(generation().ResultLabel().text(), failed);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    EXPECT_FALSE(viewOffered());

    prompter.texts.clear();
    script("");
    generate();
    EXPECT_TRUE(app.Album().IsGenerated());
    EXPECT_EQ(generation().ResultLabel().text(),
              QStringLiteral("The album was generated in \"%1\".")
                  .arg(QDir::toNativeSeparators(target.path())));
    ASSERT_TRUE(viewOffered());
    EXPECT_TRUE(prompter.texts.isEmpty()); // generating no longer opens the album by itself
    // This plug-in cannot show albums: the user is told.
    generation().ViewButton().click();
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("The album could not be shown (error -1).")});
    // Back and here again: the generated album can still be viewed.
    back();
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    EXPECT_TRUE(viewOffered());
    prompter.texts.clear();
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(GenerationPageTest, TheCheckBoxesFollowTheirSettingsAndNextStoresThem)
{
    settings().writeInt(QStringLiteral("Settings"), QStringLiteral("AddFavorites"), 0);
    openGeneration();
    EXPECT_TRUE(generation().SaveSettingsBox().isChecked()); // the default
    EXPECT_FALSE(generation().AddFavoritesBox().isChecked());
    EXPECT_EQ(generation().SaveSettingsBox().toolTip(),
              QStringLiteral("Check this box to save current album settings and press Next "
                             "button"));
    EXPECT_EQ(generation().AddFavoritesBox().toolTip(),
              QStringLiteral("Check this box to add the album's link to your Favorites folder"));
    EXPECT_EQ(generation().ChangeButton().text(), QStringLiteral("&Change..."));
    EXPECT_EQ(generation().GenerateButton().text(), QStringLiteral("&Generate"));
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZNEXT)->isEnabled());
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZBACK)->isEnabled());
    // The proposal: a folder named after the album below the result folder.
    EXPECT_FALSE(generation().DestinationEdit().text().isEmpty());
    EXPECT_EQ(generation().DestinationPath().text(), generation().DestinationEdit().text());
    generation().SaveSettingsBox().click();
    generation().AddFavoritesBox().click();
    prompter.answers = {Answer::Cancel};
    next();
    EXPECT_EQ(prompter.texts.last(), GenerateNow);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    EXPECT_EQ(stored("SaveOnExit"), 0);
    EXPECT_EQ(stored("AddFavorites"), 1);
}

TEST_F(GenerationPageTest, ChangeTakesTheChosenFolderAsTheDestination)
{
    struct FolderChooser : NoChoosers {
        QString folder(const QString& title, const QString& start) override
        {
            asked << title << start;
            return chosen;
        }
        QString chosen;
        QStringList asked;
    } folders;
    folders.chosen = target.path();
    settings().writeString(QStringLiteral("Paths"), QStringLiteral("ResultPath"), home.path());
    openGeneration();
    // The page's choosers are the sheet's; a page of its own shows the chooser's use.
    CSaveAlbum page(app, folders);
    page.ChangeButton().click();
    EXPECT_EQ(folders.asked,
              QStringList(
                  {QStringLiteral("Select the location you want place your album"), home.path()}));
    EXPECT_EQ(page.DestinationEdit().text(), QDir::toNativeSeparators(target.path()));
    EXPECT_EQ(page.DestinationPath().text(), page.DestinationEdit().text());
    EXPECT_EQ(QString::fromUtf8(app.Album().Destination().c_str()), target.path());
    EXPECT_EQ(QDir::currentPath(), QDir(target.path()).canonicalPath());
}

TEST_F(GenerationPageTest, AFolderChosenWithChangeIsSavedWithTheAlbum)
{
    useShippedGraphics();
    openGeneration();
    // The album is generated and saved once, without a Favorites shortcut.
    TestFolder first;
    destination(first.path());
    generation().AddFavoritesBox().setChecked(false);
    ASSERT_EQ(generation().Generate(), 0);
    ASSERT_FALSE(app.Album().IsModified());
    const std::string project = app.Album().ProjectPath().c_str();

    struct FolderChooser : NoChoosers {
        QString folder(const QString&, const QString&) override { return chosen; }
        QString chosen;
    } folders;
    folders.chosen = target.path();
    CSaveAlbum page(app, folders);
    page.ChangeButton().click();
    EXPECT_TRUE(app.Album().IsModified());
    destination(target.path());
    ASSERT_EQ(generation().Generate(), 0);
    EXPECT_FALSE(app.Album().IsModified());

    CGallivexImpl reader;
    reader.Album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    ASSERT_TRUE(reader.Album().Initialise());
    ProjectFile file(reader.Album(), prompter, choosers);
    ASSERT_EQ(file.OpenProject(project.c_str(), false), GV_OK);
    EXPECT_EQ(QString::fromUtf8(reader.Album().Destination().c_str()), target.path());
    reader.Album().PluginManager().ReleasePlugins(reader.Album().Plugins());
    reader.Album().Plugins().clear();
}

TEST_F(GenerationPageTest, AFolderWithOnlyHiddenFilesIsEmptyAndKeepsThem)
{
    target.write(QStringLiteral(".hidden"), "kept");
    openGeneration();
    destination(target.path());
    EXPECT_EQ(generation().Generate(), 0);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral(".hidden"))));
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    EXPECT_TRUE(app.Album().IsGenerated());
    for (const QString& text : prompter.texts)
        EXPECT_FALSE(text.contains(QStringLiteral("not empty"))) << text.toStdString();
}

TEST_F(GenerationPageTest, TheProgramsOwnFolderIsRefusedBeforeAnythingIsDeleted)
{
    program.write(QStringLiteral("album/keep.txt"), "kept");
    openGeneration();
    destination(program.file(QStringLiteral("album")));
    EXPECT_EQ(generation().Generate(), -1);
    ASSERT_FALSE(prompter.texts.isEmpty());
    EXPECT_TRUE(prompter.texts.last().startsWith(
        QStringLiteral("You chose to generate an album into the Gallivex installation folder")));
    EXPECT_TRUE(QFile::exists(program.file(QStringLiteral("album/keep.txt"))));
    EXPECT_FALSE(app.Album().IsGenerated());
    EXPECT_FALSE(generation().IsBusy());
    EXPECT_TRUE(generation().GenerateButton().isEnabled());
}

TEST_F(GenerationPageTest, AFolderHoldingPhotosOfTheAlbumIsRefused)
{
    openGeneration();
    destination(photos.path());
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(generation().Generate(), -1);
    EXPECT_TRUE(QFile::exists(photos.file(QStringLiteral("exs-Nikon_D70.jpg"))));
    ASSERT_FALSE(prompter.texts.isEmpty());
    EXPECT_TRUE(prompter.texts.last().contains(QStringLiteral("holds photos of this album")));
    // The home folder is refused as well.
    destination(home.path());
    EXPECT_EQ(generation().Generate(), -1);
    EXPECT_TRUE(prompter.texts.last().contains(QStringLiteral("home folder")));
    EXPECT_FALSE(app.Album().IsGenerated());
}

TEST_F(GenerationPageTest, NotShowAgainWithRecycleEmptiesAtOnceWithoutTheWarning)
{
    settings().writeInt(QStringLiteral("Settings"), QStringLiteral("NotShowAgain"), 1);
    settings().writeInt(QStringLiteral("Settings"), QStringLiteral("Recycle"), 1);
    target.write(QStringLiteral("old/stale.txt"), "old");
    openGeneration();
    destination(target.path());
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(generation().Generate(), 0);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target.file(QStringLiteral("old"))));
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    EXPECT_TRUE(prompter.texts.first().contains(QStringLiteral("is not empty")));
}

TEST_F(GenerationPageTest, TheWarningsChoicesAreStoredAndItsCancelKeepsTheFiles)
{
    target.write(QStringLiteral("stale.txt"), "old");
    openGeneration();
    destination(target.path());
    // No to the question: nothing shown, nothing deleted.
    prompter.answers = {Answer::No};
    EXPECT_EQ(generation().Generate(), -1);
    EXPECT_TRUE(warnings.isEmpty());
    // Yes, then Cancel in the warning.
    prompter.answers = {Answer::Yes};
    warningAnswer.reset();
    EXPECT_EQ(generation().Generate(), -1);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith(
        QStringLiteral("You chose to delete all files from the folder\n\"%1\"")
            .arg(target.path())));
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("stale.txt"))));
    EXPECT_EQ(stored("Recycle"), -5);
    // Yes, then OK with "remove at once" and "do not warn me again".
    prompter.answers = {Answer::Yes};
    warningAnswer = Method{true, true};
    EXPECT_EQ(generation().Generate(), 0);
    EXPECT_FALSE(QFile::exists(target.file(QStringLiteral("stale.txt"))));
    EXPECT_EQ(stored("Recycle"), 1);
    EXPECT_EQ(stored("NotShowAgain"), 1);
    // From now on only the question is asked.
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(generation().Generate(), 0);
    EXPECT_EQ(warnings.size(), 2);
}

// Generate again into the album's own folder: no question, no emptying, nothing rewritten; a
// file the album did not write brings the question back, and No keeps everything.
TEST_F(GenerationPageTest, TheAlbumsOwnFolderIsUpdatedWithoutAQuestionAStrayFileIsAsked)
{
    openGeneration();
    destination(target.path());
    generation().GenerateButton().click();
    ASSERT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    ASSERT_TRUE(QFile::exists(target.file(QStringLiteral("gallivex-album.json"))));
    const QDateTime written = QFileInfo(target.file(QStringLiteral("index.html"))).lastModified();
    prompter.texts.clear();
    generation().GenerateButton().click();
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(QFileInfo(target.file(QStringLiteral("index.html"))).lastModified(), written);

    target.write(QStringLiteral("pictures/mine.jpg"), "the user's own");
    prompter.answers = {Answer::No};
    generation().GenerateButton().click();
    ASSERT_FALSE(prompter.texts.isEmpty());
    EXPECT_TRUE(prompter.texts.first().contains(QStringLiteral("is not empty")));
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("pictures/mine.jpg"))));
    EXPECT_EQ(QFileInfo(target.file(QStringLiteral("index.html"))).lastModified(), written);
}

TEST_F(GenerationPageTest, TheWarningDialogShowsTheStoredChoicesAndGivesItsBoxes)
{
    CDeletionWarningDlg dialog(QStringLiteral("text"), Method{true, false});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File Deletion Warning"));
    EXPECT_TRUE(dialog.RecycleBox().isChecked());
    EXPECT_FALSE(dialog.NotShowAgainBox().isChecked());
    EXPECT_EQ(dialog.NotShowAgainBox().text(), QStringLiteral("Do &not warn me again"));
    dialog.RecycleBox().click();
    dialog.NotShowAgainBox().click();
    EXPECT_FALSE(dialog.Method().removeImmediately);
    EXPECT_TRUE(dialog.Method().notShowAgain);
}

TEST_F(GenerationPageTest, GeneratingWritesTheAlbumSavesItAndAddsTheFavoritesShortcut)
{
    useShippedGraphics();
    openGeneration();
    destination(target.path());
    EXPECT_EQ(generation().Generate(), 0);
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    EXPECT_TRUE(app.Album().IsGenerated());
    EXPECT_FALSE(app.Album().IsModified());
    ASSERT_TRUE(app.Album().HasProjectFile());
    const QString name = QString::fromUtf8(app.Album().AlbumName().c_str());
    ASSERT_FALSE(name.isEmpty());
    EXPECT_EQ(QString::fromUtf8(app.Album().FavoritesName().c_str()), name);
    const QString shortcut = favorites() + u'/' + name + QStringLiteral(".desktop");
    ASSERT_TRUE(QFile::exists(shortcut));
    QSettings entry(shortcut, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Link"));
    EXPECT_EQ(entry.value(QStringLiteral("Name")).toString(), name);
    EXPECT_EQ(entry.value(QStringLiteral("Comment")).toString(), QStringLiteral("Vellora Album"));
    const QUrl start(entry.value(QStringLiteral("URL")).toString());
    EXPECT_TRUE(start.isLocalFile());
    EXPECT_TRUE(QFileInfo::exists(start.toLocalFile())) << start.toString().toStdString();
    // The installed icon's name, not the program file; the album's folder among the places.
    EXPECT_EQ(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("gallivex"));
    EXPECT_EQ(platform::PlaceBookmarks().target(name), QUrl::fromLocalFile(target.path()));
    // The project file knows the shortcut.
    CGallivexImpl reader;
    reader.Album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    ASSERT_TRUE(reader.Album().Initialise());
    ProjectFile file(reader.Album(), prompter, choosers);
    ASSERT_EQ(file.OpenProject(app.Album().ProjectPath().c_str(), false), GV_OK);
    EXPECT_EQ(QString::fromUtf8(reader.Album().FavoritesName().c_str()), name);
    EXPECT_EQ(QString::fromUtf8(reader.Album().Destination().c_str()), target.path());
    reader.Album().PluginManager().ReleasePlugins(reader.Album().Plugins());
    reader.Album().Plugins().clear();
    // Next goes on without a question once the album is generated.
    const qsizetype asked = prompter.texts.size();
    sheet->show();
    saveScreenshot(*sheet, QStringLiteral("page5-generation-form"));
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_EQ(prompter.texts.size(), asked);
}

TEST_F(GenerationPageTest, NoToGenerateNowAsksOnceToSaveAModifiedAlbum)
{
    openGeneration();
    generation().SaveSettingsBox().setChecked(false);
    prompter.answers = {Answer::No, Answer::No};
    next();
    EXPECT_EQ(prompter.texts, QStringList({GenerateNow, SaveChanges}));
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_FALSE(app.Album().HasProjectFile());
}

TEST_F(GenerationPageTest, ANewAlbumIsSavedUnderTheNameTheUserTypes)
{
    TestFolder projects;
    settings().writeString(QStringLiteral("Paths"), QStringLiteral("ProjectPath"), projects.path());
    openGeneration();
    const QString title = QString::fromUtf8(app.Album().AlbumName().c_str());
    ASSERT_FALSE(title.isEmpty());
    typedAlbumName = QStringLiteral("Holiday 2024");
    prompter.answers = {Answer::No}; // not generated now; saved at once (the box is on)
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_EQ(namesProposed, QStringList{title});
    EXPECT_EQ(QString::fromUtf8(app.Album().ProjectPath().c_str()),
              projects.file(QStringLiteral("Holiday_2024.gvp")));
    // The album has no folder yet, and still the title does not replace the typed name.
    EXPECT_STREQ(app.Album().AlbumName().c_str(), "Holiday 2024");
    QFile saved(projects.file(QStringLiteral("Holiday_2024.gvp")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("AlbumName=\"Holiday 2024\""));
}

TEST_F(GenerationPageTest, YesToGenerateNowStaysWhenTheCheckRefuses)
{
    openGeneration();
    destination(program.path());
    prompter.answers = {Answer::Yes};
    next();
    EXPECT_EQ(prompter.texts.first(), GenerateNow);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    // Yes with a good folder generates, saves at once (the save box) and goes on.
    prompter.texts.clear();
    destination(target.path());
    generation().AddFavoritesBox().setChecked(false);
    prompter.answers = {Answer::Yes};
    next();
    EXPECT_EQ(prompter.texts, QStringList({GenerateNow}));
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_TRUE(app.Album().IsGenerated());
    EXPECT_TRUE(app.Album().HasProjectFile());
    EXPECT_FALSE(QFileInfo::exists(favorites()));
    EXPECT_FALSE(QFileInfo::exists(bookmarks()));
}

TEST_F(GenerationPageTest, WithoutAThemeNothingIsMadeOrEmptiedAndThePageSaysWhy)
{
    openGeneration();
    app.Album().Reset();
    target.write(QStringLiteral("keep.txt"), "kept");
    destination(target.path());
    prompter.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    EXPECT_EQ(generation().Generate(), GV_E_PLUGINID);
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("keep.txt"))));
    const QString why = QStringLiteral("The album was not generated: Plugin ID is invalid");
    EXPECT_EQ(generation().ResultLabel().text(), why);
    EXPECT_EQ(prompter.texts, QStringList{why});
    // Next, Yes: nothing could be generated, so the page stays; No goes on without it.
    prompter.texts.clear();
    destination(target.file(QStringLiteral("new")));
    prompter.answers = {Answer::Yes};
    next();
    EXPECT_EQ(prompter.texts, QStringList({GenerateNow, why}));
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    prompter.answers = {Answer::No};
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    EXPECT_FALSE(QFileInfo::exists(target.file(QStringLiteral("new"))));
    EXPECT_FALSE(app.Album().IsGenerated());
}

TEST_F(GenerationPageTest, TheFinalPageRemembersTheChoiceAndDoneEndsTheWizard)
{
    settings().writeInt(QStringLiteral("Settings"), QStringLiteral("ContinueWithGV"), 0);
    useShippedGraphics();
    openGeneration();
    walkTo(CAlbumSheet::FinalPage);
    EXPECT_TRUE(final().ExitButton().isChecked());
    EXPECT_FALSE(final().ContinueButton().isChecked());
    EXPECT_EQ(final().ContinueButton().toolTip(),
              QStringLiteral("Check to continue with Gallivex (Ctrl+C)"));
    EXPECT_EQ(final().ExitButton().toolTip(), QStringLiteral("Check to exit application (Ctrl+E)"));
    EXPECT_FALSE(sheet->Button(CMyPropertySheet::ID_WIZNEXT)->isEnabled());
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZFINISH)->isEnabled());
    EXPECT_EQ(sheet->Button(CMyPropertySheet::ID_WIZFINISH)->text(), QStringLiteral("&Done"));
    // Clicking the checked one keeps exactly one on.
    final().ExitButton().click();
    EXPECT_TRUE(final().ExitButton().isChecked());
    EXPECT_FALSE(final().ContinueButton().isChecked());
    sheet->show();
    saveScreenshot(*sheet, QStringLiteral("page6-final-form"));
    sheet->Button(CMyPropertySheet::ID_WIZFINISH)->click();
    settle();
    EXPECT_EQ(stored("ContinueWithGV"), 0);
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(GenerationPageTest, CtrlCOnTheFinalPageStartsAFreshAlbumOnTheWelcomePage)
{
    settings().writeInt(QStringLiteral("Settings"), QStringLiteral("ContinueWithGV"), 0);
    openGeneration();
    walkTo(CAlbumSheet::FinalPage);
    EXPECT_TRUE(final().OnCommand(CFinalPage::ID_CONTINUE));
    settle();
    EXPECT_EQ(stored("ContinueWithGV"), 1);
    EXPECT_TRUE(final().ContinueButton().isChecked());
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_TRUE(app.Album().Images().empty());
    EXPECT_EQ(app.Album().PluginIndex(), -1);
    EXPECT_TRUE(sheet->isVisible() || sheet->result() != QDialog::Accepted);
    // Ctrl+E chooses the exit and presses Done.
    walkTo(CAlbumSheet::FinalPage);
    EXPECT_TRUE(final().OnCommand(CFinalPage::ID_EXIT));
    settle();
    EXPECT_EQ(stored("ContinueWithGV"), 0);
    EXPECT_TRUE(final().ExitButton().isChecked());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(GenerationPageTest, TheWholeRoadOfANewAlbumEndsWithItOnDiskAndSaved)
{
    startSheet();
    // Welcome: a new album.
    static_cast<CAlbumIntro&>(*sheet->Page(0)).CreateNewButton().click();
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    // Theme: the HTML plug-in's first theme.
    QTreeWidget& tree = static_cast<CTelmplateSel&>(*sheet->Page(2)).Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    ASSERT_GT(tree.topLevelItem(0)->childCount(), 0);
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    EXPECT_GE(app.Album().PluginIndex(), 0);
    // Image list: three real photos.
    auto scripted = std::make_unique<imagepage::ScriptedImageChoosers>();
    chooser = scripted.get();
    page().SetImageChoosers(std::move(scripted));
    page().SetTemporaryFolder(temporary.path());
    addThree();
    ASSERT_EQ(titles().size(), 3);
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage);
    ASSERT_EQ(app.Album().Images().size(), 3u);
    // Properties: as they are.
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::GenerationPage);
    // Generation into a temporary folder.
    generation().SetDeletionWarning([](const QString&, Method) { return std::nullopt; });
    destination(target.path());
    generation().GenerateButton().click();
    settle();
    EXPECT_TRUE(app.Album().IsGenerated());
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::FinalPage);
    const std::string projectPath = app.Album().ProjectPath().c_str();
    ASSERT_FALSE(projectPath.empty());
    const std::string albumName = app.Album().AlbumName().c_str();
    // Final: exit.
    final().ExitButton().click();
    sheet->Button(CMyPropertySheet::ID_WIZFINISH)->click();
    settle();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    // The album on disk: its start page and a picture for every photo.
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    QStringList pictures;
    QDirIterator files(target.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("png") ||
            suffix == QStringLiteral("gif"))
            pictures << file;
    }
    EXPECT_GE(pictures.size(), 3) << pictures.join(u' ').toStdString();
    QFile index(target.file(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().contains("<html"));
    // The saved project, read back.
    CGallivexImpl reader;
    reader.Album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    ASSERT_TRUE(reader.Album().Initialise());
    ProjectFile file(reader.Album(), prompter, choosers);
    ASSERT_EQ(file.OpenProject(projectPath.c_str(), false), GV_OK);
    EXPECT_EQ(reader.Album().Images().size(), 3u);
    EXPECT_EQ(QString::fromUtf8(reader.Album().Destination().c_str()), target.path());
    EXPECT_EQ(reader.Album().PluginIndex(), 0);
    EXPECT_EQ(std::string(reader.Album().AlbumName().c_str()), albumName);
    EXPECT_EQ(std::string(reader.Album().FavoritesName().c_str()), albumName);
    // Next time, the album manager lists it.
    startSheet();
    static_cast<CAlbumIntro&>(*sheet->Page(0)).OpenExistingButton().click();
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
    const AlbumList& listed = static_cast<COpenAlbum&>(*sheet->Page(1)).List();
    bool found = false;
    for (int i = 0; i < listed.Count(); ++i)
        found = found || QString::fromUtf8(listed.At(i)->summary.projectPath.c_str()) ==
                             QString::fromStdString(projectPath);
    EXPECT_TRUE(found);
    reader.Album().PluginManager().ReleasePlugins(reader.Album().Plugins());
    reader.Album().Plugins().clear();
}

TEST_F(GenerationPageTest, WhileThePlugInGeneratesThePageStaysAndTheWindowStaysOpen)
{
    // The progress window's pump is where the user could act while the plug-in works: there
    // the test presses every way out the wizard has.
    struct Probe : Progress {
        std::function<void()> act;
        void setTitle(const QString&) override {}
        void setPosition(int) override {}
        void setText(const QString&) override {}
        bool pump() override
        {
            if (act)
                std::exchange(act, nullptr)();
            return false;
        }
    };
    openGeneration();
    sheet->show();
    destination(target.path());
    bool backEnabled = true, nextEnabled = true, cancelEnabled = true;
    int pageDuring = -1;
    bool visibleAfterClose = false;
    app.Album().SetProgressFactory([&] {
        auto probe = std::make_unique<Probe>();
        probe->act = [&] {
            backEnabled = sheet->Button(CMyPropertySheet::ID_WIZBACK)->isEnabled();
            nextEnabled = sheet->Button(CMyPropertySheet::ID_WIZNEXT)->isEnabled();
            cancelEnabled = sheet->Button(CMyPropertySheet::IDCANCEL)->isEnabled();
            sheet->Navigator().Back(); // as the theme page's double-click or a key would
            sheet->Navigator().Next();
            QTest::keyClick(sheet.get(), Qt::Key_Escape);
            sheet->close();
            visibleAfterClose = sheet->isVisible();
            pageDuring = sheet->GetActiveIndex();
        };
        return probe;
    });
    prompter.texts.clear();
    generation().GenerateButton().click();
    EXPECT_FALSE(backEnabled);
    EXPECT_FALSE(nextEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(pageDuring, CAlbumSheet::GenerationPage);
    EXPECT_FALSE(prompter.texts.contains(QStringLiteral("Exit Gallivex now?")));
    EXPECT_TRUE(QFile::exists(target.file(QStringLiteral("index.html"))));
    // Afterwards the wizard is as it was.
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::ID_WIZBACK)->isEnabled());
    EXPECT_TRUE(sheet->Button(CMyPropertySheet::IDCANCEL)->isEnabled());
    clickBack();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage);
}
