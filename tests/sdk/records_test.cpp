// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "sdk/gvparaminfo.h"
#include "sdk/gvplugininfo.h"
#include "sdk/resultcode.h"
#include "sdk/templateinfo.h"

TEST(ResultMessages, KnownCodesAndEverythingElse)
{
    EXPECT_STREQ(FormatResultMessage(-1000).c_str(), "Method not implemented yet.");
    EXPECT_STREQ(FormatResultMessage(-1002).c_str(), "Error while creating file");
    EXPECT_STREQ(FormatResultMessage(-1010).c_str(),
                 "File is corrupted or file version is unsupported");
    EXPECT_STREQ(FormatResultMessage(-1011).c_str(), "The specified item is not found");
    EXPECT_STREQ(FormatResultMessage(-1027).c_str(), "Could not restore relative image path");
    EXPECT_EQ(std::strncmp(FormatResultMessage(-1029).c_str(), "Plugin version %s is unsupported.",
                           33),
              0);
    for (ResultCode code : {-1012, -1013, -1014, -1028, -999, -1030, 1223, 1, INT32_MIN, INT32_MAX})
        EXPECT_STREQ(FormatResultMessage(code).c_str(), "Unexpected error") << code;
}

TEST(ParamRecords, FontBlockHasTheWindowsLayout)
{
    GVFontBlock block;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&block);
    block.chooseFont.rgbColors = 0x00112233;
    block.logFont.lfWeight = 700;
    std::strcpy(block.logFont.lfFaceName, "Serif");
    EXPECT_EQ(bytes[24], 0x33);
    EXPECT_EQ(bytes[60 + 16], 700 & 0xff);
    EXPECT_EQ(std::memcmp(bytes + 60 + 28, "Serif", 6), 0);
}

TEST(ParamRecords, CopiesOwnTheirFontBlock)
{
    GVFontBlock block;
    std::strcpy(block.logFont.lfFaceName, "Sans");
    GVParamValue original;
    original.setFont(&block);
    GVParamValue copy(original);
    ASSERT_NE(copy.font, nullptr);
    EXPECT_NE(copy.font, original.font);
    std::strcpy(copy.font->logFont.lfFaceName, "Mono");
    EXPECT_STREQ(original.font->logFont.lfFaceName, "Sans");

    GVParamValue plain(5);
    plain = original;
    EXPECT_STREQ(plain.font->logFont.lfFaceName, "Sans");
    plain = GVParamValue("text");
    EXPECT_EQ(plain.font, nullptr);

    GVParamInfo param;
    param.values.push_back(GVParamValueInfo(PVK_VALUE, original));
    GVParamInfo paramCopy(param);
    EXPECT_NE(paramCopy.values[0].value.font, param.values[0].value.font);
}

TEST(PluginRecords, AssignCopiesEveryField)
{
    GVPluginInfo info;
    info.SetText1("one");
    info.SetName("HTML");
    info.SetDisplayName("Web album");
    info.SetText4("1.0");
    info.SetNumber(7);
    GVPluginInfo copy;
    copy.Assign(info);
    EXPECT_STREQ(copy.GetText1(), "one");
    EXPECT_STREQ(copy.GetName(), "HTML");
    EXPECT_STREQ(copy.GetDisplayName(), "Web album");
    EXPECT_STREQ(copy.GetText4(), "1.0");
    EXPECT_EQ(copy.GetNumber(), 7);

    TemplateInfo first(3, "Classic", "x");
    TemplateInfo second;
    second = first;
    EXPECT_EQ(second.id, 3);
    EXPECT_STREQ(second.name.c_str(), "Classic");
    EXPECT_STREQ(second.text2.c_str(), "x");
}
