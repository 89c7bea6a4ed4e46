// SPDX-License-Identifier: GPL-2.0-or-later
// Adding photos as the image list page does: the file types taken, titles, automatic
// descriptions and their settings, folder scans with subfolder texts, unreadable files, and
// the page's copy of the album.
#include <gtest/gtest.h>

#include <filesystem>

#include <QDir>
#include <QFile>
#include <QImage>

#include "images/imageadder.h"
#include "images/pageimages.h"
#include "images/subfoldertext.h"
#include "platform/foldernames.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "tests/support/claimedpng.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

namespace
{

QByteArray be16(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

// An APP13 segment holding an IPTC caption, as photo editors write it.
QByteArray captionSegment(const QByteArray& caption)
{
    const QByteArray data = QByteArray("\x1C\x02\x78", 3) + be16(int(caption.size())) + caption;
    const QByteArray resource =
        QByteArray("8BIM\x04\x04\0\0", 8) + be16(0) + be16(int(data.size())) + data;
    const QByteArray payload = QByteArray("Photoshop 3.0", 14) + resource;
    return QByteArray("\xFF\xED", 2) + be16(int(payload.size()) + 2) + payload;
}

// A real JPEG photo with an EXIF ImageDescription and an IPTC caption when given.
QString writePhoto(const QString& path, const QByteArray& exifDescription = {},
                   const QByteArray& iptcCaption = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage picture(16, 12, QImage::Format_ARGB32);
    picture.fill(Qt::darkGreen);
    auto image = imaging::Image::fromQImage(picture);
    if (!exifDescription.isEmpty())
        image->setProperty({270, imaging::PropertyAscii, exifDescription + '\0'});
    EXPECT_TRUE(image->save(path, QStringLiteral("image/jpeg"))) << path.toStdString();
    if (!iptcCaption.isEmpty()) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        bytes.insert(2, captionSegment(iptcCaption));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    return path;
}

struct Row {
    QString relative;
    QString subfolder;
};

// The rows as paths relative to root with their subfolder texts.
std::vector<Row> rowsBelow(const CPageImages& rows, const QString& root)
{
    std::vector<Row> result;
    for (const PageImage& row : rows.Rows())
        result.push_back({QDir(root).relativeFilePath(row.path), row.subfolder});
    return result;
}

void expectRows(const std::vector<Row>& actual, const std::vector<Row>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].relative, expected[i].relative) << "row " << i;
        EXPECT_EQ(actual[i].subfolder, expected[i].subfolder) << "row " << i;
    }
}

TEST(ImageAdderFilter, TakesTheFileTypesOfTheFilter)
{
    const struct {
        const char* path;
        bool chooser; // the Add command's test
        bool folder;  // the folder scan's test
    } cases[] = {
        {"/p/a.jpg", true, true},
        {"/p/A.JPG", true, true},
        {"/p/a.jpeg", true, true},
        {"/p/a.Jpe", true, true},
        {"/p/a.gif", true, true},
        {"/p/a.png", true, true},
        {"/p/a.bmp", true, true},
        {"/p/a.tif", true, true},
        {"/p/a.TIFF", true, true},
        {"/p/a.psd", false, false},
        // The types of today's phones, which this machine's engine decodes.
        {"/p/a.webp", true, true},
        {"/p/IMG_0001.HEIC", true, true},
        {"/p/a.heif", true, true},
        {"/p/a.avif", true, true},
        {"/p/a.jxl", true, true},
        {"/p/clip.mov", false, false},
        {"/p/notes.txt", false, false},
        {"/p/a.jpgx", false, false},
        {"/p/.profile", false, false},
        // A plain substring test: the empty extension and pieces of real ones pass.
        {"/p/README", true, true},
        {"/p/x.jp", true, true},
        {"/p/x.p", true, true},
        {"/p.d/README", true, true},
        {"C:\\p.d\\x.tif", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CImageAdder::PassesFileFilter(c.path), c.chooser) << c.path;
        EXPECT_EQ(CImageAdder::PassesFolderFilter(c.path), c.folder) << c.path;
    }
}

