// SPDX-License-Identifier: GPL-2.0-or-later
// Writing XML project files and reading them back: every parameter type, images and their
// relative paths, what is left out because it holds the template's default, and the shape
// of the document.
#include <cstring>
#include <functional>

#include <tinyxml2.h>

#include "album/projectpaths.h"
#include "album/projectxmlreader.h"
#include "plugins/paramrules.h"
#include "tests/album/projectfixture.h"

namespace
{

using XmlWrite = ProjectTest;

// The user picks option text of a choice, as the properties page does.
void choose(GVParamInfo& param, const char* text)
{
    for (GVParamValueInfo& entry : param.values)
        entry.kind =
            paramrules::sameName(entry.value.text.c_str(), text) ? PVK_USER_VALUE : PVK_OPTION;
}

// The option of a choice that is in force.
std::string chosen(const GVParamInfo& param)
{
    const GVParamValue* value = paramrules::value(param);
    return value ? value->text.c_str() : "<none>";
}

struct ParamCase {
    const char* name;
    std::function<void(GVParamInfo&)> edit;
    std::function<void(const GVParamInfo&)> check;
};

const char* const Awkward =
    "Trip to \"Rome\" & <Naples>\r\nDay 1\tsun 'n' fun \xc3\xbc\xe2\x82\xac";

std::vector<ParamCase> everyType()
{
    auto value = [](GVParamInfo& p) -> GVParamValue& {
        const int32_t i = paramrules::valueIndex(p);
        p.values[i].kind = PVK_USER_VALUE;
        return p.values[i].value;
    };
    return {
        {"Title", [=](GVParamInfo& p) { value(p).text = Awkward; },
         [](const GVParamInfo& p) { EXPECT_STREQ(paramrules::value(p)->text.c_str(), Awkward); }},
        {"Columns", [=](GVParamInfo& p) { value(p).number = 7; },
         [](const GVParamInfo& p) { EXPECT_EQ(paramrules::value(p)->number, 7); }},
        {"Style", [](GVParamInfo& p) { choose(p, "Sepia"); },
         [](const GVParamInfo& p) {
             EXPECT_EQ(chosen(p), "Sepia");
             EXPECT_EQ(p.values[0].kind, PVK_OPTION);
             EXPECT_EQ(p.values[1].kind, PVK_OPTION);
         }},
        {"Background", [=](GVParamInfo& p) { value(p).text = "/home/me/pics/bg.png"; },
         [](const GVParamInfo& p) {
             EXPECT_STREQ(paramrules::value(p)->text.c_str(), "/home/me/pics/bg.png");
             EXPECT_STREQ(p.values[1].value.text.c_str(), "images/bg.jpg"); // untouched
         }},
        {"TextColor", [=](GVParamInfo& p) { value(p).number = 0x00112233; },
         [](const GVParamInfo& p) { EXPECT_EQ(paramrules::value(p)->number, 0x00112233); }},
        {"TitleFont",
         [=](GVParamInfo& p) {
             GVFontBlock& f = *value(p).font;
             std::strcpy(f.logFont.lfFaceName, "Liberation Serif");
             f.logFont.lfWeight = GV_FW_NORMAL;
             f.logFont.lfItalic = 1;
             f.logFont.lfHeight = -30;
             f.logFont.lfPitchAndFamily = 0x22;
             f.chooseFont.rgbColors = 0x00ABCDEF;
             f.chooseFont.iPointSize = 240;
             f.chooseFont.Flags = 0x80000041u;
         },
         [](const GVParamInfo& p) {
             const GVFontBlock& f = *paramrules::value(p)->font;
             EXPECT_STREQ(f.logFont.lfFaceName, "Liberation Serif");
             EXPECT_EQ(f.logFont.lfWeight, GV_FW_NORMAL);
             EXPECT_EQ(f.logFont.lfItalic, 1);
             EXPECT_EQ(f.logFont.lfHeight, -30);
             EXPECT_EQ(f.logFont.lfPitchAndFamily, 0x22);
             EXPECT_EQ(f.chooseFont.rgbColors, 0x00ABCDEFu);
             EXPECT_EQ(f.chooseFont.iPointSize, 240);
             EXPECT_EQ(f.chooseFont.Flags, 0x80000041u);
         }},
        {"ThumbSize", [=](GVParamInfo& p) { value(p).number = 250; },
         [](const GVParamInfo& p) { EXPECT_EQ(paramrules::value(p)->number, 250); }},
        {"JPEGQuality", [=](GVParamInfo& p) { value(p).number = 55; },
         [](const GVParamInfo& p) { EXPECT_EQ(p.values[2].value.number, 55); }},
        {"InterpolationMode", [](GVParamInfo& p) { choose(p, "Bicubic"); },
         [](const GVParamInfo& p) { EXPECT_EQ(chosen(p), "Bicubic"); }},
    };
}

tinyxml2::XMLElement* parse(tinyxml2::XMLDocument& document, const QString& path)
{
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(document.Parse(bytes.constData(), size_t(bytes.size())), tinyxml2::XML_SUCCESS);
    return document.FirstChildElement("project");
}

std::vector<std::string> childNames(const tinyxml2::XMLElement& element)
{
    std::vector<std::string> names;
    for (auto* child = element.FirstChildElement(); child; child = child->NextSiblingElement())
        names.push_back(child->Name());
    return names;
}

std::vector<std::string> attributeNames(const tinyxml2::XMLElement& element)
{
    std::vector<std::string> names;
    for (auto* a = element.FirstAttribute(); a; a = a->Next())
        names.push_back(a->Name());
    return names;
}

// The internal names of the parameters a saved file carries.
std::vector<std::string> savedParams(const QString& path)
{
    SavedProject project;
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(ProjectXmlReader::Parse(bytes.constData(), size_t(bytes.size()), project));
    std::vector<std::string> names;
    for (const SavedParam& param : project.params)
        names.push_back(param.internalName);
    return names;
}

} // namespace

