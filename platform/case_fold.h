// SPDX-License-Identifier: GPL-3.0-or-later
// Case-insensitive comparison of UTF-8 text, as the profile functions and the wildcard matcher need it: letters
// outside ASCII (é, É) compare equal too. Bytes that are not valid UTF-8 are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace karvo::platform {

// The text as lower-case code points.
std::u32string fold_case(std::string_view text);

bool equal_ignoring_case(std::string_view a, std::string_view b);

// File-name order as people read it: without regard to case, and runs of digits by their value (2 before 10, 01
// beside 1); names that differ only there fall back to their bytes, so the order is total.
bool name_less(std::string_view a, std::string_view b);

} // namespace karvo::platform
