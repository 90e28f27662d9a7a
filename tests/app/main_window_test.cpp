// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome/chrome_controller.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/chrome/chrome_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "app/Main_form/chrome/status_pane.h"
#include "app/Main_form/navigation/tree_pane.h"
#include "main_window_fixture.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "players/player_selection.h"

namespace karvo {
namespace {

using testing::part;
using testing::main_window_fixture;

QString caption0(const TfrmMain& w) {
    return w.playlist().model()->headerData(0, Qt::Horizontal).toString();
}

std::string column_text(TfrmMain& w, int media_column) {
    std::string text;
    for (int row = 0; row < w.virtual_playlist().count(); ++row)
        text += std::string(row ? "," : "").append(w.virtual_playlist().cell(media_column, row));
    return text;
}

TEST(main_window, first_run_without_settings_file) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    // The only question a first run asks: no player program is installed in the test folder.
    EXPECT_EQ(f.prompts.message_texts(), std::vector<std::string>{no_player_location_text});
    EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->width(), 215);
    EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->height(), 195);
    EXPECT_EQ(part(w, "SpliterToolbar")->y(), 195 + 48);
    EXPECT_EQ(part(w, "pnlBottomButtons")->y(), 195 + 48);
    EXPECT_EQ(w.chrome().restore_rect(), (window_rectangle{0, 0, 736, 488}));
    EXPECT_EQ(w.geometry(), QRect(0, 0, 736, 488));
    EXPECT_FALSE(w.chrome().maximised());
    EXPECT_EQ(w.state().mode.value(), -1);
    EXPECT_EQ(w.playlist().model()->rowCount(), 0);
    EXPECT_EQ(caption0(w), "Media Names   (Total Files 0)");
    EXPECT_EQ(part<QLabel>(w, "SelectedName")->text(), "<none>");
    EXPECT_EQ(part<QLabel>(w, "lblmycomputer")->text(), "<none>");
    EXPECT_FALSE(part<QLabel>(w, "Selected_Nothing")->isHidden());
    EXPECT_TRUE(part<QLabel>(w, "Selected_Playlist")->isHidden());
    EXPECT_EQ(w.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    EXPECT_EQ(w.minimumSize(), QSize(640, 480));
    const int widths[] = {210, 90, 90, 90, 50, 56, 64, 40, 70};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(part<QTableView>(w, "LstMusicList")->horizontalHeader()->sectionSize(i), widths[i]) << i;
    EXPECT_EQ(part<QTableView>(w, "LstMusicListAll")->model()->columnCount(), 8);
    EXPECT_EQ(part<QTableView>(w, "LstMusicListAll")->horizontalHeader()->sectionSize(0), 125);
}

TEST(main_window, restores_a_saved_playlist_and_the_previous_layout) {
    main_window_fixture f;
    f.save_playlist("Evening Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Evening Mix\r\nVSplitter=180\r\nHSplitter=150\r\n"
                "ArtistColumnWidth=123\r\nMediaColumnWidth_Dir=77\r\nLastDir=" +
                f.folder.path() +
                "\r\n"
                "WindowLeft=20\r\nWindowTop=30\r\nWindowWidth=800\r\nWindowHeight=600\r\nWindowMax=1\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    EXPECT_EQ(w.playlist().model()->rowCount(), 12);
    EXPECT_EQ(caption0(w), "Media Names   (Total Files 12)");
    EXPECT_EQ(w.state().current_playlist_name, "Evening Mix");
    EXPECT_EQ(part<QLabel>(w, "SelectedName")->text(), "Evening Mix");
    EXPECT_FALSE(part<QLabel>(w, "Selected_Playlist")->isHidden());
    EXPECT_EQ(w.virtual_playlist().cell(ListName, 11), "Evening Mix");
    EXPECT_EQ(w.playlist().model()->data(w.playlist().model()->index(0, 1)).toString(), "Mingus");
    EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->width(), 180);
    EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->height(), 150);
    EXPECT_EQ(part<QTableView>(w, "LstMusicList")->horizontalHeader()->sectionSize(1), 123);
    EXPECT_EQ(part<QTableView>(w, "LstMusicListAll")->horizontalHeader()->sectionSize(0), 77);
    EXPECT_EQ(w.state().current_folder, f.folder.path());
    EXPECT_EQ(part<QLabel>(w, "lblmycomputer")->text().toStdString(), f.folder.path());
    // The window starts restored whatever WindowMax says.
    EXPECT_FALSE(w.chrome().maximised());
    EXPECT_EQ(w.geometry(), QRect(20, 30, 800, 600));
}

