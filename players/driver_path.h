// SPDX-License-Identifier: GPL-3.0-or-later
// Checks shared by the player drivers before a path leaves the program.
#pragma once

#include <string_view>

namespace karvo {

// A path with a line break or a zero byte would reach a player cut short or as two lines, so it is never sent.
inline bool is_sendable_path(std::string_view path) {
    return path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

} // namespace karvo
