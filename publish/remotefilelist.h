// SPDX-License-Identifier: GPL-2.0-or-later
// RemoteFileList: the list of an album folder's files with a content id for each, kept as
// "filelist.xml" in the album folder and beside the published album on the server. Comparing
// the album's list with the server's tells which files must be sent again.
//
// The document: root "FileList"; each entry an element "f." + its name; files carry
// type="file" and id, folders type="folder" and their own entries nested. A name that cannot
// be part of an element name is written with such characters replaced and the real name in a
// "name" attribute, which the reader prefers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

class RemoteFileList
{
public:
    // The list's own name, in the album folder and on the server.
    static QString FileName();
    // A list from the server is refused when it is larger than this or nests folders deeper.
    static constexpr qint64 MaxBytes = 8 * 1024 * 1024;
    static constexpr int MaxDepth = 64;

    struct Entry {
        enum class Kind { File, Folder, Other };
        QString name;
        Kind kind = Kind::Other;
        QString id;                 // files: the content id; empty when unreadable
        std::vector<Entry> entries; // folders: their content
        // Files of a local list: size and modification time (ns) when the id was computed,
        // so that a change before sending is noticed. Not written to the document.
        qint64 size = -1;
        int64_t modified = 0;
    };

    // Lists albumFolder and computes every file's id now. Regular files and folders count,
    // hidden ones too; links are followed only when they lead to a place inside the album.
    // The folder's own "filelist.xml" is left out: it is sent last, by AppendSelf. The
    // album's manifest is left out too: it names where the photos are on this computer.
    static RemoteFileList Build(const QString& albumFolder);
    // Reads a list the server gave: nothing, with the reason in why, when it is too large,
    // too deep, not a file list, or names an entry that cannot be a file name.
    static std::optional<RemoteFileList> Load(const QString& path, QString& why);
    static std::optional<RemoteFileList> Parse(const QByteArray& document, QString& why);

    QByteArray ToXml() const;
    // Writes the document so that a failure leaves any earlier file whole.
    bool Save(const QString& path, QString* why = nullptr) const;

    // Drops the files whose id equals (without regard to case) that of the first entry of the
    // same name in the same folder of old, then the folders left empty by that.
    void Prune(const RemoteFileList& old);
    // Appends the list itself (no attributes), so that it is sent after everything else.
    void AppendSelf();

    struct Upload {
        QString relativePath; // "a/b.jpg": the names on the way, joined by "/"
        QString id;
        qint64 size = -1;
        int64_t modified = 0;
    };
    // Everything that is not a folder, in document order; after AppendSelf the list last.
    std::vector<Upload> Uploads() const;
    // The files of the list, at any depth.
    int FileCount() const;

    const std::vector<Entry>& Entries() const { return m_entries; }
    // Local names that are not valid text and so cannot be sent, as platform::shownName
    // shows them ("a/b\xE9.jpg").
    const std::vector<QString>& UnreadableNames() const { return m_unreadable; }

private:
    std::vector<Entry> m_entries;
    std::vector<QString> m_unreadable;
};
