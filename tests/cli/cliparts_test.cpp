// SPDX-License-Identifier: GPL-2.0-or-later
// The parts of the command-line tool: its argument parser, theme names, the JSON theme
// listing and the texts it shows for photos and parameters.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QMap>

#include "album/albumproject.h"
#include "cli/cliarguments.h"
#include "cli/paramassignments.h"
#include "cli/photoinfo.h"
#include "cli/themechoice.h"
#include "cli/themejson.h"
#include "tests/support/testenv.h"

namespace
{

TEST(CliArguments, OptionsFlagsAndOperands)
{
    const struct {
        QStringList arguments;
        bool parsed;
        QStringList operands;
        QStringList themes;
        bool flat;
        QString error;
    } cases[] = {
        {{"a.gvp", "--flat", "b"}, true, {"a.gvp", "b"}, {}, true, ""},
        {{"--theme", "HTML/Mosaic", "x"}, true, {"x"}, {"HTML/Mosaic"}, false, ""},
        {{"--theme=A/B", "--theme", "C/D"}, true, {}, {"A/B", "C/D"}, false, ""},
        {{"--", "--flat", "-"}, true, {"--flat", "-"}, {}, false, ""},
        {{"--theme"}, false, {}, {}, false, "the option --theme needs a value"},
        {{"--flat=yes"}, false, {}, {}, false, "unknown option --flat=yes"},
        {{"--colour"}, false, {}, {}, false, "unknown option --colour"},
        {{"-x"}, false, {}, {}, false, "unknown option -x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        CliArguments parser({"--flat"}, {"--theme"});
        EXPECT_EQ(parser.parse(c.arguments), c.parsed);
        EXPECT_EQ(parser.error(), c.error);
        if (!c.parsed)
            continue;
        EXPECT_EQ(parser.operands(), c.operands);
        EXPECT_EQ(parser.values("--theme"), c.themes);
        EXPECT_EQ(parser.value("--theme"), c.themes.isEmpty() ? QString() : c.themes.last());
        EXPECT_EQ(parser.has("--flat"), c.flat);
    }
    CliArguments help({}, {});
    EXPECT_TRUE(help.parse({"-h"}));
    EXPECT_TRUE(help.has("--help"));
}

class ThemeTest : public ::testing::Test
{
protected:
    void start(const QStringList& plugins)
    {
        installTestPlugins(folder.path(), plugins);
        album.PluginManager().SetPluginFolders({folder.str()});
        ASSERT_TRUE(album.Initialise());
    }
    QString name(const std::optional<ThemeChoice>& choice)
    {
        return choice ? ThemeChoice::NameOf(album, choice->pluginIndex, choice->templateId)
                      : QStringLiteral("(none)");
    }

    SettingsSandbox sandbox;
    TestFolder folder;
    AlbumProject album;
};

TEST_F(ThemeTest, FindsThemesByTheirNames)
{
    start({"gvtest_alpha", "gvtest_beta", "gvtest_probe", "gvtest_html"});
    const std::pair<const char*, const char*> cases[] = {
        {"Alpha/Classic", "Alpha/Classic"},
        {"alpha/GRID", "Alpha/Grid"},
        {"Alpha albums/Grid", "Alpha/Grid"},
        {"Alpha", "Alpha/Classic"},
        {"Probe/7", "Probe/Probe"},
        {"Host probe/Probe", "Probe/Probe"},
        {"HTML/Classic", "HTML/Classic"},
        {"Alpha/20", "Alpha/Grid"},
        {"Beta", "(none)"},
        {"Alpha/Nope", "(none)"},
        {"Nope/Classic", "(none)"},
        {"", "(none)"},
        {"Alpha/", "Alpha/Classic"},
    };
    for (const auto& [wanted, found] : cases)
        EXPECT_EQ(name(ThemeChoice::Find(album, wanted)), QString(found)) << wanted;
    EXPECT_EQ(name(ThemeChoice::Default(album)), QString("HTML/Classic"));
    EXPECT_EQ(ThemeChoice::NameOf(album, 0, 99), QString());
    EXPECT_EQ(ThemeChoice::NameOf(album, 9, 10), QString());
}

TEST_F(ThemeTest, DefaultWithoutAnHtmlPlugin)
{
    start({"gvtest_beta", "gvtest_probe", "gvtest_alpha"});
    // Beta lists no templates; the first plug-in that has one gives the default.
    EXPECT_EQ(name(ThemeChoice::Default(album)), QString("Alpha/Classic"));
}

TEST_F(ThemeTest, NoThemeAtAll)
{
    start({"gvtest_beta"});
    EXPECT_FALSE(ThemeChoice::Default(album));
}

TEST_F(ThemeTest, JsonListsEveryParameterWithItsDefault)
{
    start({"gvtest_alpha", "gvtest_notaplugin"});
    const QJsonObject catalogue = ThemeJson::Catalogue(album);
    EXPECT_EQ(catalogue["default_theme"].toString(), QString("Alpha/Classic"));
    ASSERT_EQ(catalogue["plugins"].toArray().size(), 1);
    const QJsonObject alpha = catalogue["plugins"][0].toObject();
    EXPECT_EQ(alpha["name"].toString(), QString("Alpha"));
    EXPECT_EQ(alpha["display_name"].toString(), QString("Alpha albums"));
    EXPECT_EQ(alpha["version"].toString(), QString("1.2.3.4"));
    const QJsonArray templates = alpha["templates"].toArray();
    ASSERT_EQ(templates.size(), 2);
    EXPECT_EQ(templates[1]["name"].toString(), QString("Grid"));
    EXPECT_EQ(templates[1]["id"].toInt(), 20);
    QMap<QString, QJsonObject> byName;
    for (const QJsonValue& param : templates[0]["parameters"].toArray())
        byName.insert(param["name"].toString(), param.toObject());
    EXPECT_EQ(byName["Title"]["default"].toString(), QString("Summer Holidays"));
    EXPECT_EQ(byName["Title"]["type_name"].toString(), QString("text"));
    EXPECT_EQ(byName["Columns"]["default"].toInt(), 4);
    EXPECT_EQ(byName["Columns"]["minimum"].toInt(), 1);
    EXPECT_EQ(byName["Columns"]["maximum"].toInt(), 10);
    EXPECT_EQ(byName["Style"]["options"].toArray(), (QJsonArray{"Light", "Dark", "Sepia"}));
    EXPECT_EQ(byName["Style"]["default"].toString(), QString("Dark"));
    EXPECT_EQ(byName["Background"]["file_name"].toString(), QString("images/bg.jpg"));
    EXPECT_EQ(byName["TextColor"]["default"].toString(), QString("#996633"));
    EXPECT_EQ(byName["TitleFont"]["default"].toString(),
              QString("DejaVu Sans, 18pt, bold, #996633"));
    EXPECT_TRUE(byName["Pictures"]["default"].isNull());
    EXPECT_EQ(byName["JPEGQuality"]["default"].toInt(), 75);
    EXPECT_EQ(byName["InterpolationMode"]["type"].toInt(), 3);
    ASSERT_EQ(catalogue["skipped"].toArray().size(), 1);
    EXPECT_TRUE(catalogue["skipped"][0]["library"].toString().endsWith("libgvtest_notaplugin.so"));
    EXPECT_EQ(album.PluginIndex(), -1); // listing leaves no theme chosen
}

TEST(PhotoInfoText, OneLinePerFieldWithDescriptionsIndented)
{
    PhotoInfo info;
    info.path = "/p/a.jpg";
    info.title = "a.jpg";
    info.description = "line one\r\nline two\rline three";
    info.exif.iso = "200";
    info.iptc.keywords = QStringList{"sea", "boat"};
    EXPECT_EQ(info.ToText(), QString("/p/a.jpg\n"
                                     "  Title: a.jpg\n"
                                     "  Description: line one\n"
                                     "    line two\n"
                                     "    line three\n"
                                     "  ISO: 200\n"
                                     "  IPTC keywords: sea, boat\n"));
    const QJsonObject json = info.ToJson();
    EXPECT_EQ(json["description"].toString(), info.description);
    EXPECT_EQ(json["exif"]["camera"].toString(), QString(""));
    EXPECT_EQ(json["iptc"]["keywords"].toArray(), (QJsonArray{"sea", "boat"}));
}

TEST(ParamAssignmentsText, WhatEachTypeAccepts)
{
    GVParamInfo number;
    number.type = PT_NUMBER;
    number.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(1)));
    number.values.push_back(GVParamValueInfo(PVK_MAXIMUM, GVParamValue(100)));
    EXPECT_EQ(ParamAssignments::Accepted(number), QString("a whole number from 1 to 100"));
    GVParamInfo choice;
    choice.type = PT_CHOICE;
    choice.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue("A")));
    choice.values.push_back(GVParamValueInfo(PVK_OPTION, GVParamValue("B")));
    EXPECT_EQ(ParamAssignments::Accepted(choice), QString("one of: A, B"));
    GVParamInfo separator;
    separator.type = PT_SEPARATOR;
    EXPECT_EQ(ParamAssignments::Accepted(separator), QString("nothing: it holds no value"));
}

} // namespace
