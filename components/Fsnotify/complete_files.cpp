// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fsnotify/complete_files.h"

#include <sys/stat.h>

#include <algorithm>

namespace karvo {
namespace {

long long nanoseconds(const struct timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

} // namespace

complete_files::complete_files(std::chrono::milliseconds settle, std::function<void()> wake)
    : settle_(settle), wake_(std::move(wake)) {}

void complete_files::created(const std::string& path) {
    std::lock_guard guard(lock_);
    closed_.erase(path);
    growing_.try_emplace(path, growing{-1, -1, clock::now(), true});
}

void complete_files::closed(const std::string& path) {
    std::lock_guard guard(lock_);
    growing_.erase(path);
    closed_.insert(path);
    changed_.insert(path);
}

void complete_files::removed(const std::string& path) {
    std::lock_guard guard(lock_);
    growing_.erase(path);
    closed_.erase(path);
    changed_.erase(path);
}

std::chrono::milliseconds complete_files::close_wait() const {
    // A link made into the folder is created without an open, so no close follows it.
    return std::max(settle_ * 30, std::chrono::milliseconds(30000));
}

std::vector<std::string> complete_files::changed() const {
    std::lock_guard guard(lock_);
    return {changed_.begin(), changed_.end()};
}

bool complete_files::any_growing() const {
    std::lock_guard guard(lock_);
    return !growing_.empty();
}

bool complete_files::settle(clock::time_point now) {
    std::lock_guard guard(lock_);
    bool settled = false;
    for (auto it = growing_.begin(); it != growing_.end();) {
        struct stat st {};
        if (::stat(it->first.c_str(), &st) != 0) { // gone: its removal is reported on its own
            it = growing_.erase(it);
            continue;
        }
        growing& g = it->second;
        const long long changed = nanoseconds(st.st_ctim);
        if (st.st_size != g.size || changed != g.changed_ns) {
            g = growing{st.st_size, changed, now, g.seen_created};
        } else if (now - g.since >= (g.seen_created ? close_wait() : settle_)) {
            closed_.insert(it->first);
            it = growing_.erase(it);
            settled = true;
            continue;
        }
        ++it;
    }
    return settled;
}

void complete_files::scanned() {
    std::lock_guard guard(lock_);
    closed_.clear();
    changed_.clear();
}

bool complete_files::is_complete(const std::string& path) {
    {
        std::lock_guard guard(lock_);
        if (growing_.count(path) != 0)
            return false;
        if (closed_.erase(path) != 0)
            return true;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return false;
        // The change time, not the modification time: a copy that keeps the source's times still moves it.
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const long long age_ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - nanoseconds(st.st_ctim);
        if (age_ns >= std::chrono::duration_cast<std::chrono::nanoseconds>(settle_).count())
            return true;
        growing_[path] = growing{st.st_size, nanoseconds(st.st_ctim), clock::now()};
    }
    if (wake_)
        wake_();
    return false;
}

} // namespace karvo
