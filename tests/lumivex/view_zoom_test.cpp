// SPDX-License-Identifier: GPL-2.0-or-later
// The view's zoom commands, its drawing at each zoom and panning with the hand.
#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include "shell/skinscheme.h"
#include "tests/lumivex/viewfixture.h"

namespace
{
// One-pixel black and white squares: any smoothing turns them grey.
QImage Checker(int size)
{
    QImage picture(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            picture.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return picture;
}

bool IsGrey(QRgb pixel)
{
    return qRed(pixel) > 60 && qRed(pixel) < 200;
}
} // namespace

class ViewZoomTest : public ViewFixture
{
};

TEST_F(ViewZoomTest, LargePhotoOpensAtTheScreenShareAndStepsThroughTheZoomRules)
{
    Open(MakeQuarters(1200, 900));
    const int screenHeight = m_view->screen()->availableGeometry().height();
    const double opened = int(screenHeight * 0.6) / 1200.0;
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), opened);
    EXPECT_DOUBLE_EQ(m_view->Zoom().MinimumZoom(), opened / 5);

    // From 1:1: whole percents add the step; the doubling happens only below 0.5.
    m_view->ActualPixels();
    m_view->ZoomIn();
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 1.25);
    for (int i = 0; i < 60; ++i)
        m_view->ZoomIn();
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 10.0);
    EXPECT_FALSE(m_view->CanZoomIn());

    m_view->ActualPixels();
    m_view->ZoomOut();
    m_view->ZoomOut();
    m_view->ZoomOut();
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 0.25);
    m_view->ZoomOut(); // halves while that stays above the minimum
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 0.125);
    for (int i = 0; i < 10; ++i)
        m_view->ZoomOut();
    EXPECT_GT(m_view->Zoom().Zoom(), m_view->Zoom().MinimumZoom());
    EXPECT_FALSE(m_view->CanZoomOut());
    const double smallest = m_view->Zoom().Zoom();
    m_view->ZoomIn(); // below twice the step the zoom doubles
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), smallest * 2);
    EXPECT_TRUE(m_prompter.texts.isEmpty());
}

