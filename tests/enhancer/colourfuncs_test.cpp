// SPDX-License-Identifier: GPL-2.0-or-later
// Lookup tables, their mapping of byte positions, and automatic levels, with exact bytes.
#include "enhancer/imageenhfuncs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/enhancer/colourpicture.h"

namespace
{

struct TableCase {
    const char* what;
    int b, c, g;
    int input;
    int expected;
};

class TableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableTest, MapsOneValue)
{
    const TableCase& t = GetParam();
    CImageEnhFuncs funcs;
    funcs.SetParameters(t.b, t.c, t.g);
    EXPECT_EQ(funcs.Table()[t.input], t.expected) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Sliders, TableTest,
    ::testing::Values(TableCase{"gamma +100 on mid grey", 0, 0, 100, 128, 214},
                      TableCase{"gamma -100 on mid grey", 0, 0, -100, 128, 16},
                      TableCase{"contrast +100 clamps bright", 0, 100, 0, 200, 255},
                      TableCase{"contrast +100 on dark", 0, 100, 0, 100, 77},
                      TableCase{"brightness +100 clamps", 100, 0, 0, 200, 255},
                      TableCase{"brightness +100 on dark", 100, 0, 0, 100, 200},
                      TableCase{"brightness -100 clamps black", -100, 0, 0, 60, 0},
                      TableCase{"contrast -100 lifts black", 0, -100, 0, 0, 102},
                      TableCase{"contrast -100 lowers white", 0, -100, 0, 255, 153},
                      // Past the slider range, reached by adding the all-channels slider.
                      TableCase{"gamma far beyond -100 darkens all but white", 0, 0, -200, 254,
                                0},
                      TableCase{"gamma far beyond +100 lifts all but black", 0, 0, 200, 1, 254}));

TEST(CImageEnhFuncsTest, NeutralSettingsGiveTheSameValues)
{
    CImageEnhFuncs funcs;
    funcs.SetParameters(0, 0, 0);
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(funcs.Table()[v], v);
    EXPECT_EQ(funcs.Gain(), 1.0);
    EXPECT_EQ(funcs.Offset(), 0.0);
    EXPECT_EQ(funcs.Exponent(), 1.0);
}

TEST(CImageEnhFuncsTest, GammaSliderEndsGiveQuarterAndFourthPower)
{
    CImageEnhFuncs funcs;
    funcs.SetParameters(0, 0, 100);
    EXPECT_DOUBLE_EQ(funcs.Exponent(), 0.25);
    funcs.SetParameters(0, 0, -100);
    EXPECT_DOUBLE_EQ(funcs.Exponent(), 4.0);
}

TEST(CImageEnhFuncsTest, ContrastBelowZeroGainFlattensInsteadOfInverting)
{
    CImageEnhFuncs funcs;
    for (int c : {-125, -160, -200, -300}) {
        funcs.SetParameters(0, c, 0);
        EXPECT_GE(funcs.Gain(), 0.0) << c;
        EXPECT_EQ(funcs.Table()[0], 128) << c;
        EXPECT_EQ(funcs.Table()[255], 128) << c;
    }
}

TEST(CImageEnhFuncsTest, OneChannelChangesOnlyItsBytes)
{
    ColourPicture src(3, 2, {10, 100, 200}); // stride 12: three padding bytes a row
    ColourPicture dst(3, 2, {1, 2, 3});
    CImageEnhFuncs funcs;
    ASSERT_TRUE(funcs.Apply(3, 2, CImageEnhFuncs::GreenChannel, 100, 0, 0, dst.Pixels(),
                            src.Pixels()));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.At(x, y), (Bgr{1, 200, 3}));
    EXPECT_TRUE(dst.PaddingIntact());
}

TEST(CImageEnhFuncsTest, AllChannelsUseOneTable)
{
    ColourPicture picture(2, 2, {100, 128, 200});
    CImageEnhFuncs funcs;
    ASSERT_TRUE(funcs.Apply(2, 2, CImageEnhFuncs::AllChannels, 0, 100, 0, picture.Pixels(),
                            picture.Pixels()));
    EXPECT_EQ(picture.At(1, 1), (Bgr{77, 128, 255}));
    EXPECT_TRUE(picture.PaddingIntact());
}

