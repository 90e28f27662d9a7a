// SPDX-License-Identifier: GPL-3.0-or-later
// The search of the virtual playlist: simple and advanced ("*+a -b +c") queries over one of nine columns, either
// selecting the matches or narrowing the list to them. While narrowed, the full list is the media list's backup
// copy; the count caption then says how many of how many are shown.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "library/string_list.h"

namespace karvo {

class media_list;

struct search_query {
    string_list include;
    string_list exclude;
};

// A query not starting with '*' is one include term, as typed. After a '*', each term starts with '+' (include)
// or '-' (exclude) and runs to the next blank followed by a sign; empty terms are dropped.
search_query parse_search_query(std::string_view query);

struct search_category {
    const char* text;
    int column; // media_list column
};
inline constexpr std::array<search_category, 9> search_categories = {{
    {"Filename", 0},
    {"Filename and Path", 1},
    {"ID3 Artist", 5},
    {"ID3 Album", 4},
    {"ID3 Year", 6},
    {"ID3 Genre", 8},
    {"Song Length", 9},
    {"Quality of Audio", 11},
    {"MP3 Sample Rate", 15},
}};
// The column of a category; an index outside the list searches the display name.
int search_column(int category);

// Live rows whose `column` holds `term` without regard to case, ascending.
std::vector<int> rows_containing(const media_list& list, int column, std::string_view term);

enum class search_mode { select_found, display_found };

struct search_result {
    // The live rows were replaced (narrowed or brought back): the view is reset.
    bool list_rewritten = false;
    std::vector<int> selected; // the selection afterwards, ascending
};

// Runs one search as the Enter key and the search button do.
// - Empty query: a narrowed list comes back from the backup copy; nothing is selected.
// - Display Found: the full list (the backup copy, taken now unless it holds at least as many rows as the live
//   list) is searched; the live list becomes, per include term, the matches from the last row to the first, less
//   the rows matching an exclude term. Nothing is selected.
// - Select Found: a narrowed list comes back first (its selection then no longer applies); the include matches
//   join the selection and the exclude matches leave it.
// A restored backup is discarded: the list is whole again, and later edits must not make it look narrowed.
search_result run_search(media_list& list, std::string_view query, int category, search_mode mode,
                         const std::vector<int>& selected);

// Narrowed: the live list holds fewer rows than the backup copy.
bool is_narrowed(const media_list& list);

// "Media Names   (Total Files 12)", or while narrowed "Media Names   (Found 12 of 3,400)".
std::string count_caption(const std::string& media_names, const std::string& total_files, int count, int backup_count);
// 3400 as "3,400".
std::string with_thousands(long long number);

} // namespace karvo
