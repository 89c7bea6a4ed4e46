// SPDX-License-Identifier: GPL-2.0-or-later
// The affine transform, the fixed turns and flips, and resizing: exact bytes on small crafted
// images, real photos against libvips' own turns, one thread against many.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enhancer/affinetransform.h"
#include "enhancer/fixedturns.h"
#include "tests/enhancer/geometrytestimage.h"

namespace
{

const Bgr White{255, 255, 255};

TestImage Transformed(const TestImage& source, const TransformMatrix& matrix)
{
    const PackedImage result = TransformImage(source.Header(), source.Pixels(), matrix, nullptr);
    EXPECT_TRUE(result);
    return result ? TestImage(result) : TestImage(1, 1);
}

TestImage Turned(const TestImage& source, FixedTurn turn)
{
    return Transformed(source, MatrixOf(turn));
}

// Where each result pixel of a 4 x 2 image comes from, as (source x, source y).
struct TurnCase {
    FixedTurn turn;
    int width, height;
    std::vector<std::vector<std::pair<int, int>>> fromRows; // result rows from the bottom
};

class FixedTurnTest : public ::testing::TestWithParam<TurnCase> {};

} // namespace

// Quarter turns and flips are exact permutations: every source pixel lands once, no white
// edge, nothing blended.
TEST_P(FixedTurnTest, MovesWholePixels)
{
    const TurnCase& c = GetParam();
    const TestImage source = LabelledImage(4, 2);
    const TestImage result = Turned(source, c.turn);
    ASSERT_EQ(result.Width(), c.width);
    ASSERT_EQ(result.Height(), c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const auto [sx, sy] = c.fromRows[size_t(y)][size_t(x)];
            EXPECT_EQ(result.At(x, y), Label(sx, sy)) << "result pixel " << x << "," << y;
        }
}

// The 4 x 2 source shown top-down is  E F G H / A B C D  with A = (0,0) at the bottom left.
INSTANTIATE_TEST_SUITE_P(
    FourByTwo, FixedTurnTest,
    ::testing::Values(
        // Clockwise: shown  A E / B F / C G / D H, so the bottom row is D H.
        TurnCase{FixedTurn::Rotate90, 2, 4,
                 {{{3, 0}, {3, 1}}, {{2, 0}, {2, 1}}, {{1, 0}, {1, 1}}, {{0, 0}, {0, 1}}}},
        TurnCase{FixedTurn::Rotate270, 2, 4,
                 {{{0, 1}, {0, 0}}, {{1, 1}, {1, 0}}, {{2, 1}, {2, 0}}, {{3, 1}, {3, 0}}}},
        TurnCase{FixedTurn::Rotate180, 4, 2,
                 {{{3, 1}, {2, 1}, {1, 1}, {0, 1}}, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}}},
        TurnCase{FixedTurn::FlipHorizontal, 4, 2,
                 {{{3, 0}, {2, 0}, {1, 0}, {0, 0}}, {{3, 1}, {2, 1}, {1, 1}, {0, 1}}}},
        TurnCase{FixedTurn::FlipVertical, 4, 2,
                 {{{0, 1}, {1, 1}, {2, 1}, {3, 1}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}}}));

// Sampled at pixel centres, the flip of A B C is C B A: no white first pixel, and C is used.
TEST(FixedTurns, FlipOfThreePixelsIsTheirMirror)
{
    TestImage source(3, 1);
    const Bgr a{1, 2, 3}, b{4, 5, 6}, c{7, 8, 9};
    source.Set(0, 0, a);
    source.Set(1, 0, b);
    source.Set(2, 0, c);
    const TestImage result = Turned(source, FixedTurn::FlipHorizontal);
    ASSERT_EQ(result.Width(), 3);
    EXPECT_EQ(result.At(0, 0), c);
    EXPECT_EQ(result.At(1, 0), b);
    EXPECT_EQ(result.At(2, 0), a);
}

