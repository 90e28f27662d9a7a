// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Readahead/read_ahead_pool.h"

#include <algorithm>
#include <stdexcept>

namespace karvo {

int read_ahead_pool::default_threads() {
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(2 * hardware, 2, max_threads);
}

read_ahead_pool::read_ahead_pool(reader read, read_ahead_policy policy, ready_notice on_ready)
    : read_(std::move(read)), stream_(std::move(policy.stream)), on_ready_(std::move(on_ready)),
      window_(static_cast<std::size_t>(policy.window > 0 ? policy.window : default_window)),
      step_aside_(policy.step_aside) {
    const int threads = !policy.reentrant    ? 1
                        : policy.threads > 0 ? std::min(policy.threads, max_threads)
                                             : default_threads();
    workers_.reserve(static_cast<std::size_t>(threads));
    try {
        for (int i = 0; i < threads; ++i)
            workers_.emplace_back([this] { work(); });
    } catch (...) {
        cancel();
        for (std::thread& t : workers_)
            t.join();
        throw;
    }
}

read_ahead_pool::~read_ahead_pool() {
    cancel();
    for (std::thread& t : workers_)
        t.join();
}

void read_ahead_pool::push(std::string path) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        if (closed_ || cancelled_)
            return;
        slots_.push_back(std::make_shared<slot>(slot{std::move(path), {}, {}, false, {}}));
        wake = idle_workers_ > 0;
    }
    if (wake)
        work_ready_.notify_one();
}

void read_ahead_pool::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    work_ready_.notify_all();
    result_ready_.notify_all();
}

void read_ahead_pool::cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
        slots_.clear();
        aside_.clear();
        taken_ = 0;
    }
    work_ready_.notify_all();
    result_ready_.notify_all();
}

std::optional<read_ahead_result> read_ahead_pool::take_ready() {
    slot_ptr ready;
    if (const auto it = std::find_if(aside_.begin(), aside_.end(), [](const slot_ptr& s) { return s->done; });
        it != aside_.end()) {
        ready = *it;
        aside_.erase(it);
    } else {
        // Overdue fronts step aside until one is done or not overdue.
        while (step_aside_.count() > 0 && taken_ > 0 && !slots_.front()->done &&
               clock_type::now() - slots_.front()->taken >= step_aside_) {
            aside_.push_back(std::move(slots_.front()));
            slots_.pop_front();
            --taken_;
        }
        if (slots_.empty() || !slots_.front()->done)
            return std::nullopt;
        ready = std::move(slots_.front());
        slots_.pop_front();
        --taken_;
        if (idle_workers_ > 0 && may_take())
            work_ready_.notify_one(); // the window moved on
    }
    if (ready->error)
        std::rethrow_exception(ready->error);
    return read_ahead_result{std::move(ready->path), std::move(ready->info)};
}

std::optional<read_ahead_result> read_ahead_pool::next() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (cancelled_)
            return std::nullopt;
        if (auto result = take_ready())
            return result;
        if (finished_locked())
            return std::nullopt;
        consumer_waiting_ = true;
        if (step_aside_.count() > 0 && taken_ > 0)
            result_ready_.wait_until(lock, slots_.front()->taken + step_aside_);
        else
            result_ready_.wait(lock);
        consumer_waiting_ = false;
    }
}

std::optional<read_ahead_result> read_ahead_pool::try_next() {
    const std::lock_guard lock(mutex_);
    if (cancelled_)
        return std::nullopt;
    return take_ready();
}

bool read_ahead_pool::backlogged() const {
    const std::lock_guard lock(mutex_);
    return slots_.size() >= window_;
}

bool read_ahead_pool::finished() const {
    const std::lock_guard lock(mutex_);
    return cancelled_ || finished_locked();
}

read_ahead_pool::slot_ptr read_ahead_pool::take_slot() {
    slot_ptr s = slots_[taken_++];
    s->taken = clock_type::now();
    return s;
}

void read_ahead_pool::finish_slot(std::unique_lock<std::mutex>& lock, const slot_ptr& s, std::string info,
                                  std::exception_ptr error) {
    s->info = std::move(info);
    s->error = error;
    s->done = true;
    const bool deliverable = (!slots_.empty() && slots_.front() == s) ||
                             std::find(aside_.begin(), aside_.end(), s) != aside_.end();
    if (!deliverable)
        return;
    if (consumer_waiting_)
        result_ready_.notify_one();
    if (on_ready_) {
        lock.unlock();
        on_ready_();
        lock.lock();
    }
}

void read_ahead_pool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_workers_;
        work_ready_.wait(lock, [this] { return cancelled_ || may_take() || (closed_ && taken_ == slots_.size()); });
        --idle_workers_;
        if (cancelled_ || taken_ == slots_.size())
            return;
        if (stream_) {
            // The stream takes slots while it has room, and answers them in the order it took them.
            std::deque<slot_ptr> given;
            const auto more = [&]() -> std::optional<std::string> {
                const std::lock_guard more_lock(mutex_);
                if (cancelled_ || !may_take())
                    return std::nullopt;
                given.push_back(take_slot());
                return given.back()->path;
            };
            const auto answer = [&](std::string info) {
                std::unique_lock answer_lock(mutex_);
                const slot_ptr s = std::move(given.front());
                given.pop_front();
                if (!cancelled_)
                    finish_slot(answer_lock, s, std::move(info), nullptr);
            };
            lock.unlock();
            std::exception_ptr error;
            try {
                stream_(more, answer);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            if (cancelled_)
                return;
            for (const slot_ptr& s : given) // left unanswered by a stream that threw
                finish_slot(lock, s, {}, error ? error : std::make_exception_ptr(std::runtime_error("no answer")));
            continue;
        }
        const slot_ptr s = take_slot();
        lock.unlock();
        std::string info;
        std::exception_ptr error;
        try {
            info = read_(s->path);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (cancelled_)
            return;
        finish_slot(lock, s, std::move(info), error);
    }
}

void read_ahead_each(const std::vector<std::string>& paths, const read_ahead_pool::reader& read,
                     const read_ahead_policy& policy, const std::function<void(const read_ahead_result&)>& deliver) {
    read_ahead_pool pool(read, policy);
    for (const std::string& path : paths) {
        pool.push(path);
        while (pool.backlogged())
            if (auto result = pool.next())
                deliver(*result);
    }
    pool.close();
    while (auto result = pool.next())
        deliver(*result);
}

void read_ahead_some(const std::vector<std::string>& paths, const std::function<bool(std::size_t index)>& wanted,
                     const read_ahead_pool::reader& read, const read_ahead_policy& policy,
                     const std::function<bool(std::size_t index, std::string info)>& deliver) {
    read_ahead_pool pool(read, policy);
    std::size_t delivered = 0, pushed = 0;
    // Delivers up to `pushed` (with `all`, every path pushed; else only while the pool is backlogged).
    const auto drain = [&](bool all) {
        while (delivered < pushed) {
            if (!wanted(delivered)) {
                if (!deliver(delivered++, std::string()))
                    return false;
                continue;
            }
            if (!all && !pool.backlogged())
                return true;
            std::optional<read_ahead_result> result = pool.next();
            if (!result || !deliver(delivered++, std::move(result->info)))
                return false;
        }
        return true;
    };
    for (; pushed < paths.size();) {
        if (wanted(pushed))
            pool.push(paths[pushed]);
        ++pushed;
        if (!drain(false))
            return; // the pool's destructor cancels what is still being read
    }
    pool.close();
    drain(true);
}

} // namespace karvo
