// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli end to end, as a real process: making projects and setting parameters, with
// every failure's message and exit code; the theme listing and the help of every command.
#include <gtest/gtest.h>

#include <filesystem>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "images/imageadder.h"
#include "platform/settings.h"
#include "tests/cli/clifixture.h"
#include "tests/support/fulldisk.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

namespace
{

TEST_F(GallivexCliTest, NewAddsPhotosAsTheImageListDoes)
{
    const CliResult run = cli({"new", project("trip"), "--theme", "probe/PROBE", photos});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("with 4 photo(s), theme Probe/Probe")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("left out \"" + photos + "/README\"")) << run.err.toStdString();
    const auto album = load(project("trip"));
    const struct {
        const char* relative;
        const char* subfolder;
    } expected[] = {{"et-IPTC.jpg", ""},
                    {"exs-Canon_40D.jpg", ""},
                    {"sub/deeper/syn-multiline.jpg", "sub\\deeper"},
                    {"sub/ex2-Reagan.jpg", "sub"}};
    ASSERT_EQ(album->Images().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const AlbumImage& image = album->Images()[i];
        const QString path = photos + "/" + expected[i].relative;
        EXPECT_STREQ(image.path.c_str(), path.toUtf8().constData());
        EXPECT_EQ(QString::fromUtf8(image.name.c_str()), QFileInfo(path).fileName());
        EXPECT_STREQ(image.subfolder.c_str(), expected[i].subfolder);
        EXPECT_EQ(QString::fromUtf8(image.description.c_str()),
                  CImageAdder::Describe(path, CImageAdder::Options()).description);
    }
    EXPECT_STREQ(album->Images()[0].description.c_str(), "A witty caption");
    EXPECT_STREQ(album->ChosenPlugin()->GetName(), "Probe");
    EXPECT_EQ(album->TemplateId(), 7);
}

TEST_F(GallivexCliTest, NewTakesPhonePhotosAndNamesWhatItLeavesOut)
{
    const QString ok = work.file("phone");
    const QString cut = work.file("cut");
    QDir().mkpath(ok);
    QDir().mkpath(cut);
    const QString camera = sharedTestData("photos/syn-uc-ascii.jpg");
    for (const char* name : {"a.heic", "b.avif", "c.webp", "d.png"})
        ASSERT_FALSE(makePhonePhoto(camera, ok, name).isEmpty()) << name;
    for (const char* name : {"a.heic", "b.avif", "c.webp"})
        ASSERT_FALSE(makeTruncated(ok + "/" + name, cut + "/" + name, 3000).isEmpty());
    ASSERT_TRUE(QFile::copy(ok + "/d.png", cut + "/d.png"));
    work.write("phone/IMG_0001.MOV", "a film");

    const CliResult whole = cli({"new", project("phone"), "--theme", "probe/PROBE", ok});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(whole.out.contains("with 4 photo(s)")) << whole.out.toStdString();
    EXPECT_EQ(whole.err.count("left out"), 1) << whole.err.toStdString();
    EXPECT_TRUE(whole.err.contains("left out \"" + ok +
                                   "/IMG_0001.MOV\": not a type of photo that albums take"))
        << whole.err.toStdString();

    const CliResult damaged = cli({"new", project("cut"), "--theme", "probe/PROBE", cut});
    ASSERT_EQ(damaged.exitCode, 0) << damaged.err.toStdString();
    EXPECT_TRUE(damaged.out.contains("with 1 photo(s)")) << damaged.out.toStdString();
    for (const char* name : {"a.heic", "b.avif", "c.webp"})
        EXPECT_TRUE(damaged.err.contains("left out \"" + cut + "/" + name +
                                         "\": cannot be read as a picture"))
            << name << ": " << damaged.err.toStdString();
    EXPECT_STREQ(load(project("cut"))->Images()[0].name.c_str(), "d.png");

    // A file named on its own that is of no photo type says which types are taken.
    const CliResult film =
        cli({"new", project("film"), "--theme", "probe/PROBE", ok + "/IMG_0001.MOV"});
    EXPECT_EQ(film.exitCode, 1);
    EXPECT_TRUE(film.err.contains("*.heic, *.heif, *.avif, *.webp, *.jxl")) << film.err.toStdString();
}

