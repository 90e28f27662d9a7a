// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the selected rows of the virtual playlist one place up or down, or all of them to the top or the bottom. The positions are the ascending selected
// row numbers taken when the command starts; they are rewritten as rows move so that an auto-repeating button can
// keep moving the same rows. The selection marks positions, so it is returned as rows, not entries.
#pragma once

#include <vector>

namespace karvo {

class media_list;

struct move_result {
    std::vector<int> selected; // the selection after the move, ascending, no duplicates
    int focused = -1;          // the row that became focused, -1 when nothing moved
    int first_changed = -1;    // rows first_changed .. last_changed were rewritten
    int last_changed = -1;
};

// Walks `positions` in order; each row p > 0 changes places with row p - 1, which takes its selection. Row 0 stays,
// and a row above that was selected but could not move still changes places with the row below it.
move_result move_selected_up(media_list& list, std::vector<int>& positions, const std::vector<int>& selected);

// Walks `positions` from last to first; each row p below the last row changes places with row p + 1, which takes
// its selection. Nothing happens when `positions` is empty.
move_result move_selected_down(media_list& list, std::vector<int>& positions, const std::vector<int>& selected);

// Every selected row goes to the top, each in front of the ones moved before it, so they end in reverse order;
// positions 0 .. k-1 are selected and k-1 focused. Rows 0 .. the last selected row are rewritten.
move_result move_selected_to_top(media_list& list, const std::vector<int>& selected);

// Every selected row goes to the end, walked from the last, so they end in reverse order; only the last position
// stays selected and focused. Rows from the first selected row to the end are rewritten.
move_result move_selected_to_bottom(media_list& list, const std::vector<int>& selected);

} // namespace karvo
