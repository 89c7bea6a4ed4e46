// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "album/progress.h"
#include "images/acquiredimages.h"
#include "images/sourcelistdlg.h"
#include "images/twain.h"
#include "platform/saneimage.h"
#include "platform/stringtable.h"
#include "tests/support/saneconfig.h"
#include "tests/support/testenv.h"

namespace
{

// Every test of this program shares SANE's configuration folder.
const bool saneFolderPointed = (SaneConfig::folder(), true);

// A device user that records what the acquisition hands it.
class RecordingTwain : public CTwain
{
public:
    explicit RecordingTwain(Prompter* prompter = nullptr) : CTwain(prompter)
    {
        SetChooser([this](const std::vector<SourceInfo>& sources) {
            offered = static_cast<int>(sources.size());
            return sources.empty() ? -1 : choice;
        });
    }
    int choice = 0;   // what the scripted user picks
    int offered = -1; // how many devices were listed
    bool feeder = false;
    int count = -1;
    int closeAfter = -1; // asks to close after this many pictures
    // The device's settings to apply, if any, and what the device offered.
    std::optional<ScanSettings> settings;
    ScanChoices choices;
    // When the user presses Cancel in the progress window.
    std::function<bool(int page, int percent)> cancelWhen;
    int progressShown = 0, progressEnded = 0;
    QStringList progressTexts;
    QWidget* watched = nullptr;
    std::vector<int> states, errors, pending;
    std::vector<QImage> images;
    std::vector<bool> parentEnabled;
    using CTwain::SetCapability;

protected:
    bool NegotiateCapabilities() override
    {
        if (settings)
            return ReadDeviceChoices(choices) && ApplyDeviceSettings(*settings);
        return SetCapability(SourceManager::FeederEnabled, feeder ? 1 : 0) &&
               SetCapability(SourceManager::TransferCount, count);
    }
    // A progress window that records what it shows and cancels when told.
    class Window : public Progress
    {
    public:
        explicit Window(RecordingTwain& owner) : m_owner(owner) {}
        void setTitle(const QString&) override {}
        void setPosition(int percent) override { m_percent = percent; }
        void setText(const QString& text) override
        {
            if (m_owner.progressTexts.isEmpty() || m_owner.progressTexts.last() != text)
                m_owner.progressTexts << text;
        }
        bool pump() override
        {
            const int page = static_cast<int>(m_owner.images.size()) + 1;
            return m_owner.cancelWhen && m_owner.cancelWhen(page, m_percent);
        }

    private:
        RecordingTwain& m_owner;
        int m_percent = 0;
    };
    Progress* BeginTransferProgress() override
    {
        ++progressShown;
        window = std::make_unique<Window>(*this);
        return window.get();
    }
    void EndTransferProgress() override
    {
        ++progressEnded;
        window.reset();
    }
    std::unique_ptr<Window> window;
    void CopyImage(const QImage& image) override
    {
        images.push_back(image);
        pending.push_back(PendingCount());
        if (watched)
            parentEnabled.push_back(watched->isEnabled());
        if (static_cast<int>(images.size()) == closeAfter)
            RequestClose();
    }
    void StateChanged(int state) override { states.push_back(state); }
    void ReportError(int error) override
    {
        errors.push_back(error);
        CTwain::ReportError(error);
    }
};

TEST(TwainTest, SelectingTheTestScanner)
{
    SaneConfig config;
    RecordingTwain twain;
    ASSERT_TRUE(twain.SelectSource());
    EXPECT_EQ(twain.offered, 1);
    EXPECT_EQ(twain.Source().name, "test:0");
    EXPECT_EQ(twain.GetState(), 1);
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3, 2, 1}));
}

TEST(TwainTest, CancellingTheSelectionKeepsTheEarlierState)
{
    SaneConfig config;
    RecordingTwain twain;
    twain.choice = -1;
    EXPECT_FALSE(twain.SelectSource());
    EXPECT_EQ(twain.GetState(), 1);
    EXPECT_TRUE(twain.Source().name.isEmpty());
    EXPECT_TRUE(twain.errors.empty());
}

