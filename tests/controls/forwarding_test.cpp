// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "controls/commandevent.h"
#include "controls/flatscrollbar.h"
#include "controls/imagebutton.h"
#include "controls/maskstatic.h"
#include "controls/mydlg.h"
#include "controls/myscrollbar.h"
#include "tests/controls/controlsfixture.h"

namespace
{

class CommandWatcher : public QWidget
{
public:
    std::vector<int> commands;
    std::vector<int> keys;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == CommandEvent::Type)
            commands.push_back(static_cast<CommandEvent*>(event)->controlId());
        if (event->type() == QEvent::KeyRelease)
            keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return QWidget::event(event);
    }
};

} // namespace

TEST(ForwardingTest, DialogPassesCommandsAndKeysUpOnlyWhenAsked)
{
    CommandWatcher page;
    auto* dialog = new CMyDlg(&page);
    dialog->setWindowFlags(Qt::Widget);
    auto* button =
        new CImageButton(colourStrip(QSize(20, 20), {Qt::red, Qt::blue}), 2, dialog, 1086);
    auto* plain = new QPushButton(dialog);
    plain->setProperty("controlId", 1022);
    dialog->setForwarding(true);
    page.show();
    QApplication::processEvents();
    button->click();
    plain->click();
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(dialog, &release);
    QApplication::processEvents();
    EXPECT_EQ(page.commands, (std::vector<int>{1086, 1022}));
    EXPECT_EQ(page.keys, (std::vector<int>{Qt::Key_F5}));

    dialog->setForwarding(false);
    button->click();
    QApplication::processEvents();
    EXPECT_EQ(page.commands.size(), 2u);
}

TEST(ForwardingTest, ScrollBarsReportAsTheirControls)
{
    CMyScrollBar bars;
    bars.resize(200, 100);
    std::vector<std::pair<int, int>> horizontal, vertical;
    QObject::connect(&bars, &CMyScrollBar::horizontalScroll,
                     [&](int id, int value) { horizontal.emplace_back(id, value); });
    QObject::connect(&bars, &CMyScrollBar::verticalScroll,
                     [&](int id, int value) { vertical.emplace_back(id, value); });
    bars.horizontal().setRange(0, 10);
    bars.vertical().setRange(0, 10);
    bars.horizontal().setValue(3);
    bars.vertical().setValue(7);
    EXPECT_EQ(horizontal, (std::vector<std::pair<int, int>>{{1041, 3}}));
    EXPECT_EQ(vertical, (std::vector<std::pair<int, int>>{{1044, 7}}));
}

TEST(ForwardingTest, MaskStaticHandsTheFocusToItsField)
{
    QWidget page;
    auto* caption = new CMaskStatic(&page);
    auto* field = new QLineEdit(&page);
    caption->setFocusPolicy(Qt::StrongFocus);
    caption->setFocusBuddy(field);
    page.show();
    QApplication::setActiveWindow(&page);
    caption->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(field->hasFocus());
}

TEST(FlatScrollBarTest, AttachShowsAFlatBarAndDetachRestores)
{
    QPlainTextEdit text;
    text.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    {
        CFlatScrollBar flat;
        flat.Attach(text, Qt::Vertical);
        EXPECT_TRUE(flat.isAttached());
        EXPECT_EQ(text.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_TRUE(text.verticalScrollBar()->styleSheet().contains("16px"));
    }
    EXPECT_EQ(text.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_TRUE(text.verticalScrollBar()->styleSheet().isEmpty());
}
