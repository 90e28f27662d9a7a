// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/navigation/navigation_controller.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/main_context.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/navigation/tree_pane.h"
#include "library/folder_scanner.h"
#include "library/media_cd_commands.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"
#include "library/playlist_drops.h"
#include "platform/paths.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

using kind = tree_pane::node_kind;

} // namespace

navigation_controller::navigation_controller(main_context& context, command_registry& commands, const areas& others,
                                             QWidget* back)
    : QObject(back), context_(context), commands_(commands), others_(others) {
    declare_commands();
    tree_ = new tree_pane(context_.state, back);
    listing_ = new listing_pane(context_.folder_list, back);
    imgFolderCaption = new QLabel(QStringLiteral("Folder Listing"), back);
    imgFolderCaption->setObjectName("imgFolderCaption");
    imgFolderCaption->setStyleSheet("color: rgb(150,210,255); background: transparent; font-weight: bold;");
    wire_panes();
}

navigation_controller::~navigation_controller() {
    listing_->cancel_fill(); // its readers call the plug-in, which goes before the pane
}

void navigation_controller::declare_commands() {
    command_registry& r = commands_;
    auto listing_selected = [this] { return listing_->has_selection(); };
    r.add({.id = "mnuAdd_File",
           .caption = QStringLiteral("Add Selected Files."),
           .key = QKeySequence(Qt::SHIFT | Qt::Key_Insert),
           .enabled = listing_selected,
           .handler = [this] {
               string_list paths;
               for (const int row : listing_->selected_rows())
                   paths.push_back(context_.folder_list.full_path(row));
               append_paths(paths);
           }});
    r.add({.id = "mnuAdd_Directory",
           .caption = QStringLiteral("Add Directory"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_Insert),
           .handler = [this] { add_directory(add_menu_folder()); }});
    r.add({.id = "mnuAdd_Files",
           .caption = QStringLiteral("Add Files."),
           .key = Qt::Key_Insert,
           .enabled = [this] { return context_.folder_list.count() > 0; },
           .handler = [this] { add_files(); }});
    r.add({.id = "mnuPlayThisPath", .caption = QStringLiteral("Play This Drive."), .handler = [this] {
               play_this_path();
           }});
    r.add({.id = "mnuPlaySelectedTemp",
           .caption = QStringLiteral("Play Selected"),
           .enabled = listing_selected,
           .handler = [this] { others_.players->play_listing_rows(listing_->selected_rows()); }});
    // Shown only on the nodes of CD-ROM and removable drives; it catalogues that drive's volume.
    r.add({.id = "AddNewMediaCD1",
           .caption = QStringLiteral("Add New Media CD"),
           .handler = [this] { commands_.invoke("AddNewMediaCD"); },
           .visible = false});
    r.add_menu("mnuAdd", {},
               {"mnuAdd_File", "mnuAdd_Directory", "mnuAdd_Files", menu_separator, "mnuPlayThisPath",
                "mnuPlaySelectedTemp", "AddNewMediaCD1"});
    // A tree node's opening lasts for that menu only: its item runs before the deferred reset, and a later Ctrl+Ins
    // works on the current folder again.
    QMenu* add = r.menu("mnuAdd");
    connect(add, &QMenu::aboutToHide, this, [this] { QTimer::singleShot(0, this, [this] { tree_menu_path_.clear(); }); });
    // The toolbar button opens it at the cursor for the current folder.
    r.add({.id = "my_computer",
           .caption = QStringLiteral("My Computer"),
           .handler = [this] { LstMusicListAllContextPopup(QCursor::pos()); },
           .hint = texts::my_computer_hint,
           .picture = artwork::picture::my_computer});
    // The listing's double click adds the focused file.
    r.add({.id = "LstMusicListAllDblClick",
           .caption = QStringLiteral("Add Focused File"),
           .enabled = [this] {
               return context_.folder_list.count() > 0 && listing_->has_selection() && listing_->focused_row() >= 0;
           },
           .handler = [this] { append_paths({context_.folder_list.full_path(listing_->focused_row())}); },
           .visible = false});
}

void navigation_controller::wire_panes() {
    connect(tree_, &tree_pane::node_clicked, this, [this](QTreeWidgetItem* item) { MyTreeClick(item); });
    connect(tree_, &tree_pane::node_right_clicked, this,
            [this](QTreeWidgetItem* item, const QPoint& at) { MyTreeRightClick(item, at); });
    connect(tree_, &tree_pane::f5_pressed, this, [this] { MyTreeF5(); });
    connect(tree_, &tree_pane::dropped_on, this, [this](QTreeWidgetItem* item) { MyTreeDragDrop(item); });
    connect(tree_, &tree_pane::grouping_expanding, this,
            [this](QTreeWidgetItem* grouping) { fill_grouping_values(grouping); });
    connect(listing_, &listing_pane::context_menu_requested, this,
            [this](const QPoint& at) { LstMusicListAllContextPopup(at); });
    connect(listing_, &listing_pane::double_clicked, this, [this] { commands_.invoke("LstMusicListAllDblClick"); });
}