TEST(ImageAdderFilter, TitlesAndExtensions)
{
    const struct {
        const char* path;
        const char* title;
        const char* extension;
    } cases[] = {
        {"/photos/2004/Sunset.JPG", "Sunset.JPG", ".JPG"},
        {"C:\\pics\\beach.day.jpg", "beach.day.jpg", ".jpg"},
        {"/photos.old/README", "README", ""},
        {"relative/x.png", "x.png", ".png"},
        {"/p/trailing.", "trailing.", "."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CImageAdder::TitleOf(c.path), QString(c.title)) << c.path;
        EXPECT_EQ(CImageAdder::ExtensionOf(c.path), QString(c.extension)) << c.path;
    }
}

TEST(ImageAdderText, DescriptionCleanupAndStoring)
{
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"say \"cheese\"", "say  cheese "},
        {"a\tb", "a b"},
        {"\r\n\r\nline one\r\nline two\r\n\n", "line one\r\nline two"},
        {"\n\"\t\"\n", "   "},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CImageAdder::StoredDescription(c.typed), QString(c.stored)) << c.typed;
    EXPECT_EQ(CImageAdder::DescriptionCleanup("\r\n\"x\"\r\n"), QString("\r\n x \r\n"));
}

class ImageAdderTest : public ::testing::Test
{
protected:
    QString photo(const QString& name, const QByteArray& exif = {}, const QByteArray& iptc = {})
    {
        return writePhoto(folder.file(name), exif, iptc);
    }

    TestFolder folder;
    ScriptedPrompter prompter;
    CPageImages rows;
};

TEST_F(ImageAdderTest, AutomaticDescriptionsFollowTheSettings)
{
    const QString both = photo("both.jpg", "Harbour at dusk", "Boats in the harbour");
    const QString exifOnly = photo("exif.jpg", "Harbour at dusk");
    const QString iptcOnly = photo("iptc.jpg", {}, "Boats in the harbour");
    const QString placeholder = photo("olympus.jpg", "Harbour", "OLYMPUS DIGITAL CAMERA   ");
    const QString neither = photo("plain.jpg");
    const QString same = photo("same.jpg", "Boats in the harbour", "Boats in the harbour");
    using O = CImageAdder::Options;
    const struct {
        const char* what;
        O options;
        QString path;
        QString description;
    } cases[] = {
        {"caption then EXIF", O{}, both, "Boats in the harbour\r\nHarbour at dusk"},
        {"EXIF alone", O{}, exifOnly, "Harbour at dusk"},
        {"caption alone", O{}, iptcOnly, "Boats in the harbour"},
        {"camera placeholder caption", O{}, placeholder, "Harbour"},
        {"nothing to say", O{}, neither, ""},
        {"automatic descriptions off", O{false, true, true, 0}, both, ""},
        {"IPTC off", O{true, false, true, 0}, both, "Harbour at dusk"},
        {"EXIF off", O{true, true, false, 0}, both, "Boats in the harbour"},
        {"both off", O{true, false, false, 0}, both, ""},
        {"blank lines after the EXIF text", O{true, true, true, 2}, exifOnly,
         "Harbour at dusk\r\n\r\n"},
        {"no blank lines without EXIF text", O{true, true, true, 2}, iptcOnly,
         "Boats in the harbour"},
        {"the same text said once", O{}, same, "Boats in the harbour"},
        {"the same text, then the blank lines", O{true, true, true, 2}, same,
         "Boats in the harbour\r\n\r\n"},
        {"the same text from EXIF alone", O{true, false, true, 0}, same, "Boats in the harbour"},
    };
    for (const auto& c : cases) {
        const CImageAdder::Described described = CImageAdder::Describe(c.path, c.options);
        EXPECT_TRUE(described.readable) << c.what;
        EXPECT_EQ(described.description, c.description) << c.what;
        EXPECT_EQ(described.title, QFileInfo(c.path).fileName()) << c.what;
    }
}

TEST_F(ImageAdderTest, OptionsComeFromTheSettings)
{
    SettingsSandbox sandbox;
    Settings settings;
    const CImageAdder::Options defaults = CImageAdder::OptionsFromSettings(settings);
    EXPECT_TRUE(defaults.autoDescriptions && defaults.fromIptc && defaults.fromExif);
    EXPECT_EQ(defaults.blankLines, 0);
    settings.writeInt("Settings", "AutoDescriptions", 0);
    settings.writeInt("Settings", "AutoDescriptionIPTC", 0);
    settings.writeInt("Settings", "AutoDescriptionEXIF", 5); // any value but 0 is on
    settings.writeInt("Settings", "NumberOfBlankLinesForComment", 3);
    const CImageAdder::Options stored = CImageAdder::OptionsFromSettings(settings);
    EXPECT_FALSE(stored.autoDescriptions);
    EXPECT_FALSE(stored.fromIptc);
    EXPECT_TRUE(stored.fromExif);
    EXPECT_EQ(stored.blankLines, 3);
}

