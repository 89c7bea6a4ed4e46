// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumLoader: the album manager's background reader. One thread reads each listed album in
// turn and tells the page what it found through queued signals; it never touches a widget.
// The page pauses it before it changes the list or reads an album itself, and resumes it
// afterwards. Three events hold it: proceed (set: go on), working (set: the thread waits at
// its holding point) and stop (set: end; also set when the thread has ended).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "album/albumsummary.h"
#include "shell/resetevent.h"

class AlbumList;
class QThread;

class CAlbumLoader : public QObject
{
    Q_OBJECT
public:
    // Reads one project: its summary, or nothing when it cannot be read. Runs on the thread.
    using Reader = std::function<std::optional<AlbumSummary>(const QString& path)>;

    CAlbumLoader(AlbumList& list, Reader reader, QObject* parent = nullptr);
    ~CAlbumLoader() override;

    // Only while the thread is not running.
    void SetReader(Reader reader) { m_reader = std::move(reader); }
    // Starts the thread over the list (stopping one that runs).
    void Start();
    // Holds the thread at its next holding point; window messages are dispatched meanwhile.
    void Pause();
    void Resume() { m_proceed.Set(); }
    // Pauses, then ends the thread and waits for it.
    void Stop();
    bool IsRunning() const { return !m_stop.IsSet(); }
    // Waits (dispatching messages) until the thread has ended; false on timeout.
    bool WaitUntilDone(int milliseconds);

Q_SIGNALS:
    // An album was read into its list entry.
    void Loaded(quint64 id);
    // An album could not be read and left the list.
    void Removed(quint64 id);

private:
    void run();
    void readNext(const struct AlbumEntry& entry);

    AlbumList& m_list;
    Reader m_reader;
    ResetEvent m_proceed{true};
    ResetEvent m_working{false};
    ResetEvent m_stop{true};
    std::unique_ptr<QThread> m_thread;
};
