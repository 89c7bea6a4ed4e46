// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/longoperation.h"

#include <QMetaObject>
#include <QPointer>

CLongOperation::CLongOperation(QObject* parent) : QObject(parent) {}

CLongOperation::~CLongOperation()
{
    m_stop = true;
    Join();
}

bool CLongOperation::Start(Work work, Apply apply)
{
    if (m_running)
        return false;
    Join(); // an aborted edit's thread may still be there
    m_running = true;
    m_aborted = false;
    m_stop = false;
    m_percent = 0;
    m_apply = std::move(apply);
    m_thread = std::thread([this, work = std::move(work)]() {
        const ProgressCallback progress = [this](int percent) { return Progress(percent); };
        PackedImage image = work(&progress);
        {
            std::lock_guard<std::mutex> lock(m_resultLock);
            m_result = std::move(image);
        }
        // The end is handled on the window's thread; a destroyed operation drops the call.
        QMetaObject::invokeMethod(this, [this]() { Finish(); }, Qt::QueuedConnection);
    });
    return true;
}

int CLongOperation::Progress(int percent)
{
    if (m_stop)
        return -1;
    // Only changes cross to the window: an edit may report the same figure per row.
    if (m_percent.exchange(percent) != percent)
        QMetaObject::invokeMethod(this, [this, percent]() { emit progressChanged(percent); },
                                  Qt::QueuedConnection);
    return 0;
}

void CLongOperation::Cancel()
{
    if (m_running)
        m_stop = true;
}

void CLongOperation::Abort()
{
    if (!m_running)
        return;
    m_aborted = true;
    m_stop = true;
    Join();
    Finish();
}

void CLongOperation::Finish()
{
    if (!m_running)
        return; // Abort handled it already; this is the thread's late call
    Join();
    m_running = false;
    PackedImage image;
    {
        std::lock_guard<std::mutex> lock(m_resultLock);
        image = std::move(m_result);
    }
    // A stopped edit may still have finished its last rows: its image is not wanted.
    const bool applied = image && !m_stop && m_apply;
    Apply apply = std::move(m_apply);
    m_apply = nullptr;
    if (applied)
        apply(std::move(image));
    emit ended(applied);
}

void CLongOperation::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}
