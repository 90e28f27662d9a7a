// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a running Winamp through messages to its main window: transport commands and appending files to its
// playlist. Nothing is read back; the only thing learnt is whether the window exists.
#pragma once

#include "platform/program_starter.h"
#include "players/message_driver.h"

namespace karvo {

class winamp_class : public message_driver {
public:
    static constexpr const char* window_class = "Winamp v1.x";

    // Every driver takes the same two services so that owners build all three alike; Winamp needs only messages.
    winamp_class(platform::window_messages& messages, platform::program_starter& starter);
};

} // namespace karvo
