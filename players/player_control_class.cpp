// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/player_control_class.h"

#include "players/mpd_player.h"
#include "players/playback_commands.h"
#include "players/player_table.h"
#include "platform/file_system.h"

namespace karvo {

player_control_class::player_control_class(platform::window_messages& messages, platform::program_starter& starter)
    : winamp_(messages, starter), nad_(messages, starter), sonique_(messages, starter) {}

void player_control_class::set_bus_players(const linux_player_services& services) {
    bus_players_ = std::make_unique<linux_player_class>(services);
}

void player_control_class::open(int kind, const std::string& sonique_path, const std::string& program,
                                const std::string& name) {
    view_ = player_control_view{};
    view_.kind = kind;
    sonique_path_ = sonique_path;
    name_ = name;
    winamp_.find_window();
    nad_.find_window();
    if (kind == bus_kind && bus_players_)
        bus_players_->set_program_path(program);
    refresh();
}

std::string player_control_class::player_name() const {
    if (!view_.title.empty())
        return view_.title;
    if (!name_.empty())
        return name_;
    return bus_players_ ? program_base_name(bus_players_->program_path()) : std::string();
}

void player_control_class::refresh_mpd() {
    const mpd_player_status status = mpd_ != nullptr ? mpd_->last_status() : mpd_player_status{};
    view_.title = name_;
    view_.track_title = status.title.empty() ? platform::file_name_of(status.song_uri) : status.title;
    view_.track_artist = status.artist;
    view_.playback_status = status.state == "play" ? "Playing" : status.state == "pause" ? "Paused" : "Stopped";
    view_.enabled.fill(status.connected);
    if (!status.connected)
        view_.playback_status.clear();
}

void player_control_class::refresh() {
    if (view_.kind == mpd_kind)
        refresh_mpd();
    if (view_.kind != bus_kind)
        return;
    const found_player player = bus_players_ ? bus_players_->find_player() : found_player{};
    if (player.reach != player_reach::running) {
        // Nothing to send to: the title stays, so the user still sees whose panel it is.
        view_.title = player_name();
        view_.enabled.fill(false);
        view_.track_title.clear();
        view_.track_artist.clear();
        view_.playback_status.clear();
        if (player.reach == player_reach::not_answering)
            view_.status = did_not_answer_text(player_name());
        return;
    }
    const platform::media_player_state& state = player.state;
    view_.title = state.identity.empty() ? player_name() : state.identity;
    view_.icon_name = state.desktop_entry;
    view_.track_title = state.track.title;
    view_.track_artist = state.track.artist;
    view_.playback_status = state.playback_status;
    view_.enabled = {state.can_go_previous, state.can_play, state.can_pause, state.can_control, state.can_go_next};
    view_.status.clear();
}

bool player_control_class::player_changed(const std::string& bus_name) {
    if (view_.kind != bus_kind || !bus_players_ || !bus_players_->is_running_instance(bus_name))
        return false;
    refresh();
    return true;
}

void player_control_class::press_bus(control_button button) {
    if (!bus_players_)
        return;
    command_outcome outcome = command_outcome::not_running;
    switch (button) {
        case control_button::previous: outcome = bus_players_->previous_track(); break;
        case control_button::play: outcome = bus_players_->play(); break;
        case control_button::pause: outcome = bus_players_->pause(); break;
        case control_button::stop: outcome = bus_players_->stop(); break;
        case control_button::next: outcome = bus_players_->next_track(); break;
    }
    // Asking a player that kept the command waiting again would only keep the user waiting twice.
    if (outcome == command_outcome::not_answering)
        view_.status = did_not_answer_text(player_name());
    else
        refresh();
}

void player_control_class::press_mpd(control_button button) {
    if (mpd_ == nullptr)
        return;
    // Queued: the panel never waits for the daemon; its answer comes back as now playing.
    switch (button) {
        case control_button::previous: mpd_->previous_track(); break;
        case control_button::play: mpd_->resume(); break;
        case control_button::pause: mpd_->pause(); break;
        case control_button::stop: mpd_->stop(); break;
        case control_button::next: mpd_->next_track(); break;
    }
}

void player_control_class::press(control_button button) {
    switch (view_.kind) {
        case winamp_kind:
        case nad_kind: {
            message_driver& driver = view_.kind == winamp_kind ? static_cast<message_driver&>(winamp_) : nad_;
            driver.find_window();
            switch (button) {
                case control_button::previous: driver.previous_track(); break;
                case control_button::play: driver.play(); break;
                case control_button::pause: driver.pause(); break;
                case control_button::stop: driver.stop(); break;
                case control_button::next: driver.next_track(); break;
            }
            break;
        }
        case sonique_kind:
            sonique_.set_program_path(sonique_path_);
            switch (button) {
                case control_button::previous: sonique_.previous_track(); break;
                case control_button::play: sonique_.play(); break;
                case control_button::pause: sonique_.pause(); break;
                case control_button::stop: sonique_.stop(); break;
                case control_button::next: sonique_.next_track(); break;
            }
            break;
        case bus_kind: press_bus(button); break;
        case mpd_kind: press_mpd(button); break;
        default: break;
    }
}

bool cursor_inside(int left, int top, int width, int height, int x, int y) {
    return left < x && x < left + width && top < y && y < top + height;
}

} // namespace karvo
