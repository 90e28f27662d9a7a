// SPDX-License-Identifier: GPL-3.0-or-later
// The status line at the bottom of the main window: the painted strip `imgMessage` with its message label and its
// location labels (playlist or Media CD picture and name, the My Computer picture and the current folder). It is in
// one of two states, a message or the location, and paints scan progress at most once a frame.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>

class QLabel;
class QWidget;

namespace karvo {

class chrome_pane;
class status_line;
struct shell_state;

class status_pane : public QObject {
    Q_OBJECT
public:
    using clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds progress_repaint_interval{16};

    // The location follows the state's playlist mode.
    status_pane(const shell_state& state, QWidget* parent);

    void place(int left, int top, int width, int height);
    void repaint();
    // Presses and drags on the status line move the window, as on the title strip.
    void move_window_with(chrome_pane& chrome);

    void show_message(const QString& text);
    bool message_shown() const;
    // The location; drawn again only when something changed since it was last drawn.
    void show_location();
    void refresh_location();
    void set_folder(const QString& folder);
    void set_playlist_name(const QString& name);
    void set_media_cd_name(const QString& name); // cut to the label's room

    // Progress of a long scan: every line is set, the strip is repainted for the first line, then at most once per
    // interval of the clock, and by finish_progress for the last line if it was not painted yet.
    void show_progress(const QString& line);
    void finish_progress();
    int progress_repaints() const { return progress_repaints_; }
    void set_clock(clock now) { now_ = std::move(now); }

signals:
    // Every message and progress line, painted or not.
    void message_set(const QString& text);

private:
    void location_changed();

    const shell_state& state_;

    status_line* imgMessage;
    QLabel* lblMessage;
    QLabel* Selected_Playlist;
    QLabel* Selected_MediaCD;
    QLabel* Selected_Nothing;
    QLabel* SelectedName;
    QLabel* imgMyComputer;
    QLabel* lblmycomputer;
    bool location_shown_ = false;
    clock now_;
    std::chrono::steady_clock::time_point progress_painted_{};
    bool progress_running_ = false;
    bool progress_pending_ = false;
    int progress_repaints_ = 0;
};

} // namespace karvo
