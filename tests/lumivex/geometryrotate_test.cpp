// SPDX-License-Identifier: GPL-2.0-or-later
// The custom rotation dialog through its real controls: clicks and drags on the dial, the
// angle entry, the flip check boxes, and the thumbnail its worker thread draws.
#include <gtest/gtest.h>

#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "enhancer/rotationdial.h"
#include "enhancer/ui/rotatearrow.h"
#include "enhancer/ui/rotatepp.h"
#include "enhancer/ui/rotatethumbnail.h"
#include "tests/lumivex/dialogshots.h"
#include "tests/lumivex/geometryfixture.h"

namespace
{

bool sameTurn(const TurnSettings& a, const TurnSettings& b)
{
    return a.angle == b.angle && a.flipHorizontal == b.flipHorizontal &&
           a.flipVertical == b.flipVertical;
}

class RotateDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadPhoto("exs-DSCN0010.jpg", photo));
        ASSERT_GT(photo.widthPixels, photo.heightPixels); // a landscape photo
        dialog = std::make_unique<CRotatePP>(photo, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        dial = dialog->Dial();
        thumbnail = dialog->Thumbnail();
    }

    QSpinBox* angleEntry() { return dialog->findChild<QSpinBox*>(); }
    QCheckBox* flip(const char* text)
    {
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
            if (box->text() == QLatin1String(text))
                return box;
        return nullptr;
    }
    // Waits until the thumbnail shows the dialog's turn.
    bool thumbnailShowsDialog()
    {
        for (int i = 0; i < 500; ++i) {
            if (thumbnail->HasPicture() &&
                sameTurn(thumbnail->PictureTurn(), dialog->Parameters()))
                return true;
            QTest::qWait(10);
        }
        return false;
    }
    // Where the dial draws its centre.
    QPoint centre() const
    {
        const RotationDial::Point middle = RotationDial(dial->width(), dial->height()).Centre();
        return {middle.x, middle.y};
    }
    void clickDial(QPoint offset)
    {
        QTest::mouseClick(dial, Qt::LeftButton, {}, centre() + offset);
    }

    ImageRecord photo;
    std::unique_ptr<CRotatePP> dialog;
    CRotateArrow* dial = nullptr;
    CRotateThumbnail* thumbnail = nullptr;
};

TEST_F(RotateDialogTest, ClicksOnTheDialPointItsNeedle)
{
    const int reach = dial->width() / 3;
    clickDial({0, reach});
    EXPECT_EQ(dialog->Parameters().angle, 180);
    EXPECT_EQ(angleEntry()->value(), 180);
    clickDial({-reach, 0});
    EXPECT_EQ(dialog->Parameters().angle, 270);
    clickDial({reach, 0});
    EXPECT_EQ(dialog->Parameters().angle, 90);
    clickDial({0, -reach});
    EXPECT_EQ(dialog->Parameters().angle, 0);
    clickDial({reach, -reach});
    EXPECT_EQ(dialog->Parameters().angle, 45);
    EXPECT_EQ(angleEntry()->value(), 45);
    EXPECT_TRUE(thumbnailShowsDialog());
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("rotate-45")));
}

TEST_F(RotateDialogTest, DraggingTheDialFollowsTheMouseWithACross)
{
    QTest::mousePress(dial, Qt::LeftButton, {}, centre() + QPoint(0, -20));
    EXPECT_EQ(dial->cursor().shape(), Qt::CrossCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre() + QPoint(20, 0)),
                     dial->mapToGlobal(QPointF(centre() + QPoint(20, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dial, &move);
    EXPECT_EQ(angleEntry()->value(), 90);
    QTest::mouseRelease(dial, Qt::LeftButton, {}, centre() + QPoint(0, 20));
    EXPECT_EQ(dialog->Parameters().angle, 180);
    EXPECT_NE(dial->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(thumbnailShowsDialog());
}

TEST_F(RotateDialogTest, TheAngleEntryTurnsTheDial)
{
    QSpinBox* entry = angleEntry();
    entry->setFocus();
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(entry, QStringLiteral("123"));
    EXPECT_EQ(dialog->Parameters().angle, 123);
    EXPECT_EQ(*dial->Bound(), 123);
    // 360 is not an angle the entry takes.
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(entry, QStringLiteral("360"));
    EXPECT_LT(dialog->Parameters().angle, 360);
    // Stepping past the end comes round.
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(entry, QStringLiteral("359"));
    QTest::keyClick(entry, Qt::Key_Up);
    EXPECT_EQ(dialog->Parameters().angle, 0);
    QTest::keyClick(entry, Qt::Key_Down);
    EXPECT_EQ(dialog->Parameters().angle, 359);
}

TEST_F(RotateDialogTest, TheDialTurnsByKeys)
{
    dial->setFocus();
    QTest::keyClick(dial, Qt::Key_Right);
    EXPECT_EQ(dialog->Parameters().angle, 1);
    QTest::keyClick(dial, Qt::Key_Left);
    QTest::keyClick(dial, Qt::Key_Left);
    EXPECT_EQ(dialog->Parameters().angle, 359);
    QTest::keyClick(dial, Qt::Key_PageUp);
    EXPECT_EQ(angleEntry()->value(), 14);
}

TEST_F(RotateDialogTest, FlipsReachTheResultAndTheThumbnail)
{
    ASSERT_TRUE(thumbnailShowsDialog());
    const QImage upright = thumbnail->Picture();
    // The mnemonic from wherever the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
    QTest::qWait(250); // the box shows itself pressed for a moment, then toggles
    EXPECT_TRUE(flip("&Horizontal")->isChecked());
    EXPECT_TRUE(dialog->Parameters().flipHorizontal);
    ASSERT_TRUE(thumbnailShowsDialog());
    const QImage mirrored = thumbnail->Picture();
    EXPECT_NE(mirrored, upright);
    // The picture of a mirror: a row read backwards.
    const int row = mirrored.height() / 2;
    const int inset = mirrored.width() / 8;
    const QRgb left = upright.pixel(inset, row);
    const QRgb right = mirrored.pixel(mirrored.width() - 1 - inset, row);
    EXPECT_LE(std::abs(qRed(left) - qRed(right)) + std::abs(qGreen(left) - qGreen(right)) +
                  std::abs(qBlue(left) - qBlue(right)),
              24);

    QTest::mouseClick(flip("&Vertical"), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(dialog->Parameters().flipVertical);
    ASSERT_TRUE(thumbnailShowsDialog());

    auto* box = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const TurnSettings chosen = dialog->Parameters();
    EXPECT_EQ(chosen.angle, 0);
    EXPECT_TRUE(chosen.flipHorizontal);
    EXPECT_TRUE(chosen.flipVertical);
}

TEST_F(RotateDialogTest, AQuarterTurnStandsTheThumbnailUp)
{
    ASSERT_TRUE(thumbnailShowsDialog());
    const QColor face = thumbnail->palette().color(QPalette::Button);
    QImage picture = thumbnail->Picture();
    // Landscape: bands of the face colour above and below, the photo reaches the sides.
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, 1)), face);
    EXPECT_NE(QColor(picture.pixel(1, picture.height() / 2)), face);

    clickDial({dial->width() / 3, 0});
    ASSERT_TRUE(thumbnailShowsDialog());
    picture = thumbnail->Picture();
    EXPECT_EQ(QColor(picture.pixel(1, picture.height() / 2)), face);
    EXPECT_NE(QColor(picture.pixel(picture.width() / 2, 1)), face);
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("rotate-90")));
}

} // namespace
