#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace fiscal {

// A fixed number of threads that run tasks in the order they come. A task waits for a thread until its deadline at
// most: past it, its expired action runs instead, at that moment (on the pool's own timekeeping thread), so that its
// caller hears at once that no thread could take it in time. The waiting line is bounded as well, as a last guard:
// a task that finds it full is refused at once.
class WorkerPool {
public:
    using Clock = std::chrono::steady_clock;

    WorkerPool(int threads, std::size_t maxWaiting);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the line is full or the pool is finishing; neither task nor expired then runs.
    bool tryPost(std::function<void()> task, Clock::time_point deadline = Clock::time_point::max(),
                 std::function<void()> expired = {});
    // Runs what is waiting, then joins the threads; later posts are refused. Safe to call twice.
    void finish();

private:
    struct Waiting {
        std::function<void()> task;
        Clock::time_point deadline;
        std::function<void()> expired;
    };

    void work();
    void keepTime();

    std::mutex m_mutex;
    std::condition_variable m_wake;  // the workers: a task came, or the pool finishes
    std::condition_variable m_clock; // the timekeeper: an earlier deadline came, or the pool finishes
    std::deque<Waiting> m_waiting;
    std::size_t m_maxWaiting;
    bool m_finishing = false;
    std::vector<std::thread> m_threads;
    std::thread m_timekeeper;
};

} // namespace fiscal
