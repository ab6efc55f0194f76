#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace fiscal {

// How long the answer to a refused sign-in from an address is held back: half a second, doubled with every refusal in
// a row from that address, 16 s at most; forgotten at a sign-in that passes or after a quarter of an hour without
// refusals. Guessing passwords from one address thus slows down fast, while a mistyped password costs a moment.
class SignInThrottle {
public:
    std::chrono::milliseconds refused(const std::string& address);
    void passed(const std::string& address);

private:
    using Clock = std::chrono::steady_clock;
    struct Refusals {
        int count = 0;
        Clock::time_point last;
    };

    std::mutex m_mutex;
    std::unordered_map<std::string, Refusals> m_refusals;
};

} // namespace fiscal
