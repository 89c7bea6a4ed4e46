// SPDX-License-Identifier: GPL-2.0-or-later
// The preview control: what it shows, its zoom buttons and label, dragging the picture, and
// an operation computing only the part that is visible.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "enhancer/ui/previewctrl.h"
#include "tests/lumivex/colourfixture.h"
#include "tests/lumivex/dialogshots.h"

namespace {

// Turns every pixel of the rectangle it is given to its negative and remembers the rectangle.
class NegativeOperation : public COperation
{
public:
    bool Apply(BITMAPINFOHEADER source, const uint8_t* sourcePixels, BITMAPINFOHEADER,
               uint8_t** destinationPixels, const ProgressCallback*, const RECT* rect) override
    {
        lastRect = *rect;
        ++calls;
        const uint32_t stride = DibStride(source.biWidth);
        for (int y = rect->top; y < rect->bottom; ++y)
            for (int x = rect->left * 3; x < rect->right * 3; ++x)
                (*destinationPixels)[size_t(y) * stride + x] =
                    uint8_t(255 - sourcePixels[size_t(y) * stride + x]);
        return true;
    }
    RECT lastRect;
    int calls = 0;
};

class PreviewCtrlTest : public ::testing::Test
{
protected:
    void Show(double startZoom = 0.0)
    {
        preview.resize(300, 260);
        preview.SetImage(picture.header, picture.Pixels(), working.Pixels(), startZoom);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    }
    void Click(QAction* action)
    {
        QTest::mouseClick(preview.ButtonOf(action), Qt::LeftButton);
    }

