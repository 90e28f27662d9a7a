// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/recording_window_messages.h"

#include "platform/case_fold.h"

namespace karvo::platform {

window_handle recording_window_messages::add_window(const std::string& class_name) {
    std::lock_guard lock(mutex_);
    const window_handle handle = next_handle_;
    next_handle_ += 0x10;
    windows_[handle] = fake_window{class_name, 0};
    return handle;
}

void recording_window_messages::remove_window(window_handle window) {
    std::lock_guard lock(mutex_);
    windows_.erase(window);
}

void recording_window_messages::set_reply(window_handle window, std::intptr_t reply) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(window); it != windows_.end())
        it->second.reply = reply;
}

void recording_window_messages::set_responder(std::function<std::intptr_t(const sent_message&)> responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<sent_message> recording_window_messages::sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::vector<std::string> recording_window_messages::searched_classes() const {
    std::lock_guard lock(mutex_);
    return searched_;
}

void recording_window_messages::clear_record() {
    std::lock_guard lock(mutex_);
    sent_.clear();
    searched_.clear();
}

window_handle recording_window_messages::find_window(const std::string& class_name) {
    std::lock_guard lock(mutex_);
    searched_.push_back(class_name);
    // Class names are compared without regard to case, as the system does.
    for (const auto& [handle, window] : windows_) {
        if (equal_ignoring_case(window.class_name, class_name))
            return handle;
    }
    return 0;
}

std::intptr_t recording_window_messages::send_command(window_handle window, std::uint32_t command_id) {
    sent_message message;
    message.kind = message_kind::command;
    message.window = window;
    message.command_id = command_id;
    return deliver(std::move(message));
}

std::intptr_t recording_window_messages::send_copy_data(window_handle window, std::uintptr_t dw_data, const void* data,
                                                        std::uint32_t cb_data) {
    sent_message message;
    message.kind = message_kind::copy_data;
    message.window = window;
    message.dw_data = dw_data;
    message.cb_data = cb_data;
    if (data != nullptr && cb_data > 0) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        message.bytes.assign(bytes, bytes + cb_data);
    }
    return deliver(std::move(message));
}

std::intptr_t recording_window_messages::deliver(sent_message message) {
    std::function<std::intptr_t(const sent_message&)> responder;
    std::intptr_t reply = 0;
    {
        std::lock_guard lock(mutex_);
        const auto it = windows_.find(message.window);
        message.delivered = it != windows_.end();
        if (message.delivered) {
            reply = it->second.reply;
            responder = responder_;
        }
        sent_.push_back(message);
    }
    // Outside the lock, so that a responder may look at the record.
    return responder ? responder(message) : reply;
}

} // namespace karvo::platform
