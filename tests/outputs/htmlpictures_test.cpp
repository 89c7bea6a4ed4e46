// SPDX-License-Identifier: GPL-2.0-or-later
// What an album's pictures and files are made of: names that stay put for unchanged photos,
// no camera data (and never a location) unless asked for, the host's quality and resize
// method, photos that cannot be read, and the files a user chooses for a theme.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QMutex>

#include <exiv2/exiv2.hpp>

#include "platform/settings.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/support/sidefileturn.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/claimedpng.h"
#include "tests/support/orientedphotos.h"
#include "tests/support/testenv.h"

namespace
{

std::set<QString> picturesIn(const QString& album)
{
    const QStringList names = QDir(album + QStringLiteral("/pictures")).entryList(QDir::Files);
    return {names.begin(), names.end()};
}

QString pageText(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

Exiv2::ExifData exifOf(const QString& file)
{
    auto image = Exiv2::ImageFactory::open(file.toStdString());
    image->readMetadata();
    return image->exifData();
}

bool hasGps(const Exiv2::ExifData& exif)
{
    for (const Exiv2::Exifdatum& item : exif)
        if (item.groupName() == "GPSInfo")
            return true;
    return false;
}

class PicturesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(album.ready()); }

    // A copy of a shared photo in the test's folder, so the test may change it.
    QString copyOf(const QString& photo, const QString& name)
    {
        const QString copy = work.file(QStringLiteral("photos/") + name);
        QDir().mkpath(work.file(QStringLiteral("photos")));
        QFile::copy(sharedPhoto(photo), copy);
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }
    // Gives the photo a GPS position, as a phone would.
    static void addGps(const QString& file)
    {
        auto image = Exiv2::ImageFactory::open(file.toStdString());
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
        exif["Exif.GPSInfo.GPSLatitude"] = "48/1 51/1 24/1";
        exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
        exif["Exif.GPSInfo.GPSLongitude"] = "2/1 21/1 3/1";
        image->setExifData(exif);
        image->writeMetadata();
    }
    QString dest(const QString& name) const { return work.file(name); }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

} // namespace

TEST_F(PicturesTest, UnchangedPhotosKeepTheirPictureNames)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    const QString changing = copyOf(QStringLiteral("exs-canon-ixus.jpg"), QStringLiteral("b.jpg"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("A"));
    album.addPhoto(changing, QStringLiteral("B"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")), QStringLiteral("C"));
    ASSERT_EQ(album.generate(dest("first")), GV_OK);
    const std::set<QString> first = picturesIn(dest("first"));
    // What the two photos that stay the same make on their own.
    HtmlAlbum steady{work.file("steady-themes")};
    ASSERT_TRUE(steady.choose(HtmlAlbum::Classic));
    steady.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("A"));
    steady.addPhoto(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")), QStringLiteral("C"));
    ASSERT_EQ(steady.generate(dest("steady")), GV_OK);
    const std::set<QString> unchanged = picturesIn(dest("steady"));
    ASSERT_GT(first.size(), unchanged.size());

    // New titles change pages only.
    album.album().Images()[0].name = "A renamed";
    ASSERT_EQ(album.generate(dest("titles")), GV_OK);
    EXPECT_EQ(picturesIn(dest("titles")), first);

    // A changed photo gets new names; the others keep theirs.
    QImage replacement(320, 200, QImage::Format_RGB32);
    replacement.fill(Qt::darkCyan);
    ASSERT_TRUE(replacement.save(changing, "JPEG"));
    ASSERT_EQ(album.generate(dest("changed")), GV_OK);
    const std::set<QString> changed = picturesIn(dest("changed"));
    std::set<QString> kept;
    std::set_intersection(first.begin(), first.end(), changed.begin(), changed.end(),
                          std::inserter(kept, kept.begin()));
    EXPECT_EQ(kept, unchanged);
    EXPECT_GT(changed.size(), unchanged.size());

    // A different setting makes different pictures under different names.
    album.setNumber("JPEGQuality", 40);
    ASSERT_EQ(album.generate(dest("quality")), GV_OK);
    const std::set<QString> quality = picturesIn(dest("quality"));
    std::set<QString> common;
    std::set_intersection(changed.begin(), changed.end(), quality.begin(), quality.end(),
                          std::inserter(common, common.begin()));
    EXPECT_TRUE(common.empty());
}

TEST_F(PicturesTest, TheSamePhotoTwiceSharesItsPictures)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("One"));
    ASSERT_EQ(album.generate(dest("once")), GV_OK);
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Again"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    EXPECT_EQ(picturesIn(dest("album")), picturesIn(dest("once")));
    const QString html = pageText(dest("album/index.html"));
    EXPECT_TRUE(html.contains(QLatin1String("One")) && html.contains(QLatin1String("Again")));
}

