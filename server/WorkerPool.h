#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace fiscal {

// A fixed number of threads that run tasks in the order they come, with a bounded waiting line: a task that
// finds the line full is refused at once, so that its caller can say so instead of making a client wait.
class WorkerPool {
public:
    WorkerPool(int threads, std::size_t maxWaiting);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the line is full or the pool is finishing; the task is then not run.
    bool tryPost(std::function<void()> task);
    // Runs what is waiting, then joins the threads; later posts are refused. Safe to call twice.
    void finish();

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_waiting;
    std::size_t m_maxWaiting;
    bool m_finishing = false;
    std::vector<std::thread> m_threads;
};

} // namespace fiscal
