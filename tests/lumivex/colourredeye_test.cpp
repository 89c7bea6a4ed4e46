// SPDX-License-Identifier: GPL-2.0-or-later
// The red-eye dialog through its buttons, keys, sliders and mouse: strokes match the brush
// run directly, undo and redo by buttons and keys, picking, the colour dialog, Space for
// dragging, the wheel for the brush size, OK and Cancel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <cstring>
#include <deque>

#include "enhancer/brushview.h"
#include "enhancer/redeyetool.h"
#include "enhancer/ui/redeyectrl.h"
#include "enhancer/ui/redeyedlg.h"
#include "platform/choosers.h"
#include "tests/lumivex/colourfixture.h"
#include "tests/lumivex/dialogshots.h"

namespace {

// Answers the colour dialog from a list; cancelled once it runs out.
class ColourAnswers : public NoChoosers
{
public:
    std::optional<uint32_t> colour(uint32_t initial) override
    {
        asked.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const uint32_t answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<uint32_t> answers;
    std::vector<uint32_t> asked;
};

// A grey face with a red eye in the middle and a green band along the top.
ColourPicture Face()
{
    ColourPicture face(200, 150, Bgr{128, 128, 128});
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            if ((x - 100) * (x - 100) + (y - 75) * (y - 75) < 100)
                face.Set(x, y, Bgr{30, 40, 220});
            else if (y >= 130)
                face.Set(x, y, Bgr{0, 200, 0});
        }
    return face;
}

class RedEyeDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog = std::make_unique<CRedEyeDlg>(document, choosers, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    CRedEyeCtrl* Control() const { return dialog->Control(); }
    QWidget* Window() const { return Control()->ImageWindow(); }
    QToolButton* Button(QAction* action) const { return Control()->ButtonOf(action); }
    // Pressed near its left end, where a radio's text is, however wide its row.
    void Press(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    // The window point that shows image pixel (x, y), rows counted from the bottom.
    QPoint WindowPointOf(int x, int y) const
    {
        const PreviewZoom& zoom = Control()->Zoom();
        const int height = zoom.ImageHeight();
        return QPoint(int((x + 1.5) * zoom.Zoom() - zoom.ScrollX()),
                      int((height - y - 0.5) * zoom.Zoom() - zoom.ScrollY()));
    }
    void Click(QPoint at) { QTest::mouseClick(Window(), Qt::LeftButton, {}, at); }
    bool WorkingIs(const uint8_t* pixels) const
    {
        return std::memcmp(dialog->Working(), pixels, document.byteSize) == 0;
    }
    void Wheel(int delta)
    {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, Window()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window(), &wheel);
    }

    ColourPicture face = Face();
    ImageRecord document = RecordOf(face);
    ColourAnswers choosers;
    std::unique_ptr<CRedEyeDlg> dialog;
};

TEST_F(RedEyeDlgTest, OpensInDragModeWithTheSlidersStartingPositions)
{
    EXPECT_EQ(dialog->SizeLabel()->text(), QStringLiteral("Brush size: 19"));
    EXPECT_EQ(dialog->SharpnessLabel()->text(), QStringLiteral("Brush sharpness: 50"));
    EXPECT_EQ(dialog->AutomaticRadio()->text(), QStringLiteral("Adjust eye color"));
    EXPECT_TRUE(dialog->AutomaticRadio()->isChecked());
    EXPECT_EQ(Control()->Tool()->brush.size, 20);
    EXPECT_DOUBLE_EQ(Control()->Tool()->brush.k, 1.0);
    EXPECT_TRUE(Button(Control()->DragAction())->isChecked());
    EXPECT_FALSE(Button(Control()->BrushAction())->isChecked());
    EXPECT_FALSE(Control()->UndoAction()->isEnabled());
    EXPECT_FALSE(Control()->RedoAction()->isEnabled());
    EXPECT_FALSE(dialog->PaletteButton()->isEnabled());
    EXPECT_FALSE(dialog->PickButton()->isEnabled());
    EXPECT_DOUBLE_EQ(Control()->Zoom().Zoom(), Control()->Zoom().FitZoom());
    // In drag mode a click paints nothing.
    Click(WindowPointOf(100, 75));
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("redeyedlg")));
}

