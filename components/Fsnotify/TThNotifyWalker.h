// SPDX-License-Identifier: GPL-3.0-or-later
// The folder watcher's thread: an inotify watch on the folder and, with the sub-tree flag, on every folder below it
// (also folders that appear later), woken at once by an eventfd when asked to stop. Every event goes to the
// user-interface thread through the dispatcher; the thread itself only waits, keeps the watches and tracks which
// new files are still being written.
#pragma once

#include <atomic>
#include <condition_variable>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "components/Fsnotify/complete_files.h"
#include "platform/dispatcher.h"

struct inotify_event;

namespace karvo {

class TThNotifyWalker {
public:
    struct settings {
        std::string path;
        int time_out = -1;
        unsigned filters = 1;
        bool sub_tree = false;
        bool first = false;
        int settle_ms = 1000;
        std::size_t watch_budget = 0; // 0: the system's limit
    };
    // Run on the user-interface thread, never after Terminate.
    struct events {
        std::function<void()> change;
        std::function<void(std::uint32_t error, const std::string& message)> error;
        std::function<void(const std::string& folder)> watch_limit;
    };

    TThNotifyWalker(settings s, events e, platform::ui_dispatcher& dispatcher);
    ~TThNotifyWalker();
    TThNotifyWalker(const TThNotifyWalker&) = delete;
    TThNotifyWalker& operator=(const TThNotifyWalker&) = delete;

    // The thread's body.
    void Execute();
    // Asks the thread to end and wakes it. Returns true when the thread waits for the calling (user-interface)
    // thread to run an event, so the caller must not wait for it.
    bool Terminate();
    // Returns once the first watches are in place (or could not be made), so nothing made after it is missed.
    void WaitUntilWatching();
    // The loop ended without being asked to (the watch could not go on).
    bool EndedByItself() const { return ended_by_itself_.load(); }

    complete_files& files() { return files_; }
    std::size_t watched_folders() const { return watched_count_.load(); }

    std::uint32_t ErrNum = 0;
    std::string ErrMessage;

private:
    void wake();
    bool terminating() const;
    void deliver(const std::function<void()>& event);
    int wait_milliseconds(std::chrono::steady_clock::time_point deadline, bool timed) const;
    // Reads every queued event; false when the watch cannot go on.
    bool read_events(bool& changed);
    void handle(const ::inotify_event& e, bool& changed);
    // Watches the folder and, with the sub-tree flag, every folder below it. `visited` ends link loops.
    // Returns the folder's watch descriptor, or -1.
    int watch_tree(const std::string& folder, std::unordered_set<int>& visited);
    void watch_tree(const std::string& folder);
    int watch_folder(const std::string& folder);
    void forget_tree(const std::string& folder);
    std::uint32_t kernel_mask() const;

    const settings settings_;
    const std::string root_; // the path without trailing '/'
    const events events_;
    platform::ui_dispatcher& dispatcher_;
    complete_files files_;
    int inotify_ = -1;
    int wake_fd_ = -1;
    int root_wd_ = -1;
    std::unordered_map<int, std::string> folders_; // watch descriptor -> folder
    std::unordered_map<std::string, int> watches_; // folder -> watch descriptor
    std::atomic<std::size_t> watched_count_{0};
    bool limit_reported_ = false;
    bool overflowed_ = false;
    std::string limit_folder_; // the first folder the budget did not cover, not reported yet

    mutable std::mutex lock_;
    bool terminating_ = false;
    bool in_dispatch_ = false;
    bool watching_ = false;
    std::condition_variable watching_set_;
    std::atomic<bool> ended_by_itself_{false};
};

} // namespace karvo
