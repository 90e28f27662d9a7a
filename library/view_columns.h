// SPDX-License-Identifier: GPL-3.0-or-later
// The columns of the two list views, one row each: the entry field it shows, its built-in caption (the language
// plug-in may replace it), its width key in karvo.ini with the default width, its alignment and how a header click
// sorts it. The views, the settings, the headers and the tests all read these tables.
#pragma once

#include <array>
#include <cstddef>

#include "library/media_entry.h"

namespace karvo {

enum class column_align { left, right };
// How a header click orders the rows: by the field's upper-cased text.
enum class column_sort { text };

struct view_column {
    media_column field;
    const char* caption;
    const char* width_key; // [Settings] of karvo.ini
    int default_width;
    column_align align = column_align::left;
    column_sort sort = column_sort::text;
};

// Length and Quality start wide enough for "00:00", "320kbits" and their captions at the default font size.
// `LstMusicList`, the virtual playlist; column 0 shows the count caption instead of its own.
inline constexpr auto playlist_columns = std::to_array<view_column>({
    {Media, "Media Name", "MediaColumnWidth", 210},
    {Artist, "Artist", "ArtistColumnWidth", 90},
    {Song, "Song", "SongColumnWidth", 90},
    {Album, "Album", "AlbumColumnWidth", 90},
    {Genre, "Genre", "GenreColumnWidth", 50},
    {Length, "Length", "LengthColumnWidth", 56},
    {Quality, "Quality", "QualityColumnWidth", 64},
    {Year, "Year", "YearColumnWidth", 40},
    {ListName, "List", "ListNameColumnWidth", 70},
});

// `LstMusicListAll`, the folder listing. Its Quality and Length columns keep the width keys they have always been
// stored under (Length's key holds Quality's width and the other way round), so existing files keep their widths.
inline constexpr auto folder_columns = std::to_array<view_column>({
    {Media, "Media Name", "MediaColumnWidth_Dir", 125},
    {Artist, "Artist", "ArtistColumnWidth_Dir", 70},
    {Song, "Song", "SongColumnWidth_Dir", 70},
    {Album, "Album", "AlbumColumnWidth_Dir", 70},
    {Genre, "Genre", "GenreColumnWidth_Dir", 50},
    {Quality, "Quality", "LengthColumnWidth_Dir", 64},
    {Length, "Length", "QualityColumnWidth_Dir", 56},
    {Year, "Year", "YearColumnWidth_Dir", 40},
});

inline constexpr int playlist_view_columns = static_cast<int>(playlist_columns.size());
inline constexpr int folder_view_columns = static_cast<int>(folder_columns.size());

template <std::size_t N>
constexpr std::array<int, N> default_widths(const std::array<view_column, N>& columns) {
    std::array<int, N> widths{};
    for (std::size_t i = 0; i < N; ++i)
        widths[i] = columns[i].default_width;
    return widths;
}

} // namespace karvo
