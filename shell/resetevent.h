// SPDX-License-Identifier: GPL-2.0-or-later
// ResetEvent: a flag that threads wait on; it stays set until it is cleared (a manual-reset
// event).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class ResetEvent
{
public:
    explicit ResetEvent(bool set) : m_set(set) {}

    // Wakes the waiters while still holding the lock: whoever sees the flag set may destroy
    // the event at once, so nothing of Set may run after the lock is released.
    void Set()
    {
        std::lock_guard guard(m_lock);
        m_set = true;
        m_changed.notify_all();
    }
    void Clear()
    {
        std::lock_guard guard(m_lock);
        m_set = false;
    }
    bool IsSet() const
    {
        std::lock_guard guard(m_lock);
        return m_set;
    }
    void Wait()
    {
        std::unique_lock guard(m_lock);
        m_changed.wait(guard, [this] { return m_set; });
    }
    // True when the event was set within timeout.
    bool WaitFor(std::chrono::milliseconds timeout)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, timeout, [this] { return m_set; });
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_set;
};
