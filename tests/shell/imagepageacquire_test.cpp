// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page's EXIF information and Import commands.
#include <gtest/gtest.h>

#include "images/exiffields.h"
#include "images/twain.h"
#include "tests/shell/imagepagefixture.h"
#include "tests/support/saneconfig.h"

namespace
{

// A choice that puts only the camera into the descriptions, added to what is there.
exiffields::Choice cameraIntoDescriptions(const exiffields::Choice& stored, bool all)
{
    exiffields::Choice choice = stored;
    choice.toDescription.fill(false);
    choice.toTitle.fill(false);
    choice.toDescription[exiffields::Camera] = true;
    choice.replace = false;
    choice.applyToAll = all;
    return choice;
}

} // namespace

TEST_F(ImagePageTest, ExifFieldsGoIntoTheChosenRows)
{
    openPage();
    addThree();
    const QString before = page().Rows().Rows()[0].description;
    int shown = 0;
    page().SetExifDialog([&](const exiffields::Choice& stored) {
        ++shown;
        EXPECT_EQ(stored.captions[exiffields::Camera], "Camera: ");
        return std::optional(cameraIntoDescriptions(stored, false));
    });
    page().SelectRows({0});
    const qsizetype said = prompter.texts.size(); // the skin may have spoken already
    page().OnCommand(CAddImageDlg::ID_EXIF);
    EXPECT_EQ(shown, 1);
    const QString after = page().Rows().Rows()[0].description;
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_TRUE(after.contains("Camera: NIKON CORPORATION NIKON D70")) << qPrintable(after);
    EXPECT_TRUE(app.Album().IsModified());
    EXPECT_EQ(prompter.texts.size(), said);

    // Applied to all: the PNG and GIF have no EXIF data, which is said once.
    page().SetExifDialog([](const exiffields::Choice& stored) {
        return std::optional(cameraIntoDescriptions(stored, true));
    });
    page().OnCommand(CAddImageDlg::ID_EXIF);
    ASSERT_EQ(prompter.texts.size(), said + 1);
    EXPECT_EQ(prompter.texts.last(), exiffields::lacksExifText());
}

TEST_F(ImagePageTest, ACancelledExifDialogChangesNothing)
{
    openPage();
    addThree();
    const auto rows = page().Rows().Rows();
    page().SetExifDialog([](const exiffields::Choice&) { return std::nullopt; });
    page().SelectRows({0, 1});
    page().OnCommand(CAddImageDlg::ID_EXIF);
    EXPECT_EQ(page().Rows().Rows()[0].description, rows[0].description);
    EXPECT_EQ(page().Rows().Rows()[1].title, rows[1].title);
}

TEST_F(ImagePageTest, AcquiredPicturesJoinTheListAsTemporaryBitmaps)
{
    openPage();
    addThree();
    QImage scan(40, 30, QImage::Format_RGB32);
    scan.fill(Qt::darkCyan);
    page().AddAcquiredImage(scan);
    ASSERT_EQ(page().Rows().Size(), 4u);
    const PageImage& row = page().Rows().Rows().back();
    EXPECT_TRUE(QFileInfo(row.path).fileName().startsWith("FT_")) << qPrintable(row.path);
    EXPECT_EQ(QFileInfo(row.path).absolutePath(), QFileInfo(temporary.path()).absoluteFilePath());
    EXPECT_TRUE(row.title.isEmpty());
    EXPECT_TRUE(row.description.isEmpty());
    const auto image = imaging::Image::open(row.path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->rawFormat(), imaging::RawFormat::Bmp);
    EXPECT_EQ(page().SelectedRows(), std::vector<int>{3});

    // A folder that cannot be written: the picture is not kept, and the user is told.
    page().SetTemporaryFolder(temporary.file("missing/deeper"));
    const qsizetype said = prompter.texts.size();
    page().AddAcquiredImage(scan);
    EXPECT_EQ(page().Rows().Size(), 4u);
    EXPECT_EQ(prompter.texts.size(), said + 1);
}

TEST_F(ImagePageTest, ImportWithoutAChosenDeviceAddsNothing)
{
    SaneConfig noScanners("");
    openPage();
    page().Acquisition().SetChooser([](const std::vector<SourceInfo>&) { return -1; });
    page().OnCommand(CAddImageDlg::ID_IMPORT);
    EXPECT_TRUE(page().Rows().IsEmpty());
}
