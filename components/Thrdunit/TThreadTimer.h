// SPDX-License-Identifier: GPL-3.0-or-later
// A non-visual timer that fires OnTimer at a fixed interval from a worker thread of its own. It runs at a chosen
// thread priority, keeps a schedule that does not drift, can make up for missed ticks, and runs the event either
// on the user-interface thread (SafeCall) or on the worker.
#pragma once

#include "components/Thrdunit/timer_clock.h"
#include "platform/dispatcher.h"

#include <functional>
#include <memory>
#include <thread>

namespace karvo {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TExactLowLevelTimerThread;

class TThreadTimer {
public:
    using TNotifyEvent = std::function<void(TThreadTimer& sender)>;

    // Creates the worker at once, running. `dispatcher` carries SafeCall events to the user-interface thread.
    explicit TThreadTimer(platform::ui_dispatcher& dispatcher, timer_clock& clock = steady_timer_clock());
    // Never waits for a worker that is itself waiting for the calling thread (destruction from inside OnTimer, or
    // while a SafeCall tick waits for the UI thread): such a worker is left to end on its own as soon as its tick
    // returns, and it fires nothing more. The dispatcher must therefore outlive it (see running_workers).
    ~TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    // Each setter does nothing when the value is unchanged.
    bool enabled() const;
    void set_enabled(bool value); // resumes or suspends the same worker thread
    int interval() const;
    void set_interval(int milliseconds); // kept, but values of 0 or less leave the worker's period as it was
    TThreadPriority priority() const;
    void set_priority(TThreadPriority value);
    bool force_follow_up() const;
    void set_force_follow_up(bool value);
    bool safe_call() const;
    void set_safe_call(bool value);

    void set_on_timer(TNotifyEvent handler);
    // Kept for owners that assign it; no tick calls it.
    void set_on_behind_schedule(TNotifyEvent handler);

    // Worker threads of all timers that have not ended yet; an owner that destroys its dispatcher waits for the
    // count to drop while the dispatcher still runs work.
    static int running_workers();

private:
    std::shared_ptr<TExactLowLevelTimerThread> worker_;
    std::thread thread_;
};

} // namespace karvo
