// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/bmffmetadata.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include <QFile>

namespace imaging::metadata
{

namespace
{

constexpr quint32 fourCc(const char (&text)[5])
{
    return (quint32(uchar(text[0])) << 24) | (quint32(uchar(text[1])) << 16) |
           (quint32(uchar(text[2])) << 8) | quint32(uchar(text[3]));
}

// Reads big-endian fields and NUL-terminated texts from a range of the file; once a read
// would pass the range's end it fails, and so does every read after it.
class Fields
{
public:
    Fields(const QByteArray& file, qint64 begin, qint64 end) : m_file(file), m_at(begin), m_end(end)
    {
    }
    bool ok() const { return m_ok; }
    qint64 at() const { return m_at; }
    qint64 left() const { return m_ok ? m_end - m_at : 0; }
    quint64 take(int bytes)
    {
        if (!m_ok || bytes < 0 || bytes > 8 || left() < bytes) {
            m_ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | uchar(m_file[m_at + i]);
        m_at += bytes;
        return value;
    }
    QByteArray text()
    {
        const char* from = m_file.constData() + m_at;
        const void* nul = left() > 0 ? std::memchr(from, '\0', static_cast<size_t>(left())) : nullptr;
        if (nul == nullptr) {
            m_ok = false;
            return QByteArray();
        }
        const qint64 length = static_cast<const char*>(nul) - from;
        const QByteArray value(from, length);
        m_at += length + 1;
        return value;
    }

private:
    const QByteArray& m_file;
    qint64 m_at;
    qint64 m_end;
    bool m_ok = true;
};

struct Box {
    quint32 type = 0;
    qint64 body = 0; // after the header
    qint64 end = 0;
};

// The box whose header starts at at, which must end by limit.
std::optional<Box> boxAt(const QByteArray& file, qint64 at, qint64 limit)
{
    Fields header(file, at, limit);
    quint64 size = header.take(4);
    Box box;
    box.type = static_cast<quint32>(header.take(4));
    if (size == 1)
        size = header.take(8);
    else if (size == 0)
        size = static_cast<quint64>(limit - at); // the last box runs to the end
    if (box.type == fourCc("uuid"))
        header.take(8), header.take(8);
    if (!header.ok() || size < static_cast<quint64>(header.at() - at) ||
        size > static_cast<quint64>(limit - at))
        return std::nullopt;
    box.body = header.at();
    box.end = at + static_cast<qint64>(size);
    return box;
}

// Calls visit for each box between begin and end; false when one does not fit.
template <typename Visit> bool eachBox(const QByteArray& file, qint64 begin, qint64 end, Visit visit)
{
    for (qint64 at = begin; at < end;) {
        const std::optional<Box> box = boxAt(file, at, end);
        if (!box || !visit(*box))
            return false;
        at = box->end;
    }
    return true;
}

// The first box of a JPEG XL container.
constexpr char JxlSignature[12] = {0, 0, 0, 0x0c, 'J', 'X', 'L', ' ', '\r', '\n', '\x87', '\n'};

} // namespace

// An item of a HEIF file: what its entry says and where its location entry puts it.
struct BmffMetadata::Item {
    quint32 id = 0;
    std::optional<Kind> kind;
    bool sealed = false; // protected or content-encoded
    bool located = false;
    int method = 0;       // 0: file offsets, 1: within the idat box, 2: within other items
    quint64 dataReference = 0; // 0: this file
    std::vector<Piece> pieces;
};

BmffMetadata::BmffMetadata(QByteArray file) : m_file(std::move(file))
{
    walkTop();
    if (m_layout != Layout::Located)
        m_blocks.clear();
}

bool BmffMetadata::isContainer(QByteArrayView head)
{
    return head.startsWith(QByteArrayView(JxlSignature, sizeof JxlSignature)) ||
           (head.size() >= 8 && head.sliced(4, 4) == "ftyp");
}

BmffMetadata BmffMetadata::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        BmffMetadata unreadable{QByteArray()};
        unreadable.m_layout = Layout::Damaged;
        return unreadable;
    }
    // Other photos are not read beyond their first bytes.
    if (!isContainer(file.peek(sizeof JxlSignature)))
        return BmffMetadata(QByteArray());
    QByteArray bytes = file.readAll();
    BmffMetadata walked(bytes.size() == file.size() ? std::move(bytes) : QByteArray());
    if (walked.m_file.isEmpty() && file.size() > 0)
        walked.m_layout = Layout::Damaged;
    return walked;
}

