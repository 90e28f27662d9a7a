// SPDX-License-Identifier: GPL-3.0-or-later
// Moves a frameless window by dragging one of its handles (a title strip, a background panel): the window system
// moves it where it can, else the window follows the pointer itself.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace karvo {

class window_mover : public QObject {
public:
    explicit window_mover(QWidget* window);

    // Left-button presses and drags on `handle` move the window; they do not reach the handle itself.
    void add_handle(QWidget* handle);
    // A maximised window stays where it is; the presses still stop at the handles.
    void set_movable(bool movable) { movable_ = movable; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPoint drag_origin_;
    QPoint drag_window_start_;
    bool dragging_ = false;
    bool movable_ = true;
};

} // namespace karvo
