// SPDX-License-Identifier: GPL-2.0-or-later
// The words of a generated album and the colours of its text: titles without the file's
// extension, pictures named by their description or title, the page language from the
// locale, the album's description, and a user's accent made readable on every background.
#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include "outputs/html/albumcontext.h"
#include "outputs/html/pagetemplate.h"
#include "outputs/html/textcontrast.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

using namespace html;

namespace
{

QColor colour(const char* hex)
{
    return QColor::fromString(QLatin1String(hex));
}

QString rendered(const QString& text, const QVariantMap& context)
{
    QString fault;
    const auto page = CPageTemplate::parse(
        QStringLiteral("page.html"), text, [](const QString&) { return std::nullopt; }, &fault);
    if (!page)
        return QStringLiteral("<fault: %1>").arg(fault);
    return page->render(context).value_or(QStringLiteral("<over budget>"));
}

// Sets the locale the album's pages take their language from, for one test.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_before); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale m_before;
};

} // namespace

TEST(TextContrast, MeasuresAsTheGuidelinesDo)
{
    EXPECT_NEAR(contrastRatio(colour("#000000"), colour("#ffffff")), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(colour("#ffffff"), colour("#000000")), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(colour("#9a5b2e"), colour("#9a5b2e")), 1.0, 1e-9);
    // Known pairs: the lightest grey that passes on white, and the one just lighter.
    EXPECT_NEAR(contrastRatio(colour("#767676"), colour("#ffffff")), 4.54, 0.01);
    EXPECT_NEAR(contrastRatio(colour("#777777"), colour("#ffffff")), 4.48, 0.01);
    // Classic's link colour on its Charcoal paper, as it was.
    EXPECT_NEAR(contrastRatio(colour("#9a5b2e"), colour("#23201d")), 3.02, 0.01);
}

TEST(TextContrast, KeepsAReadableColourAndMendsOthersJustEnough)
{
    EXPECT_EQ(readableOn(colour("#9a5b2e"), colour("#f6f1e7")), colour("#9a5b2e"));
    EXPECT_EQ(readableOn(colour("#e8b04b"), colour("#0f0f10")), colour("#e8b04b"));
    const struct {
        const char* text;
        const char* background;
    } cases[] = {
        {"#9a5b2e", "#23201d"}, // a brown link on dark paper: lighter
        {"#f5d76e", "#ffffff"}, // a pale yellow on white: darker
        {"#1f3a93", "#0f0f10"}, // a navy on black: lighter
        {"#e8b04b", "#faf9f7"}, // gold on a light page
        {"#ffffff", "#f5d76e"}, // white words on a pale accent
        {"#777777", "#767676"}, // grey on the grey where black and white are nearly even
        {"#ff0000", "#ff0000"}, // the background's own colour
    };
    for (const auto& c : cases) {
        const QColor text = colour(c.text);
        const QColor background = colour(c.background);
        const QColor mended = readableOn(text, background);
        EXPECT_GE(contrastRatio(mended, background), 4.5) << c.text << " on " << c.background;
        // Just enough: a step back towards the chosen colour would fall short, so as much
        // of the user's colour as can be stays.
        const QColor halfway((mended.red() * 15 + text.red()) / 16,
                             (mended.green() * 15 + text.green()) / 16,
                             (mended.blue() * 15 + text.blue()) / 16);
        EXPECT_LT(contrastRatio(halfway, background), 4.6) << c.text << " on " << c.background;
    }
    // Darker on light backgrounds, lighter on dark ones.
    EXPECT_LT(readableOn(colour("#f5d76e"), colour("#ffffff")).lightness(),
              colour("#f5d76e").lightness());
    EXPECT_GT(readableOn(colour("#1f3a93"), colour("#0f0f10")).lightness(),
              colour("#1f3a93").lightness());
    // A stricter bar is met too.
    EXPECT_GE(
        contrastRatio(readableOn(colour("#808080"), colour("#ffffff"), 7.0), colour("#ffffff")),
        7.0);
}

