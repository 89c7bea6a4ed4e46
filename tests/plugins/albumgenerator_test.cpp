// SPDX-License-Identifier: GPL-2.0-or-later
// The generation page's Generate without its window: a real generation through the host with
// the probe plug-in, the save afterwards, and the checks and failures that stop it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "platform/stringtable.h"
#include "plugins/albumgenerator.h"
#include "plugins/destinationcheck.h"
#include "plugins/gallivex_impl.h"
#include "tests/support/testenv.h"

namespace
{

// A real generation: the probe plug-in writes what its script says through the host.
class GeneratorTest : public ::testing::Test
{
protected:
    GeneratorTest()
        : script("GVPROBE_SCRIPT", base.file("script.txt").toUtf8()),
          report("GVPROBE_REPORT", base.file("report.txt").toUtf8()),
          projectFile(host.Album(), prompter, choosers),
          destination(prompter, nullptr, base.file("program"))
    {
        installTestPlugins(base.file("plugins"), {"gvtest_probe"});
        AlbumProject& album = host.Album();
        album.PluginManager().SetPluginFolders({base.file("plugins").toStdString()});
        EXPECT_TRUE(album.Initialise());
        album.ChooseTemplate(0, 7);
        AlbumImage image;
        image.name = "photo.jpg";
        image.path = base.write("photos/photo.jpg", "jpeg bytes").toUtf8().constData();
        album.Images().push_back(image);
        album.SetProjectPath(base.file("album.gvp").toUtf8().constData());
        album.MarkModified();
        base.write("script.txt", "create\tindex.html\t<p>album</p>\ncopyimage\t0\tphotos/p.jpg\n");
    }

    TestFolder base;
    EnvironmentValue script;
    EnvironmentValue report;
    SettingsSandbox sandbox;
    ScriptedPrompter prompter;
    NoChoosers choosers;
    CGallivexImpl host;
    ProjectFile projectFile;
    CDestinationCheck destination;
};

TEST_F(GeneratorTest, GeneratesStoresTheFolderAndSaves)
{
    CAlbumGenerator generator(host, destination, projectFile, prompter);
    const QString folder = base.file("out/album");
    const CAlbumGenerator::Outcome outcome = generator.Generate(folder, true);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.plugin, GV_OK);
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.save, GV_OK);
    EXPECT_EQ(entriesOf(folder), (QStringList{"index.html", "photos"}));
    EXPECT_STREQ(host.Album().Destination().c_str(), folder.toUtf8().constData());
    EXPECT_TRUE(host.Album().IsGenerated());
    EXPECT_FALSE(host.Album().IsModified());
    QFile saved(base.file("album.gvp"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("AlbumPath=\"" + folder.toUtf8() + "\""));
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(GeneratorTest, WithoutTheSaveBoxTheUserIsAsked)
{
    for (const auto answer : {Prompter::Answer::No, Prompter::Answer::Yes}) {
        prompter.texts.clear();
        prompter.answers = {answer};
        host.Album().MarkModified();
        CAlbumGenerator generator(host, destination, projectFile, prompter);
        const QString folder = base.file(answer == Prompter::Answer::Yes ? "yes" : "no");
        const CAlbumGenerator::Outcome outcome = generator.Generate(folder, false);
        EXPECT_EQ(outcome.plugin, GV_OK);
        EXPECT_EQ(outcome.saved, answer == Prompter::Answer::Yes);
        EXPECT_EQ(prompter.texts, QStringList{loadString(IDS_SAVE_CHANGES)});
        EXPECT_EQ(QFileInfo::exists(base.file("album.gvp")), answer == Prompter::Answer::Yes);
    }
}

TEST_F(GeneratorTest, TheChosenFilesAndFoldersAreNamedBeforeAnythingIsMade)
{
    AlbumProject& album = host.Album();
    ASSERT_GE(album.Parameters(nullptr), 0);
    const auto chosen = [&](const char* name, int32_t type, const QString& path) {
        GVParamInfo param;
        param.name = name;
        param.friendlyName =
            (QString::fromUtf8(name) + QStringLiteral(" caption")).toUtf8().constData();
        param.type = type;
        param.values.push_back(
            GVParamValueInfo(PVK_USER_VALUE, GVParamValue(path.toUtf8().constData())));
        album.ParameterList().push_back(param);
    };
    chosen("Picture", PT_FILE, base.write("mine/sky.jpg", "sky"));
    chosen("Downloads", PT_FOLDER, base.file("mine"));
    chosen("Gone", PT_FILE_2, base.file("mine/gone.png"));
    chosen("Empty", PT_FILE, QString());
    const QString named =
        QStringLiteral("Picture caption: %1\nDownloads caption: %2")
            .arg(base.file("mine/sky.jpg"), loadString(IDS_PUBLISH_FOLDER).arg(base.file("mine")));
    EXPECT_EQ(CAlbumGenerator::PublishedExtras(album).join(u'\n'), named);

    prompter.answers = {Prompter::Answer::No};
    CAlbumGenerator generator(host, destination, projectFile, prompter);
    const CAlbumGenerator::Outcome refused = generator.Generate(base.file("out"), true);
    EXPECT_EQ(refused.result, -1);
    EXPECT_FALSE(QFileInfo::exists(base.file("out")));
    EXPECT_FALSE(QFileInfo::exists(base.file("report.txt")));
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0], loadString(IDS_PUBLISH_EXTRAS).arg(named));

    prompter.answers = {Prompter::Answer::Yes};
    const CAlbumGenerator::Outcome made = generator.Generate(base.file("out"), true);
    EXPECT_EQ(made.result, 0);
    EXPECT_EQ(made.plugin, GV_OK);
    EXPECT_TRUE(QFileInfo::exists(base.file("out/index.html")));
}

