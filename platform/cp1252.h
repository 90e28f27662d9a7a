// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows-1252 code page: the text of ID3v1 tags on disk and of playlists Windows programs write. Conversion to
// and from the UTF-8 used in memory, widths counted in encoded bytes, and the UTF-8 validity test that decides
// which of the two a foreign text is in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace karvo::platform {

// Every byte becomes its character; the five bytes 1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the
// C1 controls of the same number, so every byte reads back as it was written.
std::string decode_cp1252_to_utf8(std::string_view text);

// At most `max_bytes` bytes, one per character; a character the code page lacks, and each byte that is not valid
// UTF-8, becomes '?'. Stops before the first character that does not fit, so nothing is cut in half.
std::string encode_utf8_to_cp1252(std::string_view text, std::size_t max_bytes = std::string::npos);

// How many UTF-8 bytes of `text` fit in `max_bytes` encoded bytes: what a text field of that width may keep.
std::size_t utf8_prefix_fitting_cp1252(std::string_view text, std::size_t max_bytes);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool is_valid_utf8(std::string_view text);

} // namespace karvo::platform
