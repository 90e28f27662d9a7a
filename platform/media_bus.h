// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop session bus as the player drivers see it: the media players that announce themselves there, what they
// report about themselves and the commands they take. Every call returns within a short time-out; without a
// session bus no player is listed and every call fails.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace karvo::platform {

// Every media player's bus name starts with this.
inline constexpr const char* media_player_name_prefix = "org.mpris.MediaPlayer2.";

// What a call came back with. `no_reply`: the name is there but did not answer in time (or has gone while the
// call ran with its owner still listed); `failed`: an error reply, or the name is gone.
enum class bus_reply { ok, no_reply, failed };

// The playing track, from the player's Metadata.
struct media_track {
    std::string track_id; // mpris:trackid, an object path
    std::string url;      // xesam:url, usually a file:// URI
    std::string title;    // xesam:title
    std::string artist;   // xesam:artist, several joined by ", "
    std::string album;    // xesam:album
};

struct media_player_state {
    std::string identity;        // the player's own name for itself
    std::string desktop_entry;   // base name of its .desktop file (also its icon name)
    std::string playback_status; // "Playing", "Paused" or "Stopped"
    bool can_control = false;
    bool can_play = false;
    bool can_pause = false;
    bool can_go_next = false;
    bool can_go_previous = false;
    bool has_track_list = false;
    media_track track;
};

enum class media_command { play, pause, play_pause, stop, next, previous };

class media_bus {
public:
    virtual ~media_bus() = default;

    // The bus names starting with media_player_name_prefix, sorted.
    virtual std::vector<std::string> player_names() = 0;

    // Reads every property above; nullopt with `reply` set when the player did not answer or is gone.
    virtual std::optional<media_player_state> state(const std::string& bus_name, bus_reply* reply = nullptr) = 0;

    virtual bus_reply command(const std::string& bus_name, media_command command) = 0;
    virtual bus_reply open_uri(const std::string& bus_name, const std::string& uri) = 0;
    // TrackList.Tracks: the ids of the player's track list in order; nullopt with `reply` set on failure.
    virtual std::optional<std::vector<std::string>> track_ids(const std::string& bus_name,
                                                              bus_reply* reply = nullptr) = 0;
    // TrackList.AddTrack after the track with that id; an empty id inserts at the start of the list.
    virtual bus_reply add_track(const std::string& bus_name, const std::string& uri, const std::string& after_track,
                                bool set_as_current) = 0;
    // TrackList.RemoveTrack of the track with that id.
    virtual bus_reply remove_track(const std::string& bus_name, const std::string& track) = 0;

    // Called on the user-interface thread: a media player name appeared (true) or went (false), or a player's
    // properties changed (read them again with state()). Replaces earlier handlers; empty handlers stop watching.
    using name_handler = std::function<void(const std::string& bus_name, bool present)>;
    using change_handler = std::function<void(const std::string& bus_name)>;
    virtual void watch(name_handler names, change_handler changes) = 0;
};

} // namespace karvo::platform