// A saved playlist of some megabytes is restored on a worker: the window is up first, and the list appears whole,
// and only where the user changed nothing meanwhile; a save in between never writes the empty list over the file.
TEST(main_window, a_large_saved_playlist_restores_in_the_background) {
    std::vector<testing::song> songs;
    for (int i = 0; i < 20000; ++i)
        songs.push_back({"/music/" + std::string(200, 'p') + std::to_string(i) + ".mp3", "Song " + std::to_string(i)});
    struct restore_case {
        const char* name;
        bool add_an_entry, save;
        int rows;
        std::string shown;
        bool clicked = false; // opened by a click in the tree rather than restored at start
    };
    const restore_case cases[] = {
        {"left alone", false, false, 20000, "Big"},
        {"an entry added meanwhile stays", true, false, 1, ""},
        {"a save meanwhile writes nothing", false, true, 20000, "Big"},
        {"a click in the tree loads it in the background too", false, true, 20000, "Big", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window_fixture f;
        f.save_playlist("Big", songs);
        const std::string file = f.folder.file("Playlists/Big.spl");
        const auto saved = platform::file_version_of(file);
        f.write_ini(c.clicked ? "" : "PlaylistMode=0\r\nplaylist_name=Big\r\n");
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        if (c.clicked)
            w.navigation_area().MyTreeClick(w.navigation().playlist_node("Big"));
        // The list arrives only through the event loop, so nothing of it is there yet.
        EXPECT_EQ(w.virtual_playlist().count(), 0);
        EXPECT_TRUE(w.restoring());
        if (c.add_an_entry)
            w.virtual_playlist().append(testing::media_info(songs[0]), "");
        if (c.save)
            w.commands().invoke("SavePlaylist");
        ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.restoring(); }, 120000));
        EXPECT_EQ(w.virtual_playlist().count(), c.rows);
        EXPECT_EQ(w.state().current_playlist_name, c.shown);
        EXPECT_EQ(platform::file_version_of(file), saved);
    }
}

TEST(main_window, restored_state_edge_cases) {
    struct restore_case {
        const char* name;
        std::string ini;
        int mode;
        int rows;
        int tree_height;
    };
    const std::vector<restore_case> cases = {
        {"mode 0 without a name loads nothing", "PlaylistMode=0\r\nplaylist_name=\r\n", 0, 0, 195},
        {"mode 1 without a name loads nothing", "PlaylistMode=1\r\n", 1, 0, 195},
        {"a playlist that no longer exists", "PlaylistMode=0\r\nplaylist_name=Gone\r\n", 0, 0, 195},
        {"mode 7 shows the whole playlist", "PlaylistMode=7\r\nplaylist_name=Mix\r\n", 0, 12, 195},
        {"an unknown mode means nothing", "PlaylistMode=5\r\nplaylist_name=Mix\r\n", -1, 0, 195},
        {"HSplitter 0 gives one pixel", "HSplitter=0\r\n", -1, 0, 1},
        {"garbage values", "HSplitter=abc\r\nPlaylistMode=x\r\nWindowWidth=-5\r\npls_font_size=-3\r\n", 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window_fixture f;
        f.save_playlist("Mix", testing::twelve_songs());
        f.write_ini(c.ini);
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        EXPECT_EQ(w.state().mode.value(), c.mode);
        EXPECT_EQ(w.playlist().model()->rowCount(), c.rows);
        EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->height(), c.tree_height);
        EXPECT_EQ(part(w, "SpliterToolbar")->y(), c.tree_height + 48);
        EXPECT_GE(w.width(), 640);
    }
}

