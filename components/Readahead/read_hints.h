// SPDX-License-Identifier: GPL-3.0-or-later
// Tells the kernel which files are about to be read, a window ahead of the readers, so that a cold disk has many
// files' reads in flight at once instead of the few the readers wait on. Only the parts a media read touches are
// asked for: the head, where the tags and stream headers are, and the tail, where trailing tags are.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace karvo {

// Asks for the head and the tail of one file to be read into the page cache, without waiting for it. A path that
// cannot be opened is skipped.
void hint_will_read(const std::string& path);

// A thread that hints paths[k] for every k that `wanted` picks, at most `ahead` paths past the last one the
// readers were told to have reached (reached()); it stops at the end or when destroyed.
class read_hints {
public:
    read_hints(const std::vector<std::string>& paths, std::function<bool(std::size_t index)> wanted,
               std::size_t ahead);
    ~read_hints();
    read_hints(const read_hints&) = delete;
    read_hints& operator=(const read_hints&) = delete;

    // The readers have delivered the paths before `index`.
    void reached(std::size_t index);

private:
    void run();

    const std::vector<std::string>& paths_;
    std::function<bool(std::size_t)> wanted_;
    std::size_t ahead_;
    std::mutex mutex_;
    std::condition_variable moved_;
    std::size_t reached_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace karvo
