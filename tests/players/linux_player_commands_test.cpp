// SPDX-License-Identifier: GPL-3.0-or-later
// The player commands for players that are not one of the named three, over a scripted session bus: which bus
// calls, program starts and socket lines each command makes, and what it tells the user.
#include "tests/players/playback_fixture.h"

#include <filesystem>
#include <functional>

#include "platform/testing/scripted_local_sockets.h"
#include "platform/testing/scripted_media_bus.h"
#include "players/linux_player_class.h"
#include "players/mpv_ipc.h"
#include "players/player_table.h"

namespace karvo::testing {
namespace {

using platform::media_player_state;

const std::string vlc_bus = "org.mpris.MediaPlayer2.vlc";
const std::string mpv_bus = "org.mpris.MediaPlayer2.mpv";
const std::string socket_path = "/run/karvo/mpv.sock";

enum class on_bus { with_track_list, without_track_list, not_running, not_answering };

class linux_player_commands_test : public playback_fixture {
protected:
    linux_player_commands_test() {
        read_player_table(table,
                          "[vlc]\nbus = vlc\nenqueue = --one-instance --playlist-enqueue %F\n"
                          "[mpv]\nbus = mpv\nipc = --input-ipc-server=%s --idle=yes\n",
                          "test");
        fill({"/m/a.mp3", "/m/b.mp3", "/m/d e#.ogg"});
    }

    void put_on_bus(const std::string& bus_name, on_bus how) {
        if (how == on_bus::not_running)
            return;
        media_player_state state;
        state.identity = "Player";
        state.playback_status = "Playing";
        state.has_track_list = how == on_bus::with_track_list;
        bus.add_player(bus_name, state, {"/t/9"});
        if (how == on_bus::not_answering)
            bus.set_answering(bus_name, false);
    }

    // mpv started by the program answers every request with success, after an event line.
    void mpv_listens() {
        sockets.listen(socket_path, [](const std::string& line) {
            const std::string id = line.substr(line.find("\"request_id\":") + 13);
            return std::vector<std::string>{"{\"event\":\"start-file\"}",
                                            "{\"request_id\":" + id.substr(0, id.size() - 1) +
                                                ",\"error\":\"success\"}"};
        });
    }

