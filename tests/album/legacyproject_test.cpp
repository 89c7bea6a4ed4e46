// SPDX-License-Identifier: GPL-2.0-or-later
// Reading project files of the older binary format, built here byte by byte: every version,
// both forms of texts, fixed-size values, font blocks, both thumbnail forms, and damaged files.
#include <cstring>

#include <QtEndian>

#include "album/legacyprojectreader.h"
#include "plugins/paramrules.h"
#include "tests/album/legacyfile.h"
#include "tests/album/projectfixture.h"

namespace
{

using Legacy = ProjectTest;
using Answer = Prompter::Answer;

ResultCode parse(const QByteArray& bytes, LegacyProject& project)
{
    return LegacyProjectReader(bytes.constData(), size_t(bytes.size())).Read(project);
}

} // namespace

TEST_F(Legacy, EveryVersionReadsWhatItHolds)
{
    for (uint32_t version : {1u, 2u, 3u, 4u, 5u, 6u, 10u}) {
        SCOPED_TRACE(version);
        LegacyContent content = LegacyContent::typical(work.path());
        content.version = version;
        content.form = version % 2 ? TextForm::Line : TextForm::Marked;
        work.write("old.gvp", content.bytes());
        auto target = freshAlbum();
        ASSERT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_OK);
        EXPECT_TRUE(prompter.texts.isEmpty());

        const AlbumSummary& summary = target->Summary();
        const char* name = version > 2 ? "Old trip" : "Classic";
        EXPECT_STREQ(target->StoredAlbumName().c_str(), name);
        EXPECT_STREQ(summary.albumName.c_str(), name);
        EXPECT_STREQ(summary.pluginName.c_str(), "Alpha");
        EXPECT_STREQ(summary.templateName.c_str(), "Classic");
        EXPECT_STREQ(summary.projectPath.c_str(), path("old.gvp").c_str());
        EXPECT_STREQ(target->ProjectPath().c_str(), path("old.gvp").c_str());
        EXPECT_EQ(summary.imageCount, 2);
        EXPECT_EQ(target->PluginIndex(), Alpha);
        EXPECT_EQ(target->TemplateId(), 10);
        EXPECT_FALSE(target->IsModified());

        // The file's parameters replace the list as they are.
        const gv_vector<GVParamInfo>& params = target->ParameterList();
        ASSERT_EQ(params.size(), 3);
        EXPECT_STREQ(params[0].name.c_str(), "Title");
        EXPECT_STREQ(params[0].friendlyName.c_str(), "Album title");
        EXPECT_STREQ(params[0].values[0].value.text.c_str(), "Old trip title");
        EXPECT_EQ(params[1].values[0].kind, PVK_VALUE); // a stored 4 reads as 0
        EXPECT_EQ(params[1].values[0].value.number, 9);
        const GVParamValue& font = params[2].values[0].value;
        if (version >= 5) {
            ASSERT_NE(font.font, nullptr);
            EXPECT_STREQ(font.font->logFont.lfFaceName, "Courier");
            EXPECT_EQ(font.font->logFont.lfWeight, 700);
            EXPECT_EQ(font.font->chooseFont.rgbColors, 0x00FF00FFu);
            EXPECT_EQ(font.font->chooseFont.lpLogFont, 0u);
        } else {
            EXPECT_EQ(font.font, nullptr);
            EXPECT_STREQ(font.text.c_str(), "Arial");
        }

        ASSERT_EQ(target->Images().size(), 2u);
        const AlbumImage& second = target->Images()[1];
        EXPECT_STREQ(second.name.c_str(), "Second");
        EXPECT_STREQ(second.path.c_str(), path("photos/b.jpg").c_str());
        EXPECT_STREQ(second.description.c_str(), "Line one");
        EXPECT_STREQ(second.subfolder.c_str(), version > 5 ? "beach" : "");
        EXPECT_EQ(second.index, 1);

        EXPECT_EQ(summary.thumbnail.isNull(), version < 3);
        if (version >= 3) {
            EXPECT_EQ(summary.thumbnail.size(), QSize(128, 100));
            EXPECT_GT(qGreen(summary.thumbnail.pixel(64, 50)), 200);
        }
        EXPECT_STREQ(target->Destination().c_str(), version >= 4 ? "/srv/old" : "");
        EXPECT_STREQ(summary.destination.c_str(), version >= 4 ? "/srv/old" : "");
        EXPECT_STREQ(target->FavoritesName().c_str(), version >= 4 ? "Old fav" : "");
        EXPECT_STREQ(summary.favoritesName.c_str(), version >= 4 ? "Old fav" : "");
    }
}

