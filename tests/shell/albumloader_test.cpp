// SPDX-License-Identifier: GPL-2.0-or-later
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringList>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "plugins/paramrules.h"
#include "shell/albuminspector.h"
#include "shell/albumlist.h"
#include "shell/albumloader.h"
#include "tests/shell/albumfiles.h"
#include "tests/support/testenv.h"

namespace
{

class AlbumLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pluginFolder = installTestPlugins(plugins.path(), {"gvtest_alpha", "gvtest_beta"});
    }
    QString projects() const { return work.file(QStringLiteral("projects")); }
    QString write(const QString& title, const QString& name, qint64 age, int photos = 0)
    {
        return writeAlbum(projects(), title,
                          {name, QStringLiteral("/albums/") + title, photos, true, age},
                          pluginFolder);
    }
    AlbumInspector inspector() const { return AlbumInspector({pluginFolder}, 128); }
    // The album's Title parameter as the album builder reads it.
    std::string titleOf(const QString& path) const
    {
        AlbumProject album;
        album.PluginManager().SetPluginFolders({pluginFolder});
        EXPECT_TRUE(album.Initialise());
        ScriptedPrompter prompter;
        NoChoosers choosers;
        EXPECT_EQ(
            ProjectFile(album, prompter, choosers).OpenProject(path.toUtf8().constData(), false),
            0);
        for (const GVParamInfo& param : album.ParameterList())
            if (paramrules::sameName(param.name.c_str(), "Title"))
                return paramrules::value(param)->text.c_str();
        return {};
    }
    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList texts() const
    {
        QStringList shown;
        for (int i = 0; i < list.Count(); ++i)
            shown << list.At(i)->text;
        return shown;
    }

    SettingsSandbox sandbox;
    TestFolder plugins;
    TestFolder work;
    std::string pluginFolder;
    AlbumList list;
};

// Lets the test hold the reader inside one album until it is released.
class Gate
{
public:
    void Reached()
    {
        std::unique_lock guard(m_lock);
        m_reached = true;
        m_changed.notify_all();
        m_changed.wait(guard, [this] { return m_open; });
    }
    void WaitReached()
    {
        std::unique_lock guard(m_lock);
        m_changed.wait(guard, [this] { return m_reached; });
    }
    void Open()
    {
        std::lock_guard guard(m_lock);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_reached = false;
    bool m_open = false;
};

} // namespace

TEST_F(AlbumLoaderTest, TheListIsNewestFirstAndRemembersTheLastOpenedAlbum)
{
    EXPECT_EQ(list.Fill(projects(), QString()), -1); // no folder, no albums
    const QString middle = write(QStringLiteral("b"), QStringLiteral("Middle"), 200);
    write(QStringLiteral("a"), QStringLiteral("Oldest"), 300);
    write(QStringLiteral("c"), QStringLiteral("Newest"), 100);
    EXPECT_EQ(list.Fill(projects(), middle.toUpper()), 1);
    EXPECT_EQ(texts(), QStringList({"c", "b", "a"})); // file titles until read
    EXPECT_EQ(list.At(0)->summary.managerNumber > list.At(1)->summary.managerNumber, true);
    // Without a match the first file found is selected, wherever the sort put it.
    const int first = list.Fill(projects(), QStringLiteral("/elsewhere/x.gvp"));
    EXPECT_EQ(list.At(first)->text, QStringLiteral("a"));
}

TEST_F(AlbumLoaderTest, EachAlbumIsTakenOnceAndRemovalsNeverShiftTheOrder)
{
    for (int i = 0; i < 4; ++i)
        write(QString::number(i), QStringLiteral("Album %1").arg(i), 100 * (i + 1));
    list.Fill(projects(), QString());
    const auto first = list.TakeNext();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, QStringLiteral("0"));
    EXPECT_TRUE(list.Remove(first->id));
    EXPECT_TRUE(list.Remove(list.At(1)->id)); // "2", ahead of the reader
    EXPECT_EQ(list.TakeNext()->text, QStringLiteral("1"));
    EXPECT_EQ(list.TakeNext()->text, QStringLiteral("3"));
    EXPECT_FALSE(list.TakeNext());
    EXPECT_FALSE(list.Remove(first->id));
}

