// SPDX-License-Identifier: GPL-2.0-or-later
// The sharpen dialog through its real slider and buttons: the amount label, the live preview
// and the picture OK hands over.
#include <gtest/gtest.h>

#include <cstring>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "enhancer/sharpenoperation.h"
#include "enhancer/ui/previewctrl.h"
#include "enhancer/ui/sharpendlg.h"
#include "tests/lumivex/dialogshots.h"
#include "tests/lumivex/geometryfixture.h"

namespace
{

class SharpenDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadPhoto("exs-DSCN0010.jpg", photo));
        original.assign(photo.Pixels(), photo.Pixels() + photo.byteSize);
        ASSERT_TRUE(operation.Prepare(photo.header, photo.Pixels(), nullptr));
        dialog = std::make_unique<CSharpenDlg>(photo, operation, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        slider = dialog->Slider();
        slider->setFocus();
    }

    // Moves the slider to position with the keys a user has: Home, Page Up, Right.
    void slideTo(int position)
    {
        QTest::keyClick(slider, Qt::Key_Home);
        for (int i = 0; i < position / slider->pageStep(); ++i)
            QTest::keyClick(slider, Qt::Key_PageUp);
        for (int i = 0; i < position % slider->pageStep(); ++i)
            QTest::keyClick(slider, Qt::Key_Right);
        ASSERT_EQ(slider->value(), position);
    }
    QImage preview() const { return dialog->Preview()->RenderCache(); }
    QString amountText() const { return dialog->AmountLabel()->text(); }

    // The whole image through the engine alone, at amount.
    std::vector<uint8_t> engineResult(int amount)
    {
        CSharpenOperation own;
        EXPECT_TRUE(own.Prepare(photo.header, original.data(), nullptr));
        own.SetAmount(amount);
        uint8_t* result = nullptr;
        EXPECT_TRUE(own.Apply(photo.header, original.data(), photo.header, &result, nullptr,
                              nullptr));
        std::vector<uint8_t> bytes(result, result + photo.byteSize);
        ImageRecord::FreePacked(result);
        return bytes;
    }

    ImageRecord photo;
    std::vector<uint8_t> original;
    CSharpenOperation operation;
    std::unique_ptr<CSharpenDlg> dialog;
    QSlider* slider = nullptr;
};

TEST_F(SharpenDialogTest, StartsAtNoChange)
{
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 200);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(amountText(), QStringLiteral("Amount 0%"));
    ASSERT_FALSE(preview().isNull());
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("sharpen-0")));
}

TEST_F(SharpenDialogTest, TheSliderSetsTheAmountAndThePreview)
{
    const QImage unchanged = preview();
    slideTo(200);
    EXPECT_EQ(amountText(), QStringLiteral("Amount 100%"));
    const QImage sharp = preview();
    EXPECT_NE(sharp, unchanged);
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("sharpen-100")));

    slideTo(0);
    EXPECT_EQ(amountText(), QStringLiteral("Amount -40%"));
    const QImage soft = preview();
    EXPECT_NE(soft, unchanged);
    EXPECT_NE(soft, sharp);

    // The left half covers -40 to 0: 75 is a quarter of the way from the middle.
    slideTo(75);
    EXPECT_EQ(amountText(), QStringLiteral("Amount -10%"));
    // Each preview blends from the photo itself, so returning to 0 shows it unchanged.
    slideTo(100);
    EXPECT_EQ(preview(), unchanged);
}

TEST_F(SharpenDialogTest, OkHandsOverTheEngineResult)
{
    slideTo(163);
    EXPECT_EQ(operation.Amount(), 63);
    auto* box = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    ASSERT_TRUE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(header.biWidth, photo.widthPixels);
    EXPECT_EQ(header.biHeight, photo.heightPixels);
    const std::vector<uint8_t> expected = engineResult(63);
    EXPECT_EQ(std::memcmp(pixels, expected.data(), expected.size()), 0);
    ImageRecord::FreePacked(pixels);
    // The document's own pixels were never touched by the preview.
    EXPECT_EQ(std::memcmp(photo.Pixels(), original.data(), original.size()), 0);
}

TEST_F(SharpenDialogTest, EnterAcceptsFromTheSlider)
{
    slideTo(180);
    QTest::keyClick(slider, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(operation.Amount(), 80);
}

TEST_F(SharpenDialogTest, CancelLeavesThePhotoAlone)
{
    slideTo(10);
    QTest::keyClick(slider, Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(photo.Pixels(), original.data(), original.size()), 0);
}

TEST(SharpenDialogUnprepared, PreparesTheOperationItself)
{
    ImageRecord photo;
    ASSERT_TRUE(loadPhoto("exs-Canon_40D.jpg", photo));
    CSharpenOperation operation;
    CSharpenDlg dialog(photo, operation, nullptr);
    EXPECT_TRUE(operation.IsPrepared());
    auto* box = dialog.findChild<QDialogButtonBox*>();
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->isEnabled());
}

} // namespace
