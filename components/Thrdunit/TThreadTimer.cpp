// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Thrdunit/TThreadTimer.h"

#include <algorithm>
#include <atomic>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace karvo {

namespace {

std::atomic<int> running_worker_count{0};

// Nice offsets from the process's own level; idle is a scheduling class of its own.
int nice_offset(TThreadPriority priority) {
    switch (priority) {
        case TThreadPriority::tpIdle: return 19;
        case TThreadPriority::tpLowest: return 10;
        case TThreadPriority::tpLower: return 5;
        case TThreadPriority::tpNormal: return 0;
        case TThreadPriority::tpHigher: return -5;
        case TThreadPriority::tpHighest: return -10;
        case TThreadPriority::tpTimeCritical: return -15;
    }
    return 0;
}

// Best effort: raising a priority needs privileges the program usually lacks, and a refusal is not an error.
void apply_priority(pthread_t thread, pid_t tid, TThreadPriority priority) {
    sched_param param{};
    param.sched_priority = 0;
    if (priority == TThreadPriority::tpIdle) {
        if (pthread_setschedparam(thread, SCHED_IDLE, &param) != 0)
            setpriority(PRIO_PROCESS, tid, 19);
        return;
    }
    pthread_setschedparam(thread, SCHED_OTHER, &param);
    const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), std::clamp(base + nice_offset(priority), -20, 19));
}

} // namespace

// The worker and every property of its timer, all guarded by one critical section. It is shared with the worker
// thread so that a thread left to end on its own never touches a destroyed timer.
class TExactLowLevelTimerThread : public std::enable_shared_from_this<TExactLowLevelTimerThread> {
public:
    using clock_time = timer_clock::time_point;

    TExactLowLevelTimerThread(TThreadTimer& owner, platform::ui_dispatcher& dispatcher, timer_clock& clock)
        : owner_(owner), dispatcher_(dispatcher), clock_(clock) {}

    void execute();

    TThreadTimer& owner_;
    platform::ui_dispatcher& dispatcher_;
    timer_clock& clock_;

    mutable std::mutex lock_;
    std::condition_variable wake_;

    // The component's properties; the worker reads the flags directly.
    bool enabled_ = true;
    int interval_ = 1000;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    bool follow_up_ = false;
    bool safe_call_ = true;
    TThreadTimer::TNotifyEvent on_timer_;
    TThreadTimer::TNotifyEvent on_behind_schedule_;

    // The worker's own state.
    int period_ = 1000; // the interval as last accepted (> 0)
    clock_time next_{};
    bool terminating_ = false;
    bool in_dispatch_ = false; // a SafeCall tick is waiting for the UI thread
    pthread_t thread_{};
    pid_t tid_ = 0; // 0 until the thread runs

private:
    void fire(std::unique_lock<std::mutex>& lock);
    void run_on_timer();
};

void TExactLowLevelTimerThread::execute() {
    using std::chrono::milliseconds;
    std::unique_lock lock(lock_);
    thread_ = pthread_self();
    tid_ = gettid();
    if (priority_ != TThreadPriority::tpNormal)
        apply_priority(thread_, tid_, priority_);

    next_ = clock_.now();
    milliseconds step{0};
    int last_period = 0;
    const auto interrupted = [this] { return terminating_ || !enabled_; };
    for (;;) {
        wake_.wait(lock, [this] { return terminating_ || enabled_; });
        if (terminating_)
            return;
        const int d = period_;
        if (d != last_period) {
            step = milliseconds(d);
            next_ = clock_.now() + step;
            last_period = d;
        }
        // Sleep to about a millisecond before the due time, then spin for precision.
        const clock_time now = clock_.now();
        const milliseconds wait = std::chrono::duration_cast<milliseconds>(next_ - now) - milliseconds(1);
        if (wait > milliseconds(0)) {
            clock_.sleep_until(lock, wake_, now + wait, interrupted);
            if (interrupted())
                continue;
        }
        const clock_time due = next_;
        lock.unlock();
        while (clock_.now() < due)
            clock_.spin();
        lock.lock();
        if (terminating_)
            return;
        if (!enabled_)
            continue; // disabled during the spin: the tick waits for the resume
        fire(lock);
        if (terminating_)
            return;
        // Steps from the previous due time, never from the firing time, so the schedule does not drift.
        next_ += step;
        // A suspended thread makes up for nothing; resuming decides where the schedule goes on.
        for (clock_time late = clock_.now(); enabled_ && late > next_; late = clock_.now()) {
            if (follow_up_) {
                fire(lock);
                if (terminating_)
                    return;
                next_ += step;
            } else {
                // Missed ticks are dropped and the phase is kept: jump to the first due time not before now.
                next_ += ((late - next_ + step - clock_time::duration(1)) / step) * step;
            }
        }
    }
}

