// SPDX-License-Identifier: GPL-2.0-or-later
// Reading XML project files: the plug-in and template named in them, saved values over the
// template's defaults, parts that are missing, and the album's thumbnail.
#include <cstring>

#include "album/projectloader.h"
#include "platform/imaging.h"
#include "platform/stringtable.h"
#include "plugins/paramrules.h"
#include "tests/album/projectfixture.h"
#include "tests/support/orientedphotos.h"

namespace
{

using XmlRead = ProjectTest;
using Answer = Prompter::Answer;

// A project file of the current format around the given settings and images.
QByteArray projectXml(const char* plugin, const char* templ, const QByteArray& settings,
                      const QByteArray& images = "")
{
    return "<project Version=\"1.0\" ImageData=\"false\" TemplateData=\"false\">\n"
           "<images Quantity=\"0\">" +
           images + "</images>\n" + settings + "\n<gvplugin File=\"x\" Name=\"" + plugin +
           "\" Version=\"1\" Id=\"7\">"
           "<template Id=\"3\" Name=\"" +
           templ + "\"/></gvplugin></project>\n";
}

QByteArray settingsWith(const QByteArray& params)
{
    return "<gvsettings AlbumName=\"Rome\" AlbumPath=\"/out/rome\" Favorite=\"Rome fav\" "
           "Quantity=\"10\">" +
           params + "</gvsettings>";
}

QByteArray fontParam(const QByteArray& face, const QByteArray& extra = "")
{
    return "<param Type=\"8\" Id=\"5\" InternalName=\"titlefont\"><value><font rgbColors=\"255\" "
           "iPointSize=\"120\" Flags=\"4294967295\" lfHeight=\"-12\" lfWeight=\"700\" "
           "lfItalic=\"257\" lfFaceName=\"" +
           face + "\" " + extra + "/></value></param>";
}

} // namespace

