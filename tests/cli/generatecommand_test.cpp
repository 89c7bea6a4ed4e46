// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli generate as a real process: generating and generating again into the same
// folder (refused, to the Trash, deleted at once), the proposed folder, refusals, missing
// photos, and the default theme of the plug-ins installed beside the program.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/settings.h"
#include "tests/cli/clifixture.h"

namespace
{

TEST_F(GallivexCliTest, GenerateAndGenerateAgain)
{
    const QString album = project("gen");
    const QString out = work.file("out");
    ASSERT_EQ(cli({"new", album, "--theme", "Probe/Probe", photos}).exitCode, 0);
    const CliResult first = cli({"generate", album, "--dest", out});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Generated the album into \"" + out + "\""));
    EXPECT_TRUE(first.err.contains("Generating album...: 50% half way")) << first.err.toStdString();
    EXPECT_EQ(entriesOf(out), (QStringList{"index.html", "photos"}));
    EXPECT_EQ(bytesOf(out + "/photos/p0.jpg"), bytesOf(photos + "/et-IPTC.jpg"));
    EXPECT_STREQ(load(album)->Destination().c_str(), out.toUtf8().constData());

    // The album's own folder is used again; it is not empty now.
    work.write("out/stale.html", "from before");
    const CliResult refused = cli({"generate", album});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Warning! The destination folder is not empty."));
    EXPECT_TRUE(refused.err.contains("give --yes to empty it"));
    EXPECT_TRUE(QFileInfo::exists(out + "/stale.html"));

    const CliResult trashed = cli({"generate", album, "--yes"});
    ASSERT_EQ(trashed.exitCode, 0) << trashed.err.toStdString();
    EXPECT_EQ(entriesOf(out), (QStringList{"index.html", "photos"}));
    EXPECT_EQ(entriesOf(home.trash()), (QStringList{"index.html", "photos", "stale.html"}));

    const CliResult deleted = cli({"generate", album, "--yes", "--delete"});
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    EXPECT_EQ(entriesOf(out), (QStringList{"index.html", "photos"}));
    EXPECT_EQ(entriesOf(home.trash()).size(), 3);
}

TEST_F(GallivexCliTest, GenerateIntoTheProposedFolder)
{
    Settings().writeString("Paths", "ResultPath", work.file("albums"));
    QDir().mkpath(work.file("albums"));
    const QString album = project("proposed");
    ASSERT_EQ(
        cli({"new", album, "--theme", "Probe/Probe", "--set", "Title=Trip 2.0", photos}).exitCode,
        0);
    const CliResult run = cli({"generate", album});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(work.file("albums/Trip_2_0/index.html")));
}

TEST_F(GallivexCliTest, GenerateNamesTheChosenFilesItPublishes)
{
    const QString alpha = project("alpha");
    ASSERT_EQ(cli({"new", alpha, "--theme", "Alpha/Classic", photos}).exitCode, 0);
    const QString picture = work.write("mine/sky.jpg", "sky");
    ASSERT_EQ(cli({"set", alpha, "Background=" + picture}).exitCode, 0);
    const CliResult run = cli({"generate", alpha, "--dest", work.file("alpha-out")});
    EXPECT_TRUE(run.err.contains("Besides its photos, the album will publish these files and "
                                 "folders:\n\nBackground picture: " +
                                 picture))
        << run.err.toStdString();
}

TEST_F(GallivexCliTest, GenerateRefusesWithAReason)
{
    const QString album = project("gen");
    ASSERT_EQ(cli({"new", album, "--theme", "Probe/Probe", photos}).exitCode, 0);
    const QString alpha = project("alpha");
    ASSERT_EQ(cli({"new", alpha, "--theme", "Alpha/Classic", photos}).exitCode, 0);
    work.write("a-file", "text");
    work.write("garbage.gvp", "no album");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{"generate", album, "--dest", photos, "--yes"}, 1, "It holds photos of this album"},
        {{"generate", album, "--dest", work.file("a-file")}, 1, "is a file, not a folder"},
        {{"generate", alpha, "--dest", work.file("alpha-out")},
         1,
         "the album was not generated: Method not implemented yet."},
        {{"generate", work.file("garbage.gvp")}, 1, "cannot open the album"},
        {{"generate"}, 2, "usage: gallivex-cli generate"},
        {{"generate", album, album}, 2, "exactly one project file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    EXPECT_EQ(entriesOf(photos).size(), 5);
    EXPECT_EQ(bytesOf(work.file("a-file")), QByteArray("text"));
}

