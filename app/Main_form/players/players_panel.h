// SPDX-License-Identifier: GPL-3.0-or-later
// The players panel `a` of the main window: the six player slot labels, the extra-players box with its label and
// arrow, the selected player's name, and a remote-control marker beside every label. It takes files dropped
// from a file manager and playlist entries dragged from the virtual playlist; what they do is the window's.
// Also the two player popups that a playlist drag over a slot label brings up.
#pragma once

#include <QFrame>
#include <array>

#include "app/Main_form/floating_panel.h"
#include "library/string_list.h"

class QComboBox;
class QDropEvent;
class QLabel;

namespace karvo {

class picture_button;

class players_panel : public floating_panel {
    Q_OBJECT
public:
    static constexpr int label_count = 7; // lblPlayer0..lblPlayer5 and lblPlayer6 of the extra players
    static constexpr int panel_width = 140;
    static constexpr int unfolded_panel_height = 160;

    explicit players_panel(QWidget* parent);

    QLabel* lblPlayerTop = nullptr;
    std::array<QLabel*, label_count> lblPlayer{};
    QComboBox* cmbPlayers = nullptr;
    picture_button* imgComboDown = nullptr;
    // RCImage0 over lblPlayer0, RCImage1 over lblPlayer1; the others mark the players on the session bus.
    std::array<QLabel*, label_count> RCImage{};

    // Slots 0-5 accept files from a file manager only while this is set (their program exists).
    std::array<bool, 6> accepts_files{};

    // The label (0-6) under a point of the panel, or -1.
    int label_at(const QPoint& at) const;
    // A marker's picture (the remote control or the blue arrow) and its top.
    void set_marker(int marker, bool remote, int top);
    bool marker_is_remote(int marker) const { return marker_remote_[marker]; }
    // The label the keyboard is on: Up and Down move it, Enter or Space chooses it as a click does.

signals:
    void label_clicked(int label);
    void box_changed(int entry);
    void files_dropped(int slot, const karvo::string_list& files);
    // A receiver sets *accepted to false to refuse the drag over that slot.
    void playlist_drag_over(int slot, bool* accepted);
    void playlist_dropped(int slot);
    void playlist_drag_left();
    void marker_hovered(int marker);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int key_label_ = 0;
    bool accepts_at(const QPoint& at, const QDropEvent* event);
    std::array<bool, label_count> marker_remote_{};
};

// MPlayerPopup1 (play only) and MPlayerPopup2 (enqueue on the left part, play on the right): drop targets for
// playlist entries, shown beside a slot label; its tag is that slot's player index.
class player_popup_panel : public QFrame {
    Q_OBJECT
public:
    player_popup_panel(const QString& name, bool two_part, int corner, QWidget* parent);

    int tag = -1;

signals:
    void dropped(int tag, int x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool two_part_;
    int corner_;
};

} // namespace karvo