TEST_F(XmlRead, SavedValuesGoOverTheTemplateDefaults)
{
    struct Case {
        const char* what;
        QByteArray param;
        std::function<void(AlbumProject&)> check;
    };
    const std::string face30(30, 'F'), face31(31, 'G');
    const std::vector<Case> cases = {
        {"choice text in another case selects the option",
         "<param InternalName=\"InterpolationMode\"><value String=\"bilinear\" "
         "Number=\"0\"/></param>",
         [](AlbumProject& a) {
             const GVParamInfo& p = *find(a, "InterpolationMode");
             ASSERT_EQ(p.values.size(), 3);
             EXPECT_EQ(p.values[0].kind, PVK_OPTION);
             EXPECT_EQ(p.values[1].kind, PVK_VALUE);
             EXPECT_STREQ(p.values[1].value.text.c_str(), "Bilinear");
             EXPECT_EQ(p.values[2].kind, PVK_OPTION);
         }},
        {"a choice the template no longer offers keeps its default",
         "<param InternalName=\"Style\"><value String=\"Neon\" Number=\"0\"/></param>",
         [](AlbumProject& a) {
             EXPECT_STREQ(paramrules::value(*find(a, "Style"))->text.c_str(), "Dark");
         }},
        {"number only keeps the text",
         "<param InternalName=\"COLUMNS\"><value Number=\"8\"/></param>",
         [](AlbumProject& a) {
             const GVParamInfo& p = *find(a, "Columns");
             EXPECT_EQ(p.values[2].value.number, 8);
             EXPECT_EQ(p.values[2].kind, PVK_VALUE);
             EXPECT_EQ(p.values[0].value.number, 1); // the minimum is untouched
         }},
        {"any element name counts, the first match wins",
         "<other InternalName=\"Title\"><value String=\"First\"/></other>"
         "<param InternalName=\"Title\"><value String=\"Second\"/></param>",
         [](AlbumProject& a) {
             EXPECT_STREQ(paramrules::value(*find(a, "Title"))->text.c_str(), "Second");
         }},
        {"entries without value, unknown names and parameters without values are skipped",
         "<param InternalName=\"Title\"/><param InternalName=\"Nothing\"><value "
         "String=\"x\"/></param>"
         "<param InternalName=\"Pictures\"><value String=\"x\"/></param>",
         [](AlbumProject& a) {
             EXPECT_STREQ(paramrules::value(*find(a, "Title"))->text.c_str(), "Summer Holidays");
             EXPECT_TRUE(find(a, "Pictures")->values.empty());
         }},
        {"font with a face of 30 characters", fontParam(QByteArray::fromStdString(face30)),
         [&](AlbumProject& a) {
             const GVFontBlock& f = *find(a, "TitleFont")->values[0].value.font;
             EXPECT_EQ(std::string(f.logFont.lfFaceName), face30);
             EXPECT_EQ(f.chooseFont.rgbColors, 255u);
             EXPECT_EQ(f.chooseFont.iPointSize, 120);
             EXPECT_EQ(f.chooseFont.Flags, 0xFFFFFFFFu);
             EXPECT_EQ(f.logFont.lfHeight, -12);
             EXPECT_EQ(f.logFont.lfWeight, 700);
             EXPECT_EQ(f.logFont.lfItalic, 1); // the low byte
             EXPECT_EQ(f.logFont.lfWidth, 0);  // not in the file: the default stays
         }},
        {"a face of 31 characters is ignored", fontParam(QByteArray::fromStdString(face31)),
         [](AlbumProject& a) {
             const GVFontBlock& f = *find(a, "TitleFont")->values[0].value.font;
             EXPECT_STREQ(f.logFont.lfFaceName, "DejaVu Sans");
             EXPECT_EQ(f.logFont.lfWeight, 700);
         }},
        {"a font value without font is skipped",
         "<param InternalName=\"TitleFont\"><value String=\"Arial\" Number=\"3\"/></param>",
         [](AlbumProject& a) {
             const GVParamValue& v = find(a, "TitleFont")->values[0].value;
             EXPECT_STREQ(v.font->logFont.lfFaceName, "DejaVu Sans");
             EXPECT_STREQ(v.text.c_str(), "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        work.write("p.gvp", projectXml("alpha", "CLASSIC", settingsWith(c.param)));
        auto target = freshAlbum();
        ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), true), GV_OK);
        EXPECT_EQ(target->PluginIndex(), Alpha);
        EXPECT_EQ(target->TemplateId(), 10);
        ASSERT_EQ(target->ParameterList().size(), 10);
        c.check(*target);
    }
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST(SavedValues, ParameterWithoutValueInForceTakesACopyOfItsLastEntry)
{
    GVParamInfo param;
    param.type = PT_NUMBER;
    param.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(1)));
    param.values.push_back(GVParamValueInfo(PVK_MAXIMUM, GVParamValue("max")));
    SavedParam saved;
    saved.number = 5;
    ProjectLoader::ApplySaved(param, saved);
    ASSERT_EQ(param.values.size(), 3);
    EXPECT_EQ(param.values[2].kind, PVK_VALUE);
    EXPECT_EQ(param.values[2].value.number, 5);
    EXPECT_STREQ(param.values[2].value.text.c_str(), "max");
    EXPECT_EQ(param.values[1].value.number, 0);

    // A font parameter without a font block has nothing to take a font into.
    GVParamInfo font;
    font.type = PT_FONT;
    font.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(1)));
    saved.hasFont = true;
    ProjectLoader::ApplySaved(font, saved);
    EXPECT_EQ(font.values.size(), 1);
}

