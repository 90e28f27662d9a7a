// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a running NAD through messages to its main window: transport commands and appending files to its play
// queue. Nothing is read back; the only thing learnt is whether the window exists. Unlike Winamp, enqueue_file is
// sent to the stored handle without a new look-up: callers run find_window first.
#pragma once

#include "platform/program_starter.h"
#include "players/message_driver.h"

namespace karvo {

class nad_class : public message_driver {
public:
    static constexpr const char* window_class = "NadMainWindow";

    // Every driver takes the same two services so that owners build all three alike; NAD needs only messages.
    nad_class(platform::window_messages& messages, platform::program_starter& starter);
};

} // namespace karvo
