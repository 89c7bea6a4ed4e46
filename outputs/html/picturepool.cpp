// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/picturepool.h"

#include <algorithm>

CPicturePool::CPicturePool(size_t count, int threads, Work work)
    : m_count(count), m_work(std::move(work))
{
    const int workers = std::max(1, threads);
    m_running = workers;
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { run(); });
}

CPicturePool::~CPicturePool()
{
    cancel();
}

void CPicturePool::run()
{
    for (;;) {
        size_t index = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_cancelled || (index = m_next++) >= m_count)
                break;
            ++m_started;
        }
        try {
            m_work(index);
        } catch (...) {
            // The work records its own failures; nothing may escape a worker thread.
        }
        std::lock_guard lock(m_mutex);
        m_finished.push_back(index);
        m_finishedSignal.notify_all();
    }
    std::lock_guard lock(m_mutex);
    --m_running;
    m_finishedSignal.notify_all();
}

std::optional<size_t> CPicturePool::waitNext(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_finishedSignal.wait_for(lock, timeout, [this] {
        return !m_finished.empty() || (m_running == 0 && m_handedOut == m_started);
    });
    if (m_finished.empty())
        return std::nullopt;
    const size_t index = m_finished.front();
    m_finished.pop_front();
    ++m_handedOut;
    return index;
}

bool CPicturePool::exhausted()
{
    std::lock_guard lock(m_mutex);
    return m_running == 0 && m_finished.empty();
}

void CPicturePool::cancel()
{
    m_cancelled = true;
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
}
