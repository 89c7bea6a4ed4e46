// SPDX-License-Identifier: GPL-2.0-or-later
// The HTML plug-in's contract as the album builder meets it: found by the plug-in manager,
// its templates and their parameters as the themes declare them, previews, start pages and
// showing an album.
#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFileInfo>

#include "plugins/paramrules.h"
#include "sdk/gvpluginexports.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

class HtmlPluginTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(album.ready()) << "the HTML plug-in was not loaded"; }

    std::vector<std::pair<int, QString>> templates()
    {
        gv_vector<TemplateInfo> list;
        album.album().PluginManager().EnumTemplates(album.pluginIndex(), list);
        std::vector<std::pair<int, QString>> result;
        for (const TemplateInfo& info : list)
            result.emplace_back(info.id, QString::fromUtf8(info.name.c_str()));
        return result;
    }
    gv_vector<GVParamInfo> paramsOf(int templateId)
    {
        gv_vector<GVParamInfo> params;
        EXPECT_EQ(album.plugin().GetTemplateParams(templateId, &params), GV_OK);
        return params;
    }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

} // namespace

TEST_F(HtmlPluginTest, IsFoundWithItsNamesAndVersion)
{
    const CPluginInfo& info = album.album().Plugins()[static_cast<size_t>(album.pluginIndex())];
    EXPECT_STREQ(info.GetName(), "HTML");
    EXPECT_STREQ(info.GetDisplayName(), "Web album (HTML)");
    uint32_t ms = 0, ls = 0;
    ASSERT_TRUE(ReadPluginVersion(info.libraryPath, ms, ls));
    EXPECT_EQ(ms >> 16, static_cast<uint32_t>(GVTEST_VERSION_MAJOR));
}

TEST_F(HtmlPluginTest, ListsTheShippedThemesInDisplayOrder)
{
    const std::vector<std::pair<int, QString>> expected = {
        {1, "Mosaic"}, {2, "Classic"}, {3, "Slideshow"}};
    EXPECT_EQ(templates(), expected);
    EXPECT_EQ(templates(), expected) << "ids stay the same when listed again";
}

TEST_F(HtmlPluginTest, ParametersCarryTheirTypesDefaultsAndRanges)
{
    std::set<int32_t> types;
    for (const auto& [id, name] : templates()) {
        const gv_vector<GVParamInfo> params = paramsOf(id);
        std::set<std::string> names;
        for (int32_t i = 0; i < params.size(); ++i) {
            const GVParamInfo& p = params[i];
            EXPECT_EQ(p.id, i) << name.toStdString();
            EXPECT_TRUE(names.insert(QString(p.name.c_str()).toLower().toStdString()).second)
                << "repeated name " << p.name.c_str();
            types.insert(p.type);
            if (p.type == PT_NUMBER || p.type == PT_SLIDER) {
                const int32_t value = paramrules::value(p)->number;
                EXPECT_LE(paramrules::bound(p, PVK_MINIMUM, INT32_MAX), value) << p.name.c_str();
                EXPECT_GE(paramrules::bound(p, PVK_MAXIMUM, INT32_MIN), value) << p.name.c_str();
            }
            if (p.type == PT_FONT) {
                ASSERT_TRUE(p.values.size() > 0 && p.values[0].value.font != nullptr);
            }
            if (p.type == PT_TEXT) {
                EXPECT_FALSE(paramrules::value(p)->text.empty()) << "a text field may not be empty";
            }
        }
        EXPECT_EQ(names.count("title"), 1u) << name.toStdString() << " needs a Title";
    }
    for (const int32_t type : {1, 2, 3, 4, 5, 7, 8, 12, 14})
        EXPECT_EQ(types.count(type), 1u) << "no theme uses parameter type " << type;
}

