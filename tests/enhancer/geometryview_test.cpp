// SPDX-License-Identifier: GPL-2.0-or-later
// The view's zoom steps and opening zoom, and the rotation dialog's dial.
#include <gtest/gtest.h>

#include <vector>

#include "enhancer/rotationdial.h"
#include "enhancer/viewzoom.h"

namespace
{

struct ZoomCase {
    const char* name;
    double start;
    double minimum;
    bool in;
    std::vector<double> sequence;
};

class ZoomStepTest : public ::testing::TestWithParam<ZoomCase> {};

} // namespace

TEST_P(ZoomStepTest, Sequence)
{
    const ZoomCase& c = GetParam();
    ViewZoom zoom;
    zoom.SetZoom(c.start, c.minimum);
    double before = c.start;
    for (const double expected : c.sequence) {
        c.in ? zoom.ZoomIn() : zoom.ZoomOut();
        EXPECT_NEAR(zoom.Zoom(), expected, 1e-9);
        EXPECT_EQ(zoom.PreviousZoom(), before);
        before = zoom.Zoom();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ZoomStepTest,
    ::testing::Values(
        // Doubling below 0.5; 80 and 105 are whole percents, so the step is added.
        ZoomCase{"InFromPointFour", 0.4, 0.01, true, {0.8, 1.05, 1.3, 1.55}},
        // 0.9074 is not a whole percent: up to the next step, 1.0.
        ZoomCase{"InOffTheSteps", 0.4537, 0.01, true, {0.9074, 1.0, 1.25}},
        ZoomCase{"InCappedAtTen", 9.9, 0.01, true, {10.0, 10.0}},
        // The step is taken off while above it, then halving while above the minimum.
        ZoomCase{"OutFromPointThree", 0.3, 0.03, false, {0.05, 0.05}},
        ZoomCase{"OutHalvingAboveMinimum", 0.2, 0.03, false, {0.1, 0.05, 0.05}},
        ZoomCase{"OutNotBelowMinimum", 0.2, 0.1, false, {0.2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ViewZoom, LargePhotoOpensAtAShareOfTheScreen)
{
    ViewZoom zoom;
    const ViewZoom::Size wanted = zoom.InitialUpdate(1000, 4000, 3000);
    EXPECT_DOUBLE_EQ(zoom.Zoom(), 0.15);
    EXPECT_DOUBLE_EQ(zoom.MinimumZoom(), 0.03);
    EXPECT_EQ(wanted, (ViewZoom::Size{600, 450}));
    EXPECT_EQ(zoom.ScalePercent(), 15);
    EXPECT_EQ(zoom.ScaledSize(4000, 3000), (ViewZoom::Size{600, 450}));
}

TEST(ViewZoom, SmallPhotoOpensAtOneInASquareWindow)
{
    ViewZoom zoom;
    EXPECT_EQ(zoom.InitialUpdate(1000, 600, 200), (ViewZoom::Size{600, 600}));
    EXPECT_EQ(zoom.Zoom(), 1.0);
    EXPECT_DOUBLE_EQ(zoom.MinimumZoom(), 0.2);
    // Never smaller than 300 x 300.
    EXPECT_EQ(zoom.InitialUpdate(400, 100, 50), (ViewZoom::Size{300, 300}));
    EXPECT_EQ(zoom.InitialUpdate(1000, 3000, 300), (ViewZoom::Size{600, 300}));
}

TEST(ViewZoom, EnablingAndActualPixels)
{
    ViewZoom zoom;
    zoom.SetZoom(10.0, 0.03);
    EXPECT_FALSE(zoom.CanZoomIn());
    zoom.SetZoom(0.06, 0.03);
    EXPECT_FALSE(zoom.CanZoomOut()); // 0.03 is not above the minimum
    zoom.SetZoom(0.07, 0.03);
    EXPECT_TRUE(zoom.CanZoomOut());
    zoom.ActualPixels();
    EXPECT_EQ(zoom.Zoom(), 1.0);
    EXPECT_EQ(zoom.PreviousZoom(), 0.07);
}

TEST(ViewZoom, BestFitByTheTighterSide)
{
    ViewZoom zoom;
    zoom.InitialUpdate(1000, 4000, 3000);
    zoom.BestFit(800, 500, 4000, 3000, 16, 16);
    // 800/500 is wider than 4:3, so the height decides.
    EXPECT_DOUBLE_EQ(zoom.Zoom(), 500.0 / 3000);
    EXPECT_DOUBLE_EQ(zoom.ZoomStep(), 0.25);
    EXPECT_DOUBLE_EQ(zoom.MinimumZoom(), 0.03); // unchanged
    // At zoom 1 the image overflows: the scroll bars' room is given back first.
    zoom.ActualPixels();
    zoom.BestFit(784, 584, 4000, 3000, 16, 16);
    EXPECT_DOUBLE_EQ(zoom.Zoom(), 800.0 / 4000);
}

TEST(ViewZoom, ImageIsCentredWhereItIsSmaller)
{
    ViewZoom zoom;
    zoom.InitialUpdate(1000, 4000, 3000); // 600 x 450
    EXPECT_EQ(zoom.ImageRect(800, 300, 4000, 3000), (ViewZoom::Rect{100, 0, 700, 450}));
    EXPECT_EQ(zoom.ImageRect(500, 500, 4000, 3000), (ViewZoom::Rect{0, 25, 600, 475}));
}

namespace
{

struct DialCase {
    int x, y;
    int angle;
};

class DialAngleTest : public ::testing::TestWithParam<DialCase> {};

} // namespace

// A 100 x 100 dial has its centre at (50, 50); y grows downwards.
TEST_P(DialAngleTest, AngleOfAClick)
{
    const DialCase& c = GetParam();
    EXPECT_EQ(RotationDial(100, 100).AngleAt(c.x, c.y), c.angle) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Points, DialAngleTest,
                         ::testing::Values(DialCase{50, 90, 180}, // below the centre
                                           DialCase{10, 50, 270}, // left
                                           DialCase{50, 10, 0},   // above
                                           DialCase{90, 50, 90},  // right
                                           DialCase{50, 50, 90},  // the centre itself
                                           DialCase{90, 10, 45}, DialCase{10, 90, 225},
                                           DialCase{10, 10, 315}, DialCase{90, 90, 135},
                                           // atan(0.5) x 180 / 3.14 = 26.58
                                           DialCase{70, 10, 26}));

TEST(RotationDial, SquareAndCentreInAWideClientArea)
{
    const RotationDial dial(140, 100);
    EXPECT_EQ(dial.Side(), 100);
    EXPECT_EQ(dial.Left(), 20);
    EXPECT_EQ(dial.Centre(), (RotationDial::Point{70, 50}));
    EXPECT_EQ(dial.AngleAt(70, 99), 180);
}

TEST(RotationDial, NeedleTurnsWithTheAngle)
{
    const RotationDial dial(100, 100);
    using P = RotationDial::Point;
    const auto upright = dial.Needle(0);
    EXPECT_EQ(upright[0], (P{50, 50}));
    EXPECT_EQ(upright[1], (P{47, 53}));
    EXPECT_EQ(upright[2], (P{50, 1}));
    EXPECT_EQ(upright[3], (P{53, 53}));
    // Turned with 3.14 for pi, the tip at 180 stops one pixel short of the mirror image.
    EXPECT_EQ(dial.Needle(180)[2], (P{50, 98}));
    EXPECT_EQ(dial.Needle(90)[2], (P{98, 50}));
}

TEST(RotationDial, TicksAndMarks)
{
    const RotationDial dial(100, 100);
    const auto ticks = dial.Ticks();
    ASSERT_EQ(ticks.size(), 24u);
    EXPECT_EQ(ticks[0].from, (RotationDial::Point{94, 50}));
    EXPECT_EQ(ticks[0].to, (RotationDial::Point{100, 50}));
    const auto marks = dial.Marks();
    EXPECT_EQ(marks[0].from, (RotationDial::Point{50, 100}));
    EXPECT_EQ(marks[0].to, (RotationDial::Point{50, 85}));
}

TEST(RotationDial, AngleEntryWrapsRound)
{
    EXPECT_EQ(RotationDial::NormalisedAngle(360), 0);
    EXPECT_EQ(RotationDial::NormalisedAngle(725), 5);
    EXPECT_EQ(RotationDial::NormalisedAngle(359), 359);
    EXPECT_EQ(RotationDial::NormalisedAngle(-90), 270);
}
