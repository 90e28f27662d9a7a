// SPDX-License-Identifier: GPL-3.0-or-later
// A music daemon as a player, local or on another machine, driven over its protocol. A worker thread of its own
// holds the connection, so a daemon that is slow, gone or never there cannot hold the caller: commands are queued
// and return at once, every exchange gives up after the time-out, and what the daemon reports (the playing song
// through its idle events, the volume, a failure) comes back as events that the caller takes on its own thread.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "library/string_list.h"

struct mpd_connection;

namespace karvo {
namespace platform {
class profile_document;
}

// The location that makes a player slot the music daemon (the daemon has no program on this machine to point at).
inline constexpr const char* mpd_player_location = "mpd";
bool is_mpd_location(const std::string& location);

struct mpd_settings {
    std::string host = "localhost"; // a host name or address, or the path of the daemon's unix socket
    int port = 6600;
    std::string password;
    // The same folder as this machine and the daemon name it: a local path (e.g. "/srv/music/") and a path
    // relative to the daemon's music directory ("" its root).
    std::string local_music_dir;
    std::string server_music_dir;
    int timeout_ms = 3000;

    bool operator==(const mpd_settings&) const = default;
};

// The [MPD] keys of the settings file: Host, Port, Password, LocalMusicDir, MusicDir. A port out of range reads as
// the default.
mpd_settings read_mpd_settings(const platform::profile_document& ini);
// Writes the keys in one replacement of the file; false when it could not be written.
bool write_mpd_settings(platform::profile_document& ini, const mpd_settings& settings);

// A host that names a unix socket rather than a machine.
bool is_unix_socket(const std::string& host);
// "host:port", or the socket's path, for messages.
std::string mpd_address(const mpd_settings& settings);

struct mpd_uris {
    string_list uris;     // what the daemon is sent, in order
    string_list left_out; // the paths it cannot reach: outside the mapping (and not over a local socket)
};

// Paths under the local music folder become the daemon's relative names; over a unix socket the daemon runs on
// this machine and takes any other file as a file:// address.
mpd_uris map_to_mpd(const mpd_settings& settings, const string_list& paths);
// The reverse, for now playing: the local path of a name the daemon reports, "" when it has none here.
std::string local_path_of(const mpd_settings& settings, const std::string& uri);

struct mpd_player_status {
    bool connected = false;
    std::string state; // "play", "pause" or "stop"
    int volume = -1;   // -1 when the daemon has no mixer
    int queue_length = 0;
    std::string song_uri;
    std::string title;
    std::string artist;
    std::string album;
};

struct mpd_event {
    enum class kind { status, failed, rejected };
    kind what = kind::status;
    mpd_player_status status; // status: the daemon's state after a command or an idle event
    std::string error;        // failed: what went wrong, e.g. "Connection refused"
    string_list rejected;     // rejected: names the daemon would not add (not in its database, no access)
    bool quiet = false;       // failed: only following the daemon failed, no command was lost
};

class mpd_player {
public:
    // `notify` runs on the worker thread whenever events wait to be taken; it must only hand over and return.
    explicit mpd_player(std::function<void()> notify = {});
    ~mpd_player();
    mpd_player(const mpd_player&) = delete;
    mpd_player& operator=(const mpd_player&) = delete;

    // New settings close the connection; the next command or watch opens it with them.
    void configure(const mpd_settings& settings);
    mpd_settings settings() const;
    // While on, a connection stays open and the daemon's idle events keep the status current.
    void watch(bool on);

    void play(const string_list& uris); // clear, add, play
    void enqueue(const string_list& uris);
    void stop();
    void pause(); // toggles
    void resume();
    void next_track();
    void previous_track();
    void set_volume(int percent);

    std::vector<mpd_event> take_events();
    mpd_player_status last_status() const;

private:
    enum class op { play, enqueue, stop, pause, resume, next, previous, volume };
    struct command {
        op what;
        string_list uris;
        int value = 0;
    };

    void queue(command c);
    void run();
    bool connect(std::string& error);
    void disconnect(bool tell = true);
    // Runs the commands; false when the connection failed on the way (error set).
    bool execute(const std::vector<command>& batch, std::string& error);
    bool add(const string_list& uris, string_list& rejected);
    bool read_status();
    // Waits for idle events or a wake-up; false when the connection was lost.
    bool idle();
    void post(mpd_event event);
    void wake();

    std::function<void()> notify_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    mpd_settings settings_;
    bool settings_changed_ = false;
    bool watching_ = false;
    bool quit_ = false;
    std::vector<command> pending_;
    std::vector<mpd_event> events_;
    mpd_player_status status_;
    int wake_fd_ = -1;
    // Worker-only state.
    mpd_connection* connection_ = nullptr;
    mpd_settings connected_with_;
    std::thread worker_;
};

} // namespace karvo
