#include "WorkerPool.h"

namespace fiscal {

WorkerPool::WorkerPool(int threads, std::size_t maxWaiting) : m_maxWaiting(maxWaiting)
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() { finish(); }

bool WorkerPool::tryPost(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_finishing || m_waiting.size() >= m_maxWaiting)
            return false;
        m_waiting.push_back(std::move(task));
    }
    m_wake.notify_one();
    return true;
}

void WorkerPool::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
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
            task = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        task();
    }
}

} // namespace fiscal
