// SPDX-License-Identifier: GPL-2.0-or-later
// Photos from today's phones in the editor's window, through the real file dialogs: File ->
// Open lists and opens a HEIC and an AVIF photo, and the Save button on such a photo writes
// the JPEG beside it that the save dialog offers, the photo itself staying as it was.
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/lumivexcommands.h"
#include "platform/dialogchoosers.h"
#include "platform/phototypes.h"
#include "tests/lumivex/dialogshots.h"
#include "tests/lumivex/framefixture.h"
#include "tests/support/phonephotos.h"

namespace
{

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PhoneFrameTest : public FrameTest
{
protected:
    DialogChoosers dialogs;
    QString heic;
    QString avif;

    void SetUp() override
    {
        const QString camera = sharedTestData(QStringLiteral("photos/exs-DSCN0010.jpg"));
        heic = makePhonePhoto(camera, folder.path(), QStringLiteral("phone.heic"));
        avif = makePhonePhoto(camera, folder.path(), QStringLiteral("phone.avif"));
        ASSERT_FALSE(heic.isEmpty());
        ASSERT_FALSE(avif.isEmpty());
        // The editor as it runs for the user: its file dialogs are the real ones.
        app = std::make_unique<CLumivexApp>(binFolder());
        frame = std::make_unique<CMainFrame>(*app, prompter, dialogs);
        dialogs.setOwner(frame.get());
        frame->show();
        frame->activateWindow();
        app->InitInstance({}, prompter);
        QCoreApplication::processEvents();
    }

    // Answers the file dialog that opens next: types path into its name field unless it is
    // empty, photographs it as shot and presses its accept button.
    static void answerFileDialog(const QString& path, const QString& shot,
                                 std::function<void(QFileDialog&)> check = {})
    {
        onNextDialog([path, shot, check](QWidget& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            if (check)
                check(*files);
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            // The dialog reads its folder first, as the user waits to see it.
            QTest::qWait(300);
            if (!path.isEmpty()) {
                QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(name, path);
                // The name completion's list comes once the folder is read; it closes as the
                // user's Escape closes it.
                QTest::qWait(300);
                QWidget* popup = name->completer() ? name->completer()->popup() : nullptr;
                if (popup && popup->isVisible())
                    QTest::keyClick(popup, Qt::Key_Escape);
            }
            saveScreenshot(*files, shot);
            auto* buttons = files->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            ASSERT_NE(buttons, nullptr);
            QPushButton* accept = buttons->button(files->acceptMode() == QFileDialog::AcceptOpen
                                                      ? QDialogButtonBox::Open
                                                      : QDialogButtonBox::Save);
            ASSERT_NE(accept, nullptr);
            EXPECT_TRUE(accept->isEnabled());
            QTest::mouseClick(accept, Qt::LeftButton);
            // A dialog that stays open fails the test instead of waiting for ever.
            QTest::qWait(50);
            if (files->isVisible()) {
                ADD_FAILURE() << "the file dialog stayed open: " << qPrintable(shot);
                files->reject();
            }
        });
    }

    // The Rotate button's first item, a quarter turn.
    void turn()
    {
        QTimer::singleShot(50, [this] {
            QTest::keyClick(frame->RotateMenu(), Qt::Key_Down);
            QTest::keyClick(frame->RotateMenu(), Qt::Key_Return);
        });
        QTest::mouseClick(frame->ToolButton(ID_ROTATE), Qt::LeftButton);
        waitForEdit();
    }
};

} // namespace