    platform::scripted_media_bus bus;
    platform::scripted_local_sockets sockets;
    player_table table;
    linux_player_class driver{{bus, starter, sockets, table, socket_path}};
    std::vector<std::string> status;
    playback_commands linux_commands{{selection, starter, windows, winamp, nad, sonique, prompts, messages,
                                      folder.path(), &driver,
                                      [this](const std::string& text) { status.push_back(text); }}};
};

TEST_F(linux_player_commands_test, each_command_by_how_the_player_is_on_the_bus) {
    const std::string list_arg = quoted_temp_path();
    const std::string quiet_vlc = "VLC did not answer.";
    const std::vector<int> first_and_last = {0, 2};
    struct start_call {
        std::string file, parameters;
    };
    struct command_case {
        std::string label;
        int player; // 6 VLC, 7 mpv
        on_bus how;
        std::function<void()> command;
        std::vector<std::string> calls;
        std::vector<start_call> starts;
        std::vector<std::string> socket_lines;
        std::vector<std::string> shown;
        std::vector<std::string> status;
    };
    const auto stop = [&] { linux_commands.stop(); };
    const auto enqueue_selected = [&] { linux_commands.enqueue_selected(list, first_and_last); };
    const auto enqueue_playlist = [&] { linux_commands.enqueue_playlist(list); };
    const auto double_click = [&] { linux_commands.double_click(list, first_and_last, 2, 0); };
    const auto pause = [&] {
        driver.set_program_path("/opt/VLC");
        driver.pause();
    };
    const std::string add_d = "AddTrack " + vlc_bus + " file:///m/d%20e%23.ogg after /t/9";
    const std::string add_a = "AddTrack " + vlc_bus + " file:///m/a.mp3 after /t/9";
    const std::string vlc_enqueue = "--one-instance --playlist-enqueue \"/m/a.mp3\" \"/m/d e#.ogg\"";
    const std::string loadfile_a =
        socket_path + ": {\"command\":[\"loadfile\",\"file:///m/a.mp3\",\"append\"],\"request_id\":1}";
    const std::string loadfile_d =
        socket_path + ": {\"command\":[\"loadfile\",\"file:///m/d%20e%23.ogg\",\"append\"],\"request_id\":2}";
    const std::string mpv_start = "--input-ipc-server=\"" + socket_path + "\" --idle=yes " + list_arg;
    const std::string not_reachable_mpv = "This feature only works when mpv is running and is selected.";
    const auto play = [&] { linux_commands.play(list); };

    const std::vector<command_case> cases = {
        {"stop, track list", 6, on_bus::with_track_list, stop, {"Stop " + vlc_bus}, {}, {}, {}, {}},
        {"stop, no track list", 6, on_bus::without_track_list, stop, {"Stop " + vlc_bus}, {}, {}, {}, {}},
        {"stop, not running: nothing", 6, on_bus::not_running, stop, {}, {}, {}, {}, {}},
        {"stop, not answering", 6, on_bus::not_answering, stop, {"Stop " + vlc_bus}, {}, {}, {}, {quiet_vlc}},
        {"enqueue, track list: added after the last track, last first",
         6,
         on_bus::with_track_list,
         enqueue_selected,
         {add_d, add_a},
         {},
         {},
         {},
         {}},
        {"enqueue, no track list: the enqueue switch",
         6,
         on_bus::without_track_list,
         enqueue_selected,
         {},
         {{"/opt/VLC", vlc_enqueue}},
         {},
         {},
         {}},
        {"enqueue, not running: the switch starts it",
         6,
         on_bus::not_running,
         enqueue_selected,
         {},
         {{"/opt/VLC", vlc_enqueue}},
         {},
         {},
         {}},
        {"enqueue, not answering", 6, on_bus::not_answering, enqueue_selected, {}, {}, {}, {}, {quiet_vlc}},
        {"enqueue playlist, track list",
         6,
         on_bus::with_track_list,
         enqueue_playlist,
         {add_d, "AddTrack " + vlc_bus + " file:///m/b.mp3 after /t/9", add_a},
         {},
         {},
         {},
         {}},
        {"double click, track list", 6, on_bus::with_track_list, double_click, {add_d}, {}, {}, {}, {}},
        {"play, track list: the new list through it, its first track playing, the old track removed",
         6,
         on_bus::with_track_list,
         play,
         {add_d, "AddTrack " + vlc_bus + " file:///m/b.mp3 after /t/9", add_a + " current",
          "RemoveTrack " + vlc_bus + " /t/9", "Play " + vlc_bus},
         {},
         {},
         {},
         {}},
        {"play, no track list: started with the list", 6, on_bus::without_track_list, play, {},
         {{"/opt/VLC", list_arg}}, {}, {}, {}},
        {"play, not answering", 6, on_bus::not_answering, play, {}, {}, {}, {}, {quiet_vlc}},
        {"double click, not answering", 6, on_bus::not_answering, double_click, {}, {}, {}, {}, {quiet_vlc}},
        {"pause, running", 6, on_bus::without_track_list, pause, {"Pause " + vlc_bus}, {}, {}, {}, {}},
        {"pause, not running and no switch", 6, on_bus::not_running, pause, {}, {}, {}, {}, {}},
        {"mpv enqueue, no track list: its socket",
         7,
         on_bus::without_track_list,
         enqueue_selected,
         {},
         {},
         {loadfile_a, loadfile_d},
         {},
         {}},
        {"mpv enqueue, not on the bus but its socket listens",
         7,
         on_bus::not_running,
         enqueue_selected,
         {},
         {},
         {loadfile_a, loadfile_d},
         {},
         {}},
        {"mpv enqueue without a socket, running",
         7,
         on_bus::without_track_list,
         enqueue_playlist,
         {},
         {},
         {},
         {not_reachable_mpv},
         {}},
        {"mpv enqueue without a socket, not running",
         7,
         on_bus::not_running,
         enqueue_selected,
         {},
         {},
         {},
         {not_reachable_mpv},
         {}},
        {"mpv play, its socket listens: the list replaced, no second instance",
         7,
         on_bus::without_track_list,
         play,
         {},
         {},
         {socket_path + ": {\"command\":[\"loadlist\"," + json_string(folder.file("temp_playlist.m3u")) +
              ",\"replace\"],\"request_id\":1}",
          socket_path + ": {\"command\":[\"set\",\"pause\",\"no\"],\"request_id\":2}"},
         {},
         {}},
        {"mpv stop, its socket listens: stopped there, the list kept",
         7,
         on_bus::without_track_list,
         stop,
         {},
         {},
         {socket_path + ": {\"command\":[\"stop\",\"keep-playlist\"],\"request_id\":1}"},
         {},
         {}},
        {"mpv stop, not running: nothing", 7, on_bus::not_running, stop, {}, {}, {}, {}, {}},
        {"mpv double click, not running: played, started with its socket",
         7,
         on_bus::not_running,
         double_click,
         {},
         {{"/opt/mpv", mpv_start}},
         {},
         {},
         {}},
    };
    for (const command_case& c : cases) {
        SCOPED_TRACE(c.label);
        select(c.player);
        const std::string& bus_name = c.player == 6 ? vlc_bus : mpv_bus;
        bus.remove_player(bus_name);
        put_on_bus(bus_name, c.how);
        const bool socket = c.player == 7 && !c.socket_lines.empty();
        if (socket)
            mpv_listens();
        bus.clear_calls();
        sockets.clear();
        starter.clear();
        prompts.clear();
        status.clear();
        for (std::size_t i = 0; i < c.shown.size(); ++i)
            prompts.answer_message(platform::message_result::ok);
        c.command();
        EXPECT_EQ(bus.calls(), c.calls);
        const auto started = starter.started();
        ASSERT_EQ(started.size(), c.starts.size());
        for (std::size_t i = 0; i < started.size(); ++i) {
            EXPECT_EQ(started[i].file, c.starts[i].file);
            EXPECT_EQ(started[i].parameters, c.starts[i].parameters);
        }
        EXPECT_EQ(sockets.written(), c.socket_lines);
        EXPECT_EQ(prompts.message_texts(), c.shown);
        EXPECT_EQ(status, c.status);
        sockets.close(socket_path);
    }
}

TEST_F(linux_player_commands_test, a_temporary_list_that_cannot_be_written_starts_no_player) {
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("temp_playlist.m3u")));
    const std::string reported = "Karvo Media could not write the temporary playlist " +
                                 folder.file("temp_playlist.m3u") + ", so no player was started.";
    for (int player : {0, 6, 7}) {
        select(player);
        prompts.answer_message(platform::message_result::ok);
        (player == 0 ? commands : linux_commands).play(list);
    }
    EXPECT_TRUE(starter.started().empty());
    EXPECT_EQ(prompts.message_texts(), std::vector<std::string>(3, reported));
}