TEST(main_window, exit_writes_the_shutdown_keys_in_order) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nsearch_item=0\r\nsort_item=1\r\nVolumeLeft=44\r\n"
                "MainBackColor=255\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.state().mode.show_grouping(); // a grouping of the playlist is showing
    w.set_splitters(230, 170);
    w.setGeometry(15, 25, 900, 650); // moved and resized while restored
    w.commands().action("mnuExitKarvo")->trigger();
    EXPECT_EQ(f.terminated, 1);
    EXPECT_EQ(w.state().mode.value(), 0);

    const std::vector<std::string> keys = platform::get_private_profile_keys("Settings", f.ini());
    const std::vector<std::string> shutdown = {"MediaColumnWidth",
                                               "ArtistColumnWidth",
                                               "SongColumnWidth",
                                               "AlbumColumnWidth",
                                               "GenreColumnWidth",
                                               "LengthColumnWidth",
                                               "QualityColumnWidth",
                                               "YearColumnWidth",
                                               "ListNameColumnWidth",
                                               "MediaColumnWidth_Dir",
                                               "ArtistColumnWidth_Dir",
                                               "SongColumnWidth_Dir",
                                               "AlbumColumnWidth_Dir",
                                               "GenreColumnWidth_Dir",
                                               "LengthColumnWidth_Dir",
                                               "QualityColumnWidth_Dir",
                                               "YearColumnWidth_Dir",
                                               "VSplitter",
                                               "HSplitter",
                                               "PlaylistMode",
                                               "playlist_name",
                                               "LastDir",
                                               "Tree_SavedPls_State",
                                               "Tree_MediaCD_State",
                                               "search_item",
                                               "sort_item",
                                               "VolumeLeft",
                                               "VolumeTop",
                                               "VolumeVisible",
                                               "WindowMax",
                                               "WindowLeft",
                                               "WindowTop",
                                               "WindowWidth",
                                               "WindowHeight"};
    // Keys already in the file keep their place; every other key is appended in the shutdown order.
    std::vector<std::string> appended;
    for (const auto& key : keys)
        if (key != "MainBackColor" && key != "PlaylistMode" && key != "playlist_name" && key != "search_item" &&
            key != "sort_item" && key != "VolumeLeft")
            appended.push_back(key);
    std::vector<std::string> expected;
    for (const auto& key : shutdown)
        if (key != "PlaylistMode" && key != "playlist_name" && key != "search_item" && key != "sort_item" &&
            key != "VolumeLeft")
            expected.push_back(key);
    EXPECT_EQ(appended, expected);

    auto value = [&](const char* key) { return platform::get_private_profile_string("Settings", key, "?", f.ini()); };
    EXPECT_EQ(value("PlaylistMode"), "0");
    EXPECT_EQ(value("playlist_name"), "Mix");
    EXPECT_EQ(value("search_item"), "0");
    EXPECT_EQ(value("sort_item"), "1");
    EXPECT_EQ(value("VolumeLeft"), "44");
    EXPECT_EQ(value("VSplitter"), "230");
    EXPECT_EQ(value("HSplitter"), "170");
    EXPECT_EQ(value("MainBackColor"), "255");
    EXPECT_EQ(value("WindowMax"), "0");
    EXPECT_EQ(value("WindowLeft"), "15");
    EXPECT_EQ(value("WindowTop"), "25");
    EXPECT_EQ(value("WindowWidth"), "900");
    EXPECT_EQ(value("WindowHeight"), "650");

    // The next start reopens where the window was left.
    main_window_fixture next;
    std::filesystem::copy(f.ini(), next.ini());
    next.save_playlist("Mix", testing::twelve_songs());
    TfrmMain& again = next.create();
    EXPECT_EQ(again.geometry(), QRect(15, 25, 900, 650));
    EXPECT_EQ(again.playlist().model()->rowCount(), 12);
}

