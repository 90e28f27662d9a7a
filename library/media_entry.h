// SPDX-License-Identifier: GPL-3.0-or-later
// One media entry: eighteen text fields addressed by column index, its one-line text form (the media info string)
// and the derivations of the display name, length and quality.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace karvo {

enum media_column : int {
    Media = 0,
    FullPath,
    ListName,
    Song,
    Album,
    Artist,
    Year,
    Comment,
    Genre,
    Length,
    Seconds,
    Quality,
    // The five free fields the media-information source (the resource plug-in) fills; the program stores, saves
    // and shows them and gives them no meaning of its own. The bundled plug-in puts there:
    Info8,  // the number of audio channels
    Info9,  // the file size in bytes
    Info10, // the track number within its album ("" when the tag has none); there is no disc number field
    SampleRate,
    Info13, // the codec name
    Info14, // the file's modification time
};
inline constexpr int column_count = 18;
inline constexpr char info_separator = '\xFF';
inline constexpr int info_field_count = 15;

// The fifteen stored fields of a media info string, in string order.
using media_fields = std::array<std::string, info_field_count>;

// Which column each info string field fills.
inline constexpr std::array<media_column, info_field_count> info_field_column = {
    FullPath, Song,  Artist, Album,      Year,    Comment, Genre,  Seconds,
    Info8,    Info9, Info10, SampleRate, Quality, Info13,  Info14,
};

// The same fields as views into the info string.
using media_field_views = std::array<std::string_view, info_field_count>;

// Fields before each separator; text after the last separator is dropped; missing fields stay empty and fields
// beyond the fifteenth are ignored.
media_field_views split_media_info(std::string_view info);
// The same, and whether a field may hold a CR or LF byte (false only when none does).
media_field_views split_media_info(std::string_view info, bool& line_break);
media_fields parse_media_info(std::string_view info);
// True when the string names a file: its first field is there and not empty. An entry without one is never added
// to a list (a plug-in that could not describe the file answers without it).
bool has_media_path(std::string_view info);

// The fields each followed by 0xFF, then one more 0xFF.
std::string make_media_info(const media_fields& fields);

struct name_switches {
    bool strip_extension = true;
    bool underscore_to_space = true;
    bool percent20_to_space = true;
    bool dot_to_space = true;
    bool remove_brackets = true;
};

// Display name from a full path with the given switches.
std::string derive_media_name(std::string_view full_path, const name_switches& switches);
// The same into `name`, reusing its capacity: a bulk fill derives without allocating per row.
void derive_media_name(std::string& name, std::string_view full_path, const name_switches& switches);

// "" for 0 or a non-number, else [hh:]mm:ss.
std::string format_length(std::string_view seconds);

// Quality of the virtual playlist: MP3 gets "kbits" unless it holds it, WAV becomes SampleRate + "Hz" unless it
// holds "Hz".
std::string derive_quality(std::string_view full_path, std::string_view quality, std::string_view sample_rate);

// Quality of the folder listing: MP3 always gets "kbits", WAV becomes SampleRate + "hz".
std::string derive_folder_quality(std::string_view full_path, std::string_view quality, std::string_view sample_rate);

// The file name part of a path: the text after the last '/'.
std::string_view file_name_part(std::string_view path);

} // namespace karvo
