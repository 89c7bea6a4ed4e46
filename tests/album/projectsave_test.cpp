// SPDX-License-Identifier: GPL-2.0-or-later
// The save flow: default file names in the projects folder, the save dialog, progress and
// cancel, and what is left on disk when a save cannot be finished.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "platform/paths.h"
#include "platform/settings.h"
#include "tests/album/projectfixture.h"

namespace
{

using Answer = Prompter::Answer;

// Makes a file or folder unwritable for as long as it lives: by its permissions, or for
// the superuser, who ignores them, by the file system's immutable flag.
class WriteLock
{
public:
    explicit WriteLock(const QString& path) : m_path(path.toStdString())
    {
        if (geteuid() != 0) {
            m_locked = chmod(m_path.c_str(), 0555) == 0;
            return;
        }
#ifdef __linux__
        m_locked = setImmutable(true);
#endif
    }
    ~WriteLock()
    {
        if (!m_locked)
            return;
        if (geteuid() != 0)
            chmod(m_path.c_str(), 0755);
#ifdef __linux__
        else
            setImmutable(false);
#endif
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool locked() const
    {
        return m_locked;
    }

private:
#ifdef __linux__
    bool setImmutable(bool on)
    {
        const int fd = open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return done;
    }
#endif
    std::string m_path;
    bool m_locked = false;
};

class Save : public ProjectTest
{
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        Settings().writeString("Paths", "ProjectPath", work.file("projects"));
    }
    void name(const char* title) { userValue("Title").text = title; }
};

} // namespace

TEST(ProjectFileNames, SpecialCharactersBecomeUnderscores)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"My Album 1.0", "My_Album_1_0"},
        {" ;:$\"'.,\\/&^@#!~`()-=|", std::string(22, '_')},
        {"Été_2024+[x]{y}<z>?*%", "Été_2024+[x]{y}<z>?*%"},
        {"", ""},
    };
    for (const auto& [album, file] : cases)
        EXPECT_EQ(ProjectFile::FileNameFor(album), file) << album;
}

TEST_F(Save, NewAlbumsGetFreeNamesInTheProjectsFolder)
{
    name("Trip");
    const QStringList expected = {"Trip.gvp", "Trip0.gvp", "Trip1.gvp"};
    for (const QString& file : expected) {
        auto other = freshAlbum();
        other->ChooseTemplate(Alpha, 10);
        other->Parameters(nullptr);
        *find(*other, "Title") = *find(album, "Title");
        ProjectFile saver = projectFile(*other);
        ASSERT_EQ(saver.SaveProject(), GV_OK);
        EXPECT_STREQ(other->ProjectPath().c_str(), path("projects/" + file).c_str());
        EXPECT_FALSE(other->IsModified());
    }
    EXPECT_EQ(folderEntries(work.file("projects")),
              QStringList({"Trip.gvp", "Trip0.gvp", "Trip1.gvp"}));

    name("My Album 1.0");
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    EXPECT_STREQ(album.ProjectPath().c_str(), path("projects/My_Album_1_0.gvp").c_str());
    EXPECT_TRUE(choosers.calls.isEmpty());
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(Save, TheNameDialogNamesANewAlbum)
{
    album.SetDestination("/srv/out"); // the stored name holds once a destination is set
    QStringList shown;
    std::optional<QString> answer = QString("Holiday 2024");
    ProjectFile saver = projectFile(album);
    saver.SetAlbumNameDialog([&](const QString& proposed) {
        shown << proposed;
        return answer;
    });
    ASSERT_EQ(saver.SaveProject(), GV_OK);
    EXPECT_EQ(shown, QStringList({"Summer Holidays"}));
    EXPECT_STREQ(album.StoredAlbumName().c_str(), "Holiday 2024");
    EXPECT_STREQ(album.ProjectPath().c_str(), path("projects/Holiday_2024.gvp").c_str());

    // An album that has its file is saved there without the dialog.
    album.MarkModified();
    ASSERT_EQ(saver.SaveProject(), GV_OK);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(album.IsModified());

    // A cancelled dialog keeps the name the album had.
    album.SetProjectPath("");
    answer.reset();
    ASSERT_EQ(saver.SaveProject(), GV_OK);
    EXPECT_EQ(shown.last(), "Holiday 2024");
    EXPECT_STREQ(album.ProjectPath().c_str(), path("projects/Holiday_20240.gvp").c_str());
}

TEST_F(Save, TheDefaultProjectsFolderIsInTheUsersDataFolder)
{
    Settings().writeString("Paths", "ProjectPath", "");
    const QString folder = ProjectFile::ProjectsFolder();
    EXPECT_EQ(folder, platform::userDataFolder() + "/Projects/");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(Settings().getString("Paths", "ProjectPath"), folder);

    // A folder named in the settings that is missing is made again; one that cannot be
    // made gives no folder.
    Settings().writeString("Paths", "ProjectPath", work.file("gone/again"));
    EXPECT_EQ(ProjectFile::ProjectsFolder(), work.file("gone/again"));
    EXPECT_TRUE(QFileInfo(work.file("gone/again")).isDir());
    work.write("blocker", "x");
    Settings().writeString("Paths", "ProjectPath", work.file("blocker/sub"));
    EXPECT_EQ(ProjectFile::ProjectsFolder(), QString());
}

TEST_F(Save, WithoutADefaultNameTheUserChoosesAFile)
{
    // No name: no Title parameter and a template the plug-in does not list.
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 99));
    ASSERT_STREQ(album.AlbumName().c_str(), "");
    struct Case {
        const char* what;
        std::deque<Answer> answers;
        std::deque<QString> files;
        QString saved; // "" when nothing is saved
    };
    const std::vector<Case> cases = {
        {"No", {Answer::No}, {}, ""},
        {"Yes, then cancel", {Answer::Yes}, {}, ""},
        {"no extension", {Answer::Yes}, {work.file("a.b/album")}, "a.b/album.gvp"},
        {"an extension of its own", {Answer::Yes}, {work.file("x/album.v2")}, "x/album.v2"},
    };
    QDir().mkpath(work.file("a.b"));
    QDir().mkpath(work.file("x"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.texts.clear();
        prompter.answers = c.answers;
        choosers.calls.clear();
        choosers.files = c.files;
        album.SetProjectPath("");
        ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
        ASSERT_EQ(prompter.texts.size(), 1);
        EXPECT_EQ(choosers.calls.size(), c.answers.front() == Answer::Yes ? 1 : 0);
        for (const QString& call : choosers.calls)
            EXPECT_EQ(call,
                      "save|Save album|" + work.file("projects") + "|Gallivex albums (*.gvp)");
        EXPECT_STREQ(album.ProjectPath().c_str(), c.saved.isEmpty() ? "" : path(c.saved).c_str());
        if (!c.saved.isEmpty()) {
            EXPECT_TRUE(fileBytes(work.file(c.saved)).startsWith("<project"));
            EXPECT_EQ(Settings().getString("Paths", "LastProjectPath"), work.file(c.saved));
        }
    }
    EXPECT_EQ(folderEntries(work.path()), QStringList({"a.b", "projects", "x"}));

    // A projects folder that cannot be made leads to the dialog too.
    work.write("blocker", "x");
    Settings().writeString("Paths", "ProjectPath", work.file("blocker/sub"));
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    album.SetProjectPath("");
    prompter.answers = {Answer::No};
    prompter.texts.clear();
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    EXPECT_EQ(prompter.texts.size(), 1);
}

