// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "images/exifinfo.h"
#include "images/exifreader.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "tests/support/testenv.h"

using namespace exiffields;

namespace
{

QString photo(const char* name)
{
    return sharedTestData(QStringLiteral("photos/") + QString::fromUtf8(name));
}

// A choice with no field ticked and the default captions.
Choice emptyChoice(bool replace)
{
    Choice choice = defaultChoice();
    choice.toDescription.fill(false);
    choice.replace = replace;
    return choice;
}

Texts fieldsOf(const char* name)
{
    auto image = imaging::Image::open(photo(name));
    bool found = false;
    return image ? readFields(*image, found) : Texts{};
}

class ExifFieldsTest : public ::testing::Test
{
protected:
    SettingsSandbox sandbox;
};

TEST_F(ExifFieldsTest, CaptionsComeFromUserFieldFormatWithDefaults)
{
    Settings settings;
    Texts captions = loadCaptions(settings);
    EXPECT_EQ(captions[Description], "Description: ");
    EXPECT_EQ(captions[FocalLength], "Focal length: ");
    EXPECT_EQ(captions[Iso], "ISO: ");
    settings.writeString("UserFieldFormat", "Comment: ", "Caption - ");
    settings.writeString("UserFieldFormat", "ISO: ", "Speed ");
    captions = loadCaptions(settings);
    EXPECT_EQ(captions[Description], "Caption - ");
    EXPECT_EQ(captions[Iso], "Speed ");
    EXPECT_EQ(captions[Date], "Date: ");

    captions[Camera] = "Body: ";
    saveCaptions(settings, captions);
    EXPECT_EQ(settings.getString("UserFieldFormat", "Camera: "), "Body: ");
    EXPECT_EQ(loadCaptions(Settings())[Camera], "Body: ");
}

TEST_F(ExifFieldsTest, TogglesAreStoredUnderTheirIdsAndReadBack)
{
    Settings settings;
    Choice chosen = emptyChoice(true);
    chosen.toTitle[Date] = true;
    chosen.toDescription[Iso] = true;
    chosen.applyToAll = true;
    saveToggles(settings, chosen);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1411", NotStored), 1);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1410", NotStored), 0);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1480", NotStored), 1);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1494", NotStored), 1);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1495", NotStored), 0);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1496", NotStored), 1);
    for (int id : {1412, 1413, 1481, 1470, 1461, 1450, 1441, 1430, 1421, 1420})
        EXPECT_TRUE(settings.contains("Exif Dialog", QString::number(id))) << id;

    Choice read = defaultChoice();
    loadToggles(settings, read);
    EXPECT_EQ(read.toTitle, chosen.toTitle);
    EXPECT_EQ(read.toDescription, chosen.toDescription);
    EXPECT_TRUE(read.replace);
    EXPECT_TRUE(read.applyToAll);
}

TEST_F(ExifFieldsTest, AMissingToggleKeepsItsState)
{
    Settings settings;
    settings.writeInt("Exif Dialog", "1431", 1);
    settings.writeInt("Exif Dialog", "1440", 0);
    Choice choice = defaultChoice();
    loadToggles(settings, choice);
    EXPECT_TRUE(choice.toTitle[Camera]);
    EXPECT_FALSE(choice.toDescription[FocalLength]);
    EXPECT_TRUE(choice.toDescription[Date]); // nothing stored: as the dialog made it
    EXPECT_FALSE(choice.toTitle[Date]);
    EXPECT_FALSE(choice.replace);
    // Only "Add" stored off: "Replace" follows, since they exclude each other.
    settings.writeInt("Exif Dialog", "1495", 0);
    loadToggles(settings, choice);
    EXPECT_TRUE(choice.replace);
}

TEST_F(ExifFieldsTest, ReplaceWithTheDateInTheTitle)
{
    Choice choice = emptyChoice(true);
    choice.toTitle[Date] = true;
    ImageTexts texts{"Old title", "Old description"};
    ASSERT_EQ(applyToImage(choice, photo("exs-canon-ixus.jpg"), texts), Outcome::Changed);
    const QString date = QLocale::system().toString(QDate(2001, 6, 9), QLocale::LongFormat);
    EXPECT_EQ(texts.title, "Date: " + date + " ");
    // No description row ticked: "Replace" has nothing to put there and leaves it alone.
    EXPECT_EQ(texts.description, "Old description");
    EXPECT_EQ(buildDescription(choice, fieldsOf("exs-canon-ixus.jpg"), "Kept"), "Kept");
    choice.toDescription[Date] = true;
    EXPECT_EQ(buildDescription(choice, fieldsOf("exs-canon-ixus.jpg"), "Gone"),
              "Date: " + date + "\r\n");
}