TEST_F(ImageAdderTest, RealPhotosGetTheirCaptionsAndDescriptions)
{
    const struct {
        const char* file;
        const char* description;
    } cases[] = {
        {"et-IPTC.jpg", "A witty caption"},
        // The camera wrote its placeholder and blanks: nothing worth a description.
        {"exs-olympus-c960.jpg", ""},
        {"exs-Canon_40D.jpg", ""},
        {"et-NikonD70.jpg", "curve: fotogenics point and shoot"},
    };
    for (const auto& c : cases) {
        const CImageAdder::Described described =
            CImageAdder::Describe(sharedTestData(QStringLiteral("photos/") + c.file), {});
        EXPECT_TRUE(described.readable) << c.file;
        EXPECT_EQ(described.title, QString(c.file));
        EXPECT_EQ(described.description, QString::fromUtf8(c.description)) << c.file;
    }
}

TEST_F(ImageAdderTest, UnreadableFilesAreToldAndLeftOut)
{
    const QString text = folder.write("notes.jpg", "these are no pixels");
    const QString photoshop = folder.write("layers.psd", "8BPS but not really");
    const QString missing = folder.file("gone.jpg");
    const QString good = photo("good.jpg", "Fine");
    CImageAdder adder(rows, prompter, {});
    EXPECT_FALSE(adder.AddImageFile(text, "x"));
    EXPECT_FALSE(adder.AddImageFile(missing, QString()));
    EXPECT_TRUE(adder.AddImageFile(photoshop, "layers")); // taken all the same
    EXPECT_TRUE(adder.AddImageFile(good, QString()));
    EXPECT_EQ(prompter.texts, (QStringList{text, missing})); // the message is the path itself
    EXPECT_EQ(adder.Unreadable(), (QStringList{text, missing}));
    ASSERT_EQ(rows.Size(), 2u);
    EXPECT_EQ(rows.Rows()[0].path, photoshop);
    EXPECT_EQ(rows.Rows()[0].title, QString("layers.psd"));
    EXPECT_EQ(rows.Rows()[0].description, QString());
    EXPECT_EQ(rows.Rows()[0].subfolder, QString("layers"));
    EXPECT_EQ(rows.Rows()[1].description, QString("Fine"));
}

TEST_F(ImageAdderTest, PhotosOverThePixelLimitAreToldAndLeftOut)
{
    SettingsSandbox settings;
    const QString huge = folder.write("huge.png", testpng::claiming(200000, 200000));
    const QString good = photo("good.jpg", "Fine");
    CImageAdder adder(rows, prompter, {});
    EXPECT_FALSE(adder.AddImageFile(huge, QString()));
    EXPECT_TRUE(adder.AddImageFile(good, QString()));
    EXPECT_EQ(prompter.texts,
              QStringList{huge + " is 200000 x 200000 pixels, more than the 250 megapixels a "
                                 "photo may have"});
    EXPECT_EQ(adder.Unreadable(), QStringList{huge});
    ASSERT_EQ(rows.Size(), 1u);
    EXPECT_EQ(rows.Rows()[0].path, good);
}

TEST_F(ImageAdderTest, AddCommandFiltersByTypeAndKeepsOrder)
{
    const QString b = photo("b.jpg");
    const QString a = photo("a.png.jpg");
    const QString psd = folder.write("art.psd", "not an image");
    const QString txt = folder.write("list.txt", "not an image");
    CImageAdder adder(rows, prompter, {});
    EXPECT_EQ(adder.AddFiles({b, psd, txt, a}), 2);
    expectRows(rowsBelow(rows, folder.path()), {{"b.jpg", ""}, {"a.png.jpg", ""}});
    EXPECT_TRUE(prompter.texts.isEmpty()); // files of other types are not even opened
}