TEST_F(PicturesTest, ATurnInTheSideFileMakesNewPictures)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QString photo = copyOf(QStringLiteral("exs-DSCN0010.jpg"), QStringLiteral("turn.jpg"));
    album.addPhoto(photo);
    ASSERT_EQ(album.generate(dest("before")), GV_OK);
    ASSERT_NO_FATAL_FAILURE(turnBySideFile(photo));
    ASSERT_EQ(album.generate(dest("after")), GV_OK);
    std::set<QString> common;
    const std::set<QString> before = picturesIn(dest("before")), after = picturesIn(dest("after"));
    std::set_intersection(before.begin(), before.end(), after.begin(), after.end(),
                          std::inserter(common, common.begin()));
    EXPECT_TRUE(common.empty());
    EXPECT_TRUE(pageText(dest("after/index.html"))
                    .contains(QLatin1String("data-width=\"480\" data-height=\"640\"")))
        << "the big picture is turned";
}

TEST_F(PicturesTest, PicturesCarryNoCameraDataOrLocationByDefault)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QString photo = copyOf(QStringLiteral("exs-canon-ixus.jpg"), QStringLiteral("gps.jpg"));
    addGps(photo);
    ASSERT_TRUE(hasGps(exifOf(photo)));
    album.addPhoto(photo);
    ASSERT_EQ(album.generate(dest("plain")), GV_OK);
    for (const QString& name : picturesIn(dest("plain")))
        EXPECT_TRUE(exifOf(dest("plain/pictures/") + name).empty()) << name.toStdString();

    // Kept, the camera data goes into the big pictures of every width and format; thumbnails
    // and the album's icon never carry any.
    album.setChoice("CameraData", QStringLiteral("Keep (without location)"));
    ASSERT_EQ(album.generate(dest("camera")), GV_OK);
    int big = 0;
    for (const QString& name : picturesIn(dest("camera"))) {
        const Exiv2::ExifData exif = exifOf(dest("camera/pictures/") + name);
        if (name.contains(QLatin1String("-thumb.")) || name.contains(QLatin1String("-favicon."))) {
            EXPECT_TRUE(exif.empty()) << name.toStdString();
            continue;
        }
        ++big;
        EXPECT_NE(exif.findKey(Exiv2::ExifKey("Exif.Image.Make")), exif.end())
            << name.toStdString();
        EXPECT_FALSE(hasGps(exif)) << name.toStdString();
    }
    EXPECT_EQ(big, 4) << "two widths of the 640 pixel photo, in JPEG and WebP";
}

TEST_F(PicturesTest, TheHostsQualityAndResizeMethodAreHonoured)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(sharedPhoto(QStringLiteral("mdi-Olympus_PEN_E-P3.jpg")));
    const auto bytesOf = [&](const QString& folder, const char* kind) {
        qint64 total = 0;
        for (const QString& name : picturesIn(dest(folder)))
            if (name.endsWith(QLatin1String(kind)))
                total += QFileInfo(dest(folder) + QStringLiteral("/pictures/") + name).size();
        return total;
    };
    album.setNumber("JPEGQuality", 30);
    ASSERT_EQ(album.generate(dest("low")), GV_OK);
    album.setNumber("JPEGQuality", 95);
    ASSERT_EQ(album.generate(dest("high")), GV_OK);
    EXPECT_LT(bytesOf("low", "-big.jpg") * 2, bytesOf("high", "-big.jpg"));

    album.setChoice("InterpolationMode", QStringLiteral("Bicubic"));
    ASSERT_EQ(album.generate(dest("bicubic")), GV_OK);
    EXPECT_NE(picturesIn(dest("high")), picturesIn(dest("bicubic")));
    EXPECT_NE(bytesOf("high", "-thumb.jpg"), bytesOf("bicubic", "-thumb.jpg"));
}

