// SPDX-License-Identifier: GPL-3.0-or-later
// The session bus for tests: players put on it by the test, each answering or silent, and a record of every
// command sent, written as "Method bus.name [arguments]".
#pragma once

#include "platform/media_bus.h"

#include <map>

namespace karvo::platform {

class scripted_media_bus final : public media_bus {
public:
    // Puts a player on the bus (or replaces it); an answering player takes every command.
    void add_player(const std::string& bus_name, media_player_state state, std::vector<std::string> tracks = {});
    void remove_player(const std::string& bus_name);
    // A silent player stays listed, but every call to it times out.
    void set_answering(const std::string& bus_name, bool answering);
    // The player leaves the bus after taking this many more commands.
    void quit_after(const std::string& bus_name, int commands);
    const media_player_state* player(const std::string& bus_name) const;
    std::vector<std::string> tracks(const std::string& bus_name) const;

    const std::vector<std::string>& calls() const { return calls_; }
    void clear_calls() { calls_.clear(); }

    // Runs the handlers given to watch(), as the bus would.
    void emit_name(const std::string& bus_name, bool present);
    void emit_change(const std::string& bus_name);

    std::vector<std::string> player_names() override;
    std::optional<media_player_state> state(const std::string& bus_name, bus_reply* reply) override;
    std::optional<std::vector<std::string>> track_ids(const std::string& bus_name, bus_reply* reply) override;
    bus_reply command(const std::string& bus_name, media_command command) override;
    bus_reply open_uri(const std::string& bus_name, const std::string& uri) override;
    bus_reply add_track(const std::string& bus_name, const std::string& uri, const std::string& after_track,
                        bool set_as_current) override;
    bus_reply remove_track(const std::string& bus_name, const std::string& track) override;
    void watch(name_handler names, change_handler changes) override;

private:
    struct scripted_player {
        media_player_state state;
        std::vector<std::string> tracks;
        bool answering = true;
        int commands_left = -1; // -1: stays
        int next_track = 1;
    };
    // Records the call and says how the player takes it; the player may leave the bus afterwards.
    bus_reply take(const std::string& bus_name, const std::string& call);
    bus_reply reach(const std::string& bus_name) const;

    std::map<std::string, scripted_player> players_;
    std::vector<std::string> calls_;
    name_handler names_;
    change_handler changes_;
};

} // namespace karvo::platform
