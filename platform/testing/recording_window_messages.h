// SPDX-License-Identifier: GPL-3.0-or-later
// Window messages for tests: fake windows registered by class name, and a record of every message sent with its
// window, ids and the exact copy-data bytes.
#pragma once

#include "platform/window_messages.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace karvo::platform {

enum class message_kind { command, copy_data };

struct sent_message {
    message_kind kind = message_kind::command;
    window_handle window = 0;
    bool delivered = false; // the window existed when the message was sent
    std::uint32_t command_id = 0;
    std::uintptr_t dw_data = 0;
    std::uint32_t cb_data = 0;
    std::vector<unsigned char> bytes; // the cb_data bytes of a copy-data message

    std::string bytes_as_text() const { return std::string(bytes.begin(), bytes.end()); }
};

class recording_window_messages final : public window_messages {
public:
    // A new window of that class; its handle is never 0.
    window_handle add_window(const std::string& class_name);
    void remove_window(window_handle window);
    // What sends to `window` return (0 unless set).
    void set_reply(window_handle window, std::intptr_t reply);
    // Called for every delivered message; its result replaces the set reply (for windows that answer queries).
    void set_responder(std::function<std::intptr_t(const sent_message&)> responder);

    std::vector<sent_message> sent() const;
    std::vector<std::string> searched_classes() const;
    void clear_record();

    window_handle find_window(const std::string& class_name) override;
    std::intptr_t send_command(window_handle window, std::uint32_t command_id) override;
    std::intptr_t send_copy_data(window_handle window, std::uintptr_t dw_data, const void* data,
                                 std::uint32_t cb_data) override;

private:
    std::intptr_t deliver(sent_message message);

    struct fake_window {
        std::string class_name;
        std::intptr_t reply = 0;
    };
    mutable std::mutex mutex_;
    std::map<window_handle, fake_window> windows_;
    window_handle next_handle_ = 0x1000;
    std::function<std::intptr_t(const sent_message&)> responder_;
    std::vector<sent_message> sent_;
    std::vector<std::string> searched_;
};

} // namespace karvo::platform