void BmffMetadata::walkTop()
{
    if (!isContainer(m_file))
        return; // not box-structured: a bare JPEG XL codestream among others
    if (m_file.startsWith(QByteArrayView(JxlSignature, sizeof JxlSignature))) {
        m_layout = walkJxl(sizeof JxlSignature) ? m_layout : Layout::Damaged;
        return;
    }
    std::vector<Range> metas, dataBoxes;
    const bool fits = eachBox(m_file, 0, m_file.size(), [&](const Box& box) {
        if (box.type == fourCc("meta"))
            metas.push_back({box.body, box.end});
        else if (box.type == fourCc("mdat"))
            dataBoxes.push_back({box.body, box.end});
        return true;
    });
    m_layout = Layout::Located;
    if (!fits || metas.size() > 1)
        m_layout = Layout::Damaged;
    else if (metas.size() == 1 && !walkMeta(metas[0], dataBoxes))
        m_layout = m_layout == Layout::Sealed ? Layout::Sealed : Layout::Damaged;
}

bool BmffMetadata::walkJxl(qint64 at)
{
    bool sealed = false;
    const bool fits = eachBox(m_file, at, m_file.size(), [&](const Box& box) {
        if (box.type == fourCc("Exif") || box.type == fourCc("xml "))
            m_blocks.push_back({box.type == fourCc("Exif") ? Kind::Exif : Kind::Xmp,
                                {{box.body, box.end - box.body}}});
        if (box.type == fourCc("brob")) {
            // A compressed box names the type of the box it holds first.
            Fields inner(m_file, box.body, box.end);
            const quint64 type = inner.take(4);
            if (!inner.ok())
                return false;
            sealed = sealed || type == fourCc("Exif") || type == fourCc("xml ");
        }
        return true;
    });
    m_layout = sealed ? Layout::Sealed : Layout::Located;
    return fits;
}

// Finds the metadata items of the file's meta box and where their data lie.
bool BmffMetadata::walkMeta(Range meta, const std::vector<Range>& dataBoxes)
{
    std::optional<Range> iinf, iloc, idat;
    bool twice = false;
    const bool fits = eachBox(m_file, meta.begin + 4, meta.end, [&](const Box& box) {
        std::optional<Range>* range = box.type == fourCc("iinf")   ? &iinf
                                      : box.type == fourCc("iloc") ? &iloc
                                      : box.type == fourCc("idat") ? &idat
                                                                   : nullptr;
        if (range != nullptr) {
            twice = twice || range->has_value();
            *range = Range{box.body, box.end};
        }
        return true;
    });
    if (!fits || twice)
        return false;
    if (!iinf)
        return true; // no items, no metadata items
    std::vector<Item> items;
    if (!readEntries(*iinf, items))
        return false;
    const bool anyMetadata =
        std::any_of(items.begin(), items.end(), [](const Item& item) { return item.kind; });
    if (!anyMetadata)
        return true;
    // The locations of every item, so that no block overlaps another item's data.
    if (!iloc || !readLocations(*iloc, items))
        return false;
    return placeItems(items, dataBoxes, idat.value_or(Range{}));
}

// Reads the item entries of an iinf box: which items hold EXIF or XMP.
bool BmffMetadata::readEntries(Range iinf, std::vector<Item>& items) const
{
    Fields info(m_file, iinf.begin, iinf.end);
    const int version = static_cast<int>(info.take(1));
    info.take(3);
    info.take(version == 0 ? 2 : 4); // the entry count; the entries say it again
    if (!info.ok())
        return false;
    return eachBox(m_file, info.at(), iinf.end, [&](const Box& box) {
        if (box.type != fourCc("infe"))
            return true;
        Fields entry(m_file, box.body, box.end);
        const int entryVersion = static_cast<int>(entry.take(1));
        entry.take(3);
        Item item;
        QByteArray contentType, encoding;
        if (entryVersion >= 2) {
            item.id = static_cast<quint32>(entry.take(entryVersion == 2 ? 2 : 4));
            item.sealed = entry.take(2) != 0;
            const quint64 type = entry.take(4);
            entry.text(); // the item's name
            if (type == fourCc("Exif"))
                item.kind = Kind::Exif;
            if (type == fourCc("mime")) {
                contentType = entry.text();
                encoding = entry.left() > 0 ? entry.text() : QByteArray();
            }
        } else {
            item.id = static_cast<quint32>(entry.take(2));
            item.sealed = entry.take(2) != 0;
            entry.text();
            contentType = entry.text();
            encoding = entry.left() > 0 ? entry.text() : QByteArray();
        }
        if (contentType.startsWith("application/rdf+xml"))
            item.kind = Kind::Xmp;
        item.sealed = item.sealed || !encoding.isEmpty();
        items.push_back(item);
        return entry.ok();
    });
}

