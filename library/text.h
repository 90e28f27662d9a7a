// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by sorting, searching and file naming.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace karvo {

// Upper-cases UTF-8 text, non-ASCII letters included (é becomes É); invalid bytes are kept as they are.
std::string upper_case(std::string_view text);

// Appends upper_case(text) to `out` (lets callers build many keys in one buffer).
void append_upper_case(std::string& out, std::string_view text);
// Writes upper_case(text) at `out`, which has room for twice the text's bytes (no character's upper case takes more
// than one and a half times its bytes); returns the bytes written.
std::size_t write_upper_case(char* out, std::string_view text);

// Byte-wise unsigned comparison of upper_case(a) and upper_case(b): negative, 0 or positive.
int compare_upper(std::string_view a, std::string_view b);

// How many bytes at the start of `a` and `b` are ASCII and equal once upper-cased.
std::size_t common_upper_ascii_prefix(std::string_view a, std::string_view b);

// The order of names (playlists, Media CDs, folders, grouping values) as a user's language sorts them: without
// regard to case, a Latin letter with a diacritic beside its base letter (éclair among the Es, not after Z).
bool less_case_insensitive(std::string_view a, std::string_view b);

// Drops the last four characters when the name is longer than four and its fourth character from the end is '.'.
std::string without_three_letter_extension(const std::string& name);

// Extension from the last '.', upper-cased, without the dot; empty when there is none.
std::string upper_extension(std::string_view path);

} // namespace karvo
