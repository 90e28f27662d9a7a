// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/main_settings.h"

#include <algorithm>

#include "platform/numbers.h"

namespace karvo {

namespace {

constexpr const char* settings_section = "Settings";
constexpr const char* advanced_section = "Advanced";
constexpr const char* auto_section = "AutoPlaylister";

// A column wider than this is a damaged value, not a user's choice.
constexpr int max_column_width = 4000;
constexpr int max_window_extent = 16384;
constexpr int max_font_size = 72;
// Each pass touches every row; more passes than this only freeze the window.
constexpr int max_randomize_times = 1000;

class reader {
public:
    explicit reader(const platform::profile_document& ini) : ini_(ini) {}
    int integer(const char* section, const std::string& key, int fallback) const {
        return ini_.get_int(section, key, fallback);
    }
    bool boolean(const char* section, const std::string& key, bool fallback) const {
        return integer(section, key, fallback ? 1 : 0) != 0;
    }
    std::string text(const char* section, const std::string& key, const std::string& fallback = {}) const {
        return ini_.get_string(section, key, fallback);
    }
    std::uint32_t colour(const std::string& key, std::uint32_t fallback) const {
        return static_cast<std::uint32_t>(integer(settings_section, key, static_cast<int>(fallback))) & 0xFFFFFFu;
    }
    // `fallback` when the value lies outside first..last.
    int in_range(const char* section, const std::string& key, int fallback, int first, int last) const {
        const int value = integer(section, key, fallback);
        return value < first || value > last ? fallback : value;
    }

private:
    const platform::profile_document& ini_;
};

} // namespace

main_settings load_main_settings(const platform::profile_document& ini, const std::vector<std::string>& player_names,
                                 const std::vector<std::string>& default_locations,
                                 const std::vector<std::string>& extensions) {
    const reader r(ini);
    main_settings s;
    for (std::size_t i = 0; i < player_names.size(); ++i)
        s.player_locations.push_back(
            r.text(settings_section, player_names[i], i < default_locations.size() ? default_locations[i] : ""));

    s.main_fore_color = r.colour("MainForeColor", s.main_fore_color);
    s.main_back_color = r.colour("MainBackColor", s.main_back_color);
    s.panel_color = r.colour("PanelColor", s.panel_color);
    s.panel_border_color = r.colour("PanelBorderColor", s.panel_border_color);
    s.misc_back_color_off = r.colour("MiscBackColorOff", s.misc_back_color_off);
    s.misc_back_color_on = r.colour("MiscBackColorOn", s.misc_back_color_on);

    s.pls_font_size = r.in_range(settings_section, "pls_font_size", 7, 1, max_font_size);
    s.search_item = r.integer(settings_section, "search_item", 1);
    s.sort_item = r.in_range(settings_section, "sort_item", 0, 0, 17);
    s.selected_player = std::max(-1, r.integer(settings_section, "SelectedPlayer", -1));
    s.enhanced_winamp = r.boolean(settings_section, "EnhancedWinamp", false);
    s.underscore_with_space = r.boolean(settings_section, "underscore_with_space", true);
    s.percent20_with_space = r.boolean(settings_section, "%20_with_space", true);
    s.dot_with_space = r.boolean(settings_section, "dot_with_space", true);
    s.remove_brackets = r.boolean(settings_section, "remove_brackets", true);
    s.verify_on_startup = r.boolean(settings_section, "verify_on_startup", true);
    s.show_file_extension = r.boolean(settings_section, "ShowFileExtension", true);
    s.double_click = r.in_range(advanced_section, "Double_Click", 1, 0, 3);
    s.randomize_times = std::clamp(r.integer(advanced_section, "RandomizeTimes", 1), 0, max_randomize_times);
    s.add_playlist_type = r.boolean(settings_section, "add_playlist_type", true);
    s.system_tray_icon = std::max(0, r.integer(settings_section, "system_tray_icon", 0));
    s.show_in = read_show_in(ini);

    for (const auto& extension : extensions)
        if (r.boolean(advanced_section, extension, true))
            s.enabled_extensions.push_back(extension);

    s.drag_n_drop = r.in_range(settings_section, "drag_n_drop", 0, 0, 2);
    s.drag_n_drop_rnd = r.boolean(settings_section, "drag_n_drop_rnd", false);

    auto& a = s.auto_playlister;
    a.enabled = r.boolean(auto_section, "enabled", false);
    a.dir = r.text(auto_section, "dir");
    a.enqueue = r.boolean(auto_section, "enqueue", false);
    a.add_curr_playlist = r.boolean(auto_section, "add_curr_playlist", false);
    a.add_saved_playlist = r.boolean(auto_section, "add_saved_playlist", false);
    a.saved_playlist = r.text(auto_section, "saved_playlist");
    return s;
}

main_settings load_main_settings(const std::string& ini_file, const std::vector<std::string>& player_names,
                                 const std::vector<std::string>& default_locations,
                                 const std::vector<std::string>& extensions) {
    return load_main_settings(platform::profile_document(ini_file), player_names, default_locations, extensions);
}

int read_show_in(const platform::profile_document& ini) {
    const long long value = platform::to_integer(reader(ini).text(settings_section, "show_in", "0"), 0);
    return value < 0 || value > 2 ? 0 : static_cast<int>(value);
}

int read_show_in(const std::string& ini_file) {
    return read_show_in(platform::profile_document(ini_file));
}

window_state read_window_state(const platform::profile_document& ini) {
    const reader r(ini);
    window_state s;
    for (int i = 0; i < playlist_view_columns; ++i)
        s.playlist_widths[i] =
            r.in_range(settings_section, playlist_columns[i].width_key, s.playlist_widths[i], 0, max_column_width);
    for (int i = 0; i < folder_view_columns; ++i)
        s.folder_widths[i] =
            r.in_range(settings_section, folder_columns[i].width_key, s.folder_widths[i], 0, max_column_width);

    s.h_splitter = std::max(1, r.integer(settings_section, "HSplitter", 195));
    s.v_splitter = std::max(0, r.integer(settings_section, "VSplitter", 215));

    s.playlist_name = r.text(settings_section, "playlist_name");
    // 7 comes back as the whole playlist, an unknown value as nothing.
    const int mode = PlaylistMode::from_stored(r.integer(settings_section, "PlaylistMode", -1)).value();
    s.playlist_mode = mode;
    s.last_dir = r.text(settings_section, "LastDir");
    s.tree_saved_pls_state = r.boolean(settings_section, "Tree_SavedPls_State", false);
    s.tree_media_cd_state = r.boolean(settings_section, "Tree_MediaCD_State", false);
    s.search_item = r.integer(settings_section, "search_item", 1);
    s.sort_item = r.in_range(settings_section, "sort_item", 0, 0, 17);

    s.volume_left = r.integer(settings_section, "VolumeLeft", 10);
    s.volume_top = r.integer(settings_section, "VolumeTop", 30);
    s.volume_visible = r.boolean(settings_section, "VolumeVisible", false);

    auto& w = s.window;
    w.left = std::clamp(r.integer(settings_section, "WindowLeft", 0), -max_window_extent, max_window_extent);
    w.top = std::clamp(r.integer(settings_section, "WindowTop", 0), -max_window_extent, max_window_extent);
    w.width = std::clamp(r.integer(settings_section, "WindowWidth", 736), min_window_width, max_window_extent);
    w.height = std::clamp(r.integer(settings_section, "WindowHeight", 488), min_window_height, max_window_extent);
    return s;
}

window_state read_window_state(const std::string& ini_file) {
    return read_window_state(platform::profile_document(ini_file));
}

bool write_window_state(platform::profile_document& ini, const window_state& s) {
    platform::profile_document::key_values pairs;
    auto put = [&](const std::string& key, const std::string& value) { pairs.emplace_back(key, value); };
    auto put_int = [&](const std::string& key, int value) { put(key, std::to_string(value)); };
    auto put_bool = [&](const std::string& key, bool value) { put(key, value ? "1" : "0"); };

    for (int i = 0; i < playlist_view_columns; ++i)
        put_int(playlist_columns[i].width_key, s.playlist_widths[i]);
    for (int i = 0; i < folder_view_columns; ++i)
        put_int(folder_columns[i].width_key, s.folder_widths[i]);
    put_int("VSplitter", s.v_splitter);
    put_int("HSplitter", s.h_splitter);
    put_int("PlaylistMode", PlaylistMode::from_stored(s.playlist_mode).stored());
    put("playlist_name", s.playlist_name);
    put("LastDir", s.last_dir);
    put_bool("Tree_SavedPls_State", s.tree_saved_pls_state);
    put_bool("Tree_MediaCD_State", s.tree_media_cd_state);
    put_int("search_item", s.search_item);
    put_int("sort_item", s.sort_item);
    put_int("VolumeLeft", s.volume_left);
    put_int("VolumeTop", s.volume_top);
    put_bool("VolumeVisible", s.volume_visible);
    put_bool("WindowMax", s.window_max);
    put_int("WindowLeft", s.window.left);
    put_int("WindowTop", s.window.top);
    put_int("WindowWidth", s.window.width);
    put_int("WindowHeight", s.window.height);
    return ini.set_strings_leaving_out(settings_section, pairs);
}

bool write_window_state(const std::string& ini_file, const window_state& s) {
    platform::profile_document ini(ini_file);
    return write_window_state(ini, s);
}

std::string stored_playlist_name(int mode, const std::string& playlist_name, const std::string& media_cd_name) {
    switch (PlaylistMode::from_stored(mode).value()) {
        case PlaylistMode::playlist: return playlist_name;
        case PlaylistMode::media_cd: return media_cd_name;
        default: return {};
    }
}

} // namespace karvo
