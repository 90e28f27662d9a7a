#include "library/playlist_moves.h"

#include <algorithm>
#include <set>

#include "library/media_list.h"

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

} // namespace

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
