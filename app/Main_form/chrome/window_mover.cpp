// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/chrome/window_mover.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace karvo {

window_mover::window_mover(QWidget* window) : QObject(window), window_(window) {}

void window_mover::add_handle(QWidget* handle) {
    handle->installEventFilter(this);
}

bool window_mover::eventFilter(QObject* watched, QEvent* event) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() != Qt::LeftButton)
                return false;
            drag_origin_ = mouse->globalPosition().toPoint();
            dragging_ = false;
            return true;
        case QEvent::MouseMove: {
            if (!(mouse->buttons() & Qt::LeftButton))
                return false;
            const QPoint global = mouse->globalPosition().toPoint();
            if (dragging_) {
                window_->move(drag_window_start_ + global - drag_origin_);
            } else if (movable_ && (global - drag_origin_).manhattanLength() >= QApplication::startDragDistance()) {
                // On X11 the pointer is followed here: a window manager handed the move there may miss the
                // release (the press's grab is ours) and keep moving the window after the button is up.
                QWindow* handle = window_->windowHandle();
                const bool system_move = QGuiApplication::platformName() != QLatin1String("xcb");
                if (!handle || !system_move || !handle->startSystemMove()) {
                    // No window manager to move us: follow the pointer ourselves.
                    dragging_ = true;
                    drag_window_start_ = window_->pos();
                }
            }
            return true;
        }
        case QEvent::MouseButtonRelease: dragging_ = false; return mouse->button() == Qt::LeftButton;
        default: return false;
    }
}

} // namespace karvo
