// SPDX-License-Identifier: GPL-3.0-or-later
// A splitter bar between two panes whose sizes the main window keeps itself (tree width, upper pane height): a drag
// reports the pointer's travel, the window clamps and lays out.
#pragma once

#include <QWidget>

namespace karvo {

class pane_splitter : public QWidget {
    Q_OBJECT
public:
    pane_splitter(Qt::Orientation orientation, const QString& name, QWidget* parent);

signals:
    void pressed();
    // While dragging: the travel since the press, along the splitter's axis.
    void dragged(int travel);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int along(const QPointF& global) const;
    Qt::Orientation orientation_;
    bool dragging_ = false;
    int start_ = 0;
};

} // namespace karvo
