// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "controls/stretchpicture.h"

namespace
{

// A 10 x 10 picture: red above row 5, blue below it, and a green column at x 9.
QImage quarters()
{
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 5; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            picture.setPixelColor(x, y, Qt::blue);
    for (int y = 0; y < 10; ++y)
        picture.setPixelColor(9, y, Qt::green);
    return picture;
}

QImage painted(const QImage& picture, QSize size, QPoint cut)
{
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    paintStretched(painter, picture, QRect(QPoint(0, 0), size), cut);
    return canvas;
}

} // namespace

TEST(StretchPicture, ALargerTargetKeepsTheEdgesAndStretchesTheCut)
{
    const QImage grown = painted(quarters(), QSize(30, 24), QPoint(4, 2));
    // The right column moved to the right edge, full height.
    EXPECT_EQ(grown.pixelColor(29, 0), QColor(Qt::green));
    EXPECT_EQ(grown.pixelColor(29, 23), QColor(Qt::green));
    EXPECT_EQ(grown.pixelColor(28, 0), QColor(Qt::red));
    // Row 2 (red) stretched over the extra height; the blue part moved to the bottom.
    EXPECT_EQ(grown.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(grown.pixelColor(15, 18), QColor(Qt::red));
    EXPECT_EQ(grown.pixelColor(15, 19), QColor(Qt::blue));
    EXPECT_EQ(grown.pixelColor(0, 23), QColor(Qt::blue));
    // Nothing of the target is left unpainted.
    for (int y = 0; y < grown.height(); ++y)
        for (int x = 0; x < grown.width(); ++x)
            ASSERT_NE(grown.pixelColor(x, y), QColor(Qt::black)) << x << ',' << y;
}

TEST(StretchPicture, TheDesignedSizeShowsThePictureAsItIs)
{
    const QImage picture = quarters();
    EXPECT_EQ(painted(picture, QSize(10, 10), QPoint(4, 2)), picture);
    // A cut outside the picture is held at its edge.
    const QImage grown = painted(picture, QSize(12, 10), QPoint(40, 2));
    EXPECT_EQ(grown.pixelColor(11, 0), QColor(Qt::green));
    EXPECT_EQ(grown.pixelColor(10, 0), QColor(Qt::green));
    EXPECT_EQ(grown.pixelColor(8, 0), QColor(Qt::red));
}
