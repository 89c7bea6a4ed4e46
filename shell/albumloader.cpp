// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumloader.h"

#include <chrono>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "shell/albumlist.h"

CAlbumLoader::CAlbumLoader(AlbumList& list, Reader reader, QObject* parent)
    : QObject(parent), m_list(list), m_reader(std::move(reader))
{
}

CAlbumLoader::~CAlbumLoader()
{
    Stop();
}

void CAlbumLoader::Start()
{
    Stop();
    m_stop.Clear();
    m_proceed.Set();
    m_working.Clear();
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void CAlbumLoader::run()
{
    for (;;) {
        m_working.Set();
        m_proceed.Wait();
        if (m_stop.IsSet())
            break;
        m_working.Clear();
        // A pause that began after the wait above but saw the working flag still set must
        // find the thread holding: look again, now that the flag is cleared.
        if (!m_proceed.IsSet())
            continue;
        // The next album not read yet: an entry removed meanwhile can neither be skipped
        // nor read twice, wherever in the list it was.
        const std::optional<AlbumEntry> entry = m_list.TakeNext();
        if (!entry)
            break;
        readNext(*entry);
    }
    m_stop.Set();
}

void CAlbumLoader::readNext(const AlbumEntry& entry)
{
    const std::optional<AlbumSummary> summary =
        m_reader(QString::fromUtf8(entry.summary.projectPath.c_str()));
    if (!summary) {
        if (m_list.Remove(entry.id))
            Q_EMIT Removed(entry.id);
    } else if (m_list.Update(entry.id, *summary)) {
        Q_EMIT Loaded(entry.id);
    }
}

void CAlbumLoader::Pause()
{
    if (m_stop.IsSet())
        return;
    m_proceed.Clear();
    while (!m_working.IsSet() && !m_stop.IsSet()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_working.WaitFor(std::chrono::milliseconds(5));
    }
}

void CAlbumLoader::Stop()
{
    if (!m_thread)
        return;
    Pause();
    m_stop.Set();
    m_proceed.Set();
    // Joined rather than given a moment: nothing of the thread outlives the list it reads.
    m_thread->wait();
    m_thread.reset();
}

bool CAlbumLoader::WaitUntilDone(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!m_stop.IsSet()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents();
        m_stop.WaitFor(std::chrono::milliseconds(5));
    }
    QCoreApplication::processEvents();
    return true;
}
