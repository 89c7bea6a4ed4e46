// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QImage>

#include "controls/myprogressctl.h"

namespace
{

constexpr int32_t Orange = 3381759;     // R 255, G 153, B 51
constexpr int32_t Background = 9413023; // R 159, G 161, B 143

// A bar as the progress window sets it up, 300 x 40 pixels, rendered off-screen.
class ProgressCtlTest : public ::testing::Test
{
protected:
    ProgressCtlTest()
    {
        bar.resize(300, 40);
        bar.SetRange(0, 100);
        bar.SetBkColor(Background);
        bar.SetStartColor(Orange);
        bar.SetEndColor(Orange);
        bar.SetTextColor(0);
        bar.SetShowPercent(true);
    }
    QImage render(int32_t position)
    {
        bar.SetPos(position);
        return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Pixels of the first row that have the bar's colour: the text never reaches that row.
    static int filledInTopRow(const QImage& image)
    {
        int width = 0;
        while (width < image.width() && image.pixelColor(width, 0) == colorFromColorRef(Orange))
            ++width;
        return width;
    }
    // Pixels that are neither bar nor background: the text.
    static int textPixels(const QImage& image, QRect* where = nullptr)
    {
        int count = 0;
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c != colorFromColorRef(Orange) && c != colorFromColorRef(Background)) {
                    ++count;
                    box |= QRect(x, y, 1, 1);
                }
            }
        if (where != nullptr)
            *where = box;
        return count;
    }

    CMyProgressCtl bar;
};

} // namespace

TEST(ProgressBarLook, FillsOnlyStrictlyInsideTheRange)
{
    const struct {
        int32_t minimum, maximum, position;
        int width;
        bool percent;
        bool filled;
        int filledWidth;
        const char* text;
    } cases[] = {
        {0, 100, 50, 300, true, true, 150, "50%"}, {0, 100, 99, 300, true, true, 297, "99%"},
        {0, 100, 29, 300, true, true, 87, "29%"}, // exact, not 86.999... truncated
        {0, 100, 1, 300, true, true, 3, "1%"},     {0, 100, 50, 300, false, true, 150, ""},
        {0, 200, 50, 300, true, true, 75, "25%"},  {0, 3, 2, 300, true, true, 200, "67%"},
        {0, 100, 100, 300, true, false, 0, ""},    {0, 100, 0, 300, true, false, 0, ""},
        {0, 100, 150, 300, true, false, 0, ""},    {0, 100, -5, 300, true, false, 0, ""},
        {0, 0, 0, 300, true, false, 0, ""},
    };
    for (const auto& c : cases) {
        const ProgressBarLook look =
            progressBarLook(c.minimum, c.maximum, c.position, c.width, c.percent);
        EXPECT_EQ(look.filled, c.filled) << c.position << "/" << c.maximum;
        EXPECT_EQ(look.filledWidth, c.filledWidth) << c.position << "/" << c.maximum;
        EXPECT_EQ(look.text, QString(c.text)) << c.position << "/" << c.maximum;
    }
}

TEST(ProgressBarLook, ColorRefsAreBlueGreenRed)
{
    EXPECT_EQ(colorFromColorRef(Orange), QColor(255, 153, 51));
    EXPECT_EQ(colorFromColorRef(255), QColor(255, 0, 0));
    EXPECT_EQ(colorFromColorRef(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colorFromColorRef(Background), QColor(159, 161, 143));
    for (const int32_t value : {0, 255, 0xFF0000, 0xFFFFFF, Orange, Background})
        EXPECT_EQ(colorRefFromColor(colorFromColorRef(value)), value);
}

TEST(ProgressCtlDefaults, AsConstructed)
{
    CMyProgressCtl bar;
    EXPECT_EQ(bar.Minimum(), 0);
    EXPECT_EQ(bar.Maximum(), 100);
    EXPECT_EQ(bar.Step(), 10);
    EXPECT_EQ(bar.GetPos(), 0);
    EXPECT_EQ(bar.StartColor(), 255);
    EXPECT_EQ(bar.EndColor(), 0xFF0000);
    EXPECT_EQ(bar.TextColor(), 0xFFFFFF);
    EXPECT_FALSE(bar.ShowsPercent());
}

TEST(ProgressCtlDefaults, SteppingStartsOverPastTheMaximum)
{
    CMyProgressCtl bar;
    EXPECT_EQ(bar.SetStep(30), 10);
    const int32_t expected[] = {30, 60, 90, 20, 50};
    for (const int32_t position : expected) {
        bar.StepIt();
        EXPECT_EQ(bar.GetPos(), position);
    }
    EXPECT_EQ(bar.SetPos(7), 50);
}

TEST_F(ProgressCtlTest, HalfwayFillsHalfTheWidthWithTheTextInTheMiddle)
{
    const QImage image = render(50);
    EXPECT_EQ(filledInTopRow(image), 150);
    EXPECT_EQ(image.pixelColor(150, 0), colorFromColorRef(Background));
    EXPECT_EQ(image.pixelColor(299, 39), colorFromColorRef(Background));
    QRect text;
    EXPECT_GT(textPixels(image, &text), 20);
    EXPECT_NEAR(text.center().x(), 150, 6);
    EXPECT_NEAR(text.center().y(), 20, 6);
}

TEST_F(ProgressCtlTest, NinetyNineFillsNinetyNineHundredths)
{
    const QImage image = render(99);
    EXPECT_EQ(filledInTopRow(image), 297);
    EXPECT_GT(textPixels(image), 20);
}

TEST_F(ProgressCtlTest, AtEitherEndOnlyTheBackgroundShows)
{
    for (const int32_t position : {0, 100, 120, -3}) {
        const QImage image = render(position);
        EXPECT_EQ(filledInTopRow(image), 0) << position;
        EXPECT_EQ(textPixels(image), 0) << position;
        EXPECT_EQ(image.pixelColor(0, 0), colorFromColorRef(Background)) << position;
    }
}

TEST_F(ProgressCtlTest, DifferentColoursBlendFromStartToEnd)
{
    bar.SetStartColor(255);    // red
    bar.SetEndColor(0xFF0000); // blue
    bar.SetShowPercent(false);
    const QImage image = render(50);
    const QColor left = image.pixelColor(0, 0);
    const QColor right = image.pixelColor(149, 0);
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(left.blue(), 15);
    EXPECT_GT(right.blue(), 240);
    EXPECT_LT(right.red(), 15);
    EXPECT_EQ(image.pixelColor(150, 0), colorFromColorRef(Background));
}