TEST(TextContrast, ReadsOnlyHexColours)
{
    EXPECT_EQ(parseHexColour(QStringLiteral("#aabbcc")), colour("#aabbcc"));
    EXPECT_EQ(parseHexColour(QStringLiteral("#ABC")), colour("#aabbcc"));
    EXPECT_EQ(parseHexColour(QStringLiteral(" #00ff00 ")), colour("#00ff00"));
    for (const char* text : {"", "red", "#12345g", "#1234", "aabbcc", "#aabbccdd", "#fff;}"})
        EXPECT_FALSE(parseHexColour(QString::fromLatin1(text))) << text;
}

TEST(TextContrast, PagesAskForAReadableColourThroughAFilter)
{
    const QVariantMap context{{"accent", "#f5d76e"}, {"paper", "#ffffff"}, {"odd", "red"}};
    const QString mended = rendered(QStringLiteral("{{ accent | readable(paper) }}"), context);
    ASSERT_TRUE(parseHexColour(mended)) << mended.toStdString();
    EXPECT_GE(contrastRatio(*parseHexColour(mended), colour("#ffffff")), 4.5);
    EXPECT_EQ(rendered(QStringLiteral("{{ \"#9a5b2e\" | readable(\"#f6f1e7\") }}"), context),
              QStringLiteral("#9a5b2e"));
    // What is no colour passes unchanged, and still escaped.
    EXPECT_EQ(rendered(QStringLiteral("{{ odd | readable(paper) }}"), context),
              QStringLiteral("red"));
    EXPECT_EQ(rendered(QStringLiteral("{{ \"<b>\" | readable(paper) }}"), context),
              QStringLiteral("&lt;b&gt;"));
    EXPECT_EQ(rendered(QStringLiteral("{{ accent | readable(odd) }}"), context),
              QStringLiteral("#f5d76e"));
}

TEST(TextContrast, UrlsInStyleAttributesCannotBreakOut)
{
    const QVariantMap context{{"tiny", "data:image/png;base64,iVBO+/="}, {"odd", "a'b\")<x>&y\\z"}};
    EXPECT_EQ(rendered(QStringLiteral("{{ tiny | cssurl }}"), context),
              QStringLiteral("url('data:image/png\\3b base64,iVBO+/=')"));
    const QString odd = rendered(QStringLiteral("<p style=\"--i:{{ odd | cssurl }}\">"), context);
    EXPECT_EQ(odd,
              QStringLiteral("<p style=\"--i:url('a\\27 b\\22 \\29 \\3c x\\3e \\26 y\\5c z')\">"));
    for (const QChar c : {u'"', u'&', u'<', u';'})
        EXPECT_EQ(odd.count(c), c == u'"' ? 2 : c == u'<' ? 1 : 0) << QString(c).toStdString();
}

