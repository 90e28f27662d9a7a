// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/nad_class.h"

namespace karvo {

namespace {
// NAD's record carries the path without its terminating zero.
constexpr message_driver_traits nad_traits{
    .window_class = nad_class::window_class,
    .play_id = 40010,
    .pause_id = 40012,
    .stop_id = 40011,
    .next_id = 40013,
    .previous_id = 40014,
    .enqueue_record = 1,
    .enqueue_looks_window_up = false,
    .enqueue_counts_zero = false,
};
} // namespace

nad_class::nad_class(platform::window_messages& messages, platform::program_starter&)
    : message_driver(nad_traits, messages) {}

} // namespace karvo
