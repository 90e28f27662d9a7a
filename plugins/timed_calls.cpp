// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/timed_calls.h"

#include <condition_variable>
#include <exception>
#include <thread>

namespace karvo {

// One helper thread and its mailbox. The thread owns a share of the mailbox, so a given-up helper's state lives on
// until its call returns, whoever else has gone.
struct timed_calls::helper {
    std::mutex mutex;
    std::condition_variable wake;
    std::function<std::string()> job;
    std::string result;
    std::exception_ptr error;
    bool has_job = false;
    bool done = false;
    bool quit = false;
    std::thread thread;

    static void run(const std::shared_ptr<helper>& self) {
        std::unique_lock lock(self->mutex);
        for (;;) {
            self->wake.wait(lock, [&] { return self->has_job || self->quit; });
            if (self->quit)
                return;
            std::function<std::string()> job = std::move(self->job);
            self->has_job = false;
            lock.unlock();
            std::string result;
            std::exception_ptr error;
            try {
                result = job();
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            self->result = std::move(result);
            self->error = error;
            self->done = true;
            self->wake.notify_all();
        }
    }
};

timed_calls::~timed_calls() {
    std::vector<std::shared_ptr<helper>> idle;
    {
        std::lock_guard lock(mutex_);
        idle.swap(idle_);
    }
    for (const auto& h : idle) {
        {
            std::lock_guard lock(h->mutex);
            h->quit = true;
        }
        h->wake.notify_all();
        h->thread.join();
    }
}

std::shared_ptr<timed_calls::helper> timed_calls::take_helper() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto h = std::move(idle_.back());
            idle_.pop_back();
            return h;
        }
    }
    auto h = std::make_shared<helper>();
    h->thread = std::thread([h] { helper::run(h); });
    return h;
}

std::optional<std::string> timed_calls::call(std::function<std::string()> job) {
    struct counted {
        std::atomic<int>& count;
        explicit counted(std::atomic<int>& c) : count(c) { ++count; }
        ~counted() { --count; }
    } in_flight(in_flight_);
    const std::shared_ptr<helper> h = take_helper();
    std::unique_lock lock(h->mutex);
    h->job = std::move(job);
    h->has_job = true;
    h->done = false;
    h->wake.notify_all();
    if (!h->wake.wait_for(lock, limit_, [&] { return h->done; })) {
        // Given up: the helper ends when the call returns; the thread is not joined by anyone.
        h->quit = true;
        lock.unlock();
        h->thread.detach();
        ++given_up_;
        return std::nullopt;
    }
    std::string result = std::move(h->result);
    const std::exception_ptr error = h->error;
    lock.unlock();
    {
        std::lock_guard idle_lock(mutex_);
        idle_.push_back(h);
    }
    if (error)
        std::rethrow_exception(error);
    return result;
}

} // namespace karvo