TEST(FixedTurns, CommandsAndTheirAngles)
{
    EXPECT_EQ(FixedTurnOfCommand(32777), FixedTurn::Rotate90);
    EXPECT_EQ(FixedTurnOfCommand(32779), FixedTurn::Rotate270);
    EXPECT_EQ(FixedTurnOfCommand(32781), FixedTurn::Rotate180);
    EXPECT_EQ(FixedTurnOfCommand(32783), FixedTurn::FlipHorizontal);
    EXPECT_EQ(FixedTurnOfCommand(32784), FixedTurn::FlipVertical);
    EXPECT_FALSE(FixedTurnOfCommand(32782)); // the custom angle opens its dialog instead
    const TransformMatrix turn = MatrixOf(FixedTurn::Rotate90);
    EXPECT_EQ(turn.m00, 0.0);
    EXPECT_EQ(turn.m01, 1.0);
    EXPECT_EQ(turn.m10, -1.0);
    EXPECT_EQ(turn.m11, 0.0);
    // The custom angle 90 is the same exact matrix, not cos(pi/2)'s rounding noise.
    const TransformMatrix custom = RotationMatrix(450, false, false);
    EXPECT_EQ(custom.m00, 0.0);
    EXPECT_EQ(custom.m01, 1.0);
}

// A turned real photo (with row padding: 450 x 3 is no multiple of 4) equals libvips' own
// turn byte for byte.
TEST(FixedTurns, RealPhotoMatchesLibvips)
{
    const std::string photo = "photos/exs-landscape_8.jpg";
    const TestImage source = LoadPhoto(photo);
    ASSERT_EQ(source.Width(), 450);
    const std::pair<FixedTurn, VipsTurn> turns[] = {
        {FixedTurn::Rotate90, VipsTurn::Rotate90},
        {FixedTurn::Rotate180, VipsTurn::Rotate180},
        {FixedTurn::Rotate270, VipsTurn::Rotate270},
        {FixedTurn::FlipHorizontal, VipsTurn::FlipHorizontal},
        {FixedTurn::FlipVertical, VipsTurn::FlipVertical},
    };
    for (const auto& [ours, theirs] : turns) {
        const TestImage expected = LoadPhotoTurnedByVips(photo, theirs);
        const TestImage result = Turned(source, ours);
        ASSERT_EQ(result.Width(), expected.Width());
        ASSERT_EQ(result.Height(), expected.Height());
        EXPECT_TRUE(result.PixelBytes() == expected.PixelBytes()) << "turn " << int(ours);
    }
}

TEST(AffineTransform, FortyFiveDegreesBoundingBoxWithWhiteCorners)
{
    const Bgr grey{100, 150, 200};
    const TestImage source(40, 20, grey);
    const TestImage result = Transformed(source, RotationMatrix(45, false, false));
    const int expected = int(std::ceil(40 * std::cos(M_PI / 4) + 20 * std::sin(M_PI / 4)));
    EXPECT_EQ(result.Width(), expected);
    EXPECT_EQ(result.Height(), expected);
    EXPECT_EQ(result.At(0, 0), White);
    EXPECT_EQ(result.At(expected - 1, 0), White);
    EXPECT_EQ(result.At(0, expected - 1), White);
    EXPECT_EQ(result.At(expected - 1, expected - 1), White);
    // Inside, the grey survives the blend; each truncated product can lose at most one level.
    const Bgr middle = result.At(expected / 2, expected / 2);
    EXPECT_NEAR(middle.b, grey.b, 2);
    EXPECT_NEAR(middle.g, grey.g, 2);
    EXPECT_NEAR(middle.r, grey.r, 2);
}

// The blend truncates every weighted channel before adding, as the editor always has.
TEST(AffineTransform, BilinearTruncatesEachWeightedChannel)
{
    TestImage source(2, 1);
    source.Set(0, 0, {100, 0, 255});
    source.Set(1, 0, {200, 255, 0});
    // Twice the size: result pixel 1's centre (1.5) maps to source 0.75 - 0.5 = 0.25.
    const TestImage result = Transformed(source, ScaleMatrix(4, 1, 2, 1));
    ASSERT_EQ(result.Width(), 4);
    // top = trunc(200 x 0.25) + trunc(100 x 0.75) = 50 + 75; green trunc(63.75) + 0 = 63.
    EXPECT_EQ(result.At(1, 0), (Bgr{125, 63, 191}));
    // The outer result pixels take the border pixels, not white.
    EXPECT_EQ(result.At(0, 0), (Bgr{100, 0, 255}));
    EXPECT_EQ(result.At(3, 0), (Bgr{200, 255, 0}));
}

