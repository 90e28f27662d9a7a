// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/winamp_class.h"

namespace karvo {

namespace {
// Enqueue looks the window up itself, and Winamp's record counts the terminating zero.
constexpr message_driver_traits winamp_traits{
    .window_class = winamp_class::window_class,
    .play_id = 40045,
    .pause_id = 40046,
    .stop_id = 40047,
    .next_id = 40048,
    .previous_id = 40044,
    .enqueue_record = 100,
    .enqueue_looks_window_up = true,
    .enqueue_counts_zero = true,
};
} // namespace

winamp_class::winamp_class(platform::window_messages& messages, platform::program_starter&)
    : message_driver(winamp_traits, messages) {}

} // namespace karvo
