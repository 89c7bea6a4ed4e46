// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include "images/exifreader.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "tests/support/testenv.h"

using imaging::Image;
using imaging::PropertyItem;

namespace {

PropertyItem textItem(uint32_t id, const QByteArray& text, uint16_t type = imaging::PropertyAscii)
{
    return {id, type, text};
}

PropertyItem rationalItem(uint32_t id, uint32_t numerator, uint32_t denominator,
                          uint16_t type = imaging::PropertyRational)
{
    QByteArray bytes(8, '\0');
    std::memcpy(bytes.data(), &numerator, 4);
    std::memcpy(bytes.data() + 4, &denominator, 4);
    return {id, type, bytes};
}

PropertyItem shortItem(uint32_t id, uint16_t value)
{
    return {id, imaging::PropertyShort, QByteArray(reinterpret_cast<const char*>(&value), 2)};
}

// A one-pixel image in memory that carries the given tags.
std::unique_ptr<Image> tagged(std::initializer_list<PropertyItem> items)
{
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::white);
    auto image = Image::fromQImage(pixel);
    for (const PropertyItem& item : items)
        image->setProperty(item);
    return image;
}

QJsonArray manifestFiles()
{
    QFile file(sharedTestData("photos/manifest.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value("files").toArray();
}

QString trimmed(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

TEST(ExifText, ControlCharactersAndLineBreaks)
{
    struct Case {
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {QByteArray("one\r\ntwo"), "one\r\ntwo"},
        {QByteArray("one\n\ntwo"), "one\r\ntwo"},
        {QByteArray("a\tb"), "a\r\nb"},
        {QByteArray("a\n\x01\nb", 5), "a\r\n\r\nb"}, // a dropped character ends the run
        {QByteArray("bell\x07\x1b!"), "bell!"},
        {QByteArray("caf\xe9", 4), "caf"},           // Latin-1 byte above 127 is dropped
        {QByteArray("trailing\0\0", 10), "trailing"},
        {QByteArray("  spaced  "), "  spaced  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exif::ExifTextFromBytes(c.bytes), QString::fromUtf8(c.expected)) << c.bytes.toHex().constData();
    EXPECT_EQ(exif::ExifTextFromBytes(QByteArray("Caf\xc3\xa9")), QString::fromUtf8("Café"));
}

TEST(ExifText, UserCommentCharacterCodes)
{
    auto image = tagged({textItem(exif::TagUserComment, QByteArray("ASCII\0\0\0Hello", 13),
                                  imaging::PropertyUndefined)});
    QString text;
    ASSERT_TRUE(exif::ReadExifText(*image, exif::TagUserComment, text));
    EXPECT_EQ(text, "Hello");

    image->setProperty(textItem(exif::TagUserComment, QByteArray("\0\0\0\0\0\0\0\0Plain", 13),
                                imaging::PropertyUndefined));
    ASSERT_TRUE(exif::ReadExifText(*image, exif::TagUserComment, text));
    EXPECT_EQ(text, "Plain");

    image->setProperty(textItem(exif::TagUserComment, QByteArray("UNICODE\0H\0i\0", 12),
                                imaging::PropertyUndefined));
    ASSERT_TRUE(exif::ReadExifText(*image, exif::TagUserComment, text));
    EXPECT_EQ(text, "Hi");

    image->setProperty(textItem(exif::TagUserComment, QByteArray("JIS\0\0\0\0\0xx", 10),
                                imaging::PropertyUndefined));
    EXPECT_FALSE(exif::ReadExifText(*image, exif::TagUserComment, text));
    image->setProperty(rationalItem(exif::TagImageDescription, 1, 2));
    EXPECT_FALSE(exif::ReadExifText(*image, exif::TagImageDescription, text));
    image->setProperty(textItem(exif::TagImageDescription, QByteArray()));
    EXPECT_FALSE(exif::ReadExifText(*image, exif::TagImageDescription, text));
    EXPECT_FALSE(exif::ReadExifText(*image, exif::TagModel, text));
}

TEST(ExifFields, NumbersAndTheirTexts)
{
    struct Case {
        PropertyItem item;
        QString (*format)(const Image&, bool&);
        const char* expected;
        bool found;
    } cases[] = {
        {rationalItem(exif::TagExposureTime, 1, 250), exif::FormatExifShutter, "1/250", true},
        {rationalItem(exif::TagExposureTime, 2, 1), exif::FormatExifShutter, "2", true},
        {rationalItem(exif::TagExposureTime, 1, 1), exif::FormatExifShutter, "1", true},
        {rationalItem(exif::TagExposureTime, 10, 1250), exif::FormatExifShutter, "1/125", true},
        {rationalItem(exif::TagExposureTime, 0, 1), exif::FormatExifShutter, "", false},
        {rationalItem(exif::TagShutterSpeedValue, 8, 1, imaging::PropertySRational),
         exif::FormatExifShutter, "1/256", true},
        {rationalItem(exif::TagFNumber, 28, 10), exif::FormatExifAperture, "F/2.8", true},
        {rationalItem(exif::TagFNumber, 28, 0), exif::FormatExifAperture, "", false},
        {rationalItem(exif::TagApertureValue, 4, 1), exif::FormatExifAperture, "F/4.0", true},
        {rationalItem(exif::TagFocalLength, 55, 1), exif::FormatExifFocalLength, "55.0", true},
        {rationalItem(exif::TagFocalLength, 55, 0), exif::FormatExifFocalLength, "", false},
        {shortItem(exif::TagFlash, 1), exif::FormatExifFlash, "Yes", true},
        {shortItem(exif::TagFlash, 0x19), exif::FormatExifFlash, "Yes", true},
        {shortItem(exif::TagFlash, 0x10), exif::FormatExifFlash, "No", true},
        {shortItem(exif::TagIsoSpeed, 400), exif::FormatExifIso, "400", true},
        {rationalItem(exif::TagIsoSpeed, 400, 1), exif::FormatExifIso, "", false},
    };
    for (const Case& c : cases) {
        auto image = tagged({c.item});
        bool found = false;
        EXPECT_EQ(c.format(*image, found), QString::fromLatin1(c.expected)) << c.item.id << " " << c.expected;
        EXPECT_EQ(found, c.found) << c.item.id << " " << c.expected;
    }
}

TEST(ExifFields, CameraDateAndTime)
{
    auto image = tagged({textItem(exif::TagMake, QByteArray("Canon   ", 9)),
                         textItem(exif::TagDateTimeOriginal, QByteArray("2005:07:14 18:03:59", 20)),
                         textItem(exif::TagDateTime, QByteArray("2010:01:01 00:00:00", 20))});
    bool found = false;
    EXPECT_EQ(exif::FormatExifCamera(*image, found), "Canon");
    EXPECT_TRUE(found);
    image->setProperty(textItem(exif::TagModel, QByteArray("EOS 40D", 8)));
    EXPECT_EQ(exif::FormatExifCamera(*image, found), "Canon EOS 40D");
    // The maker is said once when the model already starts with it, in any case; a model
    // that merely begins with the same letters keeps the maker.
    const struct {
        QByteArray model;
        const char* camera;
    } repeats[] = {
        {"Canon DIGITAL IXUS", "Canon DIGITAL IXUS"},
        {"CANON POWERSHOT", "CANON POWERSHOT"},
        {"Canon", "Canon"},
        {"Canon-1", "Canon-1"},
        {"Canonet QL17", "Canon Canonet QL17"},
    };
    for (const auto& r : repeats) {
        image->setProperty(textItem(exif::TagModel, r.model + '\0'));
        EXPECT_EQ(exif::FormatExifCamera(*image, found), r.camera) << r.model.constData();
    }

    found = false;
    EXPECT_EQ(exif::FormatExifDate(*image, found),
              QLocale::system().toString(QDate(2005, 7, 14), QLocale::LongFormat));
    EXPECT_TRUE(found);
    const QString time = exif::FormatExifTime(*image, found);
    EXPECT_TRUE(time.contains("03")) << qPrintable(time);
    EXPECT_TRUE(time.contains("59")) << qPrintable(time);

    auto broken = tagged({textItem(exif::TagDateTimeOriginal, QByteArray("yesterday", 10))});
    found = false;
    EXPECT_EQ(exif::FormatExifDate(*broken, found), "");
    EXPECT_FALSE(found);
    auto none = tagged({});
    EXPECT_EQ(exif::FormatExifCamera(*none, found), "");
    EXPECT_FALSE(found);
}

TEST(ExifDescription, PlaceholderDuplicatesAndBlankLines)
{
    struct Case {
        QByteArray description;
        QByteArray comment;
        const char* expected;
        bool found;
    } cases[] = {
        {"OLYMPUS DIGITAL CAMERA         ", "", "", false},
        {"Harbour", "Harbour", "Harbour", true},
        {"Harbour", "at dawn", "Harbour\r\nat dawn", true},
        {"", "at dawn", "at dawn", true},
        {"OLYMPUS DIGITAL CAMERA", "at dawn", "at dawn", true},
    };
    for (const Case& c : cases) {
        auto image = tagged({textItem(exif::TagImageDescription, c.description),
                             textItem(exif::TagUserComment, "ASCII\0\0\0" + c.comment,
                                      imaging::PropertyUndefined)});
        bool found = false;
        EXPECT_EQ(exif::BuildExifDescription(*image, found, 0), QString::fromLatin1(c.expected));
        EXPECT_EQ(found, c.found) << c.description.constData();
    }
    auto image = tagged({textItem(exif::TagImageDescription, "Pier")});
    bool found = false;
    EXPECT_EQ(exif::BuildExifDescription(*image, found, 2), "Pier\r\n\r\n");
}

TEST(ExifDescription, SettingGivesTheBlankLines)
{
    SettingsSandbox sandbox;
    Settings().writeInt("Settings", "NumberOfBlankLinesForComment", 1);
    auto image = tagged({textItem(exif::TagImageDescription, "Pier")});
    bool found = false;
    EXPECT_EQ(exif::BuildExifDescription(*image, found), "Pier\r\n");
}

// Every text the reader makes from the real camera files agrees with what the manifest
// says the files hold.
TEST(ExifRealFiles, AgreeWithTheManifest)
{
    const QJsonArray files = manifestFiles();
    ASSERT_FALSE(files.isEmpty());
    int checked = 0;
    for (const QJsonValue& entry : files) {
        const QJsonObject file = entry.toObject();
        const QString name = file.value("file").toString();
        auto image = Image::open(sharedTestData("photos/" + name));
        if (!image)
            continue;
        const QJsonObject tags = file.value("exif").toObject().value("tags").toObject();
        const QJsonObject make = tags.value("Make").toObject();
        const QJsonObject model = tags.value("Model").toObject();
        bool found = false;
        const QString camera = exif::FormatExifCamera(*image, found);
        if (make.value("present").toBool() && model.value("present").toBool()) {
            const QString maker = trimmed(make.value("exiftool_print").toString());
            const QString body = trimmed(model.value("exiftool_print").toString());
            EXPECT_EQ(camera,
                      body.startsWith(maker, Qt::CaseInsensitive) ? body : maker + " " + body)
                << qPrintable(name);
            ++checked;
        }
        const QJsonObject exposure = tags.value("ExposureTime").toObject();
        const QJsonObject speed = tags.value("ShutterSpeedValue").toObject();
        found = false;
        const QString shutter = exif::FormatExifShutter(*image, found);
        if (exposure.value("present").toBool()) {
            const double t = exposure.value("exiftool_n").toDouble();
            if (t > 0) {
                EXPECT_EQ(shutter, t >= 1 ? QString::asprintf("%.0f", t)
                                          : QString::asprintf("1/%.0f", 1 / t)) << qPrintable(name);
            }
        } else if (speed.value("present").toBool()) {
            EXPECT_TRUE(found) << qPrintable(name);
            const double t = speed.value("seconds_from_apex").toDouble();
            if (t > 0 && t < 1) {
                EXPECT_EQ(shutter, QString::asprintf("1/%.0f", 1 / t)) << qPrintable(name);
            }
        }
        const QJsonObject fnumber = tags.value("FNumber").toObject();
        found = false;
        const QString aperture = exif::FormatExifAperture(*image, found);
        if (fnumber.value("present").toBool() && fnumber.value("exiftool_n").toDouble() > 0) {
            EXPECT_EQ(aperture, QString::asprintf("F/%.1f", fnumber.value("exiftool_n").toDouble()))
                << qPrintable(name);
        }
        const QJsonObject iso = tags.value("ISOSpeedRatings").toObject();
        found = false;
        const QString isoText = exif::FormatExifIso(*image, found);
        if (iso.value("present").toBool() && iso.value("raw_type").toString() == "SHORT") {
            EXPECT_EQ(isoText, QString::number(iso.value("exiftool_n").toInt())) << qPrintable(name);
        }
    }
    EXPECT_GT(checked, 20);
}

// Descriptions and user comments, in every character code the files use.
TEST(ExifRealFiles, DescriptionsAgreeWithTheManifest)
{
    int checked = 0;
    for (const QJsonValue& entry : manifestFiles()) {
        const QJsonObject file = entry.toObject();
        const QString name = file.value("file").toString();
        auto image = Image::open(sharedTestData("photos/" + name));
        if (!image)
            continue;
        const QJsonObject tags = file.value("exif").toObject().value("tags").toObject();
        for (const char* tag : {"ImageDescription", "UserComment"}) {
            const QJsonObject expected = tags.value(tag).toObject();
            if (!expected.value("present").toBool())
                continue;
            QString text;
            exif::ReadExifText(*image, QString(tag) == "UserComment" ? exif::TagUserComment
                                                                    : exif::TagImageDescription,
                               text);
            QString wanted = trimmed(expected.value("exiftool_print").toString());
            wanted.replace("\r\n", "\n").replace("\n", "\r\n");
            EXPECT_EQ(trimmed(text), wanted) << qPrintable(name) << " " << tag;
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
}

// Replays damaged inputs: arbitrary bytes as text values, and a real photo whose EXIF segment
// is damaged byte by byte. Nothing may crash, and texts never carry control characters.
TEST(ExifRobustness, DamagedValuesAndFiles)
{
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    auto image = tagged({});
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(static_cast<int>(next() % 64), '\0');
        for (char& c : bytes)
            c = static_cast<char>(next() >> 16);
        if (round % 3 == 0)
            bytes.prepend(round % 2 ? QByteArray("UNICODE\0", 8) : QByteArray("ASCII\0\0\0", 8));
        const uint16_t type = round % 2 ? imaging::PropertyUndefined : imaging::PropertyAscii;
        image->setProperty({exif::TagUserComment, type, bytes});
        QString text;
        exif::ReadExifText(*image, exif::TagUserComment, text);
        for (QChar c : text)
            ASSERT_TRUE(c.unicode() >= 28 || c == u'\r' || c == u'\n');
    }

    QFile original(sharedTestData("photos/exs-canon-ixus.jpg"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray photo = original.readAll();
    TestFolder folder;
    for (int at = 4; at < 600; at += 7) {
        QByteArray damaged = photo;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        const QString path = folder.write(QStringLiteral("d%1.jpg").arg(at), damaged);
        if (auto opened = Image::open(path)) {
            bool found = false;
            exif::BuildExifDescription(*opened, found, 0);
            exif::FormatExifDate(*opened, found);
            exif::FormatExifShutter(*opened, found);
            exif::FormatExifCamera(*opened, found);
        }
    }
}
