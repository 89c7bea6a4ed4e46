// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli info on the real camera files of the shared test data, held against the true
// values of their manifest.
#include <gtest/gtest.h>

#include <optional>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

#include "images/imageadder.h"
#include "tests/cli/clirun.h"

namespace
{

QJsonArray manifestFiles()
{
    QFile file(sharedTestData("photos/manifest.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value("files").toArray();
}

QJsonObject tag(const QJsonObject& entry, const char* name)
{
    const QJsonObject found = entry["exif"]["tags"][name].toObject();
    return found["present"].toBool() ? found : QJsonObject();
}

QString trimmedRight(QString text)
{
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\0'))
        text.chop(1);
    return text;
}

QString expectedCamera(const QJsonObject& entry)
{
    const QString make = trimmedRight(tag(entry, "Make")["raw_value"].toString());
    const QString model = trimmedRight(tag(entry, "Model")["raw_value"].toString());
    // The maker is said once when the model starts with it.
    if (!make.isEmpty() && model.startsWith(make, Qt::CaseInsensitive))
        return model;
    return make.isEmpty() || model.isEmpty() ? make + model : make + " " + model;
}

QString expectedDate(const QJsonObject& entry)
{
    QJsonObject when = tag(entry, "DateTimeOriginal");
    if (when.isEmpty())
        when = tag(entry, "DateTime");
    const QString text = when["raw_value"].toString();
    const QDate date(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    return date.isValid() ? QLocale::system().toString(date, QLocale::LongFormat) : QString();
}

// The first rational of a tag, or nothing.
std::optional<std::pair<double, double>> rational(const QJsonObject& item)
{
    const QJsonArray pair = item["raw_value"].toArray().first().toArray();
    if (item.isEmpty() || pair.size() != 2)
        return std::nullopt;
    return std::make_pair(pair[0].toDouble(), pair[1].toDouble());
}

QString exposureText(double seconds)
{
    return seconds >= 1.0 ? QString::asprintf("%.0f", seconds)
                          : QString::asprintf("1/%.0f", 1.0 / seconds);
}

QString expectedShutter(const QJsonObject& entry)
{
    if (const auto time = rational(tag(entry, "ExposureTime")))
        return time->first == 0 || time->second == 0 ? QString()
                                                     : exposureText(time->first / time->second);
    const QJsonObject apex = tag(entry, "ShutterSpeedValue");
    return apex.isEmpty() ? QString() : exposureText(apex["seconds_from_apex"].toDouble());
}

QString expectedAperture(const QJsonObject& entry)
{
    if (const auto number = rational(tag(entry, "FNumber")))
        return number->second == 0 ? QString()
                                   : QString::asprintf("F/%.1f", number->first / number->second);
    const QJsonObject apex = tag(entry, "ApertureValue");
    return apex.isEmpty() ? QString()
                          : QString::asprintf("F/%.1f", apex["fnumber_from_apex"].toDouble());
}

QString expectedIso(const QJsonObject& entry)
{
    const QJsonObject iso = tag(entry, "ISOSpeedRatings");
    if (iso.isEmpty() || iso["raw_type"].toString() != "SHORT")
        return QString();
    return QString::number(iso["raw_value"].toArray().first().toInt());
}

// The IPTC datasets of the first block the reader finds (JPEG APP13 before the picture).
QJsonArray iptcDatasets(const QJsonObject& entry)
{
    const QJsonObject iptc = entry["iptc"].toObject();
    const QJsonObject block = iptc["blocks"].toArray().first().toObject();
    if (entry["format"].toString() != "JPEG" || !iptc["present"].toBool() ||
        !block["location"].toString().contains("APP13"))
        return {};
    return block["datasets_of_interest_in_file_order"].toArray();
}

QString expectedCaption(const QJsonObject& entry)
{
    QString caption; // a dataset that comes again replaces the one before
    for (const QJsonValue& dataset : iptcDatasets(entry))
        if (dataset["tag"].toString() == "2:120")
            caption = dataset["text_utf8_if_valid_else_latin1"].toString();
    return caption;
}

QJsonArray expectedKeywords(const QJsonObject& entry)
{
    QJsonArray keywords;
    for (const QJsonValue& dataset : iptcDatasets(entry))
        if (dataset["tag"].toString() == "2:25")
            keywords.append(dataset["text_utf8_if_valid_else_latin1"].toString());
    return keywords;
}

QSet<QString> keysOf(const QJsonObject& object)
{
    const QStringList keys = object.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

TEST(GallivexCliInfo, JsonMatchesTheManifestOfRealPhotos)
{
    const QJsonArray manifest = manifestFiles();
    ASSERT_FALSE(manifest.isEmpty());
    QStringList paths;
    for (const QJsonValue& entry : manifest)
        paths << QDir::cleanPath(sharedTestData("photos/" + entry["file"].toString()));
    CliHome home;
    const CliResult run = home.run("gallivex-cli", QStringList{"info", "--json"} + paths);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray infos = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(infos.size(), manifest.size());
    const QSet<QString> topKeys{"path", "title", "description", "exif", "iptc"};
    const QSet<QString> exifKeys{"date",  "time",     "camera", "focal_length", "shutter",
                                 "flash", "aperture", "iso",    "description"};
    const QSet<QString> iptcKeys{"caption", "object_name", "keywords", "by_line",
                                 "city",    "country",     "headline", "credit",
                                 "source",  "copyright",   "writer"};
    for (qsizetype i = 0; i < manifest.size(); ++i) {
        const QJsonObject entry = manifest[i].toObject();
        const QJsonObject info = infos[i].toObject();
        const QJsonObject exif = info["exif"].toObject();
        const QJsonObject iptc = info["iptc"].toObject();
        SCOPED_TRACE(entry["file"].toString().toStdString());
        EXPECT_EQ(keysOf(info), topKeys);
        EXPECT_EQ(keysOf(exif), exifKeys);
        EXPECT_EQ(keysOf(iptc), iptcKeys);
        EXPECT_EQ(info["path"].toString(), paths[i]);
        EXPECT_EQ(info["title"].toString(), entry["file"].toString());
        EXPECT_EQ(info["description"].toString(),
                  CImageAdder::Describe(paths[i], CImageAdder::Options()).description);
        EXPECT_EQ(exif["camera"].toString(), expectedCamera(entry));
        EXPECT_EQ(exif["date"].toString(), expectedDate(entry));
        EXPECT_EQ(exif["shutter"].toString(), expectedShutter(entry));
        EXPECT_EQ(exif["aperture"].toString(), expectedAperture(entry));
        EXPECT_EQ(exif["iso"].toString(), expectedIso(entry));
        EXPECT_EQ(iptc["caption"].toString(), expectedCaption(entry));
        EXPECT_EQ(iptc["keywords"].toArray(), expectedKeywords(entry));
    }
}

TEST(GallivexCliInfo, KnownPhotosInDetail)
{
    CliHome home;
    const CliResult run =
        home.run("gallivex-cli", {"info", "--json", sharedTestData("photos/et-IPTC.jpg"),
                                  sharedTestData("photos/exs-Canon_40D.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray infos = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(infos.size(), 2);
    const QJsonObject iptc = infos[0]["iptc"].toObject();
    EXPECT_EQ(infos[0]["description"].toString(), QString("A witty caption"));
    EXPECT_EQ(iptc["caption"].toString(), QString("A witty caption"));
    EXPECT_EQ(iptc["writer"].toString(), QString("I wrote it"));
    EXPECT_EQ(iptc["by_line"].toString(), QString("Phil Harvey"));
    EXPECT_EQ(iptc["headline"].toString(), QString("No headline"));
    const QJsonObject exif = infos[1]["exif"].toObject();
    EXPECT_EQ(exif["camera"].toString(), QString("Canon EOS 40D"));
    EXPECT_EQ(exif["shutter"].toString(), QString("1/160"));
    EXPECT_EQ(exif["aperture"].toString(), QString("F/7.1"));
    EXPECT_EQ(exif["iso"].toString(), QString("100"));
    EXPECT_EQ(exif["date"].toString(),
              QLocale::system().toString(QDate(2008, 5, 30), QLocale::LongFormat));
    EXPECT_FALSE(exif["time"].toString().isEmpty());
    EXPECT_EQ(infos[1]["iptc"]["keywords"].toArray(), QJsonArray());
}

TEST(GallivexCliInfo, TextForPeopleAndFailures)
{
    CliHome home;
    TestFolder folder;
    const QString broken = folder.write("broken.jpg", "no pixels");
    const QString canon = sharedTestData("photos/exs-Canon_40D.jpg");
    const CliResult text = home.run("gallivex-cli", {"info", canon});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("  Title: exs-Canon_40D.jpg\n"));
    EXPECT_TRUE(text.out.contains("  Camera: Canon EOS 40D\n"));
    EXPECT_TRUE(text.out.contains("  Shutter: 1/160\n"));

    const CliResult mixed =
        home.run("gallivex-cli", {"info", "--json", folder.file("gone.jpg"), broken, canon});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_TRUE(mixed.err.contains("no such photo: \"" + folder.file("gone.jpg") + "\""));
    EXPECT_TRUE(mixed.err.contains("\"" + broken + "\" cannot be read as an image"));
    const QJsonArray infos = QJsonDocument::fromJson(mixed.out.toUtf8()).array();
    ASSERT_EQ(infos.size(), 1);
    EXPECT_EQ(infos[0]["title"].toString(), QString("exs-Canon_40D.jpg"));
    const CliResult none = home.run("gallivex-cli", {"info"});
    EXPECT_EQ(none.exitCode, 2);
}

} // namespace
