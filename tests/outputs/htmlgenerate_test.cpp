// SPDX-License-Identifier: GPL-2.0-or-later
// Generating albums with every theme through the real host: what the pages say, which
// pictures exist at which sizes, names that stay put, cancelling, progress and the photos'
// metadata.
#include <gtest/gtest.h>

#include <thread>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below folder, relative, sorted.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Progress that records what it is told, from which thread, and cancels when told to.
struct ProgressLog {
    std::vector<int> positions;
    QStringList texts;
    bool otherThread = false;
    int cancelAt = -1;
};

class LoggingProgress : public Progress
{
public:
    explicit LoggingProgress(ProgressLog& log) : m_log(log) {}
    void setTitle(const QString&) override {}
    void setPosition(int percent) override
    {
        m_log.positions.push_back(percent);
        m_log.otherThread |= std::this_thread::get_id() != m_thread;
    }
    void setText(const QString& text) override { m_log.texts << text; }
    bool pump() override { return m_log.cancelAt >= 0 && m_log.positions.back() >= m_log.cancelAt; }

private:
    ProgressLog& m_log;
    std::thread::id m_thread = std::this_thread::get_id();
};

const QStringList SmallPhotos = {
    "exs-DSCN0010.jpg",     "exs-canon-ixus.jpg",     "exs-landscape_6.jpg",
    "mdi-Canon_EOS_7D.jpg", "exs-kodak-dc240.jpg",    "exs-nikon-e950.jpg",
    "exs-olympus-c960.jpg", "exs-portrait_3.jpg",     "exs-ricoh-rdc5300.jpg",
    "mdi-Casio_EX-S1.jpg",  "exs-sony-cybershot.jpg", "mdi-FujiFilm_FinePixS1Pro_1.jpg"};

class GenerateTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(album.ready());
        album.album().SetProgressFactory([this] { return std::make_unique<LoggingProgress>(log); });
    }
    void addPhotos(int count)
    {
        for (int i = 0; i < count; ++i)
            album.addPhoto(sharedPhoto(SmallPhotos[i % SmallPhotos.size()]),
                           QStringLiteral("Photo %1").arg(i + 1));
    }
    QString dest(const QString& name = QStringLiteral("album")) const { return work.file(name); }
    QString page(const QString& file, const QString& folder = QStringLiteral("album")) const
    {
        return QString::fromUtf8(contents(dest(folder) + u'/' + file));
    }
    // Every picture a page names, with the size the page gives it.
    static QList<std::tuple<QString, int, int>> picturesOf(const QString& html)
    {
        static const QRegularExpression img(
            QString::fromLatin1(R"re(<img src="([^"]+)"[^>]*width="(\d+)" height="(\d+)")re"));
        QList<std::tuple<QString, int, int>> found;
        for (auto it = img.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            found << std::make_tuple(m.captured(1), m.captured(2).toInt(), m.captured(3).toInt());
        }
        return found;
    }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
    ProgressLog log;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Themes, GenerateTest,
                         ::testing::Values(HtmlAlbum::Mosaic, HtmlAlbum::Classic,
                                           HtmlAlbum::Slideshow),
                         [](const auto& info) { return std::to_string(info.param); });

TEST_P(GenerateTest, MakesPagesWithEveryPictureAtItsSize)
{
    ASSERT_TRUE(album.choose(GetParam()));
    addPhotos(6);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const QString html = page(QStringLiteral("index.html"));
    ASSERT_TRUE(html.startsWith(QLatin1String("<!doctype html>"), Qt::CaseInsensitive))
        << html.left(200).toStdString();
    EXPECT_TRUE(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
    const auto pictures = picturesOf(html);
    ASSERT_EQ(pictures.size(), 6);
    for (const auto& [url, width, height] : pictures) {
        const QSize size = QImageReader(dest() + u'/' + url).size();
        EXPECT_EQ(size, QSize(width, height)) << url.toStdString();
    }
    for (const QString& file : filesBelow(dest())) {
        EXPECT_FALSE(file.contains(QLatin1String(".tmp"))) << file.toStdString();
        if (file.endsWith(QLatin1String(".jpg"))) {
            EXPECT_TRUE(QImageReader(dest() + u'/' + file).canRead()) << file.toStdString();
        }
    }
    EXPECT_FALSE(html.contains(QLatin1String("http://")) ||
                 html.contains(QLatin1String("https://")))
        << "an album needs nothing from outside";
}

TEST_P(GenerateTest, AnAlbumWithoutPhotosStillHasAPage)
{
    ASSERT_TRUE(album.choose(GetParam()));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_TRUE(page(QStringLiteral("index.html")).contains(QLatin1String("no photos yet")));
    EXPECT_FALSE(QDir(dest() + QStringLiteral("/pictures")).exists());
    EXPECT_EQ(log.positions.back(), 100);
}

TEST_P(GenerateTest, AnAlbumOfOnePhoto)
{
    ASSERT_TRUE(album.choose(GetParam()));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Only one"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    QString all;
    for (const QString& file : filesBelow(dest()))
        if (file.endsWith(QLatin1String(".html")))
            all += page(file);
    EXPECT_TRUE(all.contains(QLatin1String("Only one")));
    EXPECT_TRUE(all.contains(QLatin1String("1 photo<")));
}

TEST_P(GenerateTest, TitlesAndDescriptionsAppearAsTyped)
{
    ASSERT_TRUE(album.choose(GetParam()));
    album.setText("Title", QStringLiteral("Ærø & <Friends> \"2024\""));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("<b>&\"'"),
                   QStringLiteral("Line one <script>alert(1)</script>\nZweite Zeile – 東京 😀"));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    QString all;
    for (const QString& file : filesBelow(dest()))
        if (file.endsWith(QLatin1String(".html")))
            all += page(file);
    EXPECT_FALSE(all.contains(QLatin1String("<b>&")));
    EXPECT_FALSE(all.contains(QLatin1String("<script>alert")));
    EXPECT_FALSE(all.contains(QLatin1String("<Friends>")));
    EXPECT_TRUE(all.contains(QLatin1String("&lt;b&gt;&amp;&quot;&#39;")));
    EXPECT_TRUE(all.contains(QStringLiteral("Ærø &amp; &lt;Friends&gt; &quot;2024&quot;")));
    // The picture is named by its description, on one line.
    EXPECT_TRUE(all.contains(QStringLiteral(
        "alt=\"Line one &lt;script&gt;alert(1)&lt;/script&gt; Zweite Zeile – 東京 😀\"")));
    EXPECT_TRUE(all.contains(
        QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;\nZweite Zeile – 東京 😀")))
        << "the line break is kept";
    EXPECT_STREQ(album.album().AlbumName().c_str(), "Ærø & <Friends> \"2024\"");
}

TEST_P(GenerateTest, ProgressComesAfterEveryPhotoFromTheCallingThread)
{
    ASSERT_TRUE(album.choose(GetParam()));
    addPhotos(5);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(log.texts.contains(QStringLiteral("Photo %1 of 5").arg(i))) << i;
    EXPECT_FALSE(log.otherThread);
    EXPECT_TRUE(std::is_sorted(log.positions.begin(), log.positions.end()));
    EXPECT_EQ(log.positions.back(), 100);
}

TEST_P(GenerateTest, ACancelStopsWithoutPagesOrHalfFiles)
{
    ASSERT_TRUE(album.choose(GetParam()));
    addPhotos(12);
    log.cancelAt = 50;
    ASSERT_EQ(album.generate(dest()), GV_CANCELLED);
    EXPECT_EQ(
        std::count_if(log.positions.begin(), log.positions.end(), [](int p) { return p >= 50; }), 1)
        << "nothing reported after the cancel";
    EXPECT_LT(log.positions.back(), 90);
    const QStringList files = filesBelow(dest());
    EXPECT_FALSE(files.contains(QStringLiteral("index.html")));
    for (const QString& file : files) {
        EXPECT_TRUE(file.startsWith(QLatin1String("pictures/"))) << file.toStdString();
        EXPECT_TRUE(QImageReader(dest() + u'/' + file).canRead()) << file.toStdString();
    }
    EXPECT_FALSE(album.album().IsGenerated());
}

TEST_P(GenerateTest, AnUnchangedAlbumComesOutTheSameByteForByte)
{
    ASSERT_TRUE(album.choose(GetParam()));
    addPhotos(4);
    ASSERT_EQ(album.generate(dest(QStringLiteral("one"))), GV_OK);
    ASSERT_EQ(album.generate(dest(QStringLiteral("two"))), GV_OK);
    const QStringList files = filesBelow(dest(QStringLiteral("one")));
    ASSERT_EQ(files, filesBelow(dest(QStringLiteral("two"))));
    for (const QString& file : files)
        EXPECT_EQ(contents(dest(QStringLiteral("one")) + u'/' + file),
                  contents(dest(QStringLiteral("two")) + u'/' + file))
            << file.toStdString();
}
