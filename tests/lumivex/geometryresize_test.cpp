// SPDX-License-Identifier: GPL-2.0-or-later
// The resize dialog through its real controls: typing into the entries, choosing the unit in
// the combo with the keyboard, the lock check box and the OK button.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "enhancer/affinetransform.h"
#include "enhancer/ui/resizedlg.h"
#include "tests/lumivex/dialogshots.h"
#include "tests/lumivex/geometryfixture.h"
#include "tests/support/testenv.h"

namespace
{

class ResizeDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadPhoto("exs-DSCN0010.jpg", photo));
        width = photo.widthPixels;
        height = photo.heightPixels;
        dialog = std::make_unique<CResizeDlg>(photo, prompter, binFolder(), nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QLineEdit* entry(const char* name)
    {
        for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
            if (edit->accessibleName() == QLatin1String(name))
                return edit;
        return nullptr;
    }
    QLabel* label(const char* name)
    {
        for (QLabel* text : dialog->findChildren<QLabel*>())
            if (text->accessibleName() == QLatin1String(name))
                return text;
        return nullptr;
    }
    // Replaces an entry's text the way a user does: select all, type.
    void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void chooseUnit(int index)
    {
        auto* combo = dialog->findChild<QComboBox*>();
        combo->setFocus();
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
    }
    void clickOk()
    {
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    ImageRecord photo;
    int width = 0, height = 0;
    ScriptedPrompter prompter;
    std::unique_ptr<CResizeDlg> dialog;
};

TEST_F(ResizeDialogTest, StartsAtTheWholeImageInPercent)
{
    EXPECT_EQ(entry("Width")->text(), QStringLiteral("100"));
    EXPECT_EQ(entry("Height")->text(), QStringLiteral("100"));
    EXPECT_EQ(label("New width")->text(), QStringLiteral("%   (%1 pixels)").arg(width));
    EXPECT_EQ(label("New height")->text(), QStringLiteral("%   (%1 pixels)").arg(height));
    EXPECT_EQ(dialog->findChild<QComboBox*>()->currentText(), QStringLiteral("Percents"));
    EXPECT_TRUE(dialog->findChild<QCheckBox*>()->isChecked());
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("resize-percent")));
}

// Non-transparent pixels of a picture: something was drawn.
int drawnPixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return drawn;
}

TEST_F(ResizeDialogTest, WidthAndHeightHaveTheirPicturesBesideThem)
{
    auto* across = dialog->findChild<QLabel*>(QStringLiteral("widthPicture"));
    auto* down = dialog->findChild<QLabel*>(QStringLiteral("heightPicture"));
    ASSERT_NE(across, nullptr);
    ASSERT_NE(down, nullptr);
    const QPixmap acrossPixmap = across->pixmap();
    const QPixmap downPixmap = down->pixmap();
    ASSERT_FALSE(acrossPixmap.isNull()) << "the width's picture was not found";
    ASSERT_FALSE(downPixmap.isNull()) << "the height's picture was not found";
    EXPECT_GT(drawnPixels(acrossPixmap), 100);
    // Two pictures, the second turned: not the same one twice.
    EXPECT_NE(acrossPixmap.toImage(), downPixmap.toImage());
    // Each on its entry's row, left of it.
    for (const auto& [picture, name] : {std::pair{across, "Width"}, std::pair{down, "Height"}}) {
        const QRect box = picture->geometry();
        const QRect field = entry(name)->geometry();
        EXPECT_LT(box.right(), field.left()) << name;
        EXPECT_TRUE(box.top() <= field.center().y() && field.center().y() <= box.bottom()) << name;
    }
}

TEST_F(ResizeDialogTest, HalfInPercentShowsPixelsAfterThreeBlanks)
{
    type(entry("Width"), QStringLiteral("50"));
    // The locked height follows as the user types.
    EXPECT_EQ(entry("Height")->text(), QStringLiteral("50"));
    EXPECT_EQ(label("New width")->text(), QStringLiteral("%   (%1 pixels)").arg(width / 2));
    EXPECT_EQ(label("New height")->text(), QStringLiteral("%   (%1 pixels)").arg(height / 2));
    clickOk();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const ResizeParameters chosen = dialog->Parameters();
    EXPECT_EQ(chosen.newWidth, width / 2);
    EXPECT_EQ(chosen.newHeight, height / 2);
    const TransformMatrix matrix = chosen.Matrix();
    EXPECT_DOUBLE_EQ(matrix.m00, double(width / 2) / width);
    EXPECT_DOUBLE_EQ(matrix.m11, double(height / 2) / height);
    EXPECT_EQ(matrix.m01, 0.0);
}

