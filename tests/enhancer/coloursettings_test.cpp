// SPDX-License-Identifier: GPL-2.0-or-later
// The colour dialog's bookkeeping driven as the dialog drives it: channel radios, sliders,
// Reset buttons and the automatic levels button, checked on the numbers the sliders and the
// labels show and on the working picture's bytes.
#include "enhancer/enhancesettings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "enhancer/imagerecord.h"
#include "tests/enhancer/colourpicture.h"

namespace
{

constexpr int Blue = 0, Green = 1, Red = 2, All = 3;
constexpr int B = EnhanceSettings::Brightness, C = EnhanceSettings::Contrast,
              G = EnhanceSettings::Gamma;

Bgr WorkingAt(const EnhanceSettings& settings, int x, int y)
{
    const uint8_t* p = settings.WorkingPixels() + y * DibStride(settings.Header().biWidth) + x * 3;
    return {p[0], p[1], p[2]};
}

// Every channel runs 20..220 along the row: automatic levels stretch each the same way.
ColourPicture Ramp()
{
    ColourPicture picture(201, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 201; ++x)
            picture.Set(x, y, {uint8_t(20 + x), uint8_t(20 + x), uint8_t(20 + x)});
    return picture;
}

class EnhanceSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings.Start(document.header, document.Pixels())); }

    ColourPicture document{4, 3, {100, 100, 100}};
    EnhanceSettings settings;
};

TEST_F(EnhanceSettingsTest, StartsOnAllChannelsWithTheDocumentsPicture)
{
    EXPECT_EQ(settings.CurrentChannel(), All);
    for (int kind : {B, C, G})
        EXPECT_EQ(settings.SliderPosition(kind), 0);
    EXPECT_EQ(settings.AutoLevelButtonText(), EnhanceSettings::AutoLevelsText);
    EXPECT_EQ(WorkingAt(settings, 3, 2), (Bgr{100, 100, 100}));
    EXPECT_NE(settings.WorkingPixels(), document.Pixels());
}

TEST_F(EnhanceSettingsTest, RedBrightnessRaisesTheAllChannelsValueByAThird)
{
    settings.SelectChannel(Red);
    settings.SliderChanged(B, 30);
    EXPECT_EQ(settings.SliderPosition(B), 30);
    EXPECT_EQ(WorkingAt(settings, 0, 0), (Bgr{100, 100, 130}));
    EXPECT_EQ(document.At(0, 0), (Bgr{100, 100, 100})); // the document is only read
    settings.SelectChannel(All);
    EXPECT_EQ(settings.SliderPosition(B), 10);
}

TEST_F(EnhanceSettingsTest, AllChannelsSliderShiftsEveryChannelByTheChange)
{
    settings.SelectChannel(Red);
    settings.SliderChanged(B, 30); // red 30, all 10
    settings.SelectChannel(All);
    settings.SliderChanged(B, 20); // +10 for each
    EXPECT_FLOAT_EQ(settings.ParametersOf(Red).brightness, 40);
    EXPECT_FLOAT_EQ(settings.ParametersOf(Green).brightness, 10);
    EXPECT_FLOAT_EQ(settings.ParametersOf(Blue).brightness, 10);
    EXPECT_EQ(WorkingAt(settings, 2, 1), (Bgr{110, 110, 140}));
}

TEST_F(EnhanceSettingsTest, NegativeValuesShowTruncatedTowardsZero)
{
    settings.SelectChannel(Green);
    settings.SliderChanged(C, -50);
    settings.SelectChannel(All);
    EXPECT_EQ(settings.SliderPosition(C), -16);
}

TEST_F(EnhanceSettingsTest, ResetOnAllChannelsZeroesEveryChannel)
{
    settings.SelectChannel(Red);
    settings.SliderChanged(G, 60);
    settings.SelectChannel(All);
    settings.SliderChanged(G, 50); // red 90, green and blue 30
    settings.Reset(G);
    EXPECT_FALSE(settings.AllResetPending());
    for (int channel : {Blue, Green, Red, All})
        EXPECT_EQ(settings.ParametersOf(channel).gamma, 0) << channel;
    EXPECT_EQ(settings.SliderPosition(G), 0);
    EXPECT_EQ(WorkingAt(settings, 1, 1), (Bgr{100, 100, 100}));
}

TEST_F(EnhanceSettingsTest, ResetOfOneChannelTakesItsThirdFromAllChannels)
{
    settings.SelectChannel(Blue);
    settings.SliderChanged(B, 60);
    settings.SelectChannel(Red);
    settings.SliderChanged(B, 30);
    settings.Reset(B);
    EXPECT_EQ(settings.SliderPosition(B), 0);
    EXPECT_FLOAT_EQ(settings.ParametersOf(All).brightness, 20);
    EXPECT_EQ(WorkingAt(settings, 0, 2), (Bgr{160, 100, 100}));
}

TEST_F(EnhanceSettingsTest, AutoLevelButtonTextFollowsChannelAndFlag)
{
    struct Step {
        int channel;
        bool toggle;
        int text;
    };
    const Step steps[] = {
        {All, false, EnhanceSettings::AutoLevelsText},
        {Red, false, EnhanceSettings::AutoLevelText},
        {Red, true, EnhanceSettings::UndoAutoLevelText},
        {All, false, EnhanceSettings::AutoLevelsText},
        {All, true, EnhanceSettings::UndoAutoLevelsText},
        {Green, false, EnhanceSettings::UndoAutoLevelText},
        {All, true, EnhanceSettings::AutoLevelsText},
        {Green, false, EnhanceSettings::AutoLevelText},
    };
    for (const Step& step : steps) {
        settings.SelectChannel(step.channel);
        if (step.toggle)
            settings.ToggleAutoLevels();
        EXPECT_EQ(settings.AutoLevelButtonText(), step.text) << step.channel;
    }
}

