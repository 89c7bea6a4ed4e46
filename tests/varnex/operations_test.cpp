// SPDX-License-Identifier: GPL-2.0-or-later
// The pixel operations through the plain image interface, checked on the pictures written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/varnex/pictures.h"

namespace {

const Rgb R{255, 0, 0}, G{0, 255, 0}, B{0, 0, 255}, W{255, 255, 255};

// A quadrants picture (red, green / blue, white) opened through the interface.
struct QuadrantsTest : ::testing::Test {
    void SetUp() override
    {
        path = write(folder, "quadrants.png", quadrants(40, 20));
        image = opened(path);
        ASSERT_TRUE(image);
    }
    vips::VImage result() { return roundTrip(*image, folder); }
    // The colours at the four corners: top left, top right, bottom left, bottom right.
    std::array<Rgb, 4> corners()
    {
        const vips::VImage out = result();
        const int r = out.width() - 2, b = out.height() - 2;
        return {at(out, 1, 1), at(out, r, 1), at(out, 1, b), at(out, r, b)};
    }
    TestFolder folder;
    std::string path;
    Plain image;
};

int luma(const Rgb& c)
{
    return (299 * c[0] + 587 * c[1] + 114 * c[2]) / 1000;
}

} // namespace

TEST_F(QuadrantsTest, TurnsAndFlipsMoveTheQuarters)
{
    struct Case {
        const char* name;
        std::function<bool(IPlainImage&)> run;
        std::array<Rgb, 4> corners;
        int width;
    };
    const Case cases[] = {
        {"90", [](IPlainImage& i) { return i.Rotate90(); }, {B, R, W, G}, 20},
        {"180", [](IPlainImage& i) { return i.Rotate180(); }, {W, B, G, R}, 40},
        {"270", [](IPlainImage& i) { return i.Rotate270(); }, {G, W, R, B}, 20},
        {"any 90", [](IPlainImage& i) { return i.Rotate(90); }, {B, R, W, G}, 20},
        {"any -90", [](IPlainImage& i) { return i.Rotate(-90); }, {G, W, R, B}, 20},
        {"vertical", [](IPlainImage& i) { return i.FlipVertical(); }, {B, W, R, G}, 40},
        {"horizontal", [](IPlainImage& i) { return i.FlipHorizontal(); }, {G, R, W, B}, 40},
    };
    for (const Case& c : cases) {
        image = opened(path);
        ASSERT_TRUE(c.run(*image)) << c.name;
        EXPECT_EQ(image->GetWidth(), c.width) << c.name;
        EXPECT_EQ(corners(), c.corners) << c.name;
    }
}

TEST_F(QuadrantsTest, AnyAngleGrowsTheCanvasOnTheBackground)
{
    ASSERT_TRUE(image->SetBgColor(Blue));
    ASSERT_TRUE(image->Rotate(45));
    EXPECT_NEAR(image->GetWidth(), 43, 2); // (40 + 20) / sqrt(2)
    EXPECT_NEAR(image->GetHeight(), 43, 2);
    const vips::VImage out = result();
    EXPECT_EQ(at(out, 0, 0), B);
    EXPECT_EQ(at(out, out.width() - 1, out.height() - 1), B);
    // Clockwise: the red top-left quarter now lies above the centre.
    EXPECT_TRUE(similar(at(out, out.width() / 2, out.height() / 2 - 6), R, 10));
}

TEST_F(QuadrantsTest, BordersOutsideAndInside)
{
    ASSERT_TRUE(image->Border(5, Blue, 0));
    vips::VImage out = result();
    EXPECT_EQ(out.width(), 50);
    EXPECT_EQ(out.height(), 30);
    EXPECT_EQ(at(out, 0, 0), B);
    EXPECT_EQ(at(out, 49, 29), B);
    EXPECT_EQ(at(out, 5, 5), R);
    ASSERT_TRUE(image->Border(3, Green, 1));
    out = result();
    EXPECT_EQ(out.width(), 50);
    EXPECT_EQ(at(out, 2, 10), G);
    EXPECT_EQ(at(out, 6, 6), R);
    ASSERT_TRUE(image->Border(0, Red, 0));
    EXPECT_EQ(image->GetWidth(), 50);
}

