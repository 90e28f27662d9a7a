// SPDX-License-Identifier: GPL-3.0-or-later
// The players panel, the play commands and the volume panel as the main window wires them: on a temporary program
// folder with the shipped resource plug-in, fake player programs, recorded program starts and a fake mixer.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <set>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome/status_pane.h"
#include "app/Main_form/stores/stores_controller.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players/players_panel.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/players/volume_panel.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "players/player_selection.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "main_window_fixture.h"
#include "platform/testing/fake_mixer.h"
#include "platform/testing/recording_program_starter.h"
#include "platform/testing/recording_window_messages.h"

namespace karvo {
namespace {

using testing::part;

using platform::message_icon;

class players_fixture : public testing::main_window_fixture {
public:
    players_fixture() {
        resource_plugin plugin;
        EXPECT_TRUE(plugin.load(KARVO_PLUGIN_DIR "/resource.krp"));
        names = plugin.player_names();
    }

    std::string location(int index) const { return folder.file("players/" + names[index]); }

    // karvo.ini with a program file for each installed player and an empty location for every other one, so the
    // programs of this machine play no part.
    void install(const std::set<int>& installed, const std::string& more = "") const {
        std::string lines = more;
        for (int i = 0; i < static_cast<int>(names.size()); ++i) {
            if (installed.count(i))
                write_file("players/" + names[i], "#!/bin/sh\n");
            lines += names[i] + "=" + (installed.count(i) ? location(i) : "") + "\r\n";
        }
        write_ini(lines);
    }

    TfrmMain& open() {
        main_environment environment{program(), program(), prompts, [this] { ++terminated; },
                                     &starter,  &windows,  &mixer};
        environment.bus = &bus;
        window = std::make_unique<TfrmMain>(std::move(environment));
        created = window->FormCreate();
        return *window;
    }

    std::string temp_list() const {
        std::ifstream in(folder.file("temp_playlist.m3u"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string quoted_temp_list() const { return "\"" + folder.file("temp_playlist.m3u") + "\""; }

    std::vector<std::string> names;
    platform::recording_program_starter starter;
    platform::recording_window_messages windows;
    platform::fake_mixer mixer{true, 40};
};

testing::song track(const std::string& path) {
    return {path, "", "", "", ""};
}

std::string text(const QLabel* label) {
    return label->text().toStdString();
}

TEST(players_panel, slot_captions_and_extra_players_come_from_the_resource_plugin) {
    players_fixture f;
    f.install({2, 6});
    TfrmMain& w = f.open();
    ASSERT_TRUE(f.created);
    ASSERT_GT(f.names.size(), 7u);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[slot]), f.names[slot]) << slot;
        EXPECT_EQ(part<players_panel>(w, "a")->accepts_files[slot], slot == 2) << slot;
    }
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[0]), "WinAMP");
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[5]), "NAD");
    ASSERT_EQ(part<players_panel>(w, "a")->cmbPlayers->count(), static_cast<int>(f.names.size()) - 6);
    EXPECT_EQ(part<players_panel>(w, "a")->cmbPlayers->itemText(0).toStdString(), f.names[6]);
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[6]), f.names[6]);
    // SelectedPlayer -1: the first slot whose program exists.
    EXPECT_EQ(w.players_area().choice().index(), 2);
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayerTop), f.names[2]);
    EXPECT_TRUE(f.prompts.questions().empty());
}

