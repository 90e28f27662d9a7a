// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/sonique_class.h"

#include "players/driver_path.h"

namespace karvo {

sonique_class::sonique_class(platform::window_messages&, platform::program_starter& starter) : starter_(starter) {}

void sonique_class::start(const std::string& parameters) {
    if (program_path_.empty())
        return;
    starter_.open(program_path_, parameters, std::string(), platform::show_mode::show);
}

// The leading blank of each switch is part of what Sonique is handed.
void sonique_class::play() {
    start(" -play");
}
void sonique_class::stop() {
    start(" -stop");
}
void sonique_class::pause() {
    start(" -pause");
}
void sonique_class::next_track() {
    start(" -seeknext");
}
void sonique_class::previous_track() {
    start(" -seekprev");
}

void sonique_class::enqueue_file(const std::string& path) {
    if (!is_sendable_path(path) || path.find('"') != std::string::npos)
        return;
    start("-appendonly \"" + path + "\"");
}

} // namespace karvo
