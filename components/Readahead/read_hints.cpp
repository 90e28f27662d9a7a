// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Readahead/read_hints.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace karvo {
namespace {

// What the resource plug-in reads of a file: its first 80 KiB and its last 16 KiB. Hinting more costs more: the
// kernel then reads ahead past the hint on the readers' own reads.
constexpr off_t head_bytes = 80 * 1024;
constexpr off_t tail_bytes = 16 * 1024;

} // namespace

void hint_will_read(const std::string& path) {
    // Only a regular file is opened: opening a device may do something of its own (a tape rewinds).
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        ::posix_fadvise(fd, 0, head_bytes, POSIX_FADV_WILLNEED);
        if (info.st_size > head_bytes)
            ::posix_fadvise(fd, std::max(head_bytes, info.st_size - tail_bytes), tail_bytes, POSIX_FADV_WILLNEED);
    }
    ::close(fd);
}

read_hints::read_hints(const std::vector<std::string>& paths, std::function<bool(std::size_t index)> wanted,
                       std::size_t ahead)
    : paths_(paths), wanted_(std::move(wanted)), ahead_(ahead) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread: the reads go on unhinted.
    }
}

read_hints::~read_hints() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    moved_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void read_hints::reached(std::size_t index) {
    {
        const std::lock_guard lock(mutex_);
        if (index <= reached_)
            return;
        reached_ = index;
    }
    moved_.notify_one();
}

void read_hints::run() {
    for (std::size_t k = 0; k < paths_.size(); ++k) {
        {
            std::unique_lock lock(mutex_);
            moved_.wait(lock, [&] { return stop_ || k < reached_ + ahead_; });
            if (stop_)
                return;
        }
        if (wanted_(k))
            hint_will_read(paths_[k]);
    }
}

} // namespace karvo