TEST_F(RedEyeDlgTest, AStrokeIsExactlyTheBrushsAndUndoesAndRedoesByButtonsAndKeys)
{
    Press(Button(Control()->BrushAction()));
    ASSERT_TRUE(Button(Control()->BrushAction())->isChecked());
    EXPECT_FALSE(Button(Control()->DragAction())->isChecked());
    const QColor before = ShownAt(*Control(), 0.5, 0.5);
    const QPoint eye = WindowPointOf(100, 75);
    Click(eye);
    EXPECT_FALSE(WorkingIs(face.Pixels()));
    // The preview shows the eye no longer red.
    const QColor after = ShownAt(*Control(), 0.5, 0.5);
    EXPECT_GT(before.red(), 200);
    EXPECT_LT(after.red(), 100);

    // The same click on the brush run straight on a copy.
    ColourPicture expected = face;
    RedEyeTool direct(expected.header, expected.Pixels());
    direct.SetBrushMode(true);
    direct.ButtonDown(BrushView::Of(Control()->Zoom()), eye.x(), eye.y());
    direct.ButtonUp();
    EXPECT_TRUE(WorkingIs(expected.Pixels()));
    const std::vector<uint8_t> stroked(dialog->Working(), dialog->Working() + document.byteSize);

    ASSERT_TRUE(Control()->UndoAction()->isEnabled());
    Press(Button(Control()->UndoAction()));
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    EXPECT_EQ(ShownAt(*Control(), 0.5, 0.5), before);
    EXPECT_FALSE(Control()->UndoAction()->isEnabled());
    Press(Button(Control()->RedoAction()));
    EXPECT_TRUE(WorkingIs(stroked.data()));
    QTest::keyClick(dialog->SizeSlider(), Qt::Key_Z);
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    // Nothing more to undo: the key changes nothing.
    QTest::keyClick(dialog.get(), Qt::Key_Z);
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    QTest::keyClick(dialog.get(), Qt::Key_X);
    EXPECT_TRUE(WorkingIs(stroked.data()));
    EXPECT_FALSE(Control()->RedoAction()->isEnabled());
}

TEST_F(RedEyeDlgTest, TheBrushOutlineFollowsTheMouseInBrushModeOnly)
{
    const QPoint at = WindowPointOf(40, 40);
    // The outline's left end: half the brush (20 pixels at the zoom) left of the cursor.
    const int radius = int(20 * Control()->Zoom().Zoom() / 2);
    auto darkAt = [&](QPoint point) {
        const QImage shown = Window()->grab().toImage();
        return shown.pixelColor(point).lightness() < 60;
    };
    QTest::mouseMove(Window(), at);
    EXPECT_FALSE(darkAt(at - QPoint(radius, 0)));
    Press(Button(Control()->BrushAction()));
    QTest::mouseMove(Window(), at + QPoint(1, 0));
    QTest::mouseMove(Window(), at);
    EXPECT_TRUE(darkAt(at - QPoint(radius, 0)));
    EXPECT_TRUE(darkAt(at + QPoint(radius, 0)));
    EXPECT_FALSE(darkAt(at));
    EXPECT_EQ(Window()->cursor().shape(), Qt::BlankCursor);
    // A bigger brush: a bigger circle, the old rim gone.
    QTest::keyClick(dialog->SizeSlider(), Qt::Key_PageUp);
    EXPECT_FALSE(darkAt(at - QPoint(radius, 0)));
    // Moving the mouse paints nothing without the button.
    EXPECT_TRUE(WorkingIs(face.Pixels()));
}

