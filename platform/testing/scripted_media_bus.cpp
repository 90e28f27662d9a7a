// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/scripted_media_bus.h"

#include <algorithm>

namespace karvo::platform {
namespace {

const char* method_name(media_command command) {
    switch (command) {
        case media_command::play: return "Play";
        case media_command::pause: return "Pause";
        case media_command::play_pause: return "PlayPause";
        case media_command::stop: return "Stop";
        case media_command::next: return "Next";
        case media_command::previous: return "Previous";
    }
    return "?";
}

} // namespace

void scripted_media_bus::add_player(const std::string& bus_name, media_player_state state,
                                    std::vector<std::string> tracks) {
    players_[bus_name] = scripted_player{std::move(state), std::move(tracks)};
}

void scripted_media_bus::remove_player(const std::string& bus_name) {
    players_.erase(bus_name);
}

void scripted_media_bus::set_answering(const std::string& bus_name, bool answering) {
    players_.at(bus_name).answering = answering;
}

void scripted_media_bus::quit_after(const std::string& bus_name, int commands) {
    players_.at(bus_name).commands_left = commands;
}

const media_player_state* scripted_media_bus::player(const std::string& bus_name) const {
    const auto found = players_.find(bus_name);
    return found == players_.end() ? nullptr : &found->second.state;
}

std::vector<std::string> scripted_media_bus::tracks(const std::string& bus_name) const {
    const auto found = players_.find(bus_name);
    return found == players_.end() ? std::vector<std::string>{} : found->second.tracks;
}

void scripted_media_bus::emit_name(const std::string& bus_name, bool present) {
    if (names_)
        names_(bus_name, present);
}

void scripted_media_bus::emit_change(const std::string& bus_name) {
    if (changes_)
        changes_(bus_name);
}

std::vector<std::string> scripted_media_bus::player_names() {
    std::vector<std::string> names;
    for (const auto& [name, player] : players_)
        names.push_back(name);
    return names;
}

bus_reply scripted_media_bus::reach(const std::string& bus_name) const {
    const auto found = players_.find(bus_name);
    if (found == players_.end())
        return bus_reply::failed;
    return found->second.answering ? bus_reply::ok : bus_reply::no_reply;
}

std::optional<media_player_state> scripted_media_bus::state(const std::string& bus_name, bus_reply* reply) {
    const bus_reply result = reach(bus_name);
    if (reply != nullptr)
        *reply = result;
    if (result != bus_reply::ok)
        return std::nullopt;
    return players_.at(bus_name).state;
}

std::optional<std::vector<std::string>> scripted_media_bus::track_ids(const std::string& bus_name, bus_reply* reply) {
    const bus_reply result = reach(bus_name);
    if (reply != nullptr)
        *reply = result;
    if (result != bus_reply::ok || !players_.at(bus_name).state.has_track_list)
        return std::nullopt;
    return players_.at(bus_name).tracks;
}

bus_reply scripted_media_bus::take(const std::string& bus_name, const std::string& call) {
    calls_.push_back(call);
    const bus_reply result = reach(bus_name);
    if (result != bus_reply::ok)
        return result;
    scripted_player& player = players_.at(bus_name);
    if (player.commands_left > 0 && --player.commands_left == 0)
        players_.erase(bus_name);
    return bus_reply::ok;
}

bus_reply scripted_media_bus::command(const std::string& bus_name, media_command command) {
    const bus_reply result = take(bus_name, std::string(method_name(command)) + " " + bus_name);
    if (result == bus_reply::ok && players_.count(bus_name) > 0) {
        media_player_state& state = players_.at(bus_name).state;
        if (command == media_command::stop)
            state.playback_status = "Stopped";
        else if (command == media_command::play)
            state.playback_status = "Playing";
        else if (command == media_command::pause)
            state.playback_status = "Paused";
    }
    return result;
}

bus_reply scripted_media_bus::open_uri(const std::string& bus_name, const std::string& uri) {
    return take(bus_name, "OpenUri " + bus_name + " " + uri);
}

bus_reply scripted_media_bus::add_track(const std::string& bus_name, const std::string& uri,
                                        const std::string& after_track, bool set_as_current) {
    const auto found = players_.find(bus_name);
    const bool listed = found != players_.end() && found->second.answering;
    std::vector<std::string> before = listed ? found->second.tracks : std::vector<std::string>{};
    const bus_reply result =
        take(bus_name, "AddTrack " + bus_name + " " + uri + " after " +
                           (after_track.empty() ? "NoTrack" : after_track) + (set_as_current ? " current" : ""));
    if (result == bus_reply::ok && players_.count(bus_name) > 0) {
        scripted_player& player = players_.at(bus_name);
        const std::string id = "/t/" + std::to_string(player.next_track++);
        const auto after = std::find(before.begin(), before.end(), after_track);
        const auto at = after == before.end() ? 0 : (after - before.begin()) + 1;
        player.tracks.insert(player.tracks.begin() + at, id);
    }
    return result;
}

bus_reply scripted_media_bus::remove_track(const std::string& bus_name, const std::string& track) {
    const bus_reply result = take(bus_name, "RemoveTrack " + bus_name + " " + track);
    if (result == bus_reply::ok && players_.count(bus_name) > 0)
        std::erase(players_.at(bus_name).tracks, track);
    return result;
}

void scripted_media_bus::watch(name_handler names, change_handler changes) {
    names_ = std::move(names);
    changes_ = std::move(changes);
}

} // namespace karvo::platform