// Reads where an iloc box puts each item's data.
bool BmffMetadata::readLocations(Range iloc, std::vector<Item>& items) const
{
    Fields where(m_file, iloc.begin, iloc.end);
    const int locVersion = static_cast<int>(where.take(1));
    where.take(3);
    const int sizes = static_cast<int>(where.take(1));
    const int moreSizes = static_cast<int>(where.take(1));
    const int offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = moreSizes >> 4;
    const int indexSize = locVersion >= 1 ? (moreSizes & 15) : 0;
    for (int size : {offsetSize, lengthSize, baseSize, indexSize})
        if (size != 0 && size != 4 && size != 8)
            return false;
    if (locVersion > 2)
        return false;
    std::map<quint32, Item*> byId;
    for (Item& item : items)
        if (!byId.emplace(item.id, &item).second)
            return false;
    const quint64 itemCount = where.take(locVersion < 2 ? 2 : 4);
    std::vector<Item> unnamed; // located but without an entry: data all the same
    for (quint64 i = 0; i < itemCount && where.ok(); ++i) {
        const auto id = static_cast<quint32>(where.take(locVersion < 2 ? 2 : 4));
        const auto found = byId.find(id);
        Item* item = found != byId.end() ? found->second : &unnamed.emplace_back();
        if (item->located)
            return false;
        item->located = true;
        item->method = locVersion >= 1 ? static_cast<int>(where.take(2) & 15) : 0;
        item->dataReference = where.take(2);
        const quint64 base = where.take(baseSize);
        const quint64 extents = where.take(2);
        for (quint64 e = 0; e < extents && where.ok(); ++e) {
            where.take(indexSize);
            const quint64 offset = where.take(offsetSize);
            const quint64 length = where.take(lengthSize);
            // Positions beyond any file read as out of range, never as wrapped around.
            const quint64 limit = static_cast<quint64>(m_file.size());
            if (base > limit || offset > limit || length > limit)
                item->pieces.push_back({m_file.size() + 1, length == 0 ? 1 : qint64(limit)});
            else
                item->pieces.push_back({qint64(base + offset), qint64(length)});
        }
    }
    if (!where.ok())
        return false;
    for (Item& item : unnamed)
        items.push_back(item);
    return true;
}

// Makes blocks of the metadata items, each wholly inside its data box and clear of every
// other item's data.
bool BmffMetadata::placeItems(std::vector<Item>& items, const std::vector<Range>& dataBoxes,
                              Range idat)
{
    struct Span {
        qint64 begin, end;
        bool metadata;
    };
    std::vector<Span> spans;
    bool sealed = false;
    for (Item& item : items) {
        if (item.kind && (item.sealed || item.dataReference != 0 || item.method == 2)) {
            sealed = true;
            continue;
        }
        if (!item.located || item.method == 2 || item.dataReference != 0) {
            if (item.kind)
                return false;
            continue;
        }
        for (Piece& piece : item.pieces) {
            if (item.method == 1)
                piece.offset += idat.begin;
            const qint64 end = piece.length == 0 ? m_file.size() : piece.offset + piece.length;
            spans.push_back({piece.offset, end, item.kind.has_value()});
            if (!item.kind)
                continue;
            const bool inside = item.method == 1
                                    ? piece.offset >= idat.begin && end <= idat.end
                                    : std::any_of(dataBoxes.begin(), dataBoxes.end(),
                                                  [&](const Range& box) {
                                                      return piece.offset >= box.begin &&
                                                             end <= box.end;
                                                  });
            if (piece.length == 0 || !inside)
                return false;
        }
        if (item.kind)
            m_blocks.push_back({*item.kind, item.pieces});
    }
    // In order of their starts, a span overlaps an earlier one exactly when it starts before
    // the furthest end so far: of any span when it is metadata, of metadata otherwise.
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.begin < b.begin; });
    qint64 furthest = 0, furthestMetadata = 0;
    for (const Span& span : spans) {
        if (span.begin < (span.metadata ? furthest : furthestMetadata))
            return false;
        furthest = std::max(furthest, span.end);
        if (span.metadata)
            furthestMetadata = std::max(furthestMetadata, span.end);
    }
    if (sealed)
        m_layout = Layout::Sealed;
    return !sealed;
}

QByteArray BmffMetadata::payload(int block) const
{
    QByteArray bytes;
    for (const Piece& piece : m_blocks[static_cast<size_t>(block)].pieces)
        bytes += m_file.mid(piece.offset, piece.length);
    return bytes;
}

bool BmffMetadata::replace(int block, const QByteArray& bytes)
{
    Block& target = m_blocks[static_cast<size_t>(block)];
    qint64 total = 0;
    for (const Piece& piece : target.pieces)
        total += piece.length;
    if (total != bytes.size())
        return false;
    qint64 from = 0;
    for (const Piece& piece : target.pieces) {
        std::memcpy(m_file.data() + piece.offset, bytes.constData() + from,
                    static_cast<size_t>(piece.length));
        from += piece.length;
    }
    target.replaced = true;
    return true;
}

bool BmffMetadata::save(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() != m_file.size())
        return false;
    for (const Block& block : m_blocks) {
        if (!block.replaced)
            continue;
        for (const Piece& piece : block.pieces)
            if (!file.seek(piece.offset) ||
                file.write(m_file.constData() + piece.offset, piece.length) != piece.length)
                return false;
    }
    return file.flush() && file.size() == m_file.size();
}

} // namespace imaging::metadata
