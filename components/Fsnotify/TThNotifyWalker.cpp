// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fsnotify/TThNotifyWalker.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "components/Fsnotify/TFSNotify.h"
#include "platform/directory_reader.h"

namespace karvo {
namespace {

using steady = std::chrono::steady_clock;

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool wants(unsigned filters, unsigned kinds) {
    return (filters & kinds) != 0;
}

} // namespace

TThNotifyWalker::TThNotifyWalker(settings s, events e, platform::ui_dispatcher& dispatcher)
    : settings_(std::move(s)), root_(without_trailing_slash(settings_.path)), events_(std::move(e)),
      dispatcher_(dispatcher), files_(std::chrono::milliseconds(settings_.settle_ms), [this] { wake(); }),
      wake_fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

TThNotifyWalker::~TThNotifyWalker() {
    if (inotify_ >= 0)
        ::close(inotify_);
    if (wake_fd_ >= 0)
        ::close(wake_fd_);
}

void TThNotifyWalker::wake() {
    const std::uint64_t one = 1;
    if (wake_fd_ >= 0)
        static_cast<void>(::write(wake_fd_, &one, sizeof one) == sizeof one);
}

bool TThNotifyWalker::terminating() const {
    std::lock_guard guard(lock_);
    return terminating_;
}

bool TThNotifyWalker::Terminate() {
    bool waits;
    {
        std::lock_guard guard(lock_);
        terminating_ = true;
        waits = in_dispatch_;
    }
    wake();
    return waits;
}

void TThNotifyWalker::WaitUntilWatching() {
    std::unique_lock guard(lock_);
    watching_set_.wait(guard, [this] { return watching_; });
}

// Once terminating is set no delivery starts, so Terminate's answer about waiting cannot go stale.
void TThNotifyWalker::deliver(const std::function<void()>& event) {
    if (!event)
        return;
    {
        std::lock_guard guard(lock_);
        if (terminating_)
            return;
        in_dispatch_ = true;
    }
    try {
        dispatcher_.run_and_wait([this, &event] {
            if (!terminating())
                event();
        });
    } catch (...) {
        // A failing handler must not end the watch.
    }
    std::lock_guard guard(lock_);
    in_dispatch_ = false;
}

std::uint32_t TThNotifyWalker::kernel_mask() const {
    // Names and closes are always needed: they keep the sub-tree watched and tell when a new file is complete.
    std::uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE_SELF |
                         IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
    if (wants(settings_.filters, cAttributes | cSecurity))
        mask |= IN_ATTRIB;
    if (wants(settings_.filters, cSize | cLastWrite))
        mask |= IN_MODIFY;
    return mask;
}

int TThNotifyWalker::watch_folder(const std::string& folder) {
    const bool known = watches_.count(folder) != 0;
    const auto exhausted = [&] {
        if (!limit_reported_ && limit_folder_.empty())
            limit_folder_ = folder;
        return -1;
    };
    if (!known && settings_.watch_budget != 0 && folders_.size() >= settings_.watch_budget)
        return exhausted();
    const int wd = ::inotify_add_watch(inotify_, folder.c_str(), kernel_mask());
    if (wd < 0)
        return errno == ENOSPC ? exhausted() : -1;
    const auto [at, added] = folders_.try_emplace(wd, folder);
    if (!added && at->second != folder) { // the same folder by a new path: moved while events were lost
        watches_.erase(at->second);
        at->second = folder;
    }
    watches_[folder] = wd;
    watched_count_.store(folders_.size());
    return wd;
}

int TThNotifyWalker::watch_tree(const std::string& folder, std::unordered_set<int>& visited) {
    if (terminating())
        return -1;
    const int wd = watch_folder(folder);
    if (wd < 0 || !visited.insert(wd).second || !settings_.sub_tree)
        return wd;
    platform::directory_reader reader(folder);
    while (reader.next()) {
        // The scans never enter dot folders, so they need no watch either.
        if (reader.kind() != platform::entry_kind::directory || reader.name().front() == '.')
            continue;
        watch_tree(folder + "/" + std::string(reader.name()), visited);
    }
    return wd;
}

void TThNotifyWalker::watch_tree(const std::string& folder) {
    std::unordered_set<int> visited;
    watch_tree(folder, visited);
}

void TThNotifyWalker::forget_tree(const std::string& folder) {
    const std::string below = folder + "/";
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (it->second == folder || it->second.starts_with(below)) {
            ::inotify_rm_watch(inotify_, it->first);
            watches_.erase(it->second);
            it = folders_.erase(it);
        } else {
            ++it;
        }
    }
    watched_count_.store(folders_.size());
}

