#include "players/nad_class.h"

#include "players/driver_path.h"

namespace karvo {

namespace {
enum : std::uint32_t {
    play_id = 40010,
    stop_id = 40011,
    pause_id = 40012,
    next_id = 40013,
    previous_id = 40014,
};
constexpr std::uintptr_t enqueue_record = 1;
} // namespace

nad_class::nad_class(platform::window_messages& messages, platform::program_starter&) : messages_(messages) {}

platform::window_handle nad_class::find_window() {
    handle_ = messages_.find_window(window_class);
    return handle_;
}

void nad_class::command(std::uint32_t id) {
    if (handle_ != 0) messages_.send_command(handle_, id);
}

void nad_class::play() { command(play_id); }
void nad_class::stop() { command(stop_id); }
void nad_class::pause() { command(pause_id); }

void nad_class::next_track() {
    find_window();
    command(next_id);
}

void nad_class::previous_track() {
    find_window();
    command(previous_id);
}

void nad_class::enqueue_file(const std::string& path) {
    if (handle_ == 0 || !is_sendable_path(path)) return;
    // NAD's record carries the path without its terminating zero.
    messages_.send_copy_data(handle_, enqueue_record, path.data(), static_cast<std::uint32_t>(path.size()));
}

} // namespace karvo
