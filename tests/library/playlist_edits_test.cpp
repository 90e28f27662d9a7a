// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_edits.h"

#include <set>

#include <gtest/gtest.h>

#include "library/command_texts.h"
#include "library/media_list.h"
#include "platform/testing/scripted_prompts.h"

namespace karvo {
namespace {

media_list named_rows(const std::vector<std::string>& names) {
    media_list list;
    for (const std::string& name : names) {
        media_fields fields;
        fields[0] = "/music/" + name + ".mp3";
        list.append(make_media_info(fields), "pls");
    }
    return list;
}

media_list rows(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("r" + std::to_string(i));
    return named_rows(names);
}

std::string order(const media_list& list) {
    std::string text;
    for (int i = 0; i < list.count(); ++i)
        text += std::string(i ? " " : "").append(list.cell(Media, i));
    return text;
}

TEST(playlist_edits, deletes_and_clones_by_position) {
    enum class command { selected, all_but, all, broken, clone };
    struct edit_case {
        const char* name;
        command run;
        int rows;
        std::vector<int> selected;
        const char* order;
        std::vector<int> selected_after;
        int focused;
        std::vector<row_range> removed;
        std::vector<row_range> inserted;
    };
    const std::vector<edit_case> cases = {
        {"delete 2 and 5 of 8", command::selected, 8, {2, 5}, "r0 r1 r3 r4 r6 r7", {}, -1, {{5, 5}, {2, 2}}, {}},
        {"delete a run", command::selected, 5, {1, 2, 3}, "r0 r4", {}, -1, {{1, 3}}, {}},
        {"delete with nothing selected", command::selected, 3, {}, "r0 r1 r2", {}, -1, {}, {}},
        {"delete ignores rows beyond the list", command::selected, 3, {1, 8}, "r0 r2", {}, -1, {{1, 1}}, {}},
        {"all but 1 and 3", command::all_but, 5, {1, 3}, "r1 r3", {0, 1}, -1, {{4, 4}, {2, 2}, {0, 0}}, {}},
        {"all but nothing selected", command::all_but, 3, {}, "r0 r1 r2", {}, -1, {}, {}},
        {"all", command::all, 4, {1}, "", {}, -1, {{0, 3}}, {}},
        {"broken: only r1 and r2 exist", command::broken, 4, {}, "r1 r2", {}, -1, {{3, 3}, {0, 0}}, {}},
        {"clone 1 and 3 of 4", command::clone, 4, {1, 3}, "r0 r1 r1 r2 r3 r3", {1, 3}, 1, {}, {{2, 2}, {5, 5}}},
        {"clone a run", command::clone, 3, {0, 1}, "r0 r0 r1 r1 r2", {0, 1}, 0, {}, {{1, 1}, {3, 3}}},
    };
    const std::set<std::string> present = {"/music/r1.mp3", "/music/r2.mp3"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list = rows(c.rows);
        edit_result result;
        switch (c.run) {
            case command::selected: result = delete_selected(list, c.selected); break;
            case command::all_but: result = delete_all_but_selected(list, c.selected); break;
            case command::all: result = delete_all(list); break;
            case command::broken:
                result = delete_broken_files(list, [&](const std::string& path) { return present.count(path) > 0; });
                break;
            case command::clone: result = clone_selected(list, c.selected); break;
        }
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(result.selected, c.selected_after);
        EXPECT_EQ(result.focused, c.focused);
        EXPECT_EQ(result.removed, c.removed);
        EXPECT_EQ(result.inserted, c.inserted);
        EXPECT_EQ(result.changed, !c.removed.empty() || !c.inserted.empty());
    }
}

TEST(playlist_edits, a_clone_is_a_whole_copy_that_outlives_its_original) {
    media_list list = rows(2);
    list.set_cell(Artist, 0, "Someone");
    clone_selected(list, {0});
    delete_selected(list, {0});
    EXPECT_EQ(list.cell(Artist, 0), "Someone");
    EXPECT_EQ(list.full_path(0), "/music/r0.mp3");
}

TEST(playlist_edits, selection_commands) {
    struct select_case {
        const char* name;
        std::vector<int> selected;
        std::optional<std::string> answer; // Select that Have...; nullopt runs Invert
        std::optional<std::vector<int>> selected_after;
    };
    const std::vector<select_case> cases = {
        {"invert", {0, 2}, std::nullopt, std::vector<int>{1, 3}},
        {"have aqua keeps the earlier selection", {1}, "aqua", std::vector<int>{0, 1, 2}},
        {"have is not case sensitive on both sides", {}, "QUA", std::vector<int>{0, 2}},
        {"have an empty text", {1}, "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const media_list list = named_rows({"Aquatic Dawn", "Lollipop", "AQUARIUM", "Candyman"});
        if (!c.answer) {
            EXPECT_EQ(invert_selection(list, c.selected).selected, *c.selected_after);
            continue;
        }
        platform::scripted_prompts prompts;
        prompts.answer_input(c.answer);
        const auto result = select_that_have(list, c.selected, prompts, command_texts{});
        ASSERT_EQ(result.has_value(), c.selected_after.has_value());
        if (result) {
            EXPECT_EQ(result->selected, *c.selected_after);
        }
        ASSERT_EQ(prompts.questions().size(), 1u);
        EXPECT_EQ(prompts.questions()[0].text, "Select all entries that have...");
    }
    EXPECT_EQ(select_all(rows(3)).selected, (std::vector<int>{0, 1, 2}));
}

} // namespace
} // namespace karvo
