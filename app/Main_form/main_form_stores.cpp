// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the saved playlist and Media CD commands. Each runs one store command of the library with the window's
// lists, stores and prompts, then shows what its outcome names: the list, the tree, the status line.
#include <QMenu>
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>
#include <QTreeWidget>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/status_pane.h"
#include "app/Main_form/tree_pane.h"
#include "app/resources/explorer_images.h"
#include "library/folder_scanner.h"
#include "library/media_cd_commands.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"

namespace karvo {

command_texts TfrmMain::texts() const {
    return command_texts{msg_box_title.empty() ? std::string(application_title) : msg_box_title,
                         std::vector<std::string>(messages_.begin(), messages_.end())};
}

void TfrmMain::run_store_command(const std::function<store_outcome(store_context&)>& command) {
    const command_texts words = texts();
    store_context context{music_list, *playlists, *media_cds, environment_.prompts, drives(), words, state_};
    const store_outcome outcome = command(context);
    switch (outcome.list) {
        case list_change::none: break;
        case list_change::list_names:
        case list_change::rows_replaced: playlist_->model()->rows_changed(0, music_list.count() - 1); break;
        case list_change::rewritten:
            refresh_count();
            playlist_->select_positions({});
            break;
    }
    const tree_update& tree = outcome.tree;
    if (tree.relist_playlists || !tree.add_playlist_node.empty()) {
        ListSavedPlaylists();
        tree_->tree()->expandItem(tree_->my_playlists());
        if (QTreeWidgetItem* node = tree_->playlist_node(tree.add_playlist_node))
            tree_->tree()->setCurrentItem(node);
    }
    if (!tree.refresh_groupings.empty())
        refresh_groupings(tree.refresh_groupings);
    if (tree.relist_media_cds) {
        ListMediaCDs();
        tree_->tree()->expandItem(tree_->my_media_cds());
    }
    if (tree.media_cd_check)
        MediaCDCheck();
    // The names the command left in the state, on the status line.
    status_->set_playlist_name(QString::fromStdString(
        state_.PlaylistMode == mode_media_cd ? state_.current_media_cd_name : state_.current_playlist_name));
    if (outcome.name_label_none)
        status_->set_playlist_name(QStringLiteral("<none>"));
    refresh_location();
    if (!outcome.status.empty())
        show_message(QString::fromStdString(outcome.status));
}

bool TfrmMain::tree_selection_is(int kind) const {
    return tree_pane::kind_of(tree_->tree()->currentItem()) == kind;
}

void TfrmMain::watch_mounts() {
    // The kernel marks /proc/self/mountinfo exceptional whenever something is mounted or unmounted.
    const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Exception, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, fd] {
        char buffer[4096];
        ::lseek(fd, 0, SEEK_SET);
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ListDrives();
        tree_->expand_again(tree_->my_computer());
        MediaCDCheck();
    });
}

void TfrmMain::MediaCDCheck() {
    string_list names;
    QTreeWidgetItem* root = tree_->my_media_cds();
    for (int i = 0; i < root->childCount(); ++i)
        names.push_back(tree_pane::text_of(root->child(i)));
    tree_->show_media_cd_images(media_cd_check_images(*media_cds, names, drives()));
}

