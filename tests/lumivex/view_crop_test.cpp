// SPDX-License-Identifier: GPL-2.0-or-later
// The crop tool driven by the mouse and the keys: ratios on corner and side handles,
// clamping to the picture, Enter, Esc, the empty selection and the busy check.
#include <cmath>

#include <QTest>

#include "enhancer/croprect.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "enhancer/lumivexstrings.h"
#include "tests/lumivex/viewfixture.h"

namespace
{
double Ratio(const CropRect::Rect& rect)
{
    return double(std::abs(rect.Width())) / std::abs(rect.Height());
}
} // namespace

class ViewCropTest : public ViewFixture
{
protected:
    // A 300 x 200 photo at 1:1, its top-left corner on the screen.
    QPoint OpenSmall()
    {
        Open(MakeQuarters(300, 200));
        EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 1.0);
        const ViewZoom::Rect rect = m_view->ImageRect();
        return {rect.left, rect.top};
    }
};

TEST_F(ViewCropTest, FreeCropCutsExactlyTheDraggedPixels)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    ASSERT_TRUE(m_view->IsCropping());
    QTest::mouseMove(m_view->viewport(), origin + QPoint(20, 20));
    EXPECT_EQ(m_view->viewport()->cursor().shape(), Qt::CrossCursor);
    Drag(origin + QPoint(140, 90), origin + QPoint(180, 130));
    EXPECT_EQ(m_view->CropInImage(), (CropRect::Rect{140, 90, 180, 130}));
    Shoot(m_window, QStringLiteral("view-crop-tool"));
    PressKey(Qt::Key_Return);
    EXPECT_FALSE(m_view->IsCropping());
    const QImage cut = DocumentPicture();
    ASSERT_EQ(cut.size(), QSize(40, 40));
    // The cut straddles the four quarters around the middle at (150, 100).
    EXPECT_EQ(cut.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(cut.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(cut.pixel(10, 9), qRgb(0, 255, 0));
    EXPECT_EQ(cut.pixel(9, 10), qRgb(0, 0, 255));
    EXPECT_EQ(cut.pixel(39, 39), qRgb(255, 255, 0));
    EXPECT_TRUE(m_document.UndoAvailable());
    EXPECT_FALSE(m_statusBar->ProgressShown());
}

TEST_F(ViewCropTest, FilmRatioHoldsOnCornersInsideOutDragsAndSideHandles)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFilm);
    // A corner dragged out towards the top left: the ratio holds inside out too.
    Drag(origin + QPoint(200, 150), origin + QPoint(120, 100));
    CropRect::Rect rect = m_view->Tracker().Rect();
    EXPECT_NEAR(Ratio(rect), 1.5, 0.05);
    EXPECT_EQ(rect.left, origin.x() + 200); // the corner that did not move
    EXPECT_EQ(rect.top, origin.y() + 150);

    // The right handle, drawn outside the normalised rectangle: the width follows the mouse,
    // the height follows the width and stays centred.
    m_view->CropCommand(CropRect::CommandFilm); // busy: the crop is still on
    EXPECT_EQ(m_prompter.texts.value(0), loadLumivexString(IDS_LX_CROPPING));
    PressKey(Qt::Key_Escape);
    m_view->CropCommand(CropRect::CommandFilm);
    Drag(origin + QPoint(60, 50), origin + QPoint(120, 90));
    rect = m_view->Tracker().Rect();
    ASSERT_EQ(rect, (CropRect::Rect{origin.x() + 60, origin.y() + 50, origin.x() + 120,
                                    origin.y() + 90}));
    const int middleY = (rect.top + rect.bottom) / 2;
    const QPoint handle(rect.right + CMyRectTracker::HandleSize / 2, middleY);
    Drag(handle, handle + QPoint(30, 0));
    rect = m_view->Tracker().Rect();
    EXPECT_EQ(rect.left, origin.x() + 60);
    EXPECT_EQ(rect.right, origin.x() + 150);
    EXPECT_EQ(rect.Height(), 60);
    EXPECT_NEAR((rect.top + rect.bottom) / 2.0, middleY, 1.0);

    // The bottom handle: the width follows the height, centred.
    const int middleX = (rect.left + rect.right) / 2;
    const QPoint bottom(middleX, rect.bottom + CMyRectTracker::HandleSize / 2);
    Drag(bottom, bottom + QPoint(0, 20));
    rect = m_view->Tracker().Rect();
    EXPECT_EQ(rect.Height(), 80);
    EXPECT_EQ(rect.Width(), 120);
    EXPECT_NEAR((rect.left + rect.right) / 2.0, middleX, 1.0);
}