TEST_F(GallivexCliTest, NewTellsOfNamesThatAreNotUtf8)
{
    const std::string native = QFile::encodeName(photos).toStdString();
    std::filesystem::copy_file(native + "/exs-Canon_40D.jpg", native + "/Z\xFCrich.jpg");
    const CliResult run = cli({"new", project("names"), photos});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("skipped \"" + photos +
                                 "/Z\\xFCrich.jpg\": its name is not "
                                 "valid UTF-8"))
        << run.err.toStdString();
    EXPECT_EQ(load(project("names"))->Images().size(), 4u);
}

TEST_F(GallivexCliTest, NewFlatAndNamedFilesKeepTheirOrder)
{
    const QString reagan = photos + "/sub/ex2-Reagan.jpg";
    ASSERT_EQ(cli({"new", project("flat"), "--flat", reagan, photos}).exitCode, 0);
    const auto album = load(project("flat"));
    ASSERT_EQ(album->Images().size(), 3u);
    EXPECT_STREQ(album->Images()[0].path.c_str(), reagan.toUtf8().constData());
    EXPECT_STREQ(album->Images()[1].name.c_str(), "et-IPTC.jpg");
    EXPECT_STREQ(album->Images()[2].name.c_str(), "exs-Canon_40D.jpg");
    for (const AlbumImage& image : album->Images())
        EXPECT_STREQ(image.subfolder.c_str(), "");
}

TEST_F(GallivexCliTest, NewWithAutomaticDescriptionsSwitchedOff)
{
    Settings().writeInt("Settings", "AutoDescriptions", 0);
    ASSERT_EQ(cli({"new", project("plain"), photos + "/et-IPTC.jpg"}).exitCode, 0);
    EXPECT_STREQ(load(project("plain"))->Images()[0].description.c_str(), "");
}

TEST_F(GallivexCliTest, TheDefaultThemeIsTheHtmlPluginsFirst)
{
    const CliResult plain = cli({"new", project("a"), photos});
    EXPECT_TRUE(plain.out.contains("theme Alpha/Classic")) << plain.out.toStdString();
    installTestPlugins(plugins, {"gvtest_html"});
    const CliResult html = cli({"new", project("b"), photos});
    EXPECT_TRUE(html.out.contains("theme HTML/Classic")) << html.out.toStdString();
    EXPECT_STREQ(load(project("b"))->ChosenPlugin()->GetName(), "HTML");
}

TEST_F(GallivexCliTest, NewRefusesWithAReason)
{
    QDir().mkpath(work.file("empty"));
    work.write("existing.gvp", "keep me");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{"new", project("x"), work.file("gone.jpg")}, 1, "no such photo or folder"},
        {{"new", project("x"), "--theme", "Nope/Classic", photos},
         1,
         "there is no theme \"Nope/Classic\""},
        {{"new", project("x"), "--theme", "Alpha/Nope", photos}, 1, "there is no theme"},
        {{"new", project("x"), "--theme", "Alpha/Classic", "--set", "Columns=0", photos},
         1,
         "Please, input valid value for the parameter \"Columns\": \"0\"; Columns expects a whole "
         "number from 1 to 10"},
        {{"new", project("x"), "--set", "Nope=1", photos}, 1, "has no parameter \"Nope\""},
        {{"new", project("x"), "--set", "Columns", photos}, 1, "write NAME=VALUE"},
        {{"new", project("x"), photos + "/notes.txt"}, 1, "is not a photo"},
        {{"new", project("x"), photos + "/README"}, 1, "cannot be read as an image"},
        {{"new", project("x"), work.file("empty")}, 1, "Please, add images to the album first."},
        {{"new", work.file("existing.gvp"), photos}, 1, "exists already"},
        {{"new", project("x")}, 2, "usage: gallivex-cli new"},
        {{"new", project("x"), "--colour", photos}, 2, "unknown option --colour"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(project("x")));
    }
    const CliResult noPlugins = cli({"new", project("x"), photos}, work.file("no-plugins"));
    EXPECT_EQ(noPlugins.exitCode, 1);
    EXPECT_TRUE(noPlugins.err.contains("Failed to initialize Gallivex."));
    EXPECT_EQ(bytesOf(work.file("existing.gvp")), QByteArray("keep me"));
    EXPECT_EQ(cli({"new", work.file("existing.gvp"), "--force", photos}).exitCode, 0);
    EXPECT_EQ(load(work.file("existing.gvp"))->Images().size(), 4u);
}