TEST_F(XmlRead, SummaryAndAlbumTakeTheFile)
{
    addImage("a.jpg", "A");
    work.write("p.gvp",
               projectXml("Alpha", "Classic", settingsWith(""),
                          "<image ImageName=\"A\" Path=\"" +
                              QByteArray::fromStdString(path("a.jpg")) +
                              "\" RelativePath=\"nowhere/a.jpg\" Description=\"d\" Album=\"s\"/>"));
    auto target = freshAlbum();
    target->MarkModified();
    ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), true), GV_OK);
    const AlbumSummary& summary = target->Summary();
    EXPECT_STREQ(summary.projectPath.c_str(), path("p.gvp").c_str());
    EXPECT_STREQ(summary.pluginName.c_str(), "Alpha");
    EXPECT_STREQ(summary.templateName.c_str(), "Classic");
    EXPECT_STREQ(summary.albumName.c_str(), "Rome");
    EXPECT_STREQ(summary.destination.c_str(), "/out/rome");
    EXPECT_STREQ(summary.favoritesName.c_str(), "Rome fav");
    EXPECT_EQ(summary.imageCount, 1);
    EXPECT_STREQ(target->ProjectPath().c_str(), path("p.gvp").c_str());
    EXPECT_STREQ(target->Destination().c_str(), "/out/rome");
    EXPECT_STREQ(target->FavoritesName().c_str(), "Rome fav");
    EXPECT_STREQ(target->AlbumName().c_str(), "Rome"); // a destination makes the stored name hold
    EXPECT_FALSE(target->IsModified());
    ASSERT_EQ(target->Images().size(), 1u);
    EXPECT_STREQ(target->Images()[0].path.c_str(), path("a.jpg").c_str()); // found by Path
}

TEST_F(XmlRead, BackslashesAreSeparatorsOnlyInPathsWrittenOnWindows)
{
    addImage("a\\b.jpg", "AB");
    const QByteArray own = QByteArray::fromStdString(path("a\\b.jpg"));
    work.write("p.gvp", projectXml("Alpha", "Classic", settingsWith(""),
                                   "<image ImageName=\"AB\" Path=\"" + own +
                                       "\"/>"
                                       "<image ImageName=\"W\" Path=\"C:\\Photos\\w.jpg\"/>"));
    auto target = freshAlbum();
    ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), false), GV_OK);
    ASSERT_EQ(target->Images().size(), 2u);
    // The photo is found under its own name, without a question.
    EXPECT_STREQ(target->Images()[0].path.c_str(), own.constData());
    EXPECT_STREQ(target->Images()[1].path.c_str(), "C:/Photos/w.jpg");
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
}

TEST_F(XmlRead, MissingPartsFallThroughToTheOlderFormat)
{
    const QByteArray settings = settingsWith("");
    struct Case {
        const char* what;
        QByteArray text;
        ResultCode expected;
    };
    const std::vector<Case> cases = {
        {"no settings", projectXml("Alpha", "Classic", ""), GV_E_CORRUPTED},
        {"no images",
         QByteArray(projectXml("Alpha", "Classic", settings))
             .replace("<images Quantity=\"0\"></images>", ""),
         GV_E_CORRUPTED},
        {"no template",
         QByteArray(projectXml("Alpha", "Classic", settings))
             .replace("<template Id=\"3\" Name=\"Classic\"/>", ""),
         GV_E_CORRUPTED},
        {"no plug-in", "<project><images/>" + settings + "</project>", GV_E_CORRUPTED},
        {"other root", "<album><images/>" + settings + "</album>", GV_E_CORRUPTED},
        {"not closed", projectXml("Alpha", "Classic", settings).left(60), GV_E_CORRUPTED},
        {"too short for either", "<p/>", GV_E_READFILE},
        {"empty", "", GV_E_READFILE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        work.write("p.gvp", c.text);
        auto target = freshAlbum();
        EXPECT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), true), c.expected);
        EXPECT_FALSE(target->HasProjectFile());
    }
    auto target = freshAlbum();
    EXPECT_EQ(projectFile(*target).OpenProject(path("missing.gvp").c_str(), true), GV_E_READFILE);
    EXPECT_EQ(projectFile(*target).OpenProject(nullptr, true), GV_E_READFILE);
}

