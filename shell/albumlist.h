// SPDX-License-Identifier: GPL-2.0-or-later
// AlbumList: the saved albums the album manager shows, newest first. The page and its loader
// thread share it, so every access takes the list's lock; entries are named by an id that
// stays valid while the list changes, so that a report about an album can never land on
// another one.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include <QString>

#include "album/albumsummary.h"

struct AlbumEntry {
    uint64_t id = 0;
    QString text; // the file title until the album is read, then the album name
    AlbumSummary summary;
    bool visited = false; // the loader has taken it
    bool read = false;    // the summary holds what the project says
};

class AlbumList
{
public:
    // Lists the "*.gvp" files of folder, newest first. Returns the index of the entry whose
    // path is lastOpen (without regard to case), the first entry when none is, or -1 when
    // the list is empty.
    int Fill(const QString& folder, const QString& lastOpen);
    void Clear();

    int Count() const;
    std::optional<AlbumEntry> At(int index) const;
    std::optional<AlbumEntry> Find(uint64_t id) const;
    int IndexOf(uint64_t id) const;

    // Marks the first entry the loader has not taken yet as taken and gives it.
    std::optional<AlbumEntry> TakeNext();
    // Takes a loaded album's summary; the path and the file time stay the list's own.
    bool Update(uint64_t id, const AlbumSummary& loaded);
    bool Rename(uint64_t id, const QString& name);
    bool Remove(uint64_t id);

    // The list's order: the newer file first.
    static bool Newer(const AlbumEntry& first, const AlbumEntry& second);

private:
    int indexOf(uint64_t id) const;

    mutable std::mutex m_lock;
    std::vector<AlbumEntry> m_entries;
    uint64_t m_nextId = 1;
};
