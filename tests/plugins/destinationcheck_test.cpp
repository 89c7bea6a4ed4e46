// SPDX-License-Identifier: GPL-2.0-or-later
// The generation page's destination folder: the proposal, making it, the refusals, the two
// questions and their answers, emptying to the Trash or at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "album/albumproject.h"
#include "outputs/html/albummanifest.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/destinationcheck.h"
#include "tests/support/testenv.h"

namespace
{

using Method = CDestinationCheck::DeletionMethod;
using Refusal = CDestinationCheck::Refusal;

// The warning dialog as the user answers it, recording how often it was shown.
struct Warning {
    std::optional<Method> answer;
    QStringList texts;
    std::vector<Method> stored;

    CDestinationCheck::DeletionWarning dialog()
    {
        return [this](const QString& text, Method shown) {
            texts << text;
            stored.push_back(shown);
            return answer;
        };
    }
};

class DestinationTest : public ::testing::Test
{
protected:
    DestinationTest()
        : data("XDG_DATA_HOME", base.file("data").toUtf8()),
          home("HOME", base.file("home").toUtf8()), program(base.file("apps/program"))
    {
        QDir().mkpath(base.file("home"));
        QDir().mkpath(program);
    }

    // A destination holding a file, a folder and a hidden file.
    QString filledFolder(const QString& name)
    {
        base.write(name + "/index.html", "old page");
        base.write(name + "/pictures/p1.jpg", "old picture");
        base.write(name + "/.state", "hidden");
        return base.file(name);
    }
    QString trash() const { return base.file("data/Trash/files"); }
    CDestinationCheck check() { return CDestinationCheck(prompter, warning.dialog(), program); }
    void addPhoto(const QString& path)
    {
        AlbumImage image;
        image.path = path.toUtf8().constData();
        album.Images().push_back(image);
    }

