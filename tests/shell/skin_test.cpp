// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "platform/settings.h"
#include "shell/skin.h"
#include "tests/support/testenv.h"

namespace {

class SkinTest : public ::testing::Test {
protected:
    SettingsSandbox sandbox;
    Settings settings;
    TestFolder program;
    Skin skin{settings, program.path()};
};

} // namespace

TEST_F(SkinTest, NegativeBackgroundResetsAllThreeColours)
{
    settings.writeInt("SkinInfo", "BkgroundColor", -1);
    settings.writeInt("SkinInfo", "TxtColor", 255);
    settings.writeInt("SkinInfo", "LabelColor", 65280);
    EXPECT_EQ(skin.GetSkinColor(0), 9413023);
    EXPECT_EQ(skin.GetSkinColor(1), Skin::DefaultText);
    EXPECT_EQ(skin.GetSkinColor(2), 7244905);
    EXPECT_EQ(settings.getInt("SkinInfo", "BkgroundColor", 0), 9413023);
    EXPECT_EQ(settings.getInt("SkinInfo", "TxtColor", 0), Skin::DefaultText);
    EXPECT_EQ(settings.getInt("SkinInfo", "LabelColor", 0), 7244905);
}

TEST_F(SkinTest, StoredColoursAreUsedAndMissingOnesTakeDefaults)
{
    settings.writeInt("SkinInfo", "BkgroundColor", 0x00102030);
    settings.writeInt("SkinInfo", "TxtColor", 0x00405060);
    EXPECT_EQ(skin.GetSkinColor(SKIN_BACKGROUND), 0x00102030);
    EXPECT_EQ(skin.GetSkinColor(SKIN_TEXT), 0x00405060);
    EXPECT_EQ(skin.GetSkinColor(SKIN_LABEL), 7244905);
    EXPECT_EQ(settings.getInt("SkinInfo", "LabelColor", 0), 7244905);
    EXPECT_EQ(skin.GetSkinColor(3), 0);
    EXPECT_EQ(skin.GetSkinColor(-1), 0);
}

TEST_F(SkinTest, FreshUserGetsTheDefaultSkin)
{
    EXPECT_EQ(skin.GetSkinColor(1), Skin::DefaultText);
    EXPECT_TRUE(settings.sectionExists("SkinInfo"));
}

TEST_F(SkinTest, PicturesComeFromTheGraphicsFolder)
{
    EXPECT_EQ(Skin::pictureFile(182), "back.gif");
    EXPECT_EQ(Skin::pictureFile(209), "generate.jpg");
    EXPECT_EQ(Skin::pictureFile(32811), "import.gif");
    EXPECT_EQ(Skin::pictureFile(183), "");

    program.write("graphics/back.gif", [] {
        QFile gif(sharedTestData("photos/mdi-mspaint-10x10.gif"));
        return gif.open(QIODevice::ReadOnly) ? gif.readAll() : QByteArray();
    }());
    const QImage back = skin.LoadSkinPicture(182);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(10, 10));
}

TEST_F(SkinTest, MissingPicturesAreNullAndReportedWhenAsked)
{
    ScriptedPrompter prompter;
    EXPECT_TRUE(skin.LoadSkinPicture(183).isNull()); // an id without a file
    program.write("graphics/next.gif", "not a picture");
    EXPECT_TRUE(skin.LoadSkinPicture(184, prompter).isNull());
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0], "Error loading image");
}
