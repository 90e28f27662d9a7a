// SPDX-License-Identifier: GPL-3.0-or-later
// The 128-byte ID3v1 tag at the end of an MP3 file and the ID3v1 genre names. id3_class serves the main window
// (genre names only); id3_2_class serves the tag editor: genre names, reading and writing the tag. Text is CP1252
// on disk and UTF-8 here.
#pragma once

#include <cstdint>
#include <string>

#include "library/string_list.h"

namespace karvo {
namespace platform {
class prompts;
}

inline constexpr const char* id3_file_error_text = "Can't Read from File.";
inline constexpr const char* id3_file_error_caption = "File Error";

inline constexpr int id3_tag_size = 128;
inline constexpr int id3_no_genre = 255;

// Field widths in encoded bytes.
inline constexpr std::size_t id3_text_width = 30;
inline constexpr std::size_t id3_year_width = 4;
inline constexpr std::size_t id3v11_comment_width = 28;

// The 111 names, index = genre number 0..110.
const string_list& id3_genre_table();
// The table entry; a number outside the table gives the empty string.
std::string id3_genre_name(int number);

// The number of a genre given by its table name (any case) or as a number 0..255; -1 for anything else.
int id3_genre_number(const std::string& text);

struct id3_tag {
    std::string title, artist, album, year, comment;
    int genre = id3_no_genre; // 0..255
    int track = 0;            // ID3v1.1 track number 1..255; 0: none
    bool operator==(const id3_tag&) const = default;
};

// Whether the file begins with an ID3v2 header (players and the playlist columns prefer that tag).
bool has_id3v2_tag(const std::string& path);

class id3_class {
public:
    id3_class();
    std::string genre_name(int number) const { return id3_genre_name(number); }

    std::string text = "0";
    std::string last_read; // never filled here: the main window reads no tags
    string_list genres;
    int spare = 0;
};

class id3_2_class {
public:
    // `prompts` shows "Can't Read from File."; without it failures are silent.
    explicit id3_2_class(platform::prompts* prompts = nullptr);

    std::string genre_name(int number) const { return id3_genre_name(number); }

    // True when the block 128 bytes before the end starts with "TAG". Otherwise the fields are empty and the genre
    // is 255; a missing, short or non-regular file reads so silently, an I/O error after opening is reported.
    bool read_tag(const std::string& path, id3_tag& tag);

    // Overwrites a block that starts with "TAG" exactly 128 bytes before the end, else appends 128 bytes. One
    // positioned write, checked; on failure the file is left as it was and the error reported. Only the low eight
    // bits of the genre are stored (nothing selected, -1, becomes 255).
    bool write_tag(const std::string& path, const id3_tag& tag);

    // The 128 bytes written for a tag. A track number is stored (ID3v1.1: a zero byte, then the number, in the
    // comment's last two bytes) when the comment leaves room for it, 28 bytes.
    static std::string encode_tag(const id3_tag& tag);

    std::string text = "0";
    std::string last_read; // the first 127 bytes of the last block read
    string_list genres;

private:
    void report();
    platform::prompts* prompts_;
};

} // namespace karvo
