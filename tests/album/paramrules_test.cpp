// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "album/hostparameters.h"
#include "platform/settings.h"
#include "plugins/paramrules.h"
#include "tests/support/testenv.h"

namespace {

GVParamInfo numberParam(int32_t type, int32_t minimum, int32_t maximum)
{
    GVParamInfo param;
    param.type = type;
    param.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(minimum)));
    param.values.push_back(GVParamValueInfo(PVK_MAXIMUM, GVParamValue(maximum)));
    param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue(minimum)));
    return param;
}

GVParamInfo fileParam(const char* albumFile)
{
    GVParamInfo param;
    param.type = PT_FILE;
    param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue("/pics/old.jpg")));
    param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue(albumFile)));
    return param;
}

} // namespace

TEST(ParamRules, IntegerSyntax)
{
    for (const char* text : {"", "0", "42", "-7", "12.5", "-", ".", "007"})
        EXPECT_TRUE(paramrules::isIntegerSyntax(text)) << text;
    for (const char* text : {"12a", "1-2", "--1", " 1", "+3", "1e3", "0x10"})
        EXPECT_FALSE(paramrules::isIntegerSyntax(text)) << text;
    EXPECT_EQ(paramrules::integerValue(""), 0);
    EXPECT_EQ(paramrules::integerValue("12.9"), 12);
    EXPECT_EQ(paramrules::integerValue("-40"), -40);
    EXPECT_EQ(paramrules::integerValue("99999999999999"), INT32_MAX);
}

TEST(ParamRules, NumberFieldsCheckSyntaxAndRange)
{
    const GVParamInfo percent = numberParam(PT_NUMBER, 1, 100);
    for (const char* text : {"0", "101", "12a", "", "-5"})
        EXPECT_FALSE(paramrules::acceptsText(percent, text)) << text;
    for (const char* text : {"1", "100", "55", "99.9"})
        EXPECT_TRUE(paramrules::acceptsText(percent, text)) << text;

    const GVParamInfo offset = numberParam(PT_SLIDER, -10, 10);
    EXPECT_TRUE(paramrules::acceptsText(offset, ""));   // empty counts as 0, inside the range
    EXPECT_TRUE(paramrules::acceptsText(offset, "-10"));
    EXPECT_FALSE(paramrules::acceptsText(offset, "11"));
    EXPECT_FALSE(paramrules::acceptsText(offset, "99999999999"));

    GVParamInfo hidden;
    hidden.type = PT_NUMBER_HIDDEN;
    EXPECT_TRUE(paramrules::acceptsText(hidden, "123456"));
    EXPECT_FALSE(paramrules::acceptsText(hidden, "abc"));
}

TEST(ParamRules, TextFields)
{
    GVParamInfo text;
    text.type = PT_TEXT;
    EXPECT_FALSE(paramrules::acceptsText(text, ""));
    EXPECT_TRUE(paramrules::acceptsText(text, "My album"));
    text.type = PT_TEXT_REQUIRED; // no field the user could fill
    EXPECT_TRUE(paramrules::acceptsText(text, ""));
    text.type = PT_FOLDER;
    EXPECT_TRUE(paramrules::acceptsText(text, ""));
}

TEST(ParamRules, ValueIsTheFirstEntryOfKindFourOrZero)
{
    GVParamInfo choice;
    choice.type = PT_CHOICE;
    EXPECT_EQ(paramrules::value(choice), nullptr);
    choice.values.push_back(GVParamValueInfo(PVK_OPTION, GVParamValue("Light")));
    choice.values.push_back(GVParamValueInfo(PVK_USER_VALUE, GVParamValue("Dark")));
    choice.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue("Sepia")));
    EXPECT_EQ(paramrules::valueIndex(choice), 1);
    EXPECT_STREQ(paramrules::value(choice)->text.c_str(), "Dark");
    EXPECT_EQ(paramrules::bound(choice, PVK_MINIMUM, -3), -3);
}