TEST(CImageEnhFuncsTest, RefusesBadChannelsAndEmptyImages)
{
    ColourPicture picture(2, 2, {5, 6, 7});
    const std::vector<uint8_t> before = picture.bytes;
    CImageEnhFuncs funcs;
    EXPECT_FALSE(funcs.Apply(2, 2, 4, 50, 0, 0, picture.Pixels(), picture.Pixels()));
    EXPECT_FALSE(funcs.Apply(2, 2, -1, 50, 0, 0, picture.Pixels(), picture.Pixels()));
    EXPECT_FALSE(funcs.Apply(0, 2, 0, 50, 0, 0, picture.Pixels(), picture.Pixels()));
    EXPECT_FALSE(funcs.Apply(2, 2, 0, 50, 0, 0, nullptr, picture.Pixels()));
    EXPECT_FALSE(funcs.AutoLevel(2, 2, 3, picture.Pixels(), picture.Pixels()).stretched);
    EXPECT_EQ(picture.bytes, before);
}

TEST(CImageEnhFuncsTest, StoppedByProgressReportsFailure)
{
    ColourPicture picture(64, 512, {5, 6, 7});
    CImageEnhFuncs funcs;
    EXPECT_FALSE(funcs.Apply(64, 512, 3, 50, 0, 0, picture.Pixels(), picture.Pixels(),
                             [](int) { return 1; }));
}

// One column per value 20..220, so every value holds the same share (about 0.5 %).
ColourPicture Ramp20To220(int channel)
{
    ColourPicture picture(201, 2, {128, 128, 128});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 201; ++x) {
            Bgr colour{128, 128, 128};
            uint8_t* bytes = &colour.blue;
            bytes[channel] = uint8_t(20 + x);
            picture.Set(x, y, colour);
        }
    return picture;
}

TEST(AutoLevelTest, StretchesTwentyToTwoTwentyAndGivesSliderValues)
{
    ColourPicture picture = Ramp20To220(CImageEnhFuncs::RedChannel);
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(201, 2, CImageEnhFuncs::RedChannel, picture.Pixels(), picture.Pixels());
    EXPECT_TRUE(levels.stretched);
    EXPECT_EQ(levels.low, 20);
    EXPECT_EQ(levels.high, 220);
    EXPECT_EQ(funcs.Gain(), double(1.275f)); // the gain is kept in single precision
    EXPECT_NEAR(funcs.Offset(), -25.5, 1e-5);
    EXPECT_NEAR(levels.brightness, 9.7, 1e-4);
    EXPECT_NEAR(levels.contrast, 34.375, 1e-4);
    EXPECT_EQ(int(levels.brightness), 9);
    EXPECT_EQ(int(levels.contrast), 34);
    EXPECT_EQ(picture.At(0, 0), (Bgr{128, 128, 0}));
    EXPECT_EQ(picture.At(100, 1), (Bgr{128, 128, 127}));
    // The single-precision gain falls a hair short of 1.275: the top lands on 254.
    EXPECT_EQ(picture.At(200, 0), (Bgr{128, 128, 254}));
    EXPECT_TRUE(picture.PaddingIntact());
}

TEST(AutoLevelTest, FullWhiteIsNotPartOfTheRange)
{
    ColourPicture picture = Ramp20To220(CImageEnhFuncs::BlueChannel);
    for (int x = 150; x < 201; ++x)
        picture.Set(x, 1, {255, 128, 128});
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(201, 2, CImageEnhFuncs::BlueChannel, picture.Pixels(), picture.Pixels());
    EXPECT_EQ(levels.low, 20);
    EXPECT_EQ(levels.high, 220);
    EXPECT_EQ(picture.At(180, 1).blue, 255);
}

