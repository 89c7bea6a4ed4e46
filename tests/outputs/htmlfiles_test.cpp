// SPDX-License-Identifier: GPL-2.0-or-later
// The files a user chooses for a theme (a background picture, a folder of downloads), photos
// grouped by subfolder, and parameter values no theme would offer, as an edited or damaged
// project file may hold them.
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <exiv2/exiv2.hpp>

#include "plugins/paramrules.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

QString pageText(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

// A copy of a shared photo with a GPS position, as a phone would write it.
QString withGps(const QString& photo)
{
    static TestFolder folder;
    const QString copy = folder.file(photo);
    QFile::copy(sharedPhoto(photo), copy);
    QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    auto image = Exiv2::ImageFactory::open(copy.toStdString());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "48/1 51/1 24/1";
    image->setExifData(exif);
    image->writeMetadata();
    return copy;
}

Exiv2::ExifData exifOf(const QString& file)
{
    auto image = Exiv2::ImageFactory::open(file.toStdString());
    image->readMetadata();
    return image->exifData();
}

bool hasGps(const QString& file)
{
    const Exiv2::ExifData exif = exifOf(file);
    return std::any_of(exif.begin(), exif.end(),
                       [](const Exiv2::Exifdatum& item) { return item.groupName() == "GPSInfo"; });
}

bool hasCamera(const QString& file)
{
    const Exiv2::ExifData exif = exifOf(file);
    return exif.findKey(Exiv2::ExifKey("Exif.Image.Model")) != exif.end();
}

class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(album.ready()); }
    QString dest(const QString& relative = QString()) const
    {
        return work.file(QStringLiteral("album/") + relative);
    }
    void setFileParam(const char* name, const QString& chosen, const QString& albumName)
    {
        GVParamInfo* info = album.param(name);
        ASSERT_NE(info, nullptr);
        ASSERT_GE(info->values.size(), 2);
        info->values[0].value.text = chosen.toUtf8().constData();
        info->values[1].value.text = albumName.toUtf8().constData();
    }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

} // namespace

TEST_F(FilesTest, TheBackgroundPictureIsMadeAfreshWithoutItsLocation)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")));
    const QString chosen = withGps(QStringLiteral("exs-nikon-e950.jpg"));
    setFileParam("Background", chosen, QStringLiteral("images/background.jpg"));
    for (const char* cameraData : {"Remove", "Keep (without location)"}) {
        SCOPED_TRACE(cameraData);
        album.setChoice("CameraData", QString::fromUtf8(cameraData));
        ASSERT_EQ(album.generate(dest()), GV_OK);
        const QString made = dest("images/background.jpg");
        EXPECT_FALSE(QImage(made).isNull());
        EXPECT_FALSE(hasGps(made));
        EXPECT_EQ(hasCamera(made), std::string(cameraData) != "Remove");
        EXPECT_TRUE(
            pageText(dest("index.html")).contains(QLatin1String("url(\"images/background.jpg\")")));
    }
}

