// SPDX-License-Identifier: GPL-2.0-or-later
// The resize dialog's arithmetic and limits, and the resize itself through the transform.
#include <gtest/gtest.h>

#include <algorithm>

#include "enhancer/affinetransform.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/resizemath.h"
#include "tests/enhancer/geometrytestimage.h"

namespace
{

Bgr Pattern(int x, int y)
{
    return {uint8_t(x % 256), uint8_t(y % 256), uint8_t((x * y) % 256)};
}

// The mean of the box of source pixels [x0, x1] x [y0, y1], channel by channel, rounded down.
Bgr BoxMean(int x0, int x1, int y0, int y1)
{
    unsigned sum[3] = {0, 0, 0};
    unsigned count = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x, ++count) {
            const Bgr p = Pattern(x, y);
            sum[0] += p.b;
            sum[1] += p.g;
            sum[2] += p.r;
        }
    return {uint8_t(sum[0] / count), uint8_t(sum[1] / count), uint8_t(sum[2] / count)};
}

} // namespace

TEST(ResizeMath, HalfOfThousandByEightHundredInPercent)
{
    ResizeMath resize;
    EXPECT_EQ(resize.Start(1000, 800), 0);
    EXPECT_EQ(resize.NewWidth(), 1000);
    EXPECT_EQ(resize.NewHeight(), 800);
    resize.EditWidth(50);
    EXPECT_EQ(resize.HeightEntry(), 50); // locked: the same percent
    EXPECT_EQ(resize.NewWidth(), 500);
    EXPECT_EQ(resize.NewHeight(), 400);
    const ResizeMath::Label width = resize.WidthLabel();
    EXPECT_EQ(width.text, ResizeMath::PercentLabelText);
    EXPECT_EQ(ResizeMath::FormatLabel("%%   (%d pixels)", width.number), "%   (500 pixels)");
    EXPECT_EQ(ResizeMath::FormatLabel("%%   (%d pixels)", resize.HeightLabel().number),
              "%   (400 pixels)");
    EXPECT_EQ(resize.CheckAccept(), 0);
}

// The labels and refusals are the editor's own texts.
TEST(ResizeMath, TextsFromTheEditorsStringTable)
{
    ResizeMath resize;
    resize.Start(1000, 800);
    resize.EditWidth(50);
    const ResizeMath::Label percent = resize.WidthLabel();
    EXPECT_EQ(ResizeMath::FormatLabel(loadLumivexString(percent.text).toStdString(), percent.number),
              "%   (500 pixels)");
    resize.SetMode(ResizeMath::Pixels);
    resize.EditWidth(250);
    const ResizeMath::Label pixels = resize.HeightLabel();
    EXPECT_EQ(ResizeMath::FormatLabel(loadLumivexString(pixels.text).toStdString(), pixels.number),
              "pixels (25%)");
    EXPECT_EQ(loadLumivexString(ResizeMath::WrongInitialSizeText), "Wrong initial size.");
    EXPECT_EQ(loadLumivexString(ResizeMath::TooLargeText), "Image too large.");
    EXPECT_EQ(loadLumivexString(ResizeMath::UndefinedSizeText), "Size of image undefined.");
    // The sharpen dialog's amount label is formatted the same way.
    EXPECT_EQ(ResizeMath::FormatLabel(loadLumivexString(196).toStdString(), -40), "Amount -40%");
}

TEST(ResizeMath, PixelModeKeepsTheAspectAndShowsPercent)
{
    ResizeMath resize;
    resize.Start(1000, 800);
    resize.SetMode(ResizeMath::Pixels);
    // Back to pixels starts from the image's own size.
    EXPECT_EQ(resize.WidthEntry(), 1000);
    EXPECT_EQ(resize.HeightEntry(), 800);
    resize.EditHeight(200);
    EXPECT_EQ(resize.WidthEntry(), 250);
    EXPECT_EQ(resize.NewWidth(), 250);
    const ResizeMath::Label label = resize.WidthLabel();
    EXPECT_EQ(label.text, ResizeMath::PixelsLabelText);
    EXPECT_EQ(label.number, 25);
    EXPECT_EQ(ResizeMath::FormatLabel("pixels (%d%%)", label.number), "pixels (25%)");
    // Unlocked, the other entry stays.
    resize.SetLockAspect(false);
    resize.EditWidth(333);
    EXPECT_EQ(resize.HeightEntry(), 200);
}

TEST(ResizeMath, SwitchingModesResetsOrConvertsTheEntries)
{
    ResizeMath resize;
    resize.Start(1000, 800);
    resize.EditWidth(50); // 500 x 400
    resize.SetMode(ResizeMath::Pixels);
    // To pixels: the entries are the current size, not the computed 500 x 400.
    EXPECT_EQ(resize.WidthEntry(), 1000);
    EXPECT_EQ(resize.NewWidth(), 1000);
    resize.EditWidth(300); // 300 x 240
    resize.SetMode(ResizeMath::Percent);
    EXPECT_EQ(resize.WidthEntry(), 30);
    EXPECT_EQ(resize.HeightEntry(), 30);
    EXPECT_EQ(resize.NewHeight(), 240);
}

