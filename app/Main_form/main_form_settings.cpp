// TfrmMain: Load settings, Restore state and Save settings.
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/playlist_model.h"
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
    settings = load_main_settings(settings_file, resource.player_names(), resource.default_locations(),
                                  resource.extensions());
    music_list.switches.strip_extension = settings.show_file_extension;
    music_list.switches.underscore_to_space = settings.underscore_with_space;
    music_list.switches.percent20_to_space = settings.percent20_with_space;
    music_list.switches.dot_to_space = settings.dot_with_space;
    music_list.switches.remove_brackets = settings.remove_brackets;
    apply_playlist_font();
    apply_player_settings();
}

void TfrmMain::Restore_state() {
    const window_state state = read_window_state(settings_file);
    // 1. column widths
    for (int i = 0; i < playlist_view_columns; ++i)
        LstMusicList->horizontalHeader()->resizeSection(i, state.playlist_widths[i]);
    for (int i = 0; i < folder_view_columns; ++i)
        LstMusicListAll->horizontalHeader()->resizeSection(i, state.folder_widths[i]);
    // 2. splitters
    set_splitters(state.v_splitter, state.h_splitter);
    // 3. what the virtual playlist showed
    PlaylistMode = state.playlist_mode;
    if (PlaylistMode >= 0) {
        music_list.clear();
        if (PlaylistMode == mode_playlist && !state.playlist_name.empty() && playlists->exists(state.playlist_name)) {
            load_playlist_into(*playlists, state.playlist_name, music_list);
            set_current_playlist_name(state.playlist_name);
        } else if (PlaylistMode == mode_media_cd && !state.playlist_name.empty() && media_cds->exists(state.playlist_name))
            LoadMediaCD(state.playlist_name);
        else if (PlaylistMode == mode_all_playlists)
            DisplayAllSavedPlaylists();
        else if (PlaylistMode == mode_all_media_cds)
            DisplayAllMediaCDs();
        refresh_count();
    }
    // 4. current folder
    if (!state.last_dir.empty() && platform::directory_exists(state.last_dir))
        set_current_folder(state.last_dir);
    // 5. volume panel, kept until the panel exists
    volume_left = state.volume_left;
    volume_top = state.volume_top;
    volume_visible = state.volume_visible;
    restore_volume_panel();
    tree_saved_pls_state = state.tree_saved_pls_state;
    tree_media_cd_state = state.tree_media_cd_state;
    search_item = state.search_item;
    // 6. the window always starts restored, at the saved rectangle
    window_maximised = true;
    restore_rect = on_a_screen(state.window);
    ToolbarMaxClick();
}

window_state TfrmMain::current_window_state() const {
    window_state state;
    for (int i = 0; i < playlist_view_columns; ++i)
        state.playlist_widths[i] = LstMusicList->horizontalHeader()->sectionSize(i);
    for (int i = 0; i < folder_view_columns; ++i)
        state.folder_widths[i] = LstMusicListAll->horizontalHeader()->sectionSize(i);
    state.v_splitter = v_splitter;
    state.h_splitter = h_splitter;
    state.playlist_mode = PlaylistMode;
    state.playlist_name = stored_playlist_name(PlaylistMode, current_playlist_name, current_media_cd_name);
    state.last_dir = current_folder;
    state.tree_saved_pls_state = tree_saved_pls_state;
    state.tree_media_cd_state = tree_media_cd_state;
    state.search_item = search_item;
    state.sort_item = settings.sort_item;
    state.volume_left = volume_left;
    state.volume_top = volume_top;
    state.volume_visible = volume_visible;
    state.window_max = window_maximised;
    // A restored window keeps the place and size the user gave it; a maximised one its restore rectangle.
    state.window = window_maximised ? restore_rect : window_rectangle{x(), y(), width(), height()};
    return state;
}

void TfrmMain::Save_settings() {
    write_window_state(settings_file, current_window_state());
    PlaylistMode = stored_playlist_mode(PlaylistMode);
}

} // namespace karvo
