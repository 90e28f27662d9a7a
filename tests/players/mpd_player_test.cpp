// SPDX-License-Identifier: GPL-3.0-or-later
// The music daemon as a player: how local paths become the daemon's names and back, and the driver against a real
// daemon over its unix socket and over TCP: play, enqueue, stop, next, volume, now playing through its idle
// events, names it refuses, and a daemon that is not there, stops answering or is killed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

#include "platform/file_system.h"
#include "players/mpd_player.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/music_daemon.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {
namespace {

TEST(mpd_mapping, local_paths_become_the_daemons_names_and_back) {
    struct mapping_case {
        std::string label;
        std::string host;
        std::string local, server;
        string_list paths;
        string_list uris, left_out;
    };
    const std::vector<mapping_case> cases = {
        {"socket: under the folder relative, elsewhere file://",
         "/run/mpd/socket",
         "/srv/music",
         "",
         {"/srv/music/a/b.mp3", "/home/u/x.ogg", "/srv/musical/c.mp3"},
         {"a/b.mp3", "file:///home/u/x.ogg", "file:///srv/musical/c.mp3"},
         {}},
        {"TCP: a sub-folder of its music directory, the rest left out",
         "nas",
         "/mnt/nas/",
         "/music/",
         {"/mnt/nas/x y#.mp3", "/home/u/x.ogg", "/mnt/nas", "http://radio/stream"},
         {"music/x y#.mp3", "http://radio/stream"},
         {"/home/u/x.ogg", "/mnt/nas"}},
        {"TCP without a mapping: only streams", "localhost", "", "", {"/srv/a.mp3"}, {}, {"/srv/a.mp3"}},
    };
    for (const mapping_case& c : cases) {
        SCOPED_TRACE(c.label);
        mpd_settings settings;
        settings.host = c.host;
        settings.local_music_dir = c.local;
        settings.server_music_dir = c.server;
        const mpd_uris mapped = map_to_mpd(settings, c.paths);
        EXPECT_EQ(mapped.uris, c.uris);
        EXPECT_EQ(mapped.left_out, c.left_out);
        for (const std::string& uri : mapped.uris) {
            if (uri.find("http") != 0) {
                EXPECT_TRUE(std::find(c.paths.begin(), c.paths.end(), local_path_of(settings, uri)) != c.paths.end())
                    << uri;
            }
        }
    }
    mpd_settings sub;
    sub.local_music_dir = "/mnt/nas";
    sub.server_music_dir = "music";
    EXPECT_EQ(local_path_of(sub, "other/a.mp3"), "");
}

// Takes the driver's events until one passes the check; the ones after it wait for the next call.
class event_reader {
public:
    explicit event_reader(mpd_player& player) : player_(player) {}

    bool wait_for(const std::function<bool(const mpd_event&)>& check, std::vector<mpd_event>* seen = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            for (mpd_event& event : player_.take_events())
                left_.push_back(std::move(event));
            while (!left_.empty()) {
                const mpd_event event = std::move(left_.front());
                left_.pop_front();
                if (seen != nullptr)
                    seen->push_back(event);
                if (check(event))
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    mpd_player& player_;
    std::deque<mpd_event> left_;
};

bool is_status(const mpd_event& event, const std::function<bool(const mpd_player_status&)>& check) {
    return event.what == mpd_event::kind::status && check(event.status);
}

class mpd_player_live : public ::testing::TestWithParam<bool> {};

TEST_P(mpd_player_live, commands_now_playing_and_a_daemon_that_goes) {
    if (!platform::file_exists(music_daemon_program))
        GTEST_SKIP() << music_daemon_program << " is not installed";
    temp_folder root;
    platform::create_directory(root.file("music"));
    const string_list names = {"a.wav", "b c#\xC3\xA9.wav", "c.wav"};
    for (const std::string& name : names)
        write_wav(root.file("music/" + name), 44100, 2, 16, 20.0);
    write_wav(root.file("outside.wav"), 44100, 2, 16, 20.0);
    music_daemon daemon(root.path());
    ASSERT_TRUE(daemon.started()) << platform::read_file(daemon.log()).value_or("");

    const bool over_socket = GetParam();
    mpd_settings settings;
    settings.host = over_socket ? daemon.socket : "127.0.0.1";
    settings.port = daemon.port;
    settings.local_music_dir = daemon.music;
    settings.timeout_ms = 1000;
    mpd_player player;
    player.configure(settings);
    player.watch(true);
    event_reader events(player);
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return is_status(e, [](auto& s) { return s.connected; }); }));

    const mpd_uris mapped = map_to_mpd(settings, {daemon.music + "/" + names[0], daemon.music + "/" + names[1]});
    player.play(mapped.uris);
    EXPECT_TRUE(events.wait_for([&](const mpd_event& e) {
        return is_status(e, [&](auto& s) { return s.state == "play" && s.song_uri == names[0]; });
    }));

    player.next_track();
    EXPECT_TRUE(events.wait_for(
        [&](const mpd_event& e) { return is_status(e, [&](auto& s) { return s.song_uri == names[1]; }); }));
    EXPECT_EQ(local_path_of(settings, player.last_status().song_uri), daemon.music + "/" + names[1]);

    // Changes to the list go after Next: the daemon may end the playing song early when its list changes.
    // A name outside its database is refused alone; the others are still added.
    std::vector<mpd_event> seen;
    player.enqueue({"missing.wav", names[2]});
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return e.what == mpd_event::kind::rejected; }, &seen));
    EXPECT_EQ(seen.back().rejected, string_list{"missing.wav"});
    EXPECT_TRUE(events.wait_for(
        [&](const mpd_event& e) { return is_status(e, [&](auto& s) { return s.queue_length == 3; }); }));

    player.set_volume(37);
    EXPECT_TRUE(
        events.wait_for([](const mpd_event& e) { return is_status(e, [](auto& s) { return s.volume == 37; }); }));
    player.stop();
    EXPECT_TRUE(
        events.wait_for([](const mpd_event& e) { return is_status(e, [](auto& s) { return s.state == "stop"; }); }));
    EXPECT_EQ(daemon.value("status", "playlistlength"), "3"); // the list is kept

    // A file outside the music folder reaches only a daemon on this machine.
    const mpd_uris outside = map_to_mpd(settings, {root.file("outside.wav")});
    EXPECT_EQ(outside.left_out.size(), over_socket ? 0u : 1u);
    if (over_socket) {
        player.enqueue(outside.uris);
        EXPECT_TRUE(events.wait_for(
            [&](const mpd_event& e) { return is_status(e, [&](auto& s) { return s.queue_length == 4; }); }));
    }

    // Frozen: the command gives up after the time-out; the caller never waits for it.
    daemon.stop_answering();
    player.stop();
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return e.what == mpd_event::kind::failed; }));
    daemon.go_on();

    // Killed while followed: told once, as a loss, not quietly.
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return is_status(e, [](auto& s) { return s.connected; }); }));
    daemon.kill();
    seen.clear();
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return e.what == mpd_event::kind::failed; }, &seen));
    EXPECT_FALSE(seen.back().quiet);
    EXPECT_FALSE(player.last_status().connected);
    player.play(mapped.uris);
    EXPECT_TRUE(events.wait_for([](const mpd_event& e) { return e.what == mpd_event::kind::failed && !e.quiet; }));
}

INSTANTIATE_TEST_SUITE_P(mpd, mpd_player_live, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "unix_socket" : "tcp"; });

} // namespace
} // namespace karvo::testing