TEST_F(linux_player_commands_test, instances_and_players_that_go_away) {
    select(6);
    media_player_state state;
    state.has_track_list = true;
    // Two instances: Stop reaches both, other commands the plain name.
    bus.add_player(vlc_bus + ".instance123", state);
    bus.add_player(vlc_bus, state);
    bus.add_player("org.mpris.MediaPlayer2.vlcx", state);
    linux_commands.stop();
    EXPECT_EQ(bus.calls(), (std::vector<std::string>{"Stop " + vlc_bus, "Stop " + vlc_bus + ".instance123"}));
    bus.clear_calls();
    driver.set_program_path("/opt/VLC");
    driver.next_track();
    EXPECT_EQ(bus.calls(), std::vector<std::string>{"Next " + vlc_bus});

    // The player quits after the first track: the rest is not sent and the user hears it is not running.
    bus.remove_player(vlc_bus + ".instance123");
    bus.quit_after(vlc_bus, 1);
    bus.clear_calls();
    prompts.answer_message(platform::message_result::ok);
    linux_commands.enqueue_playlist(list);
    EXPECT_EQ(bus.calls().size(), 2u);
    EXPECT_EQ(prompts.message_texts(),
              std::vector<std::string>{"This feature only works when VLC is running and is selected."});
    EXPECT_EQ(bus.player(vlc_bus), nullptr);
}

TEST_F(linux_player_commands_test, markers_and_the_panel_follow_the_bus) {
    install({2, 6});
    selection.lists.locations[2] = "/usr/bin/vlc";
    bus.add_player(vlc_bus + ".instance7", media_player_state{});
    struct marker_case {
        int index;
        bool shown;
    };
    for (const marker_case& c :
         {marker_case{2, true}, marker_case{6, true}, marker_case{7, false}, marker_case{0, false}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(linux_commands.bus_player_marker(c.index, 40).remote_picture, c.shown);
        const auto opening = linux_commands.bus_player_hover(c.index, 100, 50, 30, 20);
        ASSERT_EQ(opening.has_value(), c.shown);
        if (c.shown) {
            EXPECT_EQ(opening->player_kind, bus_player_kind);
            EXPECT_EQ(opening->program, selection.location(c.index));
            EXPECT_EQ(opening->left, 85);
        }
    }
    // Slot 0 is WinAMP even though it, too, could be a program called vlc.
    selection.lists.locations[0] = "/usr/bin/vlc";
    EXPECT_FALSE(linux_commands.bus_player_marker(0, 40).remote_picture);
}

} // namespace
} // namespace karvo::testing
