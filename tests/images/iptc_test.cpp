// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "images/iptc.h"
#include "tests/support/testenv.h"

namespace {

// Small builders for the JPEG files the tests make.
QByteArray be16(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

QByteArray be32(int value)
{
    return be16(value >> 16) + be16(value & 0xFFFF);
}

QByteArray dataset(int record, int number, const QByteArray& value)
{
    return QByteArray(1, '\x1C') + char(record) + char(number) + be16(int(value.size())) + value;
}

QByteArray caption(const QByteArray& text)
{
    return dataset(2, CIPTC::Caption, text);
}

// "8BIM", id, Pascal name padded to even, data size, data padded to even.
QByteArray resource(int id, const QByteArray& data, const QByteArray& name = {},
                    const QByteArray& signature = "8BIM")
{
    QByteArray pascal = char(name.size()) + name;
    if (pascal.size() % 2)
        pascal += '\0';
    QByteArray out = signature + be16(id) + pascal + be32(int(data.size())) + data;
    return data.size() % 2 ? out + '\0' : out;
}

QByteArray segment(int marker, const QByteArray& payload)
{
    return QByteArray(1, '\xFF') + char(marker) + be16(int(payload.size()) + 2) + payload;
}

QByteArray photoshop(const QByteArray& resources)
{
    return segment(0xED, QByteArray("Photoshop 3.0", 14) + resources);
}

const QByteArray Soi("\xFF\xD8", 2);
const QByteArray Jfif = segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14));
const QByteArray Exif =
    segment(0xE1, QByteArray("Exif\0\0MM\0*\0\0\0\x08\0\x01", 16) + QByteArray(24, '\x11'));
const QByteArray ScanAndEnd = segment(0xDA, QByteArray("\x01\x01\0\0\x3F\0", 6)) +
                              QByteArray("\x12\xFF\0\x34\xFF\xD0\x56\xFF\xD9", 9);

QByteArray jpeg(const QByteArray& segments)
{
    return Soi + segments + ScanAndEnd;
}

QByteArray iptcJpeg(const QByteArray& datasets)
{
    return jpeg(Jfif + photoshop(resource(0x0404, datasets)));
}

// Reads a copy that ends exactly at its last byte, so a sanitizer build sees a read past it.
bool readExact(CIPTC& iptc, const QByteArray& bytes, qsizetype size)
{
    std::unique_ptr<char[]> copy(new char[size_t(size) + (size == 0)]);
    std::copy_n(bytes.constData(), size, copy.get());
    return iptc.ReadFromBytes(QByteArray::fromRawData(copy.get(), size));
}

const std::vector<CIPTC::Field> SingleFields{
    CIPTC::ObjectName, CIPTC::Category, CIPTC::SpecialInstructions, CIPTC::DateCreated,
    CIPTC::ByLine, CIPTC::ByLineTitle, CIPTC::City, CIPTC::ProvinceState, CIPTC::Country,
    CIPTC::TransmissionReference, CIPTC::Headline, CIPTC::Credit, CIPTC::Source,
    CIPTC::RightsNotice, CIPTC::Caption, CIPTC::WriterEditor};

