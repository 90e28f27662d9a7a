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

} // namespace karvo::platform
