// A splitter bar between two panes whose sizes the main window keeps itself (tree width, upper pane height): a drag
// reports the pointer's travel, the window clamps and lays out.
#pragma once

#include <QWidget>
#include <functional>

namespace karvo {

class pane_splitter : public QWidget {
public:
    pane_splitter(Qt::Orientation orientation, const QString& name, QWidget* parent);

    // Called while dragging with the travel since the press, along the splitter's axis.
    std::function<void(int travel)> on_drag;
    std::function<void()> on_press;

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
