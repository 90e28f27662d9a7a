// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/music_daemon.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/local_sockets.h"

namespace karvo::testing {
namespace {

int free_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

music_daemon::music_daemon(const std::string& root) {
    socket = root + "/mpd.socket";
    music = root + "/music";
    log_ = root + "/mpd.log";
    port = free_port();
    std::filesystem::create_directories(music);
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(music))
        files += entry.is_regular_file() ? 1 : 0;
    const std::string config = root + "/mpd.conf";
    platform::write_file_atomic(config,
                                "music_directory \"" + music + "\"\ndb_file \"" + root + "/mpd.db\"\nlog_file \"" +
                                    log_ + "\"\nbind_to_address \"" + socket +
                                    "\"\nbind_to_address \"127.0.0.1\"\nport \"" + std::to_string(port) +
                                    "\"\nzeroconf_enabled \"no\"\n"
                                    "audio_output {\n type \"null\"\n name \"null\"\n mixer_type \"software\"\n}\n");
    pid_ = ::fork();
    if (pid_ == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(music_daemon_program, music_daemon_program, "--no-daemon", config.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Ready once it answers and its first scan has every file.
    for (int tries = 0; tries < 200 && !started_; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        started_ = value("stats", "songs") == std::to_string(files) && value("status", "updating_db").empty();
    }
}

music_daemon::~music_daemon() {
    kill();
}

void music_daemon::kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void music_daemon::stop_answering() {
    if (pid_ > 0)
        ::kill(pid_, SIGSTOP);
}

void music_daemon::go_on() {
    if (pid_ > 0)
        ::kill(pid_, SIGCONT);
}

string_list music_daemon::ask(const std::string& command) {
    const auto connection = platform::system_local_sockets().connect(socket);
    string_list lines;
    if (!connection || !connection->read_line() || !connection->write(command + "\n"))
        return lines;
    while (const auto line = connection->read_line()) {
        if (*line == "OK" || line->starts_with("ACK"))
            break;
        lines.push_back(*line);
    }
    return lines;
}

std::string music_daemon::value(const std::string& command, const std::string& key) {
    for (const std::string& line : ask(command))
        if (line.starts_with(key + ": "))
            return line.substr(key.size() + 2);
    return "";
}

} // namespace karvo::testing
