// SPDX-License-Identifier: GPL-2.0-or-later
// The edit dialogs opened from the main window by their keys: OK applies one edit that Undo
// takes back whole, Cancel applies none.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/sharpendlg.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "tests/lumivex/framefixture.h"

namespace
{

QPushButton* button(QWidget& dialog, const QString& text)
{
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text().remove(u'&') == text && candidate->isVisible())
            return candidate;
    }
    return nullptr;
}

// The picture's bytes, to tell whether an edit changed it.
QByteArray pixelsOf(const ImageRecord& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.Pixels()),
                      static_cast<qsizetype>(image.byteSize));
}

} // namespace

TEST_F(FrameTest, EnhanceColoursOkAppliesOneEditAndUndoTakesItBack)
{
    start({photo("exs-Nikon_D70.jpg", "nikon.jpg")});
    const QByteArray before = pixelsOf(doc().Current());
    bool shown = false;
    onNextDialog([&](QWidget& dialog) {
        shown = true;
        QSlider* slider = dialog.findChild<QSlider*>();
        ASSERT_NE(slider, nullptr);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::qWait(50);
        screenshot(dialog, QStringLiteral("frame-enhance-dialog"));
        QPushButton* ok = button(dialog, QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    key(Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(shown);
    EXPECT_NE(pixelsOf(doc().Current()), before);
    EXPECT_TRUE(doc().IsModified());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pixelsOf(doc().Current()), before);
}

TEST_F(FrameTest, CancelledDialogsLeaveThePhotoAlone)
{
    start({photo("exs-Nikon_D70.jpg", "nikon.jpg")});
    const QByteArray before = pixelsOf(doc().Current());
    for (const int letter : {Qt::Key_E, Qt::Key_H, Qt::Key_Y, Qt::Key_I}) {
        bool shown = false;
        onNextDialog([&](QWidget& dialog) {
            shown = true;
            if (QSlider* slider = dialog.findChild<QSlider*>()) {
                slider->setFocus();
                QTest::keyClick(slider, Qt::Key_PageUp);
            }
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        key(letter, Qt::ControlModifier);
        EXPECT_TRUE(shown) << letter;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(pixelsOf(doc().Current()), before);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_FALSE(frame->Action(ID_EDIT_UNDO)->isEnabled());
}

TEST_F(FrameTest, SharpenOkAppliesTheChosenAmount)
{
    start({photo("exs-Nikon_D70.jpg", "nikon.jpg")});
    const QByteArray before = pixelsOf(doc().Current());
    onNextDialog([&](QWidget& dialog) {
        auto* sharpen = qobject_cast<CSharpenDlg*>(&dialog);
        ASSERT_NE(sharpen, nullptr);
        QSlider* slider = sharpen->Slider();
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        EXPECT_EQ(sharpen->Amount(), 100);
        screenshot(dialog, QStringLiteral("frame-sharpen-dialog"));
        QTest::mouseClick(button(dialog, QStringLiteral("OK")), Qt::LeftButton);
    });
    key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_NE(pixelsOf(doc().Current()), before);
    EXPECT_FALSE(frame->StatusBar()->ProgressShown());
    EXPECT_TRUE(frame->Action(ID_EDIT_UNDO)->isEnabled());
}

TEST_F(FrameTest, ResizeRunsAsALongEditAndGivesTheChosenSize)
{
    start({quarters("big.png")});
    onNextDialog([&](QWidget& dialog) {
        QLineEdit* width = dialog.findChild<QLineEdit*>();
        ASSERT_NE(width, nullptr);
        width->setFocus();
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("50"));
        screenshot(dialog, QStringLiteral("frame-resize-dialog"));
        QTest::mouseClick(button(dialog, QStringLiteral("OK")), Qt::LeftButton);
    });
    key(Qt::Key_I, Qt::ControlModifier);
    waitForEdit();
    EXPECT_EQ(doc().Current().widthPixels, 160);
    EXPECT_EQ(doc().Current().heightPixels, 80);
    EXPECT_EQ(frame->StatusBar()->PaneText(1), QStringLiteral("160x80x24"));
    EXPECT_FALSE(frame->StatusBar()->ProgressShown());
}
