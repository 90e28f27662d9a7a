// SPDX-License-Identifier: GPL-3.0-or-later
// The volume panel: "Volume:", the 102 x 10 bar and the percentage label on a rounded inner panel. The bar paints
// what the volume logic decides; the panel reports presses and drags so the window can move it and set volumes.
#pragma once

#include <QFrame>
#include <QWidget>
#include <cstdint>

class QLabel;

namespace karvo {

// The bar `imgVolume`: the start-up frame (outlined grey, filled with the off colour) and, once a volume is set,
// the inner rectangle in the off colour with blue lines at x = 1, 3, 5, ... while x < value.
class volume_bar : public QWidget {
    Q_OBJECT
public:
    explicit volume_bar(QWidget* parent);

    void set_off_colour(std::uint32_t bgr);
    // The start-up display of `value`; no inner rectangle.
    void show_startup(int value);
    // A set volume: the inner rectangle and its lines over the start-up frame.
    void show_value(int value);
    int value() const { return value_; } // the bar's tag

    // The picture as painted at 1:1, for checking the drawing.
    QImage picture() const;

signals:
    void pressed_at(int x);
    void dragged_to(int x);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paint(QPainter& painter) const;

    QColor off_colour_;
    int value_ = 100;
    bool set_once_ = false; // the inner rectangle is drawn once a volume has been set
};

// The panel moves itself when dragged by its inner panel or labels, kept inside its parent.
class volume_panel : public QFrame {
    Q_OBJECT
public:
    static constexpr int panel_width = 204;
    static constexpr int panel_height = 24;

    explicit volume_panel(QWidget* parent);

    QFrame* VolumeInner = nullptr;
    QLabel* lblVolume = nullptr;
    volume_bar* imgVolume = nullptr;
    QLabel* lblVolumePercent = nullptr;

    // Follows a drag that began at `press` (global) with the panel at `start`, as a pointer at `global` would.
    void begin_drag(const QPoint& press);
    void drag_to(const QPoint& global);

signals:
    void moved(int left, int top);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint press_;
    QPoint start_;
    bool dragging_ = false;
};

} // namespace karvo