TEST(main_window, maximise_toggle_keeps_the_restore_rectangle) {
    main_window_fixture f;
    f.write_ini("WindowLeft=10\r\nWindowTop=12\r\nWindowWidth=700\r\nWindowHeight=500\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    part<picture_button>(w, "ToolbarMax")->click();
    EXPECT_TRUE(w.chrome().maximised());
    EXPECT_EQ(w.geometry(), w.screen()->availableGeometry());
    EXPECT_TRUE(part<QLabel>(w, "imgResize")->isHidden());
    EXPECT_EQ(w.chrome().restore_rect(), (window_rectangle{10, 12, 700, 500}));
    w.commands().action("mnuExitKarvo")->trigger();
    EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowMax", "", f.ini()), "1");
    EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowWidth", "", f.ini()), "700");
    part<picture_button>(w, "ToolbarMax")->click();
    EXPECT_FALSE(w.chrome().maximised());
    EXPECT_EQ(w.geometry(), QRect(10, 12, 700, 500));
    EXPECT_FALSE(part<QLabel>(w, "imgResize")->isHidden());
}

TEST(main_window, start_fails_with_a_message) {
    {
        SCOPED_TRACE("no resource plug-in");
        main_window_fixture f(false);
        f.prompts.answer_message(platform::message_result::ok);
        f.create();
        EXPECT_TRUE(f.prompts.errors().empty());
        EXPECT_FALSE(f.created);
        ASSERT_EQ(f.prompts.questions().size(), 1u);
        EXPECT_EQ(f.prompts.questions()[0].text,
                  "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify "
                  "the location of:  plugins/resource.krp");
        EXPECT_EQ(f.prompts.questions()[0].caption, "Karvo Media v4.0 Beta 3.5");
    }
    {
        SCOPED_TRACE("data folder cannot be made");
        main_window_fixture f;
        f.write_file("blocker", "a file where a folder should be");
        f.prompts.answer_message(platform::message_result::ok);
        f.create(f.folder.file("blocker") + "/data/");
        EXPECT_FALSE(f.created);
        ASSERT_EQ(f.prompts.questions().size(), 1u); // not once more for the Media CDs
        EXPECT_EQ(f.prompts.questions()[0].text, "Karvo was NOT able to create the Playlists directory.");
        EXPECT_EQ(f.prompts.questions()[0].caption, "Karvo");
    }
}

TEST(main_window, header_clicks_sort_ascending_then_descending) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\n");
    TfrmMain& w = f.create();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QHeaderView* header = part<QTableView>(w, "LstMusicList")->horizontalHeader();
    auto click = [&](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    click(1); // Artist, ascending
    EXPECT_EQ(column_text(w, Artist), "Adderley,Brubeck,Coltrane,Evans,Hancock,Jarrett,Mingus,Monk,Parker,Rollins,"
                                      "Shorter,Zawinul");
    click(3); // Album, descending
    EXPECT_EQ(column_text(w, Album), "Zeta,Theta,Mu,Lambda,Kappa,Iota,Gamma,Eta,Epsilon,Delta,Beta,Alpha");
    click(7); // Year, ascending again
    EXPECT_EQ(column_text(w, Year).substr(0, 9), "1950,1951");
    EXPECT_EQ(w.playlist().model()->rowCount(), 12);
}

TEST(main_window, sort_and_randomize_buttons) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nsort_item=1\r\n[Advanced]\r\nRandomizeTimes=3\r\n");
    TfrmMain& w = f.create();
    part<picture_button>(w, "cmdSort")->click(); // by full path
    EXPECT_EQ(w.virtual_playlist().full_path(0), "/music/track10.mp3");
    EXPECT_EQ(w.virtual_playlist().full_path(11), "/music/track21.mp3");
    part<picture_button>(w, "cmdSortza")->click();
    EXPECT_EQ(w.virtual_playlist().full_path(0), "/music/track21.mp3");
    part<picture_button>(w, "cmdRandom")->click();
    std::vector<std::string> paths;
    for (int row = 0; row < 12; ++row)
        paths.emplace_back(w.virtual_playlist().full_path(row));
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::unique(paths.begin(), paths.end()), paths.end());
    EXPECT_EQ(w.playlist().model()->rowCount(), 12);

    main_window_fixture empty;
    TfrmMain& e = empty.create();
    part<picture_button>(e, "cmdSort")->click();
    part<picture_button>(e, "cmdSortza")->click();
    part<picture_button>(e, "cmdRandom")->click();
    EXPECT_EQ(caption0(e), "Media Names   (Total Files 0)");
}

