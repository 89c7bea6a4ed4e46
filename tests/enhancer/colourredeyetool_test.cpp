// SPDX-License-Identifier: GPL-2.0-or-later
// The red-eye control's behaviour without the control: modes, strokes laid on the working
// picture and undone, colour picking, toolbar states and cursors.
#include "enhancer/redeyetool.h"

#include <gtest/gtest.h>

#include <vector>

#include "enhancer/previewzoom.h"
#include "tests/enhancer/colourpicture.h"

namespace
{

using Cursor = RedEyeTool::Cursor;
using Redraw = RedEyeTool::Redraw;

// A 60 x 60 picture of pure red shown at zoom 1 in a window of its size.
class RedEyeToolTest : public ::testing::Test
{
protected:
    RedEyeToolTest()
    {
        view.windowWidth = view.windowHeight = view.imageHeight = 60;
        tool.brush.sharpness = 100;
    }

    bool Untouched() const { return picture.bytes == original.bytes; }

    ColourPicture picture{60, 60, {0, 0, 255}};
    const ColourPicture original = picture;
    RedEyeTool tool{picture.header, picture.Pixels()};
    BrushView view;
};

TEST_F(RedEyeToolTest, StartsDraggingWithNothingToUndo)
{
    const RedEyeTool::Buttons buttons = tool.ButtonStates();
    EXPECT_TRUE(buttons.brushEnabled);
    EXPECT_FALSE(buttons.brushPressed);
    EXPECT_TRUE(buttons.dragEnabled);
    EXPECT_TRUE(buttons.dragPressed);
    EXPECT_FALSE(buttons.undoEnabled);
    EXPECT_FALSE(buttons.redoEnabled);
    EXPECT_FALSE(buttons.pickEnabled);
    EXPECT_FALSE(buttons.paletteEnabled);
    EXPECT_EQ(tool.CursorOverImage(false, false), Cursor::Arrow);
    EXPECT_EQ(tool.CursorOverImage(true, false), Cursor::OpenHand);
    EXPECT_EQ(tool.CursorOverImage(true, true), Cursor::ClosedHand);
    EXPECT_EQ(tool.ButtonDown(view, 30, 30), Redraw::None);
    EXPECT_TRUE(Untouched());
    EXPECT_FALSE(tool.UndoStroke());
}

TEST_F(RedEyeToolTest, StrokeIsLaidAndUndoneAndRedone)
{
    tool.SetBrushMode(true);
    EXPECT_TRUE(tool.ButtonStates().brushPressed);
    EXPECT_EQ(tool.CursorOverImage(true, false), Cursor::Brush);
    EXPECT_EQ(tool.ButtonDown(view, 30, 30), Redraw::Outline);
    EXPECT_EQ(picture.At(29, 29), (Bgr{0, 0, 0})); // window (30, 30) is image (29, 29)
    EXPECT_EQ(tool.MouseMove(view, 35, 30, true), Redraw::Full);
    EXPECT_EQ(picture.At(43, 29), (Bgr{0, 0, 0})); // reached by the second dab only
    EXPECT_EQ(tool.ButtonUp(), Redraw::Full);
    const std::vector<uint8_t> painted = picture.bytes;
    EXPECT_FALSE(Untouched());

    ASSERT_TRUE(tool.ButtonStates().undoEnabled);
    EXPECT_TRUE(tool.UndoStroke());
    EXPECT_TRUE(Untouched());
    ASSERT_TRUE(tool.ButtonStates().redoEnabled);
    EXPECT_TRUE(tool.RedoStroke());
    EXPECT_EQ(picture.bytes, painted);
    EXPECT_FALSE(tool.RedoStroke());
}

TEST_F(RedEyeToolTest, MovesNearTheWindowEdgeOnlyMoveTheOutline)
{
    tool.SetBrushMode(true);
    tool.ButtonDown(view, 30, 30);
    const std::vector<uint8_t> firstDab = picture.bytes;
    EXPECT_EQ(tool.MouseMove(view, 15, 30, true), Redraw::Outline); // reach 20 crosses the edge
    EXPECT_EQ(picture.bytes, firstDab);
    EXPECT_EQ(tool.BrushX(), 15);
    EXPECT_EQ(tool.MouseMove(view, 35, 30, false), Redraw::Outline); // button not held
    EXPECT_EQ(picture.bytes, firstDab);
    EXPECT_EQ(tool.MouseMove(view, 70, 30, true), Redraw::None); // left the window
    EXPECT_EQ(tool.BrushX(), 35);
    tool.ButtonUp();
}

TEST_F(RedEyeToolTest, SpaceHeldDragsInsteadOfPainting)
{
    tool.SetBrushMode(true);
    tool.SetTemporaryDrag(true);
    EXPECT_FALSE(tool.Painting());
    EXPECT_FALSE(tool.ButtonStates().brushPressed);
    EXPECT_TRUE(tool.ButtonStates().dragPressed);
    EXPECT_EQ(tool.CursorOverImage(false, false), Cursor::OpenHand);
    EXPECT_EQ(tool.ButtonDown(view, 30, 30), Redraw::None);
    EXPECT_TRUE(Untouched());
    tool.SetTemporaryDrag(false);
    EXPECT_TRUE(tool.Painting());
}

TEST_F(RedEyeToolTest, PickingTakesTheShownColourAndEnds)
{
    tool.StartPicking(); // only with the custom colour
    EXPECT_FALSE(tool.Picking());
    tool.SetCustomMode(true);
    EXPECT_TRUE(tool.ButtonStates().pickEnabled);
    tool.SetBrushMode(true);
    tool.StartPicking();
    const RedEyeTool::Buttons buttons = tool.ButtonStates();
    EXPECT_TRUE(buttons.pickPressed);
    EXPECT_FALSE(buttons.brushEnabled);
    EXPECT_FALSE(buttons.dragEnabled);
    EXPECT_EQ(tool.CursorOverImage(true, false), Cursor::Picker);
    EXPECT_EQ(tool.ButtonDown(view, 30, 30), Redraw::None);
    EXPECT_TRUE(Untouched());

    ColourPicture shown(4, 4, {30, 20, 10});
    EXPECT_FALSE(tool.PickFrom(shown.header, shown.Pixels(), 9, 1)); // missed the picture
    EXPECT_TRUE(tool.Picking());
    EXPECT_TRUE(tool.PickFrom(shown.header, shown.Pixels(), 1, 1));
    EXPECT_FALSE(tool.Picking());
    EXPECT_EQ(tool.brush.customColour, 0x1E140Au);
    EXPECT_TRUE(tool.Painting());
}

TEST_F(RedEyeToolTest, CustomColourStrokePaintsAllChannels)
{
    tool.SetCustomMode(true);
    tool.brush.customColour = 0x326496; // red 150, green 100, blue 50
    picture = ColourPicture(60, 60, {20, 30, 240});
    RedEyeTool custom{picture.header, picture.Pixels()};
    custom.brush = tool.brush;
    custom.SetBrushMode(true);
    custom.ButtonDown(view, 30, 30);
    custom.ButtonUp();
    // s = 50, m = 150: the colour at a third of its brightness.
    EXPECT_EQ(picture.At(29, 29), (Bgr{16, 33, 50}));
}

TEST(BrushViewOfPreviewTest, TakesZoomScrollAndWindowFromThePreview)
{
    PreviewZoom preview;
    preview.SetLayout(300, 240, 400, 300);
    preview.ZoomTo(1.5);
    preview.Pan(10, 20);
    preview.VisibleSource();
    const BrushView view = BrushView::Of(preview);
    EXPECT_EQ(view.zoom, 1.5);
    EXPECT_EQ(view.scrollX, preview.ScrollX());
    EXPECT_EQ(view.scrollY, preview.ScrollY());
    EXPECT_EQ(view.windowWidth, 300);
    EXPECT_EQ(view.windowHeight, 225);
    EXPECT_EQ(view.imageHeight, 300);
}

} // namespace
