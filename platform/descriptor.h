// SPDX-License-Identifier: GPL-3.0-or-later
// An open file descriptor that is closed on every path out of the scope holding it.
#pragma once

#include <unistd.h>

namespace karvo::platform {

class descriptor {
public:
    explicit descriptor(int fd) : fd_(fd) {}
    ~descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    descriptor(const descriptor&) = delete;
    descriptor& operator=(const descriptor&) = delete;
    int get() const { return fd_; }
    // Closing can report a failed delayed write, so a writer checks it.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

} // namespace karvo::platform
