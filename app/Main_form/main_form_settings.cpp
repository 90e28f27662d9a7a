// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: Load settings, Restore state and Save settings.
#include <QGuiApplication>
#include <QScreen>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome_pane.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/search_pane.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"

namespace karvo {

namespace {

// A rectangle that no screen shows (a monitor removed since the last run) moves to the primary screen.
window_rectangle on_a_screen(window_rectangle rect) {
    const QRect wanted(rect.left, rect.top, rect.width, rect.height);
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(wanted))
            return rect;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        rect.left = primary->availableGeometry().left();
        rect.top = primary->availableGeometry().top();
    }
    return rect;
}

} // namespace

void TfrmMain::Load_settings() {
    settings_ =
        load_main_settings(settings_ini, resource.player_names(), resource.default_locations(), resource.extensions());
    music_list.switches.strip_extension = settings_.show_file_extension;
    music_list.switches.underscore_to_space = settings_.underscore_with_space;
    music_list.switches.percent20_to_space = settings_.percent20_with_space;
    music_list.switches.dot_to_space = settings_.dot_with_space;
    music_list.switches.remove_brackets = settings_.remove_brackets;
    playlist_->set_font_size(settings_.pls_font_size);
    apply_player_settings();
    apply_tray_settings();
    reload_auto_playlister();
}

void TfrmMain::Restore_state() {
    const window_state saved = read_window_state(settings_ini);
    // 1. column widths
    playlist_->set_column_widths(saved.playlist_widths);
    listing_->set_column_widths(saved.folder_widths);
    // 2. splitters
    set_splitters(saved.v_splitter, saved.h_splitter);
    // 3. what the virtual playlist showed
    state_.PlaylistMode = saved.playlist_mode;
    if (state_.PlaylistMode >= 0) {
        begin_new_list(music_list);
        const std::string& name = saved.playlist_name;
        if (state_.PlaylistMode == mode_playlist && !name.empty() && playlists->exists(name)) {
            restore_playlist_in_background(name);
        } else if (state_.PlaylistMode == mode_media_cd && !name.empty() && media_cds->exists(name)) {
            LoadMediaCD(name);
        } else if (state_.PlaylistMode == mode_all_playlists) {
            DisplayAllSavedPlaylists();
        } else if (state_.PlaylistMode == mode_all_media_cds) {
            DisplayAllMediaCDs();
        }
        refresh_count();
    }
    // 4. current folder
    if (!saved.last_dir.empty() && platform::directory_exists(saved.last_dir))
        set_current_folder(saved.last_dir);
    // 5. volume panel
    state_.volume_left = saved.volume_left;
    state_.volume_top = saved.volume_top;
    state_.volume_visible = saved.volume_visible;
    restore_volume_panel();
    state_.tree_saved_pls_state = saved.tree_saved_pls_state;
    state_.tree_media_cd_state = saved.tree_media_cd_state;
    state_.search_item = saved.search_item;
    search_->set_display_found(state_.search_item != 0);
    // 6. the window always starts restored, at the saved rectangle
    chrome_->start_restored(on_a_screen(saved.window));
}

window_state TfrmMain::current_window_state() const {
    window_state now;
    now.playlist_widths = playlist_->column_widths();
    now.folder_widths = listing_->column_widths();
    now.v_splitter = state_.v_splitter;
    now.h_splitter = state_.h_splitter;
    now.playlist_mode = state_.PlaylistMode;
    now.playlist_name =
        stored_playlist_name(state_.PlaylistMode, state_.current_playlist_name, state_.current_media_cd_name);
    if (now.playlist_name.empty() && state_.PlaylistMode == mode_playlist)
        now.playlist_name = restoring_name_; // closed before the restore completed: the next start tries again
    now.last_dir = state_.current_folder;
    now.tree_saved_pls_state = state_.tree_saved_pls_state;
    now.tree_media_cd_state = state_.tree_media_cd_state;
    now.search_item = state_.search_item;
    now.sort_item = settings_.sort_item;
    now.volume_left = state_.volume_left;
    now.volume_top = state_.volume_top;
    now.volume_visible = state_.volume_visible;
    now.window_max = chrome_->maximised();
    // A restored window keeps the place and size the user gave it; a maximised one its restore rectangle.
    now.window = chrome_->maximised() ? chrome_->restore_rect() : window_rectangle{x(), y(), width(), height()};
    return now;
}

void TfrmMain::Save_settings() {
    write_window_state(settings_ini, current_window_state());
    state_.PlaylistMode = stored_playlist_mode(state_.PlaylistMode);
}

} // namespace karvo
