// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/navigation/tree_pane.h"

#include <QTreeWidget>

#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/navigation/navigation_tree.h"
#include "app/Main_form/picture_button.h"
#include "app/resources/explorer_images.h"
#include "library/navigation_tree_logic.h"
#include "library/shell_state.h"

namespace karvo {

namespace {

constexpr int kind_role = Qt::UserRole;
constexpr int root_role = Qt::UserRole + 1; // a drive node's root

QTreeWidgetItem* add_node(QTreeWidgetItem* parent, const std::string& text, tree_pane::node_kind kind, int image) {
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
    add_node(grouping, grouping_placeholder, tree_pane::kind_placeholder, -1);
}

} // namespace

tree_pane::tree_pane(shell_state& state, QWidget* parent) : QObject(parent), state_(state) {
    MyTree = new navigation_tree(parent);
    MyTree->setStyleSheet(QStringLiteral("QTreeView::item:hover { background: rgb(0,70,140); }"));
    connect(MyTree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { MyTreeExpanding(item); });
    connect(MyTree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { MyTreeCollapsing(item); });
    connect(MyTree, &navigation_tree::node_hovered, this, [this](QTreeWidgetItem* item) { MyTreeMouseMove(item); });
    connect(MyTree, &navigation_tree::node_clicked, this, &tree_pane::node_clicked);
    connect(MyTree, &navigation_tree::node_right_clicked, this, &tree_pane::node_right_clicked);
    connect(MyTree, &navigation_tree::f5_pressed, this, &tree_pane::f5_pressed);
    connect(MyTree, &navigation_tree::dropped_on, this, &tree_pane::dropped_on);
    MyTree->setAccessibleName(QStringLiteral("Navigation tree"));
}

void tree_pane::place(int left, int top, int width, int height) {
    MyTree->setGeometry(left, top, width, height);
}

void tree_pane::join_tab_chain(tab_chain& chain) const {
    chain.order.push_back(MyTree);
}

QTreeWidgetItem* tree_pane::current() const {
    return MyTree->currentItem();
}

void tree_pane::set_current(QTreeWidgetItem* item) {
    MyTree->setCurrentItem(item);
}

void tree_pane::expand(QTreeWidgetItem* item) {
    MyTree->expandItem(item);
}

void tree_pane::show_start() {
    MyTree->expandItem(tree_my_computer);
    MyTree->scrollToItem(tree_my_computer);
}

int tree_pane::kind_of(const QTreeWidgetItem* item) {
    return item ? item->data(0, kind_role).toInt() : -1;
}

std::string tree_pane::text_of(const QTreeWidgetItem* item) {
    return item->text(0).toStdString();
}

void tree_pane::build(const std::string& my_computer, const std::string& my_playlists,
                      const std::string& my_media_cds) {
    MyTree->clear();
    tree_my_computer = add_node(MyTree->invisibleRootItem(), my_computer, kind_root, img_my_computer);
    tree_my_playlists = add_node(MyTree->invisibleRootItem(), my_playlists, kind_root, img_playlists);
    tree_my_media_cds = add_node(MyTree->invisibleRootItem(), my_media_cds, kind_root, img_media_cds);
    MyTree->setCurrentItem(tree_my_computer);
}

void tree_pane::list_drives(const std::vector<platform::drive_info>& drives) {
    delete_children(tree_my_computer);
    for (const platform::drive_info& drive : drives) {
        QTreeWidgetItem* node = add_node(tree_my_computer, drive_node_text(drive), kind_drive, drive_image(drive.type));
        node->setData(0, root_role, QString::fromStdString(drive.root));
    }
}

void tree_pane::list_saved_playlists(const std::vector<std::string>& names) {
    delete_children(tree_my_playlists);
    for (const std::string& name : names) {
        QTreeWidgetItem* node = add_node(tree_my_playlists, name, kind_playlist, img_playlist);
        for (const grouping_kind& grouping : grouping_kinds)
            add_placeholder(add_node(node, grouping.text, kind_grouping, img_grouping));
    }
}

void tree_pane::list_media_cds(const std::vector<std::string>& names) {
    delete_children(tree_my_media_cds);
    for (const std::string& name : names)
        add_node(tree_my_media_cds, name, kind_media_cd, img_media_cd);
}

void tree_pane::show_media_cd_images(const std::vector<int>& images) {
    for (int i = 0; i < tree_my_media_cds->childCount() && i < static_cast<int>(images.size()); ++i)
        if (images[static_cast<std::size_t>(i)] >= 0)
            tree_my_media_cds->child(i)->setIcon(0, artwork::explorer_icon(images[static_cast<std::size_t>(i)]));
}

void tree_pane::expand_again(QTreeWidgetItem* root) {
    // An expanded root does not expand again, yet its new children must know their own children.
    if (root->isExpanded())
        MyTreeExpanding(root);
    else
        MyTree->expandItem(root);
}

int tree_pane::subtree_of(const QTreeWidgetItem* item) const {
    while (item && item->parent())
        item = item->parent();
    if (item == tree_my_playlists)
        return subtree_my_playlists;
    if (item == tree_my_media_cds)
        return subtree_my_media_cds;
    return subtree_my_computer;
}

std::string tree_pane::node_path(const QTreeWidgetItem* item) const {
    std::vector<std::string> folders;
    for (; item && kind_of(item) == kind_folder; item = item->parent())
        folders.insert(folders.begin(), text_of(item));
    if (kind_of(item) != kind_drive)
        return "/";
    return karvo::node_path(item->data(0, root_role).toString().toStdString(), folders);
}

QTreeWidgetItem* tree_pane::playlist_node(const std::string& name) const {
    for (int i = 0; tree_my_playlists && i < tree_my_playlists->childCount(); ++i)
        if (text_of(tree_my_playlists->child(i)) == name)
            return tree_my_playlists->child(i);
    return nullptr;
}

void tree_pane::MyTreeExpanding(QTreeWidgetItem* item) {
    if (filling_grouping_)
        return;
    if (item == tree_my_playlists)
        state_.tree_saved_pls_state = true;
    if (item == tree_my_media_cds)
        state_.tree_media_cd_state = true;
    if (kind_of(item) == kind_grouping) {
        emit grouping_expanding(item);
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

void tree_pane::MyTreeCollapsing(QTreeWidgetItem* item) {
    if (item == tree_my_playlists)
        state_.tree_saved_pls_state = false;
    if (item == tree_my_media_cds)
        state_.tree_media_cd_state = false;
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

void tree_pane::show_grouping_values(QTreeWidgetItem* grouping, const string_list& values) {
    filling_grouping_ = true;
    delete_children(grouping);
    for (const std::string& value : values)
        add_node(grouping, value, kind_value, img_grouping_value);
    MyTree->expandItem(grouping);
    filling_grouping_ = false;
}

std::vector<QTreeWidgetItem*> tree_pane::groupings_to_refresh(const std::string& playlist_name) const {
    std::vector<QTreeWidgetItem*> groupings;
    for (int i = 0; i < tree_my_playlists->childCount(); ++i) {
        QTreeWidgetItem* node = tree_my_playlists->child(i);
        if (text_of(node) != playlist_name)
            continue;
        for (int g = 0; g < node->childCount(); ++g) {
            QTreeWidgetItem* grouping = node->child(g);
            if (grouping->isExpanded() || grouping->childCount() == 0)
                groupings.push_back(grouping);
        }
    }
    return groupings;
}

void tree_pane::MyTreeMouseMove(QTreeWidgetItem* item) {
    std::string hint;
    if (item == tree_my_playlists)
        hint = all_playlists_hint;
    else if (item == tree_my_media_cds)
        hint = all_media_cds_hint;
    else if (kind_of(item) == kind_playlist)
        hint = playlist_hint(text_of(item));
    else if (kind_of(item) == kind_media_cd)
        hint = media_cd_hint(text_of(item));
    show_status_tip(MyTree, QString::fromStdString(hint));
}

} // namespace karvo
