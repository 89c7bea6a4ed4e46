// SPDX-License-Identifier: GPL-2.0-or-later
// Theme manifests are outside data: every fault a theme folder can have is found before the
// theme is offered, the catalogue skips such a theme (saying why) and keeps the others, and
// fonts become CSS that cannot leave its declaration.
#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "outputs/html/fontcss.h"
#include "outputs/html/themecatalog.h"
#include "outputs/html/thememanifest.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

using Edit = std::function<void(QJsonObject&)>;

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

QJsonObject readJson(const QString& file)
{
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(in.readAll()).object();
}

void writeJson(const QString& file, const QJsonObject& json)
{
    QFile out(file);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(QJsonDocument(json).toJson());
}

// Changes the first element of an array member that has key == value.
void editEntry(QJsonObject& json, const char* array, const char* key, const char* value,
               const std::function<void(QJsonObject&)>& change)
{
    QJsonArray entries = json[QLatin1String(array)].toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QJsonObject entry = entries[i].toObject();
        if (entry[QLatin1String(key)].toString() == QLatin1String(value)) {
            change(entry);
            entries[i] = entry;
            break;
        }
    }
    json[QLatin1String(array)] = entries;
}

class ManifestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copyFolder(QStringLiteral(GVTEST_HTML_THEME_SOURCES), themes()));
    }
    QString themes() const { return work.file(QStringLiteral("themes")); }
    QString theme(const char* name) const { return themes() + u'/' + QLatin1String(name); }
    void edit(const char* name, const Edit& change)
    {
        QJsonObject json = readJson(theme(name) + QStringLiteral("/theme.json"));
        change(json);
        writeJson(theme(name) + QStringLiteral("/theme.json"), json);
    }
    QString faultOf(const char* name)
    {
        QString error;
        EXPECT_EQ(CThemeManifest::load(theme(name), false, &error), nullptr) << name;
        return error;
    }

    TestFolder work;
};

void setParam(QJsonObject& json, const char* name, const char* key, const QJsonValue& value)
{
    editEntry(json, "parameters", "name", name,
              [&](QJsonObject& p) { p[QLatin1String(key)] = value; });
}

void setPicture(QJsonObject& json, const char* name, const char* key, const QJsonValue& value)
{
    editEntry(json, "pictures", "name", name,
              [&](QJsonObject& p) { p[QLatin1String(key)] = value; });
}

} // namespace

TEST_F(ManifestTest, TheShippedThemesLoad)
{
    for (const char* name : {"mosaic", "classic", "slideshow"}) {
        QString error;
        const html::ThemePtr loaded = CThemeManifest::load(theme(name), false, &error);
        ASSERT_NE(loaded, nullptr) << name << ": " << error.toStdString();
        EXPECT_FALSE(loaded->pictures.isEmpty());
        EXPECT_EQ(loaded->templates.size(), static_cast<size_t>(loaded->pages.size() == 2 ? 2 : 1));
    }
}

