// TfrmMain: the navigation tree `MyTree` (drives and folders, saved playlists with their groupings, Media CDs), its
// clicks, menus, hints, F5 and drops, and the three operation buttons below the panes.
#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTreeWidget>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/playlist_model.h"
#include "app/resources/explorer_images.h"
#include "library/folder_scanner.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/ini_file.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

enum node_kind : int { kind_root, kind_drive, kind_folder, kind_playlist, kind_grouping, kind_value, kind_media_cd,
                       kind_placeholder };
constexpr int kind_role = Qt::UserRole;
constexpr int root_role = Qt::UserRole + 1;  // a drive node's root

// Message numbers of the table.
constexpr int msg_my_computer_menu = 2;
constexpr int msg_my_playlists_menu = 3;
constexpr int msg_my_media_cds_menu = 4;
constexpr int msg_my_computer = 29;
constexpr int msg_my_playlists = 30;
constexpr int msg_my_media_cds = 31;
constexpr int msg_not_inserted = 32;
constexpr int msg_cant_add_here = 36;
constexpr int msg_choose_a_directory = 16;  // without the full stop, as Add Directory shows it
constexpr int msg_choose_directory = 53;
constexpr int msg_play_this_drive = 54;
constexpr int msg_play_this_folder = 55;

int kind_of(const QTreeWidgetItem* item) {
    return item ? item->data(0, kind_role).toInt() : -1;
}

std::string text_of(const QTreeWidgetItem* item) {
    return item->text(0).toStdString();
}

QTreeWidgetItem* add_node(QTreeWidgetItem* parent, const std::string& text, node_kind kind, int image) {
    auto* item = new QTreeWidgetItem(parent, {QString::fromStdString(text)});
    item->setData(0, kind_role, kind);
    if (image >= 0)
        item->setIcon(0, artwork::explorer_icon(image));
    return item;
}

void delete_children(QTreeWidgetItem* item) {
    qDeleteAll(item->takeChildren());
}

void add_placeholder(QTreeWidgetItem* grouping) {
    add_node(grouping, grouping_placeholder, kind_placeholder, -1);
}

void set_tag(QMenu* menu, int tag) {
    menu->setProperty("tag", tag);
}

} // namespace

platform::drive_table& TfrmMain::drives() {
    return environment_.drives ? *environment_.drives : platform::system_drives();
}

