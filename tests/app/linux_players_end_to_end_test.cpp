// SPDX-License-Identifier: GPL-3.0-or-later
// The player commands against real players on a private session bus: Play starts the player with the list and a
// second Play hands the new list to that one instance, Stop keeps the player and its list, Enqueue Selected and the
// auto playlister's enqueue add to the running instance, Pause reaches it, and a frozen player is reported as not
// answering instead of hanging the program. A player that is not installed is skipped.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/qt_platform/qt_media_bus.h"
#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/string_list.h"
#include "platform/file_system.h"
#include "platform/local_sockets.h"
#include "platform/program_starter.h"
#include "platform/testing/scripted_prompts.h"
#include "platform/window_messages.h"
#include "players/mpd_player.h"
#include "players/nad_class.h"
#include "players/player_control_class.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/player_table.h"
#include "players/sonique_class.h"
#include "players/winamp_class.h"
#include "tests/app/main_window_fixture.h"
#include "app/Main_form/players/players_controller.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/music_daemon.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {
namespace {

// Polls until the check holds; generous, as the machine may be busy.
bool eventually(const std::function<bool()>& check) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        if (check())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            out += buffer;
        ::pclose(pipe);
    }
    return out;
}

// A bus daemon of our own, so the user's players are never touched; it ends with the test.
class private_bus {
public:
    private_bus() {
        if (const char* old = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            old_address_ = old;
        const string_list lines =
            split_lines(output_of("dbus-daemon --session --fork --print-address=1 --print-pid=1"));
        if (lines.size() < 2)
            return;
        address = lines[0];
        pid_ = std::atoi(lines[1].c_str());
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    }
    ~private_bus() {
        if (pid_ > 0)
            ::kill(pid_, SIGTERM);
        if (old_address_.empty())
            ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        else
            ::setenv("DBUS_SESSION_BUS_ADDRESS", old_address_.c_str(), 1);
    }
    std::string address;

private:
    std::string old_address_;
    int pid_ = 0;
};

// A property of the mpv listening at the socket, as its JSON text ("" when it does not answer).
std::string mpv_property(const std::string& socket, const std::string& name) {
    const auto connection = platform::system_local_sockets().connect(socket);
    if (!connection || !connection->write("{\"command\":[\"get_property\",\"" + name + "\"],\"request_id\":7}\n"))
        return "";
    while (const auto line = connection->read_line()) {
        const std::size_t data = line->find("\"data\":");
        if (line->find("\"request_id\":7") != std::string::npos && data != std::string::npos)
            return line->substr(data + 7, line->find_first_of(",}", data + 7) - data - 7);
    }
    return "";
}

struct player_under_test {
    std::string name;     // the player's name in the player lists
    std::string program;  // the installed program the wrapper runs
    std::string needs;    // another file it needs, or ""
    std::string switches; // what the wrapper adds for a machine without sound or screen
    std::string bus_name;
};

class linux_players_end_to_end : public ::testing::TestWithParam<player_under_test> {};

TEST_P(linux_players_end_to_end, play_enqueue_pause_stop_and_a_frozen_player) {
    const player_under_test& p = GetParam();
    for (const std::string& file : {p.program, p.needs, std::string("/usr/bin/dbus-daemon")})
        if (!file.empty() && !platform::file_exists(file))
            GTEST_SKIP() << file << " is not installed; " << p.name << " is not tested";
    if (p.name == "VLC" && ::geteuid() == 0)
        GTEST_SKIP() << "VLC refuses to run as root; run this test as another user";
    private_bus bus_daemon;
    ASSERT_FALSE(bus_daemon.address.empty());
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromStdString(bus_daemon.address),
                                                               QString::fromStdString("e2e " + p.name));
    ASSERT_TRUE(connection.isConnected());