class FolderScanTest : public ImageAdderTest
{
protected:
    void SetUp() override
    {
        photo("root/b.jpg");
        photo("root/A.png.jpg");
        folder.write("root/notes.txt", "text");
        photo("root/.hidden.jpg");
        photo("root/sub/c.jpg");
        photo("root/sub/deep/d.JPG");
        photo("root/Sub2/e.jpg");
        root = folder.file("root");
    }
    std::vector<Row> scan(bool recurse, bool parse, const QString& subfolder = {},
                          const QString& start = {})
    {
        CPageImages scanned;
        CImageAdder adder(scanned, prompter, {});
        adder.AddFolderImages(start.isEmpty() ? root : start, recurse, parse, subfolder);
        return rowsBelow(scanned, root);
    }
    QString root;
};

TEST_F(FolderScanTest, RecursiveScanRecordsSubfolderTexts)
{
    expectRows(scan(true, true), {{"A.png.jpg", ""},
                                  {"b.jpg", ""},
                                  {"sub/c.jpg", "sub"},
                                  {"sub/deep/d.JPG", "sub\\deep"},
                                  {"Sub2/e.jpg", "Sub2"}});
    // The one file of another type is named with why; the hidden photo is not.
    EXPECT_EQ(prompter.texts,
              QStringList{loadString(IDS_FILES_LEFT_OUT)
                              .arg(root + "/notes.txt: " + loadString(IDS_LEFT_OUT_TYPE))});
}

TEST_F(FolderScanTest, VariantsOfTheTwoCheckBoxes)
{
    expectRows(scan(true, false), {{"A.png.jpg", ""},
                                   {"b.jpg", ""},
                                   {"sub/c.jpg", ""},
                                   {"sub/deep/d.JPG", ""},
                                   {"Sub2/e.jpg", ""}});
    expectRows(scan(false, true), {{"A.png.jpg", ""}, {"b.jpg", ""}});
    expectRows(scan(true, true, "2004"), {{"A.png.jpg", "2004"},
                                          {"b.jpg", "2004"},
                                          {"sub/c.jpg", "2004\\sub"},
                                          {"sub/deep/d.JPG", "2004\\sub\\deep"},
                                          {"Sub2/e.jpg", "2004\\Sub2"}});
    // A trailing separator on the folder changes nothing.
    expectRows(scan(false, true, {}, root + "/"), {{"A.png.jpg", ""}, {"b.jpg", ""}});
}

TEST_F(FolderScanTest, LinksBackUpTheTreeAreEnteredOnce)
{
    ASSERT_TRUE(QFile::link(root, root + "/sub/deep/loop"));
    ASSERT_TRUE(QFile::link(root + "/sub", root + "/Sub2/again"));
    const std::vector<Row> rows = scan(true, true);
    expectRows(rows, {{"A.png.jpg", ""},
                      {"b.jpg", ""},
                      {"sub/c.jpg", "sub"},
                      {"sub/deep/d.JPG", "sub\\deep"},
                      {"Sub2/e.jpg", "Sub2"}});
}

TEST_F(FolderScanTest, UnreadableFilesInAFolderAreSkipped)
{
    SettingsSandbox settings;
    folder.write("root/sub/broken.jpg", "garbage");
    folder.write("root/README", "no extension, so it is tried");
    folder.write("root/sub/huge.png", testpng::claiming(200000, 200000));
    CPageImages scanned;
    CImageAdder adder(scanned, prompter, {});
    EXPECT_EQ(adder.AddFolderImages(root, true, true), 5);
    EXPECT_EQ(adder.Unreadable(), (QStringList{root + "/README", root + "/sub/broken.jpg",
                                               root + "/sub/huge.png"}));
    // One message at the end names every file left out and why, in the order met.
    const QString unreadable = loadString(IDS_LEFT_OUT_UNREADABLE);
    const QStringList lines{
        root + "/notes.txt: " + loadString(IDS_LEFT_OUT_TYPE),
        root + "/README: " + unreadable,
        root + "/sub/broken.jpg: " + unreadable,
        root + "/sub/huge.png: 200000 x 200000 pixels, more than the 250 megapixels a photo "
                                "may have"};
    EXPECT_EQ(prompter.texts, QStringList{loadString(IDS_FILES_LEFT_OUT).arg(lines.join('\n'))});
    ASSERT_EQ(adder.LeftOut().size(), 4);
    EXPECT_EQ(adder.LeftOut()[2].path, root + "/sub/broken.jpg");
    EXPECT_EQ(adder.LeftOut()[2].reason, unreadable);
}

