// SPDX-License-Identifier: GPL-2.0-or-later
// What the themes' photo viewers are given: the camera details of a photo as the album
// builder words its EXIF texts (and only when the album keeps camera data), and which index
// pages a phone's folded pager shows.
#include <gtest/gtest.h>

#include <QFile>
#include <QVariantMap>

#include "outputs/html/albumcontext.h"
#include "outputs/html/cameradetails.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

using Details = QList<std::pair<QString, QString>>;

Details detailsOf(const QString& photo)
{
    Details details;
    for (const QVariant& item : html::cameraDetails(photo)) {
        const QVariantMap entry = item.toMap();
        details << std::make_pair(entry.value("label").toString(), entry.value("value").toString());
    }
    return details;
}

QString textOf(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

// The sheet numbers nearSheets keeps, as "1 7 8 9 19".
QString shownSheets(int number, int count)
{
    const std::vector<bool> near = CAlbumContext::nearSheets(number, count);
    QStringList shown;
    for (int n = 1; n <= count; ++n)
        if (near[n])
            shown << QString::number(n);
    return shown.join(u' ');
}

} // namespace

TEST(CameraDetails, AreTheHostsExifTextsInTheirOrderWithUnits)
{
    const Details details = detailsOf(sharedPhoto("exs-Canon_40D.jpg"));
    ASSERT_EQ(details.size(), 6) << details.size();
    EXPECT_EQ(details[0], std::make_pair(QString("Camera"), QString("Canon EOS 40D")));
    EXPECT_EQ(details[1], std::make_pair(QString("Exposure"), QString("1/160 s")));
    EXPECT_EQ(details[2], std::make_pair(QString("Aperture"), QString("F/7.1")));
    EXPECT_EQ(details[3], std::make_pair(QString("ISO"), QString("100")));
    EXPECT_EQ(details[4], std::make_pair(QString("Focal length"), QString("135.0 mm")));
    EXPECT_EQ(details[5].first, "Date");
    EXPECT_TRUE(details[5].second.contains("2008")) << details[5].second.toStdString();
    EXPECT_TRUE(details[5].second.contains("15:56")) << details[5].second.toStdString();
}

TEST(CameraDetails, LeaveOutWhatThePhotoDoesNotRecord)
{
    // No ISO in this camera's EXIF: the row is missing rather than empty.
    const Details ixus = detailsOf(sharedPhoto("exs-canon-ixus.jpg"));
    for (const auto& [label, value] : ixus) {
        EXPECT_NE(label, "ISO");
        EXPECT_FALSE(value.isEmpty()) << label.toStdString();
    }
    EXPECT_EQ(ixus.value(0).second, "Canon DIGITAL IXUS");
    EXPECT_TRUE(detailsOf(sharedPhoto("mdi-24bpp-10x10.bmp")).isEmpty());
    EXPECT_TRUE(detailsOf(QStringLiteral("/nonexistent/photo.jpg")).isEmpty());
    TestFolder folder;
    EXPECT_TRUE(detailsOf(folder.write("broken.jpg", QByteArray("\xff\xd8\xff\xe1 not a photo")))
                    .isEmpty());
}

TEST(PagerOnPhones, KeepsFirstLastAndTheCurrentWithItsNeighbours)
{
    EXPECT_EQ(shownSheets(8, 19), "1 7 8 9 19");
    EXPECT_EQ(shownSheets(1, 19), "1 2 19");
    EXPECT_EQ(shownSheets(19, 19), "1 18 19");
    // A single page between two shown ones is shown instead of an ellipsis.
    EXPECT_EQ(shownSheets(4, 19), "1 2 3 4 5 19");
    EXPECT_EQ(shownSheets(16, 19), "1 15 16 17 18 19");
    EXPECT_EQ(shownSheets(1, 1), "1");
    EXPECT_EQ(shownSheets(2, 3), "1 2 3");
}

class ViewerValuesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(album.ready());
        album.addPhoto(sharedPhoto("exs-Canon_40D.jpg"), "With EXIF");
        album.addPhoto(sharedPhoto("exs-landscape_6.jpg"), "Without");
    }
    QString page(const QString& file) const { return textOf(work.file("album/" + file)); }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
};

TEST_F(ViewerValuesTest, CameraDetailsOnlyWhenTheAlbumKeepsCameraData)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    ASSERT_EQ(album.generate(work.file("album")), GV_OK);
    EXPECT_FALSE(page("index.html").contains("data-camera"));
    EXPECT_FALSE(page("index.html").contains("Canon EOS 40D"));

    album.setChoice("CameraData", "Keep (without location)");
    ASSERT_EQ(album.generate(work.file("album")), GV_OK);
    const QString html = page("index.html");
    EXPECT_EQ(html.count("data-camera="), 1); // the photo without EXIF has none
    EXPECT_TRUE(html.contains("Camera: Canon EOS 40D&#10;Exposure: 1/160 s&#10;"))
        << html.toStdString();
}

TEST_F(ViewerValuesTest, ClassicPhotoPagesShowTheDetailsAndIndexPagesKnowThePhotoPages)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.setChoice("CameraData", "Keep (without location)");
    ASSERT_EQ(album.generate(work.file("album")), GV_OK);
    EXPECT_TRUE(page("photo-1.html").contains("<dt>Camera</dt><dd>Canon EOS 40D</dd>"));
    EXPECT_FALSE(page("photo-2.html").contains("class=\"camera\""));
    EXPECT_TRUE(page("index.html").contains("data-photo-page=\"photo-{number}.html\""));
}