    temp_folder root;
    const std::string pids = root.file("pids");
    const std::string program = root.file(platform::file_name_of(p.program)); // the table knows it by this name
    ASSERT_TRUE(platform::write_file_atomic(program, "#!/bin/sh\necho $$ >> '" + pids + "'\nXDG_CONFIG_HOME='" +
                                                         root.path() + "' exec " + p.program + " " + p.switches +
                                                         " \"$@\"\n"));
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    const std::string socket = root.file("ipc.sock");
    media_list list;
    for (const std::string name : {"a.wav", "b.wav", "c d#\xC3\xA9.wav"}) {
        write_wav(root.file(name), 8000, 1, 8, 30.0);
        media_fields fields;
        fields[0] = root.file(name);
        list.append(make_media_info(fields), "List");
    }

    std::vector<std::string> messages(66);
    platform::scripted_prompts prompts;
    platform::program_starter& starter = platform::system_program_starter();
    platform::window_messages& windows = platform::system_window_messages();
    winamp_class winamp(windows, starter);
    nad_class nad(windows, starter);
    sonique_class sonique(windows, starter);
    player_selection selection(prompts, messages, "", platform::file_exists);
    selection.lists.names = {"WinAMP", "Sonique", "Player 2", "Player 3", "Player 4", "NAD", p.name};
    selection.lists.locations = {"", "", "", "", "", "", program};
    selection.names_changed();
    selection.select_at_startup(6);
    const player_table table = load_player_table(KARVO_SOURCE_DIR "/app/resources", root.path());
    qt_media_bus bus(connection);
    linux_player_class driver({bus, starter, platform::system_local_sockets(), table, socket});
    std::vector<std::string> status;
    playback_commands commands({selection, starter, windows, winamp, nad, sonique, prompts, messages, root.path(),
                                &driver, [&](const std::string& text) { status.push_back(text); }});
    const auto playlist_length = [&] {
        if (p.name == "mpv")
            return std::atoi(mpv_property(socket, "playlist-count").c_str());
        if (p.name == "VLC") // its track list on the bus: one object path per entry
            return std::atoi(output_of("dbus-send --session --print-reply --dest=" + p.bus_name +
                                       " /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get "
                                       "string:org.mpris.MediaPlayer2.TrackList string:Tracks 2>/dev/null | "
                                       "grep -c 'object path'")
                                 .c_str());
        return std::atoi(output_of("audtool --playlist-length 2>/dev/null").c_str());
    };
    const auto playback_status = [&] {
        const auto state = bus.state(p.bus_name, nullptr);
        return state ? state->playback_status : std::string("<gone>");
    };
    const auto player_pids = [&] { return split_lines(platform::read_file(pids).value_or("")); };

    const auto instances = [&] {
        int count = 0;
        for (const std::string& name : bus.player_names())
            count += name.starts_with(p.bus_name) ? 1 : 0;
        return count;
    };
    const auto running = [&] {
        const string_list started = player_pids();
        return !started.empty() && ::kill(std::atoi(started.front().c_str()), 0) == 0;
    };

    commands.play_selected(list, std::vector<int>{0, 1});
    EXPECT_TRUE(eventually([&] { return playback_status() == "Playing"; })) << playback_status();
    EXPECT_TRUE(eventually([&] { return playlist_length() == 2; })) << playlist_length();

    // VLC's bus lists its tracks as of the last track change, and its enqueue switch runs a second VLC that hands
    // the files over and ends: its count is read once, after those have ended and a Play has changed the track.
    const bool listed_late = p.name == "VLC";

    // F7 while it plays: the same instance takes the whole list in place of its own.
    commands.play(list);
    if (!listed_late) {
        EXPECT_TRUE(eventually([&] { return playlist_length() == 3; })) << playlist_length();
    }
    EXPECT_EQ(instances(), 1);