TEST(AffineTransform, SingularOrEmptyGivesNoResult)
{
    const TestImage source = LabelledImage(4, 2);
    const TransformMatrix flat{1.0, 2.0, 0.5, 1.0}; // the rows are multiples of each other
    EXPECT_FALSE(AffineTransform(source.Header(), source.Pixels(), flat).IsValid());
    EXPECT_FALSE(TransformImage(source.Header(), source.Pixels(), flat, nullptr));
    const TransformMatrix tiny{0.00005, 0.0, 0.0, 1.0}; // pivot below 0.0001
    EXPECT_FALSE(TransformImage(source.Header(), source.Pixels(), tiny, nullptr));
    EXPECT_FALSE(TransformImage(source.Header(), nullptr, RotationMatrix(90, false, false), nullptr));
    const TestImage empty(0, 0);
    EXPECT_FALSE(TransformImage(empty.Header(), empty.Pixels(), TransformMatrix{}, nullptr));
}

TEST(AffineTransform, StoppedThroughProgressGivesNoResult)
{
    const TestImage source = LabelledImage(64, 64);
    for (const TransformMatrix& matrix :
         {RotationMatrix(17, false, false), ScaleMatrix(16, 16, 64, 64)}) {
        int calls = 0;
        const ProgressCallback stop = [&calls](int) { ++calls; return -1; };
        EXPECT_FALSE(TransformImage(source.Header(), source.Pixels(), matrix, &stop));
        EXPECT_GE(calls, 1);
    }
    std::vector<int> seen;
    const ProgressCallback record = [&seen](int percent) { seen.push_back(percent); return 0; };
    EXPECT_TRUE(TransformImage(source.Header(), source.Pixels(), RotationMatrix(17, false, false),
                               &record));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
}

// Rows spread over threads give the same bytes as one pass over all rows.
TEST(AffineTransform, ManyThreadsGiveTheBytesOfOne)
{
    const TestImage source = LoadPhoto("photos/exs-DSCN0010.jpg");
    for (const TransformMatrix& matrix :
         {RotationMatrix(17, true, false), ScaleMatrix(960, 720, 640, 480),
          ScaleMatrix(213, 160, 640, 480)}) {
        const AffineTransform transform(source.Header(), source.Pixels(), matrix);
        ASSERT_TRUE(transform.IsValid());
        const PackedImage threaded = transform.Run(nullptr);
        ASSERT_TRUE(threaded);
        TestImage single(transform.ResultWidth(), transform.ResultHeight());
        transform.RenderRows(single.Pixels(), 0, transform.ResultHeight());
        EXPECT_TRUE(TestImage(threaded).PixelBytes() == single.PixelBytes());
    }
}

TEST(AffineTransform, ResultKeepsTheSourceHeaderFields)
{
    TestImage source = LabelledImage(5, 3);
    BITMAPINFOHEADER header = source.Header();
    header.biXPelsPerMeter = 3780;
    header.biYPelsPerMeter = 2835;
    const PackedImage result = TransformImage(header, source.Pixels(),
                                              RotationMatrix(90, false, false), nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result.header.biWidth, 3);
    EXPECT_EQ(result.header.biHeight, 5);
    EXPECT_EQ(result.header.biXPelsPerMeter, 3780);
    EXPECT_EQ(result.header.biYPelsPerMeter, 2835);
    EXPECT_EQ(result.header.biBitCount, 24);
    EXPECT_EQ(result.header.biSizeImage, DibStride(3) * 5);
    // Row padding is written, not left as whatever memory held.
    const uint8_t* row = result.pixels.get();
    EXPECT_EQ(row[9], 0);
    EXPECT_EQ(row[10], 0);
    EXPECT_EQ(row[11], 0);
}
