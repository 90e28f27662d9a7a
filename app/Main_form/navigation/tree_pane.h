// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation tree pane: the tree `MyTree` with its three roots (My Computer, My Playlists, My Media CDs), the
// drive, folder, saved playlist, grouping and Media CD nodes, folders listed one level ahead as nodes expand, and
// the hover hints. What a click, a menu or a drop means is the window's; the pane only reports it.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "library/string_list.h"
#include "platform/drives.h"

class QPoint;
class QTreeWidgetItem;
class QWidget;

namespace karvo {

class navigation_tree;
struct shell_state;
struct tab_chain;

class tree_pane : public QObject {
    Q_OBJECT
public:
    enum node_kind : int {
        kind_root,
        kind_drive,
        kind_folder,
        kind_playlist,
        kind_grouping,
        kind_value,
        kind_media_cd,
        kind_placeholder
    };

    // The root states of `state` follow the expanding and collapsing of the two roots.
    tree_pane(shell_state& state, QWidget* parent);

    QTreeWidgetItem* my_computer() const { return tree_my_computer; }
    QTreeWidgetItem* my_playlists() const { return tree_my_playlists; }
    QTreeWidgetItem* my_media_cds() const { return tree_my_media_cds; }

    void place(int left, int top, int width, int height);
    void join_tab_chain(tab_chain& chain) const;
    QTreeWidgetItem* current() const;
    void set_current(QTreeWidgetItem* item);
    void expand(QTreeWidgetItem* item);
    void show_start(); // My Computer expanded and scrolled into view

    // Builds the three roots with these texts; the nodes below come from the list_ calls.
    void build(const std::string& my_computer, const std::string& my_playlists, const std::string& my_media_cds);
    void list_drives(const std::vector<platform::drive_info>& drives);
    void list_saved_playlists(const std::vector<std::string>& names);
    void list_media_cds(const std::vector<std::string>& names);
    // Expands a root, or, when it is expanded already, lists its children's children again.
    void expand_again(QTreeWidgetItem* root);

    static int kind_of(const QTreeWidgetItem* item);
    static std::string text_of(const QTreeWidgetItem* item);
    std::string node_path(const QTreeWidgetItem* item) const;
    int subtree_of(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* playlist_node(const std::string& name) const;

    // The values of a grouping node, replacing its children; the node is expanded.
    void show_grouping_values(QTreeWidgetItem* grouping, const string_list& values);
    // The groupings of a saved playlist's node that are expanded or not filled yet.
    std::vector<QTreeWidgetItem*> groupings_to_refresh(const std::string& playlist_name) const;

    // The Media CD check's images, one per Media CD node in tree order (-1 leaves a node as it is).
    void show_media_cd_images(const std::vector<int>& images);

    void MyTreeExpanding(QTreeWidgetItem* item);
    void MyTreeCollapsing(QTreeWidgetItem* item);
    void MyTreeMouseMove(QTreeWidgetItem* item);

signals:
    // A grouping node opens: the window shows its values.
    void grouping_expanding(QTreeWidgetItem* grouping);
    void node_clicked(QTreeWidgetItem* item);                             // left button on a node
    void node_right_clicked(QTreeWidgetItem* item, const QPoint& global); // any part of its row; selected first
    void f5_pressed();
    void dropped_on(QTreeWidgetItem* item); // rows of the virtual playlist; null when dropped beside the nodes

private:
    shell_state& state_;
    navigation_tree* MyTree;
    QTreeWidgetItem* tree_my_computer = nullptr;
    QTreeWidgetItem* tree_my_playlists = nullptr;
    QTreeWidgetItem* tree_my_media_cds = nullptr;
    bool filling_grouping_ = false; // expanding a grouping node runs no second fill
};

} // namespace karvo