TEST_F(QuadrantsTest, RoundedBorderCutsTheOuterCorners)
{
    ASSERT_TRUE(image->SetBgColor(Green));
    ASSERT_TRUE(image->RoundedBorder(6, Blue, 0));
    const vips::VImage out = result();
    EXPECT_EQ(out.width(), 52);
    EXPECT_EQ(at(out, 0, 0), G); // outside the rounding
    EXPECT_EQ(at(out, 51, 31), G);
    EXPECT_EQ(at(out, 26, 1), B); // along the edge
    EXPECT_EQ(at(out, 6, 6), R);  // the picture's corner stays
}

TEST_F(QuadrantsTest, CanvasPlacesThePictureByAnchor)
{
    for (int code = 0; code < 9; ++code) {
        image = opened(path);
        ASSERT_TRUE(image->ResizeCanvas(60, 40, code, Blue));
        const vips::VImage out = result();
        ASSERT_EQ(out.width(), 60);
        const int x = (code % 3) * 10, y = (code / 3) * 10; // spare room is 20 x 20
        EXPECT_EQ(at(out, x + 1, y + 1), R) << "code " << code;
        EXPECT_EQ(at(out, x + 38, y + 18), W) << "code " << code;
        const int freeX = code % 3 == 0 ? 59 : 0, freeY = code / 3 == 0 ? 39 : 0;
        EXPECT_EQ(at(out, freeX, freeY), B) << "code " << code;
    }
    image = opened(path);
    ASSERT_TRUE(image->ResizeCanvas(10, 10, 8, Blue)); // crops around the bottom right
    EXPECT_EQ(at(result(), 5, 5), W);
    EXPECT_FALSE(image->ResizeCanvas(10, 10, 10, Blue));
}

TEST_F(QuadrantsTest, AddsPicturesWithOpacityAndAlpha)
{
    const std::string green = write(folder, "green.png", filled(4, 4, {0, 255, 0}));
    ASSERT_TRUE(image->AddImage(green.c_str(), 30, 12, 6, 6, 0));
    ASSERT_TRUE(image->AddImage(green.c_str(), 2, 2, 0, 0, 50));
    vips::VImage out = result();
    EXPECT_EQ(out.bands(), 3); // no alpha appears
    EXPECT_EQ(at(out, 33, 15), G);
    EXPECT_EQ(at(out, 36, 18), W);
    EXPECT_TRUE(similar(at(out, 3, 3), {128, 128, 0}, 2));
    // Left half clear, right half opaque blue: only the right half shows.
    const vips::VImage mark =
        filled(10, 6, {0, 0, 255, 0}).insert(filled(5, 6, {0, 0, 255, 255}), 5, 0);
    const std::string markPath = write(folder, "mark.png", mark);
    ASSERT_TRUE(image->AddWatermark(markPath.c_str(), 8, 100));
    out = result();
    EXPECT_EQ(out.width(), 40);
    EXPECT_EQ(at(out, 40 - 8 - 2, 20 - 8 - 2), B);
    EXPECT_EQ(at(out, 40 - 8 - 8, 20 - 8 - 2), W);
    EXPECT_FALSE(image->AddImage(folder.file(QStringLiteral("none.png")).toUtf8().constData(), 0, 0,
                                 0, 0, 0));
}

TEST_F(QuadrantsTest, BackgroundPictureFillsWhatRotatingUncovers)
{
    const std::string bg = write(folder, "bg.png", filled(8, 8, {0, 255, 0}));
    ASSERT_TRUE(image->SetBgImage(bg.c_str()));
    ASSERT_TRUE(image->Rotate(30));
    const vips::VImage out = result();
    EXPECT_EQ(at(out, 0, 0), G);
    EXPECT_FALSE(image->SetBgImage(folder.file(QStringLiteral("none.png")).toUtf8().constData()));
    // Transparency shows it too.
    const std::string clear = write(folder, "clear.png", filled(6, 6, {255, 0, 0, 0}));
    Plain glass = opened(clear);
    ASSERT_TRUE(glass && glass->SetBgImage(bg.c_str()));
    EXPECT_EQ(at(roundTrip(*glass, folder), 3, 3), G);
}