TEST_F(XmlWrite, EveryParameterTypeSurvivesTwoRoundTrips)
{
    const std::vector<ParamCase> cases = everyType();
    for (const ParamCase& c : cases)
        c.edit(*find(album, c.name));
    addImage("a.jpg", "first");
    const std::string first = path("trip.gvp");
    ProjectFile file = projectFile(album);
    ASSERT_EQ(file.WriteProject(first.c_str()), GV_OK);
    EXPECT_EQ(savedParams(work.file("trip.gvp")).size(), cases.size());

    // Opened and saved again untouched, the values stay: loading puts them in force, and
    // values in force that differ from the template's are saved too.
    auto reopened = freshAlbum();
    ProjectFile second = projectFile(*reopened);
    ASSERT_EQ(second.OpenProject(first.c_str(), true), GV_OK);
    const std::string again = path("again.gvp");
    ASSERT_EQ(second.WriteProject(again.c_str()), GV_OK);
    auto last = freshAlbum();
    ASSERT_EQ(projectFile(*last).OpenProject(again.c_str(), true), GV_OK);
    for (AlbumProject* target : {reopened.get(), last.get()})
        for (const ParamCase& c : cases) {
            SCOPED_TRACE(c.name);
            const GVParamInfo* param = find(*target, c.name);
            ASSERT_NE(param, nullptr);
            c.check(*param);
        }
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('\n').toStdString();
}

