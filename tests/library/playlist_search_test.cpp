// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_search.h"

#include <gtest/gtest.h>

#include "library/media_list.h"

namespace karvo {
namespace {

TEST(playlist_search, parses_simple_and_advanced_queries) {
    struct query_case {
        const char* query;
        string_list include;
        string_list exclude;
    };
    const std::vector<query_case> cases = {
        {"", {}, {}},
        {"aqua dawn", {"aqua dawn"}, {}},
        {"a+b -c", {"a+b -c"}, {}},
        {"*+aqua -lollipop +candyman", {"aqua", "candyman"}, {"lollipop"}},
        {"*+rock-n-roll +a b", {"rock-n-roll", "a b"}, {}},
        {"*-live", {}, {"live"}},
        {"*no signs", {}, {}},
        {"*+ +x", {"x"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        const search_query terms = parse_search_query(c.query);
        EXPECT_EQ(terms.include, c.include);
        EXPECT_EQ(terms.exclude, c.exclude);
    }
}

media_list ten_rows() {
    media_list list;
    for (int i = 0; i < 10; ++i) {
        media_fields fields;
        const std::string name = i == 2 ? "Aquatic Dawn" : i == 7 ? "aqua candyman" : i == 5 ? "Candyman live" : "r";
        fields[0] = "/music/" + name + std::to_string(i) + ".mp3";
        fields[5] = std::to_string(i); // the comment keeps the row's original number
        fields[12] = i == 3 ? "128" : "192";
        list.append(make_media_info(fields), "");
    }
    return list;
}

std::vector<int> shown(const media_list& list) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row)
        rows.push_back(std::stoi(std::string(list.cell(Comment, row))));
    return rows;
}

TEST(playlist_search, narrows_selects_and_brings_back_the_list) {
    struct step {
        const char* query;
        int category;
        search_mode mode;
        std::vector<int> selected_before;
        std::vector<int> rows_after; // original row numbers shown, in order
        std::vector<int> selected_after;
        bool rewritten;
    };
    constexpr auto display = search_mode::display_found;
    constexpr auto select = search_mode::select_found;
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    // One session, in order: each step starts from the list the step before left.
    const std::vector<step> steps = {
        {"aqua", 0, display, {}, {7, 2}, {}, true},
        {"candyman", 0, display, {}, {7, 5}, {}, true}, // searched from all ten rows again
        {"", 0, display, {1}, all, {}, true},
        {"*+aqua +candyman", 0, display, {}, {7, 2, 7, 5}, {}, true},
        {"*+aqua +candyman -live", 0, display, {}, {7, 2, 7}, {}, true},
        {"aqua", 0, select, {0}, all, {2, 7}, true}, // the narrowed list comes back first
        {"*+candyman -aqua", 0, select, {0, 7}, all, {0, 5}, false},
        {"128", 7, display, {}, {3}, {}, true}, // Quality of Audio: 128kbits
        {"*-live", 0, display, {}, {}, {}, true},
        {"", 0, select, {}, all, {}, true},
    };
    media_list list = ten_rows();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.query);
        const search_result result = run_search(list, s.query, s.category, s.mode, s.selected_before);
        EXPECT_EQ(shown(list), s.rows_after);
        EXPECT_EQ(result.selected, s.selected_after);
        EXPECT_EQ(result.list_rewritten, s.rewritten);
    }
    // Once the list is whole again, later edits must not make it look narrowed.
    list.remove(0);
    EXPECT_FALSE(is_narrowed(list));
    EXPECT_EQ(run_search(list, "", 0, display, {}).list_rewritten, false);
    EXPECT_EQ(list.count(), 9);

    // A list in another order than its store's slots comes back in its own order.
    media_list moved = ten_rows();
    moved.swap(0, 1);
    run_search(moved, "aqua", 0, display, {});
    run_search(moved, "", 0, display, {});
    EXPECT_EQ(shown(moved), (std::vector<int>{1, 0, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(playlist_search, count_caption_says_when_the_list_is_narrowed) {
    struct caption_case {
        int count, backup_count;
        const char* caption;
    };
    const std::vector<caption_case> cases = {
        {12, -1, "Media Names   (Total Files 12)"},
        {3400, 3400, "Media Names   (Total Files 3400)"},
        {12, 3400, "Media Names   (Found 12 of 3,400)"},
        {0, 1234567, "Media Names   (Found 0 of 1,234,567)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(count_caption("Media Names", "Total Files", c.count, c.backup_count), c.caption);
}

} // namespace
} // namespace karvo
