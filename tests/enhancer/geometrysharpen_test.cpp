// SPDX-License-Identifier: GPL-2.0-or-later
// Sharpening and softening: the sharpened copy, the blend by amount, the slider's amounts,
// the preview rectangle, stopping, and threads against a plain pass over a real photo.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "enhancer/imagerecord.h"
#include "enhancer/sharpenoperation.h"
#include "tests/enhancer/geometrytestimage.h"

namespace
{

// 5 x 3 with one byte of row padding, set to a value no neighbour should ever be taken from.
TestImage SmallImage()
{
    TestImage image(5, 3, {10, 10, 10});
    for (int x = 0; x < 5; ++x)
        image.Set(x, 2, {20, 20, 20});
    image.Set(0, 1, {50, 60, 70});
    image.Set(1, 1, {100, 100, 100});
    image.Set(2, 1, {200, 0, 30});
    image.Set(3, 1, {90, 80, 70});
    image.Set(4, 1, {40, 40, 40});
    image.PoisonPadding(0xEE);
    return image;
}

struct AmountCase {
    int amount;
    Bgr inner[3]; // pixels 1 to 3 of the middle row
};

class SharpenAmountTest : public ::testing::TestWithParam<AmountCase> {};

TestImage Sharpened(const TestImage& source, int amount)
{
    CSharpenOperation operation;
    EXPECT_TRUE(operation.Prepare(source.Header(), source.Pixels(), nullptr));
    operation.SetAmount(amount);
    uint8_t* made = nullptr;
    EXPECT_TRUE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &made, nullptr,
                                nullptr));
    TestImage result(source.Width(), source.Height());
    if (made != nullptr)
        std::copy(made, made + result.Bytes().size(), result.Pixels());
    ImageRecord::FreePacked(made);
    return result;
}

} // namespace

TEST_P(SharpenAmountTest, BlendsTheInnerPixelsOnly)
{
    const AmountCase& c = GetParam();
    const TestImage source = SmallImage();
    const TestImage result = Sharpened(source, c.amount);
    for (int x = 1; x <= 3; ++x)
        EXPECT_EQ(result.At(x, 1), c.inner[x - 1]) << "pixel " << x;
    // The outer rows and columns stay as they were; the padding never leaks in.
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(result.At(x, 0), source.At(x, 0));
        EXPECT_EQ(result.At(x, 2), source.At(x, 2));
    }
    EXPECT_EQ(result.At(0, 1), source.At(0, 1));
    EXPECT_EQ(result.At(4, 1), source.At(4, 1));
}

// Sharpened: 5c minus the left, right, upper and lower neighbours' same byte, clamped.
INSTANTIATE_TEST_SUITE_P(
    Amounts, SharpenAmountTest,
    ::testing::Values(AmountCase{0, {{100, 100, 100}, {200, 0, 30}, {90, 80, 70}}},
                      AmountCase{100, {{220, 255, 255}, {255, 0, 0}, {180, 255, 250}}},
                      AmountCase{50, {{160, 177, 177}, {227, 0, 15}, {135, 167, 160}}},
                      // Away from the sharpened values, truncated towards zero, clamped at 0.
                      AmountCase{-40, {{52, 38, 38}, {178, 0, 42}, {54, 10, 0}}},
                      AmountCase{-33, {{61, 49, 49}, {182, 0, 39}, {61, 23, 11}}}));

TEST(Sharpen, SliderPositionsGiveAmounts)
{
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(0), -40);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(50), -20);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(97), -1);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(98), 0); // -0.8 truncates to 0
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(100), 0);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(150), 50);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(200), 100);
    EXPECT_EQ(CSharpenOperation::AmountOfSlider(-5), -40);
    EXPECT_EQ(CSharpenOperation::SliderOfAmount(0), 100);
    CSharpenOperation operation;
    operation.SetAmount(-90);
    EXPECT_EQ(operation.Amount(), -40);
}

