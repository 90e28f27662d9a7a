// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation area: the tree (drives and folders, saved playlists with their groupings, Media CDs), the folder
// listing with its add menu, and what a click on a node shows in the virtual playlist.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "app/Main_form/areas.h"

class QLabel;
class QPoint;
class QTreeWidgetItem;
class QWidget;

namespace karvo {

class command_registry;
class listing_pane;
class tree_pane;
struct main_context;

class navigation_controller : public QObject, public navigation_port {
    Q_OBJECT
public:
    navigation_controller(main_context& context, command_registry& commands, const areas& others, QWidget* back);
    ~navigation_controller() override;

    tree_pane& tree() const { return *tree_; }
    listing_pane& listing() const { return *listing_; }

    void build_tree(); // the three roots and what is under them, opened as the settings say
    void apply_settings();
    void place(int tree_left, int top, int tree_width, int listing_left, int listing_width, int height);

    // What the user does on the tree and the listing; the tests drive these directly.
    void MyTreeClick(QTreeWidgetItem* item);
    void MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global);
    void MyTreeDragDrop(QTreeWidgetItem* item);
    void LstMusicListAllFill(const std::string& folder);
    void LstMusicListAllContextPopup(const QPoint& global);
    bool add_menu_from_node() const { return !tree_menu_path_.empty(); }

    // navigation_port
    void relist_saved_playlists(const std::string& select = {}) override;
    void relist_media_cds() override;
    void relist_drives() override;
    void refresh_groupings(const std::string& playlist_name) override;
    void show_media_cd_images(const std::vector<int>& images) override;
    string_list media_cd_names() const override;
    tree_selection selected_node() const override;
    std::vector<int> take_listing_selection() override;
    std::string add_menu_folder() const override;
    void add_dragged_node() override;

private:
    void declare_commands();
    void wire_panes();
    void list_drives();
    void MyTreeF5();
    void fill_grouping_values(QTreeWidgetItem* grouping);
    void show_grouping_value(QTreeWidgetItem* value);
    void show_node(QTreeWidgetItem* item, int node); // after the unsaved-changes question
    void add_directory(const std::string& folder);
    void add_files();
    void append_paths(const string_list& paths);
    void play_this_path();

    main_context& context_;
    command_registry& commands_;
    const areas& others_;
    tree_pane* tree_ = nullptr;
    listing_pane* listing_ = nullptr;
    QLabel* imgFolderCaption = nullptr;
    std::string tree_menu_path_; // the drive or folder node whose add menu is open; empty from the listing
};

} // namespace karvo