TEST_F(ManifestTest, EveryFaultIsFoundAndNamed)
{
    const std::vector<std::pair<Edit, const char*>> cases = {
        {[](QJsonObject& j) { j.remove("id"); }, "\"id\" must be a whole number from 1"},
        {[](QJsonObject& j) { j["id"] = 0; }, "\"id\" must be a whole number from 1"},
        {[](QJsonObject& j) { j["id"] = 1.5; }, "\"id\" must be a whole number from 1"},
        {[](QJsonObject& j) { j["id"] = "one"; }, "\"id\" must be a whole number from 1"},
        {[](QJsonObject& j) { j["name"] = "  "; }, "\"name\" is missing"},
        {[](QJsonObject& j) { j["format"] = 2; }, "written for another manifest format"},
        {[](QJsonObject& j) { j["startPage"] = "../index.html"; }, "\"startPage\" is no file name"},
        {[](QJsonObject& j) { setParam(j, "Columns", "type", 99); },
         "parameter 9 (Columns) has the unknown type 99"},
        {[](QJsonObject& j) { setParam(j, "Columns", "default", "four"); },
         "parameter 9 (Columns) needs a number"},
        {[](QJsonObject& j) { setParam(j, "Columns", "default", 40); }, "its default lies outside"},
        {[](QJsonObject& j) { setParam(j, "Scheme", "default", "Plaid"); },
         "parameter 5 (Scheme) needs distinct"},
        {[](QJsonObject& j) {
             setParam(j, "Scheme", "options", QJsonArray{"A", "A"});
         },
         "needs distinct"},
        {[](QJsonObject& j) { setParam(j, "Accent", "default", "red"); }, "colour written #rrggbb"},
        {[](QJsonObject& j) { setParam(j, "Title", "default", ""); },
         "since the field may not be empty"},
        {[](QJsonObject& j) { setParam(j, "Background", "file", ""); }, "needs the \"file\" name"},
        {[](QJsonObject& j) {
             setParam(j, "TitleFont", "default",
                      QJsonObject{{"face", QString(40, u'x')}, {"size", 20}});
         },
         "needs a font \"default\""},
        {[](QJsonObject& j) { setParam(j, "Rows", "name", "columns"); },
         "repeats the name of an earlier one"},
        {[](QJsonObject& j) { setParam(j, "Rows", "name", "JPEGQuality"); },
         "the program gives its own"},
        {[](QJsonObject& j) { setParam(j, "Rows", "name", "a b"); }, "needs a \"name\" of letters"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "from", "later"); },
         "\"from\" must be \"photo\" or an earlier"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "name", "big"); },
         "picture \"big\" is declared twice"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "name", "title"); }, "not a field of a photo"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "box", QJsonArray{"Nope*2", 10});
         },
         "\"Nope*2\" is no size"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "format", "gif"); },
         "\"format\" is jpg, png or webp"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "format", "png"); },
         "picture \"thumb\": only jpg pictures are \"modern\""},
        {[](QJsonObject& j) { setPicture(j, "thumb", "crop", "sideways"); },
         "\"crop\" is true, false, \"centre\" or \"attention\""},
        {[](QJsonObject& j) { setPicture(j, "thumb", "widths", 0.5); },
         "\"widths\" lists up to 8 sizes"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "widths", QJsonArray{1, 2, 3, 4, 5, 6, 7, 8, 9});
         },
         "\"widths\" lists up to 8 sizes"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "widths", QJsonArray{0.5, 1}); },
         "a width is a share of the box below 1 or a whole number of pixels from 16"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "widths", QJsonArray{-0.5}); },
         "a width is a share"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "widths", QJsonArray{320.5}); },
         "a width is a share"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "widths", QJsonArray{"half"}); },
         "a width is a share"},
        {[](QJsonObject& j) { setPicture(j, "big", "firstPhoto", true); },
         "picture \"thumb\": only a \"firstPhoto\" picture is made from one"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "script", QJsonArray{QJsonArray{"Out", "/tmp/x.jpg"}});
         },
         "\"Out\" is not allowed in a theme"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "script", QJsonArray{QJsonArray{"AddWatermark", "/etc/x.png"}});
         },
         "\"AddWatermark\" is not allowed"},
        {[](QJsonObject& j) { setPicture(j, "thumb", "script", QJsonArray{QJsonArray{5}}); },
         "a step is"},
        {[](QJsonObject& j) {
             setPicture(
                 j, "thumb", "script",
                 QJsonArray{QJsonArray{"resizekeepasp", 10, 10}, QJsonArray{"Posterize", 4}});
         },
         "picture \"thumb\": \"Posterize\" is no command of the image processor"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "script",
                        QJsonArray{QJsonObject{
                            {"when", "Scheme"}, {"is", "Dark"}, {"do", QJsonArray{"Invert"}}}});
         },
         "\"Invert\" is no command of the image processor"},
        {[](QJsonObject& j) {
             setPicture(j, "thumb", "script",
                        QJsonArray{QJsonObject{{"when", "Nothing"}, {"do", QJsonArray{"Gray"}}}});
         },
         "\"when\" names no parameter"},
        {[](QJsonObject& j) {
             editEntry(j, "pages", "each", "photo",
                       [](QJsonObject& p) { p["template"] = "gone.html"; });
         },
         "the template file is missing"},
        {[](QJsonObject& j) {
             editEntry(j, "pages", "each", "photo",
                       [](QJsonObject& p) { p["output"] = "photo.html"; });
         },
         "with {number} for pages of photos"},
        {[](QJsonObject& j) {
             editEntry(j, "pages", "each", "sheet",
                       [](QJsonObject& p) { p["output"] = "../i-{number}.html"; });
         },
         "\"output\" must be a file name inside the album"},
        {[](QJsonObject& j) {
             editEntry(j, "pages", "each", "photo", [](QJsonObject& p) { p["each"] = "group"; });
         },
         "\"each\" is album, sheet or photo"},
        {[](QJsonObject& j) { j["pages"] = QJsonArray(); }, "it makes no pages"},
        {[](QJsonObject& j) {
             j["assets"] = QJsonArray{"assets/classic.css", "../mosaic/assets/mosaic.css"};
         },
         "asset \"../mosaic/assets/mosaic.css\" is missing"},
        {[](QJsonObject& j) { j["preview"] = "nowhere.png"; },
         "the preview picture \"nowhere.png\" is missing"},
        {[](QJsonObject& j) {
             j["cameraData"] = QJsonObject{{"parameter", "Columns"}, {"keep", "Yes"}};
         },
         "\"cameraData\" must name a choice"},
        {[](QJsonObject& j) {
             j["folderOriginals"] = QJsonObject{{"parameter", "Scheme"}, {"keep", "Original"}};
         },
         "\"folderOriginals\" must name a choice and one of its options"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(QFile::remove(theme("classic") + QStringLiteral("/theme.json")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(GVTEST_HTML_THEME_SOURCES "/classic/theme.json"),
                                theme("classic") + QStringLiteral("/theme.json")));
        edit("classic", cases[i].first);
        const QString error = faultOf("classic");
        EXPECT_TRUE(error.contains(QString::fromUtf8(cases[i].second)))
            << "case " << i << ": " << error.toStdString();
    }
}

