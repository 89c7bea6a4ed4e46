// SPDX-License-Identifier: GPL-2.0-or-later
// The dialogs' preview: fit zoom, zoom steps, the centre kept while zooming, the image window
// and the visible part of the picture.
#include "enhancer/previewzoom.h"

#include <gtest/gtest.h>

namespace
{

struct FitCase {
    const char* what;
    int areaWidth, areaHeight, imageWidth, imageHeight;
    double expected;
};

class FitZoomTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitZoomTest, WholePictureFits)
{
    const FitCase& t = GetParam();
    PreviewZoom zoom;
    zoom.SetLayout(t.areaWidth, t.areaHeight, t.imageWidth, t.imageHeight);
    EXPECT_DOUBLE_EQ(zoom.FitZoom(), t.expected) << t.what;
    EXPECT_DOUBLE_EQ(zoom.Zoom(), t.expected) << t.what;
    EXPECT_FALSE(zoom.CanZoomOut()) << t.what;
    const PreviewZoom::Rect window = zoom.ImageWindow();
    EXPECT_LE(window.width, t.areaWidth) << t.what;
    EXPECT_LE(window.height, t.areaHeight) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FitZoomTest,
    ::testing::Values(FitCase{"landscape by its width", 300, 240, 400, 300, 0.75},
                      FitCase{"portrait by its height", 300, 240, 300, 400, 0.6},
                      FitCase{"square by its height", 300, 240, 480, 480, 0.5},
                      FitCase{"nearly square landscape by its height", 300, 240, 400, 390,
                              240.0 / 390},
                      FitCase{"small picture enlarged", 300, 240, 30, 20, 10.0}));

struct StepCase {
    const char* what;
    double step, fit, from;
    bool zoomIn;
    double expected;
};

class ZoomStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(ZoomStepTest, StepsFromZoom)
{
    const StepCase& t = GetParam();
    PreviewZoom zoom(t.step);
    // An area that makes the fit zoom t.fit for a 1000 x 1000 picture.
    zoom.SetLayout(int(t.fit * 1000), int(t.fit * 1000), 1000, 1000);
    ASSERT_DOUBLE_EQ(zoom.FitZoom(), t.fit);
    if (t.from != t.fit)
        zoom.ZoomTo(t.from);
    if (t.zoomIn)
        zoom.ZoomIn();
    else
        zoom.ZoomOut();
    EXPECT_NEAR(zoom.Zoom(), t.expected, 1e-12) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ZoomStepTest,
    ::testing::Values(StepCase{"doubles below two steps", 0.25, 0.2, 0.2, true, 0.4},
                      StepCase{"doubles just below two steps", 0.25, 0.2, 0.45, true, 0.9},
                      StepCase{"from the fit to the next whole step", 0.25, 0.6, 0.6, true,
                               0.75},
                      StepCase{"adds a step away from the fit", 0.25, 0.6, 0.7, true, 0.95},
                      StepCase{"red-eye step", 0.5, 0.8, 0.8, true, 1.6},
                      StepCase{"red-eye step above two steps", 0.5, 0.8, 1.6, true, 2.1},
                      StepCase{"no upper limit", 0.25, 0.5, 40.0, true, 40.25},
                      StepCase{"one step above the fit gives the fit", 0.5, 0.35, 0.85, false,
                               0.35},
                      StepCase{"takes a step off", 0.25, 0.6, 1.0, false, 0.75},
                      StepCase{"never below the fit", 0.25, 0.6, 0.7, false, 0.6}));

TEST(PreviewZoomTest, ZoomingKeepsTheCentreInPlace)
{
    PreviewZoom zoom;
    zoom.SetLayout(300, 240, 300, 240); // fit 1
    zoom.ZoomIn();                      // 1.25
    EXPECT_DOUBLE_EQ(zoom.LastFactor(), 1.25);
    EXPECT_DOUBLE_EQ(zoom.ScrollX(), 37.5);
    EXPECT_DOUBLE_EQ(zoom.ScrollY(), 30);
    EXPECT_EQ(zoom.ScalePercent(), 125);
    EXPECT_TRUE(zoom.CanZoomOut());
    EXPECT_TRUE(zoom.CanPan());
    zoom.ZoomOut();
    EXPECT_NEAR(zoom.ScrollX(), 0, 1e-9);
    EXPECT_NEAR(zoom.ScrollY(), 0, 1e-9);
    EXPECT_FALSE(zoom.CanPan());
}

TEST(PreviewZoomTest, ImageWindowFollowsTheScaledPictureUntilItFillsTheArea)
{
    PreviewZoom zoom;
    zoom.SetLayout(300, 240, 400, 300); // fit 0.75: 300 x 225
    EXPECT_EQ(zoom.ImageWindow(), (PreviewZoom::Rect{0, 7, 300, 225}));
    zoom.ZoomTo(0.5); // smaller both ways: the scaled picture, centred
    EXPECT_EQ(zoom.ImageWindow(), (PreviewZoom::Rect{50, 45, 200, 150}));
    zoom.ZoomTo(3); // larger: the area's width, the picture's proportion
    EXPECT_EQ(zoom.ImageWindow(), (PreviewZoom::Rect{0, 7, 300, 225}));

    zoom.SetLayout(300, 240, 300, 600); // portrait: the area's height
    zoom.ZoomTo(2);
    EXPECT_EQ(zoom.ImageWindow(), (PreviewZoom::Rect{90, 0, 120, 240}));
}

TEST(PreviewZoomTest, VisiblePartIsCountedFromTheBottomAndStaysInside)
{
    PreviewZoom zoom;
    zoom.SetLayout(300, 240, 400, 300); // window 300 x 225 at fit
    EXPECT_EQ(zoom.VisibleSource(), (PreviewZoom::Rect{0, 0, 400, 300}));
    zoom.ZoomTo(1.5); // window 300 x 225 shows 200 x 150 pixels
    zoom.Pan(-1000, -1000);
    EXPECT_EQ(zoom.VisibleSource(), (PreviewZoom::Rect{0, 150, 200, 150}));
    EXPECT_EQ(zoom.ScrollX(), 0);
    zoom.Pan(75, 30); // 50 pixels right, 20 down
    EXPECT_EQ(zoom.VisibleSource(), (PreviewZoom::Rect{50, 130, 200, 150}));
    zoom.Pan(5000, 5000); // pulled back to the right and bottom edges
    EXPECT_EQ(zoom.VisibleSource(), (PreviewZoom::Rect{200, 0, 200, 150}));
    EXPECT_DOUBLE_EQ(zoom.ScrollX(), 300);
}

TEST(PreviewZoomTest, FarZoomStillShowsOnePixel)
{
    PreviewZoom zoom(PreviewZoom::RedEyeStep);
    zoom.SetLayout(300, 240, 400, 300);
    zoom.ZoomTo(1000);
    const PreviewZoom::Rect visible = zoom.VisibleSource();
    EXPECT_EQ(visible.width, 1);
    EXPECT_EQ(visible.height, 1);
    EXPECT_GE(visible.left, 0);
    EXPECT_LT(visible.left, 400);
}

TEST(PreviewZoomTest, EmptyPictureOrAreaGivesNoDivisionByZero)
{
    PreviewZoom zoom;
    zoom.SetLayout(0, 0, 0, 0);
    EXPECT_GT(zoom.FitZoom(), 0);
    zoom.ZoomIn();
    zoom.ZoomOut();
    const PreviewZoom::Rect visible = zoom.VisibleSource();
    EXPECT_EQ(visible.width, 1);
    EXPECT_EQ(visible.height, 1);
}

} // namespace
