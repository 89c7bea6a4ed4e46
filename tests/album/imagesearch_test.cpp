// SPDX-License-Identifier: GPL-2.0-or-later
// Photos that are no longer where the album says: the search folders, the user's answers,
// and what an opened album keeps.
#include "album/imagesearch.h"
#include "tests/album/legacyfile.h"
#include "tests/album/projectfixture.h"

namespace
{

using Answer = Prompter::Answer;
using ImageSearchTest = ProjectTest;

QString question(const QString& stored)
{
    return "Could not access image file \"" + stored +
           "\", listed in the album.\nDo you want to specify an additional search folder?";
}

} // namespace

TEST_F(ImageSearchTest, FoldersAnswersAndTheChooser)
{
    for (const char* photo : {"f1/b.jpg", "f1/c.jpg", "f2/a.jpg", "f2/c.jpg", "f3/d.jpg"})
        work.write(photo, "x");
    QDir().mkpath(work.file("f4"));
    QDir().mkpath(work.file("f1/dir.jpg"));
    const std::string f1 = path("f1/"), f2 = path("f2/"), f3 = path("f3/");
    struct Case {
        const char* what;
        const char* stored;
        bool ask;
        std::deque<Answer> answers;
        std::deque<QString> folders;
        bool answer;
        std::string path;
        int questions;
    };
    const std::vector<Case> cases = {
        {"found by name, stored with backslashes",
         "C:\\old\\b.jpg",
         true,
         {},
         {},
         true,
         f1 + "b.jpg",
         0},
        {"the folder added first wins", "/old/c.jpg", true, {}, {}, true, f1 + "c.jpg", 0},
        {"found without asking too", "/old/a.jpg", false, {}, {}, true, f2 + "a.jpg", 0},
        {"a folder of that name is no photo",
         "/old/dir.jpg",
         false,
         {},
         {},
         true,
         "/old/dir.jpg",
         0},
        {"a path without a file name", "/old/", false, {}, {}, true, "/old/", 0},
        {"not asking keeps the path", "/old/x.jpg", false, {}, {}, true, "/old/x.jpg", 0},
        {"Cancel", "/old/x.jpg", true, {Answer::Cancel}, {}, false, "/old/x.jpg", 1},
        {"No", "/old/x.jpg", true, {Answer::No}, {}, true, "/old/x.jpg", 1},
        {"Yes and a folder that holds it",
         "/old/d.jpg",
         true,
         {Answer::Yes},
         {work.file("f3")},
         true,
         f3 + "d.jpg",
         1},
        {"Yes, no folder chosen, asked again",
         "/old/e.jpg",
         true,
         {Answer::Yes, Answer::No},
         {},
         true,
         "/old/e.jpg",
         2},
        {"Yes, a folder without it, asked again",
         "/old/e.jpg",
         true,
         {Answer::Yes, Answer::Cancel},
         {work.file("f4")},
         false,
         "/old/e.jpg",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImageSearch folders;
        folders.AddFolder(f1);
        folders.AddFolder(work.file("f2").toStdString());
        prompter.texts.clear();
        prompter.answers = c.answers;
        choosers.calls.clear();
        choosers.folders = c.folders;
        gv_string stored = c.stored;
        EXPECT_EQ(folders.ResolveImagePath(stored, c.ask, prompter, choosers), c.answer);
        EXPECT_STREQ(stored.c_str(), c.path.c_str());
        ASSERT_EQ(prompter.texts.size(), c.questions);
        for (const QString& text : prompter.texts)
            EXPECT_EQ(text, question(c.stored));
        for (const QString& call : choosers.calls)
            EXPECT_EQ(call, "folder|Please select the folder with photos you wish to add to your "
                            "album.|" +
                                QString(c.stored));
        EXPECT_EQ(folders.Folders().size(), 2 + c.folders.size());
    }
}

TEST(ImageSearchList, FoldersEndInASeparatorAndTheProgramHasOneList)
{
    ImageSearch folders;
    folders.AddFolder("/x");
    folders.AddFolder("/y/");
    folders.AddFolder("C:\\z");
    EXPECT_EQ(folders.Folders(), (std::vector<std::string>{"/x/", "/y/", "C:/z/"}));
    folders.Clear();
    EXPECT_TRUE(folders.Folders().empty());
    EXPECT_EQ(&ImageSearch::Global(), &ImageSearch::Global());
}

TEST_F(ImageSearchTest, OpenedAlbumsKeepFoundAndStoredPhotos)
{
    // Photos b, c, d and e have moved; b is in a folder named before; c is left out on No;
    // Cancel keeps d and everything after it as stored, without more questions.
    for (const char* photo : {"a.jpg", "moved/b.jpg"})
        writePhoto(work.file(photo), 20, 20);
    search.AddFolder(path("moved"));
    QByteArray images;
    for (const char* photo : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        images += "<image ImageName=\"" + QByteArray(photo) + "\" Path=\"" +
                  QByteArray::fromStdString(path(photo)) + "\"/>";
    work.write("p.gvp", "<project><images>" + images +
                            "</images><gvsettings/><gvplugin Name=\"Alpha\"><template "
                            "Name=\"Classic\"/></gvplugin></project>");
    prompter.answers = {Answer::No, Answer::Cancel};
    auto target = freshAlbum();
    ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), true), GV_OK);
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(prompter.texts[1], question(QString::fromStdString(path("d.jpg"))));
    std::vector<std::string> paths;
    for (const AlbumImage& image : target->Images())
        paths.push_back(image.path.c_str());
    EXPECT_EQ(paths, (std::vector<std::string>{path("a.jpg"), path("moved/b.jpg"), path("d.jpg"),
                                               path("e.jpg")}));
    EXPECT_EQ(target->Images()[3].index, 3);
    EXPECT_EQ(target->Summary().imageCount, 4);

    // Opened without questions, every photo is kept as stored.
    prompter.texts.clear();
    ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), false), GV_OK);
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(target->Images().size(), 5u);
    EXPECT_STREQ(target->Images()[1].path.c_str(), path("b.jpg").c_str());
}

TEST_F(ImageSearchTest, OlderFilesSearchToo)
{
    LegacyContent content; // its photos are under /nowhere
    writePhoto(work.file("found/a.jpg"), 20, 20);
    work.write("old.gvp", content.bytes());
    prompter.answers = {Answer::Yes, Answer::No};
    choosers.folders = {work.file("found")};
    auto target = freshAlbum();
    ASSERT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_OK);
    ASSERT_EQ(target->Images().size(), 1u);
    EXPECT_STREQ(target->Images()[0].path.c_str(), path("found/a.jpg").c_str());
    EXPECT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(target->Summary().imageCount, 2); // the header's count
}

TEST_F(ImageSearchTest, TheProgramListServesEveryAlbum)
{
    writePhoto(work.file("global/a.jpg"), 20, 20);
    work.write("old.gvp", LegacyContent().bytes());
    ImageSearch::Global().AddFolder(path("global"));
    auto target = freshAlbum();
    ProjectFile file(*target, prompter, choosers); // the program's own list
    prompter.answers = {Answer::No};
    ASSERT_EQ(file.OpenProject(path("old.gvp").c_str(), true), GV_OK);
    ImageSearch::Global().Clear();
    ASSERT_EQ(target->Images().size(), 1u);
    EXPECT_STREQ(target->Images()[0].path.c_str(), path("global/a.jpg").c_str());
}