TEST(players_panel, start_up_selection_from_the_stored_index) {
    struct row {
        std::set<int> installed;
        std::string stored;
        int selected;
        std::string message; // shown instead, "" for none
    };
    const std::string missing_vlc =
        "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the location "
        "of:  VLC.";
    const std::vector<row> rows = {
        {{0, 1}, "", 0, ""},
        {{1, 4}, "SelectedPlayer=-1\r\n", 1, ""},
        {{3, 5}, "SelectedPlayer=5\r\n", 5, ""},
        {{2, 7}, "SelectedPlayer=7\r\n", 7, ""},
        {{}, "", -1, no_player_location_text},
        {{3}, "SelectedPlayer=2\r\n", -1, missing_vlc},
    };
    for (const row& r : rows) {
        players_fixture f;
        f.install(r.installed, r.stored);
        if (!r.message.empty())
            f.prompts.answer_message(platform::message_result::ok);
        TfrmMain& w = f.open();
        ASSERT_TRUE(f.created);
        EXPECT_EQ(w.players_area().choice().index(), r.selected) << r.stored;
        if (r.selected >= 0) {
            EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayerTop), f.names[r.selected]);
            EXPECT_EQ(w.players_area().choice().program(), f.location(r.selected));
        }
        if (r.selected >= 6) {
            EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[6]), f.names[r.selected]);
            EXPECT_EQ(part<players_panel>(w, "a")->cmbPlayers->currentIndex(), r.selected - 6);
        }
        if (r.message.empty()) {
            EXPECT_TRUE(f.prompts.questions().empty()) << r.stored;
        } else {
            ASSERT_EQ(f.prompts.message_texts(), std::vector<std::string>{r.message}) << r.stored;
            EXPECT_EQ(f.prompts.questions()[0].icon,
                      r.selected < 0 && r.installed.empty() ? message_icon::information : message_icon::none);
        }
    }
}

TEST(players_panel, choosing_a_player_by_label_and_by_box) {
    players_fixture f;
    f.install({0, 8});
    TfrmMain& w = f.open();
    ASSERT_EQ(w.players_area().choice().index(), 0);

    f.prompts.answer_message(platform::message_result::ok);
    QTest::mouseClick(part<players_panel>(w, "a")->lblPlayer[3], Qt::LeftButton); // mpv: no program
    EXPECT_EQ(f.prompts.message_texts(),
              std::vector<std::string>{"Karvo Media can't find this Media Player.  Please go to Prefrences->Media "
                                       "Players and specify the location of:  " +
                                       f.names[3] + "."});
    EXPECT_EQ(w.players_area().choice().index(), 0);
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayerTop), "WinAMP");

    // An extra player from the box: lblPlayer6 and the top label take its name, the index is written at once.
    w.players_area().cmbPlayersChange(2);
    EXPECT_EQ(w.players_area().choice().index(), 8);
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayer[6]), f.names[8]);
    EXPECT_EQ(text(part<players_panel>(w, "a")->lblPlayerTop), f.names[8]);
    EXPECT_NE(f.read_ini().find("SelectedPlayer=8"), std::string::npos);

    f.prompts.clear();
    w.players_area().lblPlayerClick(0);
    EXPECT_EQ(w.players_area().choice().index(), 0);
    EXPECT_TRUE(f.prompts.questions().empty());
    EXPECT_NE(f.read_ini().find("SelectedPlayer=0"), std::string::npos);
}

TEST(players_panel, play_commands_write_the_temporary_list_and_start_the_player) {
    players_fixture f;
    f.install({4});
    f.save_playlist("Mix", {track("/music/one.mp3"), track("/music/two words.flac"), track("/music/three.ogg")});
    f.save_playlist("Other", {track("/music/four.mp3")});
    TfrmMain& w = f.open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(w.players_area().choice().index(), 4);

    f.prompts.answer_message(platform::message_result::ok).answer_message(platform::message_result::ok);
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(f.prompts.message_texts(), std::vector<std::string>{"There is nothing in your playlist."});
    EXPECT_TRUE(f.starter.started().empty());

    load_playlist_into(*w.context().playlists, "Mix", w.virtual_playlist());
    w.playlist().refresh_count();
    part<QTableView>(w, "LstMusicList")->selectRow(1);
    const std::vector<std::pair<Qt::Key, std::string>> keys = {
        {Qt::Key_F7, "/music/one.mp3\r\n/music/two words.flac\r\n/music/three.ogg\r\n"},
        {Qt::Key_F6, "/music/two words.flac\r\n"},
        {Qt::Key_F10, "/music/one.mp3\r\n/music/two words.flac\r\n/music/three.ogg\r\n/music/four.mp3\r\n"},
    };
    for (const auto& [key, list] : keys) {
        f.starter.clear();
        QTest::keyClick(&w, key);
        EXPECT_EQ(f.temp_list(), list) << key;
        ASSERT_EQ(f.starter.started().size(), 1u) << key;
        EXPECT_EQ(f.starter.started()[0].file, f.location(4));
        EXPECT_EQ(f.starter.started()[0].parameters, f.quoted_temp_list());
        EXPECT_EQ(f.starter.started()[0].mode, platform::show_mode::show);
    }
    // F8 with no enqueueing player running.
    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_EQ(
        f.prompts.message_texts(),
        (std::vector<std::string>{"There is nothing in your playlist.",
                                  "This feature only works when Audacious is running and is selected."}));
    EXPECT_TRUE(f.prompts.errors().empty());

    // The play button, and Stop with a Linux player that is not running: nothing is started, the list stays.
    f.starter.clear();
    QTest::mouseClick(part<picture_button>(w, "cmdPlay"), Qt::LeftButton);
    EXPECT_EQ(f.temp_list(), "/music/one.mp3\r\n/music/two words.flac\r\n/music/three.ogg\r\n");
    QTest::mouseClick(part<picture_button>(w, "cmdStop"), Qt::LeftButton);
    EXPECT_EQ(f.temp_list(), "/music/one.mp3\r\n/music/two words.flac\r\n/music/three.ogg\r\n");
    EXPECT_EQ(f.starter.started().size(), 1u);
}

