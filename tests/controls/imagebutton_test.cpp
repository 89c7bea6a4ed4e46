// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>

#include "controls/buttonframe.h"
#include "controls/childfocusedevent.h"
#include "controls/imagebutton.h"
#include "controls/mycontrolscontainer.h"
#include "controls/skinhooks.h"
#include "tests/controls/controlsfixture.h"
#include "tests/support/testenv.h"

namespace
{

struct FrameCase {
    const char* name;
    ButtonLook look;
    int frame;
};

// states, extra frames, enabled, pressed, hovered, check
const FrameCase FrameCases[] = {
    {"three states at rest", {3, 0, true, false, false, 0}, 0},
    {"three states hovered", {3, 0, true, false, true, 0}, 1},
    {"three states pressed", {3, 0, true, true, true, 0}, 2},
    {"three states checked", {3, 0, true, false, false, 1}, 1},
    {"two states at rest", {2, 0, true, false, false, 0}, 0},
    {"two states hovered", {2, 0, true, false, true, 0}, 1},
    {"two states pressed", {2, 0, true, true, false, 0}, 1},
    {"two states checked", {2, 0, true, false, false, 1}, 1},
    {"one state hovered", {1, 0, true, false, true, 1}, 0},
    {"one state pressed", {1, 0, true, true, false, 0}, 0},
    {"disabled without extra frame", {3, 0, false, true, true, 1}, NoFrame},
    {"disabled with one extra frame", {3, 1, false, false, false, 0}, 3},
    {"disabled with two extra frames", {2, 2, false, false, true, 0}, 3},
    {"enabled ignores extra frames", {2, 2, true, true, false, 0}, 1},
    {"no states at all", {0, 0, true, false, false, 0}, NoFrame},
};

QColor pixel(CImageButton& button, QPoint at)
{
    return button.grab().toImage().pixelColor(at);
}

void enter(CImageButton& button)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &event);
}

void leave(CImageButton& button)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&button, &event);
}

const std::vector<QColor> ThreeColours = {Qt::red, Qt::green, Qt::blue};

} // namespace

TEST(ButtonFrameTest, FrameFollowsTheButtonsState)
{
    for (const FrameCase& c : FrameCases)
        EXPECT_EQ(selectFrame(c.look), c.frame) << c.name;
}

TEST(ButtonFrameTest, FramesSplitTheStripEvenly)
{
    EXPECT_EQ(frameSize(QSize(150, 30), 3, 0), QSize(50, 30));
    EXPECT_EQ(frameSize(QSize(200, 30), 3, 1), QSize(50, 30));
    EXPECT_EQ(frameRect(QSize(50, 30), 2), QRect(100, 0, 50, 30));
    EXPECT_EQ(focusRect(QSize(50, 30)), QRect(QPoint(2, 2), QPoint(47, 27)));
    // Strips that cannot be split give no frame rather than zero-width ones.
    EXPECT_TRUE(frameSize(QSize(2, 30), 3, 0).isEmpty());
    EXPECT_TRUE(frameSize(QSize(150, 30), 0, 0).isEmpty());
    EXPECT_TRUE(frameSize(QSize(), 2, 0).isEmpty());
}

TEST(ImageButtonTest, ThreeStateStripGivesOneFrameSizedButton)
{
    CImageButton button(colourStrip(QSize(50, 30), ThreeColours), 3);
    EXPECT_EQ(button.size(), QSize(50, 30));
    EXPECT_EQ(pixel(button, {25, 15}), QColor(Qt::red));
    enter(button);
    EXPECT_TRUE(button.isHovered());
    EXPECT_EQ(pixel(button, {25, 15}), QColor(Qt::green));
    button.setDown(true);
    EXPECT_EQ(pixel(button, {25, 15}), QColor(Qt::blue));
    button.setDown(false);
    leave(button);
    EXPECT_EQ(button.currentFrame(), 0);
}

TEST(ImageButtonTest, CheckButtonWithoutHoverShowsFrameOneOnlyWhenChecked)
{
    CImageButton button(colourStrip(QSize(20, 20), {Qt::white, Qt::black}), 2);
    button.setCheckStyle(true);
    enter(button);
    EXPECT_FALSE(button.isHovered());
    EXPECT_EQ(pixel(button, {10, 10}), QColor(Qt::white));
    button.SetCheck(1);
    EXPECT_EQ(pixel(button, {10, 10}), QColor(Qt::black));
    button.click(); // a click toggles the check
    EXPECT_EQ(button.GetCheck(), 0);
    EXPECT_EQ(pixel(button, {10, 10}), QColor(Qt::white));
    button.setChecked(true);
    EXPECT_EQ(button.GetCheck(), 1);
}

