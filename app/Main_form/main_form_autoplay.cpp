// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the auto playlister. The watcher and its change handler are made once; every settings load gives them
// the [AutoPlaylister] keys again, and a new media file in the watched folder reaches the player, the virtual
// playlist and the chosen saved playlist through the window's own operations.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/players_pane.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/qt_platform/qt_dispatcher.h"
#include "components/Fsnotify/TFSNotify.h"
#include "library/auto_playlister.h"
#include "library/playlist_class.h"
#include "library/playlist_drops.h"
#include "library/playlist_edits.h"
#include "players/nad_class.h"
#include "players/playback_commands.h"
#include "players/winamp_class.h"

namespace karvo {

void TfrmMain::reload_auto_playlister() {
    if (!AutoPlaylister) {
        AutoPlaylisterChange = std::make_unique<TFSNotify>(gui_thread_dispatcher());
        auto_playlister_services services{
            *AutoPlaylisterChange,
            *scanners,
            *playlists,
            [this](const std::string& path) { return resource.media_info_string(path); },
            [this] { return players_->top_caption(); },
            [this](const std::string& path) { winamp->enqueue_file(path); },
            [this](const std::string& path) {
                nad->find_window();
                nad->enqueue_file(path);
            },
            [this](const std::string& path) { auto_add_to_playlist(path); },
            [this](const std::string& text) { show_message(QString::fromStdString(text)); },
            [this](const std::string& path) { playback->enqueue_quietly({path}); },
            [this](const std::string& path, const std::string& info) {
                for (int row : karvo::refresh_rows_of(music_list, path, info))
                    playlist_->model()->rows_changed(row, row);
            },
        };
        AutoPlaylister = std::make_unique<auto_playlister>(std::move(services));
    }
    AutoPlaylister->reload(settings_.auto_playlister);
}

void TfrmMain::auto_add_to_playlist(const std::string& path) {
    // The add-file operation of a shell drop, always at the end and never shuffled afterwards.
    drop_settings at_the_end = drops_as_set();
    at_the_end.drag_n_drop = 0;
    at_the_end.drag_n_drop_rnd = false;
    undoable("Auto Playlister", [&] {
        dropped(drop_shell_files(
            music_list, {path}, -1, at_the_end, media_types,
            [this](const std::string& file) { return resource.media_info_string(file); }, random));
    });
}

} // namespace karvo
