// SPDX-License-Identifier: GPL-3.0-or-later
// Unix-domain stream sockets with poll() time-outs on every step.
#include "platform/local_sockets.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace karvo::platform {
namespace {

constexpr int step_timeout_ms = 1000;

bool wait_for(int fd, short events) {
    pollfd p{fd, events, 0};
    int ready;
    do
        ready = ::poll(&p, 1, step_timeout_ms);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (p.revents & (events | POLLHUP)) != 0;
}

class unix_connection final : public local_connection {
public:
    explicit unix_connection(int fd) : fd_(fd) {}
    ~unix_connection() override { ::close(fd_); }

    bool write(const std::string& text) override {
        std::size_t sent = 0;
        while (sent < text.size()) {
            if (!wait_for(fd_, POLLOUT))
                return false;
            const ssize_t n = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    std::optional<std::string> read_line() override {
        for (;;) {
            const std::size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                return line;
            }
            if (!wait_for(fd_, POLLIN))
                return std::nullopt;
            char chunk[4096];
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

class unix_sockets final : public local_sockets {
public:
    std::unique_ptr<local_connection> connect(const std::string& path) override {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.empty() || path.size() >= sizeof address.sun_path)
            return nullptr;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return nullptr;
        auto connection = std::make_unique<unix_connection>(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return connection;
        if (errno != EINPROGRESS && errno != EAGAIN)
            return nullptr;
        int error = 0;
        socklen_t length = sizeof error;
        if (!wait_for(fd, POLLOUT) || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return nullptr;
        return connection;
    }
};

} // namespace

local_sockets& system_local_sockets() {
    static unix_sockets sockets;
    return sockets;
}

} // namespace karvo::platform
