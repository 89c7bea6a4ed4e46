// SPDX-License-Identifier: GPL-2.0-or-later
// CLongOperation: runs one whole-image edit (resize, rotation, flip) on a thread of its own so
// that the window stays responsive. The edit reports its percentage through a
// ProgressCallback; Cancel (Esc) and Abort (the window closes) make that callback answer
// "stop", and a stopped edit's result is never applied.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include <QObject>

#include "enhancer/dib.h"
#include "enhancer/packedimage.h"

class CLongOperation : public QObject
{
    Q_OBJECT

public:
    // The edit: computes the new image, asking progress as it goes.
    using Work = std::function<PackedImage(const ProgressCallback* progress)>;
    // Takes the finished edit's image (called on the window's thread).
    using Apply = std::function<void(PackedImage image)>;

    explicit CLongOperation(QObject* parent = nullptr);
    ~CLongOperation() override;
    CLongOperation(const CLongOperation&) = delete;
    CLongOperation& operator=(const CLongOperation&) = delete;

    // Starts work; false when an edit is still running (nothing is started then).
    bool Start(Work work, Apply apply);
    // True from Start until the edit's end has been handled: the busy check reads it.
    bool IsRunning() const { return m_running; }
    // Esc: the edit stops at its next progress call and gives nothing.
    void Cancel();
    // The window closes: like Cancel, and the call returns only once the thread has ended, so
    // that nothing outlives the image it reads.
    void Abort();
    bool WasAborted() const { return m_aborted; }
    // The percentage last reported (0 to 100).
    int Percent() const { return m_percent; }

signals:
    void progressChanged(int percent);
    // The edit ended; applied tells whether its image went to the document.
    void ended(bool applied);

private:
    int Progress(int percent);
    void Finish();
    void Join();

    std::thread m_thread;
    std::mutex m_resultLock;
    PackedImage m_result;
    Apply m_apply;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_percent{0};
    bool m_running = false;
    bool m_aborted = false;
};