TEST_F(GeneratorTest, RefusalsAndFailuresStopBeforeOrAfterThePlugin)
{
    base.write("script.txt", "create\tindex.html\tx\nreturn\t-1000\n");
    base.write("blocker", "a file");
    const struct {
        const char* what;
        QString folder;
        int result;
        ResultCode plugin;
        bool ran;
    } cases[] = {
        {"folder cannot be made", base.file("blocker/album"), GV_E_FILENOTFOUND, GV_OK, false},
        {"folder holds the photos", base.file("photos"), -1, GV_OK, false},
        {"plug-in fails", base.file("failing"), 0, GV_E_NOTIMPL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(base.file("report.txt"));
        CAlbumGenerator generator(host, destination, projectFile, prompter);
        const CAlbumGenerator::Outcome outcome = generator.Generate(c.folder, true);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.plugin, c.plugin);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(QFileInfo::exists(base.file("report.txt")), c.ran);
        EXPECT_FALSE(host.Album().IsGenerated());
    }
    EXPECT_TRUE(QFileInfo::exists(base.file("photos/photo.jpg")));
    EXPECT_FALSE(QFileInfo::exists(base.file("album.gvp")));
}

TEST_F(GeneratorTest, ABackslashInTheDestinationIsPartOfItsName)
{
    CAlbumGenerator generator(host, destination, projectFile, prompter);
    const QString folder = base.file("out\\album");
    ASSERT_EQ(generator.Generate(folder, true).plugin, GV_OK);
    EXPECT_EQ(entriesOf(folder), (QStringList{"index.html", "photos"}));
    EXPECT_FALSE(QFileInfo::exists(base.file("out")));
}

TEST_F(GeneratorTest, AFolderThatWouldBeRefusedIsNeverMade)
{
    QDir().mkpath(base.file("program"));
    ASSERT_TRUE(QFile::link(base.file("program"), base.file("program-link")));
    // A photo the album lists that is not on disk (yet) still lives in its folder.
    AlbumImage missing;
    missing.name = "gone.jpg";
    missing.path = base.file("gone/deeper/gone.jpg").toUtf8().constData();
    host.Album().Images().push_back(missing);
    const struct {
        const char* what;
        QString folder;
        QString made;
    } cases[] = {
        {"inside the program", base.file("program/albums/new"), base.file("program/albums")},
        {"inside the program through a link", base.file("program-link/new"),
         base.file("program/new")},
        {"holds a photo of the album", base.file("gone"), base.file("gone")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.texts.clear();
        CAlbumGenerator generator(host, destination, projectFile, prompter);
        EXPECT_EQ(generator.Generate(c.folder, true).result, -1);
        EXPECT_EQ(prompter.texts.size(), 1);
        EXPECT_FALSE(QFileInfo::exists(c.made));
        EXPECT_FALSE(host.Album().IsGenerated());
    }
}

} // namespace
