// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_moves.h"

#include <algorithm>
#include <set>

#include "library/media_list.h"
#include "library/playlist_edits.h"

namespace karvo {

namespace {

// One step of a move: row `from` exchanges places with row `to`, which takes over the selection and the focus.
void step(std::set<int>& selection, move_result& result, int from, int to) {
    selection.erase(from);
    selection.insert(to);
    result.focused = to;
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    result.first_changed = result.first_changed < 0 ? low : std::min(result.first_changed, low);
    result.last_changed = std::max(result.last_changed, high);
}

move_result finish(const std::set<int>& selection, move_result result) {
    result.selected.assign(selection.begin(), selection.end());
    return result;
}

// The row order with the picked rows (ascending) taken out and put, reversed, in front of or behind the rest.
std::vector<int> order_with_picked(int count, const std::vector<int>& picked, bool to_top) {
    std::vector<char> is_picked(static_cast<std::size_t>(count), 0);
    for (const int row : picked)
        is_picked[static_cast<std::size_t>(row)] = 1;
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(count));
    if (to_top)
        order.assign(picked.rbegin(), picked.rend());
    for (int row = 0; row < count; ++row)
        if (!is_picked[static_cast<std::size_t>(row)])
            order.push_back(row);
    if (!to_top)
        order.insert(order.end(), picked.rbegin(), picked.rend());
    return order;
}

} // namespace

move_result move_selected_to_top(media_list& list, const std::vector<int>& selected) {
    const std::vector<int> picked = valid_rows(list, selected);
    move_result result;
    if (picked.empty())
        return result;
    list.reorder_rows(order_with_picked(list.count(), picked, true));
    const int moved = static_cast<int>(picked.size());
    result.selected.resize(picked.size());
    for (int k = 0; k < moved; ++k)
        result.selected[static_cast<std::size_t>(k)] = k;
    result.focused = moved - 1;
    result.first_changed = 0;
    result.last_changed = picked.back();
    return result;
}

move_result move_selected_to_bottom(media_list& list, const std::vector<int>& selected) {
    const std::vector<int> picked = valid_rows(list, selected);
    move_result result;
    if (picked.empty())
        return result;
    list.reorder_rows(order_with_picked(list.count(), picked, false));
    const int last = list.count() - 1;
    result.selected = {last};
    result.focused = last;
    result.first_changed = picked.front();
    result.last_changed = last;
    return result;
}

move_result move_selected_up(media_list& list, std::vector<int>& positions, const std::vector<int>& selected) {
    std::set<int> selection(selected.begin(), selected.end());
    move_result result;
    for (int& p : positions) {
        if (p <= 0 || p >= list.count())
            continue;
        list.move_up(p);
        step(selection, result, p, p - 1);
        p = p - 1;
    }
    return finish(selection, std::move(result));
}

move_result move_selected_down(media_list& list, std::vector<int>& positions, const std::vector<int>& selected) {
    std::set<int> selection(selected.begin(), selected.end());
    move_result result;
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        int& p = *it;
        if (p < 0 || p >= list.count() - 1)
            continue;
        list.move_down(p);
        step(selection, result, p, p + 1);
        p = p + 1;
    }
    return finish(selection, std::move(result));
}

} // namespace karvo