TEST_F(XmlRead, PluginsAndTemplatesThatAreNotInstalled)
{
    struct Case {
        const char* what;
        const char* plugin;
        const char* templ;
        bool ask;
        std::deque<Answer> answers;
        ResultCode expected;
        int32_t pluginIndex;
        int32_t templateId;
        int questions;
    };
    const std::vector<Case> cases = {
        {"found without regard to case", "ALPHA", "grid", true, {}, GV_OK, Alpha, 20, 0},
        {"plug-in missing, Yes takes the last plug-in",
         "Gamma",
         "Classic",
         true,
         {Answer::Yes},
         GV_OK,
         Plain,
         10,
         1},
        {"plug-in missing, No refuses the file",
         "Gamma",
         "Classic",
         true,
         {Answer::No},
         GV_E_CORRUPTED,
         -1,
         -1,
         1},
        {"template missing, Yes takes the last template",
         "Alpha",
         "Mosaic",
         true,
         {Answer::Yes},
         GV_OK,
         Alpha,
         20,
         1},
        {"template missing, No refuses the file",
         "Alpha",
         "Mosaic",
         true,
         {Answer::No},
         GV_E_CORRUPTED,
         -1,
         -1,
         1},
        {"a plug-in without templates", "Beta", "Classic", true, {Answer::Yes}, GV_OK, Beta, -1, 1},
        {"both missing, both asked",
         "Gamma",
         "Mosaic",
         true,
         {Answer::Yes, Answer::Yes},
         GV_OK,
         Plain,
         20,
         2},
        {"without asking, nothing is chosen", "Gamma", "Mosaic", false, {}, GV_OK, -1, -1, 0},
        {"without asking, an unknown template", "Alpha", "Mosaic", false, {}, GV_OK, Alpha, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.texts.clear();
        prompter.answers = c.answers;
        work.write("p.gvp", projectXml(c.plugin, c.templ, settingsWith("")));
        auto target = freshAlbum();
        ASSERT_EQ(projectFile(*target).OpenProject(path("p.gvp").c_str(), c.ask), c.expected);
        EXPECT_EQ(prompter.texts.size(), c.questions);
        EXPECT_EQ(target->PluginIndex(), c.pluginIndex);
        EXPECT_EQ(target->TemplateId(), c.templateId);
        if (c.expected == GV_OK) {
            EXPECT_STREQ(target->Summary().pluginName.c_str(), c.plugin);
        }
    }
    prompter.texts.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    work.write("p.gvp", projectXml("Gamma", "Mosaic", settingsWith("")));
    auto target = freshAlbum();
    projectFile(*target).OpenProject(path("p.gvp").c_str(), true);
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_TRUE(prompter.texts[0].contains("\"Gamma\""));
    EXPECT_EQ(prompter.texts[1],
              "Template with the name \"Mosaic\" is not installed.\nContinue opening album?");
}

TEST_F(XmlRead, ThumbnailsWrittenAndShown)
{
    struct Case {
        int width, height;
        QSize thumbnail;
    };
    for (const Case& c : std::vector<Case>{{300, 200, {128, 85}},
                                           {200, 300, {85, 128}},
                                           {128, 128, {128, 128}},
                                           {2000, 10, {128, 1}}}) {
        SCOPED_TRACE(c.width);
        album.Images().clear();
        const QString photo = QString("photo%1x%2.jpg").arg(c.width).arg(c.height);
        writePhoto(work.file(photo), c.width, c.height, Qt::blue);
        addImage(photo, "p");
        ASSERT_EQ(projectFile(album).WriteProject(path("t.gvp").c_str()), GV_OK);
        const auto thumbnail = imaging::Image::open(work.file("t.gvp.jpg"));
        ASSERT_TRUE(thumbnail);
        EXPECT_EQ(QSize(thumbnail->width(), thumbnail->height()), c.thumbnail);
        EXPECT_EQ(thumbnail->rawFormat(), imaging::RawFormat::Jpeg);
    }

    // Opened, the thumbnail takes the album list's size, S by S - 28.
    QFile::remove(work.file("t.gvp.jpg"));
    writePhoto(work.file("t.gvp.jpg"), 128, 85, Qt::green);
    auto target = freshAlbum();
    ProjectFile file = projectFile(*target);
    ASSERT_EQ(file.OpenProject(path("t.gvp").c_str(), true), GV_OK);
    EXPECT_EQ(target->Summary().thumbnail.size(), QSize(128, 100));
    EXPECT_GT(qGreen(target->Summary().thumbnail.pixel(64, 50)), 200);
    file.SetThumbnailSize(96);
    ASSERT_EQ(file.OpenProject(path("t.gvp").c_str(), true), GV_OK);
    EXPECT_EQ(target->Summary().thumbnail.size(), QSize(96, 68));

    // Without its thumbnail file the album shows its first photo, a thin strip in its
    // proportions across the middle of the box.
    QFile::remove(work.file("t.gvp.jpg"));
    ASSERT_EQ(file.OpenProject(path("t.gvp").c_str(), true), GV_OK);
    EXPECT_EQ(target->Summary().thumbnail.size(), QSize(96, 68));
    const QImage strip = opaquePart(target->Summary().thumbnail);
    EXPECT_EQ(strip.size(), QSize(96, 1));
    EXPECT_GT(qBlue(strip.pixel(48, 0)), 200);
}

// The album manager shows each album by its first photo the right way round, mirrored
// orientations too, and keeps its proportions in the list's box.
TEST_F(XmlRead, ThumbnailsShowPhotosUprightInTheirProportions)
{
    const QStringList photos = makeOrientedPhotos(work.file("oriented"));
    ASSERT_EQ(photos.size(), 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QImage expected = autorotated(photos[orientation - 1]);
        album.Images().clear();
        addImage(QString("oriented/orientation-%1.jpg").arg(orientation), "p");
        ASSERT_EQ(projectFile(album).WriteProject(path("t.gvp").c_str()), GV_OK);
        QString why;
        const QImage written(work.file("t.gvp.jpg"));
        EXPECT_EQ(std::max(written.width(), written.height()), 128);
        EXPECT_TRUE(showsTheSame(written, expected, &why)) << why.toStdString();

        auto target = freshAlbum();
        ProjectFile file = projectFile(*target);
        ASSERT_EQ(file.OpenProject(path("t.gvp").c_str(), true), GV_OK);
        const QImage listed = target->Summary().thumbnail;
        EXPECT_EQ(listed.size(), QSize(128, 100));
        EXPECT_EQ(qAlpha(listed.pixel(0, 0)), 0) << "the box around the picture stays clear";
        EXPECT_TRUE(showsTheSame(opaquePart(listed), expected, &why)) << why.toStdString();

        // Without the thumbnail file, straight from the photo.
        QFile::remove(work.file("t.gvp.jpg"));
        ASSERT_EQ(file.OpenProject(path("t.gvp").c_str(), true), GV_OK);
        EXPECT_TRUE(showsTheSame(opaquePart(target->Summary().thumbnail), expected, &why))
            << why.toStdString();
    }
}

TEST_F(XmlRead, AnAlbumWithoutPhotosHasNoThumbnail)
{
    addImage("a.jpg", "A");
    ASSERT_EQ(projectFile(album).WriteProject(path("t.gvp").c_str()), GV_OK);
    ASSERT_TRUE(QFileInfo::exists(work.file("t.gvp.jpg")));
    album.Images().clear();
    ASSERT_EQ(projectFile(album).WriteProject(path("t.gvp").c_str()), GV_OK);
    // An older thumbnail of photos that are gone is not kept.
    EXPECT_FALSE(QFileInfo::exists(work.file("t.gvp.jpg")));
    EXPECT_FALSE(fileBytes(work.file("t.gvp")).contains("<thumbnail"));
    auto target = freshAlbum();
    ASSERT_EQ(projectFile(*target).OpenProject(path("t.gvp").c_str(), true), GV_OK);
    EXPECT_TRUE(target->Summary().thumbnail.isNull());
    EXPECT_EQ(folderEntries(work.path()), QStringList({"a.jpg", "t.gvp"}));

    // A first photo that cannot be read gives no thumbnail either.
    work.write("broken.jpg", "not a picture");
    album.Images().clear();
    addImage("broken.jpg", "B");
    ASSERT_EQ(projectFile(album).WriteProject(path("t.gvp").c_str()), GV_OK);
    EXPECT_FALSE(QFileInfo::exists(work.file("t.gvp.jpg")));
}