TEST_F(HtmlPluginTest, DefaultsOfTheMosaicTheme)
{
    const gv_vector<GVParamInfo> params = paramsOf(HtmlAlbum::Mosaic);
    const auto find = [&](const char* name) -> const GVParamInfo& {
        for (const GVParamInfo& p : params)
            if (paramrules::sameName(p.name.c_str(), name))
                return p;
        ADD_FAILURE() << name;
        return params[0];
    };
    EXPECT_STREQ(paramrules::value(find("Title"))->text.c_str(), "Our photos");
    EXPECT_EQ(paramrules::value(find("ThumbSize"))->number, 300);
    EXPECT_EQ(paramrules::value(find("BigSize"))->number, 1600);
    EXPECT_STREQ(paramrules::value(find("Scheme"))->text.c_str(), "Dark");
    EXPECT_EQ(find("Scheme").values.size(), 3);
    EXPECT_EQ(paramrules::value(find("Accent"))->number, 0x4bb0e8) << "#e8b04b as a COLORREF";
    const GVFontBlock& font = *find("TitleFont").values[0].value.font;
    EXPECT_STREQ(font.logFont.lfFaceName, "Avenir Next");
    EXPECT_EQ(font.chooseFont.iPointSize, 300);
    EXPECT_EQ(font.logFont.lfWeight, GV_FW_BOLD);
    EXPECT_EQ(font.logFont.lfHeight, -40);
}

TEST_F(HtmlPluginTest, TheAlbumAddsTheHostParametersAndTakesItsNameFromTheTitle)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    gv_vector<GVParamInfo> params;
    ASSERT_EQ(album.album().Parameters(&params), 0);
    ASSERT_GE(params.size(), 2);
    EXPECT_STREQ(params[params.size() - 2].name.c_str(), "JPEGQuality");
    EXPECT_STREQ(params[params.size() - 1].name.c_str(), "InterpolationMode");
    EXPECT_STREQ(album.album().AlbumName().c_str(), "Photo album");
}

TEST_F(HtmlPluginTest, OnlyTheMosaicGroupsBySubfolder)
{
    EXPECT_TRUE(album.plugin().UsesSubfolderText(HtmlAlbum::Mosaic));
    EXPECT_FALSE(album.plugin().UsesSubfolderText(HtmlAlbum::Classic));
    EXPECT_FALSE(album.plugin().UsesSubfolderText(HtmlAlbum::Slideshow));
    EXPECT_FALSE(album.plugin().UsesSubfolderText(999));
}

TEST_F(HtmlPluginTest, PreviewsAreThePicturesInTheThemeFolders)
{
    for (const auto& [id, name] : templates()) {
        gv_string picture;
        EXPECT_NE(album.plugin().GetPreview(id, &picture, &album.host()), 0) << name.toStdString();
        const QFileInfo file(QString::fromUtf8(picture.c_str()));
        EXPECT_TRUE(file.isFile()) << picture.c_str();
        EXPECT_TRUE(file.absoluteFilePath().startsWith(QStringLiteral(GVTEST_HTML_THEMES)));
        album.plugin().EndPreview();
    }
    gv_string none;
    EXPECT_EQ(album.plugin().GetPreview(999, &none, &album.host()), 0);
    EXPECT_EQ(album.plugin().GetPreview(1, nullptr, &album.host()), 0);
}

TEST_F(HtmlPluginTest, UnknownTemplatesAreRefused)
{
    gv_vector<GVParamInfo> params;
    EXPECT_EQ(album.plugin().GetTemplateParams(999, &params), GV_E_TEMPLATE);
    EXPECT_EQ(params.size(), 0);
    EXPECT_EQ(album.plugin().Generate(999, &album.host()), GV_E_TEMPLATE);
    EXPECT_EQ(album.plugin().Generate(1, nullptr), GV_E_INVALIDPARAM);
}

TEST_F(HtmlPluginTest, StartPageAndViewingTheAlbum)
{
    gv_string destination(work.file("album").toUtf8().constData());
    gv_string start;
    EXPECT_EQ(album.plugin().GetStartPage(HtmlAlbum::Classic, &destination, &start), GV_OK);
    EXPECT_EQ(QString::fromUtf8(start.c_str()), work.file("album/index.html"));
    EXPECT_LT(album.plugin().ViewAlbum(HtmlAlbum::Classic, &destination), 0)
        << "nothing generated yet";
    work.write("album/index.html", "<!doctype html>");
    EXPECT_EQ(album.plugin().ViewAlbum(HtmlAlbum::Classic, &destination), 0);
    gv_string empty;
    EXPECT_LT(album.plugin().ViewAlbum(HtmlAlbum::Classic, &empty), 0);
    EXPECT_LT(album.plugin().ViewAlbum(999, &destination), 0);
    EXPECT_EQ(album.plugin().GetStartPage(999, &destination, &start), GV_E_TEMPLATE);
}
