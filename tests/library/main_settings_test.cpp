// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/main_settings.h"

#include <fstream>
#include <set>
#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "platform/testing/read_counter.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

TEST(main_settings, defaults_without_a_file) {
    testing::temp_folder folder;
    const std::string ini = folder.file("karvo.ini");
    const main_settings s = load_main_settings(ini, {"WinAMP", "Sonique"}, {"/usr/bin/a"}, {"MP3", "WAV"});
    EXPECT_EQ(s.player_locations, (std::vector<std::string>{"/usr/bin/a", ""}));
    EXPECT_EQ(s.main_back_color, 0x800000u);
    EXPECT_EQ(s.panel_color, 0xC08000u);
    EXPECT_EQ(s.misc_back_color_off, 0x400000u);
    EXPECT_EQ(s.pls_font_size, 7);
    EXPECT_EQ(s.search_item, 1);
    EXPECT_EQ(s.selected_player, -1);
    EXPECT_TRUE(s.show_file_extension);
    EXPECT_EQ(s.double_click, 1);
    EXPECT_EQ(s.randomize_times, 1);
    EXPECT_EQ(s.enabled_extensions, (std::vector<std::string>{"MP3", "WAV"}));
    EXPECT_FALSE(s.auto_playlister.enabled);

    const window_state w = read_window_state(ini);
    EXPECT_EQ(w.v_splitter, 215);
    EXPECT_EQ(w.h_splitter, 195);
    EXPECT_EQ(w.playlist_mode, -1);
    EXPECT_EQ(w.playlist_widths[7], 40);
    EXPECT_EQ(w.folder_widths[0], 125);
    EXPECT_EQ(w.volume_top, 30);
    EXPECT_EQ(w.window, (window_rectangle{0, 0, 736, 488}));
}

