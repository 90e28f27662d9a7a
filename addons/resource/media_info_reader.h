// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what the program shows about one media file (tags, length, bit rate, sample rate, channels, size, codec,
// modification time) with TagLib, opening the file once, and lays it out as the fifteen fields of a media info
// string.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace karvo::resource {

enum info_field : int {
    field_path = 0,
    field_title,
    field_artist,
    field_album,
    field_year,
    field_comment,
    field_genre,
    field_seconds,
    field_channels,
    field_file_size,
    field_track,
    field_sample_rate,
    field_bit_rate,
    field_codec,
    field_modified,
    info_field_count,
};
using info_fields = std::array<std::string, info_field_count>;

// False when the path holds a byte that a media info string cannot carry (0xFF, CR or LF).
bool representable_path(std::string_view path);

// Replaces every 0xFF, CR and LF with a blank, so the text can be a field.
void clean_field(std::string& text);

// The fields of the file: the path, then what can be read; a file that is not a readable media file gives the path
// and empty fields. With `length_ms`, the length in milliseconds goes there too (-1 when not media). May throw
// (allocation); callers at the library boundary catch.
info_fields read_media_info(const char* path, long long* length_ms = nullptr);

// Length in whole seconds, or -1 when the file cannot be read as media.
int read_media_duration(const char* path);

} // namespace karvo::resource