TEST_F(RedEyeDlgTest, ADraggedStrokeLaysDabsAlongTheWay)
{
    Press(Button(Control()->BrushAction()));
    const QPoint from = WindowPointOf(80, 75), to = WindowPointOf(120, 75);
    QTest::mousePress(Window(), Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(Window(), from + (to - from) * step / 4);
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, to);
    // The eye's right rim was reached by the moving brush, not by the first dab.
    const Bgr rim = Bgr{30, 40, 220};
    int changed = 0;
    for (int x = 91; x < 110; ++x)
        changed += ColourPicture(face).At(x, 75) == rim &&
                   dialog->Working()[75 * DibStride(200) + x * 3 + 2] != 220;
    EXPECT_GT(changed, 10);
    // One stroke: one undo restores all of it.
    Press(Button(Control()->UndoAction()));
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    EXPECT_FALSE(Control()->UndoAction()->isEnabled());
}

TEST_F(RedEyeDlgTest, SpaceHeldDragsTheZoomedPictureInsteadOfPainting)
{
    // The red-eye preview zooms in half steps: from the fit 170% to 200%, then 250%.
    Press(Button(Control()->ZoomInAction()));
    EXPECT_DOUBLE_EQ(Control()->Zoom().Zoom(), 2.0);
    Press(Button(Control()->ZoomInAction()));
    EXPECT_DOUBLE_EQ(Control()->Zoom().Zoom(), 2.5);
    EXPECT_EQ(Control()->ZoomLabel()->text(), QStringLiteral("scale 250%"));
    Press(Button(Control()->BrushAction()));
    EXPECT_EQ(Window()->cursor().shape(), Qt::BlankCursor);
    QTest::keyPress(dialog.get(), Qt::Key_Space);
    EXPECT_EQ(Window()->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_TRUE(Button(Control()->DragAction())->isChecked());
    EXPECT_FALSE(Button(Control()->BrushAction())->isChecked());
    const double scrollX = Control()->Zoom().ScrollX();
    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(150, 100));
    QTest::mouseMove(Window(), QPoint(120, 100));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(120, 100));
    EXPECT_DOUBLE_EQ(Control()->Zoom().ScrollX(), scrollX + 30);
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    QTest::keyRelease(dialog.get(), Qt::Key_Space);
    EXPECT_TRUE(Button(Control()->BrushAction())->isChecked());
    Click(QPoint(150, 100));
    EXPECT_FALSE(WorkingIs(face.Pixels()));
}

TEST_F(RedEyeDlgTest, TheWheelAndTheKeysSetTheBrushSizeWithinItsRange)
{
    Wheel(240);
    EXPECT_EQ(dialog->SizeSlider()->value(), 24);
    EXPECT_EQ(dialog->SizeLabel()->text(), QStringLiteral("Brush size: 23"));
    EXPECT_EQ(Control()->Tool()->brush.size, 24);
    Wheel(-120);
    EXPECT_EQ(dialog->SizeSlider()->value(), 22);
    for (int i = 0; i < 20; ++i)
        Wheel(-120);
    EXPECT_EQ(dialog->SizeSlider()->value(), 4);
    QTest::keyClick(dialog->SizeSlider(), Qt::Key_End);
    EXPECT_EQ(Control()->Tool()->brush.size, 100);
    QTest::keyClick(dialog->SharpnessSlider(), Qt::Key_PageUp);
    EXPECT_EQ(dialog->SharpnessLabel()->text(), QStringLiteral("Brush sharpness: 60"));
    EXPECT_EQ(Control()->Tool()->brush.sharpness, 60);
    QTest::keyClick(dialog->EyeColourSlider(), Qt::Key_Home);
    EXPECT_DOUBLE_EQ(Control()->Tool()->brush.k, 0.0);
}