TEST_F(XmlWrite, OnlyValuesThatDifferFromTheTemplateAreWritten)
{
    struct Case {
        const char* what;
        std::function<void()> edit;
        std::vector<std::string> written;
    };
    const std::vector<Case> cases = {
        {"nothing set", [] {}, {}},
        {"same text in other case", [&] { userValue("Title").text = "SUMMER holidays"; }, {}},
        {"other text", [&] { userValue("Title").text = "Winter"; }, {"Title"}},
        {"font colour only",
         [&] { userValue("TitleFont").font->chooseFont.rgbColors = 0xFF; },
         {"TitleFont"}},
        {"font size and flags only",
         [&] {
             GVFontBlock& f = *userValue("TitleFont").font;
             f.chooseFont.iPointSize = 90;
             f.chooseFont.Flags = 7;
         },
         {"TitleFont"}},
        {"font weight",
         [&] { userValue("TitleFont").font->logFont.lfWeight = 100; },
         {"TitleFont"}},
        {"same number", [&] { userValue("Columns").number = 4; }, {}},
        {"other number", [&] { userValue("Columns").number = 5; }, {"Columns"}},
        {"default option", [&] { choose(*find(album, "Style"), "dark"); }, {}},
        {"other option", [&] { choose(*find(album, "Style"), "Light"); }, {"Style"}},
        {"value in force changed",
         [&] { find(album, "ThumbSize")->values[2].value.number = 99; },
         {"ThumbSize"}},
        {"two changes keep list order",
         [&] {
             userValue("ThumbSize").number = 300;
             userValue("Title").text = "x";
         },
         {"Title", "ThumbSize"}},
    };
    ProjectFile file = projectFile(album);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        album.ParameterList().clear();
        ASSERT_EQ(album.Parameters(nullptr), 0);
        c.edit();
        ASSERT_EQ(file.WriteProject(path("p.gvp").c_str()), GV_OK);
        EXPECT_EQ(savedParams(work.file("p.gvp")), c.written);
        tinyxml2::XMLDocument document;
        const auto* settings = parse(document, work.file("p.gvp"))->FirstChildElement("gvsettings");
        ASSERT_NE(settings, nullptr);
        // The count is the whole list, whatever is written.
        EXPECT_EQ(settings->IntAttribute("Quantity"), 10);
        EXPECT_EQ(album.ParameterList().size(), 10); // the album's own list is put back
    }
}