    // Stop keeps the player and its list; Enqueue Selected (F8) and the auto playlister's enqueue still add to it.
    commands.stop();
    EXPECT_TRUE(eventually([&] { return playback_status() == "Stopped"; })) << playback_status();
    EXPECT_TRUE(running());
    if (!listed_late) {
        EXPECT_EQ(playlist_length(), 3);
    }
    commands.enqueue_selected(list, std::vector<int>{2});
    if (!listed_late) {
        EXPECT_TRUE(eventually([&] { return playlist_length() == 4; })) << playlist_length();
    }
    write_wav(root.file("new.wav"), 8000, 1, 8, 30.0);
    commands.enqueue_quietly({root.file("new.wav")});
    if (listed_late) {
        EXPECT_TRUE(eventually([&] {
            const string_list started = player_pids();
            return std::all_of(started.begin() + 1, started.end(),
                               [](const std::string& pid) { return ::kill(std::atoi(pid.c_str()), 0) != 0; });
        }));
        bus.command(p.bus_name, platform::media_command::play);
    }
    EXPECT_TRUE(eventually([&] { return playlist_length() == 5; })) << playlist_length();
    EXPECT_TRUE(prompts.message_texts().empty());
    EXPECT_EQ(instances(), 1);

    // Played again after the Stop. mpv's bus plug-in keeps saying "Stopped" once mpv has been idle, so mpv is asked
    // itself.
    const auto now_is = [&](const std::string& state) {
        if (p.name != "mpv")
            return playback_status() == state;
        return mpv_property(socket, "idle-active") == "false" &&
               mpv_property(socket, "pause") == (state == "Paused" ? "true" : "false");
    };
    commands.play(list);
    EXPECT_TRUE(eventually([&] { return now_is("Playing"); })) << playback_status();
    driver.set_program_path(program);
    EXPECT_EQ(driver.pause(), command_outcome::done);
    EXPECT_TRUE(eventually([&] { return now_is("Paused"); })) << playback_status();

    // A frozen player: the command gives up after its time-out and the status line says so.
    const std::vector<std::string> started = player_pids();
    ASSERT_FALSE(started.empty());
    const int first_pid = std::atoi(started.front().c_str());
    ::kill(first_pid, SIGSTOP);
    commands.stop();
    ::kill(first_pid, SIGCONT);
    EXPECT_EQ(status, std::vector<std::string>{p.name + " did not answer."});

    commands.stop();
    EXPECT_TRUE(eventually([&] {
        const std::string now = playback_status();
        return now == "Stopped" || now == "<gone>";
    })) << playback_status();

    for (const std::string& pid : player_pids())
        ::kill(std::atoi(pid.c_str()), SIGKILL);
    QDBusConnection::disconnectFromBus(connection.name());
}

INSTANTIATE_TEST_SUITE_P(
    players, linux_players_end_to_end,
    ::testing::Values(player_under_test{"mpv", "/usr/bin/mpv", "/etc/mpv/scripts/mpris.so",
                                        "--no-config --script=/etc/mpv/scripts/mpris.so --ao=null --vo=null "
                                        "--no-terminal",
                                        "org.mpris.MediaPlayer2.mpv"},
                      player_under_test{"Audacious", "/usr/bin/audacious", "/usr/bin/audtool", "-H",
                                        "org.mpris.MediaPlayer2.audacious"},
                      player_under_test{"VLC", "/usr/bin/vlc", "/usr/bin/dbus-send",
                                        "-I dummy --aout=dummy --vout=dummy --no-video-title-show",
                                        "org.mpris.MediaPlayer2.vlc"}),
    [](const ::testing::TestParamInfo<player_under_test>& param) {
        return std::string(param.index == 0 ? "mpv" : param.index == 1 ? "audacious" : "vlc");
    });

} // namespace
} // namespace karvo::testing