TEST_F(FolderScanTest, AFolderOfManyOtherFilesIsToldInOneShortMessage)
{
    TestFolder clips;
    for (int i = 0; i < CImageAdder::ShownLeftOut + 5; ++i)
        clips.write(QString("clip%1.mov").arg(i, 2, 10, QChar('0')), "not a photo");
    CPageImages scanned;
    CImageAdder adder(scanned, prompter, {});
    EXPECT_EQ(adder.AddFolderImages(clips.path(), false, false), 0);
    EXPECT_EQ(adder.LeftOut().size(), CImageAdder::ShownLeftOut + 5);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts.first().count(".mov: "), CImageAdder::ShownLeftOut);
    EXPECT_TRUE(prompter.texts.first().endsWith(loadString(IDS_LEFT_OUT_MORE).arg(5)));
}

// A new user's folder straight from a phone: HEIC, AVIF, WebP and PNG.
class PhoneFolderTest : public ImageAdderTest
{
protected:
    void SetUp() override
    {
        made = folder.file("made");
        QDir().mkpath(made);
        const QString camera = sharedTestData("photos/syn-uc-ascii.jpg");
        for (const char* name : {"a.heic", "b.avif", "c.webp", "d.png"})
            ASSERT_FALSE(makePhonePhoto(camera, made, name).isEmpty()) << name;
    }
    QString made;
};

TEST_F(PhoneFolderTest, EveryReadablePhotoIsTaken)
{
    CImageAdder adder(rows, prompter, {});
    EXPECT_EQ(adder.AddFolderImages(made, false, false), 4);
    expectRows(rowsBelow(rows, made), {{"a.heic", ""}, {"b.avif", ""}, {"c.webp", ""},
                                       {"d.png", ""}});
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
    // Each phone format got the EXIF comment as its description, as the JPEG it was made
    // from does.
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(rows.Rows()[i].description,
                  CImageAdder::Describe(sharedTestData("photos/syn-uc-ascii.jpg"), {}).description)
            << rows.Rows()[i].path.toStdString();
    EXPECT_TRUE(rows.Rows()[0].description.contains("sunset over the lake"));
}

TEST_F(PhoneFolderTest, DamagedOnesAreLeftOutAndNamed)
{
    const QString cut = folder.file("cut");
    QDir().mkpath(cut);
    for (const char* name : {"a.heic", "b.avif", "c.webp"})
        ASSERT_FALSE(makeTruncated(made + "/" + name, cut + "/" + name, 3000).isEmpty());
    ASSERT_TRUE(QFile::copy(made + "/d.png", cut + "/d.png"));
    CImageAdder adder(rows, prompter, {});
    EXPECT_EQ(adder.AddFolderImages(cut, false, false), 1);
    expectRows(rowsBelow(rows, cut), {{"d.png", ""}});
    const QString unreadable = loadString(IDS_LEFT_OUT_UNREADABLE);
    EXPECT_EQ(prompter.texts,
              QStringList{loadString(IDS_FILES_LEFT_OUT)
                              .arg(QStringList{cut + "/a.heic: " + unreadable,
                                               cut + "/b.avif: " + unreadable,
                                               cut + "/c.webp: " + unreadable}
                                       .join('\n'))});
}

TEST_F(FolderScanTest, NamesThatAreNotUtf8AreToldWithTheirBytes)
{
    // Names as a Latin-1 system writes them: valid photos the program cannot name.
    const std::string native = QFile::encodeName(root).toStdString();
    std::filesystem::copy_file(native + "/b.jpg", native + "/caf\xE9.jpg");
    std::filesystem::copy_file(native + "/b.jpg", native + "/sub/\xFF\xFEx.JPG");
    std::filesystem::copy_file(native + "/b.jpg", native + "/.hidden\xE9.jpg");
    std::filesystem::copy_file(native + "/notes.txt", native + "/notes\xE9.txt");
    std::filesystem::create_directory(native + "/Ann\xE9"
                                               "e");
    std::filesystem::copy_file(native + "/b.jpg", native + "/Ann\xE9"
                                                           "e/f.jpg");
    CPageImages scanned;
    CImageAdder adder(scanned, prompter, {});
    EXPECT_EQ(adder.AddFolderImages(root, true, true), 5);
    const QStringList skipped{root + "/Ann\\xE9e", root + "/caf\\xE9.jpg",
                              root + "/sub/\\xFF\\xFEx.JPG"};
    QStringList sorted = adder.Skipped();
    sorted.sort();
    EXPECT_EQ(sorted, skipped);
    EXPECT_TRUE(adder.Unreadable().isEmpty()) << adder.Unreadable().join('|').toStdString();
    // After the list of files left out (notes.txt) comes the list of names it cannot read.
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(prompter.texts.last(),
              loadString(IDS_NAMES_NOT_UTF8).arg(adder.Skipped().join(u'\n')));
    // Without subfolders a folder is not skipped: it would not have been entered.
    prompter.texts.clear();
    CImageAdder flat(scanned, prompter, {});
    flat.AddFolderImages(root, false, false);
    EXPECT_EQ(flat.Skipped(), QStringList{root + "/caf\\xE9.jpg"});
}

