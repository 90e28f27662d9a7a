// SPDX-License-Identifier: GPL-3.0-or-later
// `MyTree`, the navigation tree widget: it reports clicks and right clicks that hit a node's icon or label, hover,
// the F5 key and drops from the virtual playlist; the main window decides what each one means.
#pragma once

#include <QTreeWidget>

namespace karvo {

class navigation_tree : public QTreeWidget {
    Q_OBJECT
public:
    explicit navigation_tree(QWidget* parent);

    // The node whose icon or label is under `pos` (viewport coordinates), or null.
    QTreeWidgetItem* node_hit_at(const QPoint& pos) const;

signals:
    void node_clicked(QTreeWidgetItem* item);                             // left button on a node
    void node_right_clicked(QTreeWidgetItem* item, const QPoint& global); // any part of its row; selected first
    void node_hovered(QTreeWidgetItem* item);                             // null: not over a node
    void f5_pressed();
    void dropped_on(QTreeWidgetItem* item); // any node, or null when dropped beside the nodes

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override; // Enter opens the current node as a click does
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QDropEvent* event) const;
};

} // namespace karvo