TEST(main_window, move_commands_and_arrow_auto_repeat) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\n");
    TfrmMain& w = f.create();
    auto select = [&](std::initializer_list<int> rows) {
        part<QTableView>(w, "LstMusicList")->clearSelection();
        for (int row : rows)
            part<QTableView>(w, "LstMusicList")->selectionModel()->select(w.playlist().model()->index(row, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    const std::string row3(w.virtual_playlist().full_path(3));
    select({0, 3});
    w.commands().action("mnuMoveSelectedUp")->trigger();
    EXPECT_EQ(w.playlist().selected_positions(), (std::vector<int>{0, 2}));
    EXPECT_EQ(w.virtual_playlist().full_path(2), row3);
    EXPECT_EQ(part<QTableView>(w, "LstMusicList")->currentIndex().row(), 2);

    select({11});
    w.commands().action("mnuMoveSelectedDown")->trigger();
    EXPECT_EQ(w.playlist().selected_positions(), (std::vector<int>{11}));

    select({5});
    picture_button* up = part<picture_button>(w, "vp_up");
    EXPECT_TRUE(up->autoRepeat());
    EXPECT_EQ(up->autoRepeatDelay(), 500);
    EXPECT_EQ(up->autoRepeatInterval(), 1);
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_EQ(w.playlist().selected_positions(), (std::vector<int>{4}));
    EXPECT_EQ(w.playlist().kept_positions(), (std::vector<int>{4}));
    emit up->pressed(); // a repeat tick while the button stays down
    EXPECT_EQ(w.playlist().kept_positions(), (std::vector<int>{3}));
    EXPECT_EQ(w.playlist().selected_positions(), (std::vector<int>{3}));
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_TRUE(w.playlist().kept_positions().empty());

    picture_button* down = part<picture_button>(w, "vp_down");
    QTest::mousePress(down, Qt::RightButton); // either button
    EXPECT_EQ(w.playlist().selected_positions(), (std::vector<int>{4}));
    EXPECT_TRUE(down->isDown());
    QTest::mouseRelease(down, Qt::RightButton);
    EXPECT_FALSE(down->isDown());
    EXPECT_TRUE(w.playlist().kept_positions().empty());
}

TEST(main_window, status_line_hints_and_location) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(part<picture_button>(w, "cmdSort"), &enter);
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text(), "Sort in Ascending order");
    EXPECT_TRUE(part<QLabel>(w, "SelectedName")->isHidden());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(part<picture_button>(w, "cmdSort"), &leave);
    EXPECT_TRUE(part<QLabel>(w, "lblMessage")->text().isEmpty());
    EXPECT_FALSE(part<QLabel>(w, "SelectedName")->isHidden());
    EXPECT_FALSE(part<QLabel>(w, "imgMyComputer")->isHidden());
    EXPECT_EQ(part<QLabel>(w, "imgMyComputer")->x(),
              part<QLabel>(w, "SelectedName")->x() + part<QLabel>(w, "SelectedName")->width() + 5);
    EXPECT_EQ(part<QLabel>(w, "lblmycomputer")->x(),
              part<QLabel>(w, "imgMyComputer")->x() + part<QLabel>(w, "imgMyComputer")->width() + 2);

    w.chrome_area().set_current_folder(f.folder.path());
    EXPECT_EQ(platform::get_private_profile_string("Settings", "LastDir", "", f.ini()), f.folder.path());
    w.state().mode.show_all_playlists();
    w.chrome_area().show_message("busy");
    w.chrome_area().show_location();
    EXPECT_EQ(part<QLabel>(w, "SelectedName")->text(), "<Displaying All Saved Playlists>");
    EXPECT_FALSE(part<QLabel>(w, "Selected_Playlist")->isHidden());
}

