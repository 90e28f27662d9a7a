// SPDX-License-Identifier: GPL-3.0-or-later
// A dispatcher for tests: the thread that created it plays the user-interface thread. Work handed over from
// another thread waits in a queue until that thread calls pump(), so a test decides when deliveries happen.
#pragma once

#include "platform/dispatcher.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace karvo::platform {

class pumped_dispatcher final : public ui_dispatcher {
public:
    pumped_dispatcher();
    // Runs what is still queued, so that no worker stays blocked.
    ~pumped_dispatcher() override;
    pumped_dispatcher(const pumped_dispatcher&) = delete;
    pumped_dispatcher& operator=(const pumped_dispatcher&) = delete;

    // From the owning thread: runs at once. From another thread: queues the work and blocks until it has run; an
    // exception thrown by the work is rethrown to the caller.
    void run_and_wait(const std::function<void()>& work) override;

    // Runs every queued work item on the calling thread; returns how many ran.
    std::size_t pump();
    // Waits up to `timeout` for work to arrive, then pumps; returns how many ran.
    std::size_t pump_for(std::chrono::milliseconds timeout);
    std::size_t pending() const;

private:
    struct job {
        std::function<void()> work;
        bool done = false;
        std::exception_ptr error;
    };

    const std::thread::id owner_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<job>> queue_;
};

} // namespace karvo::platform