TEST_F(AlbumLoaderTest, TheInspectorReadsNameTemplateCountAndThumbnail)
{
    const QString path = write(QStringLiteral("trip"), QStringLiteral("Summer trip"), 10, 3);
    const std::optional<AlbumSummary> summary = inspector().ReadSummary(path);
    ASSERT_TRUE(summary);
    EXPECT_STREQ(summary->albumName.c_str(), "Summer trip");
    EXPECT_STREQ(summary->templateName.c_str(), "Classic");
    EXPECT_STREQ(summary->pluginName.c_str(), "Alpha");
    EXPECT_STREQ(summary->destination.c_str(), "/albums/trip");
    EXPECT_EQ(summary->imageCount, 3);
    EXPECT_EQ(summary->thumbnail.size(), QSize(128, 100));
    EXPECT_EQ(AlbumInspector::InfoTip(QStringLiteral("Summer trip"), *summary),
              QStringLiteral("Album \"Summer trip\"\nContains 3 images.\nTemplate: \"Classic\""));
    EXPECT_FALSE(inspector().ReadSummary(writeCorruptAlbum(projects(), QStringLiteral("bad"), 5)));
}

TEST_F(AlbumLoaderTest, TheLoaderFillsEveryAlbumAndDropsACorruptOne)
{
    write(QStringLiteral("one"), QStringLiteral("First album"), 300, 1);
    writeCorruptAlbum(projects(), QStringLiteral("broken"), 200);
    write(QStringLiteral("two"), QStringLiteral("Second album"), 100);
    list.Fill(projects(), QString());
    EXPECT_EQ(texts(), QStringList({"two", "broken", "one"}));
    CAlbumLoader loader(
        list, [reader = inspector()](const QString& path) { return reader.ReadSummary(path); });
    QSignalSpy loaded(&loader, &CAlbumLoader::Loaded);
    QSignalSpy removed(&loader, &CAlbumLoader::Removed);
    loader.Start();
    ASSERT_TRUE(loader.WaitUntilDone(20000));
    EXPECT_EQ(texts(), QStringList({"Second album", "First album"}));
    EXPECT_EQ(loaded.count(), 2);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(list.At(1)->summary.imageCount, 1);
    EXPECT_FALSE(list.At(0)->summary.thumbnail.isNull());
    // The list keeps its own path and file time over what the project says.
    EXPECT_TRUE(QString::fromUtf8(list.At(0)->summary.projectPath.c_str()).endsWith("two.gvp"));
    EXPECT_NE(list.At(0)->summary.managerNumber, 0);
}

TEST_F(AlbumLoaderTest, DeletingWhileTheLoaderRunsNeitherSkipsNorRepeats)
{
    for (int i = 0; i < 6; ++i)
        write(QString::number(i), QStringLiteral("Album %1").arg(i), 100 * (i + 1));
    list.Fill(projects(), QString());
    std::mutex lock;
    QStringList read;
    Gate gate;
    CAlbumLoader loader(list, [&](const QString& path) {
        const QString title = QFileInfo(path).completeBaseName();
        {
            std::lock_guard guard(lock);
            read << title;
        }
        if (title == QStringLiteral("2"))
            gate.Reached();
        return inspector().ReadSummary(path);
    });
    loader.Start();
    gate.WaitReached();
    gate.Open();
    loader.Pause(); // holds after "2" (or at the latest after "3")
    std::set<QString> done;
    {
        std::lock_guard guard(lock);
        done.insert(read.begin(), read.end());
    }
    // One album behind the reader and one ahead of it go.
    ASSERT_TRUE(list.Remove(list.At(0)->id));             // "0", read already
    const uint64_t ahead = list.At(list.Count() - 1)->id; // "5", not read yet
    ASSERT_TRUE(done.count(QStringLiteral("5")) == 0);
    ASSERT_TRUE(list.Remove(ahead));
    loader.Resume();
    ASSERT_TRUE(loader.WaitUntilDone(20000));
    EXPECT_EQ(read, QStringList({"0", "1", "2", "3", "4"}));
    EXPECT_EQ(texts(), QStringList({"Album 1", "Album 2", "Album 3", "Album 4"}));
}

