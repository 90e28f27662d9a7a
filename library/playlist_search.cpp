// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_search.h"

#include <algorithm>
#include <functional>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/text.h"

namespace karvo {

namespace {

bool is_sign(char c) {
    return c == '+' || c == '-';
}

// Rows of the live list (or its backup) whose cell holds the upper-cased `needle`, in the order asked for.
std::vector<int> matching(const media_list& list, int column, const std::string& needle, bool in_backup,
                          bool from_last) {
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    std::string key;
    return list.rows_where(
        column,
        [&](std::string_view cell) {
            if (needle.empty())
                return true;
            key.clear();
            append_upper_case(key, cell);
            return std::search(key.begin(), key.end(), searcher) != key.end();
        },
        in_backup, from_last);
}

std::vector<int> sorted_union(std::vector<int> a, std::vector<int> b) {
    std::vector<int> out;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

} // namespace

search_query parse_search_query(std::string_view query) {
    search_query terms;
    if (query.empty())
        return terms;
    if (query.front() != '*') {
        terms.include.emplace_back(query);
        return terms;
    }
    std::string_view rest = query.substr(1);
    for (;;) {
        const std::size_t start = rest.find_first_of("+-");
        if (start == std::string_view::npos)
            break;
        const char sign = rest[start];
        std::size_t end = start + 1;
        while (end < rest.size() && !(rest[end] == ' ' && end + 1 < rest.size() && is_sign(rest[end + 1])))
            ++end;
        const std::string term(rest.substr(start + 1, end - start - 1));
        if (!term.empty())
            (sign == '+' ? terms.include : terms.exclude).push_back(term);
        rest = end < rest.size() ? rest.substr(end + 1) : std::string_view();
    }
    return terms;
}

int search_column(int category) {
    if (category < 0 || category >= static_cast<int>(search_categories.size()))
        return search_categories[0].column;
    return search_categories[static_cast<std::size_t>(category)].column;
}

std::vector<int> rows_containing(const media_list& list, int column, std::string_view term) {
    return matching(list, column, upper_case(term), false, false);
}

bool is_narrowed(const media_list& list) {
    return list.count() < list.backup_count();
}

search_result run_search(media_list& list, std::string_view query, int category, search_mode mode,
                         const std::vector<int>& selected) {
    const search_query terms = parse_search_query(query);
    search_result result;
    if (query.empty() || mode == search_mode::select_found) {
        if (is_narrowed(list)) {
            list.restore_and_discard_backup();
            result.list_rewritten = true;
        }
        if (query.empty())
            return result;
    }
    const int column = search_column(category);

    if (mode == search_mode::display_found) {
        if (list.backup_count() < list.count())
            list.move_to_backup();
        else
            list.clear();
        for (const std::string& term : terms.include)
            list.append_rows_from_backup(matching(list, column, upper_case(term), true, true));
        std::vector<int> excluded;
        for (const std::string& term : terms.exclude)
            excluded = sorted_union(std::move(excluded), rows_containing(list, column, term));
        list.remove_rows(excluded);
        result.list_rewritten = true;
        return result;
    }

    std::vector<int> selection;
    if (!result.list_rewritten)
        for (const int row : selected)
            if (row >= 0 && row < list.count())
                selection.push_back(row);
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    for (const std::string& term : terms.include)
        selection = sorted_union(std::move(selection), rows_containing(list, column, term));
    for (const std::string& term : terms.exclude) {
        const std::vector<int> drop = rows_containing(list, column, term);
        std::vector<int> kept;
        std::set_difference(selection.begin(), selection.end(), drop.begin(), drop.end(), std::back_inserter(kept));
        selection.swap(kept);
    }
    result.selected = std::move(selection);
    return result;
}

std::string with_thousands(long long number) {
    const unsigned long long magnitude =
        number < 0 ? 0ull - static_cast<unsigned long long>(number) : static_cast<unsigned long long>(number);
    const std::string digits = std::to_string(magnitude);
    std::string text;
    text.reserve(digits.size() + digits.size() / 3 + 1);
    if (number < 0)
        text += '-';
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            text += ',';
        text += digits[k];
    }
    return text;
}

std::string count_caption(const std::string& media_names, const std::string& total_files, int count, int backup_count) {
    if (count < backup_count)
        return media_names + "   (Found " + with_thousands(count) + " of " + with_thousands(backup_count) + ")";
    return media_names + "   (" + total_files + " " + std::to_string(count) + ")";
}

} // namespace karvo