TEST_F(ManifestTest, FaultsOfFilesAndPagesAreFound)
{
    work.write(QStringLiteral("themes/slideshow/theme.json"), "{ \"id\": 3, ");
    EXPECT_TRUE(faultOf("slideshow").startsWith(QLatin1String("theme.json is no JSON object")));
    QFile::remove(theme("slideshow") + QStringLiteral("/theme.json"));
    EXPECT_EQ(faultOf("slideshow"), QStringLiteral("theme.json is missing"));

    work.write(QStringLiteral("themes/classic/head.html"), "<meta>\n{% if params.Title %}\n");
    EXPECT_EQ(faultOf("classic"), QStringLiteral("head.html: 'if' is never closed"));

    // A link may not lead a theme's assets out of its folder.
    QFile::remove(theme("mosaic") + QStringLiteral("/assets/mosaic.js"));
    QFile::link(work.write(QStringLiteral("secret.txt"), "secret"),
                theme("mosaic") + QStringLiteral("/assets/mosaic.js"));
    EXPECT_EQ(faultOf("mosaic"), QStringLiteral("asset \"assets/mosaic.js\" is missing"));
}

TEST_F(ManifestTest, TheCatalogueSkipsABrokenThemeAndKeepsTheOthers)
{
    work.write(QStringLiteral("themes/classic/theme.json"), "not json");
    edit("slideshow", [](QJsonObject& j) { j["order"] = 1; });
    copyFolder(theme("mosaic"), work.file(QStringLiteral("user/twin")));
    copyFolder(theme("mosaic"), work.file(QStringLiteral("user/own")));
    QJsonObject own = readJson(work.file(QStringLiteral("user/own/theme.json")));
    own["id"] = 77;
    own["name"] = "My own";
    writeJson(work.file(QStringLiteral("user/own/theme.json")), own);
    qputenv("GALLIVEX_HTML_TEMPLATES", themes().toUtf8());
    qputenv("GALLIVEX_HTML_USER_TEMPLATES", work.file(QStringLiteral("user")).toUtf8());

    CThemeCatalog catalog;
    catalog.scan();
    QStringList names;
    for (const html::ThemePtr& t : catalog.themes())
        names << t->name + (t->userInstalled ? QStringLiteral(" (user)") : QString());
    EXPECT_EQ(names, QStringList({"Slideshow", "Mosaic", "My own (user)"}));
    ASSERT_EQ(catalog.skipped().size(), 2u);
    EXPECT_TRUE(catalog.skipped()[0].folder.endsWith(QLatin1String("/classic")));
    EXPECT_TRUE(catalog.skipped()[0].reason.contains(QLatin1String("no JSON object")));
    EXPECT_TRUE(
        catalog.skipped()[1].reason.contains(QLatin1String("its id 1 is taken by \"Mosaic\"")));
    EXPECT_EQ(catalog.find(77)->name, QStringLiteral("My own"));
    EXPECT_EQ(catalog.find(2), nullptr);
}

