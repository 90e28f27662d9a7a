// SPDX-License-Identifier: GPL-3.0-or-later
// The editing commands of the virtual playlist: the four deletions, Clone Selected and the three selection
// commands. Each takes the ascending selected positions, works in one pass over the list, and returns the selection
// afterwards (positions, not entries) with the rows it removed or inserted, so the view can be told precisely.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace karvo {

namespace platform {
class prompts;
}
class command_texts;
class media_list;

struct row_range {
    int first = 0;
    int last = -1; // inclusive; last < first is an empty range
    bool operator==(const row_range&) const = default;
};

// Runs of consecutive rows of an ascending list of positions, ascending.
std::vector<row_range> runs_of(const std::vector<int>& rows);

// The selected rows that exist in `list`, ascending, each once.
std::vector<int> valid_rows(const media_list& list, const std::vector<int>& selected);

struct edit_result {
    bool changed = false;      // rows were removed or inserted
    std::vector<int> selected; // the selection afterwards, ascending
    int focused = -1;          // the row to focus; -1 leaves the focus where it is
    // Removed rows in the coordinates before the command, last range first: removing them one range at a time in
    // this order keeps every later range valid.
    std::vector<row_range> removed;
    // Inserted rows in the coordinates after the command, first range first.
    std::vector<row_range> inserted;
};

// The selected rows go; nothing is selected afterwards (the positions would mark rows nobody chose).
edit_result delete_selected(media_list& list, const std::vector<int>& selected);
// Every row not selected goes; the rows left, which are the ones that were selected, stay selected.
edit_result delete_all_but_selected(media_list& list, const std::vector<int>& selected);
// All rows go; the backup copy of the search stays.
edit_result delete_all(media_list& list);
// Rows whose full path names no existing file go; nothing is selected afterwards.
using file_test = std::function<bool(const std::string& path)>;
edit_result delete_broken_files(media_list& list, const file_test& exists = {});

// Each selected row gets a copy right after it. The selected positions stay selected and the first of them is
// focused, as the command walks the rows from the last to the first.
edit_result clone_selected(media_list& list, const std::vector<int>& selected);

// Every row whose full path is `path` gets `info` (its list name stays); returns those rows, ascending.
std::vector<int> refresh_rows_of(media_list& list, const std::string& path, const std::string& info);

// Selection commands: only `selected` and `focused` of the result are used (the focus stays).
edit_result select_all(const media_list& list);
edit_result invert_selection(const media_list& list, const std::vector<int>& selected);
// Asks "Select all entries that have..."; a non-empty answer adds every row whose display name contains it
// (without regard to case) to the selection. nullopt (nothing changes) for Cancel or an empty answer.
std::optional<edit_result> select_that_have(const media_list& list, const std::vector<int>& selected,
                                            platform::prompts& prompts, const command_texts& texts);

} // namespace karvo