// Both callbacks of the component call OnTimer, so a tick and a follow-up fire alike.
void TExactLowLevelTimerThread::fire(std::unique_lock<std::mutex>& lock) {
    if (terminating_ || !on_timer_)
        return;
    const bool safe = safe_call_;
    TThreadTimer::TNotifyEvent handler;
    if (!safe)
        handler = on_timer_;
    in_dispatch_ = safe;
    lock.unlock();
    try {
        if (safe)
            dispatcher_.run_and_wait([this] { run_on_timer(); });
        else
            handler(owner_);
    } catch (...) {
        // A failing handler must not end the timer, nor the program with it: the next tick comes as usual.
    }
    lock.lock();
    in_dispatch_ = false;
}

// Runs on the UI thread, possibly after the timer has begun to be destroyed: the flag tells.
void TExactLowLevelTimerThread::run_on_timer() {
    TThreadTimer::TNotifyEvent handler;
    {
        std::lock_guard guard(lock_);
        if (terminating_)
            return;
        handler = on_timer_;
    }
    if (handler)
        handler(owner_);
}

TThreadTimer::TThreadTimer(platform::ui_dispatcher& dispatcher, timer_clock& clock)
    : worker_(std::make_shared<TExactLowLevelTimerThread>(*this, dispatcher, clock)) {
    ++running_worker_count;
    thread_ = std::thread([worker = worker_]() mutable {
        worker->execute();
        worker.reset();
        --running_worker_count;
    });
}

TThreadTimer::~TThreadTimer() {
    bool waits_for_caller = false;
    {
        std::lock_guard guard(worker_->lock_);
        worker_->terminating_ = true;
        worker_->on_timer_ = nullptr;
        worker_->on_behind_schedule_ = nullptr;
        // Once terminating is set no new SafeCall tick starts, so this answer cannot go stale.
        waits_for_caller = worker_->in_dispatch_ || std::this_thread::get_id() == thread_.get_id();
    }
    worker_->wake_.notify_all();
    if (waits_for_caller)
        thread_.detach();
    else
        thread_.join();
}

int TThreadTimer::running_workers() {
    return running_worker_count.load();
}

bool TThreadTimer::enabled() const {
    std::lock_guard guard(worker_->lock_);
    return worker_->enabled_;
}

void TThreadTimer::set_enabled(bool value) {
    {
        std::lock_guard guard(worker_->lock_);
        auto& w = *worker_;
        if (w.enabled_ == value)
            return;
        w.enabled_ = value;
        // Resuming with follow-up starts the schedule afresh rather than making up for the whole pause.
        if (value && w.follow_up_)
            w.next_ = w.clock_.now();
    }
    worker_->wake_.notify_all();
}

int TThreadTimer::interval() const {
    std::lock_guard guard(worker_->lock_);
    return worker_->interval_;
}

void TThreadTimer::set_interval(int milliseconds) {
    std::lock_guard guard(worker_->lock_);
    if (worker_->interval_ == milliseconds)
        return;
    worker_->interval_ = milliseconds;
    // The worker picks the new period up at its next round.
    if (milliseconds > 0)
        worker_->period_ = milliseconds;
}

TThreadPriority TThreadTimer::priority() const {
    std::lock_guard guard(worker_->lock_);
    return worker_->priority_;
}

void TThreadTimer::set_priority(TThreadPriority value) {
    std::lock_guard guard(worker_->lock_);
    if (worker_->priority_ == value)
        return;
    worker_->priority_ = value;
    // Before the thread runs it applies the priority itself.
    if (worker_->tid_ != 0)
        apply_priority(worker_->thread_, worker_->tid_, value);
}

bool TThreadTimer::force_follow_up() const {
    std::lock_guard guard(worker_->lock_);
    return worker_->follow_up_;
}

void TThreadTimer::set_force_follow_up(bool value) {
    std::lock_guard guard(worker_->lock_);
    if (worker_->follow_up_ == value)
        return;
    worker_->follow_up_ = value;
}

bool TThreadTimer::safe_call() const {
    std::lock_guard guard(worker_->lock_);
    return worker_->safe_call_;
}

void TThreadTimer::set_safe_call(bool value) {
    std::lock_guard guard(worker_->lock_);
    if (worker_->safe_call_ == value)
        return;
    worker_->safe_call_ = value;
}

void TThreadTimer::set_on_timer(TNotifyEvent handler) {
    std::lock_guard guard(worker_->lock_);
    worker_->on_timer_ = std::move(handler);
}

void TThreadTimer::set_on_behind_schedule(TNotifyEvent handler) {
    std::lock_guard guard(worker_->lock_);
    worker_->on_behind_schedule_ = std::move(handler);
}

} // namespace karvo