TEST(AlbumWords, TitlesLoseOnlyTheExtensionOfTheirOwnFileName)
{
    const struct {
        const char* title;
        const char* path;
        const char* shown;
    } cases[] = {
        {"IMG_0042.JPG", "/photos/IMG_0042.JPG", "IMG_0042"},
        {"beach.day.jpg", "/photos/beach.day.jpg", "beach.day"},
        {"scan.heic", "/p/scan.heic", "scan"},
        // Typed by the user: kept as typed, even with an extension in it.
        {"sunset.jpg", "/photos/IMG_0042.jpg", "sunset.jpg"},
        {"IMG_0042", "/photos/IMG_0042.jpg", "IMG_0042"},
        {"Harbour at noon", "/photos/a.jpg", "Harbour at noon"},
        {"img_0042.jpg", "/photos/IMG_0042.jpg", "img_0042.jpg"},
        // Nothing before the dot, no extension, no path: nothing to take away.
        {".jpg", "/photos/.jpg", ".jpg"},
        {"README", "/photos/README", "README"},
        {"a.jpg", "", "a.jpg"},
        {"", "/photos/a.jpg", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CAlbumContext::shownTitle(QString::fromUtf8(c.title), QString::fromUtf8(c.path)),
                  QString::fromUtf8(c.shown))
            << c.title << " at " << c.path;
}

TEST(AlbumWords, PicturesAreNamedByDescriptionThenTitle)
{
    EXPECT_EQ(CAlbumContext::altText(QStringLiteral("Boats waiting\r\nfor the  tide. "),
                                     QStringLiteral("Harbour"), 1),
              QStringLiteral("Boats waiting for the tide."));
    EXPECT_EQ(CAlbumContext::altText(QStringLiteral(" \r\n "), QStringLiteral("Harbour"), 1),
              QStringLiteral("Harbour"));
    EXPECT_EQ(CAlbumContext::altText(QString(), QStringLiteral("IMG_0042"), 2),
              QStringLiteral("IMG_0042"));
    EXPECT_EQ(CAlbumContext::altText(QString(), QStringLiteral("  "), 3),
              QStringLiteral("Photo 3"));
}

TEST(AlbumWords, PagesSpeakTheLanguageOfTheLocale)
{
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale(QLocale::German, QLocale::Germany)), "de");
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale(QLocale::English, QLocale::UnitedStates)), "en");
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale(QLocale::Portuguese, QLocale::Brazil)), "pt");
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale(QLocale::Japanese)), "ja");
    // Languages without a two-letter code keep their three letters.
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale(QLocale::Hawaiian)), "haw");
    // The C locale of a bare system names no language: the pages' own words are English.
    EXPECT_EQ(CAlbumContext::pageLanguage(QLocale::c()), "en");
}

TEST(AlbumWords, TheAlbumDescriptionComesFromItsParameter)
{
    EXPECT_EQ(CAlbumContext::albumDescription({{"Title", "Trip"}}), QString());
    EXPECT_EQ(CAlbumContext::albumDescription(
                  {{"Title", "Trip"}, {"description", " A week\r\nby the  sea "}}),
              QStringLiteral("A week by the sea"));
    EXPECT_EQ(CAlbumContext::albumDescription({{"Description", "   "}}), QString());
}

TEST(AlbumWords, TheContextCarriesTheWords)
{
    Theme theme;
    theme.startPage = QStringLiteral("index.html");
    theme.pages = {{PageSpec::Each::Album, "index.html", "index.html", "index.html", ""}};
    const auto photo = [](int index, const char* title, const char* description, size_t made) {
        AlbumPhoto value;
        value.index = index;
        value.title = QString::fromUtf8(title);
        value.description = QString::fromUtf8(description);
        value.pictures = made;
        return value;
    };
    std::vector<AlbumPhoto> photos = {photo(0, "IMG_1.jpg", "", 0),
                                      photo(1, "Typed.jpg", "Two\nlines", 1), photo(2, "", "", 0)};
    std::vector<PhotoPictures> pictures(2);
    pictures[0].source = QStringLiteral("/photos/IMG_1.jpg");
    pictures[1].source = QStringLiteral("/photos/IMG_2.jpg");
    const std::vector<QString> names;
    const DefaultLocale german(QLocale(QLocale::German, QLocale::Austria));
    const CAlbumContext context(theme, QStringLiteral("Trip"), {{"Description", "By the sea"}},
                                photos, pictures, names, 0);
    const QVariantMap album = context.page(theme.pages[0], 1).value("album").toMap();
    EXPECT_EQ(album.value("lang").toString(), "de");
    EXPECT_EQ(album.value("description").toString(), "By the sea");
    const QVariantList values = album.value("photos").toList();
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(values[0].toMap().value("title").toString(), "IMG_1");
    EXPECT_EQ(values[0].toMap().value("alt").toString(), "IMG_1");
    EXPECT_EQ(values[1].toMap().value("title").toString(), "Typed.jpg");
    EXPECT_EQ(values[1].toMap().value("alt").toString(), "Two lines");
    EXPECT_EQ(values[1].toMap().value("description").toString(), "Two\nlines");
    EXPECT_EQ(values[2].toMap().value("title").toString(), "");
    EXPECT_EQ(values[2].toMap().value("alt").toString(), "Photo 3");
}

