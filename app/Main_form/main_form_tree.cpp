// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the navigation tree's handlers: building its roots, the clicks on playlist, Media CD, drive and folder
// nodes, the right-click menus, F5, drops of playlist entries, the grouping values and the tree's Add commands.
#include <QMenu>
#include <QTreeWidget>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/status_pane.h"
#include "app/Main_form/tree_pane.h"
#include "library/folder_scanner.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"
#include "library/media_cd_commands.h"
#include "platform/ini_file.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

// Message numbers of the table.
constexpr int msg_my_computer = 29;
constexpr int msg_my_playlists = 30;
constexpr int msg_my_media_cds = 31;
constexpr int msg_not_inserted = 32;
constexpr int msg_cant_add_here = 36;
constexpr int msg_choose_a_directory = 16; // without the full stop, as Add Directory shows it
constexpr int msg_choose_directory = 53;
constexpr int msg_play_this_drive = 54;
constexpr int msg_play_this_folder = 55;

using kind = tree_pane::node_kind;

} // namespace

void TfrmMain::MyTreeBuild() {
    tree_->build(messages_[msg_my_computer], messages_[msg_my_playlists], messages_[msg_my_media_cds]);
    ListDrives();
    ListSavedPlaylists();
    ListMediaCDs();
    state_.tree_saved_pls_state = settings_ini.get_int("Settings", "Tree_SavedPls_State", 0) != 0;
    state_.tree_media_cd_state = settings_ini.get_int("Settings", "Tree_MediaCD_State", 0) != 0;
    QTreeWidget* tree = tree_->tree();
    if (state_.tree_saved_pls_state)
        tree->expandItem(tree_->my_playlists());
    if (state_.tree_media_cd_state)
        tree->expandItem(tree_->my_media_cds());
    tree->expandItem(tree_->my_computer());
    tree->scrollToItem(tree_->my_computer());
}

void TfrmMain::ListDrives() {
    listed_drives = drives().drives();
    drive_roots_ = make_drive_lists(listed_drives);
    tree_->list_drives(listed_drives);
}

void TfrmMain::ListSavedPlaylists() {
    tree_->list_saved_playlists(playlists->names());
}

void TfrmMain::ListMediaCDs() {
    tree_->list_media_cds(media_cds->names());
}

void TfrmMain::fill_grouping_values(QTreeWidgetItem* grouping) {
    const std::optional<int> field = grouping_field(tree_pane::text_of(grouping));
    if (!field || !grouping->parent())
        return;
    const std::string playlist_name = tree_pane::text_of(grouping->parent());
    const bool shown = playlist_name == state_.current_playlist_name;
    string_list values;
    if (shown && state_.PlaylistMode == mode_playlist)
        values = grouping_values(music_list, *field);
    else if (shown && state_.PlaylistMode == mode_grouping)
        values = grouping_values(music_list, *field, true);
    else
        values = grouping_values(playlists->load(playlist_name), *field);
    tree_->show_grouping_values(grouping, values);
}

void TfrmMain::refresh_groupings(const std::string& playlist_name) {
    for (QTreeWidgetItem* grouping : tree_->groupings_to_refresh(playlist_name))
        fill_grouping_values(grouping);
}

void TfrmMain::MyTreeClick(QTreeWidgetItem* item) {
    const int node = tree_pane::kind_of(item);
    // Another list is about to replace the one shown: unsaved edits are saved or dropped first, on purpose.
    const bool same_playlist = state_.PlaylistMode == mode_playlist && node == kind::kind_playlist &&
                               tree_pane::text_of(item) == state_.current_playlist_name;
    const bool grouping_of_another =
        node == kind::kind_value && item->parent() && item->parent()->parent() &&
        (tree_pane::text_of(item->parent()->parent()) != state_.current_playlist_name ||
         (state_.PlaylistMode != mode_playlist && state_.PlaylistMode != mode_grouping));
    const bool replaces = item == tree_->my_playlists() || item == tree_->my_media_cds() || node == kind::kind_media_cd ||
                          (node == kind::kind_playlist && !same_playlist) || grouping_of_another;
    if (replaces) {
        if (!settle_unsaved())
            return;
        struct replaced {
            TfrmMain* window;
            ~replaced() { window->list_replaced(); }
        } after{this};
        MyTreeClickNow(item, node);
        return;
    }
    undoable("Show " + tree_pane::text_of(item), [&] { MyTreeClickNow(item, node); });
}

void TfrmMain::MyTreeClickNow(QTreeWidgetItem* item, int node) {
    if (item == tree_->my_playlists()) {
        state_.PlaylistMode = mode_all_playlists;
        DisplayAllSavedPlaylists();
    } else if (item == tree_->my_media_cds()) {
        state_.PlaylistMode = mode_all_media_cds;
        DisplayAllMediaCDs();
    } else if (node == kind::kind_playlist) {
        const std::string name = tree_pane::text_of(item);
        if (state_.PlaylistMode == mode_playlist && name == state_.current_playlist_name)
            return;
        state_.PlaylistMode = mode_playlist;
        begin_new_list(music_list);
        load_playlist_into(*playlists, name, music_list);
        refresh_count();
        set_current_playlist_name(name);
        refresh_location();
    } else if (node == kind::kind_media_cd) {
        begin_new_list(music_list);
        state_.PlaylistMode = mode_media_cd;
        if (!LoadMediaCD(tree_pane::text_of(item)))
            show_message(QString::fromStdString(messages_[msg_not_inserted]));
        else
            refresh_location();
    } else if (node == kind::kind_drive || node == kind::kind_folder) {
        const std::string path = tree_->node_path(item);
        set_current_folder(path);
        try {
            LstMusicListAllFill(path);
        } catch (...) {
            // A folder that vanishes or cannot be read leaves the listing as far as it got.
        }
    } else if (node == kind::kind_value && item->parent() && item->parent()->parent()) {
        show_grouping_value(item);
    }
}

