// SPDX-License-Identifier: GPL-2.0-or-later
// Long edits: the result applied once, the progress bar over the first pane, the busy check
// while one runs, Esc and closing the window stopping one without a trace.
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "tests/lumivex/viewfixture.h"

namespace
{
// Enough pixels that the edit is still running when the test looks.
constexpr int32_t BigWidth = 9000, BigHeight = 6000;
} // namespace

class ViewOperationTest : public ViewFixture
{
};

TEST_F(ViewOperationTest, TurnRunsAwayFromTheWindowAndIsAppliedOnce)
{
    Open(MakeQuarters(300, 200));
    QSignalSpy shown(m_view, &CLumivexView::progressShown);
    ASSERT_TRUE(m_view->RunFixedTurn(FixedTurn::Rotate90));
    EXPECT_TRUE(m_view->IsOperationRunning());
    EXPECT_TRUE(m_statusBar->ProgressShown());
    EXPECT_EQ(m_statusBar->Progress()->geometry(), m_statusBar->Pane(0)->geometry());
    WaitForEdit();
    EXPECT_FALSE(m_statusBar->ProgressShown());
    const QImage turned = DocumentPicture();
    ASSERT_EQ(turned.size(), QSize(200, 300));
    // Clockwise: the bottom-left blue quarter comes to the top left.
    EXPECT_EQ(turned.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(turned.pixel(190, 10), qRgb(255, 0, 0));
    EXPECT_EQ(turned.pixel(190, 290), qRgb(0, 255, 0));
    EXPECT_TRUE(m_document.UndoAvailable());
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0][0].toBool());
    EXPECT_FALSE(shown[1][0].toBool());
    // The view shows the new image, not the one before; and the old one again after Undo.
    m_view->BestFit();
    QImage view = ViewPicture();
    ViewZoom::Rect rect = m_view->ImageRect();
    EXPECT_EQ(view.pixel(rect.left + 3, rect.top + 3), qRgb(0, 0, 255));
    m_document.UndoRedo();
    m_view->BestFit();
    view = ViewPicture();
    rect = m_view->ImageRect();
    EXPECT_EQ(rect.right - rect.left > rect.bottom - rect.top, true);
    EXPECT_EQ(view.pixel(rect.left + 3, rect.top + 3), qRgb(255, 0, 0));
}

TEST_F(ViewOperationTest, EditsAndZoomWaitWhileAnEditRuns)
{
    Open(MakeQuarters(600, 400));
    const double zoom = m_view->Zoom().Zoom();
    ASSERT_TRUE(m_view->RunTransform(ScaleMatrix(BigWidth, BigHeight, 600, 400)));
    EXPECT_FALSE(m_view->RunFixedTurn(FixedTurn::FlipHorizontal));
    m_view->ZoomIn();
    m_view->CropCommand(CropRect::CommandFreeCrop);
    EXPECT_FALSE(m_view->IsCropping());
    EXPECT_DOUBLE_EQ(m_view->Zoom().Zoom(), zoom);
    ASSERT_EQ(m_prompter.texts.size(), 3);
    for (const QString& text : m_prompter.texts)
        EXPECT_EQ(text, loadLumivexString(IDS_LX_BUSY));
    WaitForEdit();
    EXPECT_EQ(DocumentPicture().size(), QSize(BigWidth, BigHeight));
    EXPECT_FALSE(m_view->RefuseWhenBusy());
}

TEST_F(ViewOperationTest, EscStopsAResizeAndNothingChanges)
{
    Open(MakeQuarters(600, 400));
    QSignalSpy ended(m_view, &CLumivexView::progressShown);
    ASSERT_TRUE(m_view->RunTransform(ScaleMatrix(BigWidth, BigHeight, 600, 400)));
    PressKey(Qt::Key_Escape);
    WaitForEdit();
    EXPECT_EQ(DocumentPicture().size(), QSize(600, 400));
    EXPECT_FALSE(m_document.UndoAvailable());
    EXPECT_FALSE(m_document.IsModified());
    EXPECT_FALSE(m_statusBar->ProgressShown());
    // The view is free again: the next edit runs and is applied.
    ASSERT_TRUE(m_view->RunFixedTurn(FixedTurn::Rotate180));
    WaitForEdit();
    EXPECT_EQ(DocumentPicture().pixel(5, 5), qRgb(255, 255, 0));
}

TEST_F(ViewOperationTest, ProgressReachesTheStatusBar)
{
    Open(MakeQuarters(600, 400));
    QSignalSpy progress(m_view, &CLumivexView::progressChanged);
    int highest = 0;
    QObject::connect(m_view, &CLumivexView::progressChanged, [&](int) {
        if (m_statusBar->ProgressShown())
            highest = std::max(highest, m_statusBar->Progress()->value());
    });
    ASSERT_TRUE(m_view->RunTransform(ScaleMatrix(BigWidth, BigHeight, 600, 400)));
    WaitForEdit();
    EXPECT_GE(progress.size(), 2);
    EXPECT_GT(highest, 0);
    EXPECT_LE(highest, 100);
}

TEST_F(ViewOperationTest, ClosingTheWindowStopsTheEditAndDropsItsResult)
{
    Open(MakeQuarters(600, 400));
    QSignalSpy aborted(m_view, &CLumivexView::operationAborted);
    ASSERT_TRUE(m_view->RunTransform(ScaleMatrix(BigWidth, BigHeight, 600, 400)));
    EXPECT_TRUE(m_window.close());
    // Close returns with the edit already stopped: nothing is left running behind the window.
    EXPECT_FALSE(m_view->IsOperationRunning());
    EXPECT_EQ(aborted.size(), 1);
    QTest::qWait(50);
    EXPECT_EQ(DocumentPicture().size(), QSize(600, 400));
    EXPECT_FALSE(m_document.IsModified());
}

TEST_F(ViewOperationTest, AResultForAnImageNoLongerShownIsDropped)
{
    Open(MakeQuarters(600, 400));
    ASSERT_TRUE(m_view->RunTransform(ScaleMatrix(BigWidth, BigHeight, 600, 400)));
    // Another photo opened meanwhile (the view copied the pixels it works on).
    ASSERT_TRUE(m_document.StartList({MakeQuarters(120, 80, QStringLiteral("other.png"))},
                                     m_prompter));
    WaitForEdit();
    EXPECT_EQ(DocumentPicture().size(), QSize(120, 80));
    EXPECT_FALSE(m_document.UndoAvailable());
}