TEST_F(PicturesTest, PhotosThatCannotBeReadAreLeftOut)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(work.write(QStringLiteral("photos/broken.jpg"), "not a photo at all"),
                   QStringLiteral("Broken"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Fine"));
    album.addPhoto(work.file(QStringLiteral("photos/gone.jpg")), QStringLiteral("Gone"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString index = pageText(dest("album/index.html"));
    EXPECT_TRUE(index.contains(QLatin1String("1 photo<")));
    EXPECT_FALSE(index.contains(QLatin1String("Broken")));
    EXPECT_FALSE(QFileInfo::exists(dest("album/photo-2.html")));
    album.album().Images().erase(album.album().Images().begin());
    ASSERT_EQ(album.generate(dest("fine")), GV_OK);
    // The album's icon is the first photo's, which here is the broken one.
    const auto withoutIcon = [](std::set<QString> names) {
        std::erase_if(names, [](const QString& n) { return n.contains(QLatin1String("-favicon.")); });
        return names;
    };
    EXPECT_EQ(withoutIcon(picturesIn(dest("album"))), withoutIcon(picturesIn(dest("fine"))))
        << "nothing half-made is left of the broken one";
    EXPECT_FALSE(index.contains(QLatin1String("rel=\"icon\""))) << "and no icon that is not there";
}

// Warnings printed while the object lives, from any thread.
class WarningLog
{
public:
    WarningLog() { s_previous = qInstallMessageHandler(&WarningLog::record); }
    ~WarningLog() { qInstallMessageHandler(s_previous); }
    QString text() const
    {
        const QMutexLocker lock(&s_mutex);
        return s_lines.join(u'\n');
    }

private:
    static void record(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        const QMutexLocker lock(&s_mutex);
        s_lines << message;
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
};

TEST_F(PicturesTest, PhotosOverThePixelLimitAreLeftOutWithAWarning)
{
    Settings().writeInt(QStringLiteral("Settings"), QStringLiteral("MaxMegapixels"), 2);
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    const QString huge =
        work.write(QStringLiteral("photos/huge.png"), testpng::claiming(2000, 1001));
    album.addPhoto(huge, QStringLiteral("Huge"));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Fine"));
    const WarningLog warnings;
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString index = pageText(dest("album/index.html"));
    EXPECT_TRUE(index.contains(QLatin1String("1 photo<")));
    EXPECT_FALSE(index.contains(QLatin1String("Huge")));
    EXPECT_TRUE(warnings.text().contains(
        huge + QStringLiteral(" is 2000 x 1001 pixels, more than the 2 megapixels")))
        << warnings.text().toStdString();
}

TEST_F(PicturesTest, AnAlbumOfOnlyUnreadablePhotosIsAFailure)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.addPhoto(work.write(QStringLiteral("photos/broken.jpg"), "not a photo"),
                   QStringLiteral("Broken"));
    EXPECT_EQ(album.generate(dest("album")), GV_E_READFILE);
    EXPECT_FALSE(QFileInfo::exists(dest("album/index.html")));
}

// Published the right way round: every orientation, the mirrored ones too, as libvips turns
// the same photo upright, in the big picture and the thumbnail alike.
TEST_F(PicturesTest, EveryOrientationIsPublishedUpright)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QStringList photos = makeOrientedPhotos(work.file("oriented"));
    ASSERT_EQ(photos.size(), 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        album.album().Images().clear();
        album.addPhoto(photos[orientation - 1]);
        const QString folder = dest(QString("album%1").arg(orientation));
        ASSERT_EQ(album.generate(folder), GV_OK);
        const QImage expected = autorotated(photos[orientation - 1]);
        const std::set<QString> pictures = picturesIn(folder);
        ASSERT_FALSE(pictures.empty());
        for (const QString& name : pictures) {
            if (name.contains(QLatin1String("-favicon.")))
                continue; // a square cut of the photo
            QString why;
            // Read by libvips, which reads WebP too.
            EXPECT_TRUE(showsTheSame(autorotated(folder + "/pictures/" + name), expected, &why))
                << name.toStdString() << ": " << why.toStdString();
        }
    }
}

namespace
{

// The value of every attr="..." of a page, in order.
QStringList attributeValues(const QString& html, const QString& attr)
{
    QStringList values;
    const QRegularExpression pattern(u' ' + attr + QStringLiteral("=\"([^\"]*)\""));
    for (auto match = pattern.globalMatch(html); match.hasNext();)
        values << match.next().captured(1);
    return values;
}

// "url 640w, url 480w" as url -> width.
std::map<QString, int> candidates(const QString& srcset)
{
    std::map<QString, int> widths;
    for (const QString& candidate : srcset.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QStringList parts = candidate.split(u' ');
        widths[parts.value(0)] = parts.value(1).chopped(1).toInt();
    }
    return widths;
}

std::vector<int> widthsOf(const QString& srcset)
{
    std::vector<int> widths;
    for (const auto& [url, width] : candidates(srcset))
        widths.push_back(width);
    std::sort(widths.begin(), widths.end(), std::greater<>());
    return widths;
}

QString solidPhoto(const TestFolder& work, const QString& name, QSize size, QColor colour)
{
    QImage photo(size, QImage::Format_RGB32);
    photo.fill(colour);
    const QString file = work.file(QStringLiteral("photos/") + name);
    QDir().mkpath(work.file(QStringLiteral("photos")));
    return photo.save(file, "JPEG", 95) ? file : QString();
}

} // namespace

// Every width is made from the one photo at most at its size: a photo smaller than the box
// gives fewer widths, never enlarged ones, and each listed width is the picture's own.
TEST_F(PicturesTest, WidthsAreNeverEnlargedAndCollapseForSmallPhotos)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    album.setNumber("BigSize", 800);
    album.setNumber("ThumbSize", 150);
    album.addPhoto(sharedPhoto(QStringLiteral("mdi-Olympus_PEN_E-P3.jpg")), QStringLiteral("L"));
    album.addPhoto(solidPhoto(work, QStringLiteral("small.jpg"), {300, 200}, Qt::darkGreen),
                   QStringLiteral("S"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString html = pageText(dest("album/index.html"));
    const QStringList big = attributeValues(html, QStringLiteral("data-srcset"));
    const QStringList bigWebp = attributeValues(html, QStringLiteral("data-webp-srcset"));
    ASSERT_EQ(big.size(), 2);
    EXPECT_EQ(widthsOf(big[0]), (std::vector<int>{800, 600, 400, 240}));
    EXPECT_EQ(widthsOf(bigWebp[0]), widthsOf(big[0]));
    EXPECT_EQ(widthsOf(big[1]), (std::vector<int>{300, 240})) << "600 and 400 would enlarge";
    EXPECT_EQ(widthsOf(bigWebp[1]), (std::vector<int>{300, 240}));
    const QStringList thumbs = attributeValues(html, QStringLiteral("srcset"));
    ASSERT_EQ(thumbs.size(), 4) << "a WebP and a JPEG srcset per tile";
    EXPECT_EQ(widthsOf(thumbs[1]), (std::vector<int>{400, 300, 200, 140, 100}));
    EXPECT_EQ(widthsOf(thumbs[3]), (std::vector<int>{300, 225, 158, 113})) << "by height";
    for (const QString& srcset : big + bigWebp + thumbs)
        for (const auto& [url, width] : candidates(srcset)) {
            const QSize size = autorotated(dest("album/") + url).size();
            EXPECT_EQ(size.width(), width) << url.toStdString();
        }
    // Only what the page lists is written: no file for a width that collapsed.
    std::set<QString> listed;
    for (const QString& srcset : big + bigWebp + thumbs)
        for (const auto& [url, width] : candidates(srcset))
            listed.insert(url.section(u'/', -1));
    const QStringList icons = attributeValues(html, QStringLiteral("href"))
                                  .filter(QStringLiteral("-favicon."));
    ASSERT_EQ(icons.size(), 1);
    listed.insert(icons[0].section(u'/', -1));
    EXPECT_EQ(picturesIn(dest("album")), listed);
    EXPECT_EQ(QImageReader(dest("album/") + icons[0]).size(), QSize(64, 64));
    EXPECT_TRUE(html.contains(QLatin1String("<meta property=\"og:image:width\" content=\"800\">")))
        << "the largest when none reaches 1200";
}

// WebP by default, AVIF only when chosen, JPEG alone when asked; the markup offers what was made.
TEST_F(PicturesTest, FormatsFollowTheModernFormatsChoice)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.addPhoto(solidPhoto(work, QStringLiteral("a.jpg"), {320, 240}, QColor(200, 90, 40)));
    const auto count = [&](const char* folder, const char* suffix) {
        int n = 0;
        for (const QString& name : picturesIn(dest(folder)))
            n += name.endsWith(QLatin1String(suffix)) ? 1 : 0;
        return n;
    };
    ASSERT_EQ(album.generate(dest("webp")), GV_OK);
    EXPECT_GT(count("webp", ".webp"), 0);
    EXPECT_EQ(count("webp", ".avif"), 0);
    EXPECT_EQ(count("webp", ".webp"), count("webp", ".jpg") - 1) << "all but the icon";
    const QString webpIndex = pageText(dest("webp/index.html"));
    EXPECT_TRUE(webpIndex.contains(QLatin1String("<source type=\"image/webp\"")));
    EXPECT_FALSE(webpIndex.contains(QLatin1String("image/avif")));

    album.setChoice("ModernFormats", QStringLiteral("JPEG only"));
    ASSERT_EQ(album.generate(dest("jpeg")), GV_OK);
    EXPECT_EQ(count("jpeg", ".webp") + count("jpeg", ".avif"), 0);
    EXPECT_FALSE(pageText(dest("jpeg/index.html")).contains(QLatin1String("<source")));
    EXPECT_FALSE(pageText(dest("jpeg/photo-1.html")).contains(QLatin1String("<source")));

    album.setChoice("ModernFormats", QStringLiteral("WebP and AVIF"));
    ASSERT_EQ(album.generate(dest("avif")), GV_OK);
    EXPECT_EQ(count("avif", ".avif"), count("avif", ".webp"));
    for (const QString& name : picturesIn(dest("avif")))
        if (name.endsWith(QLatin1String(".avif"))) {
            QFile file(dest("avif/pictures/") + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.read(12).mid(4), QByteArray("ftypavif")) << name.toStdString();
        }
    const QString photoPage = pageText(dest("avif/photo-1.html"));
    EXPECT_LT(photoPage.indexOf(QLatin1String("<source type=\"image/avif\"")),
              photoPage.indexOf(QLatin1String("<source type=\"image/webp\"")))
        << "AVIF first, for the browsers that show it";
    EXPECT_NE(photoPage.indexOf(QLatin1String("<source type=\"image/avif\"")), -1);
}

// A tile waits on the photo's own colour, and the first ones on a blurred copy of it.
TEST_F(PicturesTest, PlaceholdersAreThePhotosColour)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QColor colour(40, 110, 200);
    album.addPhoto(solidPhoto(work, QStringLiteral("blue.jpg"), {400, 300}, colour));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    const QString html = pageText(dest("album/index.html"));
    const QRegularExpressionMatch match =
        // As custom properties, so the markup stays valid; the url's semicolon is escaped.
        QRegularExpression(QStringLiteral("style=\"--ph:(#[0-9a-f]{6});--ph-img:url\\('data:image/"
                                          "png\\\\3b base64,([A-Za-z0-9+/=]+)'\\)\""))
            .match(html);
    ASSERT_TRUE(match.hasMatch()) << html.toStdString();
    const QColor placeholder(match.captured(1));
    EXPECT_NEAR(placeholder.red(), colour.red(), 6);
    EXPECT_NEAR(placeholder.green(), colour.green(), 6);
    EXPECT_NEAR(placeholder.blue(), colour.blue(), 6);
    const QImage blurred = QImage::fromData(QByteArray::fromBase64(match.captured(2).toLatin1()));
    EXPECT_EQ(blurred.size(), QSize(8, 6));
    EXPECT_LT(match.captured(2).size(), 400) << "small enough for every tile of a big album";
    const std::set<QString> pictures = picturesIn(dest("album"));
    EXPECT_TRUE(std::none_of(pictures.begin(), pictures.end(),
                             [](const QString& n) { return n.endsWith(QLatin1String(".png")); }))
        << "the sample it came from is gone";
}

// The Slideshow's cover keeps the photo's subject when it cuts a tall cover from a wide photo,
// and never enlarges the photo to fill the box.
TEST_F(PicturesTest, CoversAreCutAroundTheSubject)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Slideshow));
    QImage photo(1200, 400, QImage::Format_RGB32);
    photo.fill(QColor(128, 128, 128));
    for (int y = 100; y < 300; ++y) // a busy red patch near the right edge
        for (int x = 1000; x < 1150; ++x)
            photo.setPixelColor(x, y, (x / 6 + y / 6) % 2 ? QColor(230, 20, 20) : QColor(255, 220, 0));
    QDir().mkpath(work.file("photos"));
    ASSERT_TRUE(photo.save(work.file("photos/wide.jpg"), "JPEG", 95));
    album.addPhoto(work.file("photos/wide.jpg"));
    ASSERT_EQ(album.generate(dest("album")), GV_OK);
    QString cover;
    for (const QString& name : picturesIn(dest("album")))
        if (name.endsWith(QLatin1String("-coverphone.jpg")))
            cover = dest("album/pictures/") + name;
    ASSERT_FALSE(cover.isEmpty());
    const QImage cut(cover);
    EXPECT_EQ(cut.size(), QSize(540, 400)) << "as tall as the photo, not enlarged to 900";
    int red = 0;
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            red += cut.pixelColor(x, y).red() > 200 && cut.pixelColor(x, y).blue() < 80 ? 1 : 0;
    EXPECT_GT(red, 5000) << "the patch is in the cover";
    EXPECT_TRUE(pageText(dest("album/index.html")).contains(QLatin1String("image-set(")));
}
