// SPDX-License-Identifier: GPL-3.0-or-later
// What the player control panel shows and does, apart from drawing: its own drivers of the three named players and
// of the players on the session bus, the five buttons sent to the player of the panel's kind, and for a bus player
// its name, track and which buttons it takes.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "players/nad_class.h"
#include "players/linux_player_class.h"
#include "players/sonique_class.h"
#include "players/winamp_class.h"

namespace karvo {

class mpd_player;

enum class control_button { previous, play, pause, stop, next };
inline constexpr int control_button_count = 5;

enum control_kind { winamp_kind = 0, nad_kind = 1, sonique_kind = 2, bus_kind = 3, mpd_kind = 4 };

struct player_control_view {
    int kind = winamp_kind;
    std::string title;     // a bus player's own name for itself (the named three show their logo)
    std::string icon_name; // a bus player's desktop entry, also its icon's name
    std::string track_title;
    std::string track_artist;
    std::string playback_status; // the player's "Playing", "Paused" or "Stopped"
    std::array<bool, control_button_count> enabled{true, true, true, true, true};
    std::string status; // the last command's trouble, e.g. "Audacious did not answer."
};

class player_control_class {
public:
    player_control_class(platform::window_messages& messages, platform::program_starter& starter);

    // Bus players are driven only once this is given, the music daemon once it is set.
    void set_bus_players(const linux_player_services& services);
    void set_mpd(mpd_player* mpd) { mpd_ = mpd; }

    // Showing the panel: the message drivers look their windows up; a bus player (`program`, listed as `name`)
    // is read at once.
    void open(int kind, const std::string& sonique_path, const std::string& program = {}, const std::string& name = {});
    const player_control_view& view() const { return view_; }
    // A bus player's properties changed: read them again. False when the name is not the panel's player.
    bool player_changed(const std::string& bus_name);
    // Reads the bus player again; a player that does not answer disables the buttons and says so.
    void refresh();
    void press(control_button button);

private:
    void press_bus(control_button button);
    void press_mpd(control_button button);
    void refresh_mpd();
    std::string player_name() const;

    winamp_class winamp_;
    nad_class nad_;
    sonique_class sonique_;
    std::unique_ptr<linux_player_class> bus_players_;
    mpd_player* mpd_ = nullptr;
    std::string sonique_path_;
    std::string name_;
    player_control_view view_;
};

// The panel's timer keeps it only while the cursor is strictly inside it (its edges count as outside).
bool cursor_inside(int left, int top, int width, int height, int x, int y);

} // namespace karvo