TEST_F(PhoneFrameTest, FileOpenListsAndOpensAHeicAndAnAvifPhoto)
{
    answerFileDialog(heic, QStringLiteral("phones-open-heic-dialog"), [](QFileDialog& dialog) {
        const QStringList filters = dialog.nameFilters();
        ASSERT_FALSE(filters.isEmpty());
        EXPECT_TRUE(filters.front().contains(QStringLiteral("*.heic *.heif")));
        EXPECT_TRUE(filters.front().contains(QStringLiteral("*.avif")));
        EXPECT_TRUE(filters.front().contains(QStringLiteral("*.jxl")));
        EXPECT_TRUE(filters.contains(QStringLiteral("HEIF photos (*.heic *.heif)")));
        EXPECT_TRUE(filters.contains(QStringLiteral("AVIF photos (*.avif)")));
        EXPECT_TRUE(filters.contains(QStringLiteral("WebP pictures (*.webp)")));
    });
    ASSERT_TRUE(click(ID_FILE_OPEN));
    waitForEdit();
    EXPECT_EQ(doc().PathName(), heic);
    EXPECT_EQ(doc().Current().widthPixels, 640);
    EXPECT_EQ(doc().Current().heightPixels, 480);
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("phone.heic")));
    EXPECT_TRUE(prompter.texts.isEmpty()) << qPrintable(prompter.texts.join('|'));
    screenshot(*frame, QStringLiteral("phones-heic-opened"));

    // Ctrl+O the second time.
    answerFileDialog(avif, QStringLiteral("phones-open-avif-dialog"));
    key(Qt::Key_O, Qt::ControlModifier);
    waitForEdit();
    EXPECT_EQ(doc().PathName(), avif);
    EXPECT_EQ(doc().Current().widthPixels, 640);
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("phone.avif")));
    EXPECT_TRUE(prompter.texts.isEmpty()) << qPrintable(prompter.texts.join('|'));
    screenshot(*frame, QStringLiteral("phones-avif-opened"));
}

TEST_F(PhoneFrameTest, SaveOnAHeicWritesTheJpegOfferedBesideIt)
{
    answerFileDialog(heic, QStringLiteral("phones-open-heic-for-save"));
    ASSERT_TRUE(click(ID_FILE_OPEN));
    waitForEdit();
    ASSERT_EQ(doc().PathName(), heic);
    const QByteArray original = bytesOf(heic);
    turn();
    ASSERT_TRUE(doc().IsModified());

    // The save dialog opens on the name offered; the user takes it.
    QString offered;
    answerFileDialog(
        QString(), QStringLiteral("phones-save-heic-dialog"), [&offered](QFileDialog& dialog) {
            const auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            offered = name ? name->text() : QString();
        });
    ASSERT_TRUE(click(ID_FILE_SAVE));
    EXPECT_EQ(offered, QStringLiteral("phone.jpg"));
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts.front(), loadLumivexString(IDS_LX_KEEPS_ORIGINAL)
                                          .arg(imaging::modernTypeName(imaging::RawFormat::Heif),
                                               QStringLiteral("phone.heic")));
    EXPECT_EQ(doc().PathName(), folder.file(QStringLiteral("phone.jpg")));
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(bytesOf(heic), original);
    const auto saved = imaging::Image::open(folder.file(QStringLiteral("phone.jpg")));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->rawFormat(), imaging::RawFormat::Exif);
    EXPECT_EQ(saved->width(), 480); // turned a quarter
    screenshot(*frame, QStringLiteral("phones-heic-saved"));
}

using PhoneListTest = FrameTest;

TEST_F(PhoneListTest, TheAlbumBuildersListStepsThroughPhonePhotos)
{
    const QString camera = sharedTestData(QStringLiteral("photos/exs-DSCN0010.jpg"));
    QStringList paths;
    for (const char* name : {"a.heic", "b.avif", "c.webp", "d.jxl"})
        paths << makePhonePhoto(camera, folder.path(), QString::fromLatin1(name));
    ASSERT_FALSE(paths.contains(QString()));
    start({"\\b" + folder.write("list.txt", (paths.join('\n') + '\n').toUtf8())});
    for (int i = 0; i < paths.size(); ++i) {
        if (i > 0) {
            ASSERT_TRUE(click(ID_NEXT_IMAGE)) << i;
        }
        waitForEdit();
        EXPECT_EQ(doc().PathName(), paths[i]);
        EXPECT_EQ(doc().Current().widthPixels, 640) << qPrintable(paths[i]);
        EXPECT_EQ(doc().Current().heightPixels, 480) << qPrintable(paths[i]);
    }
    EXPECT_TRUE(prompter.texts.isEmpty()) << qPrintable(prompter.texts.join('|'));
    screenshot(*frame, QStringLiteral("phones-list-jxl"));
}
