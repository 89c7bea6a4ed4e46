// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/iptc.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include <QFile>
#include <QStringDecoder>

// Everything here reads bytes from outside: every length is checked against what is left
// before it is used, so a cut or lying file ends the reading instead of reading past it.
namespace {

using Bytes = std::span<const uint8_t>;

constexpr uint8_t Marker = 0xFF;
constexpr uint8_t App13 = 0xED;
constexpr uint8_t StartOfScan = 0xDA;
constexpr uint8_t EndOfImage = 0xD9;
constexpr std::string_view PhotoshopId{"Photoshop 3.0\0", 14};
constexpr std::string_view ResourceSignature{"8BIM"};
constexpr size_t SignatureSize = 4;
constexpr uint16_t IptcResource = 0x0404;
constexpr size_t ResourceHeaderMin = 12; // signature, id, empty name and its pad, data size
constexpr uint8_t DatasetTag = 0x1C;
constexpr size_t DatasetHeader = 5; // tag, record, dataset number, 2-byte length
// Longer values are taken as damage; this also ends the reading at extended-length
// datasets, whose length field has its high bit set.
constexpr size_t MaxDatasetLength = 2000;
constexpr uint8_t CodedCharacterSet = 90; // of record 1

// The fields with one value each; the list fields are kept apart.
constexpr std::array SingleFields{
    CIPTC::ObjectName, CIPTC::Category, CIPTC::SpecialInstructions, CIPTC::DateCreated,
    CIPTC::ByLine, CIPTC::ByLineTitle, CIPTC::City, CIPTC::ProvinceState, CIPTC::Country,
    CIPTC::TransmissionReference, CIPTC::Headline, CIPTC::Credit, CIPTC::Source,
    CIPTC::RightsNotice, CIPTC::Caption, CIPTC::WriterEditor};

uint16_t be16(Bytes bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

uint32_t be32(Bytes bytes, size_t at)
{
    return static_cast<uint32_t>(be16(bytes, at)) << 16 | be16(bytes, at + 2);
}

bool startsWith(Bytes bytes, size_t at, std::string_view prefix)
{
    return bytes.size() >= at + prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin() + at,
                      [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

// Markers that stand alone, without a length: TEM, the restart markers and SOI.
bool hasNoLength(uint8_t code)
{
    return code == 0x01 || (code >= 0xD0 && code <= 0xD8);
}

// Walks the segments from pos and gives the payload of the first one with the wanted marker.
// The metadata segments all come before the picture data, so the search ends at the start of
// scan; anything that is not a marker where one should be ends it too.
std::optional<Bytes> findSegment(Bytes file, size_t pos, uint8_t wanted)
{
    while (pos + 2 <= file.size() && file[pos] == Marker) {
        const uint8_t code = file[pos + 1];
        if (code == Marker) { // fill byte before the marker
            ++pos;
            continue;
        }
        pos += 2;
        if (code == StartOfScan || code == EndOfImage || code == 0x00)
            return std::nullopt;
        if (hasNoLength(code))
            continue;
        if (pos + 2 > file.size())
            return std::nullopt;
        const size_t length = be16(file, pos); // counts its own two bytes
        if (length < 2 || length > file.size() - pos)
            return std::nullopt;
        if (code == wanted)
            return file.subspan(pos + 2, length - 2);
        pos += length;
    }
    return std::nullopt;
}

// Writers put resources of their own ("MeSa", "PHUT", ...) among the "8BIM" ones, laid out
// the same way; a signature of four printable characters is such a resource, anything else
// is damage.
bool hasSignature(Bytes payload, size_t at)
{
    return std::all_of(payload.begin() + at, payload.begin() + at + SignatureSize,
                       [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// Steps over the image resources of a Photoshop block by their sizes to the IPTC one. Each
// is a signature, a 2-byte id, a Pascal name padded to an even length, a 4-byte data size
// and the data padded to an even length; only an "8BIM" one holds the IPTC block.
std::optional<Bytes> findIptcResource(Bytes payload)
{
    size_t pos = PhotoshopId.size();
    while (pos + ResourceHeaderMin <= payload.size() && hasSignature(payload, pos)) {
        const bool ours = startsWith(payload, pos, ResourceSignature);
        const uint16_t id = be16(payload, pos + 4);
        const size_t nameField = (payload[pos + 6] + 2u) & ~size_t{1};
        size_t data = pos + 6 + nameField;
        if (data + 4 > payload.size())
            return std::nullopt;
        const size_t size = be32(payload, data);
        data += 4;
        const size_t available = payload.size() - data;
        // A block split across several APP13 segments goes on in the next one; what this
        // segment holds is enough for the fields we use, so the rest is not joined on.
        if (ours && id == IptcResource)
            return payload.subspan(data, std::min(size, available));
        if (size > available)
            return std::nullopt;
        pos = data + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace

bool CIPTC::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return false;
    // Photos run to megabytes with their metadata at the front: a mapping reads only the
    // pages the walker touches.
    const qint64 size = file.size();
    if (const uchar* mapped = file.map(0, size))
        return parse(Bytes(mapped, static_cast<size_t>(size)));
    const QByteArray bytes = file.read(size);
    return ReadFromBytes(bytes);
}

bool CIPTC::ReadFromBytes(const QByteArray& file)
{
    return parse(Bytes(reinterpret_cast<const uint8_t*>(file.constData()),
                       static_cast<size_t>(file.size())));
}

bool CIPTC::parse(Bytes file)
{
    if (!startsWith(file, 0, "\xFF\xD8\xFF"))
        return false;
    // Past a standard JFIF APP0 first; a file that starts otherwise (EXIF APP1, or the APP13
    // itself) is walked again from just past SOI.
    constexpr size_t AfterJfif = 20;
    constexpr size_t AfterSoi = 2;
    std::optional<Bytes> segment = findSegment(file, AfterJfif, App13);
    if (!segment)
        segment = findSegment(file, AfterSoi, App13);
    if (!segment || !startsWith(*segment, 0, PhotoshopId))
        return false;
    const std::optional<Bytes> iptc = findIptcResource(*segment);
    if (!iptc)
        return false;
    // Filled apart and swapped in, so a failed read leaves the earlier fields alone and a
    // successful one does not mix two photos' keywords.
    CIPTC fresh;
    fresh.readDatasets(*iptc);
    *this = std::move(fresh);
    return true;
}

// Reads datasets until one cannot be read: record 1 (the envelope) may come first, and only
// its character set matters to us; anything but records 1 and 2 ends the reading.
void CIPTC::readDatasets(Bytes data)
{
    size_t pos = 0;
    while (pos + DatasetHeader <= data.size() && data[pos] == DatasetTag) {
        const uint8_t record = data[pos + 1];
        const uint8_t number = data[pos + 2];
        const size_t length = be16(data, pos + 3);
        pos += DatasetHeader;
        if (length > MaxDatasetLength || length > data.size() - pos)
            return;
        const QByteArray value(reinterpret_cast<const char*>(data.data() + pos),
                               static_cast<qsizetype>(length));
        if (record != 1 && record != 2)
            return;
        if (record == 2)
            store(number, value);
        else if (number == CodedCharacterSet)
            m_codedCharacterSet = value;
        pos += length;
    }
}

void CIPTC::store(uint8_t number, const QByteArray& value)
{
    if (number == Keyword)
        m_keywords.append(value);
    else if (number == SupplementalCategory)
        m_supplementalCategories.append(value);
    else if (std::find(SingleFields.begin(), SingleFields.end(), number) != SingleFields.end())
        m_values[number] = value; // a repeated dataset replaces the earlier one
}

QByteArray CIPTC::Raw(Field field) const
{
    const auto found = m_values.find(field);
    return found == m_values.end() ? QByteArray() : found->second;
}

QString CIPTC::Text(Field field) const
{
    return decode(Raw(field));
}

QList<QByteArray> CIPTC::RawList(Field field) const
{
    if (field == Keyword)
        return m_keywords;
    return field == SupplementalCategory ? m_supplementalCategories : QList<QByteArray>();
}

QStringList CIPTC::TextList(Field field) const
{
    QStringList texts;
    for (const QByteArray& value : RawList(field))
        texts.append(decode(value));
    return texts;
}

bool CIPTC::DeclaresUtf8() const
{
    return m_codedCharacterSet == "\x1B%G";
}

// Most writers never declare a character set. Text that decodes as UTF-8 is taken as UTF-8:
// 8-bit Latin-1 text (accented letters between plain ones) practically never does. The rest
// is the Latin-1 the older editors wrote. A declared UTF-8 is trusted even when damaged.
QString CIPTC::decode(const QByteArray& bytes) const
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError() || DeclaresUtf8())
        return text;
    return QString::fromLatin1(bytes);
}