TEST_F(Save, ProgressIsReportedUnderItsTitle)
{
    addImage("a.jpg", "A");
    album.SetProjectPath(path("p.gvp").c_str());
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    EXPECT_EQ(progress.title, "Saving...");
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 10, 30, 40, 90}));
    EXPECT_FALSE(progress.alive);
    EXPECT_EQ(album.ActiveProgress(), nullptr);
}

TEST_F(Save, ACancelLeavesThePreviousFilesUntouched)
{
    addImage("a.jpg", "A");
    album.SetProjectPath(path("p.gvp").c_str());
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    const QByteArray project = fileBytes(work.file("p.gvp"));
    const QByteArray thumbnail = fileBytes(work.file("p.gvp.jpg"));
    ASSERT_EQ(folderEntries(work.path()), QStringList({"a.jpg", "p.gvp", "p.gvp.jpg"}));
    ASSERT_FALSE(thumbnail.isEmpty());

    // A changed album whose save is cancelled at each report in turn.
    writePhoto(work.file("b.jpg"), 90, 30, Qt::yellow);
    album.Images().insert(album.Images().begin(), album.Images().front());
    album.Images().front().path = path("b.jpg").c_str();
    userValue("Columns").number = 2;
    for (int at : {0, 10, 30, 40, 90}) {
        SCOPED_TRACE(at);
        progress = ScriptedProgress::Log();
        progress.cancelAt = at;
        album.MarkModified();
        EXPECT_EQ(projectFile(album).SaveProject(), GV_CANCELLED);
        EXPECT_EQ(progress.positions.back(), at);
        EXPECT_FALSE(progress.alive);
        EXPECT_TRUE(album.IsModified());
        EXPECT_EQ(fileBytes(work.file("p.gvp")), project);
        EXPECT_EQ(fileBytes(work.file("p.gvp.jpg")), thumbnail);
        EXPECT_EQ(folderEntries(work.path()),
                  QStringList({"a.jpg", "b.jpg", "p.gvp", "p.gvp.jpg"}));
    }
    progress = ScriptedProgress::Log();
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    EXPECT_NE(fileBytes(work.file("p.gvp")), project);
    EXPECT_NE(fileBytes(work.file("p.gvp.jpg")), thumbnail);
}

