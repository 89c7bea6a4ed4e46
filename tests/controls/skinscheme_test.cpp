// SPDX-License-Identifier: GPL-2.0-or-later
// The skin in both colour schemes: every text the program paints reaches a contrast of 4.5:1
// against what it is painted on, the dark pictures are drawn and taken in the dark scheme,
// and colours the user chose win over either scheme's defaults.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "controls/myprogressctl.h"
#include "controls/progressdlg.h"
#include "controls/skinhooks.h"
#include "controls/tipdlg.h"
#include "platform/settings.h"
#include "resources/skin/skinart.h"
#include "shell/skin.h"
#include "shell/skinscheme.h"
#include "tests/controls/controlsfixture.h"
#include "tests/support/testenv.h"

namespace
{

double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// Relative luminance as the accessibility guidelines define it.
double luminance(const QColor& colour)
{
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A translucent text colour as it lands on its background.
QColor over(const QColor& text, const QColor& background)
{
    const double a = text.alphaF();
    return QColor::fromRgbF(text.redF() * a + background.redF() * (1 - a),
                            text.greenF() * a + background.greenF() * (1 - a),
                            text.blueF() * a + background.blueF() * (1 - a));
}

QColor ref(int32_t colour)
{
    return colorFromRef(uint32_t(colour));
}

struct Painted {
    std::string where;
    QColor text;
    QColor background;
};

const char* const StepNames[7] = {"Welcome", "Albums", "Theme", "Photos", "Properties",
                                  "Generate", "Finish"};

// Every text of the artwork with what it is drawn on.
std::vector<Painted> artworkTexts(const SkinScheme& c)
{
    std::vector<Painted> texts = {
        {"Back, Next and Done", c.onAccent, c.button},
        {"Back, Next and Done under the mouse", c.onAccent, c.accent},
        {"Back, Next and Done pressed", c.onAccent, c.accentDark},
        {"Help and Cancel on the band", c.ink, c.band},
        {"Help and Cancel under the mouse", c.onAccent, c.button},
        {"page tools", c.ink, c.paper},
        {"page tools under the mouse", c.onAccent, c.accent},
        {"options", c.ink, c.paper},
        {"the chosen option", c.onAccent, c.accent},
        {"check box labels in dialogs", c.ink, c.band},
        {"check box labels on pages", c.ink, c.paper},
        {"labelled icons", c.ink, c.paper},
        {"the program's name in the step bar", c.onAccent, c.header},
    };
    for (int current = 0; current < 7; ++current)
        for (int step = 0; step < 7; ++step) {
            QColor text = c.onAccent;
            text.setAlpha(stepTextAlpha(step, current));
            const QColor ground = step == current ? c.accent : c.header;
            texts.push_back({std::string("step bar: ") + StepNames[step] + " while at " +
                                 StepNames[current],
                             over(text, ground), ground});
        }
    return texts;
}

// Every text the windows paint with the palette and the skin colours.
std::vector<Painted> windowTexts(const SkinScheme& c, Skin& skin)
{
    const QPalette p = c.palette();
    const QColor band = ref(skin.GetSkinColor(SKIN_BACKGROUND));
    return {
        {"page texts", p.color(QPalette::WindowText), c.paper},
        {"windows", p.color(QPalette::WindowText), p.color(QPalette::Window)},
        {"lists and fields", p.color(QPalette::Text), p.color(QPalette::Base)},
        {"alternate list rows", p.color(QPalette::Text), p.color(QPalette::AlternateBase)},
        {"push buttons", p.color(QPalette::ButtonText), p.color(QPalette::Button)},
        {"selections", p.color(QPalette::HighlightedText), p.color(QPalette::Highlight)},
        {"links on pages", p.color(QPalette::Link), c.paper},
        {"links in the about box", p.color(QPalette::Link), band},
        {"tooltips", p.color(QPalette::ToolTipText), p.color(QPalette::ToolTipBase)},
        {"placeholders", over(p.color(QPalette::PlaceholderText), p.color(QPalette::Base)),
         p.color(QPalette::Base)},
        {"dialog texts (about, properties)", ref(skin.GetSkinColor(SKIN_TEXT)), band},
        {"texts of the tip, progress and name dialogs", p.color(QPalette::WindowText), band},
        {"the tip of the day in its field", p.color(QPalette::Text), p.color(QPalette::Base)},
    };
}

class SchemeTest : public ::testing::TestWithParam<ColourScheme>
{
protected:
    SettingsSandbox sandbox;
    Settings settings;
};

std::string schemeName(const ::testing::TestParamInfo<ColourScheme>& info)
{
    return info.param == ColourScheme::Dark ? "Dark" : "Light";
}

} // namespace

TEST_P(SchemeTest, EveryTextReachesAContrastOf4_5)
{
    const SkinScheme& colours = SkinScheme::of(GetParam());
    Skin skin(settings, binFolder());
    skin.SetScheme(GetParam());
    std::vector<Painted> texts = artworkTexts(colours);
    for (Painted& painted : windowTexts(colours, skin))
        texts.push_back(painted);
    for (const Painted& painted : texts)
        EXPECT_GE(contrast(painted.text, painted.background), 4.5)
            << painted.where << ": " << painted.text.name().toStdString() << " on "
            << painted.background.name().toStdString();
}

TEST_P(SchemeTest, TheProgressPercentageIsReadableOnTheBarAndBesideIt)
{
    Skin skin(settings, binFolder());
    skin.SetScheme(GetParam());
    CProgressDlg dialog(QImage(), skin.GetSkinColor(SKIN_BACKGROUND));
    const CMyProgressCtl* bar = nullptr;
    for (QWidget* child : dialog.findChildren<QWidget*>()) // the bar has no meta-object
        if (const auto* found = dynamic_cast<const CMyProgressCtl*>(child))
            bar = found;
    ASSERT_NE(bar, nullptr);
    const QColor text = ref(bar->TextColor());
    EXPECT_GE(contrast(text, ref(bar->StartColor())), 4.5);
    EXPECT_GE(contrast(text, ref(bar->EndColor())), 4.5);
    EXPECT_GE(contrast(text, ref(bar->BkColor())), 4.5);
}

TEST_P(SchemeTest, ThePicturesOfTheSchemeAreDrawnAndTaken)
{
    const SkinScheme& colours = SkinScheme::of(GetParam());
    const QDir folder(graphicsFolder());
    for (const ArtSpec& spec : artTable()) {
        const QString file = SkinScheme::pictureFile(QString::fromLatin1(spec.file), GetParam());
        const QImage picture(folder.filePath(file));
        ASSERT_FALSE(picture.isNull()) << file.toStdString();
        EXPECT_EQ(picture.size(), QSize(spec.width * spec.states, spec.height)) << file.toStdString();
    }
    // The page area and the band of a step picture are the scheme's paper and band.
    Skin skin(settings, binFolder());
    skin.SetScheme(GetParam());
    const QImage step = skin.LoadSkinPicture(239, 1.0);
    ASSERT_FALSE(step.isNull());
    EXPECT_EQ(step.pixelColor(300, 300), colours.paper);
    EXPECT_EQ(step.pixelColor(300, 530), colours.band);
    EXPECT_EQ(ref(skin.GetSkinColor(SKIN_BACKGROUND)), colours.band);
    EXPECT_EQ(ref(skin.GetSkinColor(SKIN_TEXT)), colours.ink);
    EXPECT_EQ(ref(skin.GetSkinColor(SKIN_LABEL)), colours.label);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, SchemeTest,
                         ::testing::Values(ColourScheme::Light, ColourScheme::Dark), schemeName);

TEST(SkinSchemeTest, DarkPicturesFallBackToTheLightOnes)
{
    SettingsSandbox sandbox;
    Settings settings;
    TestFolder program;
    QFile light(graphicsFolder() + "/next.gif");
    ASSERT_TRUE(light.open(QIODevice::ReadOnly));
    program.write("graphics/next.gif", light.readAll());
    Skin skin(settings, program.path());
    skin.SetScheme(ColourScheme::Dark);
    EXPECT_FALSE(skin.LoadSkinPicture(184, 1.0).isNull()) << "an older graphics folder";
    EXPECT_EQ(SkinScheme::pictureFile("back.gif", ColourScheme::Dark), "back-dark.gif");
    EXPECT_EQ(SkinScheme::pictureFile("back.gif", ColourScheme::Light), "back.gif");
}

TEST(SkinSchemeTest, TheUsersOwnColoursWinTheBuiltInOnesFollowTheScheme)
{
    SettingsSandbox sandbox;
    Settings settings;
    // Written by an earlier light start, and the old text colour of earlier versions.
    settings.writeInt("SkinInfo", "BkgroundColor", Skin::DefaultBackground);
    settings.writeInt("SkinInfo", "TxtColor", Skin::FormerDefaultText);
    settings.writeInt("SkinInfo", "LabelColor", 0x00123456); // the user's own
    Skin skin(settings, binFolder());
    skin.SetScheme(ColourScheme::Dark);
    EXPECT_EQ(skin.GetSkinColor(SKIN_BACKGROUND), Skin::DefaultColor(SKIN_BACKGROUND, ColourScheme::Dark));
    EXPECT_EQ(skin.GetSkinColor(SKIN_TEXT), Skin::DefaultColor(SKIN_TEXT, ColourScheme::Dark));
    EXPECT_EQ(skin.GetSkinColor(SKIN_LABEL), 0x00123456);
    skin.SetScheme(ColourScheme::Light);
    EXPECT_EQ(skin.GetSkinColor(SKIN_TEXT), Skin::DefaultText) << "the faint old text is mended";
    EXPECT_EQ(skin.GetSkinColor(SKIN_LABEL), 0x00123456);
    // What is stored is left as it was: other programs of the company read it too.
    EXPECT_EQ(settings.getInt("SkinInfo", "TxtColor", 0), Skin::FormerDefaultText);
}

TEST(SkinSchemeTest, ThePaletteMatchesTheScheme)
{
    const QPalette light = SkinScheme::of(ColourScheme::Light).palette();
    const QPalette dark = SkinScheme::of(ColourScheme::Dark).palette();
    EXPECT_GT(light.color(QPalette::Base).lightness(), 200);
    EXPECT_LT(dark.color(QPalette::Base).lightness(), 60);
    EXPECT_LT(dark.color(QPalette::Window).lightness(), 60);
    EXPECT_GT(dark.color(QPalette::Text).lightness(), 200);
}

// For people to look at: the dialogs as the skin and the palette paint them in each scheme.
TEST_P(SchemeTest, SaveTheDialogsForPeopleToLookAt)
{
    Skin skin(settings, binFolder());
    skin.SetScheme(GetParam());
    const QPalette before = QApplication::palette();
    QApplication::setPalette(SkinScheme::of(GetParam()).palette());
    SkinHooks::install([&skin](int id) { return skin.LoadSkinPicture(id); },
                       [&skin](int index) { return skin.GetSkinColor(index); });
    const std::string suffix = GetParam() == ColourScheme::Dark ? "-dark" : "";
    {
        CTipDlg tip(settings);
        EXPECT_TRUE(saveScreenshot(tip, QString::fromStdString("tip" + suffix)));
        CProgressDlg progress(skin.LoadSkinPicture(188), skin.GetSkinColor(SKIN_BACKGROUND));
        progress.setPosition(40);
        progress.setText("Making the pictures of photo 4 of 10");
        EXPECT_TRUE(saveScreenshot(progress, QString::fromStdString("progress" + suffix)));
    }
    SkinHooks::install({}, {});
    QApplication::setPalette(before);
}