void navigation_controller::place(int tree_left, int top, int tree_width, int listing_left, int listing_width,
                                  int height) {
    tree_->place(tree_left, top, tree_width, height);
    listing_->place(listing_left, top, listing_width, height);
    imgFolderCaption->adjustSize();
    constexpr int title_height = 20; // the chrome's title strip, above the caption's row
    imgFolderCaption->move(listing_left - 2, title_height + (top - title_height - imgFolderCaption->height()) / 2);
}

void navigation_controller::build_tree() {
    tree_->build(context_.message(texts::my_computer), context_.message(texts::my_playlists),
                 context_.message(texts::my_media_cds));
    list_drives();
    tree_->list_saved_playlists(context_.playlists->names());
    tree_->list_media_cds(context_.media_cds->names());
    shell_state& state = context_.state;
    state.tree_saved_pls_state = context_.settings_ini.get_int("Settings", "Tree_SavedPls_State", 0) != 0;
    state.tree_media_cd_state = context_.settings_ini.get_int("Settings", "Tree_MediaCD_State", 0) != 0;
    if (state.tree_saved_pls_state)
        tree_->expand(tree_->my_playlists());
    if (state.tree_media_cd_state)
        tree_->expand(tree_->my_media_cds());
    tree_->show_start();
}

void navigation_controller::apply_settings() {
    listing_->repaint_rows();
}

void navigation_controller::list_drives() {
    context_.listed_drives = context_.drives().drives();
    context_.drive_roots = make_drive_lists(context_.listed_drives);
    tree_->list_drives(context_.listed_drives);
}

void navigation_controller::relist_drives() {
    list_drives();
    tree_->expand_again(tree_->my_computer());
}

void navigation_controller::relist_saved_playlists(const std::string& select) {
    tree_->list_saved_playlists(context_.playlists->names());
    tree_->expand(tree_->my_playlists());
    if (QTreeWidgetItem* node = select.empty() ? nullptr : tree_->playlist_node(select))
        tree_->set_current(node);
}

void navigation_controller::relist_media_cds() {
    tree_->list_media_cds(context_.media_cds->names());
    tree_->expand(tree_->my_media_cds());
}

void navigation_controller::show_media_cd_images(const std::vector<int>& images) {
    tree_->show_media_cd_images(images);
}

string_list navigation_controller::media_cd_names() const {
    string_list names;
    const QTreeWidgetItem* root = tree_->my_media_cds();
    for (int i = 0; i < root->childCount(); ++i)
        names.push_back(tree_pane::text_of(root->child(i)));
    return names;
}

tree_selection navigation_controller::selected_node() const {
    switch (tree_pane::kind_of(tree_->current())) {
        case kind::kind_playlist: return tree_selection::saved_playlist;
        case kind::kind_media_cd: return tree_selection::media_cd;
        default: return tree_selection::other;
    }
}

std::vector<int> navigation_controller::take_listing_selection() {
    std::vector<int> rows = listing_->selected_rows();
    listing_->clear_selection();
    return rows;
}

std::string navigation_controller::add_menu_folder() const {
    return tree_menu_path_.empty() ? context_.state.current_folder : tree_menu_path_;
}

void navigation_controller::fill_grouping_values(QTreeWidgetItem* grouping) {
    const std::optional<int> field = grouping_field(tree_pane::text_of(grouping));
    if (!field || !grouping->parent())
        return;
    const std::string playlist_name = tree_pane::text_of(grouping->parent());
    const shell_state& state = context_.state;
    const bool shown = playlist_name == state.current_playlist_name;
    string_list values;
    if (shown && state.mode == PlaylistMode::playlist)
        values = grouping_values(context_.music_list, *field);
    else if (shown && state.mode == PlaylistMode::grouping)
        values = grouping_values(context_.music_list, *field, true);
    else
        values = grouping_values(context_.playlists->load(playlist_name), *field);
    tree_->show_grouping_values(grouping, values);
}

void navigation_controller::refresh_groupings(const std::string& playlist_name) {
    for (QTreeWidgetItem* grouping : tree_->groupings_to_refresh(playlist_name))
        fill_grouping_values(grouping);
}

