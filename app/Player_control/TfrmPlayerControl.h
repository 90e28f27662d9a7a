// SPDX-License-Identifier: GPL-3.0-or-later
// The small player control panel: a borderless, always-on-top remote control for a running player with five
// picture buttons, the player's logo and, for a player on the session bus, its name and current track. It lives
// for the whole run, opens over a remote-control marker and hides as soon as the cursor leaves it.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "app/resources/player_artwork.h"
#include "players/player_control_class.h"

class QLabel;
class QTimer;

namespace karvo {

class picture_button;

// One of the five buttons: the normal picture of its set, the second one while pressed, dimmed when disabled.
class control_button_face : public QAbstractButton {
    Q_OBJECT
public:
    control_button_face(artwork::picture glyph, const QString& name, QWidget* parent);
    void set_set(artwork::button_set set);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    artwork::picture glyph_;
    artwork::button_set set_ = artwork::button_set::rounded;
};

class TfrmPlayerControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int client_width = 294;
    static constexpr int client_height = 94;
    static constexpr int timer_interval = 300;

    explicit TfrmPlayerControl(QWidget* parent = nullptr);
    ~TfrmPlayerControl() override;

    // Set by the opener before showing.
    int player_kind = 0;      // 0 Winamp, 1 NAD, 2 Sonique, 3 a player on the session bus, 4 the music daemon
    std::string sonique_path; // the Sonique location, for kind 2
    std::string bus_program;  // kind 3: the player's program
    std::string bus_player;   // kind 3: its name in the player list, until it names itself

    // The panel's own drivers, built on the platform's services once the main window has them.
    void set_drivers(platform::window_messages& messages, platform::program_starter& starter);
    void set_bus_players(const linux_player_services& services);
    // A player on the session bus changed its properties or left: shown again when it is the panel's.
    void player_changed(const std::string& bus_name);
    // The music daemon: driven once set; its news shown when the panel is its.
    void set_mpd(mpd_player* mpd) { control_->set_mpd(mpd); }
    void mpd_changed();

    const player_control_view& view() const;
    control_button_face* button(control_button which) const { return buttons_[static_cast<int>(which)]; }
    QLabel* title() const { return lblTitle; }
    QLabel* status() const { return lblStatus; }
    QTimer* timer() const { return Player_Control_Timer; }

    void Player_Control_TimerTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void show_view();
    void press(control_button which);

    std::unique_ptr<player_control_class> control_;
    std::array<control_button_face*, control_button_count> buttons_{};
    QLabel* LogoWinamp = nullptr;
    QLabel* LogoNAD = nullptr;
    QLabel* LogoSonique = nullptr;
    QLabel* LogoPlayer = nullptr; // a bus player's desktop icon
    QLabel* lblTitle = nullptr;
    QLabel* lblSong = nullptr;
    QLabel* lblArtist = nullptr;
    QLabel* lblStatus = nullptr;
    picture_button* Close = nullptr;
    QTimer* Player_Control_Timer = nullptr;
    QPoint drag_from_;
    bool dragging_ = false;
};

} // namespace karvo