    ColourPicture picture = QuarteredPicture(400, 200);
    ColourPicture working = QuarteredPicture(400, 200);
    CPreviewCtrl preview{nullptr};
};

TEST_F(PreviewCtrlTest, ShowsTheWholePictureTheRightWayUpAtTheFitZoom)
{
    Show();
    // Wider than tall: the width decides the fit.
    EXPECT_DOUBLE_EQ(preview.Zoom().Zoom(), 300.0 / 400.0);
    EXPECT_EQ(preview.ZoomLabel()->text(), QStringLiteral("scale 75%"));
    EXPECT_EQ(ShownAt(preview, 0.1, 0.05), QColor(0, 255, 0)); // top quarter
    EXPECT_EQ(ShownAt(preview, 0.1, 0.9), QColor(255, 0, 0));
    EXPECT_EQ(ShownAt(preview, 0.9, 0.9), QColor(0, 0, 255));
    EXPECT_FALSE(preview.ZoomOutAction()->isEnabled());
    // The image window holds the scaled picture inside its one-pixel frame.
    EXPECT_EQ(preview.RenderCache().size(), preview.ImageWindow()->size() - QSize(2, 2));
    EXPECT_TRUE(saveBothSchemes(preview, QStringLiteral("previewctrl")));
}

TEST_F(PreviewCtrlTest, AMuchLargerPictureShowsItsPartsInPlace)
{
    picture = QuarteredPicture(4000, 2000);
    working = QuarteredPicture(4000, 2000);
    // A thin white line down the middle of the blue half must not vanish entirely.
    for (int y = 0; y < 2000; ++y)
        for (int x = 2990; x < 3010; ++x)
            working.Set(x, y, Bgr{255, 255, 255});
    Show();
    EXPECT_EQ(ShownAt(preview, 0.1, 0.05), QColor(0, 255, 0));
    EXPECT_EQ(ShownAt(preview, 0.1, 0.9), QColor(255, 0, 0));
    EXPECT_EQ(ShownAt(preview, 0.9, 0.9), QColor(0, 0, 255));
    const QImage& cache = preview.RenderCache();
    int brightest = 0;
    for (int x = cache.width() * 70 / 100; x < cache.width() * 80 / 100; ++x)
        brightest = std::max(brightest, cache.pixelColor(x, cache.height() * 9 / 10).green());
    EXPECT_GT(brightest, 100);
}

TEST_F(PreviewCtrlTest, ZoomButtonsStepAndComeBackToTheFit)
{
    Show();
    Click(preview.ZoomInAction());
    // From the fit the zoom goes to the next whole step.
    EXPECT_DOUBLE_EQ(preview.Zoom().Zoom(), 1.0);
    EXPECT_EQ(preview.ZoomLabel()->text(), QStringLiteral("scale 100%"));
    EXPECT_TRUE(preview.ZoomOutAction()->isEnabled());
    Click(preview.ZoomInAction());
    EXPECT_DOUBLE_EQ(preview.Zoom().Zoom(), 1.25);
    Click(preview.ZoomOutAction());
    Click(preview.ZoomOutAction());
    EXPECT_DOUBLE_EQ(preview.Zoom().Zoom(), 0.75);
    EXPECT_FALSE(preview.ZoomOutAction()->isEnabled());
    // A disabled button does nothing when pressed.
    Click(preview.ZoomOutAction());
    EXPECT_DOUBLE_EQ(preview.Zoom().Zoom(), 0.75);
}

TEST_F(PreviewCtrlTest, ZoomedInItShowsRealPixelsAndTheLabelFitsTheWidestText)
{
    Show(4.0);
    EXPECT_EQ(preview.ZoomLabel()->text(), QStringLiteral("scale 400%"));
    // At 400% the window shows 75 columns round the centre, where red meets blue: enlarged
    // pixels are copied, never blended.
    EXPECT_EQ(ShownAt(preview, 0.05, 0.95), QColor(255, 0, 0));
    EXPECT_EQ(ShownAt(preview, 0.95, 0.95), QColor(0, 0, 255));
    const QImage& cache = preview.RenderCache();
    for (int x = 0; x < cache.width(); ++x) {
        const QColor c = cache.pixelColor(x, cache.height() / 2);
        ASSERT_TRUE(c == QColor(255, 0, 0) || c == QColor(0, 0, 255)) << x;
    }
    EXPECT_GE(preview.ZoomLabel()->width(),
              preview.ZoomLabel()->fontMetrics().horizontalAdvance(QStringLiteral("Scale 10000%")));
    EXPECT_FALSE(preview.ZoomLabel()->geometry().intersects(preview.ImageWindow()->geometry()));
}

TEST_F(PreviewCtrlTest, DraggingMovesThePictureUnderTheMouseAndStopsAtItsEdge)
{
    Show(4.0);
    QWidget* window = preview.ImageWindow();
    const QPoint from(200, 100);
    const double startX = preview.Zoom().ScrollX();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, from - QPoint(100, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, from - QPoint(100, 0));
    EXPECT_DOUBLE_EQ(preview.Zoom().ScrollX(), startX + 100.0);
    // Far past the right edge: held at the last column.
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, from - QPoint(5000, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, from - QPoint(5000, 0));
    QTest::qWait(0);
    EXPECT_EQ(ShownAt(preview, 0.95, 0.95), QColor(0, 0, 255));
    EXPECT_EQ(ShownAt(preview, 0.05, 0.95), QColor(0, 0, 255));
}

TEST_F(PreviewCtrlTest, AnOperationComputesOnlyTheVisiblePart)
{
    NegativeOperation negative;
    preview.SetOperation(&negative);
    Show(2.0);
    ASSERT_GT(negative.calls, 0);
    // The window shows the middle: 150 columns round the centre.
    EXPECT_EQ(negative.lastRect.left, 125);
    EXPECT_EQ(negative.lastRect.right, 275);
    EXPECT_GT(negative.lastRect.top, 0);
    EXPECT_LT(negative.lastRect.bottom, 200);
    // Shown: the negative of red. Outside the visible part the working copy is untouched.
    EXPECT_EQ(ShownAt(preview, 0.25, 0.5), QColor(0, 255, 255));
    EXPECT_EQ(working.At(0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(working.At(399, 199), (Bgr{0, 255, 0}));
    EXPECT_EQ(working.At(150, 100), (Bgr{255, 255, 0}));
    EXPECT_TRUE(working.PaddingIntact());
}

} // namespace
