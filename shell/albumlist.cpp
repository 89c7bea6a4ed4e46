// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumlist.h"

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

int AlbumList::Fill(const QString& folder, const QString& lastOpen)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.gvp")}, QDir::Files | QDir::Hidden);
    std::lock_guard guard(m_lock);
    m_entries.clear();
    uint64_t remembered = 0;
    const uint64_t first = m_nextId;
    for (const QFileInfo& file : files) {
        AlbumEntry entry;
        entry.id = m_nextId++;
        entry.text = file.completeBaseName();
        const QString path = QDir::toNativeSeparators(file.absoluteFilePath());
        entry.summary.projectPath = path.toUtf8().constData();
        // The file time as the 32-bit time value the summary keeps.
        entry.summary.managerNumber = static_cast<int32_t>(file.lastModified().toSecsSinceEpoch());
        if (remembered == 0 && path.compare(lastOpen, Qt::CaseInsensitive) == 0)
            remembered = entry.id;
        m_entries.push_back(std::move(entry));
    }
    if (m_entries.empty())
        return -1;
    std::stable_sort(m_entries.begin(), m_entries.end(), Newer);
    // Without a remembered album the first file found is selected.
    return indexOf(remembered != 0 ? remembered : first);
}

bool AlbumList::Newer(const AlbumEntry& first, const AlbumEntry& second)
{
    return first.summary.managerNumber > second.summary.managerNumber;
}

void AlbumList::Clear()
{
    std::lock_guard guard(m_lock);
    m_entries.clear();
}

int AlbumList::Count() const
{
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_entries.size());
}

std::optional<AlbumEntry> AlbumList::At(int index) const
{
    std::lock_guard guard(m_lock);
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return std::nullopt;
    return m_entries[size_t(index)];
}

std::optional<AlbumEntry> AlbumList::Find(uint64_t id) const
{
    std::lock_guard guard(m_lock);
    const int index = indexOf(id);
    if (index < 0)
        return std::nullopt;
    return m_entries[size_t(index)];
}

int AlbumList::IndexOf(uint64_t id) const
{
    std::lock_guard guard(m_lock);
    return indexOf(id);
}

int AlbumList::indexOf(uint64_t id) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<AlbumEntry> AlbumList::TakeNext()
{
    std::lock_guard guard(m_lock);
    for (AlbumEntry& entry : m_entries) {
        if (!entry.visited) {
            entry.visited = true;
            return entry;
        }
    }
    return std::nullopt;
}

bool AlbumList::Update(uint64_t id, const AlbumSummary& loaded)
{
    std::lock_guard guard(m_lock);
    const int index = indexOf(id);
    if (index < 0)
        return false;
    AlbumEntry& entry = m_entries[size_t(index)];
    const gv_string path = entry.summary.projectPath;
    const int32_t time = entry.summary.managerNumber;
    entry.summary = loaded;
    entry.summary.projectPath = path;
    entry.summary.managerNumber = time;
    entry.text = QString::fromUtf8(loaded.albumName.c_str());
    entry.read = true;
    return true;
}

bool AlbumList::Rename(uint64_t id, const QString& name)
{
    std::lock_guard guard(m_lock);
    const int index = indexOf(id);
    if (index < 0)
        return false;
    m_entries[size_t(index)].text = name;
    m_entries[size_t(index)].summary.albumName = name.toUtf8().constData();
    return true;
}

bool AlbumList::Remove(uint64_t id)
{
    std::lock_guard guard(m_lock);
    const int index = indexOf(id);
    if (index < 0)
        return false;
    m_entries.erase(m_entries.begin() + index);
    return true;
}
