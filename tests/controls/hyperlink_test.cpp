// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "controls/hyperlink.h"
#include "tests/controls/controlsfixture.h"
#include "tests/support/testenv.h"

TEST(HyperLinkTest, ErrorTextsByCode)
{
    EXPECT_EQ(hyperlinkErrorText(2),
              "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(hyperlinkErrorText(0),
              "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(hyperlinkErrorText(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(hyperlinkErrorText(31), "Unable to open hyperlink:\n\nThere is no application "
                                      "associated\nwith the given filename extension.");
    EXPECT_EQ(hyperlinkErrorText(32),
              "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found.");
    EXPECT_EQ(hyperlinkErrorText(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(hyperlinkErrorText(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
}

TEST(HyperLinkTest, FallbackCommandIsCutAtTheDocumentPlaceholder)
{
    const QString url = QStringLiteral("https://example.org/a");
    EXPECT_EQ(hyperlinkFallbackCommand("\"/opt/web/browser\" -nohome \"%1\" -x", url),
              "\"/opt/web/browser\" -nohome  https://example.org/a");
    EXPECT_EQ(hyperlinkFallbackCommand("browser %1", url), "browser  https://example.org/a");
    EXPECT_EQ(hyperlinkFallbackCommand("browser", url), "browser https://example.org/a");
    EXPECT_EQ(hyperlinkFallbackCommand("", url), "");
}

TEST(HyperLinkTest, OpeningMarksTheLinkVisited)
{
    CHyperLink link;
    link.setText(QStringLiteral("Vellora on the web"));
    link.SetURL(QStringLiteral("https://www.vellora.example/"));
    QStringList opened;
    link.setOpener([&opened](const QString& target) {
        opened << target;
        return 42;
    });
    EXPECT_EQ(link.textColor(), CHyperLink::LinkColor);
    link.resize(link.sizeHint());
    EXPECT_TRUE(saveScreenshot(link, QStringLiteral("hyperlink")));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&link, &release);
    EXPECT_EQ(opened, QStringList({"https://www.vellora.example/"}));
    EXPECT_TRUE(link.isVisited());
    EXPECT_EQ(link.textColor(), CHyperLink::VisitedColor);
    EXPECT_EQ(link.palette().color(QPalette::WindowText), CHyperLink::VisitedColor);
}

TEST(HyperLinkTest, HoverTakesTheHighlightColour)
{
    CHyperLink link;
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&link, &enter);
    EXPECT_TRUE(link.isOver());
    EXPECT_EQ(link.textColor(), link.palette().color(QPalette::Highlight));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.isOver());
    EXPECT_EQ(link.textColor(), CHyperLink::LinkColor);
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
}

TEST(HyperLinkTest, StaysReadableOnADarkWindow)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::Link, QColor(0, 0, 255)); // a palette that kept the dark blue
    CHyperLink link;
    link.setPalette(dark);
    EXPECT_EQ(link.textColor(), CHyperLink::DarkLinkColor);
    dark.setColor(QPalette::Link, QColor(120, 200, 255));
    link.setPalette(dark);
    EXPECT_EQ(link.textColor(), QColor(120, 200, 255));
    EXPECT_GE(link.textColor().lightness(), 128);
}

TEST(HyperLinkTest, FailureTellsTheUserWhy)
{
    CHyperLink link;
    ScriptedPrompter prompter;
    link.setPrompter(&prompter);
    link.SetURL(QStringLiteral("nowhere"));
    link.setOpener([](const QString&) { return 3; });
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isVisited());
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0], "Unable to open hyperlink:\n\nThe specified path was not found.");
}

TEST(HyperLinkTest, FailureFallsBackToTheWebPageProgram)
{
    TestFolder folder;
    CHyperLink link;
    ScriptedPrompter prompter;
    link.setPrompter(&prompter);
    link.SetURL(folder.file("made-by-fallback"));
    link.setOpener([](const QString&) { return 31; });
    link.setClassCommandSource([] { return QStringLiteral("touch \"%1\""); });
    EXPECT_TRUE(link.open());
    EXPECT_TRUE(link.isVisited());
    EXPECT_TRUE(prompter.texts.isEmpty());
}