TEST(main_window, language_plugin_replaces_captions_and_messages) {
    main_window_fixture f;
    std::filesystem::copy_file(KARVO_TEST_PLUGIN_DIR "/language_long.dll", f.folder.file("plugins/language.dll"));
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    EXPECT_EQ(w.commands().action("mnuMoveSelectedUp")->text(), "main 109");
    EXPECT_EQ(w.commands().action("mnuMoveSelectedDown")->text(), "main 110");
    EXPECT_EQ(w.commands().action("mnuExitKarvo")->text(), "main 111");
    EXPECT_EQ(w.commands().action("mnuExitKarvo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(w.playlist().model()->headerData(1, Qt::Horizontal).toString(), "main 114");
    EXPECT_EQ(caption0(w), "main 6   (main 7 0)");
    EXPECT_EQ(part<picture_button>(w, "cmdSort")->statusTip(), "main 23"); // message 10
    EXPECT_EQ(part<picture_button>(w, "cmdRandom")->statusTip(), "main 22");
}

TEST(main_window, painting_asks_only_for_visible_cells) {
    // The same window over 1,000 and 30,000 rows: one paint must cost the same.
    std::vector<std::size_t> calls;
    int visible_rows = 0;
    for (int rows : {1000, 30000}) {
        main_window_fixture f;
        TfrmMain& w = f.create();
        for (int i = 0; i < rows; ++i)
            w.virtual_playlist().append(
                testing::media_info({"/m/" + std::to_string(i) + ".mp3", "t", "a", "b", "1999"}), "big");
        w.playlist().refresh_count();
        w.playlist().model()->reset_data_calls();
        part<QTableView>(w, "LstMusicList")->grab();
        calls.push_back(w.playlist().model()->data_calls());
        visible_rows =
            part<QTableView>(w, "LstMusicList")->viewport()->height() / part<QTableView>(w, "LstMusicList")->verticalHeader()->defaultSectionSize() + 1;
    }
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_GT(calls[1], 0u);
    EXPECT_LE(calls[1], static_cast<std::size_t>(visible_rows) * 9 * 20);
}

TEST(main_window, names_show_as_written_in_menus_and_an_add_returns_to_the_location) {
    main_window_fixture f;
    const std::vector<std::string> names = {"Rock & Roll", "A&&B", "<i>Bold", "&Mnemonic"};
    for (const std::string& name : names)
        f.save_playlist(name, {{"/m/a.mp3", "a"}});
    f.write_file("music/one.mp3", "x");
    f.write_file("music/two.mp3", "x");
    TfrmMain& w = f.create();
    emit w.commands().menu("mnuSendTo")->aboutToShow(); // Send To lists the saved playlists
    for (const std::string& name : names) {
        const QAction* item = w.commands().action("mnuSendTo:" + name);
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->iconText().toStdString(), name); // what the menu shows, mnemonics taken out
    }

    w.chrome_area().set_current_folder(f.folder.file("music"));
    ASSERT_TRUE(testing::wait_for_listing(w));
    w.commands().invoke("mnuAdd_Directory");
    EXPECT_EQ(w.virtual_playlist().count(), 2);
    EXPECT_FALSE(w.status().message_shown());
    EXPECT_FALSE(part<QLabel>(w, "lblmycomputer")->isHidden());
}

} // namespace
} // namespace karvo
