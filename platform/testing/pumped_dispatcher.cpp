// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/pumped_dispatcher.h"

namespace karvo::platform {

pumped_dispatcher::pumped_dispatcher() : owner_(std::this_thread::get_id()) {}

pumped_dispatcher::~pumped_dispatcher() {
    pump();
}

void pumped_dispatcher::run_and_wait(const std::function<void()>& work) {
    if (std::this_thread::get_id() == owner_) {
        work();
        return;
    }
    auto item = std::make_shared<job>();
    item->work = work;
    std::unique_lock lock(mutex_);
    queue_.push_back(item);
    arrived_.notify_all();
    finished_.wait(lock, [&] { return item->done; });
    if (item->error)
        std::rethrow_exception(item->error);
}

std::size_t pumped_dispatcher::pump() {
    std::size_t ran = 0;
    for (;;) {
        std::shared_ptr<job> item;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return ran;
            item = queue_.front();
            queue_.pop_front();
        }
        try {
            item->work();
        } catch (...) {
            item->error = std::current_exception();
        }
        ++ran;
        {
            std::lock_guard lock(mutex_);
            item->done = true;
        }
        finished_.notify_all();
    }
}

std::size_t pumped_dispatcher::pump_for(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
    }
    return pump();
}

std::size_t pumped_dispatcher::pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

} // namespace karvo::platform
