// SPDX-License-Identifier: GPL-3.0-or-later
// The thread timer: its schedule on a fake clock (no drift, missed ticks, interval changes, suspend and resume),
// and on the real clock the thread the event runs on, the priority and destruction in every state.

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <sched.h>
#include <sys/resource.h>
#include <vector>

#include "components/Thrdunit/TThreadTimer.h"
#include "platform/testing/pumped_dispatcher.h"
#include "tests/components/thread_timer_fake_clock.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;
using testing::fake_timer_clock;

double at_ms(timer_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t.time_since_epoch()).count();
}

// Expects each call to come at its due time (in ms) or less than 2 ms after it; that is the spin's precision on
// the fake clock, while a drifting schedule or a wrong phase is off by much more.
void expect_calls_at(const std::vector<double>& calls, const std::vector<double>& due) {
    ASSERT_EQ(calls.size(), due.size());
    for (std::size_t i = 0; i < due.size(); ++i) {
        EXPECT_GE(calls[i], due[i]) << "call " << i;
        EXPECT_LT(calls[i], due[i] + 2.0) << "call " << i;
    }
}

// A timer on the fake clock with its event on the worker. The clock starts held, so the timer is set up before
// time runs; `act(index)` runs inside OnTimer, and the timer disables itself after `calls_wanted` calls.
class fake_clock_run {
public:
    fake_clock_run(std::size_t calls_wanted, std::function<void(std::size_t)> act = {})
        : wanted_(calls_wanted), act_(std::move(act)) {
        timer.set_safe_call(false);
        timer.set_on_timer([this](TThreadTimer& sender) { on_timer(sender); });
    }

    std::vector<double> run() {
        clock.release();
        return wait();
    }

    std::vector<double> wait() {
        EXPECT_EQ(finished_.get_future().wait_for(30s), std::future_status::ready);
        std::lock_guard guard(lock_);
        return calls_;
    }

    std::vector<std::thread::id> threads() {
        std::lock_guard guard(lock_);
        return threads_;
    }

    fake_timer_clock clock;
    platform::pumped_dispatcher dispatcher;
    TThreadTimer timer{dispatcher, clock};

private:
    void on_timer(TThreadTimer& sender) {
        std::size_t index;
        {
            std::lock_guard guard(lock_);
            if (calls_.size() == wanted_)
                return;
            index = calls_.size();
            calls_.push_back(at_ms(clock.now()));
            threads_.push_back(std::this_thread::get_id());
        }
        if (act_)
            act_(index);
        if (index + 1 == wanted_) {
            sender.set_enabled(false);
            finished_.set_value();
        }
    }

    std::size_t wanted_;
    std::function<void(std::size_t)> act_;
    std::mutex lock_;
    std::vector<double> calls_;
    std::vector<std::thread::id> threads_;
    std::promise<void> finished_;
};

// Each handler takes 30 ms: the schedule still steps from the due times, and every sleep ends 1-2 ms before its
// due time, the rest being spun.
TEST(ThreadTimer, schedule_does_not_drift_and_sleeps_to_just_before_the_due_time) {
    fake_clock_run r(5, [&](std::size_t) { r.clock.advance(30ms); });
    expect_calls_at(r.run(), {1000, 2000, 3000, 4000, 5000});

    const auto sleeps = r.clock.sleeps();
    ASSERT_GE(sleeps.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const double before_due = 1000.0 * static_cast<double>(i + 1) - at_ms(sleeps[i]);
        EXPECT_GE(before_due, 1.0) << "sleep " << i;
        EXPECT_LT(before_due, 2.0) << "sleep " << i;
    }
}

