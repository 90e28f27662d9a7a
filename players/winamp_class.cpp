#include "players/winamp_class.h"

#include "players/driver_path.h"

namespace karvo {

namespace {
enum : std::uint32_t {
    previous_id = 40044,
    play_id = 40045,
    pause_id = 40046,
    stop_id = 40047,
    next_id = 40048,
};
constexpr std::uintptr_t enqueue_record = 100;
} // namespace

winamp_class::winamp_class(platform::window_messages& messages, platform::program_starter&) : messages_(messages) {}

platform::window_handle winamp_class::find_window() {
    handle_ = messages_.find_window(window_class);
    return handle_;
}

void winamp_class::command(std::uint32_t id) {
    if (handle_ != 0) messages_.send_command(handle_, id);
}

void winamp_class::play() { command(play_id); }
void winamp_class::pause() { command(pause_id); }
void winamp_class::stop() { command(stop_id); }

void winamp_class::next_track() {
    find_window();
    command(next_id);
}

void winamp_class::previous_track() {
    find_window();
    command(previous_id);
}

void winamp_class::enqueue_file(const std::string& path) {
    find_window();
    if (handle_ == 0 || !is_sendable_path(path)) return;
    // Winamp's record counts the terminating zero; c_str() supplies it.
    messages_.send_copy_data(handle_, enqueue_record, path.c_str(), static_cast<std::uint32_t>(path.size() + 1));
}

} // namespace karvo
