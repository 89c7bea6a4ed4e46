// SPDX-License-Identifier: GPL-2.0-or-later
// Scanning into the image list page through SANE's virtual devices, driven as the user does:
// the Import button, the device list, the scan settings and the progress window's Cancel.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

#include "controls/myprogressctl.h"
#include "controls/progressdlg.h"
#include "images/scanoptionsdlg.h"
#include "images/sourcelistdlg.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "tests/shell/imagepagefixture.h"
#include "tests/support/saneconfig.h"

namespace
{

// Every test of this program shares SANE's configuration folder.
const bool saneFolderPointed = (SaneConfig::folder(), true);

QByteArray slowScans()
{
    return SaneConfig::smallColourScans() + SaneConfig::slowReads();
}

void press(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) {
            button->click();
            return;
        }
    ADD_FAILURE() << "no button " << qPrintable(text);
}

CProgressDlg* shownProgress()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* progress = dynamic_cast<CProgressDlg*>(window); progress && progress->isVisible())
            return progress;
    return nullptr;
}

class ImagePageScanTest : public ImagePageTest
{
protected:
    // Acts on the next modal dialog of type T as the user would, once it is on the screen.
    template <class T> void whenShown(std::function<void(T&)> act)
    {
        auto poll = std::make_unique<QTimer>();
        QTimer* timer = poll.get();
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer->stop();
                act(*dialog);
            }
        });
        timer->start(5);
        polls.push_back(std::move(poll));
    }
    // The user picks the first device and sets the scan settings with settle.
    void scanWith(std::function<void(CScanOptionsDlg&)> settle)
    {
        whenShown<CSourceListDlg>([](CSourceListDlg& list) { press(list, loadString(IDS_OK)); });
        whenShown<CScanOptionsDlg>([settle](CScanOptionsDlg& dialog) {
            settle(dialog);
            press(dialog, loadString(IDS_SCAN_BUTTON));
        });
        QAbstractButton* import = page().Button(CAddImageDlg::ID_IMPORT);
        ASSERT_TRUE(import && import->isEnabled());
        import->click();
    }
    static void choose(CScanOptionsDlg& dialog, const char* box, const QString& value)
    {
        auto* combo = dialog.findChild<QComboBox*>(box);
        ASSERT_NE(combo, nullptr);
        ASSERT_GE(combo->findText(value), 0) << qPrintable(value);
        combo->setCurrentIndex(combo->findText(value));
    }
    int scannedFiles() const
    {
        return static_cast<int>(
            QDir(temporary.path()).entryList({QStringLiteral("FT_*")}, QDir::Files).size());
    }

    std::vector<std::unique_ptr<QTimer>> polls;
};

} // namespace

TEST_F(ImagePageScanTest, TheFeederChosenInTheSettingsGivesEveryPage)
{
    SaneConfig config;
    openPage();
    const qsizetype said = prompter.texts.size();
    scanWith([](CScanOptionsDlg& dialog) {
        choose(dialog, "source", "Automatic Document Feeder");
        choose(dialog, "mode", "Gray");
        saveScreenshot(dialog, QStringLiteral("scan-settings"));
    });
    // The test scanner's feeder holds ten sheets: every one arrives, in grey, over the whole
    // 200 mm glass at the 25 dpi the dialog offered.
    ASSERT_EQ(page().Rows().Size(), 10u);
    for (const PageImage& row : page().Rows().Rows()) {
        const QImage scan(row.path);
        EXPECT_EQ(scan.size(), QSize(196, 196)) << qPrintable(row.path);
        EXPECT_TRUE(scan.allGray()) << qPrintable(row.path);
    }
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{9});
    EXPECT_EQ(prompter.texts.size(), said);
    EXPECT_TRUE(sheet->isEnabled());

    // Remembered for this scanner: the dialog opens on the feeder in grey; cancelling it adds
    // nothing and says nothing.
    QString source, mode;
    whenShown<CSourceListDlg>([](CSourceListDlg& list) { press(list, loadString(IDS_OK)); });
    whenShown<CScanOptionsDlg>([&](CScanOptionsDlg& dialog) {
        source = dialog.findChild<QComboBox*>("source")->currentText();
        mode = dialog.findChild<QComboBox*>("mode")->currentText();
        press(dialog, loadString(IDS_CANCEL));
    });
    page().Button(CAddImageDlg::ID_IMPORT)->click();
    EXPECT_EQ(source, "Automatic Document Feeder");
    EXPECT_EQ(mode, "Gray");
    EXPECT_EQ(page().Rows().Size(), 10u);
    EXPECT_EQ(prompter.texts.size(), said);
    EXPECT_EQ(app.GetSettings().getString(scansetup::section("test:0"), "Source"),
              "Automatic Document Feeder");
}

TEST_F(ImagePageScanTest, CancelMidScanStopsAndAddsNothingHalfDone)
{
    SaneConfig config("test\n", slowScans());
    openPage();
    app.UseProgressWindows(sheet.get());
    const qsizetype said = prompter.texts.size();
    // Cancel is pressed in the progress window once the second sheet is partly read.
    bool pressed = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        CProgressDlg* progress = shownProgress();
        if (!pressed && progress && page().Rows().Size() == 1 &&
            progress->StatusText() == "Scanning page 2..." && progress->Bar().GetPos() > 0) {
            EXPECT_TRUE(progress->CancelButton().isEnabled());
            saveScreenshot(*progress, QStringLiteral("scan-progress"));
            progress->CancelButton().click();
            pressed = true;
        }
    });
    watch.start(5);
    scanWith(
        [](CScanOptionsDlg& dialog) { choose(dialog, "source", "Automatic Document Feeder"); });
    EXPECT_TRUE(pressed);
    EXPECT_EQ(page().Rows().Size(), 1u);
    EXPECT_EQ(scannedFiles(), 1);
    EXPECT_EQ(prompter.texts.size(), said);
    EXPECT_EQ(shownProgress(), nullptr);
    EXPECT_TRUE(sheet->isEnabled());
}

TEST_F(ImagePageScanTest, TheWizardIsLockedButAliveDuringASlowScan)
{
    SaneConfig config("test\n", slowScans());
    openPage();
    // A timer keeps firing while the sheet waits; Next, pressed then, does nothing.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (sheet->isEnabled())
            return;
        if (++ticks == 3) {
            sheet->PressButton(CMyPropertySheet::ID_WIZNEXT);
            next();
        }
    });
    timer.start(5);
    scanWith([](CScanOptionsDlg& dialog) { choose(dialog, "source", "Flatbed"); });
    settle();
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ImageListPage);
    EXPECT_EQ(page().Rows().Size(), 1u);
    EXPECT_TRUE(sheet->isEnabled());
}

TEST_F(ImagePageScanTest, AScanThatCannotStartIsShownInTheDevicesWords)
{
    // SANE's file reader scans /tmp/input.ppm; without that file no scan can start.
    if (QFileInfo::exists("/tmp/input.ppm"))
        GTEST_SKIP() << "/tmp/input.ppm exists, so SANE's file reader would scan it";
    SaneConfig config("pnm\n");
    openPage();
    scanWith([](CScanOptionsDlg&) {});
    EXPECT_TRUE(page().Rows().IsEmpty());
    EXPECT_EQ(scannedFiles(), 0);
    ASSERT_FALSE(prompter.texts.isEmpty());
    EXPECT_EQ(prompter.texts.last(), "The scanner or camera stopped: Invalid argument");
    EXPECT_TRUE(sheet->isEnabled());
}