void TfrmMain::show_grouping_value(QTreeWidgetItem* value) {
    const std::optional<int> field = grouping_field(tree_pane::text_of(value->parent()));
    if (!field)
        return;
    const std::string name = tree_pane::text_of(value->parent()->parent());
    const bool shown = name == state_.current_playlist_name &&
                       (state_.PlaylistMode == mode_playlist || state_.PlaylistMode == mode_grouping);
    // The unfiltered copy is retaken whenever the full playlist is what the list holds, so a copy left by another
    // playlist is never filtered.
    const bool fresh_copy = !shown || state_.PlaylistMode == mode_playlist;
    state_.PlaylistMode = mode_grouping;
    if (!shown) {
        begin_new_list(music_list);
        load_playlist_into(*playlists, name, music_list);
    }
    show_grouping(music_list, *field, tree_pane::text_of(value), fresh_copy);
    refresh_count();
    set_current_playlist_name(name);
    refresh_location();
}

void TfrmMain::MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global) {
    const int node = tree_pane::kind_of(item);
    if (node == kind::kind_playlist || item == tree_->my_playlists()) {
        if (node == kind::kind_playlist)
            MyTreeClick(item);
        commands_->menu("mnuSave")->setProperty("tag", node == kind::kind_playlist ? 1 : 2);
        commands_->popup("mnuSave", global);
    } else if (node == kind::kind_media_cd || item == tree_->my_media_cds()) {
        if (node == kind::kind_media_cd)
            MyTreeClick(item);
        commands_->menu("mnuMP3CD")->setProperty("tag", node == kind::kind_media_cd ? 1 : 2);
        commands_->popup("mnuMP3CD", global);
    } else if (node == kind::kind_drive || node == kind::kind_folder) {
        tree_menu_path = tree_->node_path(item);
        commands_->set_caption(
            "mnuPlayThisPath",
            QString::fromStdString(messages_[node == kind::kind_drive ? msg_play_this_drive : msg_play_this_folder]));
        commands_->action("AddNewMediaCD1")->setVisible(on_cdrom_drive(tree_menu_path, listed_drives));
        commands_->menu("mnuAdd")->setProperty("tag", 1);
        commands_->popup("mnuAdd", global);
    }
}

void TfrmMain::MyTreeF5() {
    QTreeWidgetItem* selected = tree_->tree()->currentItem();
    if (!selected)
        return;
    QTreeWidgetItem* root = nullptr;
    switch (tree_->subtree_of(selected)) {
        case subtree_my_playlists:
            ListSavedPlaylists();
            root = tree_->my_playlists();
            break;
        case subtree_my_media_cds:
            ListMediaCDs();
            root = tree_->my_media_cds();
            break;
        default:
            ListDrives();
            root = tree_->my_computer();
            break;
    }
    tree_->expand_again(root);
}

void TfrmMain::MyTreeDragDrop(QTreeWidgetItem* item) {
    if (tree_pane::kind_of(item) != kind::kind_playlist) {
        environment_.prompts.message_box(messages_[msg_cant_add_here], msg_box_title, platform::message_buttons::ok,
                                         platform::message_icon::information);
        return;
    }
    const std::string name = tree_pane::text_of(item);
    if (append_rows_to_playlist(*playlists, name, music_list, selected_positions()))
        refresh_groupings(name);
}

void TfrmMain::DisplayAllSavedPlaylists() {
    run_store_command([](store_context& c) { return karvo::display_all_saved_playlists(c); });
}

void TfrmMain::DisplayAllMediaCDs() {
    run_store_command([](store_context& c) { return karvo::display_all_media_cds(c); });
}

bool TfrmMain::LoadMediaCD(const std::string& name) {
    const bool found = media_cds->load_into(name, music_list, drives()).has_value();
    refresh_count();
    set_current_media_cd_name(name);
    return found;
}

void TfrmMain::mnuAdd_DirectoryClick(const std::string& folder) {
    if (folder.empty()) {
        environment_.prompts.message_box(messages_[msg_choose_a_directory], msg_box_title,
                                         platform::message_buttons::ok, platform::message_icon::none);
        return;
    }
    const int unread_before = resource.unread_count();
    scanners->scan_dir(
        folder, music_list, [this](const std::string& path) { return resource.media_info_string(path); },
        [this](const std::string& text) { show_progress(text); }, resource.read_ahead());
    status_->finish_progress();
    show_location(); // the add is over: the last "Adding to Playlist" line goes
    if (scanners->left_out() > 0)
        show_message(QString::fromStdString(files_left_out_message(scanners->left_out())));
    if (resource.unread_count() > unread_before)
        show_message(QString::fromStdString(unread_files_message(resource.unread_count() - unread_before)));
    refresh_count();
}

void TfrmMain::mnuPlayThisPathClick() {
    // From a drive or folder node the node's own path plays; from the listing or the button the current folder.
    const std::string folder =
        commands_->menu("mnuAdd")->property("tag").toInt() == 1 ? tree_menu_path : state_.current_folder;
    if (folder.empty()) {
        show_message(QString::fromStdString(messages_[msg_choose_directory]));
        return;
    }
    scanners->play_this_location(folder,
                                 [this](const string_list& paths) {
                                     play_paths(paths);
                                     return true;
                                 },
                                 {});
}

} // namespace karvo