void TfrmMain::build_navigation() {
    auto* tree = static_cast<navigation_tree*>(MyTree);
    tree->setStyleSheet(QStringLiteral("QTreeView::item:hover { background: rgb(0,70,140); }"));
    tree->drop_source = LstMusicList;
    tree->on_click = [this](QTreeWidgetItem* item) { MyTreeClick(item); };
    tree->on_right_click = [this](QTreeWidgetItem* item, const QPoint& at) { MyTreeRightClick(item, at); };
    tree->on_hover = [this](QTreeWidgetItem* item) { MyTreeMouseMove(item); };
    tree->on_f5 = [this] { MyTreeF5(); };
    tree->on_drop = [this](QTreeWidgetItem* item) { MyTreeDragDrop(item); };
    connect(tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { MyTreeExpanding(item); });
    connect(tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { MyTreeCollapsing(item); });

    media_cds = std::make_unique<mp3_cd_class>(data_folder, [this](const std::string& text,
                                                                   const std::string& caption) {
        folder_failed_ = true;
        environment_.prompts.message_box(text, caption, platform::message_buttons::ok, platform::message_icon::none);
    });
    rebuild_my_playlists = [this] {
        ListSavedPlaylists();
        MyTree->expandItem(tree_my_playlists);
    };

    auto make_menu = [this](QMenu*& menu, const char* name) {
        if (!menu) {
            menu = new QMenu(this);
            menu->setObjectName(name);
            menu->setStyleSheet(mnuCommands->styleSheet() +
                                QStringLiteral("QMenu::item:disabled { color: rgb(110,130,170); }"));
        }
        set_tag(menu, 0);
    };
    make_menu(mnuAdd, "mnuAdd");
    make_menu(mnuSave, "mnuSave");
    make_menu(mnuMP3CD, "mnuMP3CD");
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        auto* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuAdd_Directory = item(mnuAdd, "mnuAdd_Directory", "Add Directory", [this] { mnuAdd_DirectoryClick(); });
    mnuAdd_Directory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    mnuAdd_Directory->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuAdd_Directory);
    mnuPlayThisPath = item(mnuAdd, "mnuPlayThisPath", "Play This Drive.", [this] { mnuPlayThisPathClick(); });
    mnuPlaySelectedTemp = item(mnuAdd, "mnuPlaySelectedTemp", "Play Selected", [this] { mnuPlaySelectedTempClick(); });
    // Cataloguing a disc is the Media CD commands' part; the item is only shown on CD-ROM drives until then.
    AddNewMediaCD1 = item(mnuAdd, "AddNewMediaCD1", "Add New Media CD", [] {});
    connect(mnuAdd, &QMenu::aboutToShow, this, [this] {
        mnuPlaySelectedTemp->setEnabled(LstMusicListAll->selectionModel()->hasSelection());
    });
    mnuSave->addSeparator();
    mnuDisplayAllSavedPlaylists = item(mnuSave, "mnuDisplayAllSavedPlaylists", "Display All Saved Playlists",
                                       [this] { DisplayAllSavedPlaylists(); });
    mnuDisplayAllSavedPlaylists->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuDisplayAllMediaCDs = item(mnuMP3CD, "mnuDisplayAllMediaCDs", "Display All Media CDs",
                                 [this] { DisplayAllMediaCDs(); });

    // The three operation buttons follow the toolbar's other buttons below the panes.
    int x = SpliterToolbar->width() + 9;
    my_computer = new picture_button(artwork::picture::my_computer, "my_computer", SpliterToolbar);
    my_saved_pls = new picture_button(artwork::picture::selected_playlist, "my_saved_pls", SpliterToolbar);
    my_media_cd = new picture_button(artwork::picture::selected_media_cd, "my_media_cd", SpliterToolbar);
    for (picture_button* button : {my_computer, my_saved_pls, my_media_cd}) {
        button->setGeometry(x, 1, 22, 22);
        x += 25;
    }
    SpliterToolbar->resize(x, SpliterToolbar->height());
    connect(my_computer, &QAbstractButton::pressed, this, [this] {
        AddNewMediaCD1->setVisible(false);
        set_tag(mnuAdd, 0);
        mnuAdd->popup(QCursor::pos());
    });
    connect(my_saved_pls, &QAbstractButton::pressed, this, [this] {
        set_tag(mnuSave, 0);
        mnuSave->popup(QCursor::pos());
    });
    connect(my_media_cd, &QAbstractButton::pressed, this, [this] {
        set_tag(mnuMP3CD, 0);
        mnuMP3CD->popup(QCursor::pos());
    });
}

void TfrmMain::MyTreeBuild() {
    auto message = [this](int n) { return messages[n]; };
    wire_hint(my_computer, QString::fromStdString(message(msg_my_computer_menu)));
    wire_hint(my_saved_pls, QString::fromStdString(message(msg_my_playlists_menu)));
    wire_hint(my_media_cd, QString::fromStdString(message(msg_my_media_cds_menu)));

    MyTree->clear();
    tree_my_computer = add_node(MyTree->invisibleRootItem(), message(msg_my_computer), kind_root, img_my_computer);
    tree_my_playlists = add_node(MyTree->invisibleRootItem(), message(msg_my_playlists), kind_root, img_playlists);
    tree_my_media_cds = add_node(MyTree->invisibleRootItem(), message(msg_my_media_cds), kind_root, img_media_cds);
    MyTree->setCurrentItem(tree_my_computer);
    ListDrives();
    ListSavedPlaylists();
    ListMediaCDs();
    tree_saved_pls_state = platform::get_private_profile_int("Settings", "Tree_SavedPls_State", 0, settings_file) != 0;
    tree_media_cd_state = platform::get_private_profile_int("Settings", "Tree_MediaCD_State", 0, settings_file) != 0;
    if (tree_saved_pls_state)
        MyTree->expandItem(tree_my_playlists);
    if (tree_media_cd_state)
        MyTree->expandItem(tree_my_media_cds);
    MyTree->expandItem(tree_my_computer);
    MyTree->scrollToItem(tree_my_computer);
}

