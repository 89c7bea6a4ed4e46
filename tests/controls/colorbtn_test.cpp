// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <deque>

#include "controls/colorbtn.h"
#include "controls/skinhooks.h"
#include "platform/choosers.h"
#include "tests/controls/controlsfixture.h"

namespace
{

// Answers colour questions from a list (nothing = cancelled) and records what it was shown.
class ColourChoosers : public Choosers
{
public:
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    bool font(GVFontBlock&) override { return false; }
    std::optional<uint32_t> colour(uint32_t initial) override
    {
        shown.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<uint32_t>> answers;
    std::vector<uint32_t> shown;
};

QImage picture(CColorBtn& button)
{
    button.resize(40, 20);
    return button.grab().toImage();
}

} // namespace

TEST(ColourTest, ColorRefConvertsBothWays)
{
    EXPECT_EQ(colorFromRef(0x00123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(refFromColor(QColor(159, 161, 143)), 9413023u);
    EXPECT_EQ(refFromColor(colorFromRef(5456195)), 5456195u);
}

TEST(ColorBtnTest, ChosenColourIsKeptAndCancelChangesNothing)
{
    ColourChoosers choosers;
    choosers.answers = {0x000000FF, std::nullopt};
    CColorBtn button;
    button.setChoosers(&choosers);
    EXPECT_EQ(button.color(), 0x00FFFFFFu);
    std::vector<uint32_t> changes;
    QObject::connect(&button, &CColorBtn::colorChanged,
                     [&changes](uint32_t colour) { changes.push_back(colour); });
    button.click();
    EXPECT_EQ(button.color(), 0x000000FFu);
    button.click();
    EXPECT_EQ(button.color(), 0x000000FFu);
    EXPECT_EQ(choosers.shown, (std::vector<uint32_t>{0x00FFFFFF, 0x000000FF}));
    EXPECT_EQ(changes, (std::vector<uint32_t>{0x000000FF}));
}

TEST(ColorBtnTest, SwatchHasARaisedEdgeAndSinksWhenPressed)
{
    CColorBtn button;
    button.setColor(0x00FF0000); // blue
    QImage look = picture(button);
    EXPECT_EQ(look.pixelColor(20, 10), QColor(Qt::blue));
    EXPECT_EQ(look.pixelColor(0, 10), QColor(Qt::white));
    EXPECT_EQ(look.pixelColor(20, 0), QColor(Qt::white));
    EXPECT_EQ(look.pixelColor(39, 10), QColor(Qt::black));
    EXPECT_EQ(look.pixelColor(20, 19), QColor(Qt::black));
    EXPECT_TRUE(saveScreenshot(button, QStringLiteral("colorbtn")));
    button.setDown(true);
    look = picture(button);
    EXPECT_EQ(look.pixelColor(0, 10), QColor(Qt::black));
    EXPECT_EQ(look.pixelColor(39, 10), QColor(Qt::white));
}

TEST(ColorBtnTest, DisabledSwatchIsLightGrey)
{
    CColorBtn button;
    button.setColor(0x0000FF00);
    button.setEnabled(false);
    EXPECT_EQ(picture(button).pixelColor(20, 10), QColor(192, 192, 192));
}
