// SPDX-License-Identifier: GPL-3.0-or-later
// Runs calls into a plug-in on helper threads and waits for each at most a time limit. A call that overruns keeps
// its thread, which is given up: nothing joins it, and it ends by itself if the call ever returns. The caller is
// never held longer than the limit.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace karvo {

class timed_calls {
public:
    explicit timed_calls(std::chrono::milliseconds limit) : limit_(limit) {}
    ~timed_calls(); // ends the idle helpers; given-up ones are left running
    timed_calls(const timed_calls&) = delete;
    timed_calls& operator=(const timed_calls&) = delete;

    void set_limit(std::chrono::milliseconds limit) { limit_ = limit; }
    std::chrono::milliseconds limit() const { return limit_; }

    // The call's result, or nullopt when it did not return within the limit. An exception it throws rethrows here.
    std::optional<std::string> call(std::function<std::string()> job);
    // Calls given up so far (each still holds its thread, possibly inside the plug-in).
    int given_up() const { return given_up_.load(); }
    // Calls waited for right now.
    int in_flight() const { return in_flight_.load(); }

private:
    struct helper;
    std::shared_ptr<helper> take_helper();

    std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<helper>> idle_;
    std::atomic<int> given_up_{0};
    std::atomic<int> in_flight_{0};
};

} // namespace karvo