// The preview writes only the visible rectangle (rows in the buffer's order) into its copy.
TEST(Sharpen, RectangleWritesOnlyInside)
{
    const TestImage source = SmallImage();
    CSharpenOperation operation;
    ASSERT_TRUE(operation.Prepare(source.Header(), source.Pixels(), nullptr));
    operation.SetAmount(100);
    TestImage working(5, 3, {1, 2, 3});
    uint8_t* target = working.Pixels();
    const RECT inside{2, 1, 4, 2};
    ASSERT_TRUE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &target,
                                nullptr, &inside));
    EXPECT_EQ(target, working.Pixels()); // written in place
    EXPECT_EQ(working.At(2, 1), (Bgr{255, 0, 0}));
    EXPECT_EQ(working.At(3, 1), (Bgr{180, 255, 250}));
    EXPECT_EQ(working.At(1, 1), (Bgr{1, 2, 3}));
    EXPECT_EQ(working.At(4, 1), (Bgr{1, 2, 3}));
    EXPECT_EQ(working.At(2, 0), (Bgr{1, 2, 3}));
    // A rectangle reaching past the image is cut to it.
    const RECT beyond{-10, -10, 50, 50};
    ASSERT_TRUE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &target,
                                nullptr, &beyond));
    EXPECT_EQ(working.At(0, 0), source.At(0, 0));
}

TEST(Sharpen, NothingWithoutPreparationOrForAnotherSize)
{
    const TestImage source = SmallImage();
    CSharpenOperation operation;
    uint8_t* made = nullptr;
    EXPECT_FALSE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &made, nullptr,
                                 nullptr));
    ASSERT_TRUE(operation.Prepare(source.Header(), source.Pixels(), nullptr));
    const TestImage other(6, 3);
    EXPECT_FALSE(operation.Apply(other.Header(), other.Pixels(), other.Header(), &made, nullptr,
                                 nullptr));
    EXPECT_EQ(made, nullptr);
    const TestImage tiny(1, 1, {7, 8, 9});
    EXPECT_TRUE(operation.Prepare(tiny.Header(), tiny.Pixels(), nullptr));
    EXPECT_EQ(operation.Sharpened()[0], 7);
}

TEST(Sharpen, StoppedGivesNoCopyAndNoResult)
{
    const TestImage source = LabelledImage(64, 64);
    CSharpenOperation operation;
    const ProgressCallback stop = [](int) { return 1; };
    EXPECT_FALSE(operation.Prepare(source.Header(), source.Pixels(), &stop));
    EXPECT_FALSE(operation.IsPrepared());
    ASSERT_TRUE(operation.Prepare(source.Header(), source.Pixels(), nullptr));
    operation.SetAmount(60);
    uint8_t* made = nullptr;
    EXPECT_FALSE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &made, &stop,
                                 nullptr));
    EXPECT_EQ(made, nullptr);
}

// On a real photo the threaded passes equal a plain one-thread computation: the copy against
// the formula, the final pass against one-row preview rectangles.
TEST(Sharpen, ThreadsGiveTheBytesOfOnePass)
{
    const TestImage source = LoadPhoto("photos/exs-landscape_8.jpg");
    CSharpenOperation operation;
    ASSERT_TRUE(operation.Prepare(source.Header(), source.Pixels(), nullptr));
    const size_t stride = DibStride(source.Width());
    const uint8_t* in = source.Pixels();
    const uint8_t* sharp = operation.Sharpened();
    for (int y = 1; y < source.Height() - 1; ++y)
        for (size_t b = 3; b < size_t(source.Width() - 1) * 3; ++b) {
            const size_t i = size_t(y) * stride + b;
            const int value = 5 * in[i] - in[i - 3] - in[i + 3] - in[i - stride] - in[i + stride];
            ASSERT_EQ(sharp[i], std::clamp(value, 0, 255)) << "row " << y << " byte " << b;
        }
    operation.SetAmount(-27);
    uint8_t* made = nullptr;
    ASSERT_TRUE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &made, nullptr,
                                nullptr));
    TestImage rowByRow(source.Width(), source.Height());
    uint8_t* target = rowByRow.Pixels();
    for (int y = 0; y < source.Height(); ++y) {
        const RECT row{0, y, source.Width(), y + 1};
        ASSERT_TRUE(operation.Apply(source.Header(), source.Pixels(), source.Header(), &target,
                                    nullptr, &row));
    }
    for (int y = 0; y < source.Height(); ++y)
        ASSERT_TRUE(std::equal(target + y * stride, target + y * stride + source.Width() * 3,
                               made + y * stride))
            << "row " << y;
    ImageRecord::FreePacked(made);
}
