// `MyTree`, the navigation tree widget: it reports clicks and right clicks that hit a node's icon or label, hover,
// the F5 key and drops from the one list allowed to drop here; the main window decides what each one means.
#pragma once

#include <QTreeWidget>
#include <functional>

namespace karvo {

class navigation_tree : public QTreeWidget {
public:
    explicit navigation_tree(QWidget* parent);

    // The node whose icon or label is under `pos` (viewport coordinates), or null.
    QTreeWidgetItem* node_hit_at(const QPoint& pos) const;

    std::function<void(QTreeWidgetItem*)> on_click;                            // left button on a node
    std::function<void(QTreeWidgetItem*, const QPoint& global)> on_right_click;  // any part of its row; selected first
    std::function<void(QTreeWidgetItem*)> on_hover;                            // null: not over a node
    std::function<void()> on_f5;
    std::function<void(QTreeWidgetItem*)> on_drop;  // any node, or null when dropped beside the nodes
    QWidget* drop_source = nullptr;                 // only drags started in this widget are accepted

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QDropEvent* event) const;
};

} // namespace karvo