void navigation_controller::MyTreeClick(QTreeWidgetItem* item) {
    const shell_state& state = context_.state;
    const int node = tree_pane::kind_of(item);
    // Another list is about to replace the one shown: unsaved edits are saved or dropped first, on purpose.
    const bool same_playlist = state.mode == PlaylistMode::playlist && node == kind::kind_playlist &&
                               tree_pane::text_of(item) == state.current_playlist_name;
    const bool grouping_of_another =
        node == kind::kind_value && item->parent() && item->parent()->parent() &&
        (tree_pane::text_of(item->parent()->parent()) != state.current_playlist_name ||
         !state.mode.holds_saved_playlist());
    const bool replaces = item == tree_->my_playlists() || item == tree_->my_media_cds() ||
                          node == kind::kind_media_cd || (node == kind::kind_playlist && !same_playlist) ||
                          grouping_of_another;
    history_port& history = *others_.history;
    if (!replaces) {
        history.narrowing("Show " + tree_pane::text_of(item), [&] { show_node(item, node); });
        return;
    }
    if (!history.settle_unsaved())
        return;
    show_node(item, node);
    history.list_replaced();
}

void navigation_controller::show_node(QTreeWidgetItem* item, int node) {
    shell_state& state = context_.state;
    media_list& list = context_.music_list;
    if (item == tree_->my_playlists()) {
        others_.stores->run([](store_context& c) { return display_all_saved_playlists(c); });
    } else if (item == tree_->my_media_cds()) {
        others_.stores->run([](store_context& c) { return display_all_media_cds(c); });
    } else if (node == kind::kind_playlist) {
        const std::string name = tree_pane::text_of(item);
        if (state.mode == PlaylistMode::playlist && name == state.current_playlist_name)
            return;
        state.mode.show_playlist();
        begin_new_list(list);
        others_.stores->open_playlist(name);
        others_.playlist->refresh_count();
        others_.frame->refresh_location();
    } else if (node == kind::kind_media_cd) {
        begin_new_list(list);
        state.mode.show_media_cd();
        if (!others_.stores->load_media_cd(tree_pane::text_of(item)))
            others_.frame->show_message(QString::fromStdString(context_.message(texts::media_cd_not_inserted)));
        else
            others_.frame->refresh_location();
    } else if (node == kind::kind_drive || node == kind::kind_folder) {
        const std::string path = tree_->node_path(item);
        others_.frame->set_current_folder(path);
        try {
            LstMusicListAllFill(path);
        } catch (...) {
            // A folder that vanishes or cannot be read leaves the listing as far as it got.
        }
    } else if (node == kind::kind_value && item->parent() && item->parent()->parent()) {
        show_grouping_value(item);
    }
}

void navigation_controller::show_grouping_value(QTreeWidgetItem* value) {
    const std::optional<int> field = grouping_field(tree_pane::text_of(value->parent()));
    if (!field)
        return;
    shell_state& state = context_.state;
    media_list& list = context_.music_list;
    const std::string name = tree_pane::text_of(value->parent()->parent());
    const bool shown = name == state.current_playlist_name &&
                       state.mode.holds_saved_playlist();
    // The unfiltered copy is retaken whenever the full playlist is what the list holds, so a copy left by another
    // playlist is never filtered.
    const bool fresh_copy = !shown || state.mode == PlaylistMode::playlist;
    state.mode.show_grouping();
    if (!shown) {
        begin_new_list(list);
        load_playlist_into(*context_.playlists, name, list);
    }
    show_grouping(list, *field, tree_pane::text_of(value), fresh_copy);
    others_.playlist->refresh_count();
    others_.frame->set_current_playlist_name(name);
    others_.frame->refresh_location();
}

void navigation_controller::MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global) {
    const int node = tree_pane::kind_of(item);
    if (node == kind::kind_playlist || item == tree_->my_playlists()) {
        if (node == kind::kind_playlist)
            MyTreeClick(item);
        commands_.popup("mnuSave", global);
    } else if (node == kind::kind_media_cd || item == tree_->my_media_cds()) {
        if (node == kind::kind_media_cd)
            MyTreeClick(item);
        commands_.popup("mnuMP3CD", global);
    } else if (node == kind::kind_drive || node == kind::kind_folder) {
        tree_menu_path_ = tree_->node_path(item);
        commands_.set_caption("mnuPlayThisPath", QString::fromStdString(context_.message(
                                                     node == kind::kind_drive ? texts::play_this_drive
                                                                              : texts::play_this_folder)));
        commands_.action("AddNewMediaCD1")->setVisible(on_cdrom_drive(tree_menu_path_, context_.listed_drives));
        commands_.popup("mnuAdd", global);
    }
}

