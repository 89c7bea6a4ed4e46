// SPDX-License-Identifier: GPL-2.0-or-later
// CPicturePool: runs one piece of work per photo on a few worker threads while the thread that
// made it waits for finished photos (and reports progress, which pumps the user interface).
// Cancelling lets the photos under way finish and starts no new ones; nothing is cut off
// half-way, so no half-written picture is left behind.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CPicturePool
{
public:
    using Work = std::function<void(size_t index)>;

    // Starts threads workers (at least 1) over the indexes 0..count-1.
    CPicturePool(size_t count, int threads, Work work);
    // Cancels and waits for the workers.
    ~CPicturePool();
    CPicturePool(const CPicturePool&) = delete;
    CPicturePool& operator=(const CPicturePool&) = delete;

    // The next finished index, waiting up to timeout; nothing on time-out or once every
    // started piece of work has been handed out.
    std::optional<size_t> waitNext(std::chrono::milliseconds timeout);
    // True once every piece of work that will run has finished and been handed out.
    bool exhausted();
    // No new work starts; returns after the running pieces finish.
    void cancel();

private:
    void run();

    const size_t m_count;
    Work m_work;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    std::condition_variable m_finishedSignal;
    std::deque<size_t> m_finished;
    size_t m_started = 0;   // under m_mutex
    size_t m_handedOut = 0; // under m_mutex
    int m_running = 0;      // workers still looping, under m_mutex
    std::vector<std::thread> m_threads;
};
