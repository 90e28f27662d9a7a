// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/navigation/navigation_tree.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/Main_form/drops.h"

namespace karvo {

navigation_tree::navigation_tree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("MyTree");
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setMinimumWidth(70);
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true); // hot tracking and the hover hints
    setExpandsOnDoubleClick(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    // Long folder names scroll sideways instead of being cut.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
}

QTreeWidgetItem* navigation_tree::node_hit_at(const QPoint& pos) const {
    QTreeWidgetItem* item = itemAt(pos);
    if (!item)
        return nullptr;
    // The row reaches across the view; only the icon and the label count as the node.
    const QRect rect = visualItemRect(item);
    const int label = fontMetrics().horizontalAdvance(item->text(0));
    const int right = rect.left() + iconSize().width() + 6 + label + 6;
    return pos.x() >= rect.left() && pos.x() <= right ? item : nullptr;
}

void navigation_tree::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* hit = node_hit_at(pos);
    if (event->button() == Qt::RightButton) {
        QTreeWidgetItem* item = itemAt(pos);
        if (item)
            setCurrentItem(item);
        if (item)
            emit node_right_clicked(item, event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && hit)
        emit node_clicked(hit);
}

void navigation_tree::mouseMoveEvent(QMouseEvent* event) {
    QTreeWidget::mouseMoveEvent(event);
    if (!(event->buttons() & Qt::LeftButton))
        emit node_hovered(node_hit_at(event->position().toPoint()));
}

void navigation_tree::leaveEvent(QEvent* event) {
    QTreeWidget::leaveEvent(event);
    emit node_hovered(nullptr);
}

void navigation_tree::keyPressEvent(QKeyEvent* event) {
    // Keyboard users open what they moved to; a click is the only other way.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit node_clicked(currentItem());
        event->accept();
        return;
    }
    // The Menu key and Shift+F10 open the node's menu as a right click does, below the node.
    const bool menu_key = event->key() == Qt::Key_Menu ||
                          (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menu_key && currentItem()) {
        const QRect rect = visualItemRect(currentItem());
        emit node_right_clicked(currentItem(), viewport()->mapToGlobal(rect.bottomLeft()));
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void navigation_tree::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && !event->isAutoRepeat()) {
        emit f5_pressed();
        event->accept();
        return;
    }
    QTreeWidget::keyReleaseEvent(event);
}

bool navigation_tree::accepts(const QDropEvent* event) const {
    return from_virtual_playlist(event);
}

void navigation_tree::dragEnterEvent(QDragEnterEvent* event) {
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void navigation_tree::dragMoveEvent(QDragMoveEvent* event) {
    // Never the tree's own move of nodes: what a drop means is the window's decision.
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void navigation_tree::dropEvent(QDropEvent* event) {
    if (!accepts(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped_on(itemAt(event->position().toPoint()));
}

} // namespace karvo
