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
      window_(static_cast<std::size_t>(policy.window > 0 ? policy.window : default_window)) {
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
        slots_.push_back({std::move(path), {}, {}, false});
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
        taken_ = 0;
    }
    work_ready_.notify_all();
    result_ready_.notify_all();
}

std::optional<read_ahead_result> read_ahead_pool::take_front() {
    slot front = std::move(slots_.front());
    slots_.pop_front();
    --taken_;
    ++delivered_;
    if (idle_workers_ > 0 && taken_ < slots_.size())
        work_ready_.notify_one(); // the window moved on
    if (front.error)
        std::rethrow_exception(front.error);
    return read_ahead_result{std::move(front.path), std::move(front.info)};
}

std::optional<read_ahead_result> read_ahead_pool::next() {
    std::unique_lock lock(mutex_);
    if (slots_.empty() || !slots_.front().done) {
        consumer_waiting_ = true;
        result_ready_.wait(lock, [this] { return cancelled_ || finished_locked() || front_run_ready(); });
        consumer_waiting_ = false;
    }
    if (cancelled_ || slots_.empty())
        return std::nullopt;
    return take_front();
}

std::optional<read_ahead_result> read_ahead_pool::try_next() {
    const std::lock_guard lock(mutex_);
    if (cancelled_ || slots_.empty() || !slots_.front().done)
        return std::nullopt;
    return take_front();
}

bool read_ahead_pool::front_run_ready() const {
    // A waiting consumer is woken for a few results at a time, not for each one: fewer switches between threads.
    const std::size_t want = std::min({batch_, slots_.size(), window_});
    if (want == 0)
        return false;
    for (std::size_t i = 0; i < want; ++i)
        if (!slots_[i].done)
            return false;
    return true;
}

bool read_ahead_pool::backlogged() const {
    const std::lock_guard lock(mutex_);
    return slots_.size() >= window_;
}

bool read_ahead_pool::finished() const {
    const std::lock_guard lock(mutex_);
    return cancelled_ || finished_locked();
}

void read_ahead_pool::finish_slot(std::unique_lock<std::mutex>& lock, std::size_t number, std::string info,
                                  std::exception_ptr error) {
    slot& s = slots_[number - delivered_];
    s.info = std::move(info);
    s.error = error;
    s.done = true;
    if (consumer_waiting_ && front_run_ready())
        result_ready_.notify_one();
    if (number == delivered_ && on_ready_) {
        lock.unlock();
        on_ready_();
        lock.lock();
    }
}

void read_ahead_pool::work() {
    std::unique_lock lock(mutex_);
    // A slot's position moves as the consumer pops the front, so a worker remembers its slot by absolute number.
    for (;;) {
        ++idle_workers_;
        work_ready_.wait(lock, [this] { return cancelled_ || may_take() || (closed_ && taken_ == slots_.size()); });
        --idle_workers_;
        if (cancelled_ || taken_ == slots_.size())
            return;
        if (stream_) {
            // The stream takes slots while it has room, and answers them in the order it took them.
            std::deque<std::size_t> given;
            const auto more = [&]() -> std::optional<std::string> {
                const std::lock_guard more_lock(mutex_);
                if (cancelled_ || !may_take())
                    return std::nullopt;
                given.push_back(delivered_ + taken_);
                return slots_[taken_++].path;
            };
            const auto answer = [&](std::string info) {
                std::unique_lock answer_lock(mutex_);
                const std::size_t number = given.front();
                given.pop_front();
                if (!cancelled_)
                    finish_slot(answer_lock, number, std::move(info), nullptr);
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
            for (const std::size_t number : given) // left unanswered by a stream that threw
                finish_slot(lock, number, {}, error ? error : std::make_exception_ptr(std::runtime_error("no answer")));
            continue;
        }
        const std::size_t number = delivered_ + taken_;
        std::string path = slots_[taken_].path;
        ++taken_;
        lock.unlock();
        std::string info;
        std::exception_ptr error;
        try {
            info = read_(path);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (cancelled_)
            return;
        finish_slot(lock, number, std::move(info), error);
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

} // namespace karvo
