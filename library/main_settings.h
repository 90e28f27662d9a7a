// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keys of karvo.ini: what Load settings reads, what Restore state reads and Save settings writes,
// each with its default. Values that make no sense are replaced by their defaults (or clamped) so that a damaged
// file never breaks the window. Each read and write takes the file by name (read afresh) or as a profile document
// (read once for all of them).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "library/playlist_mode.h"
#include "library/view_columns.h"
#include "platform/profile_document.h"

namespace karvo {

inline constexpr int min_window_width = 640;
inline constexpr int min_window_height = 480;

struct auto_playlister_settings {
    bool enabled = false;
    std::string dir;
    bool enqueue = false;
    bool add_curr_playlist = false;
    bool add_saved_playlist = false;
    std::string saved_playlist;
};

// Read by Load settings at start-up and after the preferences dialog is confirmed.
struct main_settings {
    std::vector<std::string> player_locations; // one per player name
    std::uint32_t main_fore_color = 0xFFFFFF;
    std::uint32_t main_back_color = 0x800000;
    std::uint32_t panel_color = 0xC08000;
    std::uint32_t panel_border_color = 0;
    std::uint32_t misc_back_color_off = 0x400000;
    std::uint32_t misc_back_color_on = 0xA00000;
    int pls_font_size = 7;
    int search_item = 1;
    int sort_item = 0;
    int selected_player = -1;
    bool enhanced_winamp = false;
    bool underscore_with_space = true;
    bool percent20_with_space = true;
    bool dot_with_space = true;
    bool remove_brackets = true;
    bool verify_on_startup = true;
    bool show_file_extension = true; // true: the extension is cut from display names
    bool add_playlist_type = true;
    int double_click = 1;
    int randomize_times = 1;
    int system_tray_icon = 0;
    int show_in = 0;
    int drag_n_drop = 0;
    bool drag_n_drop_rnd = false;
    std::vector<std::string> enabled_extensions; // plug-in order
    auto_playlister_settings auto_playlister;
};

main_settings load_main_settings(const platform::profile_document& ini, const std::vector<std::string>& player_names,
                                 const std::vector<std::string>& default_locations,
                                 const std::vector<std::string>& extensions);
main_settings load_main_settings(const std::string& ini_file, const std::vector<std::string>& player_names,
                                 const std::vector<std::string>& default_locations,
                                 const std::vector<std::string>& extensions);

// `show_in` as the minimise button and the tray click read it (text, default "0").
int read_show_in(const platform::profile_document& ini);
int read_show_in(const std::string& ini_file);

struct window_rectangle {
    int left = 0;
    int top = 0;
    int width = 736;  // client width
    int height = 488; // client height
    bool operator==(const window_rectangle&) const = default;
};

// Read by Restore state at start-up and written by Save settings at exit.
struct window_state {
    std::array<int, playlist_view_columns> playlist_widths = default_widths(playlist_columns);
    std::array<int, folder_view_columns> folder_widths = default_widths(folder_columns);
    int v_splitter = 215; // tree width
    int h_splitter = 195; // upper pane height; 0 is taken as 1
    int playlist_mode = -1;
    std::string playlist_name;
    std::string last_dir;
    bool tree_saved_pls_state = false;
    bool tree_media_cd_state = false;
    int search_item = 1;
    int sort_item = 0;
    int volume_left = 10;
    int volume_top = 30;
    bool volume_visible = false;
    bool window_max = false; // written only
    window_rectangle window;
};

window_state read_window_state(const platform::profile_document& ini);
window_state read_window_state(const std::string& ini_file);

// Writes the Shutdown keys in their order, in one replacement of the file; PlaylistMode 7 is written as 0. A value
// the file cannot hold (a line break in a folder name) is left out and the others are still written. False when a
// write failed or a value was left out.
bool write_window_state(platform::profile_document& ini, const window_state& state);
bool write_window_state(const std::string& ini_file, const window_state& state);

// `playlist_name` as stored for a mode: the playlist in mode 0 (and 7), the Media CD in mode 1, else empty.
std::string stored_playlist_name(int mode, const std::string& playlist_name, const std::string& media_cd_name);

} // namespace karvo