TEST(TwainTest, AcquiringOnePicture)
{
    SaneConfig config;
    QWidget window;
    RecordingTwain twain;
    twain.watched = &window;
    ASSERT_TRUE(twain.SelectSource());
    twain.states.clear();
    ASSERT_TRUE(twain.Acquire(&window));
    ASSERT_EQ(twain.images.size(), 1u);
    EXPECT_EQ(twain.images[0].size(), QSize(40, 30));
    EXPECT_EQ(twain.pending, (std::vector<int>{0}));
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3, 4, 5, 6, 7, 5, 4, 3, 2, 1}));
    EXPECT_EQ(twain.parentEnabled, (std::vector<bool>{false}));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(twain.errors.empty());
}

TEST(TwainTest, AcquiringThreePicturesFromTheFeeder)
{
    SaneConfig config;
    RecordingTwain twain;
    twain.feeder = true;
    twain.count = 3;
    ASSERT_TRUE(twain.SelectSource());
    twain.states.clear();
    ASSERT_TRUE(twain.Acquire());
    ASSERT_EQ(twain.images.size(), 3u);
    for (const QImage& image : twain.images)
        EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(twain.pending, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3, 4, 5, 6, 7, 6, 7, 6, 7, 5, 4, 3, 2, 1}));
}

TEST(TwainTest, AnEmptyingFeederEndsTheTransfers)
{
    SaneConfig config;
    RecordingTwain twain;
    twain.feeder = true; // all it has: the test scanner's feeder holds ten sheets
    ASSERT_TRUE(twain.SelectSource());
    ASSERT_TRUE(twain.Acquire());
    EXPECT_EQ(twain.images.size(), 10u);
    EXPECT_EQ(twain.pending.back(), 0);
    EXPECT_EQ(twain.pending.front(), -1); // the count is unknown while sheets are left
    EXPECT_EQ(twain.GetState(), 1);
}

TEST(TwainTest, ClosingDuringTransfersDropsThePendingPictures)
{
    SaneConfig config;
    RecordingTwain twain;
    twain.feeder = true;
    twain.count = 5;
    twain.closeAfter = 2;
    ASSERT_TRUE(twain.SelectSource());
    twain.states.clear();
    ASSERT_TRUE(twain.Acquire());
    EXPECT_EQ(twain.images.size(), 2u);
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3, 4, 5, 6, 7, 6, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(TwainTest, PicturesThatBreakOffAreSkipped)
{
    SaneConfig config("test\n", SaneConfig::smallColourScans() +
                                    "read-status-code \"SANE_STATUS_IO_ERROR\"\n");
    RecordingTwain twain;
    twain.feeder = true;
    twain.count = 2;
    ASSERT_TRUE(twain.SelectSource());
    twain.states.clear();
    ASSERT_TRUE(twain.Acquire());
    EXPECT_TRUE(twain.images.empty());
    // Both pictures were tried and ended; the connection came down as usual.
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3, 4, 5, 6, 7, 6, 7, 5, 4, 3, 2, 1}));
    // The lost pictures are not passed over in silence: the device's words say why.
    EXPECT_EQ(twain.errors, (std::vector<int>{CTwain::TransferError}));
    EXPECT_EQ(SourceManager::conditionText(twain.ErrorCondition()), "Error during device I/O");
}

TEST(TwainTest, AMachineWithoutDevicesOffersNone)
{
    SaneConfig config("");
    ScriptedPrompter prompter;
    RecordingTwain twain(&prompter);
    EXPECT_FALSE(twain.SelectSource());
    EXPECT_EQ(twain.offered, 0);
    EXPECT_EQ(twain.GetState(), 1);
    // Without a chosen device nothing can be opened.
    EXPECT_FALSE(twain.Acquire());
    EXPECT_EQ(twain.errors, (std::vector<int>{CTwain::SourceError}));
    EXPECT_EQ(prompter.texts, QStringList{loadString(IDS_TWAIN_ERROR_FIRST + 1)});
    EXPECT_EQ(twain.GetState(), 1);
    EXPECT_TRUE(twain.images.empty());
}

