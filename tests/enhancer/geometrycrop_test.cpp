// SPDX-License-Identifier: GPL-2.0-or-later
// Cutting a rectangle out of the image, and the crop tool's rectangle: ratios, handles,
// clamping, and the way between the screen and image pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "enhancer/cropcopy.h"
#include "enhancer/croprect.h"
#include "enhancer/lumivexstrings.h"
#include "tests/enhancer/geometrytestimage.h"

using Rect = CropRect::Rect;

namespace
{

struct CropCase {
    const char* name;
    RECT rectangle; // image pixels, y downwards
    int width, height;
    int firstX, firstY; // source pixel of the result's bottom-left pixel
};

class CropCopyTest : public ::testing::TestWithParam<CropCase> {};

} // namespace

TEST_P(CropCopyTest, CopiesTheRectangle)
{
    const CropCase& c = GetParam();
    const TestImage source = LabelledImage(5, 4);
    const PackedImage packed = CropCopy(source.Header(), source.Pixels(), c.rectangle, nullptr);
    ASSERT_TRUE(packed);
    const TestImage result(packed);
    ASSERT_EQ(result.Width(), c.width);
    ASSERT_EQ(result.Height(), c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ(result.At(x, y), Label(c.firstX + x, c.firstY + y)) << x << "," << y;
}

// The image is 5 x 4; its top row as shown is buffer row 3.
INSTANTIATE_TEST_SUITE_P(
    FiveByFour, CropCopyTest,
    ::testing::Values(CropCase{"TopTwoRows", {1, 0, 3, 2}, 2, 2, 1, 2},
                      CropCase{"BottomRow", {0, 3, 5, 4}, 5, 1, 0, 0},
                      CropCase{"CornersSwapped", {3, 2, 1, 0}, 2, 2, 1, 2},
                      CropCase{"PartlyOutside", {-4, -4, 2, 1}, 2, 1, 0, 3},
                      CropCase{"Whole", {0, 0, 5, 4}, 5, 4, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CropCopy, NothingInsideGivesNoResult)
{
    const TestImage source = LabelledImage(5, 4);
    for (const RECT& r : {RECT{5, 0, 9, 4}, RECT{1, 1, 1, 3}, RECT{0, 4, 5, 9}, RECT{-3, -3, 0, 0}})
        EXPECT_FALSE(CropCopy(source.Header(), source.Pixels(), r, nullptr));
    const ProgressCallback stop = [](int) { return -1; };
    EXPECT_FALSE(CropCopy(source.Header(), source.Pixels(), RECT{0, 0, 5, 4}, &stop));
}

TEST(CropCopy, RowPaddingOfTheResultIsZero)
{
    const TestImage source = LabelledImage(5, 4);
    const PackedImage packed = CropCopy(source.Header(), source.Pixels(), {0, 0, 3, 2}, nullptr);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed.Stride(), 12u);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(packed.pixels.get()[row * 12 + 9], 0);
        EXPECT_EQ(packed.pixels.get()[row * 12 + 11], 0);
    }
}

TEST(CropRect, CommandsStartWithTheirRatios)
{
    EXPECT_EQ(CropRect::RatioOfCommand(32787, 4000, 3000), 0.0f);
    EXPECT_FLOAT_EQ(*CropRect::RatioOfCommand(188, 4000, 3000), 4000.0f / 3000.0f);
    EXPECT_EQ(CropRect::RatioOfCommand(32791, 4000, 3000), 1.5f);
    EXPECT_EQ(CropRect::RatioOfCommand(32793, 4000, 3000), 0.75f);
    EXPECT_FALSE(CropRect::RatioOfCommand(32786, 4000, 3000));
    EXPECT_EQ(CropRect::RatioOfCommand(188, 4000, 0), 0.0f);
}

TEST(CropRect, ChosenRatioFollowsOrientationAndInversion)
{
    const CropRect digital(0.75f);
    EXPECT_NEAR(digital.ChosenRatio(400, 300), 1.0 / 0.75, 1e-6); // landscape
    EXPECT_NEAR(digital.ChosenRatio(300, 400), 0.75, 1e-6);       // portrait
    EXPECT_NEAR(digital.ChosenRatio(-400, 300), -1.0 / 0.75, 1e-6);
    EXPECT_NEAR(digital.ChosenRatio(300, -400), -0.75, 1e-6);
    EXPECT_NEAR(digital.ChosenRatio(300, 0), 0.75, 1e-6);
}

namespace
{

struct HandleCase {
    const char* name;
    CropRect::Handle handle;
    Rect dragged;
    Rect expected;
};

class CropHandleTest : public ::testing::TestWithParam<HandleCase> {};

} // namespace

// Ratio 3:2 inside a large visible area, the drag began with the centre at (150, 100).
TEST_P(CropHandleTest, KeepsTheRatio)
{
    const HandleCase& c = GetParam();
    const CropRect crop(CropRect::FilmRatio);
    EXPECT_EQ(crop.Adjust(c.dragged, c.handle, {150, 100}, {-1000, -1000, 2000, 2000}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Film, CropHandleTest,
    ::testing::Values(
        // Corner: width (300 + 100 x 1.5) / 2 = 225, height (100 + 300 / 1.5) / 2 = 150.
        HandleCase{"BottomRight", CropRect::BottomRight, {0, 0, 300, 100}, {0, 0, 225, 150}},
        HandleCase{"TopLeft", CropRect::TopLeft, {0, 0, 300, 100}, {75, -50, 300, 100}},
        // Top or bottom: the width follows the height, centred on the drag's centre.
        HandleCase{"Bottom", CropRect::Bottom, {100, 50, 400, 250}, {0, 50, 300, 250}},
        // Left or right: the height follows the width, centred likewise.
        HandleCase{"Right", CropRect::Right, {0, 60, 450, 140}, {0, -50, 450, 250}},
        // Dragged inside out: the negative ratio keeps it inverted.
        HandleCase{"InsideOut", CropRect::BottomRight, {300, 0, 0, 200}, {300, 0, 0, 200}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CropRect, ClampedToTheVisibleImageWithTheRatioKept)
{
    const CropRect crop(CropRect::FilmRatio);
    const Rect visible{10, 20, 410, 320};
    const Rect result = crop.Adjust({50, 50, 700, 483}, CropRect::BottomRight, {0, 0}, visible);
    EXPECT_GE(result.left, visible.left);
    EXPECT_LE(result.right, visible.right);
    EXPECT_GE(result.top, visible.top);
    EXPECT_LE(result.bottom, visible.bottom);
    EXPECT_EQ(result.left, 50); // the fixed corner stays
    EXPECT_EQ(result.top, 50);
    EXPECT_NEAR(double(result.Width()) / result.Height(), 1.5, 0.02);
    // Free: only clamped.
    const CropRect free;
    EXPECT_EQ(free.Adjust({-5, 30, 500, 40}, CropRect::Right, {0, 0}, visible),
              (Rect{10, 30, 410, 40}));
    // Moving it whole keeps its size and pushes it back in.
    EXPECT_EQ(free.Adjust({380, 300, 480, 350}, CropRect::Inside, {0, 0}, visible),
              (Rect{310, 270, 410, 320}));
}

TEST(CropRect, ScreenAndImagePixels)
{
    // Zoom 0.5, image drawn from (20, 10), view scrolled by (0, 0).
    const Rect tracker{120, 60, 220, 110};
    const Rect image = CropRect::ToImage(tracker, {0, 0}, {20, 10}, 0.5);
    EXPECT_EQ(image, (Rect{200, 100, 400, 200}));
    EXPECT_EQ(CropRect::ToClient(image, {0, 0}, {20, 10}, 0.5), tracker);
    // Scrolled (no centring offset when the image is larger than the window).
    EXPECT_EQ(CropRect::ToImage({0, 0, 10, 10}, {300, 150}, {0, 0}, 2.0), (Rect{150, 75, 155, 80}));
}

TEST(CropRect, EnterNormalisesClampsAndDividesByZoom)
{
    // 4000 x 3000 at zoom 0.15 is 600 x 450, centred at (100, 25) in an 800 x 500 window.
    const auto cut = CropRect::CropOnEnter({700, 500, 160, 85}, {0, 0}, {100, 25}, 600, 450, 0.15);
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, (Rect{int(60 / 0.15), int(60 / 0.15), 4000, 3000}));
    // Entirely beside the image: nothing to cut, and the view says so.
    EXPECT_FALSE(CropRect::CropOnEnter({0, 0, 90, 20}, {0, 0}, {100, 25}, 600, 450, 0.15));
    EXPECT_EQ(loadLumivexString(CropRect::NothingSelectedText),
              "The selected area does not contain any part of the image.");
    // Thinner than one image pixel at a high zoom.
    EXPECT_FALSE(CropRect::CropOnEnter({10, 10, 13, 40}, {0, 0}, {0, 0}, 5000, 5000, 10.0));
}
