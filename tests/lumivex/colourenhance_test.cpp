// SPDX-License-Identifier: GPL-2.0-or-later
// The colour enhancement dialog driven through its sliders, radios and buttons: the preview
// follows every control, OK hands over exactly what the settings compute, Cancel nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <cstring>

#include "enhancer/enhancesettings.h"
#include "enhancer/ui/imageenhance.h"
#include "enhancer/ui/previewctrl.h"
#include "tests/lumivex/colourfixture.h"
#include "tests/lumivex/dialogshots.h"

namespace {

using Settings = EnhanceSettings;

class ImageEnhanceTest : public ::testing::Test
{
protected:
    void Open()
    {
        dialog = std::make_unique<CImageEnhance>(document, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void Key(QWidget* control, Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(control, key);
        // Slider moves are applied once the events so far have been handled.
        QCoreApplication::processEvents();
    }
    void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QColor Middle() const { return ShownAt(*dialog->Preview(), 0.5, 0.5); }

    ColourPicture photo = LoadTestPhoto("exs-nikon-e950.jpg", 320);
    ImageRecord document = RecordOf(photo);
    std::unique_ptr<CImageEnhance> dialog;
};

TEST_F(ImageEnhanceTest, OpensOnAllChannelsWithNeutralSlidersAndTheWholePicture)
{
    Open();
    EXPECT_TRUE(dialog->ChannelRadio(3)->isChecked());
    EXPECT_EQ(dialog->Label(Settings::Brightness)->text(), QStringLiteral("Brightness: 0"));
    EXPECT_EQ(dialog->Label(Settings::Contrast)->text(), QStringLiteral("Contrast: 0"));
    EXPECT_EQ(dialog->Label(Settings::Gamma)->text(), QStringLiteral("Gamma correction: 0"));
    EXPECT_EQ(dialog->AutoLevelButton()->text(), QStringLiteral("Auto levels adjustment"));
    EXPECT_EQ(dialog->Slider(0)->minimum(), -100);
    EXPECT_EQ(dialog->Slider(0)->maximum(), 100);
    EXPECT_EQ(dialog->Slider(0)->pageStep(), 10);
    EXPECT_DOUBLE_EQ(dialog->Preview()->Zoom().Zoom(), dialog->Preview()->Zoom().FitZoom());
    EXPECT_TRUE(saveBothSchemes(*dialog, QStringLiteral("imageenhance")));
}

TEST_F(ImageEnhanceTest, EachSliderChangesThePreviewAndItsLabel)
{
    Open();
    for (int kind = 0; kind < 3; ++kind) {
        const QImage before = dialog->Preview()->RenderCache();
        Key(dialog->Slider(kind), Qt::Key_PageUp, 3);
        EXPECT_EQ(dialog->Slider(kind)->value(), 30);
        EXPECT_TRUE(dialog->Label(kind)->text().endsWith(QStringLiteral(": 30")));
        EXPECT_NE(dialog->Preview()->RenderCache(), before) << kind;
    }
    // Brightness and gamma up lighten; the middle of the photo is now brighter.
    Press(dialog->ResetButton(Settings::Contrast));
    EXPECT_EQ(dialog->Slider(Settings::Contrast)->value(), 0);
    EXPECT_EQ(dialog->Label(Settings::Contrast)->text(), QStringLiteral("Contrast: 0"));
}

TEST_F(ImageEnhanceTest, MovesArrivingTogetherEndWhereTheSliderStopsAndOkTakesTheLast)
{
    document = RecordOf(ColourPicture(64, 48, Bgr{100, 100, 100}));
    Open();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(dialog->Slider(Settings::Brightness), Qt::Key_PageUp);
    QTest::keyClick(dialog->Slider(Settings::Brightness), Qt::Key_Left);
    // Pressed before the moves were shown: OK still hands over brightness 49.
    Press(dialog->OkButton());
    EXPECT_EQ(dialog->Label(Settings::Brightness)->text(), QStringLiteral("Brightness: 49"));
    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    ASSERT_TRUE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(pixels[0], 149);
    EXPECT_EQ(pixels[2], 149);
    ImageRecord::FreePacked(pixels);
}

TEST_F(ImageEnhanceTest, ResettingEverySliderShowsTheDocumentAgain)
{
    Open();
    const QImage original = dialog->Preview()->RenderCache();
    Key(dialog->Slider(Settings::Brightness), Qt::Key_End);
    EXPECT_EQ(dialog->Label(Settings::Brightness)->text(), QStringLiteral("Brightness: 100"));
    Key(dialog->Slider(Settings::Gamma), Qt::Key_Home);
    EXPECT_NE(dialog->Preview()->RenderCache(), original);
    Press(dialog->ResetButton(Settings::Brightness));
    Press(dialog->ResetButton(Settings::Gamma));
    EXPECT_EQ(dialog->Preview()->RenderCache(), original);
}

TEST_F(ImageEnhanceTest, ARedChangeShowsOnlyInRedAndAsAThirdUnderAll)
{
    document = RecordOf(ColourPicture(64, 48, Bgr{100, 100, 100}));
    Open();
    Press(dialog->ChannelRadio(2));
    ASSERT_TRUE(dialog->ChannelRadio(2)->isChecked());
    EXPECT_EQ(dialog->AutoLevelButton()->text(), QStringLiteral("Auto level adjustment"));
    Key(dialog->Slider(Settings::Brightness), Qt::Key_PageUp, 3);
    EXPECT_EQ(Middle(), QColor(130, 100, 100));
    Press(dialog->ChannelRadio(3));
    EXPECT_EQ(dialog->Slider(Settings::Brightness)->value(), 10);
    EXPECT_EQ(dialog->Label(Settings::Brightness)->text(), QStringLiteral("Brightness: 10"));
    // Back on red the slider shows the red channel's own value.
    Press(dialog->ChannelRadio(2));
    EXPECT_EQ(dialog->Slider(Settings::Brightness)->value(), 30);
}

TEST_F(ImageEnhanceTest, AutoLevelButtonTogglesItsTextAndStretchesThePicture)
{
    // Values from 20 to 220 in every channel: stretched to the full range.
    ColourPicture ramp(201, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 201; ++x)
            ramp.Set(x, y, Bgr{uint8_t(20 + x), uint8_t(20 + x), uint8_t(20 + x)});
    document = RecordOf(ramp);
    Open();
    Press(dialog->AutoLevelButton());
    EXPECT_EQ(dialog->AutoLevelButton()->text(), QStringLiteral("Undo auto levels"));
    EXPECT_EQ(dialog->Label(Settings::Brightness)->text(), QStringLiteral("Brightness: 9"));
    EXPECT_EQ(dialog->Label(Settings::Contrast)->text(), QStringLiteral("Contrast: 34"));
    EXPECT_LT(ShownAt(*dialog->Preview(), 0.0, 0.5).red(), 10);
    EXPECT_GT(ShownAt(*dialog->Preview(), 1.0, 0.5).red(), 245);
    Press(dialog->ChannelRadio(1));
    EXPECT_EQ(dialog->AutoLevelButton()->text(), QStringLiteral("Undo auto level"));
    Press(dialog->ChannelRadio(3));
    Press(dialog->AutoLevelButton());
    EXPECT_EQ(dialog->AutoLevelButton()->text(), QStringLiteral("Auto levels adjustment"));
    EXPECT_EQ(ShownAt(*dialog->Preview(), 0.0, 0.5).red(), 20);
}

TEST_F(ImageEnhanceTest, OkHandsOverExactlyWhatTheSettingsComputeAndLeavesTheDocument)
{
    Open();
    Press(dialog->ChannelRadio(0));
    Key(dialog->Slider(Settings::Contrast), Qt::Key_PageDown, 2);
    Key(dialog->Slider(Settings::Contrast), Qt::Key_Left);
    Press(dialog->AutoLevelButton());
    Press(dialog->ChannelRadio(3));
    Key(dialog->Slider(Settings::Gamma), Qt::Key_PageUp, 4);
    Press(dialog->OkButton());
    ASSERT_EQ(dialog->result(), QDialog::Accepted);

    // The same steps straight on the settings.
    Settings direct;
    ASSERT_TRUE(direct.Start(document.header, document.Pixels()));
    direct.SelectChannel(0);
    for (int position : {-10, -20, -21})
        direct.SliderChanged(Settings::Contrast, position);
    direct.ToggleAutoLevels();
    direct.SelectChannel(3);
    for (int step = 1; step <= 4; ++step)
        direct.SliderChanged(Settings::Gamma, direct.SliderPosition(Settings::Gamma) + 10);
    uint8_t* expected = direct.TakeOutput();

    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    ASSERT_TRUE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(header.biWidth, photo.header.biWidth);
    EXPECT_EQ(header.biHeight, photo.header.biHeight);
    EXPECT_EQ(std::memcmp(pixels, expected, document.byteSize), 0);
    EXPECT_NE(std::memcmp(pixels, photo.Pixels(), document.byteSize), 0);
    // The document's own pixels stay as they were; the edit is the caller's to apply.
    EXPECT_EQ(std::memcmp(document.Pixels(), photo.Pixels(), document.byteSize), 0);
    // Handed over once.
    uint8_t* again = nullptr;
    EXPECT_FALSE(dialog->TakeResult(header, again));
    ImageRecord::FreePacked(pixels);
    ImageRecord::FreePacked(expected);
}

TEST_F(ImageEnhanceTest, CancelAndEscapeHandOverNothing)
{
    Open();
    Key(dialog->Slider(Settings::Brightness), Qt::Key_PageUp);
    Press(dialog->CancelButton());
    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    EXPECT_FALSE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(pixels, nullptr);
    Open();
    Key(dialog->Slider(Settings::Brightness), Qt::Key_PageUp);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->TakeResult(header, pixels));
    EXPECT_EQ(std::memcmp(document.Pixels(), photo.Pixels(), document.byteSize), 0);
}

TEST_F(ImageEnhanceTest, AnEmptyDocumentOffersNothingToApply)
{
    document = ImageRecord();
    Open();
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    EXPECT_FALSE(dialog->Slider(0)->isEnabled());
    Press(dialog->ResetButton(0));
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    BITMAPINFOHEADER header;
    uint8_t* pixels = nullptr;
    EXPECT_FALSE(dialog->TakeResult(header, pixels));
}

} // namespace
