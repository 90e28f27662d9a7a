// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the folder listing's handlers: its fill with per-file progress on the status line, its pop-up menu and
// "Play Selected".
#include <QMenu>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/status_pane.h"
#include "library/folder_scanner.h"
#include "library/playlist_files.h"
#include "players/playback_commands.h"

namespace karvo {

void TfrmMain::LstMusicListAllFill(const std::string& folder) {
    const int unread_before = resource.unread_count();
    listing_->LstMusicListAllFill(
        folder, media_types, [this](const std::string& path) { return resource.media_info_string(path); },
        resource.read_ahead(), [this](const std::string& text) { show_progress(text); },
        [this, unread_before] {
            status_->finish_progress();
            if (resource.unread_count() > unread_before)
                show_message(QString::fromStdString(unread_files_message(resource.unread_count() - unread_before)));
        });
}

void TfrmMain::LstMusicListAllContextPopup(const QPoint& global) {
    commands_->action("AddNewMediaCD1")->setVisible(false);
    commands_->menu("mnuAdd")->setProperty("tag", 0);
    commands_->popup("mnuAdd", global);
}

void TfrmMain::mnuPlaySelectedTempClick() {
    if (playback)
        playback->play_folder_selection(folder_list, listing_->selected_rows());
}

void TfrmMain::play_paths(const string_list& paths) {
    if (playback)
        playback->play_paths(paths);
    else
        write_temp_playlist(data_folder, paths);
}

} // namespace karvo