TEST_F(Save, FilesThatCannotBeCreatedLeaveNothing)
{
    addImage("a.jpg", "A");
    work.write("blocker", "x");
    for (const QString& target : {work.file("missing/p.gvp"), work.file("blocker/p.gvp")}) {
        SCOPED_TRACE(target.toStdString());
        album.SetProjectPath(target.toUtf8().constData());
        album.MarkModified();
        progress = ScriptedProgress::Log();
        EXPECT_EQ(projectFile(album).SaveProject(), GV_E_CREATEFILE);
        EXPECT_EQ(progress.positions, std::vector<int>{0});
        EXPECT_TRUE(album.IsModified());
        EXPECT_EQ(folderEntries(work.path()), QStringList({"a.jpg", "blocker"}));
    }
    EXPECT_EQ(projectFile(album).WriteProject(nullptr), GV_E_CREATEFILE);
    EXPECT_EQ(projectFile(album).WriteProject(""), GV_E_CREATEFILE);
}

TEST_F(Save, AnUnwritableFolderOrFileGivesTheErrorAndLeavesThemAsTheyWere)
{
    addImage("a.jpg", "A");
    QDir().mkpath(work.file("locked"));
    work.write("ro.gvp", "old");
    WriteLock folder(work.file("locked"));
    WriteLock file(work.file("ro.gvp"));
    if (!folder.locked() || !file.locked())
        GTEST_SKIP() << "files cannot be locked against writing here";
    EXPECT_EQ(projectFile(album).WriteProject(path("locked/p.gvp").c_str()), GV_E_CREATEFILE);
    EXPECT_TRUE(folderEntries(work.file("locked")).isEmpty());
    EXPECT_EQ(projectFile(album).WriteProject(path("ro.gvp").c_str()), GV_E_CREATEFILE);
    EXPECT_EQ(fileBytes(work.file("ro.gvp")), "old");
    EXPECT_EQ(folderEntries(work.path()), QStringList({"a.jpg", "locked", "ro.gvp"}));
}

TEST_F(Save, APluginWithoutVersionRecordSavesAsVersionZero)
{
    // A library without a version record is still a plug-in the album can use: its albums
    // are saved with version 0.0.0.0 and open again.
    ASSERT_TRUE(album.ChooseTemplate(Plain, 10));
    album.SetProjectPath(path("p.gvp").c_str());
    album.MarkModified();
    ASSERT_EQ(projectFile(album).SaveProject(), GV_OK);
    EXPECT_FALSE(album.IsModified());
    const QByteArray saved = fileBytes(work.file("p.gvp"));
    EXPECT_TRUE(saved.contains("Name=\"gvtest_plain\" Version=\"0\"")) << saved.constData();
    auto reread = freshAlbum();
    ASSERT_EQ(projectFile(*reread).OpenProject(path("p.gvp").c_str(), false), GV_OK);
    EXPECT_EQ(reread->PluginIndex(), Plain);
    EXPECT_EQ(reread->TemplateId(), 10);
    EXPECT_TRUE(prompter.texts.isEmpty());

    // Without a plug-in there is nothing to save the album for.
    ASSERT_TRUE(album.ChooseTemplate(-1, 10));
    album.SetProjectPath(path("q.gvp").c_str());
    album.MarkModified();
    progress = ScriptedProgress::Log();
    EXPECT_EQ(projectFile(album).SaveProject(), GV_E_NOTFOUND);
    EXPECT_TRUE(album.IsModified());
    EXPECT_FALSE(QFileInfo::exists(work.file("q.gvp")));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 10}));
}

TEST_F(Save, TheThumbnailIsMadeForTheUserAndLeftoversAreCleared)
{
    addImage("a.jpg", "A");
    // What an interrupted save leaves: an old scratch thumbnail, and one of a save that may
    // still be running now.
    const QString stale = work.write(".gvthumb-AbC123.jpg", "half a picture");
    const QString running = work.write(".gvthumb-XyZ789.jpg", "being written");
    QFile old(stale);
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                QFileDevice::FileModificationTime));
    old.close();
    const mode_t previous = ::umask(022);
    album.SetProjectPath(path("p.gvp").c_str());
    const ResultCode result = projectFile(album).SaveProject();
    ::umask(previous);
    ASSERT_EQ(result, GV_OK);
    const auto mode = [](const QString& file) {
        struct stat status {
        };
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 0777
                                                                         : 0u;
    };
    EXPECT_EQ(mode(work.file("p.gvp.jpg")), 0644u);
    EXPECT_EQ(mode(work.file("p.gvp")), 0644u);
    EXPECT_EQ(folderEntries(work.path()),
              QStringList({".gvthumb-XyZ789.jpg", "a.jpg", "p.gvp", "p.gvp.jpg"}));
    EXPECT_TRUE(QFileInfo::exists(running));
}