TEST_F(GallivexCliTest, SetChangesParametersAsThePropertiesPage)
{
    const QString album = project("set");
    ASSERT_EQ(cli({"new", album, "--theme", "Alpha/Classic", photos}).exitCode, 0);
    const CliResult run = cli({"set", album, "columns=6", "Style=sepia", "TextColor=#102030",
                               "TitleFont=Serif, 12pt, italic", "JPEGQuality=90",
                               "InterpolationMode=bicubic", "Title=Autumn"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Columns, Style, TextColor, TitleFont, JPEGQuality, "
                                 "InterpolationMode, Title changed"))
        << run.out.toStdString();
    const auto loaded = load(album);
    EXPECT_EQ(valueOf(*loaded, "Columns")->number, 6);
    EXPECT_STREQ(valueOf(*loaded, "Style")->text.c_str(), "Sepia");
    EXPECT_EQ(valueOf(*loaded, "TextColor")->number, 0x00302010);
    EXPECT_STREQ(valueOf(*loaded, "TitleFont")->font->logFont.lfFaceName, "Serif");
    EXPECT_EQ(valueOf(*loaded, "TitleFont")->font->logFont.lfItalic, 1);
    EXPECT_EQ(valueOf(*loaded, "JPEGQuality")->number, 90);
    EXPECT_STREQ(valueOf(*loaded, "InterpolationMode")->text.c_str(), "Bicubic");
    EXPECT_STREQ(loaded->AlbumName().c_str(), "Autumn");
    // The user's own settings are the album builder's business, not the project's.
    EXPECT_FALSE(Settings().contains("Settings", "JPEGQuality"));

    const CliResult again = cli({"set", album, "Columns=6"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.contains("Nothing changed."));

    // A font's colour alone is a change that is saved: the template's own font, in red.
    const CliResult red = cli({"set", album, "TitleFont=DejaVu Sans, 18pt, bold, #ff0000"});
    ASSERT_EQ(red.exitCode, 0) << red.err.toStdString();
    EXPECT_TRUE(red.out.contains("TitleFont changed")) << red.out.toStdString();
    EXPECT_EQ(valueOf(*load(album), "TitleFont")->font->chooseFont.rgbColors, 0x000000FFu);
}

TEST_F(GallivexCliTest, SetRefusesAndLeavesTheFileAlone)
{
    const QString album = project("set");
    ASSERT_EQ(cli({"new", album, "--theme", "Alpha/Classic", photos}).exitCode, 0);
    work.write("garbage.gvp", "this is no album");
    const QByteArray before = bytesOf(album);
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{"set", album, "Columns=11"},
         1,
         "Please, input valid value for the parameter \"Columns\""},
        {{"set", album, "Style=Purple"}, 1, "expects one of: Light, Dark, Sepia"},
        {{"set", album, "Columns=3", "Nope=1"}, 1, "has no parameter \"Nope\""},
        {{"set", album, "Background=" + work.file("gone.png")}, 1, "the path of an existing file"},
        {{"set", album, "TitleFont=Serif, 12px"}, 1, "\"Family, 12pt, bold, italic, #rrggbb\""},
        {{"set", album, "Pictures=x"}, 1, "holds no value"},
        {{"set", work.file("garbage.gvp"), "Columns=3"}, 1, "cannot open the album"},
        {{"set", work.file("gone.gvp"), "Columns=3"}, 1, "there is no such file"},
        {{"set", album}, 2, "usage: gallivex-cli set"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(bytesOf(album), before);
    }
    installTestPlugins(work.file("other"), {"gvtest_probe"});
    const CliResult missing = cli({"set", album, "Columns=3"}, work.file("other"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("output plug-in \"Alpha\", which is not installed"))
        << missing.err.toStdString();
}

TEST_F(GallivexCliTest, SavingOnAFullDiskFailsAndKeepsTheProject)
{
    FullDisk disk;
    GV_REQUIRE_FULL_DISK(disk);
    const QString made = project("full");
    ASSERT_EQ(cli({"new", made, "--theme", "Probe/Probe", photos}).exitCode, 0);
    const QString album = disk.file("full.gvp");
    ASSERT_TRUE(QFile::copy(made, album));
    const QByteArray before = bytesOf(album);
    disk.fill();

    const CliResult set = cli({"set", album, "Title=A much longer title than it had before"});
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_TRUE(set.err.contains("cannot save the album")) << set.err.toStdString();
    EXPECT_EQ(bytesOf(album), before);

    const CliResult generate = cli({"generate", album, "--dest", work.file("out")});
    EXPECT_EQ(generate.exitCode, 1);
    EXPECT_TRUE(generate.err.contains("the album was generated, but it cannot be saved in \"" +
                                      album + "\""))
        << generate.err.toStdString();
    EXPECT_EQ(bytesOf(album), before);
    EXPECT_EQ(entriesOf(disk.path()), QStringList({".filler", "full.gvp"}));
}

TEST_F(GallivexCliTest, ThemesAsJson)
{
    const CliResult run = cli({"themes", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject catalogue = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(catalogue["default_theme"].toString(), QString("Alpha/Classic"));
    const QJsonArray plugins = catalogue["plugins"].toArray();
    ASSERT_EQ(plugins.size(), 2);
    EXPECT_EQ(plugins[0]["name"].toString(), QString("Alpha"));
    EXPECT_EQ(plugins[1]["templates"][0]["name"].toString(), QString("Probe"));
    EXPECT_EQ(plugins[1]["templates"][0]["parameters"][0]["name"].toString(), QString("Title"));
    EXPECT_EQ(cli({"themes", "extra"}).exitCode, 2);
}

// Every program reads every theme at start: one whose page nests 100,000 deep used to crash
// them all. It is skipped with its reason and the others stay.
TEST_F(GallivexCliTest, AThemeNestedTooDeeplyIsSkippedWithItsReason)
{
    const QString shipped = binFolder() + "/plugins/html/templates/mosaic";
    if (!QFileInfo::exists(shipped))
        GTEST_SKIP() << "the HTML plug-in is not built";
    const QString user = work.file("user-themes");
    QDirIterator files(shipped, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        work.write("user-themes/deep/" + QDir(shipped).relativeFilePath(file), bytesOf(file));
    }
    QJsonObject manifest = QJsonDocument::fromJson(bytesOf(user + "/deep/theme.json")).object();
    manifest["id"] = 600;
    manifest["name"] = "Deep";
    work.write("user-themes/deep/theme.json", QJsonDocument(manifest).toJson());
    work.write("user-themes/deep/index.html", "{{ " + QByteArray("(").repeated(100000) + "x" +
                                                  QByteArray(")").repeated(100000) + " }}");

    const CliResult run =
        home.run("gallivex-cli", {"themes"}, {"GALLIVEX_HTML_USER_TEMPLATES=" + user});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Mosaic")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("Deep")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("theme in " + user +
                                 "/deep skipped: index.html:1: the "
                                 "expression is longer than 1000 words"))
        << run.err.toStdString();
}

TEST_F(GallivexCliTest, HelpForEveryCommand)
{
    for (const char* command : {"themes", "new", "set", "generate", "info"}) {
        const CliResult run = home.run("gallivex-cli", {command, "--help"});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("usage: gallivex-cli ") + command))
            << command;
        EXPECT_TRUE(run.err.isEmpty()) << command;
    }
    const CliResult help = home.run("gallivex-cli", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("generate PROJECT.gvp"));
    const CliResult fontHelp = home.run("gallivex-cli", {"help", "set"});
    EXPECT_TRUE(fontHelp.out.contains("\"Family, 12pt, bold, italic, #rrggbb\""));
}

} // namespace
