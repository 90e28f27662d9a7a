// SPDX-License-Identifier: GPL-3.0-or-later
// Integers read from text: one scanner behind both the profile functions' number rules and the program's plain
// decimal reads (lengths in seconds, settings read as text).
#pragma once

#include <cstdint>
#include <string_view>

namespace karvo::platform {

struct integer_scan {
    bool has_digits = false;
    bool negative = false;
    std::uint64_t magnitude = 0; // modulo 2^64 once it overflowed
    bool overflow = false;       // the digits did not fit 64 bits
};

// Leading blanks (space, tab), an optional sign and the digits that follow, up to the first character that is not
// one. With `base_prefixes`, "0x", "0o" or "0b" right after the sign reads the digits in base 16, 8 or 2.
integer_scan scan_integer(std::string_view text, bool base_prefixes = false);

// Decimal integer at the start of the text (after blanks, with an optional sign); `fallback` when there is none or
// it does not fit.
long long to_integer(std::string_view text, long long fallback = 0);

} // namespace karvo::platform