TEST_F(AlbumLoaderTest, AStoppedLoaderReadsNothingMore)
{
    for (int i = 0; i < 4; ++i)
        write(QString::number(i), QStringLiteral("Album %1").arg(i), 100 * (i + 1));
    list.Fill(projects(), QString());
    std::atomic<int> reads = 0;
    Gate gate;
    CAlbumLoader loader(list, [&](const QString& path) {
        if (++reads == 1)
            gate.Reached();
        return inspector().ReadSummary(path);
    });
    loader.Start();
    EXPECT_TRUE(loader.IsRunning());
    gate.WaitReached();
    gate.Open();
    loader.Stop();
    EXPECT_FALSE(loader.IsRunning());
    const int after = reads;
    EXPECT_LE(after, 2);
    EXPECT_EQ(list.Count(), 4); // nothing removed: the albums are fine
    loader.Start();             // a new run goes on with the albums not read yet
    ASSERT_TRUE(loader.WaitUntilDone(20000));
    EXPECT_EQ(reads, 4);
}

TEST_F(AlbumLoaderTest, ARenameChangesTheNameAndTheTitle)
{
    // Without a destination the album's name comes from its title parameter, which the
    // rename changes too.
    const QString path =
        writeAlbum(projects(), QStringLiteral("draft"),
                   {QStringLiteral("Draft"), QString(), 0, false, 5}, pluginFolder);
    const std::optional<AlbumSummary> before = inspector().ReadSummary(path);
    ASSERT_TRUE(before);
    EXPECT_EQ(inspector().Rename(path, QString::fromUtf8(before->albumName.c_str()),
                                 QStringLiteral("Renamed draft"), work.file(QStringLiteral("fav"))),
              GV_OK);
    EXPECT_STREQ(inspector().ReadSummary(path)->albumName.c_str(), "Renamed draft");
    EXPECT_EQ(titleOf(path), "Renamed draft");
    // A generated album takes the new name, and its pages the new heading.
    const QString done = write(QStringLiteral("done"), QStringLiteral("Done"), 5);
    EXPECT_EQ(inspector().Rename(done, QStringLiteral("Done"), QStringLiteral("Renamed"),
                                 work.file(QStringLiteral("fav"))),
              GV_OK);
    EXPECT_STREQ(inspector().ReadSummary(done)->albumName.c_str(), "Renamed");
    EXPECT_EQ(titleOf(done), "Renamed");
}

TEST_F(AlbumLoaderTest, AnAlbumWhoseThemeIsGoneIsNotRewritten)
{
    const QString path = write(QStringLiteral("orphan"), QStringLiteral("Orphan"), 5);
    const QByteArray before = fileBytes(path);
    // The album's plug-in is no longer installed; another one is.
    TestFolder others;
    const std::string otherFolder = installTestPlugins(others.path(), {"gvtest_beta"});
    const AlbumInspector without({otherFolder}, 128);
    EXPECT_EQ(without.Rename(path, QStringLiteral("Orphan"), QStringLiteral("Renamed"),
                             work.file(QStringLiteral("fav"))),
              GV_E_PLUGINNOTINSTALLED);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_STREQ(inspector().ReadSummary(path)->albumName.c_str(), "Orphan");
    EXPECT_EQ(titleOf(path), "Summer Holidays");

    // The plug-in is there, the album's theme is not.
    QByteArray edited = before;
    edited.replace("Name=\"Classic\"", "Name=\"Vanished\"");
    ASSERT_NE(edited, before);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(edited);
    file.close();
    EXPECT_EQ(inspector().Rename(path, QStringLiteral("Orphan"), QStringLiteral("Renamed"),
                                 work.file(QStringLiteral("fav"))),
              GV_E_TEMPLATE);
    EXPECT_EQ(fileBytes(path), edited);
}