TEST_F(QuadrantsTest, ImageBorderKeepsCornersAndStretchesEdges)
{
    // A 9 x 9 frame: red 3 x 3 corners, blue edges, green middle.
    const vips::VImage frame = filled(9, 9, {0, 0, 255})
                                   .insert(filled(3, 3, {0, 255, 0}), 3, 3)
                                   .insert(filled(3, 3, {255, 0, 0}), 0, 0)
                                   .insert(filled(3, 3, {255, 0, 0}), 6, 0)
                                   .insert(filled(3, 3, {255, 0, 0}), 0, 6)
                                   .insert(filled(3, 3, {255, 0, 0}), 6, 6);
    const std::string framePath = write(folder, "frame.png", frame);
    ASSERT_TRUE(image->ImageBorder(framePath.c_str(), 3, 3));
    const vips::VImage out = result();
    EXPECT_EQ(out.width(), 46);
    EXPECT_EQ(out.height(), 26);
    EXPECT_EQ(at(out, 1, 1), R);
    EXPECT_EQ(at(out, 44, 24), R);
    EXPECT_EQ(at(out, 23, 1), B);
    EXPECT_EQ(at(out, 1, 13), B);
    EXPECT_EQ(at(out, 4, 4), R); // the picture's own red corner
    EXPECT_FALSE(image->ImageBorder(framePath.c_str(), 0, 3));
}

TEST_F(QuadrantsTest, GreyIsGrey)
{
    ASSERT_TRUE(image->Gray());
    const vips::VImage out = result();
    ASSERT_EQ(out.bands(), 3);
    for (const Rgb& c : corners())
        EXPECT_TRUE(c[0] == c[1] && c[1] == c[2]) << c[0] << " " << c[1] << " " << c[2];
    EXPECT_LT(luma(at(out, 1, 11)), luma(at(out, 1, 1))); // blue darker than red
}

TEST_F(QuadrantsTest, HueSaturationBrightnessContrastGamma)
{
    struct Case {
        int h, s, b, c, g;
        std::function<bool(const Rgb& red, const Rgb& white)> expect;
    };
    const Case cases[] = {
        {0, -100, 0, 0, 100, [](const Rgb& r, const Rgb&) { return r[0] - r[2] < 8; }},
        {120, 0, 0, 0, 100, [](const Rgb& r, const Rgb&) { return r[1] > r[0]; }},
        {0, 0, -50, 0, 100, [](const Rgb& r, const Rgb& w) { return w[0] < 140 && r[0] < 140; }},
        {0, 0, 0, -100, 100, [](const Rgb& r, const Rgb& w) { return r == w; }},
        {0, 0, 0, 0, 0, [](const Rgb& r, const Rgb&) { return r == R; }},
    };
    for (const Case& c : cases) {
        image = opened(path);
        ASSERT_TRUE(image->HSBCG(c.h, c.s, c.b, c.c, c.g));
        const auto quarter = corners();
        EXPECT_TRUE(c.expect(quarter[0], quarter[3]))
            << c.h << " " << c.s << " " << c.b << " " << c.c;
    }
    Plain grey = created(4, 4, 0x808080);
    ASSERT_TRUE(grey->HSBCG(0, 0, 0, 0, 200));
    EXPECT_GT(at(roundTrip(*grey, folder), 1, 1)[0], 160); // gamma above 1 lightens
}

TEST(PlainImageColour, ColorizeAndSepiaAreMonotonic)
{
    TestFolder folder;
    Plain image = opened(write(folder, "ramp.png", ramp(256, 2, 0, 255)));
    ASSERT_TRUE(image->Colorize(0x0A1A2E, 0x144270, 0xD6F4FF));
    const vips::VImage out = roundTrip(*image, folder);
    Rgb previous = at(out, 0, 0);
    EXPECT_TRUE(similar(previous, {46, 26, 10}, 2));
    for (int x = 1; x < 256; ++x) {
        const Rgb c = at(out, x, 0);
        for (int i = 0; i < 3; ++i)
            ASSERT_GE(c[i], previous[i]) << "at " << x;
        previous = c;
    }
    EXPECT_TRUE(similar(previous, {255, 244, 214}, 2));
    EXPECT_TRUE(similar(at(out, 128, 0), {112, 66, 20}, 4));
}