TEST_F(EnhanceSettingsTest, OutputIsTheWorkingPictureHandedOverOnce)
{
    settings.SliderChanged(B, -40);
    uint8_t* output = settings.TakeOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(0, std::memcmp(output, settings.WorkingPixels(), document.bytes.size()));
    EXPECT_EQ(output[0], 60);
    EXPECT_EQ(settings.TakeOutput(), nullptr);
    ImageRecord record;
    record.Assign(document.header, output, true); // the record frees it as packed
}

TEST(EnhanceSettingsStartTest, RefusesAPictureWithoutPixels)
{
    EnhanceSettings settings;
    ColourPicture picture(2, 2);
    EXPECT_FALSE(settings.Start(picture.header, nullptr));
    EXPECT_FALSE(settings.Start(MakeDibHeader(0, 5), picture.Pixels()));
    EXPECT_EQ(settings.TakeOutput(), nullptr);
    settings.SliderChanged(B, 10); // nothing to change, nothing to crash on
    settings.ToggleAutoLevels();
}

class AutoLevelSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings.Start(document.header, document.Pixels())); }

    ColourPicture document = Ramp();
    EnhanceSettings settings;
};

TEST_F(AutoLevelSettingsTest, AllChannelsShowTheStretchAsSliderValues)
{
    settings.SliderChanged(G, 40);
    settings.ToggleAutoLevels();
    for (int channel : {Blue, Green, Red}) {
        EXPECT_NEAR(settings.ParametersOf(channel).brightness, 9.7, 1e-4);
        EXPECT_NEAR(settings.ParametersOf(channel).contrast, 34.375, 1e-4);
        EXPECT_EQ(settings.ParametersOf(channel).gamma, 0);
        EXPECT_TRUE(settings.AutoLevelOn(channel));
    }
    // 29.1 truncated to 29, then divided by three in whole numbers.
    EXPECT_FLOAT_EQ(settings.ParametersOf(All).brightness, 9);
    EXPECT_EQ(settings.SliderPosition(B), 9);
    EXPECT_EQ(settings.SliderPosition(C), 34);
    EXPECT_EQ(settings.SliderPosition(G), 0);
    // The picture ends mapped by the table of the slider values 9 and 34.
    EXPECT_EQ(WorkingAt(settings, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(WorkingAt(settings, 100, 0), (Bgr{126, 126, 126}));
    EXPECT_EQ(WorkingAt(settings, 200, 1), (Bgr{254, 254, 254}));
}

TEST_F(AutoLevelSettingsTest, TurningAllChannelsOffRestoresThePicture)
{
    settings.ToggleAutoLevels();
    settings.ToggleAutoLevels();
    for (int channel : {Blue, Green, Red, All}) {
        EXPECT_FALSE(settings.AutoLevelOn(channel));
        EXPECT_EQ(settings.ParametersOf(channel).brightness, 0);
        EXPECT_EQ(settings.ParametersOf(channel).contrast, 0);
    }
    EXPECT_EQ(WorkingAt(settings, 100, 1), (Bgr{120, 120, 120}));
    EXPECT_EQ(WorkingAt(settings, 200, 0), (Bgr{220, 220, 220}));
}

TEST_F(AutoLevelSettingsTest, OneChannelAddsAThirdOfItsChangeToAllChannels)
{
    settings.SelectChannel(Red);
    settings.ToggleAutoLevels();
    EXPECT_TRUE(settings.AutoLevelOn(Red));
    EXPECT_FALSE(settings.AutoLevelOn(All));
    EXPECT_EQ(settings.SliderPosition(B), 9);
    EXPECT_NEAR(settings.ParametersOf(All).brightness, 9.7 / 3, 1e-4);
    EXPECT_NEAR(settings.ParametersOf(All).contrast, 34.375 / 3, 1e-4);
    EXPECT_EQ(WorkingAt(settings, 100, 0), (Bgr{120, 120, 126}));

    settings.ToggleAutoLevels();
    EXPECT_FALSE(settings.AutoLevelOn(Red));
    EXPECT_NEAR(settings.ParametersOf(All).brightness, 0, 1e-5);
    EXPECT_EQ(WorkingAt(settings, 100, 0), (Bgr{120, 120, 120}));
}

TEST_F(AutoLevelSettingsTest, OtherChannelsKeepTheirSlidersInThePicture)
{
    settings.SelectChannel(Green);
    settings.SliderChanged(B, 30);
    settings.SelectChannel(Red);
    settings.ToggleAutoLevels();
    EXPECT_EQ(WorkingAt(settings, 100, 0), (Bgr{120, 150, 126}));
    settings.ToggleAutoLevels();
    EXPECT_EQ(WorkingAt(settings, 100, 0), (Bgr{120, 150, 120}));
}

TEST_F(AutoLevelSettingsTest, GammaOfTheChannelIsResetWithAutoLevels)
{
    settings.SelectChannel(Blue);
    settings.SliderChanged(G, 90);
    settings.ToggleAutoLevels();
    EXPECT_EQ(settings.SliderPosition(G), 0);
    EXPECT_NEAR(settings.ParametersOf(All).gamma, 0, 1e-5);
}

} // namespace
