// SPDX-License-Identifier: GPL-3.0-or-later
// The common part of the players driven only through messages to their main window (Winamp, NAD): transport
// commands and appending files to the play list. Each player is a traits table of its window class and message ids.
#pragma once

#include "platform/window_messages.h"

#include <cstdint>
#include <string>

namespace karvo {

struct message_driver_traits {
    const char* window_class;
    std::uint32_t play_id;
    std::uint32_t pause_id;
    std::uint32_t stop_id;
    std::uint32_t next_id;
    std::uint32_t previous_id;
    std::uintptr_t enqueue_record; // dwData of the copy-data record that appends a file
    bool enqueue_looks_window_up;  // false: the stored handle is used, callers run find_window first
    bool enqueue_counts_zero;      // the record carries the path's terminating zero
};

class message_driver {
public:
    // Looks the main window up, stores the handle and returns it (0 when the player does not run).
    platform::window_handle find_window();
    platform::window_handle window() const { return handle_; }

    // Sent to the stored handle; callers run find_window first.
    void play();
    void pause();
    void stop();
    // These two look the window up again themselves.
    void next_track();
    void previous_track();
    // Appends the file to the play list. A path that holds a line break or a zero byte is refused: it would reach
    // the player cut short.
    void enqueue_file(const std::string& path);

protected:
    message_driver(const message_driver_traits& traits, platform::window_messages& messages)
        : traits_(traits), messages_(messages) {}
    ~message_driver() = default;

private:
    void command(std::uint32_t id);

    const message_driver_traits& traits_;
    platform::window_messages& messages_;
    platform::window_handle handle_ = 0;
};

} // namespace karvo
