// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/players/playback_fixture.h"

#include <algorithm>
#include <functional>
#include <map>

#include "library/my_computer_list.h"
#include "library/playlist_class.h"
#include "platform/random.h"

namespace karvo::testing {
namespace {

using platform::message_kind;
using platform::sent_message;
using platform::show_mode;

struct start {
    std::string file, parameters;
};

class playback_commands_test : public playback_fixture {
protected:
    // Runs one command on a fresh record and checks what was written, started and shown.
    void expect_run(const std::string& label, const std::function<void()>& command, const std::string& temp_bytes,
                    const std::vector<start>& starts, const std::vector<std::string>& shown = {}) {
        SCOPED_TRACE(label);
        platform::delete_file(folder.file("temp_playlist.m3u"));
        starter.clear();
        prompts.clear();
        for (std::size_t i = 0; i < shown.size(); ++i)
            prompts.answer_message(platform::message_result::ok);
        command();
        EXPECT_EQ(temp_list(), temp_bytes);
        const auto started = starter.started();
        ASSERT_EQ(started.size(), starts.size());
        for (std::size_t i = 0; i < starts.size(); ++i) {
            EXPECT_EQ(started[i].file, starts[i].file);
            EXPECT_EQ(started[i].parameters, starts[i].parameters);
            EXPECT_EQ(started[i].directory, "");
            EXPECT_EQ(started[i].mode, show_mode::show);
        }
        EXPECT_EQ(prompts.message_texts(), shown);
        for (const auto& question : prompts.questions())
            EXPECT_EQ(question.caption, "Karvo Media v4.0 Beta 3.5");
    }
    std::vector<sent_message> copy_data() const {
        auto sent = windows.sent();
        std::erase_if(sent, [](const sent_message& m) { return m.kind != message_kind::copy_data; });
        return sent;
    }
};

TEST_F(playback_commands_test, commands_that_write_the_list_and_start_a_player) {
    const std::string vlc = "/opt/VLC";
    const std::string list_arg = quoted_temp_path();
    const std::vector<int> none;
    const std::vector<int> third_and_first = {2, 0, 2, 7};

    expect_run("play on an empty playlist", [&] { commands.play(list); }, "<missing>", {},
               {"There is nothing in your playlist."});
    fill({"/m/a.mp3", "/m/b c.mp3", "/m/bad\nname.mp3", "/m/d.ogg"});
    expect_run("no player selected: nothing started, nothing said", [&] { commands.stop(); }, "", {});
    select(6); // VLC, an extra player
    install({3});
    expect_run("play", [&] { commands.play(list); },
               "/m/a.mp3\r\n/m/b c.mp3\r\nfile:///m/bad%0Aname.mp3\r\n/m/d.ogg\r\n", {{vlc, list_arg}});
    expect_run("play selected, in list order, out of range rows left out",
               [&] { commands.play_selected(list, third_and_first); }, "/m/a.mp3\r\nfile:///m/bad%0Aname.mp3\r\n",
               {{vlc, list_arg}});
    expect_run("play selected with nothing selected", [&] { commands.play_selected(list, none); }, "<missing>", {},
               {"There is Nothing Selected."});
    expect_run("double click plays the selection silently",
               [&] {
                   EXPECT_EQ(commands.double_click(list, std::vector<int>{1, 3}, 1, 1), double_click_follow_up::none);
               },
               "/m/b c.mp3\r\n/m/d.ogg\r\n", {{vlc, list_arg}});
    expect_run("double click without a selection", [&] { commands.double_click(list, none, 0, 1); }, "<missing>", {});
    expect_run("stop of another player plays an empty list", [&] { commands.stop(); }, "", {{vlc, list_arg}});
    expect_run("a slot drop starts that slot, not the selected player",
               [&] { commands.drop_on_slot(3, list, std::vector<int>{3}); }, "/m/d.ogg\r\n",
               {{"/opt/Player 3", list_arg}});
    expect_run("shell files dropped on a slot: only media files",
               [&] {
                   commands.drop_files_on_slot(
                       3, {"/x/one.MP3", "/x/notes.txt", "/x/two.flac"},
                       [](const std::string& name) { return name.ends_with(".MP3") || name.ends_with(".flac"); });
               },
               "/x/one.MP3\r\n/x/two.flac\r\n", {{"/opt/Player 3", list_arg}});

    my_computer_list listing;
    listing.append(media_info("/f/1.mp3"));
    listing.append(media_info("/f/2.mp3"));
    expect_run("folder listing selection", [&] { commands.play_folder_selection(listing, std::vector<int>{1}); },
               "/f/2.mp3\r\n", {{vlc, list_arg}});
    expect_run("folder listing with nothing selected still starts the player",
               [&] { commands.play_folder_selection(listing, none); }, "", {{vlc, list_arg}});
}

TEST_F(playback_commands_test, stop_by_the_selected_players_name) {
    const auto winamp_window = windows.add_window(winamp_class::window_class);
    const auto nad_window = windows.add_window(nad_class::window_class);
    struct stop_case {
        int player;
        std::vector<start> starts;
        platform::window_handle window;
        std::uint32_t id;
    };
    for (const stop_case& c : {stop_case{1, {{"/opt/Sonique", "-stop"}}, 0, 0}, stop_case{0, {}, winamp_window, 40047},
                               stop_case{5, {}, nad_window, 40011}}) {
        select(c.player);
        windows.clear_record();
        expect_run(
            selection.name(), [&] { commands.stop(); }, "<missing>", c.starts);
        const auto sent = windows.sent();
        ASSERT_EQ(sent.size(), c.id != 0 ? 1u : 0u);
        if (c.id != 0) {
            EXPECT_EQ(sent[0].command_id, c.id);
            EXPECT_EQ(sent[0].window, c.window);
        }
    }
}

TEST_F(playback_commands_test, enqueue_by_the_selected_running_player) {
    fill({"/m/a.mp3", "/m/b c.mp3", "/m/d.ogg"});
    struct enqueue_case {
        std::string label;
        int player;
        std::vector<const char*> running; // window classes present
        bool whole_playlist;
        std::vector<std::string> texts; // the copy-data payloads, in order
        std::uintptr_t dw_data;
        std::vector<start> starts;
        std::vector<std::string> shown;
    };
    const std::string fixed = "This feature only works when WinAMP, Sonique or NAD is running and is selected.";
    const std::string message_59 = messages[59];
    const std::vector<enqueue_case> cases = {
        {"winamp",
         0,
         {winamp_class::window_class},
         false,
         {std::string("/m/a.mp3\0", 9), std::string("/m/d.ogg\0", 9)},
         100,
         {},
         {}},
        {"winamp not running", 0, {nad_class::window_class}, false, {}, 0, {}, {message_59}},
        {"nad", 5, {nad_class::window_class}, false, {"/m/a.mp3", "/m/d.ogg"}, 1, {}, {}},
        {"nad whole playlist", 5, {nad_class::window_class}, true, {"/m/a.mp3", "/m/b c.mp3", "/m/d.ogg"}, 1, {}, {}},
        {"sonique",
         1,
         {sonique_class::window_class},
         false,
         {},
         0,
         {{"/opt/Sonique", "-appendonly \"/m/a.mp3\""}, {"/opt/Sonique", "-appendonly \"/m/d.ogg\""}},
         {}},
        {"an extra player", 6, {winamp_class::window_class}, false, {}, 0, {}, {message_59}},
        {"an extra player, whole playlist", 6, {}, true, {}, 0, {}, {fixed}},
        {"winamp not running, whole playlist", 0, {}, true, {}, 0, {}, {fixed}},
    };
    for (const auto& c : cases) {
        select(c.player);
        std::vector<platform::window_handle> opened;
        for (const char* window_class : c.running)
            opened.push_back(windows.add_window(window_class));
        windows.clear_record();
        expect_run(
            c.label,
            [&] {
                if (c.whole_playlist)
                    commands.enqueue_playlist(list);
                else
                    commands.enqueue_selected(list, std::vector<int>{0, 2});
            },
            "<missing>", c.starts, c.shown);
        const auto sent = copy_data();
        ASSERT_EQ(sent.size(), c.texts.size()) << c.label;
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_TRUE(sent[i].delivered) << c.label;
            EXPECT_EQ(sent[i].dw_data, c.dw_data) << c.label;
            EXPECT_EQ(sent[i].bytes_as_text(), c.texts[i]) << c.label;
        }
        for (auto window : opened)
            windows.remove_window(window);
    }
    select(1);
    installed.clear(); // Sonique runs but its program is gone
    windows.add_window(sonique_class::window_class);
    expect_run("sonique without program", [&] { commands.enqueue_selected(list, std::vector<int>{0}); }, "<missing>",
               {}, {message_59});
}

TEST_F(playback_commands_test, double_click_enqueues_the_focused_entry_after_a_stop_when_needed) {
    fill({"/m/a.mp3", "/m/b.mp3"});
    // A player that does not run gets Stop first, which looks its window up once more; messages to no window
    // are never sent, so the look-ups tell whether Stop ran.
    struct click_case {
        int player;
        bool running;
        std::size_t lookups;
    };
    for (const click_case& c :
         {click_case{0, false, 3}, click_case{0, true, 2}, click_case{5, false, 2}, click_case{5, true, 1}}) {
        select(c.player);
        const char* window_class = c.player == 0 ? winamp_class::window_class : nad_class::window_class;
        const auto window = c.running ? windows.add_window(window_class) : 0;
        windows.clear_record();
        EXPECT_EQ(commands.double_click(list, std::vector<int>{0, 1}, 1, 0), double_click_follow_up::none);
        EXPECT_EQ(windows.searched_classes(), std::vector<std::string>(c.lookups, window_class)) << c.player;
        const auto sent = windows.sent();
        ASSERT_EQ(sent.size(), c.running ? 1u : 0u) << c.player;
        if (c.running) {
            EXPECT_EQ(sent[0].kind, message_kind::copy_data);
            EXPECT_EQ(sent[0].window, window);
            EXPECT_EQ(sent[0].bytes_as_text().substr(0, 8), "/m/b.mp3");
            windows.remove_window(window);
        }
    }
    select(6);
    windows.clear_record();
    EXPECT_EQ(commands.double_click(list, std::vector<int>{0}, 0, 0), double_click_follow_up::none);
    EXPECT_TRUE(windows.sent().empty());
    EXPECT_TRUE(starter.started().empty());
    EXPECT_EQ(commands.double_click(list, std::vector<int>{0}, 0, 2), double_click_follow_up::delete_selected);
    EXPECT_EQ(commands.double_click(list, std::vector<int>{0}, 0, 3), double_click_follow_up::select_all);
}

TEST_F(playback_commands_test, playlist_drags_over_the_slot_labels) {
    install({0, 1, 5});
    const auto winamp_window = windows.add_window(winamp_class::window_class);
    struct drag_case {
        int slot;
        player_popup kind;
        int left;
        int width;
    };
    const std::vector<drag_case> cases = {
        {0, player_popup::two_part, 93, 150},  // WinAMP running: 7 pixels left of the panel
        {1, player_popup::play_only, 130, 70}, // Sonique not running
        {2, player_popup::refused, 0, 0},      // no program
        {5, player_popup::play_only, 130, 70}, // NAD never gets the two-part popup
    };
    for (const auto& c : cases) {
        const popup_placement popup = commands.drag_over_slot(c.slot, 100, 40);
        EXPECT_EQ(popup.kind, c.kind) << c.slot;
        if (c.kind == player_popup::refused)
            continue;
        EXPECT_EQ(popup.left, c.left) << c.slot;
        EXPECT_EQ(popup.width, c.width) << c.slot;
        EXPECT_EQ(popup.top, 40);
        EXPECT_EQ(popup.height, 17);
        EXPECT_EQ(popup.tag, c.slot);
    }
    windows.remove_window(winamp_window);
    EXPECT_EQ(commands.drag_over_slot(0, 100, 40).kind, player_popup::play_only);
    windows.add_window(sonique_class::window_class);
    EXPECT_EQ(commands.drag_over_slot(1, 100, 40).kind, player_popup::two_part);
}

TEST_F(playback_commands_test, drops_on_the_two_part_popup) {
    fill({"/m/a.mp3", "/m/b.mp3"});
    install({0, 1, 5});
    select(6);
    windows.add_window(winamp_class::window_class);
    windows.add_window(nad_class::window_class);
    const std::string list_arg = quoted_temp_path();
    struct popup_case {
        int tag;
        int x;
        std::vector<start> starts;
        std::uintptr_t dw_data;
    };
    const std::vector<popup_case> cases = {
        {0, 96, {{"/opt/WinAMP", list_arg}}, 0},
        {0, 95, {}, 100},
        {5, 0, {}, 1},
        {1, 10, {{"/opt/Sonique", "-appendonly \"/m/b.mp3\""}}, 0},
        {2, 10, {}, 0},
        {0, -1, {}, 0},
    };
    for (const auto& c : cases) {
        windows.clear_record();
        expect_run(
            "tag " + std::to_string(c.tag) + " at " + std::to_string(c.x),
            [&] { commands.drop_on_two_part_popup(c.tag, c.x, list, std::vector<int>{1}); }, "/m/b.mp3\r\n", c.starts);
        const auto sent = copy_data();
        ASSERT_EQ(sent.size(), c.dw_data != 0 ? 1u : 0u);
        if (!sent.empty()) {
            EXPECT_EQ(sent[0].dw_data, c.dw_data);
            EXPECT_TRUE(sent[0].delivered);
        }
    }
}

TEST_F(playback_commands_test, remote_control_markers_and_panel) {
    struct marker_case {
        bool winamp_runs, sonique_runs, enhanced;
        bool remote0, remote1;
    };
    for (const marker_case& c :
         {marker_case{true, false, true, true, false}, marker_case{false, true, true, false, true},
          marker_case{true, true, false, false, false}}) {
        std::vector<platform::window_handle> opened;
        if (c.winamp_runs)
            opened.push_back(windows.add_window(winamp_class::window_class));
        if (c.sonique_runs)
            opened.push_back(windows.add_window(sonique_class::window_class));
        const remote_markers markers = commands.remote_control_tick(c.enhanced, 20, 40);
        EXPECT_EQ(markers.winamp.remote_picture, c.remote0);
        EXPECT_EQ(markers.winamp.top, c.remote0 ? 20 : 23);
        EXPECT_EQ(markers.winamp.height, c.remote0 ? 12 : 7);
        EXPECT_EQ(markers.sonique.remote_picture, c.remote1);
        EXPECT_EQ(markers.sonique.top, c.remote1 ? 40 : 43);

        const auto winamp_panel = commands.remote_control_hover(0, c.enhanced, 300, 200, 121, 35);
        ASSERT_EQ(winamp_panel.has_value(), c.remote0);
        if (winamp_panel) {
            EXPECT_EQ(winamp_panel->left, 240);
            EXPECT_EQ(winamp_panel->top, 183);
            EXPECT_EQ(winamp_panel->player_kind, 0);
        }
        const auto sonique_panel = commands.remote_control_hover(1, c.enhanced, 300, 200, 120, 36);
        ASSERT_EQ(sonique_panel.has_value(), c.remote1);
        if (sonique_panel) {
            EXPECT_EQ(sonique_panel->left, 240);
            EXPECT_EQ(sonique_panel->top, 182);
            EXPECT_EQ(sonique_panel->player_kind, 2);
            EXPECT_EQ(sonique_panel->sonique_location, "/opt/Sonique");
        }
        for (auto window : opened)
            windows.remove_window(window);
    }
}

TEST_F(playback_commands_test, play_all_playlists_joins_the_stores_lines_in_name_order) {
    select(7);
    playlist_class store(folder.path());
    ASSERT_TRUE(store.save("beta", {media_info("/b/1.mp3"), media_info("/b/2.mp3")}));
    ASSERT_TRUE(store.save("Alpha", {media_info("/a/1.mp3")}));
    ASSERT_TRUE(store.save("empty", {}));
    expect_run("plain", [&] { commands.play_all_playlists(store); }, "/a/1.mp3\r\n/b/1.mp3\r\n/b/2.mp3\r\n",
               {{"/opt/mpv", quoted_temp_path()}});
}

// The placement as the table of 30000 slots numbered from 1 describes it, to check the implementation against.
string_list place_in_30000_slots(const string_list& lines, std::uint32_t seed) {
    platform::random_source random(seed);
    std::map<int, std::string> slots;
    const int count = static_cast<int>(lines.size());
    for (const std::string& line : lines) {
        int slot;
        do
            slot = random.next() % count + 1;
        while (slot > 30000 || slots.count(slot) > 0);
        slots[slot] = line;
    }
    string_list placed;
    for (int slot = 1; slot <= count; ++slot)
        placed.push_back(slots.at(slot));
    return placed;
}

TEST(playback_shuffle, placement_follows_the_seeded_draws) {
    for (const std::size_t count : {0u, 1u, 2u, 7u, 500u}) {
        string_list lines;
        for (std::size_t i = 0; i < count; ++i)
            lines.push_back("line " + std::to_string(i));
        for (const std::uint32_t seed : {1u, 42u, 2024u}) {
            platform::random_source random(seed);
            const string_list shuffled = shuffle_into_slots(lines, random);
            EXPECT_EQ(shuffled, place_in_30000_slots(lines, seed)) << count << " lines, seed " << seed;
        }
    }
}

TEST_F(playback_commands_test, play_all_playlists_randomized_writes_the_shuffled_paths) {
    select(7);
    playlist_class store(folder.path());
    string_list lines, paths;
    for (int i = 0; i < 40; ++i) {
        paths.push_back("/r/" + std::to_string(i) + ".mp3");
        lines.push_back(media_info(paths.back()));
    }
    ASSERT_TRUE(store.save("all", lines));
    std::string expected, unshuffled;
    for (const std::string& path : place_in_30000_slots(paths, 9))
        expected += path + "\r\n";
    for (const std::string& path : paths)
        unshuffled += path + "\r\n";
    ASSERT_NE(expected, unshuffled);
    platform::random_source random(9);
    expect_run("randomized", [&] { commands.play_all_playlists_randomized(store, random); }, expected,
               {{"/opt/mpv", quoted_temp_path()}});

    playlist_class no_playlists(folder.file("none"));
    expect_run("no saved playlists", [&] { commands.play_all_playlists_randomized(no_playlists, random); }, "",
               {{"/opt/mpv", quoted_temp_path()}});
}

TEST(playback_quoting, the_started_program_gets_the_path_back_as_one_argument) {
    for (const std::string path : {"/data/temp_playlist.m3u", "/my data/temp_playlist.m3u", "/a\"b/t.m3u",
                                   "/odd\\/t.m3u", "/ends in\\", "/q\\\"/t.m3u"}) {
        const std::string quoted = quote_argument(path);
        EXPECT_EQ(platform::split_command_line(quoted), std::vector<std::string>{path}) << quoted;
    }
    EXPECT_EQ(quote_argument("/my data/temp_playlist.m3u"), "\"/my data/temp_playlist.m3u\"");
}

} // namespace
} // namespace karvo::testing