TEST_F(ManifestTest, ThePlugInWorksOnWithTheThemesThatLoad)
{
    SettingsSandbox settings;
    edit("classic", [](QJsonObject& j) {
        j["pictures"] = QJsonArray{QJsonObject{{"name", "x"}, {"from", "y"}}};
    });
    HtmlAlbum album(work.file(QStringLiteral("user")));
    qputenv("GALLIVEX_HTML_TEMPLATES", themes().toUtf8());
    ASSERT_TRUE(album.ready());
    gv_vector<TemplateInfo> listed;
    album.album().PluginManager().EnumTemplates(album.pluginIndex(), listed);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].id, 1);
    EXPECT_EQ(listed[1].id, 3);
    ASSERT_TRUE(album.choose(HtmlAlbum::Slideshow));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")));
    EXPECT_EQ(album.generate(work.file(QStringLiteral("album"))), GV_OK);
    EXPECT_EQ(album.plugin().Generate(HtmlAlbum::Classic, &album.host()), GV_E_TEMPLATE);
}

TEST(FontCss, FontBlocksBecomeCssDeclarations)
{
    struct Case {
        QVariantMap font;
        void (*tweak)(GVFontBlock&);
        const char* expected;
    };
    const Case cases[] = {
        {{{"face", "Georgia"},
          {"size", 24},
          {"bold", true},
          {"color", "#102030"},
          {"family", "serif"}},
         nullptr,
         "font-family: \"Georgia\", \"Iowan Old Style\", \"Palatino Linotype\", Palatino, Georgia, "
         "\"DejaVu Serif\", "
         "serif; font-size: 32px; font-weight: 700; font-style: normal; color: #102030; "
         "text-decoration: none;"},
        {{{"face", "Mono"}, {"size", 9}, {"family", "monospace"}},
         [](GVFontBlock& b) {
             b.chooseFont.iPointSize = 0;
             b.logFont.lfHeight = -19;
             b.logFont.lfWeight = 0;
         },
         "font-family: \"Mono\", ui-monospace, Menlo, Consolas, \"DejaVu Sans Mono\", monospace; "
         "font-size: 19px; "
         "font-weight: 400; font-style: normal; color: #000000; text-decoration: none;"},
        {{{"face", "X"}, {"size", 12}, {"italic", true}},
         [](GVFontBlock& b) {
             b.logFont.lfUnderline = 1;
             b.logFont.lfStrikeOut = 1;
             b.logFont.lfFaceName[0] = '\xe9';
         },
         "font-family: \"\u00e9\", sans-serif; font-size: 16px; font-weight: 400; font-style: "
         "italic; color: #000000; "
         "text-decoration: underline line-through;"},
        {{{"face", " "}, {"size", 1000}, {"family", "cursive"}},
         nullptr,
         "font-family: cursive; font-size: 300px; font-weight: 400; font-style: normal; color: "
         "#000000; "
         "text-decoration: none;"},
    };
    for (const Case& c : cases) {
        GVFontBlock block = html::fontBlockOf(c.font);
        if (c.tweak)
            c.tweak(block);
        EXPECT_EQ(html::fontForPages(block, QString()).value("css").toString(),
                  QString::fromUtf8(c.expected));
    }
}
