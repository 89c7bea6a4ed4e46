// SPDX-License-Identifier: GPL-2.0-or-later
// The theme listing: in process over a real album and real plug-ins, and through the
// command-line program itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTextStream>

#include "album/albumproject.h"
#include "cli/themelister.h"
#include "platform/settings.h"
#include "tests/support/testenv.h"

namespace {

struct Listing {
    int templates = 0;
    QStringList lines;
};

// Lists the plug-ins of folder the way the program does, with settings from scratch.
Listing listThemes(const QString& folder)
{
    AlbumProject album;
    album.PluginManager().SetPluginFolders({folder.toStdString()});
    EXPECT_TRUE(album.Initialise());
    QString text;
    QTextStream out(&text);
    Listing listing;
    listing.templates = ThemeLister(out).list(album);
    listing.lines = text.split(QLatin1Char('\n'));
    if (!listing.lines.isEmpty() && listing.lines.last().isEmpty())
        listing.lines.removeLast();
    return listing;
}

GVParamInfo param(int32_t type, std::initializer_list<std::pair<int32_t, GVParamValue>> values)
{
    GVParamInfo info;
    info.type = type;
    for (const auto& [kind, value] : values)
        info.values.push_back(GVParamValueInfo(kind, value));
    return info;
}

GVParamValue font(const char* face, int32_t weight, bool italic, int32_t tenths, uint32_t colour)
{
    GVFontBlock block;
    std::memcpy(block.logFont.lfFaceName, face, std::min<size_t>(std::strlen(face), 32));
    block.logFont.lfWeight = weight;
    block.logFont.lfItalic = italic ? 1 : 0;
    block.chooseFont.iPointSize = tenths;
    block.chooseFont.rgbColors = colour;
    GVParamValue value;
    value.setFont(&block);
    return value;
}

const QStringList HostParameters = {
    "    JPEGQuality [number] JPEG Quality (%) = 75 (1 to 100)",
    "    InterpolationMode [choice] Resize method = \"Nearest Neighbor\" of Nearest Neighbor, "
    "Bilinear, Bicubic",
};

TEST(ThemeLister, ListsPluginsTemplatesAndParameters)
{
    SettingsSandbox settings;
    TestFolder folder;
    installTestPlugins(folder.path(),
                       {"gvtest_alpha", "gvtest_beta", "gvtest_empty", "gvtest_notaplugin"});
    const Listing listing = listThemes(folder.path());
    EXPECT_EQ(listing.templates, 2);

    QStringList expected = {
        "Alpha albums (Alpha, version 1.2.3.4)",
        "  " + folder.file("libgvtest_alpha.so"),
        "  Template 10: Classic",
        "    Title [text] Album title = \"Summer Holidays\"",
        "    Columns [number] Columns = 4 (1 to 10)",
        "    Style [choice] Style = \"Dark\" of Light, Dark, Sepia",
        "    Background [file] Background picture = \"/usr/share/backgrounds/sky.jpg\" as "
        "\"images/bg.jpg\"",
        "    TextColor [colour] Text colour = #996633",
        "    TitleFont [font] Title font = DejaVu Sans 18 pt bold #996633",
        "    Pictures [separator] Pictures",
        "    ThumbSize [slider] Thumbnail size = 160 (64 to 400)",
    };
    expected << HostParameters << "  Template 20: Grid" << "    Gap [number (hidden)] Gap = 8"
             << HostParameters;
    expected << "Beta albums (Beta, version 1.2.3.4)" << "  " + folder.file("libgvtest_beta.so")
             << "  (no templates)";
    expected << "Empty albums (Empty, version 1.2.3.4)"
             << "  " + folder.file("libgvtest_empty.so") << "  (no templates)";
    ASSERT_EQ(listing.lines.size(), expected.size() + 1) << listing.lines.join('\n').toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(listing.lines[i], expected[i]) << "line " << i;
    EXPECT_TRUE(listing.lines.last().startsWith(
        "Skipped " + folder.file("libgvtest_notaplugin.so") + ": not an output plug-in"))
        << listing.lines.last().toStdString();
}

TEST(ThemeLister, HostParametersComeFromTheSettings)
{
    SettingsSandbox sandbox;
    Settings settings;
    settings.writeInt("Settings", "JPEGQuality", 90);
    settings.writeInt("Settings", "InterpolationMode", 7);
    TestFolder folder;
    installTestPlugins(folder.path(), {"gvtest_alpha", "gvtest_plain"});
    const QStringList lines = listThemes(folder.path()).lines;
    // Two templates in each plug-in, and the plug-in without a version record says so.
    EXPECT_EQ(lines.count("    JPEGQuality [number] JPEG Quality (%) = 90 (1 to 100)"), 4);
    EXPECT_EQ(lines.count("    InterpolationMode [choice] Resize method = \"Bicubic\" of "
                          "Nearest Neighbor, Bilinear, Bicubic"),
              4);
    EXPECT_TRUE(lines.contains("gvtest_plain (gvtest_plain, version unknown)"));
}

TEST(ThemeLister, SaysSoWhenNothingIsInstalled)
{
    SettingsSandbox settings;
    TestFolder folder;
    const Listing listing = listThemes(folder.path());
    EXPECT_EQ(listing.templates, 0);
    EXPECT_EQ(listing.lines, QStringList{"No output plug-ins are installed."});
}

TEST(ThemeLister, TypeNames)
{
    const std::pair<int32_t, const char*> cases[] = {
        {PT_NUMBER_HIDDEN, "number (hidden)"}, {PT_NUMBER, "number"},   {PT_CHOICE, "choice"},
        {PT_FOLDER, "folder"},       {PT_TEXT_HIDDEN, "text (hidden)"}, {PT_COLOR, "colour"},
        {PT_NONE_10, "none"},        {PT_TEXT_REQUIRED, "text (hidden)"}, {PT_SLIDER, "slider"},
        {PT_FILE_2, "file"},         {PT_SEPARATOR, "separator"},   {15, "unknown type 15"},
        {-1, "unknown type -1"},     {1000, "unknown type 1000"},
    };
    for (const auto& [type, name] : cases)
        EXPECT_EQ(ThemeLister::typeName(type), QString::fromLatin1(name)) << type;
}

TEST(ThemeLister, DefaultTextOfEdgeValues)
{
    const char* const longFace = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefXYZ"; // fills all 32 chars
    const struct {
        const char* what;
        GVParamInfo param;
        const char* text;
    } cases[] = {
        {"choice without selection", param(PT_CHOICE, {{PVK_OPTION, "A"}, {PVK_OPTION, "B"}}),
         "(none) of A, B"},
        {"choice set by the user", param(PT_CHOICE, {{PVK_OPTION, "A"}, {PVK_USER_VALUE, "B"}}),
         "\"B\" of A, B"},
        {"number without bounds", param(PT_NUMBER, {{PVK_VALUE, 5}}),
         "5 (-2147483648 to 2147483647)"},
        {"slider without value", param(PT_SLIDER, {{PVK_MINIMUM, 2}, {PVK_MAXIMUM, 9}}),
         "0 (2 to 9)"},
        {"negative hidden number", param(PT_NUMBER_HIDDEN, {{PVK_VALUE, -3}}), "-3"},
        {"pure blue", param(PT_COLOR, {{PVK_VALUE, 0x00ff0000}}), "#0000ff"},
        {"colour without value", param(PT_COLOR, {}), ""},
        {"font without block", param(PT_FONT, {{PVK_VALUE, 0}}), "(no font)"},
        {"italic font", param(PT_FONT, {{PVK_VALUE, font("Serif", 400, true, 105, 0x0000ff)}}),
         "Serif 10.5 pt italic #ff0000"},
        {"unterminated face name",
         param(PT_FONT, {{PVK_VALUE, font(longFace, 900, false, 120, 0)}}),
         "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef 12 pt bold #000000"},
        {"file without name", param(PT_FILE_2, {{PVK_VALUE, "/a/b.png"}}), "\"/a/b.png\""},
        {"file without value", param(PT_FILE, {}), "\"\""},
        {"text without value", param(PT_TEXT, {}), "\"\""},
        {"unknown type", param(77, {{PVK_VALUE, "odd"}}), "\"odd\""},
        {"separator", param(PT_SEPARATOR, {{PVK_VALUE, "ignored"}}), ""},
        {"no value kind", param(PT_NONE_9, {{PVK_VALUE, 3}}), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThemeLister::defaultText(c.param), QString::fromLatin1(c.text)) << c.what;
}

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the real command-line program with its settings and data inside home.
CliRun runCli(const QStringList& arguments, const TestFolder& home)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.file("config"));
    environment.insert("XDG_DATA_HOME", home.file("data"));
    process.setProcessEnvironment(environment);
    process.start(binFolder() + "/gallivex-cli", arguments);
    CliRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "gallivex-cli did not finish: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(GallivexCli, ThemesCommand)
{
    TestFolder home;
    TestFolder plugins;
    installTestPlugins(plugins.path(), {"gvtest_alpha", "gvtest_beta"});
    const QString missing = plugins.file("missing");
    const struct {
        QStringList arguments;
        int exitCode;
        QStringList inOut;
        QStringList inErr;
    } cases[] = {
        {{"themes", "--plugins", plugins.path()}, 0, {"Alpha albums", "Classic", "Beta albums"}, {}},
        {{"themes", "--plugins", missing},
         1,
         {},
         {"Failed to initialize Gallivex. Application is not installed properly."}},
        {{}, 2, {}, {"usage"}},
        {{"publish"}, 2, {}, {"usage"}},
        {{"themes", "--plugins"}, 2, {}, {"usage"}},
        {{"themes", "--colour", plugins.path()}, 2, {}, {"usage"}},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments, home);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        for (const QString& text : c.inOut)
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " in\n" << run.out.toStdString();
        for (const QString& text : c.inErr)
            EXPECT_TRUE(run.err.contains(text)) << text.toStdString() << " in\n" << run.err.toStdString();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        }
    }
}

} // namespace
