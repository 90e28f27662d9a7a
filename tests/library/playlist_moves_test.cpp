// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_moves.h"

#include <gtest/gtest.h>

#include "library/media_list.h"

namespace karvo {
namespace {

media_list rows(int count) {
    media_list list;
    for (int i = 0; i < count; ++i) {
        media_fields fields;
        fields[0] = "/music/r" + std::to_string(i) + ".mp3";
        list.append(make_media_info(fields), "pls");
    }
    return list;
}

std::string order(const media_list& list) {
    std::string text;
    for (int i = 0; i < list.count(); ++i)
        text += std::string(i ? " " : "").append(list.full_path(i).substr(7, list.full_path(i).size() - 11));
    return text;
}

struct move_case {
    const char* name;
    bool up;
    int rows;
    std::vector<int> positions;
    int repeats;
    const char* order;
    std::vector<int> positions_after;
    std::vector<int> selected_after;
    int focused;
};

TEST(playlist_moves, moves_rows_and_selection_as_the_buttons_do) {
    const std::vector<move_case> cases = {
        {"up 0 and 3: row 0 stays", true, 5, {0, 3}, 1, "r0 r1 r3 r2 r4", {0, 2}, {0, 2}, 2},
        {"up 0 and 1: the pair changes places", true, 5, {0, 1}, 1, "r1 r0 r2 r3 r4", {0, 0}, {0}, 0},
        {"up a block of two", true, 5, {1, 2}, 1, "r1 r2 r0 r3 r4", {0, 1}, {0, 1}, 1},
        {"up held until the top", true, 5, {3}, 5, "r3 r0 r1 r2 r4", {0}, {0}, -1},
        {"up a block held at the top", true, 4, {1, 2}, 2, "r2 r1 r0 r3", {0, 0}, {0}, 0},
        {"up with nothing selected", true, 3, {}, 1, "r0 r1 r2", {}, {}, -1},
        {"down the last row", false, 5, {4}, 1, "r0 r1 r2 r3 r4", {4}, {4}, -1},
        {"down 1 and 3", false, 5, {1, 3}, 1, "r0 r2 r1 r4 r3", {2, 4}, {2, 4}, 2},
        {"down a block at the bottom", false, 5, {3, 4}, 1, "r0 r1 r2 r4 r3", {4, 4}, {4}, 4},
        {"down with nothing selected", false, 3, {}, 1, "r0 r1 r2", {}, {}, -1},
        {"down held until the bottom", false, 4, {0}, 6, "r1 r2 r3 r0", {3}, {3}, -1},
        {"positions beyond the list are ignored", true, 3, {7}, 1, "r0 r1 r2", {7}, {7}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list = rows(c.rows);
        std::vector<int> positions = c.positions;
        std::vector<int> selected = c.positions;
        move_result result;
        for (int i = 0; i < c.repeats; ++i) {
            result = c.up ? move_selected_up(list, positions, selected) : move_selected_down(list, positions, selected);
            selected = result.selected;
        }
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(positions, c.positions_after);
        EXPECT_EQ(result.selected, c.selected_after);
        EXPECT_EQ(result.focused, c.focused);
    }
}

TEST(playlist_moves, reports_the_rewritten_range) {
    media_list list = rows(6);
    std::vector<int> positions = {1, 4};
    const move_result result = move_selected_up(list, positions, positions);
    EXPECT_EQ(result.first_changed, 0);
    EXPECT_EQ(result.last_changed, 4);
}

TEST(playlist_moves, moves_the_selection_to_the_top_or_the_bottom) {
    struct end_case {
        const char* name;
        bool top;
        int rows;
        std::vector<int> selected;
        const char* order;
        std::vector<int> selected_after;
        int focused, first_changed, last_changed;
    };
    const std::vector<end_case> cases = {
        {"top 3 and 5", true, 7, {3, 5}, "r5 r3 r0 r1 r2 r4 r6", {0, 1}, 1, 0, 5},
        {"top with row 0 among them", true, 4, {0, 2}, "r2 r0 r1 r3", {0, 1}, 1, 0, 2},
        {"bottom 3 and 5 of 10", false, 10, {3, 5}, "r0 r1 r2 r4 r6 r7 r8 r9 r5 r3", {9}, 9, 3, 9},
        {"bottom the last row", false, 3, {2}, "r0 r1 r2", {2}, 2, 2, 2},
        {"rows outside the list are left out", true, 3, {1, 9, -1}, "r1 r0 r2", {0}, 0, 0, 1},
        {"nothing selected", false, 3, {}, "r0 r1 r2", {}, -1, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list = rows(c.rows);
        const move_result result =
            c.top ? move_selected_to_top(list, c.selected) : move_selected_to_bottom(list, c.selected);
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(result.selected, c.selected_after);
        EXPECT_EQ(result.focused, c.focused);
        EXPECT_EQ(result.first_changed, c.first_changed);
        EXPECT_EQ(result.last_changed, c.last_changed);
    }
}

} // namespace
} // namespace karvo