void TThNotifyWalker::handle(const inotify_event& e, bool& changed) {
    const unsigned filters = settings_.filters;
    if ((e.mask & IN_Q_OVERFLOW) != 0) {
        overflowed_ = true;
        changed = true;
        return;
    }
    const auto it = folders_.find(e.wd);
    if (it == folders_.end())
        return;
    if ((e.mask & IN_IGNORED) != 0) {
        if (e.wd == root_wd_)
            root_wd_ = -1;
        watches_.erase(it->second);
        folders_.erase(it);
        watched_count_.store(folders_.size());
        return;
    }
    if (e.wd == root_wd_ && (e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) != 0) {
        root_wd_ = -1;
        return;
    }
    if (e.len == 0 || e.name[0] == '\0') {
        if ((e.mask & IN_ATTRIB) != 0)
            changed |= wants(filters, cAttributes | cSecurity);
        return;
    }
    const std::string path = it->second + "/" + e.name;
    if ((e.mask & IN_ISDIR) != 0) {
        if ((e.mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
            // Watched before the scan this raises, so files made in it meanwhile are found by that scan.
            if (settings_.sub_tree && e.name[0] != '.')
                watch_tree(path);
            changed |= wants(filters, cFileName | cDirName);
        } else if ((e.mask & (IN_MOVED_FROM | IN_DELETE)) != 0) {
            if ((e.mask & IN_MOVED_FROM) != 0)
                forget_tree(path);
            changed |= wants(filters, cDirName);
        } else if ((e.mask & IN_ATTRIB) != 0) {
            changed |= wants(filters, cAttributes | cSecurity);
        }
        return;
    }
    if ((e.mask & IN_CREATE) != 0) {
        files_.created(path); // signals once it is complete
    } else if ((e.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) != 0) {
        files_.closed(path);
        changed |= wants(filters, cFileName | cSize | cLastWrite);
    } else if ((e.mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
        files_.removed(path);
        changed |= wants(filters, cFileName);
    } else if ((e.mask & IN_MODIFY) != 0) {
        changed |= wants(filters, cSize | cLastWrite);
    } else if ((e.mask & IN_ATTRIB) != 0) {
        changed |= wants(filters, cAttributes | cSecurity);
    }
}

bool TThNotifyWalker::read_events(bool& changed) {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(inotify_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno == EAGAIN;
        if (n == 0)
            return false;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            handle(*e, changed);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
        if (root_wd_ < 0)
            return false;
    }
}

int TThNotifyWalker::wait_milliseconds(steady::time_point deadline, bool timed) const {
    long long wait = -1;
    if (timed)
        wait = std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count());
    if (files_.any_growing()) {
        const long long tick = std::clamp<long long>(settings_.settle_ms / 4, 10, 250);
        wait = wait < 0 ? tick : std::min(wait, tick);
    }
    return static_cast<int>(std::min<long long>(wait, 1 << 30));
}

void TThNotifyWalker::Execute() {
    const bool timed = settings_.time_out >= 0;
    const auto period = std::chrono::milliseconds(std::max(settings_.time_out, 0));
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    bool alive = inotify_ >= 0 && wake_fd_ >= 0 && !root_.empty();
    if (alive) {
        std::unordered_set<int> visited;
        root_wd_ = watch_tree(root_, visited);
        alive = root_wd_ >= 0;
    }
    {
        std::lock_guard guard(lock_);
        watching_ = true;
    }
    watching_set_.notify_all();
    if (alive && settings_.first)
        deliver(events_.change);
    auto deadline = steady::now() + period;
    while (alive && !terminating()) {
        if (!limit_folder_.empty() && events_.watch_limit) {
            const std::string folder = std::exchange(limit_folder_, {});
            limit_reported_ = true;
            deliver([&] { events_.watch_limit(folder); });
            continue;
        }
        pollfd fds[2] = {{inotify_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
        if (::poll(fds, 2, wait_milliseconds(deadline, timed)) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            static_cast<void>(::read(wake_fd_, &count, sizeof count));
        }
        if (terminating())
            break;
        bool changed = false;
        if ((fds[0].revents & POLLIN) != 0)
            alive = read_events(changed);
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            alive = false;
        if (!alive)
            break;
        if (overflowed_) { // a lost event may have been a new folder
            overflowed_ = false;
            watch_tree(root_);
        }
        if (timed && steady::now() >= deadline)
            changed = true; // an expired wait counts as a change
        if (files_.any_growing() && files_.settle(steady::now()))
            changed = true;
        if (changed) {
            deliver(events_.change);
            files_.scanned();
            deadline = steady::now() + period;
        }
    }
    if (inotify_ >= 0)
        ::close(inotify_);
    inotify_ = -1;
    watched_count_.store(0);
    if (terminating())
        return;
    ErrNum = 1;
    ErrMessage = std::string(notify_error_texts[1]) + settings_.path;
    ended_by_itself_.store(true);
    deliver([this] {
        if (events_.error)
            events_.error(ErrNum, ErrMessage);
    });
}

} // namespace karvo
