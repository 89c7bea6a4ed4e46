// SPDX-License-Identifier: GPL-2.0-or-later
// The view inside the real main window: zoom by the keypad keys, a resize chosen in the real
// dialog and stopped by Esc, and the window closed while a resize runs.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "tests/lumivex/framefixture.h"

namespace
{
// Resizes to percent of the photo in the resize dialog, as the user types it, then OK.
void ResizeTo(QWidget& dialog, const QString& percent)
{
    for (QLineEdit* entry : dialog.findChildren<QLineEdit*>()) {
        if (entry->accessibleName() != QStringLiteral("Width"))
            continue;
        entry->setFocus();
        entry->selectAll();
        QTest::keyClicks(entry, percent);
    }
    QTest::keyClick(&dialog, Qt::Key_Return);
}
} // namespace

class ViewFrameTest : public FrameTest
{
protected:
    // The window manager gives the window back its activation once the dialog has gone.
    void Reactivate() { QApplication::setActiveWindow(frame.get()); }
    CLumivexView& View() { return *frame->findChild<CLumivexView*>(); }
    QString Scale() { return frame->StatusBar()->PaneText(2); }
};

TEST_F(ViewFrameTest, KeypadKeysStepTheZoomAndTheStatusBarFollows)
{
    start({quarters(QStringLiteral("q.png"))});
    key(Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_EQ(Scale(), QStringLiteral("Scale 100%"));
    key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Scale(), QStringLiteral("Scale 125%"));
    key(Qt::Key_Minus, Qt::KeypadModifier);
    key(Qt::Key_Minus, Qt::KeypadModifier);
    key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(Scale(), QStringLiteral("Scale 50%"));
    key(Qt::Key_Minus, Qt::KeypadModifier);
    // Halving would go below a fifth of the opening zoom: it stays.
    key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(View().Zoom().Zoom(), 0.25);
    key(Qt::Key_Plus, Qt::KeypadModifier); // doubles below twice the step
    EXPECT_DOUBLE_EQ(View().Zoom().Zoom(), 0.5);
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    const ViewZoom::Rect rect = View().ImageRect();
    EXPECT_LE(rect.right - rect.left, View().viewport()->width());
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(ViewFrameTest, EscStopsAResizeChosenInTheDialog)
{
    start({quarters(QStringLiteral("q.png"))});
    onNextDialog([](QWidget& dialog) { ResizeTo(dialog, QStringLiteral("2500")); });
    key(Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(View().IsOperationRunning());
    Reactivate();
    EXPECT_EQ(QApplication::focusWidget(), &View());
    EXPECT_TRUE(frame->StatusBar()->ProgressShown());
    // Another edit waits.
    key(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts.value(0), loadLumivexString(IDS_LX_BUSY));
    key(Qt::Key_Escape);
    waitForEdit();
    EXPECT_EQ(doc().Current().widthPixels, 320);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_FALSE(frame->StatusBar()->ProgressShown());
    EXPECT_FALSE(frame->windowTitle().endsWith(QStringLiteral(" *")));

    // Without Esc the same resize is applied.
    onNextDialog([](QWidget& dialog) { ResizeTo(dialog, QStringLiteral("300")); });
    key(Qt::Key_I, Qt::ControlModifier);
    waitForEdit();
    EXPECT_EQ(doc().Current().widthPixels, 960);
    EXPECT_EQ(doc().Current().heightPixels, 480);
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(ViewFrameTest, ClosingDuringAResizeExitsWithoutApplyingIt)
{
    start({quarters(QStringLiteral("q.png"))});
    onNextDialog([](QWidget& dialog) { ResizeTo(dialog, QStringLiteral("2500")); });
    key(Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(View().IsOperationRunning());
    // Not modified: the window closes without a question.
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(View().IsOperationRunning());
    QTest::qWait(50);
    EXPECT_EQ(doc().Current().widthPixels, 320);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_TRUE(prompter.texts.isEmpty());
}
