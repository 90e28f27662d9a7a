// SPDX-License-Identifier: GPL-3.0-or-later
// Drives Sonique by starting its program again with a command-line switch for each command. A command does
// nothing until the program's path is known.
#pragma once

#include "platform/program_starter.h"
#include "platform/window_messages.h"

#include <string>

namespace karvo {

class sonique_class {
public:
    // Only used to test whether Sonique runs; the driver itself never looks for the window.
    static constexpr const char* window_class = "Sonique Window Class";

    // Every driver takes the same two services so that owners build all three alike; Sonique needs only the starter.
    sonique_class(platform::window_messages& messages, platform::program_starter& starter);

    void set_program_path(const std::string& path) { program_path_ = path; }
    const std::string& program_path() const { return program_path_; }

    void play();
    void stop();
    void pause();
    void next_track();
    void previous_track();
    // A path that holds a line break, a zero byte or a double quote is refused: it would end the quoted argument
    // early and the program would be handed another file.
    void enqueue_file(const std::string& path);

private:
    void start(const std::string& parameters);

    platform::program_starter& starter_;
    std::string program_path_;
};

} // namespace karvo
