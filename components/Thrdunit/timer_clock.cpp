// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Thrdunit/timer_clock.h"

#include <thread>

namespace karvo {

namespace {
class steady_clock_source final : public timer_clock {
public:
    time_point now() override { return std::chrono::steady_clock::now(); }
    void sleep_until(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, time_point deadline,
                     const std::function<bool()>& stop) override {
        wake.wait_until(lock, deadline, stop);
    }
    void spin() override { std::this_thread::yield(); }
};
} // namespace

timer_clock& steady_timer_clock() {
    static steady_clock_source clock;
    return clock;
}

} // namespace karvo
