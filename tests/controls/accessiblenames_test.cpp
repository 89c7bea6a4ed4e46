// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "controls/accessiblenames.h"
#include "controls/imagebutton.h"
#include "tests/controls/controlsfixture.h"

namespace
{

struct CaptionCase {
    const char* caption;
    const char* spoken;
};

const CaptionCase CaptionCases[] = {
    {"&Add...", "Add"},
    {"< &Back", "Back"},
    {"&Next >", "Next"},
    {"Add &Folder ", "Add Folder"},
    {"Save && close", "Save & close"},
    {"&DWNLD", "DWNLD"},
    {"Destination folder:", "Destination folder"},
    {"Ti&p of the day\u2026", "Tip of the day"},
    {"Two\nlines", "Two lines"},
    {"", ""},
    {"&", ""},
};

} // namespace

TEST(AccessibleNames, CaptionsBecomeWhatAPersonWouldSay)
{
    for (const CaptionCase& entry : CaptionCases)
        EXPECT_EQ(accessiblenames::FromCaption(QString::fromUtf8(entry.caption)),
                  QString::fromUtf8(entry.spoken))
            << entry.caption;
}

TEST(AccessibleNames, ShownControlsAreNamedFromWhatTheyShow)
{
    accessiblenames::Install();
    accessiblenames::Install(); // once is enough, twice does no harm
    QWidget window;
    auto* add = new QPushButton(QStringLiteral("&Add..."), &window);
    auto* own = new QPushButton(QStringLiteral("x"), &window);
    own->setAccessibleName(QStringLiteral("&Remove..."));
    auto* pictured = new CImageButton(colourStrip(QSize(20, 10), {Qt::red, Qt::green}), 2,
                                      &window);
    pictured->setToolTip(QStringLiteral("Rotate &left"));
    auto* field = new QLineEdit(&window);
    window.show();
    EXPECT_EQ(add->accessibleName(), QStringLiteral("Add"));
    EXPECT_EQ(own->accessibleName(), QStringLiteral("Remove"));
    EXPECT_EQ(pictured->accessibleName(), QStringLiteral("Rotate left"));
    EXPECT_TRUE(field->accessibleName().isEmpty()); // nothing shown to name it by
    // A caption that changes while shown renames the button; a name of its own stays.
    add->setText(QStringLiteral("&Done"));
    own->setText(QStringLiteral("y"));
    add->grab(); // as the button is painted again
    own->grab();
    EXPECT_EQ(add->accessibleName(), QStringLiteral("Done"));
    EXPECT_EQ(own->accessibleName(), QStringLiteral("Remove"));
}
