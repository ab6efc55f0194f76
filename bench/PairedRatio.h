#pragma once

// A ratio that machine load does not swing: each iteration runs the measured call and then its floor, and the
// ratio reported is the median of the per-pair ratios, so that both sides of a pair meet the same load.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace bench {

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Sets the counters "ratio" (median of measured/floor per pair), "measured_ms" and "floor_ms" (medians).
template <class Measured, class Floor>
void measurePairs(benchmark::State& state, Measured measured, Floor floor)
{
    using Clock = std::chrono::steady_clock;
    const auto timed = [](auto& action) {
        const Clock::time_point start = Clock::now();
        action();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    std::vector<double> ratios, measuredMs, floorMs;
    for (auto _ : state) {
        measuredMs.push_back(timed(measured));
        floorMs.push_back(timed(floor));
        ratios.push_back(measuredMs.back() / floorMs.back());
    }
    state.counters["ratio"] = median(ratios);
    state.counters["measured_ms"] = median(measuredMs);
    state.counters["floor_ms"] = median(floorMs);
}

} // namespace bench