TEST(PlainImageColour, AutoLevelsStretchesAndLeavesFlatPicturesAlone)
{
    TestFolder folder;
    Plain image = opened(write(folder, "dull.png", ramp(200, 4, 100, 150)));
    ASSERT_TRUE(image->AutoLevels());
    const vips::VImage out = roundTrip(*image, folder);
    EXPECT_LE(at(out, 0, 0)[0], 3);
    EXPECT_GE(at(out, 199, 0)[0], 252);
    EXPECT_NEAR(at(out, 100, 0)[0], 128, 6);
    Plain flat = created(10, 10, 0x404040);
    ASSERT_TRUE(flat->AutoLevels());
    EXPECT_EQ(at(roundTrip(*flat, folder), 5, 5), (Rgb{64, 64, 64}));
}

TEST(PlainImageFilters, BlurSharpenAndShineChangeWhatTheyShould)
{
    TestFolder folder;
    const std::string edge =
        write(folder, "edge.png",
              filled(40, 10, {60, 60, 60}).insert(filled(20, 10, {190, 190, 190}), 20, 0));
    Plain blurred = opened(edge);
    ASSERT_TRUE(blurred->Blur(30)); // sigma 3
    const vips::VImage soft = roundTrip(*blurred, folder);
    EXPECT_GT(at(soft, 19, 5)[0], 70);
    EXPECT_LT(at(soft, 20, 5)[0], 180);
    EXPECT_EQ(at(soft, 2, 5)[0], 60);
    Plain sharpened = opened(edge);
    ASSERT_TRUE(sharpened->Sharpen(80));
    const vips::VImage crisp = roundTrip(*sharpened, folder);
    EXPECT_LT(at(crisp, 18, 5)[0], 58); // overshoot on either side of the edge
    EXPECT_GT(at(crisp, 21, 5)[0], 192);
    Plain lit = created(20, 20, 0x404040);
    ASSERT_TRUE(lit->Shine(60));
    const vips::VImage shiny = roundTrip(*lit, folder);
    EXPECT_GT(at(shiny, 10, 0)[0], 160);
    EXPECT_GT(at(shiny, 10, 0)[0], at(shiny, 10, 6)[0]);
    EXPECT_EQ(at(shiny, 10, 19)[0], 64);
}

TEST(PlainImageFilters, DropShadowGrowsTheCanvas)
{
    TestFolder folder;
    Plain image = created(20, 20, Red);
    ASSERT_TRUE(image->SetBgColor(White));
    ASSERT_TRUE(image->DropShadow(6, 4, 100, Black));
    const vips::VImage out = roundTrip(*image, folder);
    EXPECT_EQ(out.width(), 20 + 6 + 4);
    EXPECT_EQ(at(out, 2, 2), R);
    EXPECT_LT(at(out, 22, 22)[0], 60);         // the shadow, right and down
    EXPECT_EQ(at(out, out.width() - 1, 0), W); // background beside it
    EXPECT_FALSE(image->DropShadow(-1, 0, 50, Black));
}

TEST(PlainImageText, DrawsTextWhereAndHowAsked)
{
    TestFolder folder;
    Plain image = created(120, 60, White);
    ASSERT_TRUE(image->TextOut("H&<I>", "", 5, 5, 24, 1, Red));
    ASSERT_TRUE(image->AddTextWatermark("wm", "DejaVu Serif", 8, 16, 100, Blue));
    const vips::VImage out = roundTrip(*image, folder);
    const vips::VImage topLeft = out.extract_area(0, 0, 60, 30);
    const vips::VImage bottomRight = out.extract_area(60, 30, 60, 30);
    // Red ink: red stays high while green and blue drop.
    EXPECT_LT(topLeft[1].min(), 60);
    EXPECT_GT(topLeft[0].min(), 200);
    EXPECT_LT(bottomRight[0].min(), 60);
    EXPECT_GT(bottomRight[2].min(), 200);
    EXPECT_EQ(out.extract_area(0, 45, 30, 15).min(), 255); // nothing drawn elsewhere
    EXPECT_FALSE(image->TextOut("x", "", 0, 0, 0, 0, Red));
    EXPECT_FALSE(image->AddTextWatermark("x", "", 9, 10, 100, Red));
}