TEST_F(FilesTest, AFileThatIsNoPictureIsNotPublished)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")));
    const QString secret =
        work.write(QStringLiteral("shadow"), "root:$6$secret:19000:0:99999:7:::\n");
    setFileParam("Background", secret, QStringLiteral("images/background"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_FALSE(QFileInfo::exists(dest("images/background")));
    EXPECT_FALSE(QFileInfo::exists(dest("images/background.jpg")));
    EXPECT_FALSE(pageText(dest("index.html")).contains(QLatin1String("images/background")));

    // A picture whose chosen name is no picture's gets one the browser knows.
    setFileParam("Background", sharedPhoto(QStringLiteral("exs-nikon-e950.jpg")),
                 QStringLiteral("images/background.data"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_FALSE(QImage(dest("images/background.jpg")).isNull());
    EXPECT_TRUE(
        pageText(dest("index.html")).contains(QLatin1String("url(\"images/background.jpg\")")));
}

TEST_F(FilesTest, AFileNameLeadingOutOfTheAlbumIsIgnored)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    setFileParam("Background", sharedPhoto(QStringLiteral("exs-nikon-e950.jpg")),
                 QStringLiteral("../escaped.jpg"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_FALSE(QFileInfo::exists(work.file(QStringLiteral("escaped.jpg"))));
    EXPECT_FALSE(pageText(dest("index.html")).contains(QLatin1String("escaped")));
}

TEST_F(FilesTest, ADownloadsFolderIsCopiedAndListed)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    work.write(QStringLiteral("downloads/programme.pdf"), QByteArray(2048, 'x'));
    work.write(QStringLiteral("downloads/notes <1>.txt"), "notes");
    work.write(QStringLiteral("downloads/.hidden"), "secret");
    work.write(QStringLiteral("downloads/.ssh/id_rsa"), "key");
    work.write(QStringLiteral("elsewhere/private.txt"), "private");
    QFile::link(work.file(QStringLiteral("elsewhere/private.txt")),
                work.file(QStringLiteral("downloads/link.txt")));
    ASSERT_EQ(
        mkfifo(QFile::encodeName(work.file(QStringLiteral("downloads/pipe"))).constData(), 0600),
        0);
    const QString photo = withGps(QStringLiteral("exs-nikon-e950.jpg"));
    QFile::copy(photo, work.file(QStringLiteral("downloads/beach.jpg")));
    album.setText("Downloads", work.file(QStringLiteral("downloads")));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_EQ(QDir(dest("files"))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({"beach.jpg", "notes <1>.txt", "programme.pdf"}));
    // The photo keeps its pictures and camera data, but not where it was taken.
    EXPECT_FALSE(hasGps(dest("files/beach.jpg")));
    EXPECT_TRUE(hasCamera(dest("files/beach.jpg")));
    EXPECT_EQ(QImage(dest("files/beach.jpg")), QImage(photo));
    EXPECT_TRUE(hasGps(work.file(QStringLiteral("downloads/beach.jpg")))); // the user's own
    const QString index = pageText(dest("index.html"));
    EXPECT_TRUE(index.contains(QLatin1String("href=\"files/notes%20%3C1%3E.txt\"")));
    EXPECT_TRUE(index.contains(QLatin1String(">notes &lt;1&gt;.txt<")));
    EXPECT_TRUE(index.contains(QLatin1String("<span>2.0 kB</span>"))) << index.toStdString();
}

// A theme may offer to publish the photos of a folder as they are.
TEST(FolderOriginals, AChoiceOfTheThemeKeepsTheLocation)
{
    SettingsSandbox settings;
    TestFolder work;
    const QString theme = work.file(QStringLiteral("user-themes/originals"));
    QDir().mkpath(theme + QStringLiteral("/assets"));
    const QString sources = QStringLiteral(GVTEST_HTML_THEME_SOURCES "/classic/");
    for (const QString& file : QDir(sources).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(sources + file, theme + u'/' + file));
    for (const QString& file : QDir(sources + QStringLiteral("assets")).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(sources + QStringLiteral("assets/") + file,
                                theme + QStringLiteral("/assets/") + file));
    QFile manifest(theme + QStringLiteral("/theme.json"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    QJsonObject json = QJsonDocument::fromJson(manifest.readAll()).object();
    manifest.close();
    json[QStringLiteral("id")] = 60;
    json[QStringLiteral("name")] = QStringLiteral("Originals");
    QJsonArray params = json[QStringLiteral("parameters")].toArray();
    params.append(QJsonObject{{"name", "FolderPhotos"},
                              {"type", 3},
                              {"caption", "Photos of the folder"},
                              {"options", QJsonArray{"Without location", "Originals"}},
                              {"default", "Without location"}});
    json[QStringLiteral("parameters")] = params;
    json[QStringLiteral("folderOriginals")] =
        QJsonObject{{"parameter", "FolderPhotos"}, {"keep", "Originals"}};
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly | QIODevice::Truncate));
    manifest.write(QJsonDocument(json).toJson());
    manifest.close();

    HtmlAlbum album(work.file(QStringLiteral("user-themes")));
    ASSERT_TRUE(album.ready());
    ASSERT_TRUE(album.choose(60));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")));
    QDir().mkpath(work.file(QStringLiteral("downloads")));
    ASSERT_TRUE(QFile::copy(withGps(QStringLiteral("exs-canon-ixus.jpg")),
                            work.file(QStringLiteral("downloads/beach.jpg"))));
    album.setText("Downloads", work.file(QStringLiteral("downloads")));
    album.setChoice("FolderPhotos", QStringLiteral("Originals"));
    ASSERT_EQ(album.generate(work.file(QStringLiteral("album"))), GV_OK);
    EXPECT_TRUE(hasGps(work.file(QStringLiteral("album/files/beach.jpg"))));
    album.setChoice("FolderPhotos", QStringLiteral("Without location"));
    ASSERT_EQ(album.generate(work.file(QStringLiteral("album"))), GV_OK);
    EXPECT_FALSE(hasGps(work.file(QStringLiteral("album/files/beach.jpg"))));
}

TEST_F(FilesTest, PhotosAreGroupedByTheirSubfolderText)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("b1"), {},
                   QStringLiteral("Beach"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-canon-ixus.jpg")), QStringLiteral("c1"), {},
                   QStringLiteral("City\\Night"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")), QStringLiteral("b2"), {},
                   QStringLiteral("Beach"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-nikon-e950.jpg")), QStringLiteral("loose"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QString html = pageText(dest("index.html"));
    static const QRegularExpression heading(
        QStringLiteral("<h2>([^<]*) <span class=\"count\">(\\d+)</span>"));
    QStringList groups;
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        groups << m.captured(1) + u'=' + m.captured(2);
    }
    EXPECT_EQ(groups, QStringList({"Beach=2", QStringLiteral("City \u203a Night=1"), "Photos=1"}));
    EXPECT_LT(html.indexOf(QLatin1String("alt=\"b2\"")), html.indexOf(QLatin1String("alt=\"c1\"")))
        << "the photos of one folder stay together";
}

TEST_F(FilesTest, ValuesNoThemeOffersFallBackToSafeOnes)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("mdi-Olympus_PEN_E-P3.jpg")));
    album.setNumber("BigSize", 100000);
    album.setNumber("ThumbSize", -5);
    album.setChoice("Scheme", QStringLiteral("Plaid"));
    album.setChoice("InterpolationMode", QStringLiteral("Bicubic"));
    album.setNumber("JPEGQuality", 900);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QString html = pageText(dest("index.html"));
    EXPECT_TRUE(html.contains(QLatin1String("data-scheme=\"dark\""))) << "the default scheme";
    EXPECT_TRUE(html.contains(QLatin1String("--thumb: 150;")));
    EXPECT_TRUE(html.contains(QLatin1String("data-width=\"1280\""))) << "no bigger than the photo";
}

TEST_F(FilesTest, AFontNameCannotBreakOutOfTheStyleSheet)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Slideshow));
    GVFontBlock font = *paramrules::value(*album.param("TitleFont"))->font;
    const char evil[] = "x\"}</style><script>alert(1)";
    std::memset(font.logFont.lfFaceName, 0, sizeof font.logFont.lfFaceName);
    std::memcpy(font.logFont.lfFaceName, evil, sizeof evil - 1);
    font.logFont.lfWeight = 300;
    font.logFont.lfItalic = 1;
    font.chooseFont.iPointSize = 240;
    font.chooseFont.rgbColors = 0x00336699;
    album.setFont("TitleFont", font);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QString html = pageText(dest("index.html"));
    EXPECT_FALSE(html.contains(QLatin1String("<script>alert")));
    EXPECT_EQ(html.count(QLatin1String("</style>")), 1);
    EXPECT_TRUE(html.contains(
        QLatin1String("font-family: \"x\\22 }\\3c /style\\3e \\3c script\\3e alert(1)\"")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(
        QLatin1String("font-size: 32px; font-weight: 300; font-style: italic; color: #996633;")));
}

TEST_F(FilesTest, ThemesThatDoNotGroupKeepTheAlbumsOrder)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("b1"), {},
                   QStringLiteral("Beach"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-canon-ixus.jpg")), QStringLiteral("a1"), {},
                   QStringLiteral("Alps"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")), QStringLiteral("b2"), {},
                   QStringLiteral("Beach"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QStringList titles = {"b1", "a1", "b2"};
    for (int i = 0; i < titles.size(); ++i)
        EXPECT_TRUE(pageText(dest(QStringLiteral("photo-%1.html").arg(i + 1)))
                        .contains(QStringLiteral("<h1>%1</h1>").arg(titles[i])))
            << i;
}