TEST(FolderNames, BytesThatAreNotUtf8AreShownAsEscapes)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"plain.jpg", "plain.jpg"},
        {"caf\xE9.jpg", "caf\\xE9.jpg"},
        {"caf\xC3\xA9.jpg", QString::fromUtf8("caf\xC3\xA9.jpg")},
        {"\xC0\xAF", "\\xC0\\xAF"},          // an overlong '/'
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"}, // a surrogate
        {"cut \xE2\x82", "cut \\xE2\\x82"},  // a sequence cut short
        {"\xF0\x9F\x93\xB7!", QString::fromUtf8("\xF0\x9F\x93\xB7!")},
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(platform::shownName(bytes), shown) << bytes.toStdString();
}

TEST(PageImages, AlbumRoundTripRenumbers)
{
    std::vector<AlbumImage> album(3);
    const char* const names[] = {"one.jpg", "two.jpg", "three.jpg"};
    for (int i = 0; i < 3; ++i) {
        album[size_t(i)].name = names[i];
        album[size_t(i)].path = (std::string("/p/") + names[i]).c_str();
        album[size_t(i)].index = 40 + i;
    }
    album[1].description = "Second\r\nline";
    album[2].subfolder = "2004\\Summer";
    CPageImages rows;
    rows.LoadFromAlbum(album);
    ASSERT_EQ(rows.Size(), 3u);
    EXPECT_EQ(rows.Rows()[1].description, QString("Second\r\nline"));
    std::swap(rows.Rows()[0], rows.Rows()[2]);
    rows.Append({"/p/four.jpg", "four", "", ""});
    rows.SyncPageToAlbum(album);
    ASSERT_EQ(album.size(), 4u);
    const char* const order[] = {"three.jpg", "two.jpg", "one.jpg", "four"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(album[size_t(i)].name.c_str(), order[i]);
        EXPECT_EQ(album[size_t(i)].index, i);
    }
    EXPECT_STREQ(album[0].subfolder.c_str(), "2004\\Summer");
    EXPECT_STREQ(album[1].description.c_str(), "Second\r\nline");
    EXPECT_STREQ(album[3].path.c_str(), "/p/four.jpg");
}

TEST(SubfolderText, CommonPrefixNormaliseJoin)
{
    const struct {
        QStringList texts;
        const char* prefix;
    } prefixes[] = {
        {{}, ""},
        {{"2004\\Summer"}, "2004\\Summer"},
        {{"2004\\Summer", "2004\\Spring"}, "2004\\S"},
        {{"2004\\Summer", "2004"}, "2004"},
        {{"a", "b"}, ""},
        {{"same", "same", "same"}, "same"},
        {{"x", ""}, ""},
    };
    for (const auto& c : prefixes)
        EXPECT_EQ(subfoldertext::CommonPrefix(c.texts), QString(c.prefix)) << c.prefix;
    const std::pair<const char*, const char*> typed[] = {
        {"2004/Summer", "2004\\Summer"},
        {"/2004/Summer/", "2004\\Summer"},
        {"\\\\net\\share\\\\", "\\net\\share\\"},
        {"", ""},
        {"/", ""},
    };
    for (const auto& [in, out] : typed)
        EXPECT_EQ(subfoldertext::Normalise(in), QString(out)) << in;
    EXPECT_EQ(subfoldertext::Join("", "a"), QString("a"));
    EXPECT_EQ(subfoldertext::Join("a\\b", "c"), QString("a\\b\\c"));
}

} // namespace
