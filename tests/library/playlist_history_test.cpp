// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_history.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "library/playlist_commands.h"
#include "library/playlist_edits.h"
#include "library/playlist_moves.h"
#include "library/playlist_search.h"
#include "library/recovery_copy.h"
#include "library/unsaved_changes.h"
#include "platform/random.h"
#include "tests/library/store_context_fixture.h"

namespace karvo {
namespace {

using platform::message_result;

// Every cell of both tables, as a plain model of rows.
struct plain_model {
    std::vector<std::vector<std::string>> live, backup;
    int backup_count = -1;
    bool operator==(const plain_model&) const = default;
};

plain_model model_of(const media_list& list) {
    plain_model model;
    for (int row = 0; row < list.count(); ++row) {
        model.live.emplace_back();
        for (int column = 0; column < column_count; ++column)
            model.live.back().emplace_back(list.cell(column, row));
    }
    for (int row = 0; row < std::max(list.backup_count(), 0); ++row) {
        model.backup.emplace_back();
        for (int column = 0; column < column_count; ++column)
            model.backup.back().emplace_back(list.backup_cell(column, row));
    }
    model.backup_count = list.backup_count();
    return model;
}

std::string info(const std::string& name, const std::string& artist = "A") {
    media_fields fields;
    fields[0] = "/music/" + name + ".mp3";
    fields[2] = artist;
    fields[7] = "61";
    return make_media_info(fields);
}

void fill(media_list& list, int rows) {
    for (int row = 0; row < rows; ++row)
        list.append(info("r" + std::to_string(row), row % 2 ? "Aqua" : "Blue"), "L");
}

// Each command through the history: undo gives back every cell of both tables as before, redo as after, and a
// second undo/redo round trip does the same (the snapshots are not spent by use).
TEST(playlist_history, undo_and_redo_of_every_command_match_the_plain_model) {
    struct command_case {
        const char* what;
        std::function<void(media_list&)> run;
    };
    platform::random_source random(7);
    const std::vector<command_case> cases = {
        {"Add Files", [](media_list& l) { l.append(info("new"), ""); l.insert(1, info("ins"), ""); }},
        {"Delete Selected", [](media_list& l) { delete_selected(l, {0, 3, 11}); }},
        {"Delete All but Selected", [](media_list& l) { delete_all_but_selected(l, {2, 5}); }},
        {"Delete All", [](media_list& l) { delete_all(l); }},
        {"Clone Selected", [](media_list& l) { clone_selected(l, {1, 4}); }},
        {"Move Selected to Top", [](media_list& l) { move_selected_to_top(l, {3, 5}); }},
        {"Move Selected Down",
         [](media_list& l) {
             std::vector<int> kept = {2, 7};
             move_selected_down(l, kept, kept);
         }},
        {"Sort", [](media_list& l) { l.sort_descending(Media); }},
        {"Randomize", [&random](media_list& l) { l.randomize(random); }},
        {"Display Found", [](media_list& l) { run_search(l, "aqua", 2, search_mode::display_found, {}); }},
        {"Edit ID3 Tag", [](media_list& l) { l.set_cell(Artist, 4, "Tagged"); l.replace(0, info("re")); }},
        {"New Playlist", [](media_list& l) { begin_new_list(l); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        media_list list;
        fill(list, 12);
        playlist_history history;
        // A narrowed list first, so the backup's own undo is exercised too: the restored search below.
        for (const char* query : {"r1", ""})
            history.change(list, "Search", [&] {
                run_search(list, query, 0, search_mode::display_found, {});
                return true;
            });
        const plain_model before = model_of(list);
        ASSERT_TRUE(history.change(list, c.what, [&] { c.run(list); return true; }));
        const plain_model after = model_of(list);
        ASSERT_NE(after, before);
        EXPECT_EQ(history.undo_what(), c.what);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(history.undo(list));
            EXPECT_EQ(model_of(list), before);
            EXPECT_EQ(history.redo_what(), c.what);
            ASSERT_TRUE(history.redo(list));
            EXPECT_EQ(model_of(list), after);
        }
        // Edits after an undo write pages the snapshots still hold: the redo is gone, the undo still exact.
        ASSERT_TRUE(history.undo(list));
        history.change(list, "Add", [&] { return list.append(info("later"), "L"); });
        EXPECT_FALSE(history.can_redo());
        ASSERT_TRUE(history.undo(list));
        EXPECT_EQ(model_of(list), before);
    }
}

TEST(playlist_history, keeps_a_hundred_steps_and_knows_when_the_list_is_as_saved) {
    media_list list;
    playlist_history history;
    EXPECT_FALSE(history.undo(list));
    EXPECT_FALSE(history.modified());
    for (int step = 0; step < 130; ++step)
        history.change(list, "Add " + std::to_string(step), [&] { return list.append(info(std::to_string(step)), ""); });
    EXPECT_EQ(history.undo_steps(), 100u);
    history.mark_saved();
    int undone = 0;
    while (history.undo(list))
        ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(list.count(), 30);
    EXPECT_TRUE(history.modified());
    for (int step = 0; step < 100; ++step)
        ASSERT_TRUE(history.redo(list));
    EXPECT_FALSE(history.modified()) << "back at the saved state";
    EXPECT_FALSE(history.change(list, "Nothing", [] { return false; }));
    EXPECT_EQ(history.undo_what(), "Add 129");
    history.clear();
    EXPECT_FALSE(history.can_undo());
    EXPECT_FALSE(history.modified());

    // A search that displays the rows found shows the file too: undoing or redoing it leaves the list as saved.
    history.change(list, "Search", [&] { return list.remove(0); });
    history.mark_also_saved();
    ASSERT_TRUE(history.undo(list));
    EXPECT_FALSE(history.modified());
    ASSERT_TRUE(history.redo(list));
    EXPECT_FALSE(history.modified());
    history.change(list, "Delete", [&] { return list.remove(0); });
    EXPECT_TRUE(history.modified());
    history.mark_saved();
    ASSERT_TRUE(history.undo(list));
    EXPECT_TRUE(history.modified()) << "a save forgets the states marked before it";
}

// A command scope records one step when the list was written, none for a look, a save or a load inside it.
TEST(playlist_history, a_command_scope_records_what_it_wrote) {
    struct scope_case {
        const char* name;
        std::function<void(media_list&, playlist_history&)> run;
        std::size_t steps;
        bool modified;
    };
    const std::vector<scope_case> cases = {
        {"a look changes nothing", [](media_list& l, playlist_history&) { (void)l.cell(Media, 0); }, 0, false},
        {"a refused edit", [](media_list& l, playlist_history&) { l.remove(99); l.sort_ascending(0, 0, Media); }, 0,
         false},
        {"nested edits make one step",
         [](media_list& l, playlist_history& h) {
             l.remove(0);
             h.begin(l, "inner");
             l.remove(0);
             h.end(l);
         },
         1, true},
        {"a save absorbs its list names", [](media_list& l, playlist_history& h) {
             l.set_list_name_of_all("Saved");
             h.mark_saved();
         }, 0, false},
        {"New Playlist keeps its step and is saved",
         [](media_list& l, playlist_history& h) {
             l.clear();
             h.mark_saved(true);
         },
         1, false},
        {"a load leaves no step", [](media_list& l, playlist_history& h) {
             l.clear();
             l.append(info("other"), "");
             h.clear();
         }, 0, false},
        {"a backup alone is a change", [](media_list& l, playlist_history&) { l.backup(); }, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list;
        fill(list, 4);
        playlist_history history;
        history.begin(list, c.name);
        c.run(list, history);
        history.end(list);
        EXPECT_EQ(history.undo_steps(), c.steps);
        EXPECT_EQ(history.modified(), c.modified);
        if (c.steps > 0) {
            EXPECT_EQ(history.undo_what(), c.name);
            ASSERT_TRUE(history.undo(list));
            EXPECT_EQ(list.count(), 4);
        }
    }
}

TEST(recovery_copy, keeps_rows_names_and_mode_and_refuses_a_torn_file) {
    testing::temp_folder folder;
    const std::string path = folder.file(recovery_file_name);
    EXPECT_FALSE(read_recovery_copy(path));
    media_list list;
    fill(list, 3);
    list.set_cell(ListName, 1, "Other list");
    list.set_cell(Song, 2, "Ünïcode song");
    shell_state state;
    state.mode.show_grouping();
    state.current_playlist_name = "Rock";
    ASSERT_TRUE(write_recovery_copy(path, state, list));
    const auto copy = read_recovery_copy(path);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->mode, PlaylistMode::grouping);
    EXPECT_EQ(copy->playlist_name, "Rock");
    EXPECT_EQ(model_of(copy->rows), model_of(list));

    const std::string whole = *platform::read_file(path);
    for (const std::size_t cut : {whole.size() - 3, whole.size() / 2, std::size_t{5}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, cut);
        EXPECT_FALSE(read_recovery_copy(path)) << cut;
    }
}

// Yes / No / Cancel before the list is replaced, in the modes that have a file of their own and those that do not.
TEST(unsaved_changes, the_answer_decides_whether_to_go_on_and_what_is_saved) {
    struct prompt_case {
        const char* name;
        int mode;
        bool edited;
        std::vector<message_result> buttons;
        std::optional<std::string> typed; // the Save As name
        bool go_on;
        const char* stored; // the rows of Rock.spl (or New.spl for a list without a file) afterwards; "-" none
        int mode_after;
    };
    const std::vector<prompt_case> cases = {
        {"unedited: no question", PlaylistMode::playlist, false, {}, {}, true, "r0 r1 r2", PlaylistMode::playlist},
        {"Yes saves the playlist", PlaylistMode::playlist, true, {message_result::yes}, {}, true, "r0 r2", PlaylistMode::playlist},
        {"No drops the edits", PlaylistMode::playlist, true, {message_result::no}, {}, true, "r0 r1 r2", PlaylistMode::playlist},
        {"Cancel stays", PlaylistMode::playlist, true, {message_result::cancel}, {}, false, "r0 r1 r2", PlaylistMode::playlist},
        {"Yes on a folder list saves it as", PlaylistMode::nothing, true, {message_result::yes}, "New", true, "r0 r2",
         PlaylistMode::playlist},
        {"Save As cancelled stays", PlaylistMode::nothing, true, {message_result::yes}, std::nullopt, false, "-", PlaylistMode::nothing},
        {"Yes on all playlists saves it as", PlaylistMode::all_playlists, true, {message_result::yes}, "New", true, "r0 r2",
         PlaylistMode::playlist},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::store_context_fixture f;
        fill(f.list, 3);
        ASSERT_TRUE(f.playlists.save("Rock", f.list.serialise_all()));
        f.state.mode = PlaylistMode::from_value(c.mode);
        f.state.current_playlist_name = c.mode == PlaylistMode::playlist ? "Rock" : "";
        playlist_history history;
        if (c.edited)
            history.change(f.list, "Delete Selected", [&] { return delete_selected(f.list, {1}).changed; });
        for (const message_result button : c.buttons)
            f.prompts.answer_message(button);
        if (c.mode != PlaylistMode::playlist && !c.buttons.empty())
            f.prompts.answer_input(c.typed);
        const unsaved_outcome outcome = settle_unsaved_changes(f.context, history);
        EXPECT_EQ(outcome.go_on, c.go_on);
        EXPECT_EQ(f.prompts.unused_answers(), 0u);
        if (!c.buttons.empty()) {
            EXPECT_EQ(f.prompts.message_texts().front(),
                      c.mode == PlaylistMode::playlist ? "Save changes to \"Rock\"?"
                                              : "Save changes to \"" + shown_list_name(shell_state{PlaylistMode::from_value(c.mode)}) + "\"?");
        }
        const std::string file = c.mode == PlaylistMode::playlist ? "Rock" : "New";
        std::string stored = f.playlists.exists(file) ? "" : "-";
        for (const auto& line : f.playlists.load(file))
            stored += (stored.empty() ? "" : " ") + derive_media_name(parse_media_info(line)[0], {});
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(f.state.mode.value(), c.mode_after);
        EXPECT_EQ(history.modified(), c.edited && !(c.go_on && c.buttons[0] == message_result::yes));
    }
}

// A list a search narrowed holds only the rows found: Yes saves it under a new name, never over its own playlist.
TEST(unsaved_changes, a_narrowed_playlist_is_saved_as_a_new_one) {
    testing::store_context_fixture f;
    fill(f.list, 3);
    ASSERT_TRUE(f.playlists.save("Rock", f.list.serialise_all()));
    f.state.mode.show_playlist();
    f.state.current_playlist_name = "Rock";
    f.list.backup(); // what a search that displays the rows found keeps
    playlist_history history;
    history.change(f.list, "Delete Selected", [&] { return delete_selected(f.list, {1}).changed; });
    f.prompts.answer_message(message_result::yes);
    f.prompts.answer_input(std::string("Found"));
    EXPECT_TRUE(settle_unsaved_changes(f.context, history).go_on);
    EXPECT_EQ(f.playlists.load("Rock").size(), 3u);
    EXPECT_EQ(f.playlists.load("Found").size(), 2u);
}

} // namespace
} // namespace karvo
