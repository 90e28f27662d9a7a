// SPDX-License-Identifier: GPL-3.0-or-later
// The borderless window's chrome: the title strip with its three picture buttons, the resize grip, and moving the window by its title strip, background or status line. It keeps the maximise
// toggle's state and the rectangle the window returns to.
#pragma once

#include <QObject>
#include <QPoint>

#include "library/main_settings.h"

class QFrame;
class QLabel;
class QTimer;
class QWidget;

namespace karvo {

class command_registry;
class picture_button;
class window_mover;

class chrome_pane : public QObject {
    Q_OBJECT
public:
    static constexpr int title_height = 20;
    static constexpr int grip_size = 14;

    // `window` is the top-level window, `back` its background panel; ToolbarExit runs `exit_command`.
    chrome_pane(QWidget* window, QWidget* back, command_registry& commands, const std::string& exit_command);

    // Presses and drags on this widget move the window, as on the title strip.
    void add_move_handle(QWidget* handle);
    void place(int width, int height);

    bool maximised() const { return window_maximised; }
    const window_rectangle& restore_rect() const { return restore_rect_; }
    // Restore state: the window starts restored at `rect`, whatever it was before.
    void start_restored(const window_rectangle& rect);
    void ToolbarMaxClick(); // the maximise toggle
    void imgResizeTimer();  // the grip's own resizing where the window system cannot resize

signals:
    void minimize_clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool grip_event(QEvent* event);
    bool title_event(QEvent* event);

    QWidget* window_;
    QWidget* back_;
    QWidget* pnlTitle;
    QLabel* lblTitle;
    picture_button* ToolbarMin;
    picture_button* ToolbarMax;
    picture_button* ToolbarExit;
    QLabel* imgResize;
    QTimer* TimerResize;
    bool window_maximised = false;
    window_rectangle restore_rect_;
    window_mover* mover_ = nullptr;
};

} // namespace karvo