TEST(ResizeMath, LimitsOnOk)
{
    ResizeMath resize;
    resize.Start(1000, 800);
    resize.SetMode(ResizeMath::Pixels);
    resize.SetLockAspect(false);
    resize.EditWidth(12000);
    resize.EditHeight(9000);
    EXPECT_EQ(resize.CheckAccept(), ResizeMath::TooLargeText);
    resize.EditWidth(10000);
    resize.EditHeight(10000); // exactly 100 million pixels is still allowed
    EXPECT_EQ(resize.CheckAccept(), 0);
    resize.EditHeight(0);
    EXPECT_EQ(resize.CheckAccept(), ResizeMath::UndefinedSizeText);
    // Entries too long for 32 bits neither wrap round into an accepted size nor crash.
    resize.EditWidth(99'999'999'999);
    resize.EditHeight(99'999'999'999);
    EXPECT_EQ(resize.CheckAccept(), ResizeMath::TooLargeText);
}

TEST(ResizeMath, EmptyImageSaysWrongInitialSize)
{
    ResizeMath resize;
    EXPECT_EQ(resize.Start(0, 480), ResizeMath::WrongInitialSizeText);
    resize.SetMode(ResizeMath::Pixels);
    EXPECT_EQ(resize.WidthLabel().number, 0); // no division by zero
    EXPECT_EQ(ResizeMath().Start(640, 480), 0);
}

// 50 % averages the 3 x 3 source pixels from 2t to 2t + 2 (neighbours share a row and a
// column); at the far edges only the pixels that exist count.
TEST(Resize, HalfSizeAveragesThreeByThreeBoxes)
{
    TestImage source(1000, 800);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1000; ++x)
            source.Set(x, y, Pattern(x, y));
    const AffineTransform transform(source.Header(), source.Pixels(),
                                    ScaleMatrix(500, 400, 1000, 800));
    ASSERT_TRUE(transform.UsesBoxAverage());
    const PackedImage packed = transform.Run(nullptr);
    ASSERT_TRUE(packed);
    const TestImage result(packed);
    ASSERT_EQ(result.Width(), 500);
    ASSERT_EQ(result.Height(), 400);
    for (const auto& [t, l] : {std::pair{0, 0}, {10, 20}, {123, 321}, {250, 0}}) {
        const int x = 2 * t, y = 2 * l;
        EXPECT_EQ(result.At(t, l), BoxMean(x, x + 2, y, y + 2)) << t << "," << l;
    }
    EXPECT_EQ(result.At(499, 399), BoxMean(998, 999, 798, 799));
    EXPECT_EQ(result.At(499, 7), BoxMean(998, 999, 14, 16));
}

// A shrunk or enlarged picture keeps its own edges: no white line on any side.
TEST(Resize, NoWhiteEdge)
{
    const Bgr dark{10, 20, 30};
    const TestImage source(90, 60, dark);
    for (const TransformMatrix& matrix :
         {ScaleMatrix(45, 30, 90, 60), ScaleMatrix(30, 20, 90, 60), ScaleMatrix(135, 90, 90, 60),
          ScaleMatrix(89, 61, 90, 60)}) {
        const PackedImage packed = TransformImage(source.Header(), source.Pixels(), matrix, nullptr);
        ASSERT_TRUE(packed);
        const TestImage result(packed);
        // Box averages keep the colour exactly; the bilinear blend truncates each weighted
        // part, which may lose a level or two, but nothing fades towards white.
        for (int y = 0; y < result.Height(); ++y)
            for (int x = 0; x < result.Width(); ++x) {
                const Bgr p = result.At(x, y);
                ASSERT_TRUE(p.b <= dark.b && p.b + 2 >= dark.b && p.g <= dark.g &&
                            p.g + 2 >= dark.g && p.r <= dark.r && p.r + 2 >= dark.r)
                    << x << "," << y << " of " << result.Width();
            }
    }
}

TEST(Resize, ScaleChoosesTheSampling)
{
    const TestImage source(100, 100);
    EXPECT_TRUE(AffineTransform(source.Header(), source.Pixels(), ScaleMatrix(70, 70, 100, 100))
                    .UsesBoxAverage());
    EXPECT_FALSE(AffineTransform(source.Header(), source.Pixels(), ScaleMatrix(71, 71, 100, 100))
                     .UsesBoxAverage());
    const AffineTransform odd(source.Header(), source.Pixels(), ScaleMatrix(33, 33, 100, 100));
    EXPECT_EQ(odd.ResultWidth(), 33);
    EXPECT_EQ(odd.ResultHeight(), 33);
}