namespace
{

class WordsTest : public ::testing::TestWithParam<int>
{
protected:
    QString generated(const std::function<void()>& tune = {})
    {
        EXPECT_TRUE(album.ready());
        EXPECT_TRUE(album.choose(GetParam()));
        if (tune)
            tune();
        // As the image list page adds a photo: its file name is its title.
        album.addPhoto(sharedPhoto(QStringLiteral("exs-nikon-e950.jpg")),
                       QStringLiteral("exs-nikon-e950.jpg"));
        album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")), QStringLiteral("Harbour"),
                       QStringLiteral("Boats\r\nat noon"));
        album.addPhoto(sharedPhoto(QStringLiteral("exs-canon-ixus.jpg")),
                       QStringLiteral("typed.jpg"));
        EXPECT_EQ(album.generate(work.file("album")), GV_OK);
        QString all;
        for (const QString& name : QDir(work.file("album")).entryList({"*.html"})) {
            QFile file(work.file("album/" + name));
            if (file.open(QIODevice::ReadOnly))
                all += QString::fromUtf8(file.readAll());
        }
        return all;
    }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Themes, WordsTest,
                         ::testing::Values(HtmlAlbum::Mosaic, HtmlAlbum::Classic,
                                           HtmlAlbum::Slideshow),
                         [](const auto& info) { return std::to_string(info.param); });

TEST_P(WordsTest, PagesShowNoFileNamesAndNamePicturesByTheirWords)
{
    const DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    const QString all = generated();
    ASSERT_FALSE(all.isEmpty());
    EXPECT_FALSE(all.contains(QLatin1String("exs-nikon-e950.jpg"))) << "the default title";
    EXPECT_TRUE(all.contains(QLatin1String("alt=\"exs-nikon-e950\"")));
    EXPECT_TRUE(all.contains(QLatin1String("alt=\"Boats at noon\"")));
    EXPECT_TRUE(all.contains(QLatin1String("typed.jpg"))) << "a title the user typed";
    EXPECT_TRUE(all.contains(QLatin1String("<html lang=\"de\"")));
    EXPECT_TRUE(all.contains(QLatin1String("<meta property=\"og:title\"")));
    // The shipped themes have no album description: no empty description tag.
    EXPECT_FALSE(all.contains(QLatin1String("<meta name=\"description\" content=\"\"")));
    EXPECT_FALSE(all.contains(QLatin1String("og:description\" content=\"\"")));
    // No picture without its source in the page as written.
    static const QRegularExpression sourceless(QStringLiteral("<img(?![^>]*\\ssrc=)[^>]*>"));
    EXPECT_FALSE(sourceless.match(all).hasMatch())
        << sourceless.match(all).captured().toStdString();
    static const QRegularExpression emptyHeading(QStringLiteral("<h([1-6])[^>]*>\\s*</h\\1>"));
    EXPECT_FALSE(emptyHeading.match(all).hasMatch());
}

TEST_P(WordsTest, AUsersAccentBecomesAReadableTextColour)
{
    if (GetParam() == HtmlAlbum::Slideshow)
        GTEST_SKIP() << "the show has no accent colour";
    // A pale yellow: nearly invisible as text on the light papers.
    const QString all = generated([this] { album.setNumber("Accent", 0x6ed7f5); });
    static const QRegularExpression link(QStringLiteral("--link: (#[0-9a-f]{6})"));
    const auto found = link.match(all);
    ASSERT_TRUE(found.hasMatch());
    const QColor text = *parseHexColour(found.captured(1));
    EXPECT_GE(contrastRatio(text, GetParam() == HtmlAlbum::Classic ? colour("#f6f1e7")
                                                                   : colour("#0f0f10")),
              4.5);
    EXPECT_TRUE(all.contains(QLatin1String("--accent: #f5d76e")));
}
