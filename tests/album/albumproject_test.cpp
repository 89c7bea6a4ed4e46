// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "album/albumproject.h"
#include "platform/module.h"
#include "plugins/paramrules.h"
#include "tests/support/testenv.h"

namespace {

// An album over a fresh plug-ins folder holding Alpha (two templates), Beta (none) and Empty
// (no plug-in object), in that order.
class AlbumProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        album.PluginManager().SetPluginFolders(
            {installTestPlugins(plugins.path(), {"gvtest_alpha", "gvtest_beta", "gvtest_empty"})});
        ASSERT_TRUE(album.Initialise());
        ASSERT_EQ(album.Plugins().size(), 3u);
    }
    const GVParamInfo* find(const gv_vector<GVParamInfo>& params, const char* name)
    {
        for (const GVParamInfo& param : params)
            if (paramrules::sameName(param.name.c_str(), name))
                return &param;
        return nullptr;
    }

    SettingsSandbox sandbox;
    TestFolder plugins;
    AlbumProject album;
    static constexpr int Alpha = 0, Beta = 1, Empty = 2;
};

} // namespace

TEST_F(AlbumProjectTest, StartsFreshWithNothingChosen)
{
    EXPECT_TRUE(album.IsFresh());
    EXPECT_FALSE(album.IsModified());
    EXPECT_EQ(album.PluginIndex(), -1);
    EXPECT_EQ(album.TemplateId(), -1);
    EXPECT_FALSE(album.HasProjectFile());
    EXPECT_STREQ(album.Plugins()[Alpha].GetName(), "Alpha");
    gv_vector<GVParamInfo> params;
    EXPECT_EQ(album.Parameters(&params), -1);
    EXPECT_TRUE(params.empty());
    EXPECT_STREQ(album.AlbumName().c_str(), "");
}

TEST(AlbumProjectStart, FailsWithoutAnyPluginsFolder)
{
    TestFolder root;
    AlbumProject album;
    album.PluginManager().SetPluginFolders({root.str() + "/missing"});
    EXPECT_FALSE(album.Initialise());
}

TEST_F(AlbumProjectTest, ParametersComeFromTheTemplateThenTheHost)
{
    Settings().writeInt("Settings", "JPEGQuality", 92);
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    gv_vector<GVParamInfo> params;
    ASSERT_EQ(album.Parameters(&params), 0);
    ASSERT_EQ(params.size(), 10);
    EXPECT_STREQ(params[0].name.c_str(), "Title");
    EXPECT_STREQ(params[8].name.c_str(), "JPEGQuality");
    EXPECT_EQ(params[8].id, 8);
    EXPECT_EQ(params[8].values[2].value.number, 92);
    EXPECT_STREQ(params[9].name.c_str(), "InterpolationMode");
    EXPECT_EQ(params[9].id, 9);
    const GVParamInfo* font = find(params, "titlefont");
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->values[0].value.font, nullptr);
    EXPECT_STREQ(font->values[0].value.font->logFont.lfFaceName, "DejaVu Sans");

    // Edited values stay until the template changes.
    album.ParameterList()[1].values[2].value.number = 7;
    ASSERT_EQ(album.Parameters(&params), 0);
    EXPECT_EQ(params[1].values[2].value.number, 7);
    EXPECT_EQ(params.size(), 10);
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 20));
    ASSERT_EQ(album.Parameters(nullptr), 0);
    EXPECT_EQ(album.ParameterList().size(), 3);
    EXPECT_EQ(album.ParameterList()[1].id, 1);
}

TEST_F(AlbumProjectTest, NoParametersWithoutAPluginObjectOrTemplate)
{
    ASSERT_TRUE(album.ChooseTemplate(Empty, 1));
    EXPECT_EQ(album.Parameters(nullptr), -1);
    ASSERT_TRUE(album.ChooseTemplate(Alpha, -1));
    EXPECT_EQ(album.Parameters(nullptr), -1);
    EXPECT_FALSE(album.ChooseTemplate(3, 10));
    EXPECT_FALSE(album.ChooseTemplate(-2, 10));
    ASSERT_TRUE(album.ChooseTemplate(-1, 10));
    EXPECT_EQ(album.TemplateId(), -1);
}