TEST(ImageButtonTest, ADisabledButtonShowsItsPictureGreyed)
{
    // Frame 0 of this strip: white with a black bar, as a caption on a button.
    QImage strip(30, 20, QImage::Format_ARGB32);
    strip.fill(Qt::red);
    QImage normal(10, 20, QImage::Format_ARGB32);
    normal.fill(Qt::white);
    for (int x = 2; x < 8; ++x)
        normal.setPixelColor(x, 10, Qt::black);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            strip.setPixelColor(x, y, normal.pixelColor(x, y));
    CImageButton plain(strip, 3);
    plain.setEnabled(false);
    const QColor paper = pixel(plain, {5, 3}), ink = pixel(plain, {5, 10});
    const QColor background(159, 161, 143);
    for (const QColor& colour : {paper, ink}) {
        EXPECT_EQ(colour.red(), colour.green());
        EXPECT_EQ(colour.green(), colour.blue());
        EXPECT_NE(colour, background);
    }
    EXPECT_GT(paper.lightness() - ink.lightness(), 100); // the caption still reads
    EXPECT_LT(paper.lightness(), 255);                   // and is faded
    EXPECT_GT(ink.lightness(), 0);
    // Transparent parts of a button over a picture stay transparent.
    QImage clear(30, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_EQ(greyedFrame(clear, background.rgb()).pixelColor(3, 3).alpha(), 0);

    CImageButton withFrame;
    withFrame.SetImage(colourStrip(QSize(30, 20), {Qt::red, Qt::green, Qt::blue, Qt::yellow}), 3,
                       false, 1);
    EXPECT_EQ(withFrame.size(), QSize(30, 20));
    withFrame.setEnabled(false);
    EXPECT_EQ(pixel(withFrame, {15, 10}), QColor(Qt::yellow));
}

TEST(ImageButtonTest, PictureComesFromTheSkinOnceAndOnlyOnce)
{
    SkinHooksScope skin({{184, colourStrip(QSize(40, 24), ThreeColours)}});
    CImageButton button(184, 3);
    EXPECT_EQ(button.size(), QSize(40, 24));
    EXPECT_TRUE(button.SetImage(colourStrip(QSize(10, 10), ThreeColours), 3));
    EXPECT_EQ(button.size(), QSize(40, 24)); // the first picture stays

    CImageButton missing(999, 3);
    EXPECT_FALSE(missing.hasImage());
    EXPECT_EQ(missing.size(), QSize(0, 0));
    CImageButton labelled;
    labelled.setText(QStringLiteral("Done"));
    EXPECT_FALSE(labelled.SetImage(999, 3));
    EXPECT_GT(labelled.width(), 20); // still usable without its picture
}

TEST(ImageButtonTest, ResourceStripsHaveTwoStates)
{
    CImageButton button;
    EXPECT_FALSE(button.SetImageFromResource(":/no/such.png"));
    // A file path is read the same way as a compiled-in resource path.
    CImageButton shipped;
    const QImage strip = colourStrip(QSize(32, 16), {Qt::red, Qt::blue});
    TestFolder folder;
    ASSERT_TRUE(strip.save(folder.file("strip.png")));
    EXPECT_TRUE(shipped.SetImageFromResource(folder.file("strip.png")));
    EXPECT_EQ(shipped.size(), QSize(32, 16));
}

TEST(ImageButtonTest, DoubleSizeStripKeepsTheButtonSize)
{
    QImage sharp = colourStrip(QSize(100, 60), ThreeColours);
    sharp.setDevicePixelRatio(2.0);
    CImageButton button(sharp, 3);
    EXPECT_EQ(button.frameSize(), QSize(50, 30));
    enter(button);
    const QImage picture = button.grab().toImage();
    EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(Qt::green));
}

TEST(ImageButtonTest, TooltipIsTheStringOfTheControlId)
{
    CImageButton tipped(colourStrip(QSize(10, 10), ThreeColours), 3, nullptr, 40701);
    EXPECT_EQ(tipped.toolTip(), QStringLiteral("Next Tip"));
    CImageButton silent(colourStrip(QSize(10, 10), ThreeColours), 3, nullptr, 7);
    EXPECT_TRUE(silent.toolTip().isEmpty());
}

namespace
{

class FocusWatcher : public QWidget
{
public:
    int lastId = 0;
    int count = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == ChildFocusedEvent::Type) {
            lastId = static_cast<ChildFocusedEvent*>(event)->controlId();
            ++count;
            return true;
        }
        return QWidget::event(event);
    }
};

} // namespace

TEST(ImageButtonTest, PaintingWithFocusTellsTheParentsUpTheChain)
{
    FocusWatcher page;
    auto* container = new CMyControlsContainer(&page);
    auto* button = new CImageButton(colourStrip(QSize(40, 20), ThreeColours), 3, container, 1233);
    std::vector<int> focused;
    QObject::connect(button, &CImageButton::focused,
                     [&focused](int id, CImageButton*) { focused.push_back(id); });
    page.show();
    QApplication::setActiveWindow(&page);
    button->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(button->hasFocus());
    button->repaint();
    ASSERT_FALSE(focused.empty());
    EXPECT_EQ(focused.back(), 1233);
    EXPECT_GE(page.count, 1);
    EXPECT_EQ(page.lastId, 1233);
    // Without the focus nothing is reported.
    const int before = page.count;
    button->clearFocus();
    button->repaint();
    EXPECT_EQ(page.count, before);
}

TEST(ImageButtonTest, GeneratedWizardButtonsLookRight)
{
    QImage back(graphicsFolder() + QStringLiteral("/back.gif"));
    ASSERT_FALSE(back.isNull());
    CImageButton button(back, 3);
    EXPECT_EQ(button.size(), QSize(76, 30));
    EXPECT_TRUE(saveScreenshot(button, QStringLiteral("back-normal")));
    enter(button);
    EXPECT_TRUE(saveScreenshot(button, QStringLiteral("back-hover")));
    button.setEnabled(false);
    EXPECT_TRUE(saveScreenshot(button, QStringLiteral("back-disabled")));
}