void TfrmMain::ListDrives() {
    delete_children(tree_my_computer);
    listed_drives = drives().drives();
    drive_roots = make_drive_lists(listed_drives);
    for (const platform::drive_info& drive : listed_drives) {
        QTreeWidgetItem* node = add_node(tree_my_computer, drive_node_text(drive), kind_drive, drive_image(drive.type));
        node->setData(0, root_role, QString::fromStdString(drive.root));
    }
}

void TfrmMain::ListSavedPlaylists() {
    delete_children(tree_my_playlists);
    for (const std::string& name : playlists->names()) {
        QTreeWidgetItem* node = add_node(tree_my_playlists, name, kind_playlist, img_playlist);
        for (const grouping_kind& grouping : grouping_kinds)
            add_placeholder(add_node(node, grouping.text, kind_grouping, img_grouping));
    }
}

void TfrmMain::ListMediaCDs() {
    delete_children(tree_my_media_cds);
    for (const std::string& name : media_cds->names())
        add_node(tree_my_media_cds, name, kind_media_cd, img_media_cd);
}

int TfrmMain::subtree_of(const QTreeWidgetItem* item) const {
    while (item && item->parent())
        item = item->parent();
    if (item == tree_my_playlists)
        return subtree_my_playlists;
    if (item == tree_my_media_cds)
        return subtree_my_media_cds;
    return subtree_my_computer;
}

std::string TfrmMain::node_path(const QTreeWidgetItem* item) const {
    std::vector<std::string> folders;
    for (; item && kind_of(item) == kind_folder; item = item->parent())
        folders.insert(folders.begin(), text_of(item));
    if (kind_of(item) != kind_drive)
        return "/";
    return karvo::node_path(item->data(0, root_role).toString().toStdString(), folders);
}

void TfrmMain::MyTreeExpanding(QTreeWidgetItem* item) {
    if (filling_grouping_)
        return;
    if (item == tree_my_playlists)
        tree_saved_pls_state = true;
    if (item == tree_my_media_cds)
        tree_media_cd_state = true;
    if (kind_of(item) == kind_grouping) {
        fill_grouping_values(item);
        return;
    }
    if (subtree_of(item) != subtree_my_computer)
        return;
    // Every visible node already knows whether it has sub-folders.
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        delete_children(child);
        for (const std::string& name : sub_folders(node_path(child)))
            add_node(child, name, kind_folder, img_folder);
    }
    if (kind_of(item) == kind_folder)
        item->setIcon(0, artwork::explorer_icon(img_folder_open));
}

void TfrmMain::MyTreeCollapsing(QTreeWidgetItem* item) {
    if (item == tree_my_playlists)
        tree_saved_pls_state = false;
    if (item == tree_my_media_cds)
        tree_media_cd_state = false;
    if (kind_of(item) == kind_grouping) {
        delete_children(item);
        add_placeholder(item);
        return;
    }
    if (subtree_of(item) != subtree_my_computer || item == tree_my_computer)
        return;
    if (kind_of(item) == kind_folder)
        item->setIcon(0, artwork::explorer_icon(img_folder));
    for (int i = 0; i < item->childCount(); ++i)
        delete_children(item->child(i));
}

