// SPDX-License-Identifier: GPL-3.0-or-later
// A real music daemon for one test: its own configuration, music folder and database in a temporary folder, a
// unix socket there and a free TCP port on 127.0.0.1, no audio output. It is killed when the test ends.
#pragma once

#include <string>

#include "library/string_list.h"

namespace karvo::testing {

inline constexpr const char* music_daemon_program = "/usr/bin/mpd";

class music_daemon {
public:
    // Starts the daemon over `root` + "/music" once the files there are written, and waits until it has them all.
    explicit music_daemon(const std::string& root);
    ~music_daemon();
    music_daemon(const music_daemon&) = delete;
    music_daemon& operator=(const music_daemon&) = delete;

    bool started() const { return started_; }
    const std::string& log() const { return log_; }
    std::string socket;
    std::string music; // the music folder, without a trailing "/"
    int port = 0;

    // The daemon's answer lines to one command over its socket, without the closing "OK"; empty when it is gone.
    string_list ask(const std::string& command);
    // The value of `key` in the answer to `command` ("status", "state" -> "play"), "" when not there.
    std::string value(const std::string& command, const std::string& key);

    void stop_answering(); // SIGSTOP
    void go_on();          // SIGCONT
    void kill();

private:
    int pid_ = -1;
    bool started_ = false;
    std::string log_;
};

} // namespace karvo::testing
