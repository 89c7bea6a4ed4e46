// SPDX-License-Identifier: GPL-2.0-or-later
// CIPTC: the caption, keywords and credits that photo editors store in a JPEG file (IPTC
// datasets in the "Photoshop 3.0" APP13 segment). The album builder reads it for every photo
// it adds and starts the photo's description with the caption.
#pragma once

#include <cstdint>
#include <map>
#include <span>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class CIPTC
{
public:
    // The datasets of record 2 we keep, by their dataset numbers.
    enum Field : uint8_t {
        ObjectName = 5,
        Category = 15,
        SupplementalCategory = 20, // a list
        Keyword = 25,              // a list
        SpecialInstructions = 40,
        DateCreated = 55,
        ByLine = 80,
        ByLineTitle = 85,
        City = 90,
        ProvinceState = 95,
        Country = 101,
        TransmissionReference = 103,
        Headline = 105,
        Credit = 110,
        Source = 115,
        RightsNotice = 116,
        Caption = 120,
        WriterEditor = 122,
    };

    CIPTC() = default;

    // True when the file holds an IPTC block and its datasets were read (even if none was one
    // we keep); every field then comes from this file. False, with the fields as they were,
    // for anything else: no file, not a JPEG, no IPTC block. Nothing is reported.
    bool Read(const QString& path);
    // The same over the bytes of a whole file.
    bool ReadFromBytes(const QByteArray& file);

    // Bytes as stored; empty when absent and for the two list fields.
    QByteArray Raw(Field field) const;
    QString Text(Field field) const;
    // Every value of a list field in file order; empty for the other fields.
    QList<QByteArray> RawList(Field field) const;
    QStringList TextList(Field field) const;
    // True when the block declares its text UTF-8 (CodedCharacterSet ESC % G).
    bool DeclaresUtf8() const;

private:
    using Bytes = std::span<const uint8_t>;

    bool parse(Bytes file);
    void readDatasets(Bytes data);
    void store(uint8_t number, const QByteArray& value);
    QString decode(const QByteArray& bytes) const;

    std::map<uint8_t, QByteArray> m_values;
    QList<QByteArray> m_supplementalCategories;
    QList<QByteArray> m_keywords;
    QByteArray m_codedCharacterSet;
};