void TfrmMain::fill_grouping_values(QTreeWidgetItem* grouping) {
    const std::optional<int> field = grouping_field(text_of(grouping));
    if (!field || !grouping->parent())
        return;
    const std::string playlist_name = text_of(grouping->parent());
    const bool shown = playlist_name == current_playlist_name;
    string_list values;
    if (shown && PlaylistMode == mode_playlist)
        values = grouping_values(music_list, *field);
    else if (shown && PlaylistMode == mode_grouping)
        values = grouping_values(music_list, *field, true);
    else
        values = grouping_values(playlists->load(playlist_name), *field);

    filling_grouping_ = true;
    delete_children(grouping);
    for (const std::string& value : values)
        add_node(grouping, value, kind_value, img_grouping_value);
    MyTree->expandItem(grouping);
    filling_grouping_ = false;
}

void TfrmMain::refresh_groupings(const std::string& playlist_name) {
    for (int i = 0; i < tree_my_playlists->childCount(); ++i) {
        QTreeWidgetItem* node = tree_my_playlists->child(i);
        if (text_of(node) != playlist_name)
            continue;
        for (int g = 0; g < node->childCount(); ++g) {
            QTreeWidgetItem* grouping = node->child(g);
            if (grouping->isExpanded() || grouping->childCount() == 0)
                fill_grouping_values(grouping);
        }
    }
}

void TfrmMain::refresh_location() {
    location_shown_ = false;
    show_location();
}

void TfrmMain::MyTreeClick(QTreeWidgetItem* item) {
    const int kind = kind_of(item);
    if (item == tree_my_playlists) {
        PlaylistMode = mode_all_playlists;
        DisplayAllSavedPlaylists();
    } else if (item == tree_my_media_cds) {
        PlaylistMode = mode_all_media_cds;
        DisplayAllMediaCDs();
    } else if (kind == kind_playlist) {
        const std::string name = text_of(item);
        if (PlaylistMode == mode_playlist && name == current_playlist_name)
            return;
        PlaylistMode = mode_playlist;
        music_list.clear();
        load_playlist_into(*playlists, name, music_list);
        refresh_count();
        set_current_playlist_name(name);
        refresh_location();
    } else if (kind == kind_media_cd) {
        music_list.clear();
        PlaylistMode = mode_media_cd;
        if (!LoadMediaCD(text_of(item)))
            show_message(QString::fromStdString(messages[msg_not_inserted]));
        else
            refresh_location();
    } else if (kind == kind_drive || kind == kind_folder) {
        const std::string path = node_path(item);
        set_current_folder(path);
        try {
            LstMusicListAllFill(path);
        } catch (...) {
            // A folder that vanishes or cannot be read leaves the listing as far as it got.
        }
    } else if (kind == kind_value && item->parent() && item->parent()->parent()) {
        show_grouping_value(item);
    }
}

void TfrmMain::show_grouping_value(QTreeWidgetItem* value) {
    const std::optional<int> field = grouping_field(text_of(value->parent()));
    if (!field)
        return;
    const std::string name = text_of(value->parent()->parent());
    const bool shown = name == current_playlist_name &&
                       (PlaylistMode == mode_playlist || PlaylistMode == mode_grouping);
    // The unfiltered copy is retaken whenever the full playlist is what the list holds, so a copy left by another
    // playlist is never filtered.
    const bool fresh_copy = !shown || PlaylistMode == mode_playlist;
    PlaylistMode = mode_grouping;
    if (!shown) {
        music_list.clear();
        load_playlist_into(*playlists, name, music_list);
    }
    show_grouping(music_list, *field, text_of(value), fresh_copy);
    refresh_count();
    set_current_playlist_name(name);
    refresh_location();
}

void TfrmMain::MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global) {
    const int kind = kind_of(item);
    if (kind == kind_playlist || item == tree_my_playlists) {
        if (kind == kind_playlist)
            MyTreeClick(item);
        set_tag(mnuSave, kind == kind_playlist ? 1 : 2);
        mnuSave->popup(global);
    } else if (kind == kind_media_cd || item == tree_my_media_cds) {
        if (kind == kind_media_cd)
            MyTreeClick(item);
        set_tag(mnuMP3CD, kind == kind_media_cd ? 1 : 2);
        mnuMP3CD->popup(global);
    } else if (kind == kind_drive || kind == kind_folder) {
        tree_menu_path = node_path(item);
        mnuPlayThisPath->setText(QString::fromStdString(messages[kind == kind_drive ? msg_play_this_drive
                                                                                    : msg_play_this_folder]));
        AddNewMediaCD1->setVisible(on_cdrom_drive(tree_menu_path, listed_drives));
        set_tag(mnuAdd, 1);
        mnuAdd->popup(global);
    }
}