TEST(players_panel, double_click_follows_the_double_click_setting) {
    struct expected {
        int setting;
        int rows;         // playlist rows afterwards
        int selected;     // selected rows afterwards
        std::string list; // the temporary list, "" when nothing was started
    };
    const std::vector<expected> rows = {
        {0, 3, 1, "/music/two.mp3\r\n"}, // enqueue: Audacious is not running, so it starts with the entry
        {1, 3, 1, "/music/two.mp3\r\n"},
        {2, 2, 0, ""},
        {3, 3, 3, ""},
    };
    for (const expected& r : rows) {
        players_fixture f;
        f.install({4});
        f.write_file("karvo.ini", f.read_ini() + "[Advanced]\r\nDouble_Click=" + std::to_string(r.setting) + "\r\n");
        f.save_playlist("Mix", {track("/music/one.mp3"), track("/music/two.mp3"), track("/music/three.mp3")});
        TfrmMain& w = f.open();
        load_playlist_into(*w.context().playlists, "Mix", w.virtual_playlist());
        w.playlist().refresh_count();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QPoint at = part<QTableView>(w, "LstMusicList")->visualRect(w.playlist().model()->index(1, 0)).center();
        QTest::mouseClick(part<QTableView>(w, "LstMusicList")->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(part<QTableView>(w, "LstMusicList")->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(w.virtual_playlist().count(), r.rows) << r.setting;
        EXPECT_EQ(w.playlist().model()->rowCount(), r.rows) << r.setting;
        EXPECT_EQ(static_cast<int>(w.playlist().selected_positions().size()), r.selected) << r.setting;
        EXPECT_EQ(f.temp_list(), r.list) << r.setting;
        EXPECT_EQ(f.starter.started().size(), r.list.empty() ? 0u : 1u) << r.setting;
        EXPECT_EQ(w.commands().menu("mnuPlay")->defaultAction(),
                  r.setting == 0   ? w.commands().action("mnuEnqueueSelected")
                  : r.setting == 1 ? w.commands().action("mnuPlaySelected")
                                   : nullptr);
    }
}

TEST(players_panel, files_dropped_on_a_slot_label_start_that_slots_program) {
    players_fixture f;
    f.install({2, 3});
    TfrmMain& w = f.open();
    ASSERT_EQ(w.players_area().choice().index(), 2); // VLC selected; the drop goes to mpv's slot all the same
    part<players_panel>(w, "a")->resize(part<players_panel>(w, "a")->width(), players_panel::unfolded_panel_height);

    const QList<QUrl> urls = {QUrl::fromLocalFile("/music/a song.mp3"), QUrl::fromLocalFile("/music/notes.txt"),
                              QUrl(QStringLiteral("https://example.org/b.mp3")), QUrl::fromLocalFile("/music/c.FLAC")};
    QMimeData data;
    data.setUrls(urls);
    // Moves and the drop go to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(part<players_panel>(w, "a"), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(part<players_panel>(w, "a")->lblPlayer[3]->geometry().center(), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(part<players_panel>(w, "a"), &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(part<players_panel>(w, "a")->lblPlayer[3]->geometry().center()), Qt::CopyAction, &data,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(part<players_panel>(w, "a"), &drop);
    EXPECT_EQ(f.temp_list(), "/music/a song.mp3\r\n/music/c.FLAC\r\n");
    ASSERT_EQ(f.starter.started().size(), 1u);
    EXPECT_EQ(f.starter.started()[0].file, f.location(3));
    EXPECT_EQ(f.starter.started()[0].parameters, f.quoted_temp_list());

    // A slot without a program refuses the files.
    QDragMoveEvent refused(part<players_panel>(w, "a")->lblPlayer[4]->geometry().center(), Qt::CopyAction, &data,
                           Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(part<players_panel>(w, "a"), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST(players_panel, playlist_drag_popups_sit_beside_the_label) {
    players_fixture f;
    f.install({0, 2});
    TfrmMain& w = f.open();
    part<players_panel>(w, "a")->move(300, 40);
    const int label_top = 40 + part<players_panel>(w, "a")->lblPlayer[2]->y();
    ASSERT_TRUE(w.players_area().show_player_popup(2));
    EXPECT_TRUE(part<player_popup_panel>(w, "MPlayerPopup1")->isVisibleTo(part(w, "back_panel")));
    EXPECT_EQ(part<player_popup_panel>(w, "MPlayerPopup1")->geometry(), QRect(330, label_top, 70, 17));
    EXPECT_EQ(part<player_popup_panel>(w, "MPlayerPopup1")->tag, 2);
    // WinAMP running: the two-part popup, 7 pixels left of the panel.
    f.windows.add_window("Winamp v1.x");
    ASSERT_TRUE(w.players_area().show_player_popup(0));
    EXPECT_FALSE(part<player_popup_panel>(w, "MPlayerPopup1")->isVisibleTo(part(w, "back_panel")));
    EXPECT_EQ(part<player_popup_panel>(w, "MPlayerPopup2")->geometry(),
              QRect(293, 40 + part<players_panel>(w, "a")->lblPlayer[0]->y(), 150, 17));
    EXPECT_FALSE(w.players_area().show_player_popup(3));
    EXPECT_FALSE(part<player_popup_panel>(w, "MPlayerPopup2")->isVisibleTo(part(w, "back_panel")));
}

TEST(players_panel, remote_control_markers_follow_the_running_players) {
    players_fixture f;
    f.install({0}, "EnhancedWinamp=1\r\n");
    TfrmMain& w = f.open();
    const int top0 = part<players_panel>(w, "a")->lblPlayer[0]->y();
    const int top1 = part<players_panel>(w, "a")->lblPlayer[1]->y();
    w.players_area().RemoteControlTimerTimer();
    EXPECT_EQ(part<players_panel>(w, "a")->RCImage[0]->geometry().top(), top0 + 3);
    EXPECT_EQ(part<players_panel>(w, "a")->RCImage[0]->size(), QSize(7, 7));
    f.windows.add_window("Winamp v1.x");
    w.players_area().RemoteControlTimerTimer();
    EXPECT_EQ(part<players_panel>(w, "a")->RCImage[0]->geometry().top(), top0);
    EXPECT_EQ(part<players_panel>(w, "a")->RCImage[0]->size(), QSize(9, 12));
    EXPECT_EQ(part<players_panel>(w, "a")->RCImage[1]->geometry().top(), top1 + 3);
}

TEST(players_panel, bus_markers_show_on_the_labels_whose_player_is_on_the_bus) {
    players_fixture f;
    f.install({2, 3, 4, 6}); // VLC, mpv, Audacious, and SMPlayer on lblPlayer6
    TfrmMain& w = f.open();
    players_panel& a = *part<players_panel>(w, "a");
    const std::string prefix = "org.mpris.MediaPlayer2.";
    struct bus_case {
        std::vector<std::string> on_bus;
        std::array<bool, 5> remote; // labels 2-6
    };
    const bus_case cases[] = {
        {{}, {false, false, false, false, false}},
        {{"vlc", "audacious.instance4711"}, {true, false, true, false, false}},
        {{"smplayer"}, {false, false, false, false, true}},
        {{"winamp", "nad", "mpv"}, {false, true, false, false, false}}, // slot 5 is NAD, never on the bus
    };
    std::vector<std::string> present;
    for (const bus_case& c : cases) {
        SCOPED_TRACE(c.on_bus.size());
        // The names coming and going move the markers at once, without waiting for the timer.
        for (const std::string& name : present) {
            f.bus.remove_player(name);
            f.bus.emit_name(name, false);
        }
        present.clear();
        for (const std::string& name : c.on_bus) {
            present.push_back(prefix + name);
            f.bus.add_player(prefix + name, {});
            f.bus.emit_name(prefix + name, true);
        }
        for (int label = 2; label < players_panel::label_count; ++label) {
            EXPECT_EQ(a.marker_is_remote(label), c.remote[label - 2]) << label;
            EXPECT_EQ(a.RCImage[label]->y(), a.lblPlayer[label]->y() + (c.remote[label - 2] ? 0 : 3)) << label;
        }
    }
}

TEST(players_panel, passing_over_a_bus_marker_opens_the_panel_that_drives_that_player) {
    players_fixture f;
    f.install({3, 4});
    TfrmMain& w = f.open();
    TfrmPlayerControl panel;
    w.set_player_control(&panel);
    const std::string audacious = "org.mpris.MediaPlayer2.audacious";
    platform::media_player_state state;
    state.identity = "Audacious";
    state.can_play = state.can_pause = state.can_control = true;
    state.track.title = "Take Five";
    state.track.artist = "Brubeck";
    f.bus.add_player(audacious, state);

    w.players_area().RCImageMouseMove(3); // mpv is not on the bus
    EXPECT_FALSE(panel.isVisible());
    w.players_area().RCImageMouseMove(4);
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.title()->text(), "Audacious");
    const std::array<bool, control_button_count> enabled = {false, true, true, true, false};
    for (int i = 0; i < control_button_count; ++i)
        EXPECT_EQ(panel.button(static_cast<control_button>(i))->isEnabled(), enabled[i]) << i;

    QTest::mouseClick(panel.button(control_button::pause), Qt::LeftButton);
    EXPECT_EQ(f.bus.calls(), std::vector<std::string>{"Pause " + audacious});
    EXPECT_EQ(panel.status()->text(), "Paused");
    f.bus.set_answering(audacious, false);
    QTest::mouseClick(panel.button(control_button::play), Qt::LeftButton);
    EXPECT_EQ(panel.status()->text(), "Audacious did not answer.");
    panel.hide();
}

TEST(players_panel, now_playing_marks_the_row_of_the_selected_players_track) {
    players_fixture f;
    f.install({3, 4}, "SelectedPlayer=4\r\n");
    f.save_playlist("Mix", {track("/music/one.mp3"), track("/music/two words.flac"), track("/music/three.ogg")});
    TfrmMain& w = f.open();
    ASSERT_EQ(w.players_area().choice().index(), 4);
    load_playlist_into(*w.context().playlists, "Mix", w.virtual_playlist());
    w.playlist().refresh_count();
    playlist_model& model = *w.playlist().model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::string audacious = "org.mpris.MediaPlayer2.audacious";
    const std::string mpv = "org.mpris.MediaPlayer2.mpv";
    f.bus.add_player(mpv, {});
    struct change_case {
        const char* url;  // the selected player's track; nullptr: it leaves the bus
        std::string from; // whose change is signalled
        int row;
        int repaints; // only the rows that lose and gain the picture
    };
    const change_case cases[] = {
        {"file:///music/two%20words.flac", audacious, 1, 1},
        {"file:///music/three.ogg", mpv, 1, 0}, // another player's change leaves the mark
        {"file:///music/three.ogg", audacious, 2, 2},
        {"http://radio.example/stream", audacious, -1, 1},
        {"file:///music/one.mp3", audacious, 0, 1},
        {nullptr, audacious, -1, 1},
    };
    const auto picture = [&](int row) {
        return model.data(model.index(row, 0), Qt::DecorationRole).value<QIcon>().cacheKey();
    };
    qint64 playing_picture = 0;
    for (const change_case& c : cases) {
        SCOPED_TRACE(c.url ? c.url : "gone");
        QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
        if (c.url) {
            platform::media_player_state state;
            state.track.url = c.url;
            f.bus.add_player(audacious, state);
            f.bus.emit_change(c.from);
        } else {
            f.bus.remove_player(audacious);
            f.bus.emit_name(audacious, false);
        }
        EXPECT_EQ(model.playing_row(), c.row);
        EXPECT_EQ(repaints.count(), c.repaints);
        if (playing_picture == 0 && c.row >= 0)
            playing_picture = picture(c.row);
        for (int row = 0; row < model.rowCount(); ++row)
            EXPECT_EQ(picture(row) == playing_picture, row == c.row) << row;
    }
}

TEST(players_panel, folds_in_steps_reverses_and_snaps_to_the_edges) {
    players_fixture f;
    f.install({});
    f.prompts.answer_message(platform::message_result::ok);
    TfrmMain& w = f.open();
    players_panel& a = *part<players_panel>(w, "a");
    EXPECT_EQ(a.geometry(), QRect(500, 0, players_panel::panel_width, 25));
    a.fold_click();
    std::vector<int> heights;
    while (a.fold_timer()->isActive()) {
        a.fold_timer_tick();
        heights.push_back(a.height());
    }
    EXPECT_EQ(heights, (std::vector<int>{50, 75, 100, 125, 150, 160}));
    EXPECT_TRUE(a.unfolded());
    a.fold_click();
    a.fold_timer_tick();
    a.fold_timer_tick();
    a.fold_click(); // reversed half-way: unfolds again from 110
    a.fold_timer_tick();
    EXPECT_EQ(a.height(), 135);

    a.begin_drag(QPoint(20, 10));
    a.drag_to(QPoint(28, 300)); // left 8: snaps to 1
    EXPECT_EQ(a.pos(), QPoint(1, 290));
    a.drag_to(QPoint(part(w, "back_panel")->width() - 30, 15)); // right edge near the client edge, top 5
    EXPECT_EQ(a.pos(), QPoint(part(w, "back_panel")->width() - a.width() - 1, 0));
    a.end_drag();
}

TEST(players_panel, volume_bar_clamps_and_draws_the_percentage) {
    players_fixture f;
    f.install({});
    f.prompts.answer_message(platform::message_result::ok);
    TfrmMain& w = f.open();
    volume_bar& bar = *part<volume_panel>(w, "VolumePanel")->imgVolume;
    EXPECT_EQ(bar.size(), QSize(102, 10));
    EXPECT_EQ(part<volume_panel>(w, "VolumePanel")->lblVolumePercent->text(), "40%"); // the mixer's volume at start-up, not set
    EXPECT_TRUE(f.mixer.changes().empty());

    struct row {
        int x;
        int value;
    };
    for (const row& r : std::vector<row>{{52, 50}, {0, 1}, {150, 100}, {2, 1}, {102, 100}}) {
        emit bar.pressed_at(r.x);
        EXPECT_EQ(bar.value(), r.value) << r.x;
        EXPECT_EQ(part<volume_panel>(w, "VolumePanel")->lblVolumePercent->text().toStdString(), std::to_string(r.value) + "%");
        EXPECT_EQ(f.mixer.changes().back(), r.value);
        emit bar.released();
    }
    // Dragging only while pressed.
    emit bar.dragged_to(30);
    EXPECT_EQ(bar.value(), 100);
    emit bar.pressed_at(40);
    emit bar.dragged_to(22);
    EXPECT_EQ(bar.value(), 20);

    // Blue lines at odd x below the value over the off colour; the grey frame from start-up stays.
    const QImage picture = bar.picture();
    const QColor blue(0, 0, 255), off = artwork::from_bgr(0x400000), grey(128, 128, 128);
    EXPECT_EQ(picture.pixelColor(19, 5), blue);
    EXPECT_EQ(picture.pixelColor(18, 5), off);
    EXPECT_EQ(picture.pixelColor(21, 5), off);
    EXPECT_EQ(picture.pixelColor(19, 0), grey);
    EXPECT_EQ(picture.pixelColor(19, 9), grey);

    // Without a mixer: 0 % at start-up, and setting changes only the display.
    players_fixture g;
    g.install({});
    g.prompts.answer_message(platform::message_result::ok);
    g.mixer.set_has_volume(false);
    TfrmMain& v = g.open();
    EXPECT_EQ(part<volume_panel>(v, "VolumePanel")->lblVolumePercent->text(), "0%");
    v.players_area().set_volume(70);
    EXPECT_EQ(part<volume_panel>(v, "VolumePanel")->lblVolumePercent->text(), "70%");
}

TEST(players_panel, volume_panel_visibility_and_place_are_restored_and_saved) {
    players_fixture f;
    f.install({1}, "VolumeLeft=120\r\nVolumeTop=90\r\nVolumeVisible=1\r\n");
    TfrmMain& w = f.open();
    EXPECT_TRUE(part<volume_panel>(w, "VolumePanel")->isVisibleTo(part(w, "back_panel")));
    EXPECT_EQ(part<volume_panel>(w, "VolumePanel")->pos(), QPoint(120, 90));
    EXPECT_EQ(part<picture_button>(w, "cmdVolume")->current_picture(), artwork::picture::volume_on);
    w.commands().invoke("cmdVolume");
    EXPECT_FALSE(part<volume_panel>(w, "VolumePanel")->isVisibleTo(part(w, "back_panel")));
    w.ExitClick();
    EXPECT_NE(f.read_ini().find("VolumeVisible=0"), std::string::npos);
    EXPECT_NE(f.read_ini().find("VolumeLeft=120"), std::string::npos);
}

TEST(players_panel, m3u_export_then_import_gives_the_same_paths) {
    players_fixture f;
    f.install({2});
    f.save_playlist("Mix", {track("/music/one.mp3"), track("/music/dir/two.flac")});
    TfrmMain& w = f.open();
    load_playlist_into(*w.context().playlists, "Mix", w.virtual_playlist());

    const std::string file = f.folder.file("Party.m3u");
    f.prompts.answer_save_file(file).answer_open_file(file);
    w.commands().action("mnuExportM3U")->trigger();
    w.commands().action("AddM3UPlaylist")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.stores_area().importing(); }, 20000));
    ASSERT_EQ(f.prompts.questions().size(), 2u);
    EXPECT_EQ(f.prompts.questions()[0].options.title, "Save to M3U file");
    EXPECT_EQ(f.prompts.questions()[1].options.title, "Add M3U playlist");
    // The tree lists the imported playlist at once, with "My Playlists" open.
    EXPECT_NE(w.navigation().playlist_node("Party"), nullptr);
    EXPECT_TRUE(w.navigation().my_playlists()->isExpanded());
    ASSERT_TRUE(w.context().playlists->exists("Party"));
    EXPECT_EQ(full_paths_of(w.context().playlists->load("Party")), (string_list{"/music/one.mp3", "/music/dir/two.flac"}));
}

// A large import runs on a worker: the command returns at once, the count goes to the status line through the
// event loop, and Esc cancels it with nothing saved.
TEST(players_panel, a_large_import_runs_on_a_worker_and_esc_cancels_it) {
    players_fixture f;
    f.install({2});
    std::string m3u;
    for (int i = 0; i < 100000; ++i)
        m3u += "/nowhere/song" + std::to_string(i) + ".mp3\n";
    f.write_file("Huge.m3u", m3u);
    TfrmMain& w = f.open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    f.prompts.answer_open_file(f.folder.file("Huge.m3u"));
    w.commands().action("AddM3UPlaylist")->trigger();
    EXPECT_TRUE(w.stores_area().importing());
    ASSERT_TRUE(QTest::qWaitFor(
        [&w] { return part<QLabel>(w, "lblMessage")->text().contains(QStringLiteral(" of 100000 entries (Esc cancels)")); },
        20000));
    QTest::keyClick(&w, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.stores_area().importing(); }, 20000));
    EXPECT_FALSE(w.context().playlists->exists("Huge"));
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text(), QStringLiteral("The import was cancelled: nothing was saved."));
}

} // namespace
} // namespace karvo