    TestFolder base;
    EnvironmentValue data;
    EnvironmentValue home;
    SettingsSandbox sandbox;
    QString program;
    ScriptedPrompter prompter;
    Warning warning;
    AlbumProject album;
};

TEST_F(DestinationTest, EmptyOrHiddenOnlyFoldersAreTakenWithoutAQuestion)
{
    const QString empty = base.file("empty");
    QDir().mkpath(empty);
    base.write("hidden/.keep", "hidden");
    for (const QString& folder : {empty, base.file("hidden")}) {
        CDestinationCheck destination = check();
        EXPECT_TRUE(destination.Check(folder, album)) << folder.toStdString();
        EXPECT_EQ(destination.LastRefusal(), Refusal::None);
    }
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(entriesOf(base.file("hidden")), QStringList{".keep"});
}

TEST_F(DestinationTest, NoToTheQuestionKeepsEverything)
{
    const QString folder = filledFolder("album");
    CDestinationCheck destination = check();
    // No answer given: the question's own default must be No.
    EXPECT_FALSE(destination.Check(folder, album));
    EXPECT_EQ(destination.LastRefusal(), Refusal::Declined);
    EXPECT_EQ(prompter.texts, QStringList{loadString(IDS_FOLDER_NOT_EMPTY).arg(folder)});
    EXPECT_TRUE(warning.texts.isEmpty());
    EXPECT_EQ(entriesOf(folder).size(), 3);
}

TEST_F(DestinationTest, AnswersToTheWarningDecideHowTheFolderIsEmptied)
{
    const struct {
        const char* what;
        int recycle, notShowAgain;      // stored before
        std::optional<Method> answer;   // the dialog's answer
        bool shown, accepted, trashed;  // what happens
        int recycleAfter, notShowAfter; // stored after
    } cases[] = {
        {"cancelled", 0, 0, std::nullopt, true, false, false, 0, 0},
        {"to the Trash", 0, 0, Method{false, false}, true, true, true, 0, 0},
        {"at once, never ask", 0, 0, Method{true, true}, true, true, false, 1, 1},
        {"stored: at once, no dialog", 1, 1, std::nullopt, false, true, false, 1, 1},
        {"stored: Trash, no dialog", 0, 1, std::nullopt, false, true, true, 0, 1},
        {"dialog starts from Recycle 1", 1, 0, Method{false, false}, true, true, true, 0, 0},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Settings settings;
        settings.writeInt("Settings", "Recycle", c.recycle);
        settings.writeInt("Settings", "NotShowAgain", c.notShowAgain);
        QDir(trash()).removeRecursively();
        const QString folder = filledFolder(QStringLiteral("album%1").arg(run++));
        prompter.answers = {Prompter::Answer::Yes};
        warning = Warning{c.answer, {}, {}};
        CDestinationCheck destination = check();
        EXPECT_EQ(destination.Check(folder, album), c.accepted);
        EXPECT_EQ(warning.texts.size(), c.shown ? 1 : 0);
        if (c.shown) {
            EXPECT_EQ(warning.texts.first(), loadString(IDS_DELETION_WARNING_TEXT).arg(folder));
            EXPECT_EQ(warning.stored.front().removeImmediately, c.recycle == 1);
        }
        EXPECT_EQ(entriesOf(folder).isEmpty(), c.accepted);
        EXPECT_EQ(entriesOf(trash()).size(), c.trashed ? 3 : 0);
        EXPECT_EQ(settings.getInt("Settings", "Recycle", -1), c.recycleAfter);
        EXPECT_EQ(settings.getInt("Settings", "NotShowAgain", -1), c.notShowAfter);
    }
}

TEST_F(DestinationTest, AFixedMethodSkipsTheDialogAndTheSettings)
{
    for (const bool removeImmediately : {false, true}) {
        QDir(trash()).removeRecursively();
        const QString folder = filledFolder(removeImmediately ? "now" : "later");
        prompter.answers = {Prompter::Answer::Yes};
        CDestinationCheck destination = check();
        destination.SetDeletionMethod(removeImmediately);
        EXPECT_TRUE(destination.Check(folder, album));
        EXPECT_TRUE(entriesOf(folder).isEmpty());
        EXPECT_EQ(entriesOf(trash()).size(), removeImmediately ? 0 : 3);
    }
    EXPECT_TRUE(warning.texts.isEmpty());
    EXPECT_FALSE(Settings().contains("Settings", "Recycle"));
    EXPECT_FALSE(Settings().contains("Settings", "NotShowAgain"));
}

TEST_F(DestinationTest, LinksAreRemovedNotWhatTheyPointTo)
{
    base.write("elsewhere/precious.jpg", "keep me");
    base.write("elsewhere/sub/more.jpg", "keep me too");
    for (const bool removeImmediately : {false, true}) {
        const QString folder = filledFolder(removeImmediately ? "now" : "later");
        ASSERT_TRUE(QFile::link(base.file("elsewhere"), folder + "/link"));
        ASSERT_TRUE(QFile::link(base.file("elsewhere/precious.jpg"), folder + "/file-link.jpg"));
        prompter.answers = {Prompter::Answer::Yes};
        CDestinationCheck destination = check();
        destination.SetDeletionMethod(removeImmediately);
        EXPECT_TRUE(destination.Check(folder, album));
        EXPECT_TRUE(entriesOf(folder).isEmpty());
        EXPECT_EQ(entriesOf(base.file("elsewhere")), (QStringList{"precious.jpg", "sub"}));
        EXPECT_TRUE(QFileInfo::exists(base.file("elsewhere/sub/more.jpg")));
    }
}

// The album generated here before: its manifest lists every file, so the generation may
// update it in place; a file it does not list makes it someone else's folder again.
TEST_F(DestinationTest, TheAlbumsOwnFolderIsTakenAsItIsAnythingElseIsAsked)
{
    const auto albumFolder = [this](const QString& name) {
        const QString folder = filledFolder(name);
        CAlbumManifest manifest;
        for (const char* file : {"index.html", "pictures/p1.jpg", ".state"})
            manifest.files[file] = {QFileInfo(folder + '/' + file).size(), "00ff"};
        EXPECT_TRUE(manifest.Save(folder));
        return folder;
    };
    const QString own = albumFolder("own");
    base.write("own/filelist.xml", "<FileList/>"); // what the publisher keeps beside it
    const QString stray = albumFolder("stray");
    base.write("stray/pictures/mine.jpg", "the user's own");
    const QString linked = albumFolder("linked");
    ASSERT_TRUE(QFile::link(base.file("home"), linked + "/pictures/home"));
    const QString broken = albumFolder("broken");
    base.write("broken/gallivex-album.json", "{\"format\": 1, \"files\": [");

    CDestinationCheck destination = check();
    EXPECT_TRUE(destination.Check(own, album));
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_TRUE(warning.texts.isEmpty());
    EXPECT_EQ(entriesOf(own).size(), 5) << "nothing is emptied";
    for (const QString& folder : {stray, linked, broken}) {
        SCOPED_TRACE(folder.toStdString());
        prompter.texts.clear();
        EXPECT_FALSE(check().Check(folder, album)) << "no answer is No";
        EXPECT_EQ(prompter.texts, QStringList{loadString(IDS_FOLDER_NOT_EMPTY).arg(folder)});
        EXPECT_EQ(entriesOf(folder).size(), 4);
    }
}

TEST_F(DestinationTest, ATrashThatCannotBeMadeRefusesAndKeepsEverything)
{
    base.write("not-a-folder", "a file where the data folder should be");
    EnvironmentValue badData("XDG_DATA_HOME", base.file("not-a-folder/data").toUtf8());
    const QString folder = filledFolder("album");
    prompter.answers = {Prompter::Answer::Yes};
    CDestinationCheck destination = check();
    destination.SetDeletionMethod(false);
    EXPECT_FALSE(destination.Check(folder, album));
    EXPECT_EQ(destination.LastRefusal(), Refusal::EmptyingFailed);
    EXPECT_EQ(entriesOf(folder).size(), 3);
    EXPECT_TRUE(prompter.texts.last().startsWith(
        loadString(IDS_TRASH_FAILED).arg(folder, QString()).left(40)));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files/index.html")));
}

TEST_F(DestinationTest, FoldersThatMustNotBeEmptiedAreRefusedBeforeAnyQuestion)
{
    base.write("home/Pictures/trip/beach.jpg", "a photo");
    base.write("apps/program/plugins/readme.txt", "the program");
    base.write("photos/2004/sunset.jpg", "a photo");
    QDir().mkpath(base.file("apps/program/albums"));
    ASSERT_TRUE(QFile::link(base.file("apps/program"), base.file("program-link")));
    ASSERT_TRUE(QFile::link(base.file("photos"), base.file("photos-link")));
    addPhoto(base.file("photos/2004/sunset.jpg"));
    addPhoto(base.file("home/Pictures/trip/beach.jpg"));
    const struct {
        QString folder;
        Refusal why;
        int message;
    } cases[] = {
        {program, Refusal::InstallationFolder, IDS_INSTALLATION_FOLDER},
        {program + "/albums", Refusal::InstallationFolder, IDS_INSTALLATION_FOLDER},
        {base.file("program-link/albums"), Refusal::InstallationFolder, IDS_INSTALLATION_FOLDER},
        {base.file("apps"), Refusal::HoldsProgram, IDS_DESTINATION_HOLDS_PROGRAM},
        {base.path(), Refusal::Home, IDS_DESTINATION_IS_HOME},
        {QStringLiteral("/"), Refusal::Root, IDS_DESTINATION_IS_ROOT},
        {base.file("home"), Refusal::Home, IDS_DESTINATION_IS_HOME},
        {base.file("home/Pictures"), Refusal::HoldsPhotos, IDS_DESTINATION_HOLDS_PHOTOS},
        {base.file("photos"), Refusal::HoldsPhotos, IDS_DESTINATION_HOLDS_PHOTOS},
        {base.file("photos/2004"), Refusal::HoldsPhotos, IDS_DESTINATION_HOLDS_PHOTOS},
        {base.file("photos-link"), Refusal::HoldsPhotos, IDS_DESTINATION_HOLDS_PHOTOS},
        {base.file("photos/2004/../2004"), Refusal::HoldsPhotos, IDS_DESTINATION_HOLDS_PHOTOS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        prompter.texts.clear();
        prompter.answers = {Prompter::Answer::Yes};
        CDestinationCheck destination = check();
        destination.SetDeletionMethod(true);
        EXPECT_FALSE(destination.Check(c.folder, album));
        EXPECT_EQ(destination.LastRefusal(), c.why);
        ASSERT_EQ(prompter.texts.size(), 1);
        EXPECT_TRUE(prompter.texts.first().startsWith(loadString(c.message).arg(c.folder).left(60)))
            << prompter.texts.first().toStdString();
    }
    for (const char* kept : {"home/Pictures/trip/beach.jpg", "apps/program/plugins/readme.txt",
                             "photos/2004/sunset.jpg"})
        EXPECT_TRUE(QFileInfo::exists(base.file(kept))) << kept;
}

TEST_F(DestinationTest, PreparingTheFolder)
{
    base.write("a-file", "text");
    CDestinationCheck destination = check();
    EXPECT_TRUE(destination.PrepareFolder(base.file("new/deeper/album")));
    EXPECT_TRUE(QFileInfo(base.file("new/deeper/album")).isDir());
    EXPECT_TRUE(destination.PrepareFolder(base.file("new")));
    EXPECT_FALSE(destination.PrepareFolder(base.file("a-file")));
    EXPECT_EQ(destination.LastRefusal(), Refusal::NotFolder);
    EXPECT_FALSE(destination.PrepareFolder(base.file("a-file/album")));
    EXPECT_EQ(destination.LastRefusal(), Refusal::CannotCreate);
    EXPECT_FALSE(destination.PrepareFolder(QString()));
    EXPECT_EQ(
        prompter.texts,
        (QStringList{loadString(IDS_DESTINATION_NOT_FOLDER).arg(base.file("a-file")),
                     loadString(IDS_PATH_DOES_NOT_EXIST), loadString(IDS_PATH_DOES_NOT_EXIST)}));
}

TEST_F(DestinationTest, TheProposal)
{
    QDir().mkpath(base.file("existing"));
    const struct {
        const char* what;
        QString destination;
        QString name;
        QString resultPath;
        QString proposal;
    } cases[] = {
        {"the album's own folder", base.file("existing"), "Trip", "/r", base.file("existing")},
        {"a missing folder is not", base.file("gone"), "Trip", "/r", "/r/Trip"},
        {"names become file names", base.file("gone"), "My Album 1.0", "/r/", "/r/My_Album_1_0"},
        {"a Windows folder ends in a backslash", base.file("gone"), "a/b", "C:\\r\\", "C:\\r\\a_b"},
        {"elsewhere a backslash is part of the name", base.file("gone"), "a/b", "/r\\", "/r\\/a_b"},
        {"the pictures folder by default", base.file("gone"), "Trip", "",
         CDestinationCheck::DefaultResultFolder() + "/Trip"},
    };
    for (const auto& c : cases) {
        Settings().writeString("Paths", "ResultPath", c.resultPath);
        album.SetDestination(c.destination.toUtf8().constData());
        album.SetAlbumName(c.name.toUtf8().constData());
        EXPECT_EQ(CDestinationCheck::ProposeDestination(album), c.proposal) << c.what;
    }
}

} // namespace