TEST(TwainTest, CapabilitiesAreSetOnlyWithTheSourceOpen)
{
    SaneConfig config;
    RecordingTwain twain;
    EXPECT_FALSE(twain.SetCapability(SourceManager::TransferCount, 1));
    EXPECT_EQ(twain.errors, (std::vector<int>{CTwain::CapabilityError}));
    EXPECT_TRUE(CTwain::IsAvailable());
}

TEST(TwainTest, TheManagerRefusesStepsOutOfOrder)
{
    SaneConfig config;
    SourceManager manager;
    QImage image;
    int pending = 0;
    EXPECT_EQ(manager.openManager(), SourceManager::Failure);
    ASSERT_EQ(manager.load(), SourceManager::Success);
    EXPECT_EQ(manager.openSource({"test:0", {}, {}, {}}), SourceManager::Success);
    EXPECT_EQ(manager.setCapability(SourceManager::TransferMechanism, 1), SourceManager::Failure);
    EXPECT_EQ(manager.nativeTransfer(image), SourceManager::Failure);
    EXPECT_EQ(manager.enable(false), SourceManager::Success);
    EXPECT_EQ(manager.setCapability(SourceManager::TransferCount, 2), SourceManager::Failure);
    EXPECT_EQ(manager.transferReady(), SourceManager::Success);
    EXPECT_EQ(manager.nativeTransfer(image), SourceManager::TransferDone);
    EXPECT_EQ(manager.endTransfer(pending), SourceManager::Success);
    EXPECT_EQ(pending, 0);
    EXPECT_EQ(manager.transferReady(), SourceManager::Failure); // a flatbed gives one
    EXPECT_EQ(manager.closeManager(), SourceManager::Failure);  // the source is still open
    EXPECT_EQ(manager.closeSource(), SourceManager::Success);
    EXPECT_EQ(manager.closeManager(), SourceManager::Success);
    EXPECT_EQ(manager.openSource({"test:99", {}, {}, {}}), SourceManager::Failure);
    EXPECT_NE(manager.conditionCode(), 0);
}

TEST(TwainTest, TheFeederChosenByItsNameGivesEverySheet)
{
    SaneConfig config;
    RecordingTwain twain;
    twain.settings = ScanSettings{"Automatic Document Feeder", "Gray", 0, 0, 0};
    ASSERT_TRUE(twain.SelectSource());
    ASSERT_TRUE(twain.Acquire());
    EXPECT_EQ(twain.choices.sources, (QStringList{"Flatbed", "Automatic Document Feeder"}));
    EXPECT_EQ(twain.choices.source, "Flatbed");
    EXPECT_EQ(twain.choices.modes, (QStringList{"Gray", "Color"}));
    EXPECT_EQ(twain.choices.mode, "Color");
    // The usual steps inside the scanner's range, and what it is set to now.
    EXPECT_EQ(twain.choices.resolution, 25);
    EXPECT_EQ(twain.choices.resolutions,
              (std::vector<int>{25, 75, 100, 150, 200, 300, 400, 600, 1200}));
    EXPECT_DOUBLE_EQ(twain.choices.maxWidth, 200.0);
    EXPECT_DOUBLE_EQ(twain.choices.maxHeight, 200.0);
    // Every sheet the test scanner's feeder holds, in grey, over the whole area.
    ASSERT_EQ(twain.images.size(), 10u);
    for (const QImage& image : twain.images) {
        EXPECT_EQ(image.size(), QSize(199, 199));
        EXPECT_TRUE(image.allGray());
    }
    // An emptied feeder is how a feeder ends, not an error.
    EXPECT_TRUE(twain.errors.empty());
    EXPECT_EQ(twain.ErrorCondition(), 0);
    EXPECT_EQ(twain.progressShown, 1);
    EXPECT_EQ(twain.progressEnded, 1);
}