TEST_F(GallivexCliTest, MissingPhotosStopUnlessSkipped)
{
    const QString album = project("missing");
    const QString doomed = work.file("elsewhere/doomed.jpg");
    QDir().mkpath(work.file("elsewhere"));
    ASSERT_TRUE(QFile::copy(photos + "/et-IPTC.jpg", doomed));
    ASSERT_EQ(cli({"new", album, "--theme", "Probe/Probe", doomed, photos + "/exs-Canon_40D.jpg"})
                  .exitCode,
              0);
    QFile::remove(doomed);
    const CliResult stopped = cli({"generate", album, "--dest", work.file("out")});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_TRUE(stopped.err.contains("1 photo(s) of the album are missing"))
        << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains(doomed));
    EXPECT_FALSE(QFileInfo::exists(work.file("out")));
    const CliResult skipped =
        cli({"generate", album, "--dest", work.file("out"), "--skip-missing"});
    ASSERT_EQ(skipped.exitCode, 0) << skipped.err.toStdString();
    EXPECT_TRUE(skipped.err.contains("left out the missing photo"));
    EXPECT_EQ(bytesOf(work.file("out/photos/p0.jpg")), bytesOf(photos + "/exs-Canon_40D.jpg"));
    EXPECT_EQ(load(album)->Images().size(), 1u);
}

// The README's main command: photos to a web album with the default theme of the plug-ins
// installed beside the program.
TEST_F(GallivexCliTest, TheDefaultThemeOfTheInstalledPluginsMakesAWebAlbum)
{
    if (!QFileInfo::exists(binFolder() + "/plugins/libgvhtml.so"))
        GTEST_SKIP() << "the HTML plug-in is not built";
    const QString album = project("web");
    const QString out = work.file("web");
    const CliResult made = home.run("gallivex-cli", {"new", album, photos});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains("with 4 photo(s), theme HTML/")) << made.out.toStdString();
    const CliResult run = home.run("gallivex-cli", {"generate", album, "--dest", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Start page: " + out + "/index.html")) << run.out.toStdString();
    EXPECT_TRUE(QFileInfo(out + "/index.html").size() > 0);
}

// The album's own folder is updated in place without --yes; a file the album did not write
// makes it a folder that is emptied only on request, as any other.
TEST_F(GallivexCliTest, GenerateAgainIntoTheAlbumsOwnFolderNeedsNoYes)
{
    if (!QFileInfo::exists(binFolder() + "/plugins/libgvhtml.so"))
        GTEST_SKIP() << "the HTML plug-in is not built";
    const QString album = project("web");
    const QString out = work.file("web");
    ASSERT_EQ(home.run("gallivex-cli", {"new", album, photos}).exitCode, 0);
    const CliResult first = home.run("gallivex-cli", {"generate", album, "--dest", out});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QDateTime written = QFileInfo(out + "/index.html").lastModified();
    ASSERT_TRUE(QFileInfo::exists(out + "/gallivex-album.json"));

    const CliResult again = home.run("gallivex-cli", {"generate", album});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_FALSE(again.err.contains("not empty")) << again.err.toStdString();
    EXPECT_EQ(QFileInfo(out + "/index.html").lastModified(), written);
    EXPECT_TRUE(entriesOf(home.trash()).isEmpty());

    work.write("web/pictures/stray.jpg", "not the album's");
    const CliResult refused = home.run("gallivex-cli", {"generate", album});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("give --yes to empty it")) << refused.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out + "/pictures/stray.jpg"));
    EXPECT_EQ(QFileInfo(out + "/index.html").lastModified(), written);

    const CliResult emptied = home.run("gallivex-cli", {"generate", album, "--yes", "--delete"});
    ASSERT_EQ(emptied.exitCode, 0) << emptied.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + "/pictures/stray.jpg"));
    EXPECT_TRUE(QFileInfo::exists(out + "/gallivex-album.json"));
}

} // namespace