void TfrmMain::declare_store_commands() {
    auto info = [this](const std::string& path) { return resource.media_info_string(path); };
    auto status = [this](const std::string& text) { show_progress(text); };
    // What a command does to the list besides its own work: an edit is an undo step (the registry's), a save makes
    // the list match its file, a load shows another list (after the unsaved-changes question), New Playlist both
    // empties the list as a step and saves it.
    enum class effect { edit, save, load, replaced, new_list };
    auto store = [this](const char* id, const char* caption, QKeySequence key,
                        std::function<store_outcome(store_context&)> command, bool visible = true,
                        std::function<bool()> enabled = {}, effect does = effect::edit) {
        commands_->add({id, QString::fromUtf8(caption), key, std::move(enabled),
                        [this, command = std::move(command), does] {
                            if ((does == effect::load || does == effect::new_list) && !settle_unsaved())
                                return;
                            bool done = false;
                            run_store_command([&](store_context& c) {
                                store_outcome outcome = command(c);
                                done = outcome.done;
                                return outcome;
                            });
                            if (!done)
                                return;
                            if (does == effect::save)
                                history_.mark_saved();
                            else if (does == effect::new_list)
                                history_.mark_saved(true);
                            else if (does == effect::load || does == effect::replaced)
                                list_replaced();
                        },
                        visible});
    };
    // The playlist menu.
    store("mnuNewPls", "New Playlist", QKeySequence(Qt::CTRL | Qt::Key_N), new_playlist, true, {}, effect::new_list);
    store("mnuDeletePlaylist", "Delete Playlist", {},
          [this](store_context& c) { return delete_playlist(c, tree_selection_is(tree_pane::kind_playlist)); }, true,
          {}, effect::replaced);
    store("RenamePlaylist", "Rename Playlist", {}, rename_playlist, true, {}, effect::save);
    store("RecachePlaylist", "Re-cache Playlist", {}, [this, info, status](store_context& c) {
        store_outcome outcome = recache_playlist(c, info, status, resource.read_ahead());
        status_->finish_progress();
        show_location();
        return outcome;
    });
    store("mnuDisplayAllSavedPlaylists", "Display All Saved Playlists", QKeySequence(Qt::CTRL | Qt::Key_W),
          [](store_context& c) { return karvo::display_all_saved_playlists(c); }, true, {}, effect::load);
    store("mnuSaveAs", "Save Playlist As..", {}, save_playlist_as, false, {}, effect::save);
    // The commands menu's store items; enabling follows the playlist mode when the menu opens.
    store("SavePlaylist", "Save Playlist", QKeySequence(Qt::CTRL | Qt::Key_S), save_playlist, true,
          [this] { return save_playlist_enabled(state_.PlaylistMode); }, effect::save);
    store("SavePlaylistAs", "Save Playlist As", {}, save_playlist_as, true,
          [this] { return save_playlist_as_enabled(state_.PlaylistMode, music_list.count()); }, effect::save);
    store("mnuRevertPlaylist", "Revert Playlist", QKeySequence(Qt::CTRL | Qt::Key_R), revert_playlist, true, {},
          effect::replaced);
    // The Media CD menu.
    store("AddNewMediaCD", "Add New Media CD", {}, [this, info, status](store_context& c) {
        const std::string folder =
            commands_->menu("mnuAdd")->property("tag").toInt() == 1 ? tree_menu_path : state_.current_folder;
        store_outcome outcome = add_new_media_cd(c, folder, *scanners, info, status, resource.read_ahead());
        status_->finish_progress();
        return outcome;
    }, true, {}, effect::load);
    store("RemoveMediaCD", "Remove Media CD", {},
          [this](store_context& c) { return remove_media_cd(c, tree_selection_is(tree_pane::kind_media_cd)); }, true,
          {}, effect::replaced);
    store("RenameMediaCD", "Rename Media CD", {}, rename_media_cd, true, {}, effect::save);
    store("SaveMediaCD", "Save Media CD", {}, save_media_cd, false, {}, effect::save);
    store("mnuDisplayAllMediaCDs", "Display All Media CDs", {},
          [](store_context& c) { return karvo::display_all_media_cds(c); }, true, {}, effect::load);
}

void TfrmMain::rebuild_send_to(QMenu& menu) {
    // The first two entries (the hidden "Another Folder" and a separator) stay; one item per saved playlist.
    std::vector<std::string> entries = {"mnuSendToFolder", menu_separator};
    for (const std::string& id : send_to_ids_)
        commands_->remove(id);
    send_to_ids_.clear();
    for (const std::string& name : playlists->names()) {
        const std::string id = "mnuSendTo:" + name;
        commands_->add({id, name_caption(name), {}, {}, [this, name] {
                            run_store_command(
                                [this, name](store_context& c) { return send_to(c, name, selected_positions()); });
                        }});
        commands_->action(id)->setIcon(artwork::explorer_icon(img_playlist));
        send_to_ids_.push_back(id);
        entries.push_back(id);
    }
    commands_->set_entries("mnuSendTo", entries);
    (void)menu;
}

} // namespace karvo