struct ThresholdCase {
    int outliers; // pixels of value 0 among 10,000 of value 100..199
    int expectedLow;
};

class ThresholdTest : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(ThresholdTest, RareValuesBelowTheShareAreIgnored)
{
    ColourPicture picture(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            picture.Set(x, y, {0, uint8_t(100 + x), 0});
    for (int i = 0; i < GetParam().outliers; ++i)
        picture.Set(i, 50, {0, 0, 0});
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(100, 100, CImageEnhFuncs::GreenChannel, picture.Pixels(),
                        picture.Pixels());
    EXPECT_EQ(levels.low, GetParam().expectedLow);
}

// 5 of 10,000 pixels are 0.05 %, 6 are 0.06 %: the line is drawn at 0.053 %.
INSTANTIATE_TEST_SUITE_P(Shares, ThresholdTest,
                         ::testing::Values(ThresholdCase{5, 100}, ThresholdCase{6, 0}));

TEST(AutoLevelTest, ChannelOfOneValueIsLeftAsItIs)
{
    ColourPicture picture(4, 3, {50, 60, 70});
    ColourPicture out(4, 3, {1, 1, 1});
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(4, 3, CImageEnhFuncs::GreenChannel, out.Pixels(), picture.Pixels());
    EXPECT_FALSE(levels.stretched);
    EXPECT_EQ(levels.low, 60);
    EXPECT_EQ(levels.high, 60);
    EXPECT_EQ(levels.brightness, 0.0);
    EXPECT_EQ(levels.contrast, 0.0);
    EXPECT_EQ(funcs.Gain(), 1.0);
    EXPECT_EQ(out.At(3, 2), (Bgr{1, 60, 1}));
}

TEST(AutoLevelTest, ChannelWithNothingCountedIsNotInverted)
{
    // All of it full white: no bin counts, so low 255 and high 0.
    ColourPicture picture(4, 3, {255, 90, 90});
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(4, 3, CImageEnhFuncs::BlueChannel, picture.Pixels(), picture.Pixels());
    EXPECT_EQ(levels.low, 255);
    EXPECT_EQ(levels.high, 0);
    EXPECT_FALSE(levels.stretched);
    EXPECT_EQ(picture.At(0, 0), (Bgr{255, 90, 90}));
}

// The bands run on several threads; the result must be what one pass over the rows gives.
TEST(CImageEnhFuncsTest, PhotoMapsAsOneThreadWould)
{
    const ColourPicture photo = LoadTestPhoto("exs-nikon-e950.jpg", 799);
    const int width = photo.header.biWidth, height = photo.header.biHeight;
    ASSERT_GT(height, 100);
    CImageEnhFuncs funcs;
    ColourPicture mapped = photo;
    ASSERT_TRUE(funcs.Apply(width, height, CImageEnhFuncs::AllChannels, 30, 40, -20,
                            mapped.Pixels(), photo.Pixels()));
    ColourPicture expected = photo;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Bgr c = photo.At(x, y);
            expected.Set(x, y, {funcs.Table()[c.blue], funcs.Table()[c.green],
                                funcs.Table()[c.red]});
        }
    EXPECT_EQ(mapped.bytes, expected.bytes);
}

TEST(AutoLevelTest, PhotoRangeIsFoundAsOneThreadWould)
{
    ColourPicture photo = LoadTestPhoto("exs-nikon-e950.jpg", 799);
    const int width = photo.header.biWidth, height = photo.header.biHeight;
    std::vector<int> bins(256, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ++bins[photo.At(x, y).red];
    int low = 255, high = 0;
    for (int v = 0; v < 255; ++v)
        if (bins[v] * 100.0 / (double(width) * height) >= 0.053) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    CImageEnhFuncs funcs;
    const AutoLevelResult levels =
        funcs.AutoLevel(width, height, CImageEnhFuncs::RedChannel, photo.Pixels(),
                        photo.Pixels());
    EXPECT_EQ(levels.low, low);
    EXPECT_EQ(levels.high, high);
}

} // namespace