TEST(TwainTest, SettingsTheDeviceRefusesEndTheAcquisition)
{
    SaneConfig config;
    ScriptedPrompter prompter;
    RecordingTwain twain(&prompter);
    twain.settings = ScanSettings{"Transparency unit", {}, 0, 0, 0};
    ASSERT_TRUE(twain.SelectSource());
    EXPECT_FALSE(twain.Acquire());
    EXPECT_TRUE(twain.images.empty());
    EXPECT_EQ(twain.errors, (std::vector<int>{CTwain::SourceError}));
    EXPECT_EQ(twain.GetState(), 1);
    EXPECT_EQ(twain.progressShown, 0);
}

TEST(TwainTest, CancelDropsThePictureUnderWayAndStopsTheFeeder)
{
    SaneConfig config("test\n", SaneConfig::smallColourScans() + SaneConfig::slowReads());
    ScriptedPrompter prompter;
    RecordingTwain twain(&prompter);
    twain.settings = ScanSettings{"Automatic Document Feeder", {}, 0, 0, 0};
    // Cancel is pressed once the second sheet is partly read.
    twain.cancelWhen = [](int page, int percent) { return page == 2 && percent > 0; };
    ASSERT_TRUE(twain.SelectSource());
    ASSERT_TRUE(twain.Acquire());
    ASSERT_EQ(twain.images.size(), 1u);
    EXPECT_EQ(twain.images[0].size(), QSize(199, 199));
    EXPECT_TRUE(twain.Cancelled());
    EXPECT_TRUE(twain.errors.empty());
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(twain.GetState(), 1);
    EXPECT_EQ(twain.progressTexts, (QStringList{"Scanning page 1...", "Scanning page 2..."}));
    EXPECT_EQ(twain.progressEnded, 1);
}

TEST(TwainTest, EventsKeepFlowingWhileAPictureIsRead)
{
    SaneConfig config("test\n", SaneConfig::smallColourScans() + SaneConfig::slowReads());
    QWidget window;
    RecordingTwain twain;
    twain.settings = ScanSettings{"Flatbed", {}, 0, 0, 0};
    ASSERT_TRUE(twain.SelectSource());
    // A timer of the window's thread keeps firing while the device is enabled.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (twain.GetState() >= 5 && !window.isEnabled())
            ++ticks;
    });
    timer.start(5);
    ASSERT_TRUE(twain.Acquire(&window));
    ASSERT_EQ(twain.images.size(), 1u);
    EXPECT_GE(ticks, 10);
    EXPECT_TRUE(window.isEnabled());
    // A second acquisition cannot start inside the first.
    int nested = -1;
    twain.cancelWhen = [&](int, int) {
        if (nested < 0)
            nested = twain.Acquire(&window) ? 1 : 0;
        return false;
    };
    ASSERT_TRUE(twain.Acquire(&window));
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(twain.images.size(), 2u);
}

TEST(TwainTest, ASheetThatCannotBeStartedIsReportedInTheDevicesWords)
{
    // SANE's file reader scans /tmp/input.ppm; without that file no scan can start.
    if (QFileInfo::exists("/tmp/input.ppm"))
        GTEST_SKIP() << "/tmp/input.ppm exists, so SANE's file reader would scan it";
    SaneConfig config("pnm\n");
    ScriptedPrompter prompter;
    RecordingTwain twain(&prompter);
    ASSERT_TRUE(twain.SelectSource());
    EXPECT_EQ(twain.Source().name, "pnm:0");
    EXPECT_TRUE(twain.Acquire());
    EXPECT_TRUE(twain.images.empty());
    EXPECT_EQ(twain.errors, (std::vector<int>{CTwain::TransferError}));
    EXPECT_EQ(prompter.texts, QStringList{"The scanner or camera stopped: Invalid argument"});
    EXPECT_EQ(twain.GetState(), 1);
}

