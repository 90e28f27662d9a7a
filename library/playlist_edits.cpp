// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_edits.h"

#include <algorithm>
#include <string_view>

#include "library/command_texts.h"
#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_search.h"
#include "platform/file_system.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

std::vector<int> all_rows(int count) {
    std::vector<int> rows(static_cast<std::size_t>(std::max(count, 0)));
    for (int row = 0; row < count; ++row)
        rows[static_cast<std::size_t>(row)] = row;
    return rows;
}

// The rows of 0 .. count-1 that are not in `rows` (ascending).
std::vector<int> complement(int count, const std::vector<int>& rows) {
    std::vector<int> rest;
    rest.reserve(static_cast<std::size_t>(count) - std::min(rows.size(), static_cast<std::size_t>(count)));
    std::size_t next = 0;
    for (int row = 0; row < count; ++row) {
        if (next < rows.size() && rows[next] == row)
            ++next;
        else
            rest.push_back(row);
    }
    return rest;
}

edit_result remove(media_list& list, const std::vector<int>& rows) {
    edit_result result;
    if (rows.empty())
        return result;
    list.remove_rows(rows);
    result.changed = true;
    result.removed = runs_of(rows);
    std::reverse(result.removed.begin(), result.removed.end());
    return result;
}

} // namespace

std::vector<int> valid_rows(const media_list& list, const std::vector<int>& selected) {
    std::vector<int> rows;
    rows.reserve(selected.size());
    for (const int row : selected)
        if (row >= 0 && row < list.count())
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::vector<row_range> runs_of(const std::vector<int>& rows) {
    std::vector<row_range> runs;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        runs.push_back({rows[i], rows[j]});
        i = j + 1;
    }
    return runs;
}

edit_result delete_selected(media_list& list, const std::vector<int>& selected) {
    return remove(list, valid_rows(list, selected));
}

edit_result delete_all_but_selected(media_list& list, const std::vector<int>& selected) {
    const std::vector<int> keep = valid_rows(list, selected);
    if (keep.empty())
        return {};
    edit_result result = remove(list, complement(list.count(), keep));
    result.selected = all_rows(list.count());
    return result;
}

edit_result delete_all(media_list& list) {
    edit_result result;
    if (list.count() == 0)
        return result;
    result.changed = true;
    result.removed = {{0, list.count() - 1}};
    list.clear();
    return result;
}

edit_result delete_broken_files(media_list& list, const file_test& exists) {
    std::vector<int> broken;
    std::vector<char> present;
    if (!exists) {
        std::vector<std::string_view> paths;
        paths.reserve(static_cast<std::size_t>(list.count()));
        for (int row = 0; row < list.count(); ++row)
            paths.emplace_back(list.full_path(row));
        present = platform::files_exist(paths);
    }
    for (int row = 0; row < list.count(); ++row)
        if (exists ? !exists(std::string(list.full_path(row))) : !present[static_cast<std::size_t>(row)])
            broken.push_back(row);
    return remove(list, broken);
}

edit_result clone_selected(media_list& list, const std::vector<int>& selected) {
    const std::vector<int> rows = valid_rows(list, selected);
    edit_result result;
    if (rows.empty())
        return result;
    list.clone_rows(rows);
    result.changed = true;
    // The copy of the i-th selected row stands at row + i + 1 once all copies are in.
    std::vector<int> copies(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        copies[i] = rows[i] + static_cast<int>(i) + 1;
    result.inserted = runs_of(copies);
    result.selected = rows;
    result.focused = rows.front();
    return result;
}

edit_result select_all(const media_list& list) {
    edit_result result;
    result.selected = all_rows(list.count());
    return result;
}

edit_result invert_selection(const media_list& list, const std::vector<int>& selected) {
    edit_result result;
    result.selected = complement(list.count(), valid_rows(list, selected));
    return result;
}

std::optional<edit_result> select_that_have(const media_list& list, const std::vector<int>& selected,
                                            platform::prompts& prompts, const command_texts& texts) {
    const auto text = prompts.input_box(texts.title, texts[texts::select_entries_that_have], "");
    if (!text || text->empty())
        return std::nullopt;
    const std::vector<int> found = rows_containing(list, Media, *text);
    edit_result result;
    const std::vector<int> before = valid_rows(list, selected);
    std::set_union(before.begin(), before.end(), found.begin(), found.end(), std::back_inserter(result.selected));
    return result;
}

std::vector<int> refresh_rows_of(media_list& list, const std::string& path, const std::string& info) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row)
        if (list.full_path(row) == path)
            rows.push_back(row);
    for (int row : rows)
        list.replace(row, info);
    return rows;
}

} // namespace karvo
