// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/message_driver.h"

#include "players/driver_path.h"

namespace karvo {

platform::window_handle message_driver::find_window() {
    handle_ = messages_.find_window(traits_.window_class);
    return handle_;
}

void message_driver::command(std::uint32_t id) {
    if (handle_ != 0)
        messages_.send_command(handle_, id);
}

void message_driver::play() {
    command(traits_.play_id);
}
void message_driver::pause() {
    command(traits_.pause_id);
}
void message_driver::stop() {
    command(traits_.stop_id);
}

void message_driver::next_track() {
    find_window();
    command(traits_.next_id);
}

void message_driver::previous_track() {
    find_window();
    command(traits_.previous_id);
}

void message_driver::enqueue_file(const std::string& path) {
    if (traits_.enqueue_looks_window_up)
        find_window();
    if (handle_ == 0 || !is_sendable_path(path))
        return;
    // c_str() supplies the terminating zero for players whose record counts it.
    const auto size = static_cast<std::uint32_t>(path.size() + (traits_.enqueue_counts_zero ? 1 : 0));
    messages_.send_copy_data(handle_, traits_.enqueue_record, path.c_str(), size);
}

} // namespace karvo
