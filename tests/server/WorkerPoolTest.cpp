#include "WorkerPool.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

// A task no thread takes before its deadline gets its expired action at the deadline, and never runs; one that a
// thread takes in time runs, and its expired action never does.
TEST(WorkerPool, ATaskWaitsForAThreadUntilItsDeadlineAndNoLonger)
{
    fiscal::WorkerPool pool(1, 10);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ASSERT_TRUE(pool.tryPost([released] { released.wait(); })); // the only thread is busy

    std::atomic<int> ran = 0, expired = 0;
    std::promise<std::chrono::steady_clock::time_point> expiredAt;
    const auto posted = std::chrono::steady_clock::now();
    ASSERT_TRUE(pool.tryPost([&] { ++ran; }, posted + 100ms,
                             [&] {
                                 ++expired;
                                 expiredAt.set_value(std::chrono::steady_clock::now());
                             }));
    ASSERT_TRUE(pool.tryPost([&] { ++ran; }, posted + 1h, [&] { ++expired; }));

    const auto when = expiredAt.get_future().get();
    EXPECT_GE(when - posted, 100ms);
    EXPECT_LT(when - posted, 1s) << "told at its deadline, not when a thread came free";
    release.set_value();
    pool.finish();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(expired, 1);
}