namespace karvo::testing {
namespace {

// The window with MPD selected against a real daemon on 127.0.0.1: F7 plays the entries under the music folder and
// reports the one outside it, F9 adds, the volume bar and Stop reach the daemon, the playlist marks the song it
// plays, Next from the control panel; a killed daemon is reported while the window goes on handling events.
TEST(mpd_end_to_end, the_window_drives_a_real_daemon_and_outlives_it) {
    if (!platform::file_exists(music_daemon_program))
        GTEST_SKIP() << music_daemon_program << " is not installed";
    temp_folder root;
    platform::create_directory(root.file("music"));
    const string_list names = {"a.wav", "b c#\xC3\xA9.wav"};
    for (const std::string& name : names)
        write_wav(root.file("music/" + name), 44100, 2, 16, 20.0);
    write_wav(root.file("outside.wav"), 44100, 2, 16, 20.0);
    music_daemon daemon(root.path());
    ASSERT_TRUE(daemon.started()) << platform::read_file(daemon.log()).value_or("");

    main_window_fixture f;
    f.save_playlist("Mix", {{daemon.music + "/" + names[0], "A"},
                            {daemon.music + "/" + names[1], "B"},
                            {root.file("outside.wav"), "Out"}});
    f.write_file("karvo.ini", "[Settings]\r\nPlaylistMode=0\r\nplaylist_name=Mix\r\nMPD=mpd\r\nSelectedPlayer=13\r\n"
                              "[MPD]\r\nHost=127.0.0.1\r\nPort=" +
                                  std::to_string(daemon.port) + "\r\nLocalMusicDir=" + daemon.music + "/\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    ASSERT_EQ(w.players_area().choice().name(), "MPD");
    ASSERT_EQ(w.virtual_playlist().count(), 3);
    const auto daemon_says = [&](const std::string& key, const std::string& value) {
        return QTest::qWaitFor([&] { return daemon.value("status", key) == value; }, 10000);
    };
    const std::string left_out =
        "1 entries were left out: they lie outside the music folder that MPD knows.\n  " + root.file("outside.wav");

    f.prompts.answer_message(platform::message_result::ok);
    w.commands().action("mnuPlayCurrentPlaylist")->trigger();
    EXPECT_EQ(f.prompts.message_texts(), string_list{left_out});
    EXPECT_TRUE(daemon_says("state", "play"));
    EXPECT_EQ(daemon.value("status", "playlistlength"), "2");
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.playlist().model()->playing_row() == 0; }, 10000));

    f.prompts.answer_message(platform::message_result::ok);
    w.commands().action("mnuEnqueuePlaylist")->trigger();
    EXPECT_TRUE(daemon_says("playlistlength", "4"));
    EXPECT_EQ(f.prompts.message_texts(), string_list(2, left_out));

    player_control_class panel(platform::system_window_messages(), platform::system_program_starter());
    panel.set_mpd(w.players_area().music_daemon());
    panel.open(mpd_player_kind, "", "mpd", "MPD");
    panel.press(control_button::next);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.playlist().model()->playing_row() == 1; }, 10000));
    panel.refresh();
    EXPECT_EQ(panel.view().playback_status, "Playing");

    w.players_area().set_volume(40);
    EXPECT_TRUE(daemon_says("volume", "40"));
    w.commands().action("cmdStop")->trigger();
    EXPECT_TRUE(daemon_says("state", "stop"));
    EXPECT_EQ(daemon.value("status", "playlistlength"), "4");

    // Killed: the window says so, and keeps handling events while the daemon is gone.
    daemon.kill();
    f.prompts.answer_message(platform::message_result::ok);
    f.prompts.answer_message(platform::message_result::ok);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.prompts.message_texts().size() == 3; }, 10000));
    w.commands().action("cmdStop")->trigger();
    bool handled = false;
    QTimer::singleShot(0, &w, [&] { handled = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled && f.prompts.message_texts().size() == 4; }, 10000));
    for (std::size_t i = 2; i < f.prompts.message_texts().size(); ++i)
        EXPECT_TRUE(f.prompts.message_texts()[i].starts_with("MPD could not be reached: "))
            << f.prompts.message_texts()[i];
}

} // namespace
} // namespace karvo::testing
