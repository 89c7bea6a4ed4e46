// SPDX-License-Identifier: GPL-2.0-or-later
// The red-eye brush's undo: one step per stroke, patches of the stroke's box only.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "enhancer/strokehistory.h"
#include "tests/enhancer/corefixture.h"

namespace
{

constexpr int W = 40, H = 30;
constexpr uint32_t Stride = DibStride(W); // 120

class StrokeHistoryTest : public ::testing::Test
{
protected:
    PackedPixels image = patternPixels(W, H);
    StrokeHistory history{W, H};

    std::vector<uint8_t> bytes() const
    {
        return std::vector<uint8_t>(image.get(), image.get() + size_t(Stride) * H);
    }
    // Paints a square of the brush's size around a point, as a dab would.
    void paint(int x, int y, int size, uint8_t value)
    {
        for (int yy = y - size / 2; yy <= y + size / 2; ++yy)
            for (int xx = x - size / 2; xx <= x + size / 2; ++xx)
                if (xx >= 0 && xx < W && yy >= 0 && yy < H)
                    std::memset(image.get() + yy * Stride + xx * 3, value, 3);
    }
    void stroke(int x, int y, int size, uint8_t value, int toX = -1000)
    {
        history.BeginStroke(image.get(), size, x, y);
        paint(x, y, size, value);
        if (toX != -1000) {
            history.Extend(toX, y);
            paint(toX, y, size, value);
        }
        history.EndStroke(image.get());
    }
};

TEST_F(StrokeHistoryTest, UndoAndRedoRestoreEachStrokeExactly)
{
    const std::vector<uint8_t> start = bytes();
    stroke(10, 10, 4, 200);
    const std::vector<uint8_t> afterFirst = bytes();
    stroke(12, 11, 6, 100, 20); // overlaps the first
    const std::vector<uint8_t> afterSecond = bytes();
    EXPECT_EQ(history.EntryCount(), 2);
    ASSERT_TRUE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());

    history.Undo(image.get());
    EXPECT_EQ(bytes(), afterFirst);
    history.Undo(image.get());
    EXPECT_EQ(bytes(), start);
    EXPECT_FALSE(history.CanUndo());
    history.Undo(image.get()); // nothing left: nothing happens
    EXPECT_EQ(bytes(), start);
    EXPECT_EQ(history.CurrentIndex(), -1);
    EXPECT_EQ(history.RedoIndex(), 0);

    history.Redo(image.get());
    EXPECT_EQ(bytes(), afterFirst);
    history.Redo(image.get());
    EXPECT_EQ(bytes(), afterSecond);
    EXPECT_FALSE(history.CanRedo());
    history.Redo(image.get());
    EXPECT_EQ(bytes(), afterSecond);
}

TEST_F(StrokeHistoryTest, ANewStrokeAfterUndosDropsTheRedoTail)
{
    const std::vector<uint8_t> start = bytes();
    stroke(5, 5, 2, 10);
    const std::vector<uint8_t> afterFirst = bytes();
    stroke(15, 15, 2, 20);
    stroke(25, 20, 2, 30);
    history.Undo(image.get());
    history.Undo(image.get());
    EXPECT_EQ(bytes(), afterFirst);
    stroke(30, 8, 2, 40);
    EXPECT_EQ(history.EntryCount(), 2); // the first stroke and the new one
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.CurrentIndex(), 1);
    EXPECT_EQ(history.RedoIndex(), -1);
    history.Undo(image.get());
    EXPECT_EQ(bytes(), afterFirst);
    history.Undo(image.get());
    EXPECT_EQ(bytes(), start);
}

TEST_F(StrokeHistoryTest, TheStrokeBoxGrowsByHalfTheBrushAndTwo)
{
    // Brush 9: r = 9 / 2 + 2 = 6.
    history.BeginStroke(image.get(), 9, 15, 12);
    history.Extend(20, 14);
    history.Extend(13, 12);
    history.EndStroke(image.get());
    const RECT rect = history.EntryRect(0);
    EXPECT_EQ(rect.left, 13 - 6);
    EXPECT_EQ(rect.top, 12 - 6);
    EXPECT_EQ(rect.right, 20 + 6);
    EXPECT_EQ(rect.bottom, 14 + 6);
}

TEST_F(StrokeHistoryTest, AStrokeAtTheBorderKeepsOnlyTheInside)
{
    const std::vector<uint8_t> start = bytes();
    stroke(1, H - 2, 10, 250, W - 1); // across the last rows, from the left border to the right
    const RECT rect = history.EntryRect(0);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, W);
    EXPECT_EQ(rect.top, H - 2 - 7);
    EXPECT_EQ(rect.bottom, H);
    const std::vector<uint8_t> painted = bytes();
    history.Undo(image.get());
    EXPECT_EQ(bytes(), start); // padding bytes included: nothing written outside the rows
    history.Redo(image.get());
    EXPECT_EQ(bytes(), painted);
}

TEST_F(StrokeHistoryTest, StrokesThatChangeNothingLeaveNoStep)
{
    history.EndStroke(image.get()); // never begun
    EXPECT_EQ(history.EntryCount(), 0);
    history.Extend(3, 3);
    EXPECT_FALSE(history.StrokeOpen());
    history.BeginStroke(image.get(), 4, -50, -50); // wholly outside the picture
    EXPECT_TRUE(history.StrokeOpen());
    history.EndStroke(image.get());
    EXPECT_FALSE(history.StrokeOpen());
    EXPECT_EQ(history.EntryCount(), 0);
    EXPECT_FALSE(history.CanUndo());
}

TEST(StrokeHistoryOddWidth, PatchesOfOddWidthsCopyWholePixels)
{
    // Width 7: rows of 21 bytes padded to 24; a patch 4 pixels wide takes 12 bytes a row.
    PackedPixels image = patternPixels(7, 5, 3);
    StrokeHistory history(7, 5);
    std::vector<uint8_t> start(image.get(), image.get() + 24 * 5);
    history.BeginStroke(image.get(), 0, 3, 2); // r = 2: pixels 1 to 4 of rows 0 to 3
    for (int y = 0; y < 4; ++y)
        std::memset(image.get() + y * 24 + 3, 0xEE, 12);
    history.EndStroke(image.get());
    history.Undo(image.get());
    EXPECT_EQ(std::vector<uint8_t>(image.get(), image.get() + 24 * 5), start);
}

} // namespace