void TfrmMain::MyTreeMouseMove(QTreeWidgetItem* item) {
    std::string hint;
    if (item == tree_my_playlists)
        hint = all_playlists_hint;
    else if (item == tree_my_media_cds)
        hint = all_media_cds_hint;
    else if (kind_of(item) == kind_playlist)
        hint = playlist_hint(text_of(item));
    else if (kind_of(item) == kind_media_cd)
        hint = media_cd_hint(text_of(item));
    if (hint.empty())
        show_location();
    else
        show_message(QString::fromStdString(hint));
}

void TfrmMain::MyTreeF5() {
    QTreeWidgetItem* selected = MyTree->currentItem();
    if (!selected)
        return;
    QTreeWidgetItem* root = nullptr;
    switch (subtree_of(selected)) {
    case subtree_my_playlists:
        ListSavedPlaylists();
        root = tree_my_playlists;
        break;
    case subtree_my_media_cds:
        ListMediaCDs();
        root = tree_my_media_cds;
        break;
    default:
        ListDrives();
        root = tree_my_computer;
        break;
    }
    // An expanded root does not expand again, yet its new children must know their own children.
    if (root->isExpanded())
        MyTreeExpanding(root);
    else
        MyTree->expandItem(root);
}

void TfrmMain::MyTreeDragDrop(QTreeWidgetItem* item) {
    if (kind_of(item) != kind_playlist) {
        environment_.prompts.message_box(messages[msg_cant_add_here], msg_box_title, platform::message_buttons::ok,
                                         platform::message_icon::information);
        return;
    }
    const std::string name = text_of(item);
    const std::vector<int> rows = selected_positions();
    if (append_rows_to_playlist(*playlists, name, music_list, rows))
        refresh_groupings(name);
}

void TfrmMain::DisplayAllSavedPlaylists() {
    playlist->rewrite([this] { display_all_saved_playlists(*playlists, music_list); });
    refresh_count();
    set_current_playlist_name({});
    refresh_location();
}

void TfrmMain::DisplayAllMediaCDs() {
    playlist->rewrite([this] { display_all_media_cds(*media_cds, music_list, drives()); });
    refresh_count();
    set_current_media_cd_name({});
    refresh_location();
}

bool TfrmMain::LoadMediaCD(const std::string& name) {
    const bool found = media_cds->load_into(name, music_list, drives()).has_value();
    refresh_count();
    set_current_media_cd_name(name);
    return found;
}

void TfrmMain::mnuAdd_DirectoryClick() {
    if (current_folder.empty()) {
        environment_.prompts.message_box(messages[msg_choose_a_directory], msg_box_title, platform::message_buttons::ok,
                                         platform::message_icon::none);
        return;
    }
    playlist->rewrite([this] {
        scanners->scan_dir(
            current_folder, music_list, [this](const std::string& path) { return resource.media_info_string(path); },
            [this](const std::string& text) { show_progress(text); });
    });
    finish_progress();
    refresh_count();
}

void TfrmMain::mnuPlayThisPathClick() {
    // From a drive or folder node the node's own path plays; from the listing or the button the current folder.
    const std::string folder = mnuAdd->property("tag").toInt() == 1 ? tree_menu_path : current_folder;
    if (folder.empty()) {
        show_message(QString::fromStdString(messages[msg_choose_directory]));
        return;
    }
    scanners->play_this_location(
        folder,
        [this](const string_list& paths) {
            play_paths(paths);
            return true;
        },
        {});
}

} // namespace karvo