TEST(LegacyTexts, BothFormsLongTextsAndLineEnds)
{
    struct Case {
        const char* what;
        TextForm form;
        QByteArray stored;
        QByteArray read;
    };
    const QByteArray longText(9000, 'x');
    const std::vector<Case> cases = {
        {"marked", TextForm::Marked, "Rome", "Rome"},
        {"line", TextForm::Line, "Rome", "Rome"},
        {"marked with its own line feed", TextForm::Marked, "Rome\n", "Rome"},
        {"line keeps a carriage return", TextForm::Line, "Rome\r", "Rome\r"},
        {"marked, empty", TextForm::Marked, "", ""},
        {"line, empty", TextForm::Line, "", ""},
        {"marked, ends at a NUL", TextForm::Marked, QByteArray("Ro\0me", 5), "Ro"},
        {"marked, too long", TextForm::Marked, longText, longText.left(8191)},
        {"line, too long", TextForm::Line, longText, longText.left(8191)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LegacyContent content;
        content.form = c.form;
        content.albumName = c.stored;
        LegacyProject project;
        ASSERT_EQ(parse(content.bytes(), project), GV_OK);
        EXPECT_EQ(QByteArray::fromStdString(project.albumName), c.read);
        // What follows the text is read from its right place.
        EXPECT_EQ(project.templateId, 10);
        EXPECT_EQ(project.templateName, "Classic");
        EXPECT_EQ(project.destination, "/srv/old");
    }
}

TEST(LegacyValues, MarkedFixedAndFontValues)
{
    LegacyContent content;
    content.params.clear();
    LegacyParam param{5, "Mixed", "Mixed values", "", PT_TEXT, {}, {}};
    param.values.push_back(LegacyValue::marked(PVK_MINIMUM, "low", 3));
    param.values.push_back(LegacyValue::marked(PVK_USER_VALUE, QByteArray(1100, 'v'), -7));
    QByteArray fixed("Hello\0garbage", 13);
    param.values.push_back(LegacyValue::fixed(PVK_OPTION, fixed));
    content.params.push_back(param);
    LegacyParam font{6, "Face", "", "", PT_FONT, {}, {}};
    GVFontBlock block;
    std::strcpy(block.logFont.lfFaceName, "Mono");
    block.chooseFont.lpLogFont = 0x12345678;
    font.values.push_back(LegacyValue::fontBlock(PVK_VALUE, block));
    content.params.push_back(font);

    LegacyProject project;
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    ASSERT_EQ(project.params.size(), 2);
    const GVParamInfo& mixed = project.params[0];
    EXPECT_EQ(mixed.id, 5);
    EXPECT_EQ(mixed.type, PT_TEXT);
    ASSERT_EQ(mixed.values.size(), 3);
    EXPECT_EQ(mixed.values[0].kind, PVK_MINIMUM);
    EXPECT_STREQ(mixed.values[0].value.text.c_str(), "low");
    EXPECT_EQ(mixed.values[0].value.number, 3);
    EXPECT_EQ(mixed.values[1].kind, PVK_VALUE);
    EXPECT_EQ(mixed.values[1].value.text.length(), 1039);
    EXPECT_EQ(mixed.values[1].value.number, -7);
    EXPECT_EQ(mixed.values[2].kind, PVK_OPTION);
    EXPECT_STREQ(mixed.values[2].value.text.c_str(), "Hello");
    EXPECT_EQ(mixed.values[2].value.number, 0x6C6C6548); // "Hell", little-endian
    EXPECT_EQ(mixed.values[2].value.font, nullptr);
    const GVParamValue& face = project.params[1].values[0].value;
    ASSERT_NE(face.font, nullptr);
    EXPECT_STREQ(face.font->logFont.lfFaceName, "Mono");
    EXPECT_EQ(face.font->chooseFont.lpLogFont, 0u);

    // Before version 5 a font parameter's value is a plain value.
    content.version = 4;
    content.params[1].values[0] = LegacyValue::fixed(PVK_VALUE, "Sans");
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    EXPECT_EQ(project.params[1].values[0].value.font, nullptr);
    EXPECT_STREQ(project.params[1].values[0].value.text.c_str(), "Sans");
}

TEST(LegacyThumbnails, ArgbAndBitmapForms)
{
    LegacyContent content;
    content.thumbnail = LegacyContent::Thumbnail::Dib;
    LegacyProject project;
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    ASSERT_EQ(project.thumbnail.size(), QSize(120, 120));
    // Bitmap rows are stored bottom-up: the red half written last is the top.
    EXPECT_EQ(project.thumbnail.pixel(60, 10), qRgb(255, 0, 0));
    EXPECT_EQ(project.thumbnail.pixel(60, 110), qRgb(0, 0, 255));
    EXPECT_EQ(project.destination, "/srv/old");

    content.thumbnail = LegacyContent::Thumbnail::Argb;
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    ASSERT_EQ(project.thumbnail.size(), QSize(4, 2));
    EXPECT_EQ(project.thumbnail.pixel(3, 1), qRgba(0, 255, 0, 255));
    EXPECT_EQ(project.destination, "/srv/old");

    content.thumbnail = LegacyContent::Thumbnail::Empty;
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    EXPECT_TRUE(project.thumbnail.isNull());
    EXPECT_EQ(project.destination, "/srv/old");

    // A bitmap of a kind that cannot be shown is passed over; the file still reads.
    content.thumbnail = LegacyContent::Thumbnail::Dib;
    QByteArray bytes = content.bytes();
    const qsizetype info = bytes.indexOf(QByteArray("\x28\0\0\0\x78\0\0\0", 8));
    ASSERT_GT(info, 0);
    bytes[info + 14] = 8; // 8 bits per pixel
    ASSERT_EQ(parse(bytes, project), GV_OK);
    EXPECT_TRUE(project.thumbnail.isNull());
    EXPECT_EQ(project.destination, "/srv/old");
}

TEST(LegacyDamage, CodesOfDamagedFiles)
{
    struct Case {
        const char* what;
        std::function<void(LegacyContent&)> edit;
        ResultCode expected;
    };
    const std::vector<Case> cases = {
        {"header field not 20", [](LegacyContent& c) { c.headerField = 21; }, GV_E_CORRUPTED},
        {"version 11", [](LegacyContent& c) { c.version = 11; }, GV_E_CORRUPTED},
        {"version of all ones", [](LegacyContent& c) { c.version = 0xFFFFFFFF; }, GV_E_CORRUPTED},
        {"second flag set", [](LegacyContent& c) { c.flags[1] = 1; }, GV_E_NOTIMPL},
        {"101 parameters", [](LegacyContent& c) { c.paramCount = 101; }, GV_E_READFILE},
        {"negative parameter count", [](LegacyContent& c) { c.paramCount = -1; }, GV_E_READFILE},
        {"more images than stored", [](LegacyContent& c) { c.imageCount = 3; }, GV_E_READFILE},
        {"a huge image count", [](LegacyContent& c) { c.imageCount = 0x7FFFFFFF; }, GV_E_READFILE},
        {"a text longer than the file",
         [](LegacyContent& c) {
             c.rawAlbumName =
                 LegacyFile().number(LegacyProjectReader::TextMarker).number(1 << 30).data;
         },
         GV_E_READFILE},
        {"a thumbnail larger than the file",
         [](LegacyContent& c) {
             c.argbSize = {30000, 30000};
         },
         GV_E_READFILE},
        {"a thumbnail of negative width",
         [](LegacyContent& c) {
             c.argbSize = {-4, 2};
         },
         GV_E_CORRUPTED},
        {"a huge value count", [](LegacyContent& c) { c.params[0].valueCount = 0x7FFFFFFF; },
         GV_E_READFILE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LegacyContent content;
        c.edit(content);
        LegacyProject project;
        EXPECT_EQ(parse(content.bytes(), project), c.expected);
    }
}

TEST(LegacyDamage, EveryShortReadIsReported)
{
    for (uint32_t version : {1u, 3u, 5u, 10u})
        for (LegacyContent::Thumbnail thumbnail :
             {LegacyContent::Thumbnail::Argb, LegacyContent::Thumbnail::Dib}) {
            LegacyContent content;
            content.version = version;
            content.thumbnail = thumbnail;
            const QByteArray whole = content.bytes();
            LegacyProject project;
            ASSERT_EQ(parse(whole, project), GV_OK);
            // Texts of the marked form and fixed fields: no prefix is a whole file.
            // A cut inside a marker leaves bytes that read as a line of text, so a cut
            // inside the last text's marker still gives a whole file.
            const qsizetype lastMarker =
                whole.lastIndexOf(LegacyFile().number(LegacyProjectReader::TextMarker).data);
            for (qsizetype length = 0; length < whole.size(); ++length) {
                const ResultCode result = parse(whole.left(length), project);
                if (result == GV_OK && length > lastMarker && length < lastMarker + 4)
                    continue;
                ASSERT_EQ(result, GV_E_READFILE) << "version " << version << " cut at " << length;
            }
        }
}

TEST(LegacyImages, FirstFlagMeansNoImageSection)
{
    LegacyContent content;
    content.flags[0] = 1;
    LegacyProject project;
    ASSERT_EQ(parse(content.bytes(), project), GV_OK);
    EXPECT_FALSE(project.hasImageSection);
    EXPECT_TRUE(project.images.empty());
    EXPECT_EQ(project.imageCount, 2); // the header's count still stands
    EXPECT_FALSE(project.thumbnail.isNull());
}

TEST_F(Legacy, HeaderCountIsTheSummaryCountAndAnswersMatter)
{
    LegacyContent content = LegacyContent::typical(work.path());
    content.flags[0] = 1;
    work.write("old.gvp", content.bytes());
    auto target = freshAlbum();
    ASSERT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_OK);
    EXPECT_EQ(target->Summary().imageCount, 2);
    EXPECT_TRUE(target->Images().empty());

    // A plug-in that is not installed: No refuses the file, Yes takes the last plug-in.
    content = LegacyContent::typical(work.path());
    content.plugin = "Gamma";
    work.write("old.gvp", content.bytes());
    prompter.answers = {Answer::No};
    EXPECT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_E_READFILE);
    EXPECT_FALSE(target->HasProjectFile());
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_OK);
    EXPECT_EQ(target->PluginIndex(), Plain);
    EXPECT_EQ(target->TemplateId(), 10);

    // A damaged file is refused before anyone is asked anything.
    prompter.texts.clear();
    work.write("old.gvp", content.bytes().left(200));
    EXPECT_EQ(projectFile(*target).OpenProject(path("old.gvp").c_str(), true), GV_E_READFILE);
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_FALSE(target->HasProjectFile());
}

TEST_F(Legacy, OpenedOldAlbumsSaveTheirValuesAsXml)
{
    LegacyContent content = LegacyContent::typical(work.path());
    work.write("old.gvp", content.bytes());
    auto target = freshAlbum();
    ProjectFile file = projectFile(*target);
    ASSERT_EQ(file.OpenProject(path("old.gvp").c_str(), true), GV_OK);
    ASSERT_EQ(file.SaveProject(), GV_OK);
    auto reopened = freshAlbum();
    ASSERT_EQ(projectFile(*reopened).OpenProject(path("old.gvp").c_str(), true), GV_OK);
    EXPECT_TRUE(fileBytes(work.file("old.gvp")).startsWith("<project"));
    EXPECT_STREQ(paramrules::value(*find(*reopened, "Columns"))->text.c_str(), "");
    EXPECT_EQ(paramrules::value(*find(*reopened, "Columns"))->number, 9);
    EXPECT_STREQ(paramrules::value(*find(*reopened, "Title"))->text.c_str(), "Old trip title");
    EXPECT_EQ(reopened->Images().size(), 2u);
    EXPECT_STREQ(reopened->Destination().c_str(), "/srv/old");
}
