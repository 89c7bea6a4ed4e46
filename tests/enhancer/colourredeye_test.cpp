// SPDX-License-Identifier: GPL-2.0-or-later
// The red-eye brush: target colours, the fall-off of its strength, where a dab lands and
// where it is refused, the sliders' numbers, and the brush as the preview sees it.
#include "enhancer/redeyebrush.h"

#include <gtest/gtest.h>

#include "enhancer/brushview.h"
#include "tests/enhancer/colourpicture.h"

namespace
{

uint32_t Colourref(int red, int green, int blue)
{
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

struct AutomaticCase {
    double k;
    Bgr pixel;
    int expectedRed;
};

class AutomaticRedTest : public ::testing::TestWithParam<AutomaticCase> {};

TEST_P(AutomaticRedTest, RedIsRebuiltFromGreenAndBlue)
{
    const AutomaticCase& t = GetParam();
    RedEyeBrush brush;
    brush.k = t.k;
    brush.sharpness = 100;
    ColourPicture picture(1, 1, t.pixel);
    brush.CorrectPixel(picture.Pixels(), 0.0);
    EXPECT_EQ(picture.At(0, 0), (Bgr{t.pixel.blue, t.pixel.green, uint8_t(t.expectedRed)}));
}

INSTANTIATE_TEST_SUITE_P(
    Factors, AutomaticRedTest,
    ::testing::Values(AutomaticCase{1.0, {0, 0, 255}, 0},     // pure red
                      AutomaticCase{1.0, {40, 100, 255}, 160}, // 2 x green - blue
                      AutomaticCase{0.0, {10, 200, 255}, 0},   // -200 + 20 clamps
                      AutomaticCase{0.5, {50, 100, 255}, 75},  // mean of green and blue
                      AutomaticCase{1.0, {0, 200, 10}, 255})); // 400 clamps

struct CustomCase {
    const char* what;
    uint32_t colour;
    Bgr pixel;
    Bgr expected;
};

class CustomTargetTest : public ::testing::TestWithParam<CustomCase> {};

TEST_P(CustomTargetTest, ColourTakesThePixelsBrightness)
{
    const CustomCase& t = GetParam();
    RedEyeBrush brush;
    brush.customMode = true;
    brush.customColour = t.colour;
    brush.sharpness = 100;
    ColourPicture picture(1, 1, t.pixel);
    brush.CorrectPixel(picture.Pixels(), 0.3);
    EXPECT_EQ(picture.At(0, 0), t.expected) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Colours, CustomTargetTest,
    ::testing::Values(
        CustomCase{"dark pixel darkens the colour", Colourref(200, 100, 50), {20, 30, 240},
                   {16, 33, 66}},
        CustomCase{"bright pixel lightens it", Colourref(200, 100, 50), {200, 200, 9},
                   {191, 207, 238}},
        CustomCase{"equal brightness keeps it", Colourref(200, 100, 50), {100, 50, 0},
                   {50, 100, 200}},
        CustomCase{"black on white stays nearly white", Colourref(0, 0, 0), {255, 255, 255},
                   {254, 254, 254}}));

struct FalloffCase {
    int sharpness;
    double d;
    int expectedRed; // from red 200 towards the target 0
};

class FalloffTest : public ::testing::TestWithParam<FalloffCase> {};

TEST_P(FalloffTest, StrengthFallsOffWithDistance)
{
    const FalloffCase& t = GetParam();
    RedEyeBrush brush;
    brush.sharpness = t.sharpness;
    ColourPicture picture(1, 1, {0, 0, 200});
    brush.CorrectPixel(picture.Pixels(), t.d);
    EXPECT_EQ(picture.At(0, 0).red, t.expectedRed) << t.sharpness << " at " << t.d;
}

INSTANTIATE_TEST_SUITE_P(
    Sharpness, FalloffTest,
    ::testing::Values(FalloffCase{0, 0.0, 200}, FalloffCase{0, 0.9, 200},
                      FalloffCase{50, 0.0, 0}, FalloffCase{50, 0.5, 100},
                      FalloffCase{25, 0.0, 100}, FalloffCase{75, 0.25, 0},
                      FalloffCase{75, 0.75, 100}, FalloffCase{100, 1.0, 0}));

// A 40 x 40 picture of pure red with a brush of 20 and full sharpness.
class DabTest : public ::testing::Test {
protected:
    void SetUp() override { brush.sharpness = 100; }

    bool Unchanged() const { return picture.bytes == ColourPicture(40, 40, {0, 0, 255}).bytes; }

    ColourPicture picture{40, 40, {0, 0, 255}};
    RedEyeBrush brush;
};

TEST_F(DabTest, PaintsTheDiscAroundThePoint)
{
    const DabArea area = brush.Dab(picture.header, picture.Pixels(), 20, 20);
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.top, 10);
    EXPECT_EQ(area.right, 30);
    EXPECT_EQ(area.bottom, 30);
    EXPECT_EQ(picture.At(20, 20), (Bgr{0, 0, 0}));
    EXPECT_EQ(picture.At(10, 20), (Bgr{0, 0, 0}));  // on the rim: d = 1
    EXPECT_EQ(picture.At(10, 10), (Bgr{0, 0, 255})); // the square's corner is outside
    EXPECT_EQ(picture.At(30, 20), (Bgr{0, 0, 255})); // past the square
    EXPECT_EQ(picture.At(25, 25), (Bgr{0, 0, 0}));
    EXPECT_TRUE(picture.PaddingIntact());
}

TEST_F(DabTest, SharpnessFiftyGivesHalfStrengthHalfwayOut)
{
    brush.sharpness = 50;
    picture = ColourPicture(40, 40, {0, 0, 200});
    brush.Dab(picture.header, picture.Pixels(), 20, 20);
    EXPECT_EQ(picture.At(20, 20).red, 0);
    EXPECT_EQ(picture.At(25, 25).red, 100); // squared relative distance 0.5
}

TEST_F(DabTest, SharpnessZeroChangesNothing)
{
    brush.sharpness = 0;
    brush.Dab(picture.header, picture.Pixels(), 20, 20);
    EXPECT_TRUE(Unchanged());
}

struct EdgeCase {
    const char* what;
    int size, px, py;
    bool paints;
};

class DabEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(DabEdgeTest, DabsReachingPastAnEdgeAreSkipped)
{
    const EdgeCase& t = GetParam();
    ColourPicture picture(40, 30, {0, 0, 255}); // 120 bytes a row, no padding
    ColourPicture padded(38, 30, {0, 0, 255});  // 116 bytes a row: two of padding
    RedEyeBrush brush;
    brush.size = t.size;
    brush.sharpness = 100;
    const std::vector<uint8_t> before = picture.bytes;
    const DabArea area = brush.Dab(picture.header, picture.Pixels(), t.px, t.py);
    EXPECT_EQ(!area.IsEmpty(), t.paints) << t.what;
    EXPECT_EQ(picture.bytes != before, t.paints) << t.what;
    brush.Dab(padded.header, padded.Pixels(), t.px - 2, t.py);
    EXPECT_TRUE(padded.PaddingIntact()) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DabEdgeTest,
    ::testing::Values(EdgeCase{"9 pixels from the left edge", 20, 9, 15, false},
                      EdgeCase{"10 pixels from the left edge", 20, 10, 15, true},
                      EdgeCase{"reaching the last column", 20, 30, 15, true},
                      EdgeCase{"one past the last column", 20, 31, 15, false},
                      EdgeCase{"9 rows from the bottom", 20, 20, 9, false},
                      EdgeCase{"reaching the top row", 20, 20, 20, true},
                      EdgeCase{"one past the top row", 20, 20, 21, false},
                      // An odd size reaches half size + 1 to the right and up.
                      EdgeCase{"odd size at the last column", 5, 37, 15, true},
                      EdgeCase{"odd size one past the last column", 5, 38, 15, false},
                      EdgeCase{"odd size one past the top row", 5, 20, 28, false}));

TEST(RedEyeBrushTest, SlidersGiveSizeLabelAndFactor)
{
    RedEyeBrush brush;
    brush.SetFromSliders(RedEyeBrush::StartSize, RedEyeBrush::StartEyeColour,
                         RedEyeBrush::StartSharpness);
    EXPECT_EQ(brush.size, 20);
    EXPECT_EQ(brush.SizeLabelValue(), 19);
    EXPECT_EQ(brush.k, 1.0);
    EXPECT_EQ(brush.sharpness, 50);
    brush.SetFromSliders(4, 50, 0);
    EXPECT_EQ(brush.SizeLabelValue(), 3);
    EXPECT_EQ(brush.k, 0.5);
}

TEST(RedEyeBrushTest, WheelMovesTheSizeTwoANotchWithinTheRange)
{
    const struct {
        int position, delta, expected;
    } cases[] = {{20, 120, 22}, {20, -240, 16}, {20, 60, 20}, {20, 239, 22},
                 {99, 120, 100}, {5, -120, 4}, {100, 1200, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(RedEyeBrush::SizeAfterWheel(c.position, c.delta), c.expected)
            << c.position << " " << c.delta;
}

TEST(PickColourTest, ReadsTheShownPixelTopDown)
{
    ColourPicture shown(3, 2, {1, 2, 3});
    shown.Set(0, 1, {30, 20, 10}); // the top row is the last in memory
    uint32_t colour = 0;
    ASSERT_TRUE(PickColour(shown.header, shown.Pixels(), 0, 0, &colour));
    EXPECT_EQ(colour, Colourref(10, 20, 30));
    ASSERT_TRUE(PickColour(shown.header, shown.Pixels(), 2, 1, &colour));
    EXPECT_EQ(colour, Colourref(3, 2, 1));
    EXPECT_FALSE(PickColour(shown.header, shown.Pixels(), 3, 0, &colour));
    EXPECT_FALSE(PickColour(shown.header, shown.Pixels(), 0, -1, &colour));
}

TEST(BrushViewTest, WindowPositionBecomesImagePointBottomUp)
{
    BrushView view;
    view.imageHeight = 100;
    EXPECT_EQ(view.ImagePointAt(10, 10).x, 9);
    EXPECT_EQ(view.ImagePointAt(10, 10).y, 89);
    view.zoom = 2;
    view.scrollX = 20;
    view.scrollY = 40;
    EXPECT_EQ(view.ImagePointAt(10, 10).x, 14);
    EXPECT_EQ(view.ImagePointAt(10, 10).y, 74);
    view.zoom = 0.5;
    view.scrollX = view.scrollY = 0;
    EXPECT_EQ(view.ImagePointAt(0.3, 49.9).x, 0); // -0.4 truncated towards zero
    EXPECT_EQ(view.ImagePointAt(0.3, 49.9).y, 0);
}

TEST(BrushViewTest, OutlineIsACircleOfHalfTheZoomedSize)
{
    BrushView view;
    view.zoom = 0.5;
    const BrushOutline outline = view.OutlineAt(50.7, 40.2, 20);
    EXPECT_EQ(outline.left, 45);
    EXPECT_EQ(outline.top, 35);
    EXPECT_EQ(outline.right, 55);
    EXPECT_EQ(outline.bottom, 45);
    EXPECT_EQ(outline.startX, 45);
    EXPECT_EQ(outline.startY, 40);
}

TEST(BrushViewTest, StrokeDabsOnlyClearOfTheWindowEdges)
{
    BrushView view;
    view.windowWidth = 100;
    view.windowHeight = 80;
    EXPECT_TRUE(view.DabFits(50, 40, 20));
    EXPECT_FALSE(view.DabFits(20, 40, 20)); // reaches the left edge exactly
    EXPECT_TRUE(view.DabFits(21, 40, 20));
    EXPECT_FALSE(view.DabFits(50, 60, 20)); // reaches the bottom edge
    view.zoom = 2;
    EXPECT_FALSE(view.DabFits(50, 40, 20));
}

} // namespace
