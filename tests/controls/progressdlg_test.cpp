// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

#include "controls/myprogressctl.h"
#include "controls/progressdlg.h"
#include "plugins/gallivex_impl.h"
#include "shell/gvapp.h"
#include "tests/support/testenv.h"

namespace {

constexpr int32_t Background = 9413023;

void pressEscape(QWidget& widget, bool posted)
{
    if (posted) {
        QCoreApplication::postEvent(
            &widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    } else {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &escape);
    }
}

} // namespace

TEST(ProgressDlg, StartsAsTheOperationsExpectIt)
{
    CProgressDlg dialog(QImage(), Background);
    EXPECT_EQ(dialog.windowTitle(), "Generating album...");
    EXPECT_EQ(dialog.StatusText(), "Starting...");
    EXPECT_FALSE(dialog.IsCancelled());
    EXPECT_FALSE(dialog.isModal());
    CMyProgressCtl& bar = dialog.Bar();
    EXPECT_EQ(bar.Minimum(), 0);
    EXPECT_EQ(bar.Maximum(), 100);
    EXPECT_EQ(bar.GetPos(), 0);
    EXPECT_EQ(bar.StartColor(), 3381759);
    EXPECT_EQ(bar.EndColor(), 3381759);
    EXPECT_EQ(bar.TextColor(), 0);
    EXPECT_EQ(bar.BkColor(), Background);
    EXPECT_TRUE(bar.ShowsPercent());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(159, 161, 143));
    EXPECT_EQ(dialog.CancelButton().text(), "Cancel");
}

TEST(ProgressDlg, TheCancelButtonShowsTheSkinPicture)
{
    QImage strip(40, 20, QImage::Format_RGB32); // two states side by side
    strip.fill(Qt::darkGreen);
    CProgressDlg dialog(strip, Background);
    QPushButton& cancel = dialog.CancelButton();
    EXPECT_TRUE(cancel.text().isEmpty());
    EXPECT_FALSE(cancel.icon().isNull());
    EXPECT_EQ(cancel.size(), QSize(20, 20));
    EXPECT_EQ(cancel.toolTip(), "Cancel");
}

TEST(ProgressDlg, ReportsReachTheWindow)
{
    CProgressDlg dialog(QImage(), Background);
    Progress& progress = dialog;
    progress.setTitle("Saving...");
    progress.setPosition(40);
    progress.setText("Trip.gvp");
    EXPECT_EQ(dialog.windowTitle(), "Saving...");
    EXPECT_EQ(dialog.Bar().GetPos(), 40);
    EXPECT_EQ(dialog.StatusText(), "Trip.gvp");
    EXPECT_FALSE(progress.pump());
}

TEST(ProgressDlg, CancelSetsTheFlagAndHidesTheWindow)
{
    const struct {
        const char* how;
        void (*press)(CProgressDlg&);
    } ways[] = {
        {"button", [](CProgressDlg& d) { d.CancelButton().click(); }},
        {"escape", [](CProgressDlg& d) { pressEscape(d, false); }},
        {"close", [](CProgressDlg& d) { d.close(); }},
    };
    for (const auto& way : ways) {
        CProgressDlg dialog(QImage(), Background);
        dialog.show();
        ASSERT_TRUE(dialog.isVisible()) << way.how;
        way.press(dialog);
        EXPECT_TRUE(dialog.IsCancelled()) << way.how;
        EXPECT_FALSE(dialog.isVisible()) << way.how;
        EXPECT_TRUE(dialog.pump()) << way.how;
    }
}

TEST(ProgressDlg, ThePumpHandlesWhatIsWaiting)
{
    CProgressDlg dialog(QImage(), Background);
    dialog.show();
    pressEscape(dialog, true);
    EXPECT_FALSE(dialog.IsCancelled()); // nothing is handled until the operation pumps
    EXPECT_TRUE(dialog.pump());
    EXPECT_FALSE(dialog.isVisible());
}

// The window as the host shows it during a real plug-in's generation.
class ProgressWindowGeneration : public ::testing::Test {
protected:
    void SetUp() override
    {
        AlbumProject& album = host.Album();
        album.PluginManager().SetPluginFolders(
            {installTestPlugins(plugins.path(), {"gvtest_probe"})});
        ASSERT_TRUE(album.Initialise());
        ASSERT_TRUE(album.ChooseTemplate(0, 7));
        album.SetDestination(work.file("album").toUtf8().constData());
        qputenv("GVPROBE_SCRIPT", work.write("script.txt",
                                              "progress\t30\tPages\nprogress\t60\tPictures\n")
                                      .toUtf8());
        qputenv("GVPROBE_REPORT", work.file("report.txt").toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("GVPROBE_SCRIPT");
        qunsetenv("GVPROBE_REPORT");
    }
    // Shows a window per operation; escape presses Esc on it before the plug-in starts.
    void showWindows(bool escape)
    {
        host.Album().SetProgressFactory([this, escape]() -> std::unique_ptr<Progress> {
            auto dialog = std::make_unique<CProgressDlg>(QImage(), Background);
            dialog->show();
            title = dialog->windowTitle();
            if (escape)
                pressEscape(*dialog, true);
            return dialog;
        });
    }
    QByteArray report()
    {
        QFile file(work.file("report.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    SettingsSandbox sandbox;
    TestFolder plugins;
    TestFolder work;
    CGallivexImpl host;
    QString title;
};

TEST_F(ProgressWindowGeneration, EscapeStopsThePluginAtItsNextReport)
{
    showWindows(true);
    EXPECT_EQ(host.Generate(), GV_CANCELLED);
    EXPECT_EQ(report(), "1\n");
    EXPECT_EQ(title, "Generating album...");
    EXPECT_FALSE(host.Album().IsGenerated());
    EXPECT_EQ(host.Album().ActiveProgress(), nullptr);
}

TEST_F(ProgressWindowGeneration, AnUncancelledRunCompletes)
{
    showWindows(false);
    EXPECT_EQ(host.Generate(), GV_OK);
    EXPECT_EQ(report(), "0\n0\n");
    EXPECT_TRUE(host.Album().IsGenerated());
    EXPECT_EQ(host.Album().ActiveProgress(), nullptr);
}

TEST(ProgressDlgInTheApplication, OperationsShowTheSkinnedWindowOverTheMainWindow)
{
    SettingsSandbox sandbox;
    TestFolder program;
    QImage strip(60, 24, QImage::Format_RGB32); // the skin's two-state Cancel picture
    strip.fill(Qt::red);
    QDir().mkpath(program.file("graphics"));
    ASSERT_TRUE(strip.save(program.file("graphics/cancel.gif"), "PNG"));
    ScriptedPrompter prompter;
    CGVApp app(prompter, program.path());
    EXPECT_EQ(&app.Host().Album(), &app.Album());
    QWidget mainWindow;
    app.UseProgressWindows(&mainWindow);

    Progress& progress = app.Album().BeginProgress("Saving...");
    auto* dialog = dynamic_cast<CProgressDlg*>(&progress);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Saving...");
    EXPECT_EQ(dialog->parentWidget(), &mainWindow);
    EXPECT_EQ(dialog->Bar().BkColor(), app.GetSkinColor(0));
    EXPECT_EQ(dialog->CancelButton().size(), QSize(30, 24));
    const QPointer<CProgressDlg> watch(dialog);
    app.Album().EndProgress();
    EXPECT_TRUE(watch.isNull());
}