TEST(main_settings, stored_values_and_damaged_values) {
    struct value_case {
        const char* section;
        const char* key;
        const char* value;
        std::function<int(const main_settings&, const window_state&)> read;
        int expected;
    };
    using S = const main_settings&;
    using W = const window_state&;
    const std::vector<value_case> cases = {
        {"Settings", "pls_font_size", "12", [](S s, W) { return s.pls_font_size; }, 12},
        {"Settings", "pls_font_size", "0", [](S s, W) { return s.pls_font_size; }, 7},
        {"Settings", "pls_font_size", "huge", [](S s, W) { return s.pls_font_size; }, 7},
        {"Settings", "sort_item", "1", [](S s, W) { return s.sort_item; }, 1},
        {"Settings", "sort_item", "40", [](S s, W) { return s.sort_item; }, 0},
        {"Settings", "SelectedPlayer", "-7", [](S s, W) { return s.selected_player; }, -1},
        {"Settings", "show_in", "2", [](S s, W) { return s.show_in; }, 2},
        {"Settings", "show_in", "9", [](S s, W) { return s.show_in; }, 0},
        {"Settings", "drag_n_drop", "3", [](S s, W) { return s.drag_n_drop; }, 0},
        {"Settings", "MiscBackColorOff", "-1", [](S s, W) { return int(s.misc_back_color_off); }, 0xFFFFFF},
        {"Settings", "ShowFileExtension", "0", [](S s, W) { return int(s.show_file_extension); }, 0},
        {"Settings", "%20_with_space", "0", [](S s, W) { return int(s.percent20_with_space); }, 0},
        {"Advanced", "RandomizeTimes", "5", [](S s, W) { return s.randomize_times; }, 5},
        {"Advanced", "RandomizeTimes", "2000000000", [](S s, W) { return s.randomize_times; }, 1000},
        {"Advanced", "RandomizeTimes", "-4", [](S s, W) { return s.randomize_times; }, 0},
        {"Advanced", "Double_Click", "7", [](S s, W) { return s.double_click; }, 1},
        {"AutoPlaylister", "enabled", "1", [](S s, W) { return int(s.auto_playlister.enabled); }, 1},
        {"Settings", "HSplitter", "0", [](S, W w) { return w.h_splitter; }, 1},
        {"Settings", "HSplitter", "-30", [](S, W w) { return w.h_splitter; }, 1},
        {"Settings", "VSplitter", "-30", [](S, W w) { return w.v_splitter; }, 0},
        {"Settings", "PlaylistMode", "7", [](S, W w) { return w.playlist_mode; }, 0},
        {"Settings", "PlaylistMode", "3", [](S, W w) { return w.playlist_mode; }, 3},
        {"Settings", "PlaylistMode", "2", [](S, W w) { return w.playlist_mode; }, -1},
        {"Settings", "YearColumnWidth", "-5", [](S, W w) { return w.playlist_widths[7]; }, 40},
        {"Settings", "YearColumnWidth", "60", [](S, W w) { return w.playlist_widths[7]; }, 60},
        {"Settings", "WindowWidth", "100", [](S, W w) { return w.window.width; }, 640},
        {"Settings", "WindowHeight", "99999999", [](S, W w) { return w.window.height; }, 16384},
        {"Settings", "VolumeVisible", "1", [](S, W w) { return int(w.volume_visible); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        testing::temp_folder folder;
        const std::string ini = folder.file("karvo.ini");
        ASSERT_TRUE(platform::write_private_profile_string(c.section, c.key, c.value, ini));
        EXPECT_EQ(c.read(load_main_settings(ini, {}, {}, {}), read_window_state(ini)), c.expected);
    }
}

TEST(main_settings, players_and_extensions_follow_the_plug_in) {
    testing::temp_folder folder;
    const std::string ini = folder.file("karvo.ini");
    platform::write_private_profile_string("Settings", "Sonique", "/opt/sonique", ini);
    platform::write_private_profile_string("Advanced", "WAV", "0", ini);
    const main_settings s =
        load_main_settings(ini, {"WinAMP", "Sonique", "VLC"}, {"/w", "/s", "/usr/bin/vlc"}, {"MP3", "WAV", "OGG"});
    EXPECT_EQ(s.player_locations, (std::vector<std::string>{"/w", "/opt/sonique", "/usr/bin/vlc"}));
    EXPECT_EQ(s.enabled_extensions, (std::vector<std::string>{"MP3", "OGG"}));
}

TEST(main_settings, written_state_reads_back) {
    testing::temp_folder folder;
    const std::string ini = folder.file("karvo.ini");
    window_state out;
    out.playlist_widths = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    out.folder_widths = {11, 12, 13, 14, 15, 16, 17, 18};
    out.v_splitter = 300;
    out.h_splitter = 1;
    out.playlist_mode = PlaylistMode::grouping;
    out.playlist_name = "Rock";
    out.last_dir = "/music";
    out.tree_media_cd_state = true;
    out.search_item = 0;
    out.volume_visible = true;
    out.window = {5, 6, 1000, 700};
    ASSERT_TRUE(write_window_state(ini, out));
    const window_state in = read_window_state(ini);
    EXPECT_EQ(in.playlist_widths, out.playlist_widths);
    EXPECT_EQ(in.folder_widths, out.folder_widths);
    EXPECT_EQ(in.v_splitter, 300);
    EXPECT_EQ(in.h_splitter, 1);
    EXPECT_EQ(in.playlist_mode, PlaylistMode::playlist);
    EXPECT_EQ(in.playlist_name, "Rock");
    EXPECT_EQ(in.last_dir, "/music");
    EXPECT_TRUE(in.tree_media_cd_state);
    EXPECT_EQ(in.search_item, 0);
    EXPECT_TRUE(in.volume_visible);
    EXPECT_EQ(in.window, (window_rectangle{5, 6, 1000, 700}));

    EXPECT_EQ(stored_playlist_name(PlaylistMode::grouping, "Rock", "CD"), "Rock");
    EXPECT_EQ(stored_playlist_name(PlaylistMode::media_cd, "Rock", "CD"), "CD");
    EXPECT_EQ(stored_playlist_name(PlaylistMode::all_playlists, "Rock", "CD"), "");
    EXPECT_EQ(stored_playlist_name(PlaylistMode::nothing, "Rock", "CD"), "");
}

// Start-up and exit through one document: the file is read once, and a value the file cannot hold costs only itself.
TEST(main_settings, one_document_reads_once_and_keeps_what_it_can) {
    testing::temp_folder folder;
    const std::string ini = folder.file("karvo.ini");
    testing::write_raw(ini, "[Settings]\r\npls_font_size=12\r\nVSplitter=300\r\n");
    platform::read_counter counter;
    platform::profile_document document(ini);
    EXPECT_EQ(load_main_settings(document, {"WinAMP"}, {"/w"}, {"MP3"}).pls_font_size, 12);
    window_state state = read_window_state(document);
    EXPECT_EQ(read_show_in(document), 0);
    EXPECT_EQ(state.v_splitter, 300);
    EXPECT_EQ(counter.reads_of(ini), 1u);

    state.v_splitter = 250;
    state.last_dir = "/music/two\nlines";
    EXPECT_FALSE(write_window_state(document, state));
    EXPECT_EQ(counter.reads_of(ini), 1u); // its own writes are not read back
    EXPECT_EQ(read_window_state(ini).v_splitter, 250);
    EXPECT_EQ(platform::get_private_profile_string("Settings", "LastDir", "none", ini), "none");
}

// Each column of both views keeps its width under a key of its own.
TEST(main_settings, every_column_width_has_its_own_key) {
    std::set<std::string> keys;
    for (const view_column& column : playlist_columns)
        EXPECT_TRUE(keys.insert(column.width_key).second) << column.width_key;
    for (const view_column& column : folder_columns)
        EXPECT_TRUE(keys.insert(column.width_key).second) << column.width_key;
}

} // namespace
} // namespace karvo
