// SPDX-License-Identifier: GPL-3.0-or-later
// The time source of the thread timer: a monotonic clock that the worker reads, sleeps on and spins against.
// Tests put a fake clock in its place so that schedules are checked without waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace karvo {

class timer_clock {
public:
    using time_point = std::chrono::steady_clock::time_point;

    virtual ~timer_clock() = default;
    virtual time_point now() = 0;
    // Sleeps until `deadline`, or less when `wake` is notified and `stop()` holds. `lock` holds wake's mutex on
    // entry and on return.
    virtual void sleep_until(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, time_point deadline,
                             const std::function<bool()>& stop) = 0;
    // One turn of the wait through the last millisecond before a due time.
    virtual void spin() = 0;
};

// The steady clock of the system.
timer_clock& steady_timer_clock();

} // namespace karvo