TEST_F(AlbumProjectTest, AlbumNameRules)
{
    // The "Title" parameter wins while the album has no destination and was not generated.
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    album.Parameters(nullptr);
    EXPECT_STREQ(album.AlbumName().c_str(), "Summer Holidays");
    EXPECT_STREQ(album.StoredAlbumName().c_str(), "Summer Holidays");

    // Without a title the template's name replaces a stored name.
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 20));
    album.Parameters(nullptr);
    ASSERT_TRUE(album.SetAlbumName("Mine"));
    EXPECT_STREQ(album.AlbumName().c_str(), "Grid");
    EXPECT_STREQ(album.StoredAlbumName().c_str(), "Grid");

    // With a destination, or once generated, the stored name holds.
    ASSERT_TRUE(album.SetAlbumName("Mine"));
    album.SetDestination("/tmp/out");
    EXPECT_STREQ(album.AlbumName().c_str(), "Mine");
    album.SetDestination("");
    album.MarkGenerated();
    EXPECT_STREQ(album.AlbumName().c_str(), "Mine");

    // A template id the plug-in does not have gives no name.
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 99));
    album.MarkModified();
    EXPECT_STREQ(album.AlbumName().c_str(), "");
    EXPECT_FALSE(album.SetAlbumName(""));
    EXPECT_FALSE(album.SetAlbumName(nullptr));
}

TEST_F(AlbumProjectTest, ModifiedAndGeneratedFlags)
{
    album.MarkGenerated();
    EXPECT_TRUE(album.IsGenerated());
    album.MarkModified();
    EXPECT_TRUE(album.IsModified());
    EXPECT_FALSE(album.IsGenerated());
}

TEST_F(AlbumProjectTest, ResetStartsAgainWithFreshPlugins)
{
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    album.Parameters(nullptr);
    album.SetProjectPath("/tmp/a.gvp");
    album.SetDestination("/tmp/out");
    album.SetFavoritesName("Trip");
    album.SetAlbumName("Trip");
    album.Images().push_back(AlbumImage());
    album.MarkModified();
    album.MarkGenerated();

    album.Reset();
    EXPECT_EQ(album.PluginIndex(), -1);
    EXPECT_EQ(album.TemplateId(), -1);
    EXPECT_TRUE(album.Images().empty());
    EXPECT_TRUE(album.ParameterList().empty());
    EXPECT_FALSE(album.HasProjectFile());
    EXPECT_STREQ(album.Destination().c_str(), "");
    EXPECT_STREQ(album.FavoritesName().c_str(), "");
    EXPECT_STREQ(album.StoredAlbumName().c_str(), "");
    EXPECT_FALSE(album.IsGenerated());
    EXPECT_FALSE(album.IsModified());
    ASSERT_EQ(album.Plugins().size(), 3u);
    EXPECT_NE(album.Plugins()[Alpha].plugin, nullptr);
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    EXPECT_EQ(album.Parameters(nullptr), 0);
}

TEST_F(AlbumProjectTest, PluginsSeeImagesWithoutTheirPaths)
{
    for (int i = 0; i < 3; ++i) {
        AlbumImage image;
        image.name = ("photo" + std::to_string(i)).c_str();
        image.subfolder = "beach";
        image.index = i;
        image.path = "/secret/photo.jpg";
        album.Images().push_back(image);
    }
    gv_vector<AlbumImageInfo> images;
    album.ImagesForPlugins(images);
    ASSERT_EQ(images.size(), 3);
    EXPECT_STREQ(images[2].name.c_str(), "photo2");
    EXPECT_STREQ(images[1].subfolder.c_str(), "beach");
    EXPECT_EQ(images[2].index, 2);
}

TEST(CreateFolders, MakesEveryFolderButNeverTheFile)
{
    TestFolder root;
    EXPECT_TRUE(AlbumProject::CreateFoldersForPath((root.str() + "/a/b/c.jpg").c_str()));
    EXPECT_TRUE(QFileInfo(root.file("a/b")).isDir());
    EXPECT_FALSE(QFileInfo::exists(root.file("a/b/c.jpg")));

    // A backslash is part of a name here: "d\\e" is one folder. Nothing to create is a
    // success.
    EXPECT_TRUE(AlbumProject::CreateFoldersForPath((root.str() + "/d\\e/f.png").c_str()));
    EXPECT_TRUE(QFileInfo(root.file("d\\e")).isDir());
    EXPECT_FALSE(QFileInfo::exists(root.file("d")));
    EXPECT_TRUE(AlbumProject::CreateFoldersForPath((root.str() + "/a/b/c.jpg").c_str()));
    EXPECT_TRUE(AlbumProject::CreateFoldersForPath("plain.jpg"));

    // A file where a folder should be: the folder below it cannot be made.
    root.write("blocked", "x");
    EXPECT_FALSE(AlbumProject::CreateFoldersForPath((root.str() + "/blocked/sub/p.jpg").c_str()));
}

TEST_F(AlbumProjectTest, ParametersOutliveThePluginLibrary)
{
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    ASSERT_EQ(album.Parameters(nullptr), 0);
    const std::string library = album.Plugins()[Alpha].libraryPath;
    album.PluginManager().ReleasePlugins(album.Plugins());
    ASSERT_FALSE(platform::isModuleLoaded(library));
    // Records built by the unloaded library's code would now crash when destroyed.
    EXPECT_STREQ(album.ParameterList()[0].name.c_str(), "Title");
    album.ParameterList().clear();
    EXPECT_TRUE(album.ParameterList().empty());
}
