// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "controls/imagebutton.h"
#include "controls/skinhooks.h"
#include "controls/tipdlg.h"
#include "controls/tipfile.h"
#include "platform/settings.h"
#include "tests/controls/controlsfixture.h"
#include "tests/support/testenv.h"

namespace
{

const QByteArray ThreeTips = "; notes for translators\n"
                             "First tip\n"
                             " indented continuation, never shown\n"
                             "\tso is this\n"
                             "\n"
                             "Second tip\n"
                             ";Second note\n"
                             "Third tip\n";

QStringList readTips(TipFile& file, int count)
{
    QStringList tips;
    for (int i = 0; i < count; ++i)
        tips << file.next();
    return tips;
}

} // namespace

TEST(TipFileTest, NotesAreSkippedAndTheFirstTipFollowsTheLast)
{
    TipFile file;
    ASSERT_TRUE(file.open(ThreeTips));
    EXPECT_EQ(readTips(file, 5), QStringList({"First tip\n", "Second tip\n", "Third tip\n",
                                              "First tip\n", "Second tip\n"}));
    EXPECT_EQ(file.status(), TipFile::Status::Ok);
}

TEST(TipFileTest, APositionContinuesWithTheTipAfterIt)
{
    TipFile first;
    ASSERT_TRUE(first.open(ThreeTips));
    first.next();
    first.next();
    const qint64 stored = first.position();
    TipFile again;
    ASSERT_TRUE(again.open(ThreeTips));
    ASSERT_TRUE(again.seek(stored));
    EXPECT_EQ(again.next(), "Third tip\n");
    // A position inside a line (older tips) starts at the next whole tip.
    ASSERT_TRUE(again.seek(ThreeTips.indexOf("First tip") + 3));
    EXPECT_EQ(again.next(), "Second tip\n");
    // Beyond the end wraps to the start; before the start is an error.
    ASSERT_TRUE(again.seek(ThreeTips.size() + 50));
    EXPECT_EQ(again.next(), "First tip\n");
    EXPECT_FALSE(again.seek(-1));
    EXPECT_EQ(again.status(), TipFile::Status::ReadError);
}

TEST(TipFileTest, FileOfNotesOnlyStopsWithAnError)
{
    TipFile file;
    ASSERT_TRUE(file.open("; nothing\n\n  to say\n"));
    EXPECT_EQ(file.next(), QString());
    EXPECT_EQ(file.status(), TipFile::Status::ReadError);
}

TEST(TipFileTest, LongLinesAreReadInParts)
{
    const QByteArray longTip = QByteArray(1500, 'x') + "\n";
    TipFile file;
    ASSERT_TRUE(file.open(longTip));
    EXPECT_EQ(file.next().size(), TipFile::LineLimit - 1);
    EXPECT_EQ(file.next().size(), 1500 - (TipFile::LineLimit - 1) + 1);
}

TEST(TipFileTest, ShippedTipsAreTwentyFiveShortLines)
{
    const QByteArray tips = CTipDlg::shippedTips();
    int count = 0;
    for (const QByteArray& line : tips.split('\n')) {
        if (!TipFile::isTipLine(line + "\n"))
            continue;
        ++count;
        EXPECT_LT(line.size(), TipFile::LineLimit - 1) << line.constData();
    }
    EXPECT_EQ(count, 25);
    EXPECT_TRUE(tips.contains("Ctrl+Shift+D"));
}

class TipDlgTest : public ::testing::Test
{
protected:
    SettingsSandbox sandbox;
    Settings settings;
    SkinHooksScope skin{{{184, colourStrip(QSize(76, 30), {Qt::red, Qt::green, Qt::blue})},
                         {228, colourStrip(QSize(76, 30), {Qt::red, Qt::green, Qt::blue})},
                         {208, colourStrip(QSize(170, 20), {Qt::white, Qt::black})}}};
};

TEST_F(TipDlgTest, FirstOpeningShowsTheFirstTipAndTipsAtStartUp)
{
    CTipDlg dialog(settings, nullptr, ThreeTips);
    EXPECT_EQ(dialog.tipText(), "First tip\n");
    EXPECT_TRUE(dialog.showFlag());
    EXPECT_TRUE(CTipDlg::showAtStartUp(settings));
    EXPECT_EQ(dialog.nextTipButton().size(), QSize(76, 30));
    EXPECT_FALSE(dialog.showTipButton().hoverEnabled());
}

TEST_F(TipDlgTest, ReopeningContinuesAfterTheLastTipShown)
{
    {
        CTipDlg dialog(settings, nullptr, ThreeTips);
        dialog.OnNextTip();
        EXPECT_EQ(dialog.tipText(), "Second tip\n");
    }
    {
        CTipDlg dialog(settings, nullptr, ThreeTips);
        EXPECT_EQ(dialog.tipText(), "Third tip\n");
    }
    CTipDlg dialog(settings, nullptr, ThreeTips);
    EXPECT_EQ(dialog.tipText(), "First tip\n");
}

TEST_F(TipDlgTest, ShowTipCheckIsStoredOnNextAndDone)
{
    CTipDlg dialog(settings, nullptr, ThreeTips);
    dialog.showTipButton().click();
    EXPECT_FALSE(dialog.showFlag());
    dialog.OnNextTip();
    EXPECT_EQ(settings.getInt("Tip", "StartUp", -1), 1);
    dialog.showTipButton().click();
    dialog.OnDone();
    EXPECT_EQ(settings.getInt("Tip", "StartUp", -1), 0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    settings.writeInt("Tip", "StartUp", 1);
    CTipDlg off(settings, nullptr, ThreeTips);
    EXPECT_FALSE(off.showFlag());
    EXPECT_EQ(off.showTipButton().GetCheck(), 0);
    EXPECT_FALSE(CTipDlg::showAtStartUp(settings));
}

TEST_F(TipDlgTest, ProblemsWithTheTipsAreShownInsteadOfATip)
{
    CTipDlg none(settings, nullptr, QByteArray());
    EXPECT_EQ(none.tipText(), "Tips file does not exist in the prescribed directory");
    EXPECT_FALSE(none.nextTipButton().isEnabled());

    settings.writeInt("Tip", "FilePos", -5);
    CTipDlg badPosition(settings, nullptr, ThreeTips);
    EXPECT_EQ(badPosition.tipText(), "Error occured during tips file reading.");

    settings.writeInt("Tip", "FilePos", 0);
    CTipDlg notesOnly(settings, nullptr, "; only notes\n");
    EXPECT_EQ(notesOnly.tipText(), "Error occured during tips file reading.");
}

TEST_F(TipDlgTest, DialogWithShippedTipsAndGeneratedSkin)
{
    SkinHooks::install(
        [](int id) {
            const char* files[] = {"next.gif", "done.gif", "showtips.gif"};
            const int ids[] = {184, 228, 208};
            for (int i = 0; i < 3; ++i)
                if (ids[i] == id)
                    return QImage(graphicsFolder() + "/" + files[i]);
            return QImage();
        },
        {});
    CTipDlg dialog(settings);
    EXPECT_FALSE(dialog.tipText().isEmpty());
    EXPECT_TRUE(dialog.doneButton().hasImage());
    EXPECT_TRUE(saveScreenshot(dialog, QStringLiteral("tipdlg")));
}