TEST(ParamRules, ChosenFileDecidesTheExtension)
{
    struct Case {
        const char* albumFile;
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"images/bg.jpg", "C:\\pics\\sky.png", "images/bg.png"},
        {"images/bg.jpg", "/home/ann/sky.JPEG", "images/bg.JPEG"},
        {"images/bg.jpg", "/home/ann/README", "images/bg"},
        {"images/bg", "/tmp/sky.gif", "images/bg.gif"},
        {"my.pics/bg", "/tmp/sky.png", "my.pics/bg.png"},
        {"bg.tar.gz", "/x/y.z/photo.webp", "bg.tar.webp"},
    };
    for (const Case& c : cases) {
        GVParamInfo param = fileParam(c.albumFile);
        paramrules::followChosenFile(param, c.chosen);
        EXPECT_STREQ(param.values[1].value.text.c_str(), c.expected) << c.albumFile << " " << c.chosen;
    }
    GVParamInfo lonely;
    lonely.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue("/a.jpg")));
    paramrules::followChosenFile(lonely, "/b.png"); // no entry 1: nothing to follow
    EXPECT_EQ(lonely.values.size(), 1);
}

TEST(ParamRules, NamesIgnoreCase)
{
    EXPECT_TRUE(paramrules::sameName("Title", "TITLE"));
    EXPECT_FALSE(paramrules::sameName("Title", "Titles"));
    EXPECT_FALSE(paramrules::sameName("Title", nullptr));
}

TEST(HostParameters, ReadFromAndWrittenToTheSettings)
{
    SettingsSandbox sandbox;
    Settings settings;
    settings.writeInt("Settings", "JPEGQuality", 88);
    settings.writeInt("Settings", "InterpolationMode", 6);

    gv_vector<GVParamInfo> params;
    params.push_back(GVParamInfo());
    hostparams::append(params, settings);
    ASSERT_EQ(params.size(), 3);
    const GVParamInfo& quality = params[1];
    EXPECT_EQ(quality.id, 1);
    EXPECT_STREQ(quality.name.c_str(), "JPEGQuality");
    EXPECT_STREQ(quality.friendlyName.c_str(), "JPEG Quality (%)");
    EXPECT_EQ(quality.type, PT_NUMBER);
    EXPECT_EQ(paramrules::bound(quality, PVK_MINIMUM, 0), 1);
    EXPECT_EQ(paramrules::bound(quality, PVK_MAXIMUM, 0), 100);
    EXPECT_EQ(quality.values[2].value.number, 88);
    const GVParamInfo& method = params[2];
    EXPECT_EQ(method.id, 2);
    EXPECT_STREQ(method.friendlyName.c_str(), "Resize method");
    EXPECT_STREQ(paramrules::value(method)->text.c_str(), "Bilinear");
    EXPECT_EQ(method.values[0].kind, PVK_OPTION);
    EXPECT_EQ(method.values[2].kind, PVK_OPTION);

    params[1].values[2].value.number = 60;
    params[2].values[1].kind = PVK_OPTION;
    params[2].values[2].kind = PVK_USER_VALUE;
    hostparams::writeBack(params, settings);
    EXPECT_EQ(settings.getInt("Settings", "JPEGQuality", 0), 60);
    EXPECT_EQ(settings.getInt("Settings", "InterpolationMode", 0), 7);
}

TEST(HostParameters, UnknownStoredModeSelectsNearestNeighbour)
{
    SettingsSandbox sandbox;
    Settings settings;
    settings.writeInt("Settings", "InterpolationMode", 12);
    gv_vector<GVParamInfo> params;
    hostparams::append(params, settings);
    EXPECT_EQ(params[0].id, 0);
    EXPECT_EQ(params[0].values[2].value.number, 75);
    EXPECT_STREQ(paramrules::value(params[1])->text.c_str(), "Nearest Neighbor");
}