TEST_F(ResizeDialogTest, PixelsModeStartsAgainFromTheImageSize)
{
    type(entry("Width"), QStringLiteral("50"));
    chooseUnit(1);
    // Not the computed half size: the image's own.
    EXPECT_EQ(entry("Width")->text(), QString::number(width));
    EXPECT_EQ(entry("Height")->text(), QString::number(height));
    EXPECT_EQ(label("New width")->text(), QStringLiteral("pixels (100%)"));

    type(entry("Width"), QStringLiteral("320"));
    EXPECT_EQ(entry("Height")->text(), QString::number(320 * height / width));
    EXPECT_EQ(label("New width")->text(), QStringLiteral("pixels (%1%)").arg(320 * 100 / width));
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("resize-pixels")));

    // Back to percent: the entries become the share of the size chosen in pixels.
    chooseUnit(0);
    EXPECT_EQ(entry("Width")->text(), QString::number(320 * 100 / width));
    EXPECT_EQ(entry("Height")->text(), QString::number(320 * height / width * 100 / height));
}

TEST_F(ResizeDialogTest, UnlockedEntriesMoveAlone)
{
    chooseUnit(1);
    QCheckBox* lock = dialog->findChild<QCheckBox*>();
    lock->setFocus();
    QTest::keyClick(lock, Qt::Key_Space);
    ASSERT_FALSE(lock->isChecked());
    type(entry("Width"), QStringLiteral("100"));
    EXPECT_EQ(entry("Height")->text(), QString::number(height));
    type(entry("Height"), QStringLiteral("30"));
    EXPECT_EQ(entry("Width")->text(), QStringLiteral("100"));
    clickOk();
    EXPECT_EQ(dialog->Parameters().newWidth, 100);
    EXPECT_EQ(dialog->Parameters().newHeight, 30);
}

TEST_F(ResizeDialogTest, EntriesTakeDigitsOnly)
{
    type(entry("Width"), QStringLiteral("1x2-5 "));
    EXPECT_EQ(entry("Width")->text(), QStringLiteral("125"));
    EXPECT_EQ(entry("Height")->text(), QStringLiteral("125"));
}

TEST_F(ResizeDialogTest, TooLargeKeepsTheDialogOpen)
{
    chooseUnit(1);
    QCheckBox* lock = dialog->findChild<QCheckBox*>();
    QTest::mouseClick(lock, Qt::LeftButton, {}, QPoint(8, lock->height() / 2));
    ASSERT_FALSE(lock->isChecked());
    type(entry("Width"), QStringLiteral("12000"));
    type(entry("Height"), QStringLiteral("9000"));
    clickOk();
    ASSERT_EQ(prompter.texts, QStringList{QStringLiteral("Image too large.")});
    EXPECT_TRUE(dialog->isVisible());

    // Exactly at the limit is still allowed.
    type(entry("Width"), QStringLiteral("10000"));
    type(entry("Height"), QStringLiteral("10000"));
    clickOk();
    EXPECT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ResizeDialogTest, NoPixelsKeepsTheDialogOpen)
{
    type(entry("Width"), QStringLiteral("0"));
    clickOk();
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("Size of image undefined.")});
    EXPECT_TRUE(dialog->isVisible());
    // An emptied entry means no size either.
    type(entry("Width"), QString());
    EXPECT_EQ(entry("Height")->text(), QStringLiteral("0"));
    QTest::keyClick(entry("Width"), Qt::Key_Return);
    EXPECT_EQ(prompter.texts.size(), 2);
    EXPECT_TRUE(dialog->isVisible());
    // Escape leaves without a size.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST(ResizeDialogStart, AnImageWithoutSizeIsReported)
{
    ImageRecord empty;
    ScriptedPrompter prompter;
    CResizeDlg dialog(empty, prompter, binFolder(), nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < 100 && prompter.texts.isEmpty(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(prompter.texts, QStringList{QStringLiteral("Wrong initial size.")});
    // Once only, however often the dialog is shown.
    dialog.hide();
    dialog.show();
    QTest::qWait(20);
    EXPECT_EQ(prompter.texts.size(), 1);
}

} // namespace
