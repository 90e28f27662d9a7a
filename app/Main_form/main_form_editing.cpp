// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the playlist editing commands (delete, clone, select, move to the edges, file info), the folder
// listing's add commands, and every drop on the playlist and on the waste bin. Each runs one library operation
// and hands its rows and selection to the playlist pane.
#include <QTreeWidget>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/status_pane.h"
#include "app/Main_form/tree_pane.h"
#include "library/folder_scanner.h"
#include "library/open_files.h"
#include "library/playlist_drops.h"
#include "library/playlist_edits.h"
#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/prompts.h"

namespace karvo {

namespace {
constexpr int msg_choose_directory = 53; // Add Files: with the full stop and its own caption
}

void TfrmMain::edited(const edit_result& result) {
    playlist_->apply(result);
    if (result.changed && !state_.current_playlist_name.empty())
        refresh_groupings(state_.current_playlist_name);
}

void TfrmMain::RemoveAllSelectedClick() {
    if (!selected_positions().empty())
        edited(delete_selected(music_list, selected_positions()));
}

void TfrmMain::RemoveAllbutSelectedClick() {
    if (!selected_positions().empty())
        edited(delete_all_but_selected(music_list, selected_positions()));
}

void TfrmMain::RemoveAllClick() {
    edited(delete_all(music_list));
}

void TfrmMain::RemoveAllDeadFilesClick() {
    edited(delete_broken_files(music_list));
}

void TfrmMain::mnuCloneSongClick() {
    if (!selected_positions().empty())
        edited(clone_selected(music_list, selected_positions()));
}

void TfrmMain::mnuSelectAllClick() {
    playlist_->apply(select_all(music_list));
}

void TfrmMain::mnuInvertSelectionClick() {
    playlist_->apply(invert_selection(music_list, selected_positions()));
}

void TfrmMain::mnuSelectthatHaveClick() {
    if (const auto result = select_that_have(music_list, selected_positions(), environment_.prompts, texts()))
        playlist_->apply(*result);
}

void TfrmMain::mnuShowFileInfoClick() {
    if (selected_positions().empty())
        return;
    const int row = playlist_->focused_row() >= 0 ? playlist_->focused_row() : selected_positions().front();
    const std::string path(music_list.full_path(row));
    if (platform::file_exists(path))
        resource.show_media_info(path);
}

void TfrmMain::append_paths(const string_list& paths) {
    const int first = music_list.count();
    for (const std::string& path : paths)
        music_list.append(resource.media_info_string(path), "");
    if (music_list.count() > first)
        playlist_->model()->rows_edited({}, {{first, music_list.count() - 1}});
}

void TfrmMain::mnuAdd_FileClick() {
    string_list paths;
    for (const int row : listing_->selected_rows())
        paths.push_back(folder_list.full_path(row));
    append_paths(paths);
}

void TfrmMain::mnuAdd_FilesClick() {
    if (state_.current_folder.empty()) {
        environment_.prompts.message_box(messages_[msg_choose_directory], "Karvo Media", platform::message_buttons::ok,
                                         platform::message_icon::none);
        return;
    }
    const std::string folder = platform::with_trailing_slash(state_.current_folder);
    string_list paths;
    for (const std::string& name : folder_media_names(folder, media_types))
        paths.push_back(folder + name);
    append_paths(paths);
}

void TfrmMain::LstMusicListAllDblClick() {
    const int row = listing_->focused_row();
    if (folder_list.count() > 0 && listing_->has_selection() && row >= 0)
        append_paths({folder_list.full_path(row)});
}

drop_settings TfrmMain::drops_as_set() const {
    return {settings_.drag_n_drop, settings_.drag_n_drop_rnd, settings_.randomize_times, settings_.add_playlist_type,
            settings_.verify_on_startup};
}

void TfrmMain::dropped(const drop_result& result) {
    if (result.shuffled || result.inserted.last < result.inserted.first)
        refresh_count();
    else
        playlist_->model()->rows_edited({}, {result.inserted});
    if (!state_.current_playlist_name.empty())
        refresh_groupings(state_.current_playlist_name);
}

void TfrmMain::open_files(const string_list& paths) {
    const auto info = [this](const std::string& path) { return resource.media_info_string(path); };
    const open_result result =
        karvo::open_files(music_list, paths, drops_as_set(), media_types, info, random, [&](const std::string& folder) {
            return scanners->scan_dir(
                folder, music_list, info, [this](const std::string& text) { show_progress(text); },
                resource.read_ahead());
        });
    if (result.reset) {
        status_->finish_progress();
        show_location();
    }
    dropped(drop_result{result.added, result.reset ? row_range{} : result.inserted, result.reset});
}

void TfrmMain::LstMusicListTreeDrop() {
    QTreeWidgetItem* node = tree_->tree()->currentItem();
    const bool under_my_computer = tree_->subtree_of(node) == subtree_my_computer;
    if (!tree_drop_allowed(node == tree_->my_computer(), under_my_computer, environment_.prompts, texts()))
        return;
    mnuAdd_DirectoryClick(state_.current_folder);
    if (!state_.current_playlist_name.empty())
        refresh_groupings(state_.current_playlist_name);
}

void TfrmMain::LstMusicListListingDrop(int row_under_point) {
    const std::vector<int> rows = listing_->selected_rows();
    if (rows.empty())
        return;
    string_list paths;
    for (const int row : rows)
        paths.push_back(folder_list.full_path(row));
    listing_->clear_selection();
    dropped(drop_listing_rows(
        music_list, paths, row_under_point, drops_as_set(),
        [this](const std::string& path) { return resource.media_info_string(path); }, random));
}

void TfrmMain::LstMusicListFilesDrop(const string_list& files, int row_under_point) {
    // No second shell drop while this one is added.
    playlist_->set_accepts_shell_files(false);
    dropped(drop_shell_files(
        music_list, files, row_under_point, drops_as_set(), media_types,
        [this](const std::string& path) { return resource.media_info_string(path); }, random));
    playlist_->set_accepts_shell_files(true);
}

void TfrmMain::WasteDragDrop(const QString& source) {
    const drag_source from = source == QLatin1String("LstMusicList") ? drag_source::playlist
                             : source == QLatin1String("MyTree")     ? drag_source::tree
                                                                     : drag_source::other;
    const QTreeWidgetItem* node = tree_->tree()->currentItem();
    const QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    switch (waste_drop(from, parent && parent == tree_->my_playlists(), parent && parent == tree_->my_media_cds(),
                       environment_.prompts, texts())) {
        case waste_action::delete_selected: commands_->invoke("RemoveAllSelected"); break;
        case waste_action::delete_playlist: commands_->invoke("mnuDeletePlaylist"); break;
        case waste_action::remove_media_cd: commands_->invoke("RemoveMediaCD"); break;
        case waste_action::refused: break;
    }
}

} // namespace karvo