void navigation_controller::LstMusicListAllContextPopup(const QPoint& global) {
    // From the listing or the button: the current folder, and no "Add New Media CD".
    tree_menu_path_.clear();
    commands_.action("AddNewMediaCD1")->setVisible(false);
    commands_.popup("mnuAdd", global);
}

void navigation_controller::MyTreeF5() {
    QTreeWidgetItem* selected = tree_->current();
    if (!selected)
        return;
    switch (tree_->subtree_of(selected)) {
        case subtree_my_playlists:
            tree_->list_saved_playlists(context_.playlists->names());
            tree_->expand_again(tree_->my_playlists());
            break;
        case subtree_my_media_cds:
            tree_->list_media_cds(context_.media_cds->names());
            tree_->expand_again(tree_->my_media_cds());
            break;
        default: relist_drives(); break;
    }
}

void navigation_controller::MyTreeDragDrop(QTreeWidgetItem* item) {
    if (tree_pane::kind_of(item) != kind::kind_playlist) {
        context_.prompts().message_box(context_.message(texts::cant_add_here), application_title,
                                       platform::message_buttons::ok, platform::message_icon::information);
        return;
    }
    const std::string name = tree_pane::text_of(item);
    if (append_rows_to_playlist(*context_.playlists, name, context_.music_list,
                                others_.playlist->selected_positions()))
        refresh_groupings(name);
}

void navigation_controller::add_dragged_node() {
    QTreeWidgetItem* node = tree_->current();
    const bool under_my_computer = tree_->subtree_of(node) == subtree_my_computer;
    if (!tree_drop_allowed(node == tree_->my_computer(), under_my_computer, context_.prompts(), context_.texts()))
        return;
    add_directory(context_.state.current_folder);
    if (!context_.state.current_playlist_name.empty())
        refresh_groupings(context_.state.current_playlist_name);
}

void navigation_controller::LstMusicListAllFill(const std::string& folder) {
    const int unread_before = context_.resource.unread_count();
    listing_->LstMusicListAllFill(
        folder, context_.media_types, [this](const std::string& path) { return context_.media_info(path); },
        context_.resource.read_ahead(), [this](const std::string& text) { others_.frame->show_progress(text); },
        [this, unread_before] {
            others_.frame->finish_progress();
            others_.frame->report_unread(unread_before);
        });
}

void navigation_controller::add_directory(const std::string& folder) {
    if (folder.empty()) {
        context_.prompts().message_box(context_.message(texts::choose_a_directory), application_title,
                                       platform::message_buttons::ok, platform::message_icon::none);
        return;
    }
    const int unread_before = context_.resource.unread_count();
    folder_scanner& scanner = *context_.scanners;
    scanner.scan_dir(
        folder, context_.music_list, [this](const std::string& path) { return context_.media_info(path); },
        [this](const std::string& text) { others_.frame->show_progress(text); }, context_.resource.read_ahead());
    others_.frame->finish_progress();
    others_.frame->show_location(); // the add is over: the last "Adding to Playlist" line goes
    if (scanner.left_out() > 0)
        others_.frame->show_message(QString::fromStdString(files_left_out_message(scanner.left_out())));
    others_.frame->report_unread(unread_before);
    others_.playlist->refresh_count();
}

void navigation_controller::add_files() {
    if (context_.state.current_folder.empty()) {
        context_.prompts().message_box(context_.message(texts::choose_directory), application_title,
                                       platform::message_buttons::ok, platform::message_icon::none);
        return;
    }
    const std::string folder = platform::with_trailing_slash(context_.state.current_folder);
    string_list paths;
    for (const std::string& name : folder_media_names(folder, context_.media_types))
        paths.push_back(folder + name);
    append_paths(paths);
}

void navigation_controller::append_paths(const string_list& paths) {
    media_list& list = context_.music_list;
    const int first = list.count();
    for (const std::string& path : paths)
        list.append(context_.media_info(path), "");
    if (list.count() > first)
        others_.playlist->rows_appended(first, list.count() - 1);
}

void navigation_controller::play_this_path() {
    // From a drive or folder node the node's own path plays; from the listing or the button the current folder.
    const std::string folder = add_menu_folder();
    if (folder.empty()) {
        others_.frame->show_message(QString::fromStdString(context_.message(texts::choose_directory)));
        return;
    }
    context_.scanners->play_this_location(folder,
                                          [this](const string_list& paths) {
                                              others_.players->play_paths(paths);
                                              return true;
                                          },
                                          {});
}

} // namespace karvo
