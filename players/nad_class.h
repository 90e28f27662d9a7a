// Drives a running NAD through messages to its main window: transport commands and appending files to its play
// queue. Nothing is read back; the only thing learnt is whether the window exists.
#pragma once

#include "platform/program_starter.h"
#include "platform/window_messages.h"

#include <string>

namespace karvo {

class nad_class {
public:
    static constexpr const char* window_class = "NadMainWindow";

    // Every driver takes the same two services so that owners build all three alike; NAD needs only messages.
    nad_class(platform::window_messages& messages, platform::program_starter& starter);

    // Looks the main window up, stores the handle and returns it (0 when NAD does not run).
    platform::window_handle find_window();
    platform::window_handle window() const { return handle_; }

    // Sent to the stored handle; callers run find_window first.
    void play();
    void stop();
    void pause();
    // These two look the window up again themselves.
    void next_track();
    void previous_track();
    // Sent to the stored handle without a new look-up: callers run find_window first. A path that holds a line
    // break or a zero byte is refused: it would reach the player cut short.
    void enqueue_file(const std::string& path);

private:
    void command(std::uint32_t id);

    platform::window_messages& messages_;
    platform::window_handle handle_ = 0;
};

} // namespace karvo