TEST_F(ViewZoomTest, BestFitShowsTheWholeImageWithoutScrollBars)
{
    Open(MakeQuarters(1200, 900));
    m_view->ActualPixels();
    EXPECT_GT(m_view->horizontalScrollBar()->maximum(), 0);
    m_view->BestFit();
    QCoreApplication::processEvents();
    const ViewZoom::Rect rect = m_view->ImageRect();
    EXPECT_LE(rect.right - rect.left, m_view->viewport()->width());
    EXPECT_LE(rect.bottom - rect.top, m_view->viewport()->height());
    // One side fills the client area (give or take the truncation).
    EXPECT_TRUE(m_view->viewport()->width() - (rect.right - rect.left) <= 1 ||
                m_view->viewport()->height() - (rect.bottom - rect.top) <= 1);
    EXPECT_EQ(m_view->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(m_view->verticalScrollBar()->maximum(), 0);
}

TEST_F(ViewZoomTest, EnlargedPixelsStaySharpAndShrunkOnesAreSmoothed)
{
    const QString path = m_folder.file(QStringLiteral("checker.png"));
    ASSERT_TRUE(Checker(64).save(path));
    Open(path);
    ASSERT_DOUBLE_EQ(m_view->Zoom().Zoom(), 1.0);
    m_view->ZoomIn(); // 1.25
    m_view->ZoomIn(); // 1.5
    m_view->ZoomIn(); // 1.75
    m_view->ZoomIn(); // 2
    ASSERT_DOUBLE_EQ(m_view->Zoom().Zoom(), 2.0);
    QImage shown = ViewPicture();
    ViewZoom::Rect rect = m_view->ImageRect();
    int greys = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            greys += IsGrey(shown.pixel(x, y));
    EXPECT_EQ(greys, 0) << "pixels above 1:1 must be drawn as plain squares";
    // Each image pixel is a 2 x 2 square of one colour.
    EXPECT_EQ(shown.pixel(rect.left, rect.top), shown.pixel(rect.left + 1, rect.top + 1));
    EXPECT_NE(shown.pixel(rect.left, rect.top), shown.pixel(rect.left + 2, rect.top));

    m_view->ActualPixels();
    m_view->ZoomOut(); // 0.75
    m_view->ZoomOut(); // 0.5
    ASSERT_DOUBLE_EQ(m_view->Zoom().Zoom(), 0.5);
    shown = ViewPicture();
    rect = m_view->ImageRect();
    EXPECT_EQ(rect.right - rect.left, 32);
    for (int y = rect.top + 2; y < rect.bottom - 2; y += 5)
        for (int x = rect.left + 2; x < rect.right - 2; x += 5)
            EXPECT_TRUE(IsGrey(shown.pixel(x, y))) << x << "," << y;
}

TEST_F(ViewZoomTest, SmallImageIsCentredOnTheButtonFace)
{
    Open(MakeQuarters(100, 60));
    ASSERT_DOUBLE_EQ(m_view->Zoom().Zoom(), 1.0);
    const QImage shown = ViewPicture();
    const QSize client = m_view->viewport()->size();
    const QPoint origin((client.width() - 100) / 2, (client.height() - 60) / 2);
    EXPECT_EQ(shown.pixel(origin), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(origin + QPoint(99, 59)), qRgb(255, 255, 0));
    EXPECT_EQ(shown.pixel(origin + QPoint(99, 0)), qRgb(0, 255, 0));
    EXPECT_EQ(QColor(shown.pixel(2, 2)), m_view->palette().color(QPalette::Button));
    EXPECT_EQ(QColor(shown.pixel(origin - QPoint(1, 1))), m_view->palette().color(QPalette::Button));
    Shoot(m_window, QStringLiteral("view-small-image"));
}

TEST_F(ViewZoomTest, ZoomKeepsTheMiddleOfTheViewInPlace)
{
    Open(MakeQuarters(1200, 900));
    m_view->ActualPixels();
    QCoreApplication::processEvents();
    // Centre on the border between the quarters, then zoom: it stays at the centre.
    m_view->horizontalScrollBar()->setValue(600 - m_view->viewport()->width() / 2);
    m_view->verticalScrollBar()->setValue(450 - m_view->viewport()->height() / 2);
    m_view->ZoomIn();
    m_view->ZoomIn();
    QCoreApplication::processEvents();
    const QImage shown = ViewPicture();
    const QPoint centre = m_view->viewport()->rect().center();
    EXPECT_EQ(shown.pixel(centre + QPoint(-4, -4)), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(centre + QPoint(4, 4)), qRgb(255, 255, 0));
}

TEST_F(ViewZoomTest, TheHandPansAnImageLargerThanTheView)
{
    Open(MakeQuarters(1200, 900));
    m_view->ActualPixels();
    QCoreApplication::processEvents();
    const QPoint middle = m_view->viewport()->rect().center();
    QTest::mouseMove(m_view->viewport(), middle);
    EXPECT_EQ(m_view->viewport()->cursor().shape(), Qt::OpenHandCursor);
    const QPoint before = m_view->ScrollPosition();
    Drag(middle, middle - QPoint(50, 30));
    EXPECT_EQ(m_view->ScrollPosition(), before + QPoint(50, 30));
    EXPECT_EQ(m_view->viewport()->cursor().shape(), Qt::OpenHandCursor);

    // A picture that fits shows the arrow and does not move.
    m_view->BestFit();
    QTest::mouseMove(m_view->viewport(), middle + QPoint(1, 0));
    EXPECT_EQ(m_view->viewport()->cursor().shape(), Qt::ArrowCursor);
    Drag(middle, middle - QPoint(50, 30));
    EXPECT_EQ(m_view->ScrollPosition(), QPoint(0, 0));
}

TEST_F(ViewZoomTest, CameraPhotoFillsItsPlaceInBothSchemes)
{
    const QPalette light = QApplication::palette();
    for (const ColourScheme scheme : {ColourScheme::Light, ColourScheme::Dark}) {
        QApplication::setPalette(SkinScheme::of(scheme).palette());
        Open(sharedTestData(QStringLiteral("photos/exs-DSCN0010.jpg")));
        m_view->BestFit();
        QCoreApplication::processEvents();
        const QImage shown = ViewPicture();
        const ViewZoom::Rect rect = m_view->ImageRect();
        const QColor face = m_view->palette().color(QPalette::Button);
        int faceInside = 0;
        for (int y = rect.top; y < rect.bottom; y += 7)
            for (int x = rect.left; x < rect.right; x += 7)
                faceInside += QColor(shown.pixel(x, y)) == face;
        EXPECT_LT(faceInside, 10) << "the photo is not drawn over its rectangle";
        if (rect.left > 0) {
            EXPECT_EQ(QColor(shown.pixel(rect.left - 1, rect.top)), face);
        }
        const QString suffix = scheme == ColourScheme::Dark ? QStringLiteral("-dark") : QString();
        Shoot(m_window, QStringLiteral("view-photo-fit") + suffix);
        m_view->CropCommand(CropRect::CommandFilm);
        const QPoint from(rect.left + 30, rect.top + 30);
        Drag(from, from + QPoint(160, 90));
        Shoot(m_window, QStringLiteral("view-photo-crop") + suffix);
        PressKey(Qt::Key_Escape);
        m_view->ActualPixels();
        for (int i = 0; i < 8; ++i)
            m_view->ZoomIn();
        QCoreApplication::processEvents();
        EXPECT_TRUE(m_view->horizontalScrollBar()->isVisible());
        Shoot(m_window, QStringLiteral("view-photo-zoom") + suffix);
    }
    QApplication::setPalette(light);
}
