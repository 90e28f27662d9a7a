// SPDX-License-Identifier: GPL-3.0-or-later
// A clock for the thread timer's tests: time moves only when the worker sleeps or spins, or when a test moves it.
// While held, the worker's sleeps wait (for real) until released, so a test can change the timer in a known state.
#pragma once

#include "components/Thrdunit/timer_clock.h"

#include <atomic>
#include <thread>
#include <vector>

namespace karvo::testing {

class fake_timer_clock final : public timer_clock {
public:
    explicit fake_timer_clock(std::chrono::microseconds spin_step = std::chrono::microseconds(300))
        : spin_step_(spin_step) {}

    time_point now() override { return time_point(std::chrono::nanoseconds(ns_.load())); }

    void sleep_until(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, time_point deadline,
                     const std::function<bool()>& stop) override {
        {
            std::lock_guard guard(record_lock_);
            sleeps_.push_back(deadline);
        }
        ++held_sleeps_;
        while (held_ && !stop())
            wake.wait_for(lock, std::chrono::milliseconds(1));
        --held_sleeps_;
        if (!stop())
            advance_to(deadline);
    }

    void spin() override { ns_ += std::chrono::nanoseconds(spin_step_).count(); }

    void advance(std::chrono::nanoseconds by) { ns_ += by.count(); }
    void hold() { held_ = true; }
    void release() { held_ = false; }
    // Waits (up to 30 s) until the worker sleeps while time is held; from then on it reads no time until woken.
    bool wait_for_held_sleep() {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (held_sleeps_ == 0) {
            if (std::chrono::steady_clock::now() > give_up)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    // Deadlines the worker asked to sleep until, in order.
    std::vector<time_point> sleeps() {
        std::lock_guard guard(record_lock_);
        return sleeps_;
    }

private:
    void advance_to(time_point t) {
        const auto target = t.time_since_epoch().count();
        auto current = ns_.load();
        while (current < target && !ns_.compare_exchange_weak(current, target)) {
        }
    }

    std::chrono::microseconds spin_step_;
    std::atomic<std::int64_t> ns_{0};
    std::atomic<bool> held_{true};
    std::atomic<int> held_sleeps_{0};
    std::mutex record_lock_;
    std::vector<time_point> sleeps_;
};

} // namespace karvo::testing
