// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 one character at a time, for the case folding of the profile functions and the upper-casing of sort keys,
// and the locale that gives both their Unicode case rules whatever the process locale is.
#pragma once

#include <cstddef>
#include <locale.h>
#include <string>
#include <string_view>

namespace karvo::platform {

// Decodes the well-formed sequence at text[i] into `code` and returns its length; 0 when the bytes there are not
// one (a stray or truncated byte, an overlong form, a surrogate, beyond U+10FFFF), so callers can keep that byte.
std::size_t decode_utf8(std::string_view text, std::size_t i, char32_t& code);

// Appends the UTF-8 bytes of a Unicode scalar value.
void append_utf8(std::string& out, char32_t code);

// The UTF-8 character-type rules, made once; null when the system has no UTF-8 locale (only ASCII then changes case).
locale_t utf8_locale();

} // namespace karvo::platform