// The second call returns 3.5 s late, past the due times 3000, 4000 and 5000.
TEST(ThreadTimer, missed_ticks_are_dropped_or_followed_up) {
    struct follow_up_case {
        bool follow_up;
        std::vector<double> due;
    };
    const std::vector<follow_up_case> cases = {
        {false, {1000, 2000, 6000, 7000}},
        {true, {1000, 2000, 5500, 5500, 5500, 6000, 7000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.follow_up ? "follow-up" : "no follow-up");
        fake_clock_run r(c.due.size(), [&](std::size_t i) {
            if (i == 1)
                r.clock.advance(3500ms);
        });
        r.timer.set_force_follow_up(c.follow_up);
        expect_calls_at(r.run(), c.due);
    }
}

// The interval is changed inside the second call, at 2000 ms.
TEST(ThreadTimer, interval_changes_take_effect_and_values_below_one_are_ignored) {
    struct interval_case {
        int interval;
        std::vector<double> due;
    };
    const std::vector<interval_case> cases = {
        {250, {1000, 2000, 2250, 2500, 2750}},
        {0, {1000, 2000, 3000, 4000, 5000}},
        {-5, {1000, 2000, 3000, 4000, 5000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        fake_clock_run r(c.due.size(), [&](std::size_t i) {
            if (i == 1)
                r.timer.set_interval(c.interval);
        });
        expect_calls_at(r.run(), c.due);
        EXPECT_EQ(r.timer.interval(), c.interval) << "the component keeps the value it was given";
    }
}

// Disabled after the second call, 10.5 s pass, then enabled again. The overdue tick comes at once; with
// follow-up the schedule starts afresh from the resume, without it the old phase is kept. One thread throughout.
TEST(ThreadTimer, disabling_suspends_and_enabling_resumes_the_same_thread) {
    struct resume_case {
        bool follow_up;
        std::vector<double> due;
    };
    const std::vector<resume_case> cases = {
        {false, {1000, 2000, 12500, 13000}},
        {true, {1000, 2000, 12500, 13500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.follow_up ? "follow-up" : "no follow-up");
        std::promise<void> second_call;
        fake_clock_run r(c.due.size(), [&](std::size_t i) {
            if (i != 1)
                return;
            r.clock.hold();
            second_call.set_value();
        });
        r.timer.set_force_follow_up(c.follow_up);
        r.clock.release();
        ASSERT_EQ(second_call.get_future().wait_for(30s), std::future_status::ready);
        ASSERT_TRUE(r.clock.wait_for_held_sleep());
        r.timer.set_enabled(false);
        EXPECT_FALSE(r.timer.enabled());
        r.clock.advance(10500ms);
        r.clock.release();
        r.timer.set_enabled(true);
        expect_calls_at(r.wait(), c.due);
        const auto threads = r.threads();
        for (const auto& id : threads)
            EXPECT_EQ(id, threads.front());
    }
}

// Real-clock helpers: the test thread plays the user-interface thread and pumps the dispatcher while it waits.
bool pump_until(platform::pumped_dispatcher& dispatcher, const std::function<bool()>& done) {
    const auto give_up = std::chrono::steady_clock::now() + 30s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up)
            return false;
        dispatcher.pump_for(1ms);
    }
    return true;
}

bool workers_ended(platform::pumped_dispatcher& dispatcher, int before) {
    return pump_until(dispatcher, [&] { return TThreadTimer::running_workers() == before; });
}

TEST(ThreadTimer, safe_call_decides_which_thread_runs_the_event) {
    for (const bool safe_call : {true, false}) {
        SCOPED_TRACE(safe_call ? "safe call" : "direct call");
        const int before = TThreadTimer::running_workers();
        platform::pumped_dispatcher dispatcher;
        std::mutex lock;
        std::vector<std::thread::id> threads;
        {
            TThreadTimer timer(dispatcher);
            EXPECT_TRUE(timer.safe_call()) << "safe call is the default";
            timer.set_safe_call(safe_call);
            timer.set_interval(5);
            timer.set_on_timer([&](TThreadTimer&) {
                std::lock_guard guard(lock);
                threads.push_back(std::this_thread::get_id());
            });
            ASSERT_TRUE(pump_until(dispatcher, [&] {
                std::lock_guard guard(lock);
                return threads.size() >= 3;
            }));
        }
        EXPECT_TRUE(workers_ended(dispatcher, before));
        std::lock_guard guard(lock);
        for (const auto& id : threads)
            EXPECT_EQ(id == std::this_thread::get_id(), safe_call);
    }
}

// A handler that throws (on the worker, or on the UI thread and handed back) neither ends the program nor the ticks.
TEST(ThreadTimer, a_throwing_handler_does_not_stop_the_ticks) {
    for (const bool safe_call : {true, false}) {
        SCOPED_TRACE(safe_call ? "safe call" : "direct call");
        const int before = TThreadTimer::running_workers();
        platform::pumped_dispatcher dispatcher;
        std::atomic<int> calls{0};
        {
            TThreadTimer timer(dispatcher);
            timer.set_safe_call(safe_call);
            timer.set_interval(5);
            timer.set_on_timer([&](TThreadTimer&) {
                if (++calls == 1)
                    throw std::runtime_error("handler failed");
            });
            EXPECT_TRUE(pump_until(dispatcher, [&] { return calls >= 3; }));
        }
        EXPECT_TRUE(workers_ended(dispatcher, before));
    }
}

TEST(ThreadTimer, idle_priority_puts_the_worker_in_the_idle_class) {
    platform::pumped_dispatcher dispatcher;
    std::promise<bool> idle;
    bool answered = false;
    TThreadTimer timer(dispatcher);
    timer.set_safe_call(false);
    timer.set_priority(TThreadPriority::tpIdle);
    EXPECT_EQ(timer.priority(), TThreadPriority::tpIdle);
    timer.set_interval(5);
    timer.set_on_timer([&](TThreadTimer&) {
        if (answered)
            return;
        answered = true;
        idle.set_value(sched_getscheduler(0) == SCHED_IDLE || getpriority(PRIO_PROCESS, 0) == 19);
    });
    auto result = idle.get_future();
    ASSERT_EQ(result.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(result.get());
}

// Whatever state the worker is in, destruction returns, no event fires afterwards and the worker ends.
TEST(ThreadTimer, destruction_never_waits_forever_and_leaves_no_thread) {
    struct destroy_case {
        const char* name;
        bool safe_call;
        int interval;
        // Destroys `timer` at the chosen moment; the test thread pumps the dispatcher meanwhile.
        std::function<void(std::unique_ptr<TThreadTimer>& timer, platform::pumped_dispatcher& dispatcher,
                           std::atomic<int>& calls)>
            destroy;
    };
    const auto destroy_now = [](std::unique_ptr<TThreadTimer>& timer, platform::pumped_dispatcher&, std::atomic<int>&) {
        timer.reset();
    };
    const auto destroy_in_handler = [](std::unique_ptr<TThreadTimer>& timer, platform::pumped_dispatcher& dispatcher,
                                       std::atomic<int>& calls) {
        std::atomic<bool> destroyed{false};
        timer->set_on_timer([&](TThreadTimer&) {
            ++calls;
            timer.reset();
            destroyed = true;
        });
        ASSERT_TRUE(pump_until(dispatcher, [&] { return destroyed.load(); }));
    };
    const std::vector<destroy_case> cases = {
        {"sleeping through a long interval", true, 600000, destroy_now},
        {"suspended", true, 5,
         [](std::unique_ptr<TThreadTimer>& timer, platform::pumped_dispatcher&, std::atomic<int>&) {
             timer->set_enabled(false);
             timer.reset();
         }},
        {"inside its handler on the worker", false, 5, destroy_in_handler},
        {"inside its handler on the UI thread", true, 5, destroy_in_handler},
        // The tick waits for the very thread that destroys the timer; the tick handed over must then do nothing.
        {"while a tick waits for the UI thread", true, 5,
         [](std::unique_ptr<TThreadTimer>& timer, platform::pumped_dispatcher& dispatcher, std::atomic<int>& calls) {
             timer->set_on_timer([&](TThreadTimer&) { ++calls; });
             const auto give_up = std::chrono::steady_clock::now() + 30s;
             while (dispatcher.pending() == 0 && std::chrono::steady_clock::now() < give_up)
                 std::this_thread::sleep_for(1ms);
             ASSERT_EQ(dispatcher.pending(), 1u);
             timer.reset();
             dispatcher.pump();
             EXPECT_EQ(calls.load(), 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = TThreadTimer::running_workers();
        platform::pumped_dispatcher dispatcher;
        std::atomic<int> calls{0};
        auto timer = std::make_unique<TThreadTimer>(dispatcher);
        timer->set_safe_call(c.safe_call);
        timer->set_interval(c.interval);
        EXPECT_EQ(TThreadTimer::running_workers(), before + 1);
        c.destroy(timer, dispatcher, calls);
        EXPECT_EQ(timer, nullptr);
        EXPECT_TRUE(workers_ended(dispatcher, before));
        EXPECT_LE(calls.load(), 1) << "no event after destruction";
    }
}

} // namespace
} // namespace karvo
