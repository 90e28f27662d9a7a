// SPDX-License-Identifier: GPL-3.0-or-later
// Window messages on this desktop: no window of the Windows player classes exists here, so nothing is found and a
// message to a window reaches no one.
#include "platform/window_messages.h"

namespace karvo::platform {

namespace {

class linux_window_messages final : public window_messages {
public:
    window_handle find_window(const std::string& /*class_name*/) override { return 0; }
    std::intptr_t send_command(window_handle /*window*/, std::uint32_t /*command_id*/) override { return 0; }
    std::intptr_t send_copy_data(window_handle /*window*/, std::uintptr_t /*dw_data*/, const void* /*data*/,
                                 std::uint32_t /*cb_data*/) override {
        return 0;
    }
};

} // namespace

window_messages& system_window_messages() {
    static linux_window_messages messages;
    return messages;
}

} // namespace karvo::platform
