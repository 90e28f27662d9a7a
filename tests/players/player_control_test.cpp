// SPDX-License-Identifier: GPL-3.0-or-later
// The player control panel's logic: what each button sends for each kind of player, which buttons a player on the
// session bus takes, what the panel shows of it, and when the cursor counts as inside.
#include <gtest/gtest.h>

#include "platform/testing/recording_program_starter.h"
#include "platform/testing/recording_window_messages.h"
#include "platform/testing/scripted_local_sockets.h"
#include "platform/testing/scripted_media_bus.h"
#include "players/player_control_class.h"
#include "players/player_table.h"

namespace karvo::testing {
namespace {

using platform::media_player_state;

const std::string vlc_bus = "org.mpris.MediaPlayer2.vlc";

class player_control_test : public ::testing::Test {
protected:
    player_control_test() { panel.set_bus_players({bus, starter, sockets, table, ""}); }

    platform::recording_window_messages windows;
    platform::recording_program_starter starter;
    platform::scripted_media_bus bus;
    platform::scripted_local_sockets sockets;
    player_table table;
    player_control_class panel{windows, starter};
};

TEST_F(player_control_test, each_button_reaches_the_player_of_the_panels_kind) {
    const auto winamp = windows.add_window("Winamp v1.x");
    const auto nad = windows.add_window("NadMainWindow");
    media_player_state vlc;
    vlc.identity = "VLC media player";
    vlc.can_control = true;
    bus.add_player(vlc_bus, vlc);
    struct button_case {
        int kind;
        control_button button;
        platform::window_handle window; // 0: no message
        std::uint32_t command_id;
        std::string started; // the Sonique parameters, or the bus call
    };
    const button_case cases[] = {
        {winamp_kind, control_button::previous, winamp, 40044, ""},
        {winamp_kind, control_button::pause, winamp, 40046, ""},
        {nad_kind, control_button::play, nad, 40010, ""},
        {nad_kind, control_button::stop, nad, 40011, ""},
        {nad_kind, control_button::next, nad, 40013, ""},
        {sonique_kind, control_button::pause, 0, 0, " -pause"},
        {sonique_kind, control_button::previous, 0, 0, " -seekprev"},
        {bus_kind, control_button::pause, 0, 0, "Pause " + vlc_bus},
        {bus_kind, control_button::next, 0, 0, "Next " + vlc_bus},
        {bus_kind, control_button::stop, 0, 0, "Stop " + vlc_bus},
    };
    for (const button_case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.button) + 10 * c.kind);
        panel.open(c.kind, "/opt/sonique", "/usr/bin/vlc", "VLC");
        windows.clear_record();
        starter.clear();
        bus.clear_calls();
        panel.press(c.button);
        const auto sent = windows.sent();
        if (c.window != 0) {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0].window, c.window);
            EXPECT_EQ(sent[0].command_id, c.command_id);
        } else {
            EXPECT_TRUE(sent.empty());
        }
        if (c.kind == sonique_kind) {
            ASSERT_EQ(starter.started().size(), 1u);
            EXPECT_EQ(starter.started()[0].file, "/opt/sonique");
            EXPECT_EQ(starter.started()[0].parameters, c.started);
        } else {
            EXPECT_TRUE(starter.started().empty());
        }
        EXPECT_EQ(bus.calls(), c.kind == bus_kind ? std::vector<std::string>{c.started} : std::vector<std::string>{});
    }
    // Without its path Sonique is not started.
    panel.open(sonique_kind, "");
    starter.clear();
    panel.press(control_button::play);
    EXPECT_TRUE(starter.started().empty());
}

TEST_F(player_control_test, a_bus_player_shows_its_name_track_and_the_buttons_it_takes) {
    enum class on_bus { answering, silent, absent };
    struct view_case {
        const char* name;
        on_bus how;
        bool previous, play, pause, control, next;
        std::array<bool, control_button_count> enabled;
        std::string title, song, status;
    };
    const view_case cases[] = {
        {"takes all",
         on_bus::answering,
         true,
         true,
         true,
         true,
         true,
         {true, true, true, true, true},
         "VLC media player",
         "Blue in Green",
         ""},
        {"only pauses",
         on_bus::answering,
         false,
         false,
         true,
         true,
         false,
         {false, false, true, true, false},
         "VLC media player",
         "Blue in Green",
         ""},
        {"no control",
         on_bus::answering,
         true,
         true,
         true,
         false,
         true,
         {true, true, true, false, true},
         "VLC media player",
         "Blue in Green",
         ""},
        {"does not answer",
         on_bus::silent,
         true,
         true,
         true,
         true,
         true,
         {false, false, false, false, false},
         "VLC",
         "",
         "VLC did not answer."},
        {"gone", on_bus::absent, true, true, true, true, true, {false, false, false, false, false}, "VLC", "", ""},
    };
    for (const view_case& c : cases) {
        SCOPED_TRACE(c.name);
        bus.remove_player(vlc_bus);
        if (c.how != on_bus::absent) {
            media_player_state state;
            state.identity = "VLC media player";
            state.desktop_entry = "vlc";
            state.can_go_previous = c.previous;
            state.can_play = c.play;
            state.can_pause = c.pause;
            state.can_control = c.control;
            state.can_go_next = c.next;
            state.track.title = "Blue in Green";
            state.track.artist = "Evans";
            bus.add_player(vlc_bus, state);
            bus.set_answering(vlc_bus, c.how == on_bus::answering);
        }
        panel.open(bus_kind, "", "/usr/bin/vlc", "VLC");
        EXPECT_EQ(panel.view().enabled, c.enabled);
        EXPECT_EQ(panel.view().title, c.title);
        EXPECT_EQ(panel.view().track_title, c.song);
        EXPECT_EQ(panel.view().status, c.status);
        EXPECT_EQ(panel.view().icon_name, c.how == on_bus::answering ? "vlc" : "");
    }
}

TEST_F(player_control_test, follows_its_player_and_says_when_a_command_goes_unanswered) {
    media_player_state state;
    state.identity = "VLC media player";
    state.can_pause = true;
    state.track.title = "So What";
    bus.add_player(vlc_bus, state);
    panel.open(bus_kind, "", "/usr/bin/vlc", "VLC");

    // Another player's change leaves the panel as it is; its own player's change is read again.
    state.track.title = "Freddie Freeloader";
    bus.add_player(vlc_bus, state);
    EXPECT_FALSE(panel.player_changed("org.mpris.MediaPlayer2.mpv"));
    EXPECT_EQ(panel.view().track_title, "So What");
    EXPECT_TRUE(panel.player_changed(vlc_bus + ".instance42"));
    EXPECT_EQ(panel.view().track_title, "Freddie Freeloader");

    bus.set_answering(vlc_bus, false);
    panel.press(control_button::pause);
    EXPECT_EQ(panel.view().status, "VLC media player did not answer.");
}

TEST(player_control, cursor_inside_counts_the_edges_as_outside) {
    struct point_case {
        int x, y;
        bool inside;
    };
    // The panel at (100, 50), 294 by 94.
    for (const point_case& c : {point_case{101, 51, true}, point_case{100, 60, false}, point_case{150, 50, false},
                                point_case{393, 143, true}, point_case{394, 100, false}, point_case{200, 144, false}}) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(cursor_inside(100, 50, 294, 94, c.x, c.y), c.inside);
    }
}

} // namespace
} // namespace karvo::testing