// Keeping the received pictures as files.
TEST(AcquiredImagesTest, PicturesAreWrittenAsBmpFiles)
{
    TestFolder folder;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    const QString first = writeAcquiredImage(picture, folder.path());
    const QString second = writeAcquiredImage(picture, folder.path());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo(first).fileName().startsWith("FT_"));
    QImageReader reader(first);
    EXPECT_EQ(reader.format(), "bmp");
    const QImage back = reader.read();
    EXPECT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixel(5, 5), picture.pixel(5, 5));
}

TEST(AcquiredImagesTest, APictureThatCannotBeWrittenIsReported)
{
    TestFolder folder;
    QImage picture(4, 4, QImage::Format_RGB32);
    ScriptedPrompter prompter;
    EXPECT_TRUE(keepAcquiredImage(picture, prompter, folder.file("missing/folder")).isEmpty());
    EXPECT_TRUE(keepAcquiredImage(QImage(), prompter, folder.path()).isEmpty());
    EXPECT_EQ(prompter.texts, QStringList(2, "Can not transfer image from twain driver."));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

// The raw lines a device sends.
TEST(SaneImageTest, FramesOfEachDepth)
{
    const QImage gray =
        sane::imageFromFrame({false, 8, 3, 2}, QByteArray("\x00\xff\x07\x80\x40\x07", 6));
    ASSERT_EQ(gray.size(), QSize(2, 2));
    EXPECT_EQ(gray.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(gray.pixel(0, 1), qRgb(128, 128, 128));
    const QImage color = sane::imageFromFrame({true, 8, 3, 1}, QByteArray("\x10\x20\x30", 3));
    EXPECT_EQ(color.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    const quint16 deep[2] = {0xff00, 0x1234};
    const QImage wide =
        sane::imageFromFrame({false, 16, 4, 2}, QByteArray(reinterpret_cast<const char*>(deep), 4));
    EXPECT_EQ(wide.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(wide.pixel(1, 0), qRgb(0x12, 0x12, 0x12));
    const QImage lineArt = sane::imageFromFrame({false, 1, 1, 3}, QByteArray("\x40", 1));
    EXPECT_EQ(lineArt.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(lineArt.pixel(1, 0), qRgb(0, 0, 0));
}

TEST(SaneImageTest, LayoutsThatCannotBeReadGiveNothing)
{
    EXPECT_TRUE(sane::imageFromFrame({false, 8, 1, 2}, QByteArray(4, 'a')).isNull());
    EXPECT_TRUE(sane::imageFromFrame({true, 1, 1, 1}, QByteArray(4, 'a')).isNull());
    EXPECT_TRUE(sane::imageFromFrame({false, 4, 4, 4}, QByteArray(4, 'a')).isNull());
    EXPECT_TRUE(sane::imageFromFrame({false, 8, 4, 4}, QByteArray(3, 'a')).isNull());
}

TEST(SourceListTest, TheDeviceListDialog)
{
    CSourceListDlg none({});
    EXPECT_EQ(none.chosen(), -1);
    for (QPushButton* button : none.findChildren<QPushButton*>()) {
        if (button->text() == loadString(IDS_OK)) {
            EXPECT_FALSE(button->isEnabled());
        }
    }
    CSourceListDlg two(
        {{"test:0", "Noname", "frontend-tester", "virtual device"}, {"cam:1", {}, {}, {}}});
    EXPECT_EQ(two.chosen(), 0);
    auto* list = two.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->item(0)->text(), "Noname frontend-tester (test:0)");
    EXPECT_EQ(list->item(1)->text(), "cam:1");
    list->setCurrentRow(1);
    EXPECT_EQ(two.chosen(), 1);
}

} // namespace