TEST_F(ViewCropTest, TrackerStaysOnThePictureAndTheRatioSurvivesClamping)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    Drag(origin + QPoint(250, 150), origin + QPoint(600, 500));
    EXPECT_EQ(m_view->CropInImage(), (CropRect::Rect{250, 150, 300, 200}));
    PressKey(Qt::Key_Escape);

    m_view->CropCommand(CropRect::CommandKeepProportions);
    EXPECT_FLOAT_EQ(m_view->Tracker().Ratio(), 1.5f);
    Drag(origin + QPoint(100, 100), origin + QPoint(700, 180));
    const CropRect::Rect crop = m_view->CropInImage();
    EXPECT_LE(crop.right, 300);
    EXPECT_LE(crop.bottom, 200);
    EXPECT_NEAR(Ratio(crop), 1.5, 0.05);
    // Moving the whole rectangle beyond the edge stops it there, its size kept.
    const CropRect::Rect before = m_view->Tracker().Rect();
    const QPoint inside((before.left + before.right) / 2, (before.top + before.bottom) / 2);
    Drag(inside, inside - QPoint(400, 400));
    const CropRect::Rect moved = m_view->Tracker().Rect();
    EXPECT_EQ(moved.left, origin.x());
    EXPECT_EQ(moved.top, origin.y());
    EXPECT_EQ(moved.Width(), before.Width());
    EXPECT_EQ(moved.Height(), before.Height());
}

TEST_F(ViewCropTest, DigitalRatioShapesACropUnderWayButStartsNone)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandDigital);
    EXPECT_FALSE(m_view->IsCropping());
    m_view->CropCommand(CropRect::CommandFreeCrop);
    m_view->CropCommand(CropRect::CommandDigital);
    EXPECT_TRUE(m_view->IsCropping());
    EXPECT_TRUE(m_prompter.texts.isEmpty());
    Drag(origin + QPoint(20, 20), origin + QPoint(80, 110));
    EXPECT_NEAR(Ratio(m_view->Tracker().Rect()), 0.75, 0.05);
}

TEST_F(ViewCropTest, AnEmptySelectionIsToldAndTheImageStays)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    Drag(origin + QPoint(50, 50), origin + QPoint(50, 50));
    PressKey(Qt::Key_Enter);
    ASSERT_EQ(m_prompter.texts.size(), 1);
    EXPECT_EQ(m_prompter.texts[0], loadLumivexString(IDS_LX_EMPTY_SELECTION));
    EXPECT_FALSE(m_view->IsCropping());
    EXPECT_EQ(DocumentPicture().size(), QSize(300, 200));
    EXPECT_FALSE(m_document.UndoAvailable());
}

TEST_F(ViewCropTest, EscEndsCroppingWithoutCuttingAndEditsAreRefusedMeanwhile)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    Drag(origin + QPoint(10, 10), origin + QPoint(100, 100));
    EXPECT_TRUE(m_view->RefuseWhenBusy());
    EXPECT_FALSE(m_view->RunFixedTurn(FixedTurn::Rotate90));
    m_view->ZoomIn();
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), 1.0);
    ASSERT_EQ(m_prompter.texts.size(), 3);
    for (const QString& text : m_prompter.texts)
        EXPECT_EQ(text, loadLumivexString(IDS_LX_CROPPING));
    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(m_view->IsCropping());
    EXPECT_EQ(DocumentPicture().size(), QSize(300, 200));
    EXPECT_FALSE(m_view->RefuseWhenBusy());
}

TEST_F(ViewCropTest, TheCropFollowsTheImageThroughZoomAndCutsTheSamePixels)
{
    const QPoint origin = OpenSmall();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    Drag(origin + QPoint(40, 30), origin + QPoint(120, 90));
    // Zoom is an edit command and waits, but best fit and 1:1 are not.
    m_view->ActualPixels();
    m_view->BestFit();
    QCoreApplication::processEvents();
    const double zoom = m_view->Zoom().Zoom();
    ASSERT_GT(zoom, 1.0);
    const CropRect::Rect rect = m_view->Tracker().Rect();
    const ViewZoom::Rect image = m_view->ImageRect();
    EXPECT_NEAR(rect.left, image.left + 40 * zoom, 1.0);
    EXPECT_NEAR(rect.bottom, image.top + 90 * zoom, 1.0);
    PressKey(Qt::Key_Return);
    const QSize size = DocumentPicture().size();
    EXPECT_NEAR(size.width(), 80, 1);
    EXPECT_NEAR(size.height(), 60, 1);
}
