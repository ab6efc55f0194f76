#include "SignInThrottle.h"

#include <algorithm>

namespace fiscal {

namespace {

constexpr std::chrono::milliseconds firstDelay{500};
constexpr std::chrono::milliseconds longestDelay{16000};
constexpr std::chrono::minutes memory{15};
constexpr std::size_t addressesKept = 10000;

} // namespace

std::chrono::milliseconds SignInThrottle::refused(const std::string& address)
{
    const std::lock_guard lock(m_mutex);
    const Clock::time_point now = Clock::now();
    if (m_refusals.size() >= addressesKept)
        std::erase_if(m_refusals, [&](const auto& entry) { return now - entry.second.last > memory; });
    Refusals& refusals = m_refusals[address];
    if (now - refusals.last > memory)
        refusals.count = 0;
    refusals.last = now;
    const int doublings = std::min(refusals.count++, 5);
    return std::min(firstDelay * (1 << doublings), longestDelay);
}

void SignInThrottle::passed(const std::string& address)
{
    const std::lock_guard lock(m_mutex);
    m_refusals.erase(address);
}

} // namespace fiscal
