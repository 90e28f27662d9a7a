// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGINT and SIGHUP end the program the orderly way: the signal is passed through a self-pipe to the event
// loop, which runs the given function there (never inside the signal handler).
#pragma once

#include <functional>

namespace karvo {

void end_on_signals(std::function<void()> on_end);

} // namespace karvo
