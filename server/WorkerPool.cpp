#include "WorkerPool.h"

#include <algorithm>

namespace fiscal {

WorkerPool::WorkerPool(int threads, std::size_t maxWaiting) : m_maxWaiting(maxWaiting)
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
    m_timekeeper = std::thread([this] { keepTime(); });
}

WorkerPool::~WorkerPool() { finish(); }

bool WorkerPool::tryPost(std::function<void()> task, Clock::time_point deadline, std::function<void()> expired)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_finishing || m_waiting.size() >= m_maxWaiting)
            return false;
        m_waiting.push_back({std::move(task), deadline, std::move(expired)});
    }
    m_wake.notify_one();
    if (deadline != Clock::time_point::max())
        m_clock.notify_one();
    return true;
}

void WorkerPool::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_wake.notify_all();
    m_clock.notify_all();
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
    if (m_timekeeper.joinable())
        m_timekeeper.join();
}

void WorkerPool::work()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_finishing || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            task = std::move(m_waiting.front().task);
            m_waiting.pop_front();
        }
        task();
    }
}

void WorkerPool::keepTime()
{
    std::unique_lock lock(m_mutex);
    while (!m_finishing) {
        const auto earliest =
            std::min_element(m_waiting.begin(), m_waiting.end(),
                             [](const Waiting& a, const Waiting& b) { return a.deadline < b.deadline; });
        const Clock::time_point next = earliest == m_waiting.end() ? Clock::time_point::max() : earliest->deadline;
        if (next == Clock::time_point::max())
            m_clock.wait(lock);
        else
            m_clock.wait_until(lock, next);
        std::vector<std::function<void()>> due;
        const Clock::time_point now = Clock::now();
        for (auto waiting = m_waiting.begin(); waiting != m_waiting.end();)
            if (waiting->deadline <= now && !m_finishing) {
                due.push_back(std::move(waiting->expired));
                waiting = m_waiting.erase(waiting);
            } else {
                ++waiting;
            }
        lock.unlock();
        for (const std::function<void()>& expired : due)
            if (expired)
                expired();
        lock.lock();
    }
}

} // namespace fiscal