TEST_F(RedEyeDlgTest, PickingTakesTheShownColourAndEndsWithTheClick)
{
    Press(dialog->CustomRadio());
    EXPECT_FALSE(dialog->EyeColourSlider()->isEnabled());
    ASSERT_TRUE(dialog->PickButton()->isEnabled());
    EXPECT_TRUE(dialog->PaletteButton()->isEnabled());
    Press(dialog->PickButton());
    EXPECT_TRUE(dialog->PickButton()->isChecked());
    EXPECT_FALSE(Control()->BrushAction()->isEnabled());
    EXPECT_FALSE(Control()->DragAction()->isEnabled());
    Click(WindowPointOf(20, 145)); // the green band
    EXPECT_EQ(dialog->Swatch()->Colour(), 0x00C800u);
    EXPECT_EQ(Control()->Tool()->brush.customColour, 0x00C800u);
    EXPECT_FALSE(dialog->PickButton()->isChecked());
    EXPECT_TRUE(Control()->BrushAction()->isEnabled());
    EXPECT_TRUE(WorkingIs(face.Pixels()));
    // Back to the eye colour: the pick buttons are off again.
    Press(dialog->AutomaticRadio());
    EXPECT_FALSE(dialog->PickButton()->isEnabled());
    EXPECT_TRUE(dialog->EyeColourSlider()->isEnabled());
}

TEST_F(RedEyeDlgTest, TheColourDialogSetsTheSwatchAndTheBrushPaintsIt)
{
    Press(dialog->CustomRadio());
    choosers.answers = {0x3264C8}; // red 200, green 100, blue 50
    Press(dialog->PaletteButton());
    ASSERT_EQ(choosers.asked.size(), 1u);
    EXPECT_EQ(choosers.asked[0], 0u);
    EXPECT_EQ(dialog->Swatch()->Colour(), 0x3264C8u);
    // Cancelled: the colour stays.
    Press(dialog->PaletteButton());
    EXPECT_EQ(choosers.asked.back(), 0x3264C8u);
    EXPECT_EQ(dialog->Swatch()->Colour(), 0x3264C8u);

    Press(Button(Control()->BrushAction()));
    QTest::keyClick(dialog->SharpnessSlider(), Qt::Key_End); // the whole disc
    Click(WindowPointOf(100, 75));
    const uint8_t* centre = dialog->Working() + 75 * DibStride(200) + 100 * 3;
    ColourPicture expected = face;
    RedEyeBrush brush;
    brush.SetFromSliders(20, 100, 100);
    brush.customMode = true;
    brush.customColour = 0x3264C8;
    const std::array<uint8_t, 3> target = brush.CustomTarget(expected.Pixels() + 75 * DibStride(200) + 300);
    EXPECT_EQ(centre[0], target[0]);
    EXPECT_EQ(centre[1], target[1]);
    EXPECT_EQ(centre[2], target[2]);
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("redeyedlg-custom")));
}

TEST_F(RedEyeDlgTest, OkHandsOverTheStrokesAndCancelNothing)
{
    Press(Button(Control()->BrushAction()));
    Click(WindowPointOf(100, 75));
    const std::vector<uint8_t> stroked(dialog->Working(), dialog->Working() + document.byteSize);
    Press(dialog->OkButton());
    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    ASSERT_TRUE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(header.biWidth, 200);
    EXPECT_EQ(header.biHeight, 150);
    EXPECT_EQ(std::memcmp(pixels, stroked.data(), stroked.size()), 0);
    EXPECT_EQ(std::memcmp(document.Pixels(), face.Pixels(), document.byteSize), 0);
    ImageRecord::FreePacked(pixels);

    dialog = std::make_unique<CRedEyeDlg>(document, choosers, nullptr);
    dialog->show();
    Press(Button(Control()->BrushAction()));
    Click(WindowPointOf(100, 75));
    Press(dialog->CancelButton());
    pixels = nullptr;
    EXPECT_FALSE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(std::memcmp(document.Pixels(), face.Pixels(), document.byteSize), 0);
}

TEST_F(RedEyeDlgTest, TipsOpenBesideTheDialogAndCloseWithTheSameButton)
{
    Press(dialog->TipsButton());
    ASSERT_NE(dialog->Tips(), nullptr);
    EXPECT_TRUE(dialog->Tips()->isVisible());
    EXPECT_EQ(dialog->Tips()->pos(), dialog->frameGeometry().topRight());
    EXPECT_TRUE(saveBothSchemes(*dialog->Tips(), QStringLiteral("redeyetips")));
    Press(dialog->TipsButton());
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog->Tips(), nullptr);
}

} // namespace