TEST_F(ExifFieldsTest, AddAppendsTheCameraLineWithoutABreak)
{
    Choice choice = emptyChoice(false);
    choice.toDescription[Camera] = true;
    const Texts fields = fieldsOf("exs-canon-ixus.jpg");
    ASSERT_FALSE(fields[Camera].isEmpty());
    ImageTexts texts{"Title", "Beach"};
    ASSERT_EQ(applyToImage(choice, photo("exs-canon-ixus.jpg"), texts), Outcome::Changed);
    EXPECT_EQ(texts.description, "BeachCamera: " + fields[Camera] + "\r\n");
    EXPECT_EQ(texts.title, "Title");
    texts.description = "Beach\r\n";
    applyToImage(choice, photo("exs-canon-ixus.jpg"), texts);
    EXPECT_EQ(texts.description, "Beach\r\nCamera: " + fields[Camera] + "\r\n");
}

TEST_F(ExifFieldsTest, FieldsFollowRowOrderWithTheirCaptions)
{
    Choice choice = emptyChoice(true);
    choice.toDescription[Iso] = choice.toDescription[Aperture] = true;
    choice.toDescription[Date] = true;
    choice.captions[Aperture] = "f ";
    const Texts fields = fieldsOf("exs-Canon_40D.jpg");
    ASSERT_FALSE(fields[Iso].isEmpty());
    ASSERT_FALSE(fields[Aperture].isEmpty());
    EXPECT_EQ(buildDescription(choice, fields, "kept?"), "Date: " + fields[Date] + "\r\nf " +
                                                             fields[Aperture] +
                                                             "\r\nISO: " + fields[Iso] + "\r\n");
    // A field without a value is left out, caption and all.
    Texts partial = fields;
    partial[Aperture].clear();
    EXPECT_FALSE(buildDescription(choice, partial, {}).contains("f "));
}

TEST_F(ExifFieldsTest, AMultiLineDescriptionBecomesOneTitleLine)
{
    Choice choice = emptyChoice(true);
    choice.toTitle[Description] = true;
    const Texts fields = fieldsOf("syn-multiline.jpg");
    ASSERT_TRUE(fields[Description].contains("\r\n"));
    const QString title = buildTitle(choice, fields, {});
    EXPECT_FALSE(title.contains('\r'));
    EXPECT_FALSE(title.contains('\n'));
    EXPECT_TRUE(title.startsWith("Description: "));
    // With Add, a break in the existing title goes too.
    choice.replace = false;
    EXPECT_TRUE(buildTitle(choice, fields, "a\r\nb ").startsWith("a b Description: "));
}

TEST_F(ExifFieldsTest, LongTitlesAreCutTo256)
{
    Choice choice = emptyChoice(false);
    choice.toTitle.fill(true);
    const Texts fields = fieldsOf("exs-Canon_40D.jpg");
    const QString existing(240, 'x');
    const QString title = buildTitle(choice, fields, existing);
    EXPECT_EQ(title.size(), MaxTitleLength);
    EXPECT_TRUE(title.startsWith(existing));
    EXPECT_EQ(buildTitle(choice, Texts{}, QString(256, 'y')).size(), 256);
    EXPECT_EQ(buildTitle(choice, Texts{}, QString(257, 'y')).size(), 256);
}

TEST_F(ExifFieldsTest, AnEmptyTitleResultKeepsTheOldTitle)
{
    Choice choice = emptyChoice(true);
    choice.toDescription[Camera] = true;
    ImageTexts texts{"Keep me", ""};
    ASSERT_EQ(applyToImage(choice, photo("exs-Nikon_D70.jpg"), texts), Outcome::Changed);
    EXPECT_EQ(texts.title, "Keep me");
}

