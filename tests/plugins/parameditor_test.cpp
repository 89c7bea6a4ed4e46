// SPDX-License-Identifier: GPL-2.0-or-later
// Template parameter values as the properties page checks and stores them, and as the
// command line sets them from text; colours and fonts written as text.
#include <gtest/gtest.h>

#include <cstring>

#include <QDir>

#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/parameditor.h"
#include "plugins/paramtext.h"
#include "tests/support/testenv.h"

namespace
{

GVParamInfo param(const char* name, int32_t type,
                  std::initializer_list<std::pair<int32_t, GVParamValue>> values)
{
    GVParamInfo info;
    info.name = name;
    info.friendlyName = name;
    info.type = type;
    for (const auto& [kind, value] : values)
        info.values.push_back(GVParamValueInfo(kind, value));
    return info;
}

GVFontBlock font(const char* face, int32_t points10, bool bold, uint32_t colour)
{
    GVFontBlock block;
    std::strncpy(block.logFont.lfFaceName, face, sizeof block.logFont.lfFaceName - 1);
    block.chooseFont.iPointSize = points10;
    block.logFont.lfHeight = -(points10 * 96 / 720);
    block.logFont.lfWeight = bold ? GV_FW_BOLD : GV_FW_NORMAL;
    block.chooseFont.rgbColors = colour;
    return block;
}

GVParamValue fontValue(const GVFontBlock& block)
{
    GVParamValue value;
    value.setFont(&block);
    return value;
}

GVParamInfo quality()
{
    return param("JPEGQuality", PT_NUMBER, {{PVK_MINIMUM, 1}, {PVK_MAXIMUM, 100}, {PVK_VALUE, 75}});
}

GVParamInfo resize()
{
    return param(
        "InterpolationMode", PT_CHOICE,
        {{PVK_VALUE, "Nearest Neighbor"}, {PVK_OPTION, "Bilinear"}, {PVK_OPTION, "Bicubic"}});
}

TEST(ParamEditorCheck, FieldTextsAsThePageTestsThem)
{
    const GVParamInfo range = param("Q", PT_NUMBER, {{PVK_MINIMUM, 1}, {PVK_MAXIMUM, 100}});
    const GVParamInfo around0 = param("O", PT_SLIDER, {{PVK_MINIMUM, -10}, {PVK_MAXIMUM, 10}});
    const struct {
        const GVParamInfo& param;
        const char* text;
        bool accepted;
    } cases[] = {
        {range, "0", false},  {range, "101", false},  {range, "12a", false},
        {range, "", false},   {range, "1", true},     {range, "100", true},
        {range, "-5", false}, {range, "5.7", true},   {range, "99999999999", false},
        {around0, "", true},  {around0, "-10", true}, {around0, "--1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CParamEditor::PageCheck(c.param, c.text), c.accepted) << c.text;
    EXPECT_FALSE(CParamEditor::PageCheck(param("T", PT_TEXT, {}), ""));
    EXPECT_TRUE(CParamEditor::PageCheck(param("T", PT_TEXT, {}), " "));
    EXPECT_TRUE(CParamEditor::PageCheck(param("F", PT_FOLDER, {}), ""));
    EXPECT_FALSE(CParamEditor::PageCheck(param("H", PT_NUMBER_HIDDEN, {}), "x"));
}

TEST(ParamEditorStore, FieldTextsBecomeUserValues)
{
    const struct {
        const char* what;
        GVParamInfo param;
        const char* text;
        bool modified;
        int32_t valueAt; // the entry that holds the value afterwards
        int32_t number;
        const char* valueText;
    } cases[] = {
        {"number changes", quality(), "90", true, 2, 90, ""},
        {"same number", quality(), "75", false, 2, 75, ""},
        {"text changes", param("T", PT_TEXT, {{PVK_VALUE, "Old"}}), "New", true, 0, 0, "New"},
        {"text case only", param("T", PT_TEXT, {{PVK_VALUE, "Old"}}), "OLD", false, 0, 0, "OLD"},
        {"choice of another option", resize(), "bilinear", true, 1, 0, "Bilinear"},
        {"choice of the same option", resize(), "NEAREST neighbor", false, 0, 0,
         "Nearest Neighbor"},
        {"no value entry yet", param("T", PT_TEXT, {}), "First", true, 0, 0, "First"},
        {"colours are left to their button", param("C", PT_COLOR, {{PVK_VALUE, 5}}), "9", false, 0,
         5, ""},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CParamEditor::StoreFieldText(c.param, c.text), c.modified);
        int32_t userValues = 0;
        for (const GVParamValueInfo& entry : c.param.values)
            userValues += entry.kind == PVK_USER_VALUE ? 1 : 0;
        EXPECT_EQ(userValues, 1);
        EXPECT_EQ(c.param.values[c.valueAt].kind, PVK_USER_VALUE);
        EXPECT_EQ(c.param.values[c.valueAt].value.number, c.number);
        EXPECT_STREQ(c.param.values[c.valueAt].value.text.c_str(), c.valueText);
    }
}

TEST(ParamEditorStore, AChosenFileGivesItsExtensionToTheAlbumsFileName)
{
    const struct {
        const char* entry1;
        const char* chosen;
        const char* after;
    } cases[] = {
        {"images/bg.jpg", "/pics/sky.png", "images/bg.png"},
        {"images/bg.jpg", "", "images/bg.jpg"},
        {"", "/pics/sky.png", ""},
        {"images/bg", "/pics/sky.gif", "images/bg.gif"},
        {"images.d/bg", "/pics/noext", "images.d/bg"},
    };
    for (const auto& c : cases) {
        GVParamInfo file = param(
            "B", PT_FILE,
            {{PVK_VALUE, "/a.jpg"}, {PVK_VALUE, c.entry1}, {PVK_VALUE, "Pictures (*.jpg *.png)"}});
        CParamEditor::StoreFieldText(file, c.chosen);
        EXPECT_STREQ(file.values[0].value.text.c_str(), c.chosen);
        EXPECT_STREQ(file.values[1].value.text.c_str(), c.after) << c.entry1 << " " << c.chosen;
    }
}

TEST(ParamEditorStore, ColoursAndFontsFromTheirButtons)
{
    GVParamInfo colour = param("C", PT_COLOR, {{PVK_VALUE, 0x00336699}});
    EXPECT_FALSE(CParamEditor::StoreColour(colour, 0x00336699));
    EXPECT_EQ(colour.values[0].kind, PVK_USER_VALUE);
    EXPECT_TRUE(CParamEditor::StoreColour(colour, 0x00ff0000));
    EXPECT_EQ(colour.values[0].value.number, 0x00ff0000);
    GVParamInfo bare = param("C", PT_COLOR, {});
    EXPECT_TRUE(CParamEditor::StoreColour(bare, 7));
    ASSERT_EQ(bare.values.size(), 1);
    EXPECT_EQ(bare.values[0].kind, PVK_USER_VALUE);

    GVParamInfo noBlock = param("F", PT_FONT, {{PVK_VALUE, 0}});
    EXPECT_FALSE(CParamEditor::StoreFont(noBlock, font("Serif", 120, false, 0)));
    EXPECT_EQ(noBlock.values[0].value.font, nullptr);
    GVParamInfo withBlock =
        param("F", PT_FONT, {{PVK_VALUE, fontValue(font("Sans", 100, false, 0))}});
    EXPECT_TRUE(CParamEditor::StoreFont(withBlock, font("Serif", 120, true, 0xff)));
    EXPECT_EQ(withBlock.values[0].kind, PVK_USER_VALUE);
    EXPECT_STREQ(withBlock.values[0].value.font->logFont.lfFaceName, "Serif");
}

TEST(ParamEditorAssign, TextsFromTheCommandLine)
{
    TestFolder folder;
    const QString picture = folder.write("sky.png", "png");
    gv_vector<GVParamInfo> params;
    params.push_back(param("Title", PT_TEXT, {{PVK_VALUE, "Summer"}}));
    params.push_back(quality());
    params.push_back(resize());
    params.push_back(param("Background", PT_FILE,
                           {{PVK_VALUE, ""}, {PVK_VALUE, "images/bg.jpg"}, {PVK_VALUE, "*.jpg"}}));
    params.push_back(param("Folder", PT_FOLDER, {{PVK_VALUE, ""}}));
    params.push_back(param("TextColor", PT_COLOR, {{PVK_VALUE, 0}}));
    params.push_back(
        param("TitleFont", PT_FONT, {{PVK_VALUE, fontValue(font("Sans", 180, true, 0x00336699))}}));
    params.push_back(param("Line", PT_SEPARATOR, {}));
    CParamEditor editor(params);
    using R = CParamEditor::Result;
    const struct {
        const char* name;
        QString text;
        R result;
    } cases[] = {
        {"title", "Winter", R::Stored},
        {"TITLE", "Winter", R::Unchanged},
        {"Title", "", R::Invalid},
        {"Nope", "1", R::UnknownName},
        {"JPEGQuality", "0", R::Invalid},
        {"JPEGQuality", "100", R::Stored},
        {"InterpolationMode", "Purple", R::Invalid},
        {"InterpolationMode", "BICUBIC", R::Stored},
        {"Background", folder.file("missing.png"), R::Invalid},
        {"Background", folder.path(), R::Invalid},
        {"Background", picture, R::Stored},
        {"Folder", folder.file("sky.png"), R::Invalid},
        {"Folder", folder.path(), R::Stored},
        {"TextColor", "#12345", R::Invalid},
        {"TextColor", "#112233", R::Stored},
        {"TitleFont", "", R::Invalid},
        {"TitleFont", "Serif, 14pt, italic, #ff0000", R::Stored},
        {"TitleFont", "Serif, huge", R::Invalid},
        {"Line", "x", R::NoValue},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editor.Assign(c.name, c.text), c.result) << c.name << "=" << c.text.toStdString();
    EXPECT_STREQ(params[0].values[0].value.text.c_str(), "Winter");
    EXPECT_EQ(params[1].values[2].value.number, 100);
    EXPECT_EQ(params[2].values[2].kind, PVK_USER_VALUE);
    EXPECT_EQ(params[2].values[0].kind, PVK_OPTION);
    EXPECT_STREQ(params[3].values[0].value.text.c_str(), picture.toUtf8().constData());
    EXPECT_STREQ(params[3].values[1].value.text.c_str(), "images/bg.png");
    EXPECT_EQ(params[5].values[0].value.number, 0x00332211);
    const GVFontBlock& chosen = *params[6].values[0].value.font;
    EXPECT_STREQ(chosen.logFont.lfFaceName, "Serif");
    EXPECT_EQ(chosen.chooseFont.iPointSize, 140);
    EXPECT_EQ(chosen.logFont.lfHeight, -19);
    EXPECT_EQ(chosen.logFont.lfWeight, GV_FW_NORMAL);
    EXPECT_EQ(chosen.logFont.lfItalic, 1);
    EXPECT_EQ(chosen.chooseFont.rgbColors, 0x000000ffu);
}

TEST(ParamEditorAssign, RelativePathsAreStoredAbsolute)
{
    TestFolder folder;
    folder.write("pics/bg.png", "png");
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    gv_vector<GVParamInfo> params;
    params.push_back(param("Background", PT_FILE_2, {{PVK_VALUE, ""}}));
    EXPECT_EQ(CParamEditor(params).Assign("Background", "pics/bg.png"),
              CParamEditor::Result::Stored);
    QDir::setCurrent(before);
    EXPECT_STREQ(params[0].values[0].value.text.c_str(),
                 folder.file("pics/bg.png").toUtf8().constData());
}

TEST(ParamText, ColoursAndFontsRoundTrip)
{
    const std::pair<const char*, std::optional<uint32_t>> colours[] = {
        {"#336699", 0x00996633},   {"#FFFFFF", 0x00ffffff},
        {"  #000000 ", 0},         {"255", 255},
        {"0x996633", 0x00996633},  {"010", 10},
        {"#33669", std::nullopt},  {"#3366991", std::nullopt},
        {"#gg0000", std::nullopt}, {"16777216", std::nullopt},
        {"-1", std::nullopt},      {"", std::nullopt},
        {"red", std::nullopt},
    };
    for (const auto& [text, colour] : colours)
        EXPECT_EQ(paramtext::ParseColour(text), colour) << text;
    EXPECT_EQ(paramtext::FormatColour(0x00996633), QString("#336699"));

    const GVFontBlock start = font("Sans", 180, true, 0x00336699);
    const std::pair<const char*, const char*> fonts[] = {
        {"Serif", "Serif, 18pt, #996633"},
        {"Serif, 10.5pt, bold, italic, #102030", "Serif, 10.5pt, bold, italic, #102030"},
        {" DejaVu Sans ,12, BOLD", "DejaVu Sans, 12pt, bold, #996633"},
        {"Serif, bold, regular", "Serif, 18pt, #996633"},
        {"Serif,, 9pt,", "Serif, 9pt, #996633"},
    };
    for (const auto& [text, shown] : fonts) {
        const std::optional<GVFontBlock> parsed = paramtext::ParseFont(text, start);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(paramtext::FormatFont(*parsed), QString(shown)) << text;
        EXPECT_EQ(paramtext::ParseFont(paramtext::FormatFont(*parsed), start).has_value(), true);
    }
    for (const char* bad : {"", ", 12pt", "Serif, 0pt", "Serif, 12px", "Serif, #12",
                            "A family name far longer than thirty bytes"})
        EXPECT_FALSE(paramtext::ParseFont(bad, start)) << bad;
}

TEST(ParamEditorSettings, HostSettingsAfterTheParameters)
{
    SettingsSandbox sandbox;
    const struct {
        const char* option;
        int mode;
    } cases[] = {{"Bicubic", 7}, {"bilinear", 6}, {"Nearest Neighbor", 5}};
    for (const auto& c : cases) {
        gv_vector<GVParamInfo> params;
        params.push_back(quality());
        params.push_back(resize());
        CParamEditor::StoreFieldText(params[0], "88");
        CParamEditor::StoreFieldText(params[1], c.option);
        Settings settings;
        CParamEditor::WriteHostSettings(params, settings);
        EXPECT_EQ(settings.getInt("Settings", "JPEGQuality", -1), 88);
        EXPECT_EQ(settings.getInt("Settings", "InterpolationMode", -1), c.mode) << c.option;
    }
    SettingsSandbox fresh;
    gv_vector<GVParamInfo> none;
    none.push_back(param("Title", PT_TEXT, {{PVK_VALUE, "x"}}));
    Settings settings;
    CParamEditor::WriteHostSettings(none, settings);
    EXPECT_FALSE(settings.contains("Settings", "JPEGQuality"));
    EXPECT_FALSE(settings.contains("Settings", "InterpolationMode"));
}

TEST(ParamEditorText, MessageAndValueTexts)
{
    GVParamInfo jpeg = quality();
    jpeg.friendlyName = "JPEG Quality (%)";
    EXPECT_EQ(CParamEditor::InvalidValueMessage(jpeg),
              QString("Please, input valid value for the parameter \"JPEG Quality (%)\""));
    EXPECT_EQ(CParamEditor::ValueText(jpeg), QString("75"));
    EXPECT_EQ(CParamEditor::ValueText(resize()), QString("Nearest Neighbor"));
    EXPECT_EQ(CParamEditor::ValueText(param("C", PT_COLOR, {{PVK_VALUE, 0x00ff0000}})),
              QString("#0000ff"));
    EXPECT_EQ(CParamEditor::ValueText(param("S", PT_SEPARATOR, {{PVK_VALUE, "x"}})), QString());
    EXPECT_EQ(CParamEditor::Options(resize()),
              (QStringList{"Nearest Neighbor", "Bilinear", "Bicubic"}));
}

} // namespace
