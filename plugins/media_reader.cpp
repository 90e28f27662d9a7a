// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/media_reader.h"

#include "platform/dynamic_library.h"
#include "plugins/plugin_lists.h"
#include "sdk/karvo_plugin.h"

#include <cerrno>
#include <deque>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace karvo {
namespace {

using clock_type = std::chrono::steady_clock;

bool send_all(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// Reads exactly `size` bytes before `deadline` (none: wait as long as it takes).
frame_status receive_all(int fd, char* data, std::size_t size, std::optional<clock_type::time_point> deadline) {
    while (size > 0) {
        int wait_ms = -1;
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - clock_type::now());
            if (left.count() <= 0)
                return frame_status::late;
            wait_ms = static_cast<int>(std::min<long long>(left.count(), 1 << 30));
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait_ms);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return frame_status::closed;
        if (ready == 0)
            continue; // the deadline check above ends it
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return frame_status::closed;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return frame_status::ok;
}

// A killed helper is reaped on a thread of its own: a process stuck in the kernel may take its time to go.
void reap(int pid) {
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

bool write_frame(int fd, const std::string& bytes) {
    if (bytes.size() > max_media_reader_frame)
        return false;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const char head[4] = {static_cast<char>(size & 0xFF), static_cast<char>((size >> 8) & 0xFF),
                          static_cast<char>((size >> 16) & 0xFF), static_cast<char>((size >> 24) & 0xFF)};
    return send_all(fd, head, sizeof head) && send_all(fd, bytes.data(), bytes.size());
}

frame_status read_frame(int fd, std::string& bytes, std::optional<std::chrono::milliseconds> limit) {
    std::optional<clock_type::time_point> deadline;
    if (limit)
        deadline = clock_type::now() + *limit;
    unsigned char head[4];
    if (const frame_status s = receive_all(fd, reinterpret_cast<char*>(head), sizeof head, deadline);
        s != frame_status::ok)
        return s;
    const std::uint32_t size = head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<std::uint32_t>(head[3]) << 24);
    if (size > max_media_reader_frame)
        return frame_status::closed;
    bytes.assign(size, '\0');
    return receive_all(fd, bytes.data(), size, deadline);
}

int serve_media_reads(const std::string& plugin_path, int fd) {
    const platform::dynamic_library library(plugin_path);
    const auto get = library.function<karvo_get_media_info_string_fn>("_get_media_info_string");
    if (!get)
        return 1;
    if (!write_frame(fd, media_reader_ready))
        return 0;
    std::string path;
    while (read_frame(fd, path, std::nullopt) == frame_status::ok)
        if (!write_frame(fd, join_plugin_list(get(path.c_str()))))
            break;
    return 0;
}

media_reader::media_reader(std::string program, std::string plugin_path, int max_helpers)
    : program_(std::move(program)), plugin_path_(std::move(plugin_path)), max_helpers_(std::max(1, max_helpers)) {}

media_reader::~media_reader() {
    // Idle helpers end when their socket closes; busy ones belong to reads still waiting, which end by their limit.
    const std::lock_guard lock(mutex_);
    for (const helper& h : idle_)
        end(h, false);
    idle_.clear();
}

std::optional<media_reader::helper> media_reader::spawn(std::chrono::milliseconds limit) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0); // the helper's standard input is its socket
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    const std::string parent = std::to_string(::getpid());
    char* const argv[] = {const_cast<char*>(program_.c_str()), const_cast<char*>(plugin_path_.c_str()),
                          const_cast<char*>(parent.c_str()), nullptr};
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, program_.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (failed != 0) {
        ::close(ends[0]);
        return std::nullopt;
    }
    const helper h{pid, ends[0]};
    std::string greeting;
    if (read_frame(h.fd, greeting, limit) != frame_status::ok || greeting != media_reader_ready) {
        end(h, true);
        return std::nullopt;
    }
    return h;
}

void media_reader::end(helper h, bool kill_it) {
    if (kill_it)
        ::kill(h.pid, SIGKILL);
    ::close(h.fd);
    reap(h.pid);
}