TEST_F(ExifFieldsTest, APhotoWithoutExifIsLeftAlone)
{
    Choice choice = defaultChoice();
    choice.replace = true;
    choice.toTitle.fill(true);
    ImageTexts texts{"T", "D"};
    EXPECT_EQ(applyToImage(choice, photo("mdi-photoshop-8x12-rgb24.png"), texts), Outcome::NoExif);
    EXPECT_EQ(texts.title, "T");
    EXPECT_EQ(texts.description, "D");
}

TEST_F(ExifFieldsTest, AnUnreadableFileIsMarkedDamaged)
{
    TestFolder folder;
    const QString broken = folder.write("broken.jpg", QByteArray("\xff\xd8not a photo", 13));
    for (bool replace : {false, true}) {
        Choice choice = emptyChoice(replace);
        ImageTexts texts{"T", "D"};
        EXPECT_EQ(applyToImage(choice, broken, texts), Outcome::Damaged);
        EXPECT_EQ(texts.description, "Image damaged!");
        EXPECT_EQ(texts.title, "T");
    }
}

TEST_F(ExifFieldsTest, ApplyingVisitsAllOrTheSelectedRows)
{
    EXPECT_EQ(rowsToVisit(true, 3, {2}), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(rowsToVisit(false, 5, {4, 1, 1, 9, -1}), (std::vector<int>{1, 4}));
    EXPECT_TRUE(rowsToVisit(false, 0, {0}).empty());

    Choice choice = emptyChoice(true);
    choice.toTitle[Camera] = true;
    std::vector<ImageTexts> texts(2);
    EXPECT_FALSE(
        applyToImages(choice, {photo("exs-Nikon_D70.jpg"), photo("exs-Canon_40D.jpg")}, texts));
    EXPECT_TRUE(texts[0].title.startsWith("Camera: "));
    EXPECT_TRUE(texts[1].title.startsWith("Camera: "));
    EXPECT_NE(texts[0].title, texts[1].title);
    std::vector<ImageTexts> mixed(2);
    EXPECT_TRUE(applyToImages(
        choice, {photo("exs-Nikon_D70.jpg"), photo("mdi-photoshop-8x12-rgb24.png")}, mixed));
    EXPECT_EQ(lacksExifText(), "Some photos do not contain EXIF information.");
}

// The dialog itself: it shows what is stored and stores what it shows, on OK only.
TEST_F(ExifFieldsTest, DialogShowsStoredStatesAndStoresThemOnOk)
{
    Settings().writeInt("Exif Dialog", "1451", 1);
    Settings().writeInt("Exif Dialog", "1494", 1);
    Texts captions = defaultChoice().captions;
    captions[Flash] = "Blitz: ";
    CExifInfo dialog(captions);
    EXPECT_EQ(dialog.windowTitle(), "Exif information");
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("1451")->isChecked());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("1494")->isChecked());
    EXPECT_FALSE(dialog.findChild<QRadioButton*>("1495")->isChecked());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("1088")->text(), "Blitz: ");
    EXPECT_EQ(dialog.findChild<QCheckBox*>("1410")->toolTip(),
              "Include date information into comment field");

    dialog.findChild<QPushButton*>("1492")->click(); // check all titles
    dialog.findChild<QPushButton*>("1491")->click(); // clear all descriptions
    Choice shown = dialog.choice();
    EXPECT_EQ(shown.toTitle, (Flags{true, true, true, true, true, true, true, true, true}));
    EXPECT_EQ(shown.toDescription, Flags{});
    EXPECT_EQ(shown.captions[Flash], "Blitz: ");
    EXPECT_EQ(Settings().getInt("Exif Dialog", "1410", NotStored), NotStored);

    dialog.findChild<QRadioButton*>("1495")->click();
    dialog.accept();
    Settings settings;
    EXPECT_EQ(settings.getInt("Exif Dialog", "1410", NotStored), 0);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1481", NotStored), 1);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1495", NotStored), 1);
    EXPECT_EQ(settings.getInt("Exif Dialog", "1494", NotStored), 0);
}

TEST_F(ExifFieldsTest, CancelStoresNothing)
{
    CExifInfo dialog(defaultChoice().captions);
    dialog.findChild<QPushButton*>("1490")->click();
    dialog.reject();
    EXPECT_FALSE(Settings().sectionExists("Exif Dialog"));
}

} // namespace
