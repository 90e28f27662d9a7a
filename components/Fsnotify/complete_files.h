// SPDX-License-Identifier: GPL-3.0-or-later
// Which files under a watched folder are complete, so that nobody reads a file that is still being written. A
// file is complete after its writer closed it or it was moved in. One whose creation was not seen (or whose writer
// never closes it) counts as complete once its size and change time have held still for the settle time, or for
// the much longer close wait when its creation was seen: a copy that stalls for a while is not taken half.
// Shared by the watcher thread (which reports what happens) and the thread that scans.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace karvo {

class complete_files {
public:
    using clock = std::chrono::steady_clock;

    // `wake` tells the watcher thread that a file is now waited for (it may be asleep without a time limit).
    complete_files(std::chrono::milliseconds settle, std::function<void()> wake);

    // The watcher's side.
    void created(const std::string& path); // being written from now on
    void closed(const std::string& path);  // closed after writing, or moved in
    void removed(const std::string& path);
    bool any_growing() const;
    // Looks at every growing file; true when one of them has held still long enough and is complete now.
    bool settle(clock::time_point now);
    // After a change was handled: the closed files have all been looked at by that scan.
    void scanned();
    std::chrono::milliseconds settle_time() const { return settle_; }
    // How long a file seen created may stay open and unchanged before it counts as complete without its close.
    std::chrono::milliseconds close_wait() const;

    // The files closed after writing or moved in since the last change was handled.
    std::vector<std::string> changed() const;

    // The scanner's side. A file that nobody has reported is complete when it has not changed for the settle
    // time; otherwise it is waited for from now on, and a change follows once it is complete.
    bool is_complete(const std::string& path);

private:
    struct growing {
        long long size = -1;
        long long changed_ns = -1; // change time of the inode
        clock::time_point since;
        bool seen_created = false; // its close will be reported
    };

    const std::chrono::milliseconds settle_;
    const std::function<void()> wake_;
    mutable std::mutex lock_;
    std::unordered_map<std::string, growing> growing_;
    std::unordered_set<std::string> closed_;
    std::unordered_set<std::string> changed_;
};

} // namespace karvo