TEST_F(XmlWrite, DocumentHasItsElementsAndAttributesInOrder)
{
    addImage("a.jpg", "A & B", "beach");
    addImage("b.jpg", "B");
    album.Images()[0].description = "one";
    album.SetDestination("/srv/www/trip");
    album.SetFavoritesName("Trip fav");
    userValue("Columns").number = 6;
    userValue("TitleFont").font->logFont.lfWeight = 300;
    const std::string target = path("trip.gvp");
    ASSERT_EQ(projectFile(album).WriteProject(target.c_str()), GV_OK);

    const QByteArray bytes = fileBytes(work.file("trip.gvp"));
    EXPECT_TRUE(
        bytes.startsWith("<project Version=\"1.0\" ImageData=\"false\" TemplateData=\"false\">"))
        << bytes.left(80).toStdString();
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* project = parse(document, work.file("trip.gvp"));
    ASSERT_NE(project, nullptr);
    using Names = std::vector<std::string>;
    EXPECT_EQ(childNames(*project), (Names{"thumbnail", "images", "gvsettings", "gvplugin"}));
    EXPECT_STREQ(project->FirstChildElement("thumbnail")->Attribute("File"),
                 (target + ".jpg").c_str());

    const auto* images = project->FirstChildElement("images");
    EXPECT_EQ(images->IntAttribute("Quantity"), 2);
    const auto* image = images->FirstChildElement("image");
    EXPECT_EQ(attributeNames(*image),
              (Names{"ImageName", "Path", "RelativePath", "Description", "Album"}));
    EXPECT_STREQ(image->Attribute("ImageName"), "A & B");
    EXPECT_STREQ(image->Attribute("Path"), path("a.jpg").c_str());
    EXPECT_STREQ(image->Attribute("RelativePath"), "a.jpg");
    EXPECT_STREQ(image->Attribute("Description"), "one");
    EXPECT_STREQ(image->Attribute("Album"), "beach");

    const auto* settings = project->FirstChildElement("gvsettings");
    EXPECT_EQ(attributeNames(*settings), (Names{"AlbumName", "AlbumPath", "Favorite", "Quantity"}));
    EXPECT_STREQ(settings->Attribute("AlbumName"), "Summer Holidays");
    EXPECT_STREQ(settings->Attribute("AlbumPath"), "/srv/www/trip");
    EXPECT_STREQ(settings->Attribute("Favorite"), "Trip fav");
    const auto* columns = settings->FirstChildElement("param");
    EXPECT_EQ(attributeNames(*columns),
              (Names{"Type", "Id", "InternalName", "FriendlyName", "Description"}));
    EXPECT_EQ(columns->IntAttribute("Type"), PT_NUMBER);
    EXPECT_EQ(columns->IntAttribute("Id"), 1);
    EXPECT_STREQ(columns->Attribute("FriendlyName"), "Columns");
    EXPECT_EQ(attributeNames(*columns->FirstChildElement("value")), (Names{"String", "Number"}));
    EXPECT_EQ(columns->FirstChildElement("value")->IntAttribute("Number"), 6);
    const auto* font = columns->NextSiblingElement("param")->FirstChildElement("value");
    EXPECT_EQ(font->FirstAttribute(), nullptr);
    EXPECT_EQ(attributeNames(*font->FirstChildElement("font")),
              (Names{"rgbColors", "iPointSize", "Flags", "lfHeight", "lfWidth", "lfEscapement",
                     "lfOrientation", "lfWeight", "lfItalic", "lfUnderline", "lfStrikeOut",
                     "lfOutPrecision", "lfClipPrecision", "lfQuality", "lfPitchAndFamily",
                     "lfFaceName"}));
    EXPECT_STREQ(font->FirstChildElement("font")->Attribute("lfFaceName"), "DejaVu Sans");

    const auto* plugin = project->FirstChildElement("gvplugin");
    EXPECT_EQ(attributeNames(*plugin), (Names{"File", "Name", "Version", "Id"}));
    EXPECT_EQ(plugin->Attribute("File"), album.Plugins()[Alpha].libraryPath);
    EXPECT_STREQ(plugin->Attribute("Name"), "Alpha");
    EXPECT_EQ(plugin->IntAttribute("Version"), (3 << 16) | 4); // the low half of 1.2.3.4
    EXPECT_EQ(plugin->IntAttribute("Id"), Alpha);
    EXPECT_EQ(plugin->FirstChildElement("template")->IntAttribute("Id"), 10);
    EXPECT_STREQ(plugin->FirstChildElement("template")->Attribute("Name"), "Classic");
    EXPECT_FALSE(album.IsModified());
}

TEST_F(XmlWrite, TemplateNameIsLeftOutWhenThePluginHasNoSuchTemplate)
{
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 99));
    ASSERT_EQ(projectFile(album).WriteProject(path("p.gvp").c_str()), GV_OK);
    tinyxml2::XMLDocument document;
    const auto* templ = parse(document, work.file("p.gvp"))
                            ->FirstChildElement("gvplugin")
                            ->FirstChildElement("template");
    EXPECT_EQ(templ->IntAttribute("Id"), 99);
    EXPECT_EQ(templ->Attribute("Name"), nullptr);
}