bool media_reader::start(std::chrono::milliseconds limit) {
    std::optional<helper> h = spawn(limit);
    if (!h)
        return false;
    const std::lock_guard lock(mutex_);
    ++running_;
    idle_.push_back(*h);
    return true;
}

std::optional<media_reader::helper> media_reader::take(std::chrono::milliseconds limit) {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            const helper h = idle_.back();
            idle_.pop_back();
            return h;
        }
        // Never waits for a busy helper: a stream may hold one for a whole folder, and a single read (on the
        // window's thread, say) must not wait for that.
        ++running_;
    }
    std::optional<helper> h = spawn(limit);
    if (!h)
        lost();
    return h;
}

void media_reader::give_back(helper h) {
    {
        const std::lock_guard lock(mutex_);
        if (static_cast<int>(idle_.size()) < max_helpers_) {
            idle_.push_back(h);
            return;
        }
        --running_; // more were needed for a while than are kept
    }
    end(h, false);
}

void media_reader::lost() {
    const std::lock_guard lock(mutex_);
    --running_;
}

int media_reader::busy() const {
    const std::lock_guard lock(mutex_);
    return running_ - static_cast<int>(idle_.size());
}

int media_reader::replaced() const {
    const std::lock_guard lock(mutex_);
    return replaced_;
}

media_reader::answer media_reader::read(const std::string& path, std::chrono::milliseconds limit) {
    bool given = false;
    answer result;
    read_stream(
        [&]() -> std::optional<std::string> {
            if (given)
                return std::nullopt;
            given = true;
            return path;
        },
        [&](const std::string&, answer a) { result = std::move(a); }, limit);
    return result;
}

void media_reader::read_stream(const path_source& more, const answer_sink& deliver, std::chrono::milliseconds limit) {
    std::deque<std::string> sent;   // asked, not answered yet, in order
    std::deque<std::string> resend; // asked of a helper that was lost before it answered them
    std::size_t sent_bytes = 0;
    std::optional<helper> h;
    int failed_writes = 0;
    const auto next_path = [&]() -> std::optional<std::string> {
        if (!resend.empty()) {
            std::string path = std::move(resend.front());
            resend.pop_front();
            return path;
        }
        return more();
    };
    for (;;) {
        // Requests are kept small in flight, so neither side can block on a full socket.
        while (sent.size() < max_requests_ahead && sent_bytes < 64 * 1024) {
            std::optional<std::string> path = next_path();
            if (!path)
                break;
            if (!h)
                h = take(limit);
            if (!h) { // no helper: the caller reads this one and the rest itself
                deliver(*path, {outcome::unavailable, {}});
                continue;
            }
            if (!write_frame(h->fd, *path) && sent.empty() && failed_writes < 2) {
                // It went while idle (killed from outside): not this file's doing, so a fresh helper is asked.
                ++failed_writes;
                end(*h, true);
                h.reset();
                lost();
                resend.push_front(std::move(*path));
                continue;
            }
            sent_bytes += path->size();
            sent.push_back(std::move(*path));
        }
        if (sent.empty()) {
            if (h)
                give_back(*h);
            return;
        }
        answer a;
        const frame_status status = read_frame(h->fd, a.info, limit);
        std::string path = std::move(sent.front());
        sent.pop_front();
        sent_bytes -= path.size();
        if (status == frame_status::ok) {
            a.how = outcome::read;
            deliver(path, std::move(a));
            continue;
        }
        // The helper is gone or stuck on this file: it is replaced, and what it was still asked goes to the next.
        end(*h, true);
        h.reset();
        {
            const std::lock_guard lock(mutex_);
            ++replaced_;
        }
        lost();
        resend.insert(resend.begin(), std::make_move_iterator(sent.begin()), std::make_move_iterator(sent.end()));
        sent.clear();
        sent_bytes = 0;
        deliver(path, {status == frame_status::late ? outcome::late : outcome::crashed, {}});
    }
}

} // namespace karvo
