// SPDX-License-Identifier: GPL-3.0-or-later
// Messages to other programs' windows: find a top-level window by class name and send it a command or a block of
// copy-data. The calls return when the receiver has handled the message.
#pragma once

#include <cstdint>
#include <string>

namespace karvo::platform {

using window_handle = std::intptr_t; // 0 = no window

class window_messages {
public:
    virtual ~window_messages() = default;
    virtual window_handle find_window(const std::string& class_name) = 0;
    // WM_COMMAND with the command id as first parameter and 0 as second; returns the receiver's result.
    virtual std::intptr_t send_command(window_handle window, std::uint32_t command_id) = 0;
    // WM_COPYDATA: dwData, and cbData bytes starting at data.
    virtual std::intptr_t send_copy_data(window_handle window, std::uintptr_t dw_data, const void* data,
                                         std::uint32_t cb_data) = 0;
};

// The Linux implementation: no window of the player classes exists on this desktop.
window_messages& system_window_messages();

} // namespace karvo::platform
