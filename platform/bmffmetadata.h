// SPDX-License-Identifier: GPL-2.0-or-later
// The EXIF and XMP blocks of box-structured photo files (HEIF, HEIC, AVIF, and JPEG XL in its
// container), found by walking their boxes and rewritten where they lie, each at its old length,
// so that no box moves and the picture data stay byte for byte. The metadata library reads these
// files but cannot write them.
//
// Every size and offset a file states is checked against the file: a damaged or hostile file
// reads as Damaged and is never written, and a block is only ever written inside the data box
// that holds it and outside every other item's data.
#pragma once

#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace imaging::metadata
{

class BmffMetadata
{
public:
    enum class Layout {
        NotContainer, // not a box-structured file (or a bare JPEG XL codestream): holds none here
        Located,      // every EXIF and XMP block found, none or many
        Sealed,       // it holds metadata that cannot be rewritten where it lies (compressed)
        Damaged,      // its boxes contradict each other or the file
    };
    enum class Kind { Exif, Xmp };

    // Walks the boxes of a whole file's bytes.
    explicit BmffMetadata(QByteArray file);
    // Reads and walks the file at path; a file that cannot be read is Damaged.
    static BmffMetadata load(const QString& path);
    // True when head, a file's first bytes (12 are enough), starts a box-structured file.
    static bool isContainer(QByteArrayView head);

    Layout layout() const { return m_layout; }
    // The blocks found when Located, in file order of their items or boxes.
    int count() const { return static_cast<int>(m_blocks.size()); }
    Kind kind(int block) const { return m_blocks[static_cast<size_t>(block)].kind; }
    // An EXIF block starts with the 4-byte distance to its TIFF header; an XMP block is the
    // packet as stored.
    QByteArray payload(int block) const;
    // Puts bytes of the block's very length in its place in the bytes held; false otherwise.
    bool replace(int block, const QByteArray& bytes);
    // The file's bytes with what was replaced.
    const QByteArray& bytes() const { return m_file; }
    // Writes the replaced ranges into the file at path, which must be the file walked (same
    // size); false when it is not or writing failed.
    bool save(const QString& path) const;

private:
    struct Piece {
        qint64 offset = 0;
        qint64 length = 0;
    };
    struct Block {
        Kind kind = Kind::Exif;
        std::vector<Piece> pieces;
        bool replaced = false;
    };
    struct Range {
        qint64 begin = 0;
        qint64 end = 0;
    };
    struct Item;

    void walkTop();
    bool walkJxl(qint64 at);
    bool walkMeta(Range meta, const std::vector<Range>& dataBoxes);
    bool readEntries(Range iinf, std::vector<Item>& items) const;
    bool readLocations(Range iloc, std::vector<Item>& items) const;
    bool placeItems(std::vector<Item>& items, const std::vector<Range>& dataBoxes, Range idat);

    QByteArray m_file;
    Layout m_layout = Layout::NotContainer;
    std::vector<Block> m_blocks;
};

} // namespace imaging::metadata