TEST_F(XmlWrite, ImagesKeepTextsOrderAndRelativePaths)
{
    struct Case {
        QString photo;
        const char* subfolder;
        std::string relative;
    };
    const std::vector<Case> cases = {
        {"albums/a.jpg", "", "a.jpg"},
        {"albums/sub/deeper/b.jpg", "sub/deeper", "sub/deeper/b.jpg"},
        {"photos/2023/c.jpg", "2023", "../photos/2023/c.jpg"},
        {"d.jpg", "top \"level\"", "../d.jpg"},
    };
    for (const Case& c : cases)
        addImage(c.photo, c.photo.toUtf8().constData(), c.subfolder);
    album.Images()[1].description = Awkward;
    album.Images()[2].comment = "not saved";
    // A project path with a '/..' part is taken as the folder it stands for.
    QDir().mkpath(work.file("albums/x"));
    const std::string target = path("albums/x/../trip.gvp");
    ASSERT_EQ(projectFile(album).WriteProject(target.c_str()), GV_OK);

    SavedProject saved;
    const QByteArray bytes = fileBytes(work.file("albums/trip.gvp"));
    ASSERT_TRUE(ProjectXmlReader::Parse(bytes.constData(), size_t(bytes.size()), saved));
    ASSERT_EQ(saved.images.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(saved.images[i].relativePath, cases[i].relative) << i;

    auto reopened = freshAlbum();
    ASSERT_EQ(projectFile(*reopened).OpenProject(path("albums/trip.gvp").c_str(), true), GV_OK);
    ASSERT_EQ(reopened->Images().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const AlbumImage& image = reopened->Images()[i];
        EXPECT_STREQ(image.name.c_str(), cases[i].photo.toUtf8().constData());
        EXPECT_STREQ(image.path.c_str(), path(cases[i].photo).c_str());
        EXPECT_STREQ(image.subfolder.c_str(), cases[i].subfolder);
        EXPECT_EQ(image.index, static_cast<int32_t>(i));
        EXPECT_STREQ(image.comment.c_str(), "");
    }
    EXPECT_STREQ(reopened->Images()[1].description.c_str(), Awkward);
    EXPECT_EQ(reopened->Summary().imageCount, 4);
}

TEST(RelativePaths, FromTheProjectFolder)
{
    TestFolder root;
    const std::string base = root.str() + "/albums";
    const projectpaths::RelativeTo relative(base);
    EXPECT_EQ(relative(base + "/a.jpg"), "a.jpg");
    EXPECT_EQ(relative(root.str() + "/photos/b.jpg"), "../photos/b.jpg");
    // A backslash in a name of this system is part of the name.
    EXPECT_EQ(relative(root.str() + "/photos\\b.jpg"), "../photos\\b.jpg");
    EXPECT_EQ(relative(base), ".");
    EXPECT_EQ(relative(""), "");
    // Without a folder to start from no relative path can be made.
    EXPECT_EQ(projectpaths::RelativeTo("")("/x/y.jpg"), "");
}

TEST(ProjectPaths, SeparatorsAndNames)
{
    // Paths written on Windows: a drive letter or a network share first.
    EXPECT_EQ(projectpaths::nativePath("C:\\Photos/2023\\a.jpg"), "C:/Photos/2023/a.jpg");
    EXPECT_EQ(projectpaths::nativePath("\\\\nas\\photos\\a.jpg"), "//nas/photos/a.jpg");
    EXPECT_EQ(projectpaths::fileName("C:\\Photos/2023\\a.jpg"), "a.jpg");
    EXPECT_EQ(projectpaths::fileName("d:\\a.jpg"), "a.jpg");
    EXPECT_EQ(projectpaths::join("C:\\a\\", "b.jpg"), "C:/a/b.jpg");
    // Elsewhere a backslash is an ordinary character of a name.
    EXPECT_EQ(projectpaths::nativePath("/home/ann/a\\b.jpg"), "/home/ann/a\\b.jpg");
    EXPECT_EQ(projectpaths::nativePath("photos\\a.jpg"), "photos\\a.jpg");
    EXPECT_EQ(projectpaths::fileName("/home/ann/a\\b.jpg"), "a\\b.jpg");
    EXPECT_EQ(projectpaths::join("/a\\", "b.jpg"), "/a\\/b.jpg");
    EXPECT_FALSE(projectpaths::endsInSeparator("/a\\"));
    EXPECT_TRUE(projectpaths::endsInSeparator("C:\\a\\"));
    EXPECT_EQ(projectpaths::fileName("/photos/"), "");
    EXPECT_EQ(projectpaths::fileName("plain.jpg"), "plain.jpg");
    EXPECT_EQ(projectpaths::join("/a", "b.jpg"), "/a/b.jpg");
    EXPECT_FALSE(projectpaths::exists(""));
}
