// SPDX-License-Identifier: GPL-2.0-or-later
// The rotation thumbnail's worker thread: it draws the last of many quick changes and stops
// when the dialog closes, even in the middle of a picture. Also built with the thread
// sanitizer, which must find nothing here.
#include <gtest/gtest.h>

#include <QTest>

#include "enhancer/ui/rotatearrow.h"
#include "enhancer/ui/rotatepp.h"
#include "enhancer/ui/rotatethumbnail.h"
#include "tests/lumivex/dialogshots.h"
#include "tests/lumivex/geometryfixture.h"

namespace
{

TEST(RotateThumbnailThread, DrawsEveryChangeAndStopsOnClose)
{
    ImageRecord photo;
    ASSERT_TRUE(loadPhoto("exs-nikon-e950.jpg", photo));
    for (int round = 0; round < 5; ++round) {
        auto dialog = std::make_unique<CRotatePP>(photo, nullptr);
        dialog->show();
        CRotateArrow* dial = dialog->Dial();
        CRotateThumbnail* thumbnail = dialog->Thumbnail();
        ASSERT_TRUE(thumbnail->WorkerRunning());
        // Many changes in a row while the worker draws; then it must end with the last one.
        dial->setFocus();
        for (int step = 0; step < 20; ++step)
            QTest::keyClick(dial, Qt::Key_PageUp);
        const int wanted = dialog->Parameters().angle;
        EXPECT_EQ(wanted, 300);
        bool shown = false;
        for (int i = 0; i < 500 && !shown; ++i) {
            shown = thumbnail->HasPicture() && thumbnail->PictureTurn().angle == wanted;
            if (!shown)
                QTest::qWait(10);
        }
        EXPECT_TRUE(shown);
        EXPECT_GE(thumbnail->PicturesDrawn(), 1);
        // Closing while the worker may still be drawing: it stops, and its last notice to
        // the widget dies with the widget.
        QTest::keyClick(dial, Qt::Key_PageDown);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        dialog.reset();
        QTest::qWait(5);
    }
}

TEST(RotateThumbnailThread, EachChangeBringsANewPicture)
{
    ImageRecord photo;
    ASSERT_TRUE(loadPhoto("exs-DSCN0010.jpg", photo));
    CRotatePP dialog(photo, nullptr);
    dialog.show();
    CRotateThumbnail* thumbnail = dialog.Thumbnail();
    auto waitForTurn = [&](int angle) {
        for (int i = 0; i < 500; ++i) {
            if (thumbnail->HasPicture() && thumbnail->PictureTurn().angle == angle)
                return true;
            QTest::qWait(10);
        }
        return false;
    };
    ASSERT_TRUE(waitForTurn(0));
    const QImage before = thumbnail->Picture();
    const int drawn = thumbnail->PicturesDrawn();
    dialog.Dial()->setFocus();
    QTest::keyClick(dialog.Dial(), Qt::Key_PageUp);
    ASSERT_TRUE(waitForTurn(15));
    EXPECT_GT(thumbnail->PicturesDrawn(), drawn);
    EXPECT_NE(thumbnail->Picture(), before);
    // A new scheme repaints the background in its own face colour.
    dialog.setPalette(darkPalette());
    const QColor face = darkPalette().color(QPalette::Button);
    bool repainted = false;
    for (int i = 0; i < 500 && !repainted; ++i) {
        repainted = QColor(thumbnail->Picture().pixel(0, 0)) == face;
        if (!repainted)
            QTest::qWait(10);
    }
    EXPECT_TRUE(repainted);
}

} // namespace