QJsonArray manifestFiles()
{
    QFile file(sharedTestData("photos/manifest.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value("files").toArray();
}

void expectDataset(const QByteArray& raw, const QString& text, const QJsonObject& expected)
{
    EXPECT_EQ(raw.toHex(), expected["raw_hex"].toString().toLatin1())
        << expected["tag"].toString().toStdString();
    EXPECT_EQ(text, expected["text_utf8_if_valid_else_latin1"].toString());
}

// The first block against the manifest: the last value of each single field, every value of
// the lists in order, nothing for the fields the block does not hold.
void expectBlock(const CIPTC& iptc, const QJsonObject& block)
{
    std::map<int, QJsonObject> last;
    std::map<int, QList<QJsonObject>> lists;
    for (const QJsonValue& value : block["datasets_of_interest_in_file_order"].toArray()) {
        const QJsonObject ds = value.toObject();
        const QStringList tag = ds["tag"].toString().split(':');
        const int number = tag.value(1).toInt();
        if (tag[0] == "1" && number == 90)
            EXPECT_EQ(iptc.DeclaresUtf8(), ds["raw_hex"].toString() == "1b2547");
        else if (tag[0] == "2" &&
                 (number == CIPTC::Keyword || number == CIPTC::SupplementalCategory))
            lists[number].append(ds);
        else if (tag[0] == "2" && std::count(SingleFields.begin(), SingleFields.end(), number))
            last[number] = ds;
    }
    for (const auto& [number, ds] : last)
        expectDataset(iptc.Raw(CIPTC::Field(number)), iptc.Text(CIPTC::Field(number)), ds);
    for (const auto& [number, datasets] : lists) {
        const auto field = CIPTC::Field(number);
        ASSERT_EQ(iptc.RawList(field).size(), datasets.size()) << number;
        for (qsizetype i = 0; i < datasets.size(); ++i)
            expectDataset(iptc.RawList(field)[i], iptc.TextList(field)[i], datasets[i]);
    }
    const QJsonArray all = block["all_dataset_tags_in_file_order"].toArray();
    const auto count = [&](int number) {
        const QString tag = "2:" + QString::number(number);
        return std::count_if(all.begin(), all.end(),
                             [&](const QJsonValue& value) { return value.toString() == tag; });
    };
    for (CIPTC::Field field : SingleFields) // present may still be empty
        EXPECT_TRUE(count(field) > 0 || iptc.Raw(field).isEmpty()) << int(field);
    EXPECT_EQ(iptc.RawList(CIPTC::Keyword).size(), count(CIPTC::Keyword));
    EXPECT_EQ(iptc.RawList(CIPTC::SupplementalCategory).size(), count(CIPTC::SupplementalCategory));
}

// Offset just past the first APP13 segment, from the manifest's layout.
qsizetype app13End(const QJsonObject& entry)
{
    const QJsonObject layout = entry["jpeg_layout"].toObject();
    return layout["app13_first_offset"].toInteger() + 2 + layout["app13"][0]["length"].toInteger();
}

QJsonObject manifestEntry(const QString& name)
{
    for (const QJsonValue& entry : manifestFiles())
        if (entry["file"].toString() == name)
            return entry.toObject();
    return {};
}

} // namespace

TEST(IptcLayout, FindsTheBlockWhereWritersPutIt)
{
    const QByteArray block = photoshop(resource(0x0404, caption("Found")));
    QByteArray scanAt20 = Exif; // the bytes the first search lands on read as a start of scan
    scanAt20.replace(18, 2, "\xFF\xDA"); // file offset 20
    const struct {
        const char* name;
        QByteArray file;
        bool found;
    } cases[] = {
        {"JFIF then APP13", jpeg(Jfif + block), true},
        {"EXIF first, no JFIF", jpeg(Exif + block), true},
        {"EXIF that looks like a scan at 20", jpeg(scanAt20 + block), true},
        {"JFIF, EXIF, comment", jpeg(Jfif + Exif + segment(0xFE, "hello") + block), true},
        {"APP13 first", jpeg(block), true},
        {"fill bytes", jpeg(Jfif + QByteArray(3, '\xFF') + block), true},
        {"markers without length", jpeg(Jfif + QByteArray("\xFF\xD0\xFF\x01", 4) + block), true},
        {"APP13 after the scan", Soi + Jfif + ScanAndEnd.chopped(2) + block + "\xFF\xD9", false},
        {"APP13 right after SOS", Soi + Jfif + ScanAndEnd.left(10) + block + "\xFF\xD9", false},
        {"no APP13", jpeg(Jfif + Exif), false},
        {"other APP13", jpeg(Jfif + segment(0xED, "Adobe_CM" + resource(0x0404, ""))), false},
        {"Photoshop 2.5",
         jpeg(Jfif +
              segment(0xED, QByteArray("Photoshop 2.5", 14) + resource(0x0404, caption("x")))),
         false},
        {"no IPTC resource", jpeg(Jfif + photoshop(resource(0x03ED, QByteArray(16, 1)))), false},
        {"not 8BIM", jpeg(Jfif + photoshop("MeSa" + resource(0x0404, caption("x")).mid(4))), false},
        {"no JPEG", "\xFF\xD8\xFE" + Jfif.mid(1) + block, false},
        {"only SOI", Soi, false},
    };
    for (const auto& c : cases) {
        CIPTC iptc;
        EXPECT_EQ(iptc.ReadFromBytes(c.file), c.found) << c.name;
        EXPECT_EQ(iptc.Raw(CIPTC::Caption), c.found ? "Found" : "") << c.name;
    }
}

TEST(IptcLayout, StepsOverResourcesByTheirRealLayout)
{
    const QByteArray iptc = caption("Found");
    // 258 bytes: a size read little-endian would run far past the segment.
    const QByteArray before = resource(0x03ED, QByteArray(258, 'x'), "Thumb");
    const struct {
        const char* name;
        QByteArray resources;
    } cases[] = {
        {"odd name", resource(0x0404, iptc, "A")},
        {"even name, padded", resource(0x0404, iptc, "AB")},
        {"longest name", resource(0x0404, iptc, QByteArray(255, 'n'))},
        {"after others", before + resource(0x0425, "12345") + resource(0x0404, iptc)},
        {"between others", before + resource(0x0404, iptc, "IPTC") + resource(0x0406, "abc")},
        // Other writers' resources sit among the "8BIM" ones; the one with the IPTC id is
        // not IPTC unless it is "8BIM".
        {"after foreign ones", resource(0x0001, "xyz", {}, "MeSa") +
                                   resource(0x0404, caption("Not this"), "N", "PHUT") +
                                   resource(0x0404, iptc)},
    };
    for (const auto& c : cases) {
        CIPTC reader;
        EXPECT_TRUE(reader.ReadFromBytes(jpeg(Jfif + photoshop(c.resources)))) << c.name;
        EXPECT_EQ(reader.Raw(CIPTC::Caption), "Found") << c.name;
    }
}

TEST(IptcLayout, LyingLengthsEndTheReadingCleanly)
{
    const QByteArray datasets = dataset(2, CIPTC::Headline, "Kept") + caption("Also kept");
    const QByteArray whole = iptcJpeg(datasets);
    const qsizetype iptcSize = whole.indexOf("8BIM") + 8;

    QByteArray segmentPastEnd = Soi + Jfif + photoshop(resource(0x0404, datasets));
    CIPTC iptc;
    EXPECT_FALSE(iptc.ReadFromBytes(segmentPastEnd.chopped(1)));

    QByteArray previousPastEnd =
        jpeg(Jfif + photoshop(resource(0x03ED, "1234") + resource(0x0404, datasets)));
    previousPastEnd.replace(previousPastEnd.indexOf("8BIM") + 8, 4, be32(0x100));
    EXPECT_FALSE(iptc.ReadFromBytes(previousPastEnd));

    QByteArray namePastEnd = jpeg(Jfif + photoshop(QByteArray("8BIM\x04\x04\xF0name and more")));
    EXPECT_FALSE(iptc.ReadFromBytes(namePastEnd));

    QByteArray foreignPastEnd =
        jpeg(Jfif + photoshop(resource(0x0001, "1234", {}, "MeSa") + resource(0x0404, datasets)));
    foreignPastEnd.replace(foreignPastEnd.indexOf("MeSa") + 8, 4, be32(0x100));
    EXPECT_FALSE(iptc.ReadFromBytes(foreignPastEnd));

    // Not a signature: binary bytes where the next resource should start end the walk.
    EXPECT_FALSE(iptc.ReadFromBytes(
        jpeg(Jfif + photoshop(QByteArray("\x01\x02\x03\x04", 4) + resource(0x0404, datasets)))));

    // An IPTC block that goes on in a next segment: what this one holds is read.
    QByteArray iptcPastEnd = whole;
    iptcPastEnd.replace(iptcSize, 4, be32(0x7FFFFFFF));
    ASSERT_TRUE(iptc.ReadFromBytes(iptcPastEnd));
    EXPECT_EQ(iptc.Raw(CIPTC::Caption), "Also kept");

    QByteArray datasetPastEnd = whole;
    // 20 bytes: past this dataset's data, not past the whole block's.
    datasetPastEnd.replace(datasetPastEnd.indexOf("Also kept") - 2, 2, be16(20));
    ASSERT_TRUE(iptc.ReadFromBytes(datasetPastEnd));
    EXPECT_EQ(iptc.Raw(CIPTC::Headline), "Kept");
    EXPECT_EQ(iptc.Raw(CIPTC::Caption), "");
}

TEST(IptcDatasets, EveryFieldComesFromItsOwnDataset)
{
    QByteArray datasets;
    for (CIPTC::Field field : SingleFields)
        datasets += dataset(2, field, "value " + QByteArray::number(field));
    datasets += dataset(2, CIPTC::Keyword, "k") + dataset(2, CIPTC::SupplementalCategory, "s");
    CIPTC iptc;
    ASSERT_TRUE(iptc.ReadFromBytes(iptcJpeg(datasets)));
    for (CIPTC::Field field : SingleFields) {
        EXPECT_EQ(iptc.Raw(field), "value " + QByteArray::number(field)) << int(field);
        EXPECT_TRUE(iptc.RawList(field).isEmpty()) << int(field);
    }
    EXPECT_EQ(iptc.RawList(CIPTC::Keyword), QList<QByteArray>{"k"});
    EXPECT_EQ(iptc.RawList(CIPTC::SupplementalCategory), QList<QByteArray>{"s"});
    EXPECT_EQ(iptc.Raw(CIPTC::Keyword), "");
}

TEST(IptcDatasets, RepeatsReplaceSingleFieldsAndAddToLists)
{
    CIPTC iptc;
    ASSERT_TRUE(iptc.ReadFromBytes(
        iptcJpeg(caption("first") + dataset(2, CIPTC::Keyword, "a") + caption("second") +
                 dataset(2, CIPTC::Keyword, "b") + dataset(2, CIPTC::SupplementalCategory, "x") +
                 dataset(2, CIPTC::SupplementalCategory, "y") + dataset(2, CIPTC::Keyword, "a"))));
    EXPECT_EQ(iptc.Raw(CIPTC::Caption), "second");
    EXPECT_EQ(iptc.RawList(CIPTC::Keyword), (QList<QByteArray>{"a", "b", "a"}));
    EXPECT_EQ(iptc.TextList(CIPTC::SupplementalCategory), (QStringList{"x", "y"}));
}

TEST(IptcDatasets, WhatEndsTheReading)
{
    const QByteArray after = dataset(2, CIPTC::City, "after");
    const QByteArray before = dataset(2, CIPTC::Headline, "before");
    const struct {
        const char* name;
        QByteArray datasets;
        QByteArray caption;
        bool readsOn;
    } cases[] = {
        {"2000-byte caption", caption(QByteArray(2000, 'c')), QByteArray(2000, 'c'), true},
        {"2001-byte caption", caption(QByteArray(2001, 'c')), "", false},
        {"envelope first", dataset(1, 90, "\x1B%G") + dataset(1, 0, "\0\x04") + caption("c"), "c",
         true},
        {"datasets we skip", dataset(2, 0, "\0\x04") + dataset(2, 221, "x") + caption("c"), "c",
         true},
        {"record 3", caption("c") + dataset(3, 10, "x"), "c", false},
        {"extended length", QByteArray("\x1C\x02\x78\x80\x04\0\0\0\x05", 9) + "hello", "", false},
        {"padding", caption("c") + QByteArray(4, '\0'), "c", false},
        {"length past the end", caption("c") + "\x1C\x02\x5A\0", "c", false},
    };
    for (const auto& c : cases) {
        CIPTC iptc;
        ASSERT_TRUE(iptc.ReadFromBytes(iptcJpeg(before + c.datasets + after))) << c.name;
        EXPECT_EQ(iptc.Raw(CIPTC::Headline), "before") << c.name;
        EXPECT_EQ(iptc.Raw(CIPTC::Caption), c.caption) << c.name;
        EXPECT_EQ(iptc.Raw(CIPTC::City), c.readsOn ? "after" : "") << c.name;
    }
    CIPTC empty;
    EXPECT_TRUE(empty.ReadFromBytes(iptcJpeg("")));
}

TEST(IptcText, Utf8WhenValidOrDeclaredElseLatin1)
{
    const QByteArray declared = dataset(1, 90, "\x1B%G");
    const struct {
        QByteArray envelope;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"", "Plain", "Plain"},
        {"", "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x93\xB7", QStringLiteral("Zürich € 📷")},
        {"", "Z\xFCrich", QStringLiteral("Zürich")},
        {"", "caf\xC3", QStringLiteral("caf\u00C3")},
        {declared, "Z\xC3\xBCrich", QStringLiteral("Zürich")},
        {declared, "Z\xFCrich", QStringLiteral("Z\uFFFDrich")}, // the declaration is trusted
    };
    for (const auto& c : cases) {
        CIPTC iptc;
        ASSERT_TRUE(iptc.ReadFromBytes(
            iptcJpeg(c.envelope + caption(c.bytes) + dataset(2, CIPTC::Keyword, c.bytes))));
        EXPECT_EQ(iptc.DeclaresUtf8(), !c.envelope.isEmpty());
        EXPECT_EQ(iptc.Raw(CIPTC::Caption), c.bytes);
        EXPECT_EQ(iptc.Text(CIPTC::Caption), c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(iptc.TextList(CIPTC::Keyword), QStringList{c.text});
    }
}

TEST(IptcRead, FailuresLeaveTheFieldsAsTheyWere)
{
    TestFolder folder;
    const QString good =
        folder.write("good.jpg", iptcJpeg(caption("Kept") + dataset(2, CIPTC::Keyword, "k")));
    const QString failing[] = {
        folder.file("missing.jpg"),
        folder.write("empty.jpg", ""),
        folder.write("cut.jpg", iptcJpeg(caption("Lost")).left(30)),
        folder.path(),
        sharedTestData("photos/mdi-photoshop-8x12-rgb24.png"),
        sharedTestData("photos/mdi-24bpp-10x10.bmp"),
        sharedTestData("photos/et-ExifTool.tif"),
        sharedTestData("photos/exs-canon-ixus.jpg"),
    };
    CIPTC iptc;
    ASSERT_TRUE(iptc.Read(good));
    for (const QString& path : failing) {
        EXPECT_FALSE(iptc.Read(path)) << path.toStdString();
        EXPECT_EQ(iptc.Raw(CIPTC::Caption), "Kept") << path.toStdString();
        EXPECT_EQ(iptc.RawList(CIPTC::Keyword), QList<QByteArray>{"k"});
    }
    // A successful read does not mix two photos' fields.
    ASSERT_TRUE(iptc.Read(folder.write("other.jpg", iptcJpeg(dataset(1, 90, "\x1B%G")))));
    EXPECT_EQ(iptc.Raw(CIPTC::Caption), "");
    EXPECT_TRUE(iptc.RawList(CIPTC::Keyword).isEmpty());
    EXPECT_TRUE(iptc.DeclaresUtf8());
}

TEST(IptcManifest, EveryPhotoReadsAsTheManifestSays)
{
    const QJsonArray files = manifestFiles();
    ASSERT_EQ(files.size(), 48);
    int withIptc = 0;
    for (const QJsonValue& entry : files) {
        const QString name = entry["file"].toString();
        SCOPED_TRACE(name.toStdString());
        const QJsonArray blocks = entry["iptc"]["blocks"].toArray();
        const bool inApp13 = entry["format"].toString() == "JPEG" && !blocks.isEmpty() &&
                             blocks[0]["location"].toString().startsWith("JPEG APP13");
        CIPTC iptc;
        ASSERT_EQ(iptc.Read(sharedTestData("photos/" + name)), inApp13);
        if (inApp13) {
            ++withIptc;
            expectBlock(iptc, blocks[0].toObject());
        }
    }
    EXPECT_EQ(withIptc, 14);
}

TEST(IptcRobustness, EveryTruncationEndsCleanly)
{
    const QByteArray made =
        iptcJpeg(dataset(1, 90, "\x1B%G") + caption("Made here") + dataset(2, CIPTC::Keyword, "k"));
    std::vector<std::pair<QByteArray, qsizetype>> files{{made, made.size() - ScanAndEnd.size()}};
    for (const char* name : {"et-PhotoMechanic.jpg", "et-IPTC.jpg", "ex2-Reagan.jpg",
                             "mdi-FujiFilm_FinePixS1Pro_1.jpg", "mdi-Canon_EOS_7D.jpg"}) {
        QFile file(sharedTestData(QStringLiteral("photos/") + name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        files.emplace_back(file.readAll(), app13End(manifestEntry(name)));
    }
    for (const auto& [bytes, end] : files) {
        CIPTC whole;
        ASSERT_TRUE(whole.ReadFromBytes(bytes));
        // Past the APP13 segment a cut changes nothing; inside it the block is not there.
        for (qsizetype size = 0; size <= std::min(bytes.size(), end + 16); ++size) {
            CIPTC iptc;
            ASSERT_EQ(readExact(iptc, bytes, size), size >= end) << size;
            EXPECT_EQ(iptc.Raw(CIPTC::Caption), size >= end ? whole.Raw(CIPTC::Caption) : "");
        }
    }
}

// Replays malformed files made from valid ones: every byte of the headers changed a few ways, then
// random damage in many places at once. Nothing may crash or read past the end; what is read stays
// within its limits.
TEST(IptcRobustness, DamagedFilesNeverCrash)
{
    QFile real(sharedTestData("photos/et-IPTC.jpg"));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray seeds[] = {
        iptcJpeg(dataset(1, 90, "\x1B%G") + caption("c") + dataset(2, CIPTC::Keyword, "k") +
                 dataset(2, CIPTC::City, "x")),
        jpeg(Exif + photoshop(resource(0x03ED, "odd", "N") + resource(0x0404, caption("c")))),
        real.readAll(),
    };
    const auto check = [](const QByteArray& bytes) {
        CIPTC iptc;
        if (!readExact(iptc, bytes, bytes.size()))
            return;
        for (CIPTC::Field field : SingleFields)
            ASSERT_LE(iptc.Raw(field).size(), 2000);
        ASSERT_LE(iptc.RawList(CIPTC::Keyword).size() * 5, bytes.size());
    };
    std::mt19937 random(603);
    for (const QByteArray& seed : seeds) {
        for (qsizetype at = 0; at < std::min(seed.size(), qsizetype{600}); ++at) {
            const char original = seed[at];
            for (char changed : {char(0), char(0xFF), char(original ^ 1), char(original ^ 0x80)}) {
                QByteArray mutated = seed;
                mutated[at] = changed;
                check(mutated);
            }
        }
        for (int round = 0; round < 2000; ++round) {
            QByteArray mutated = seed;
            for (int hits = 0; hits < 4; ++hits)
                mutated[random() % mutated.size()] = char(random());
            check(mutated.left(random() % (mutated.size() + 1)));
        }
    }
}
