// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "app/Main_form/navigation/folder_listing_model.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/chrome/status_pane.h"
#include "library/string_list.h"
#include "tests/app/tree_window_fixture.h"

namespace karvo {
namespace {

using testing::part;
using testing::tree_window_fixture;

std::vector<std::string> recorded_fill(TfrmMain& w, const std::string& folder) {
    std::vector<std::string> texts;
    const auto connection = QObject::connect(&w.status(), &status_pane::message_set,
                                             [&texts](const QString& text) { texts.push_back(text.toStdString()); });
    w.navigation_area().LstMusicListAllFill(folder);
    EXPECT_TRUE(testing::wait_for_listing(w));
    QObject::disconnect(connection);
    return texts;
}

TEST(Listing, TwelveFilesGiveTwelveProgressLinesThenTheCount) {
    tree_window_fixture f;
    const std::string folder = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(folder, 12);
    std::ofstream(folder + "notes.txt") << "not media";
    TfrmMain& w = f.create_with();

    const std::vector<std::string> texts = recorded_fill(w, folder);
    ASSERT_EQ(texts.size(), 13u);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(texts[n - 1], "Reading File Information for: track" + std::string(n < 10 ? "0" : "") +
                                    std::to_string(n) + ".mp3 (" + std::to_string(n) + " of 12)");
    EXPECT_EQ(texts[12], "There are 12 media files in the current folder.");
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(), texts[12]);
    EXPECT_EQ(w.listing().model()->rowCount(), 12);

    // An empty folder still reports its count.
    testing::fixture_folder empty;
    EXPECT_EQ(recorded_fill(w, empty.path() + "/"),
              (std::vector<std::string>{"There are 0 media files in the current folder."}));
    EXPECT_EQ(w.listing().model()->rowCount(), 0);
}

// A resource plug-in that never returns for one file leaves the window working: the listing ends with the file
// listed by its path and the status line says so; Exit still saves the settings.
TEST(Listing, APluginThatNeverReturnsLeavesTheWindowWorking) {
    testing::main_window_fixture f(false);
    std::filesystem::create_symlink(KARVO_TEST_PLUGIN_DIR "/hostile.krp", f.folder.file("plugins/resource.krp"));
    f.media_read_limit = std::chrono::milliseconds(300);
    for (const char* name : {"music/a.mp3", "music/hang.mp3", "music/z.mp3"})
        f.write_file(name, "x");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    const std::vector<std::string> texts = recorded_fill(w, f.folder.file("music/"));
    ASSERT_EQ(w.listing().model()->rowCount(), 3);
    EXPECT_EQ(w.listing().model()->index(1, 0).data().toString(), QStringLiteral("hang.mp3"));
    // The plug-in takes one call at a time and one is still running: the files after it are listed by path too.
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(),
              "2 files are listed by path only: the media information did not come in time.");
    EXPECT_TRUE(w.context().resource.has_stuck_reads());
    // A file handed over by a second start is reported the same way.
    w.playlist_area().open_files({f.folder.file("music/z.mp3")});
    EXPECT_EQ(w.virtual_playlist().count(), 1);
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(),
              "1 file is listed by path only: the media information did not come in time.");
    w.ExitClick();
    EXPECT_EQ(f.terminated, 1);
    EXPECT_NE(f.read_ini().find("WindowWidth="), std::string::npos);
}

// The first line of a scan is painted, then one line per 16 ms of the clock, and the last line always.
TEST(Listing, ProgressRepaintsFollowTheClock) {
    struct clock_case {
        int step_ms;  // the clock's advance per progress line
        int repaints; // of the 13 lines of twelve files and the count
    } cases[] = {{0, 2}, {8, 7}, {16, 13}, {40, 13}};
    tree_window_fixture f;
    const std::string folder = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(folder, 12);
    TfrmMain& w = f.create_with();
    for (const clock_case& c : cases) {
        SCOPED_TRACE(c.step_ms);
        auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
        w.status().set_clock([&now, &c] {
            const auto at = now;
            now += std::chrono::milliseconds(c.step_ms);
            return at;
        });
        const int before = w.status().progress_repaints();
        recorded_fill(w, folder);
        EXPECT_EQ(w.status().progress_repaints() - before, c.repaints);
        EXPECT_EQ(part<QLabel>(w, "lblMessage")->text(), "There are 12 media files in the current folder.");
    }
}

TEST(Listing, ModelShowsTheEntriesInTheListingColumns) {
    tree_window_fixture f;
    const std::string folder = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(folder, 3);
    TfrmMain& w = f.create_with("MediaColumnWidth_Dir=150\r\nYearColumnWidth_Dir=33\r\n");
    QAbstractItemModelTester tester(w.listing().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    w.navigation_area().LstMusicListAllFill(folder);
    ASSERT_TRUE(testing::wait_for_listing(w));
    w.navigation_area().LstMusicListAllFill(folder); // a second fill replaces the first
    ASSERT_TRUE(testing::wait_for_listing(w));

    folder_listing_model& model = *w.listing().model();
    ASSERT_EQ(model.rowCount(), 3);
    const char* headers[] = {"Media Name", "Artist", "Song", "Album", "Genre", "Quality", "Length", "Year"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), headers[c]);
    EXPECT_EQ(part<QTableView>(w, "LstMusicListAll")->horizontalHeader()->sectionSize(0), 150);
    EXPECT_EQ(part<QTableView>(w, "LstMusicListAll")->horizontalHeader()->sectionSize(7), 33);

    auto cell = [&](int row, int column) { return model.data(model.index(row, column)).toString().toStdString(); };
    EXPECT_EQ(cell(0, 0), "track01.mp3");
    EXPECT_EQ(cell(1, 1), "Artist 2");
    EXPECT_EQ(cell(1, 2), "Title 2");
    EXPECT_EQ(cell(1, 3), "Album");
    EXPECT_EQ(cell(1, 5), "128kbits");
    EXPECT_EQ(cell(2, 7), "1993");
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
    EXPECT_FALSE(model.data(model.index(3, 0)).isValid());
}

// A listing started while another one is still reading shows only its own folder: nothing of the first is taken.
TEST(Listing, ANewerListingDiscardsTheOneStillReading) {
    tree_window_fixture f;
    const std::string first = f.disk.path() + "/first/", second = f.disk.path() + "/second/";
    tree_window_fixture::write_mp3s(first, 300);
    tree_window_fixture::write_mp3s(second, 5);
    TfrmMain& w = f.create_with();
    w.navigation_area().LstMusicListAllFill(first);
    ASSERT_TRUE(w.listing().filling());
    const std::vector<std::string> texts = recorded_fill(w, second);

    ASSERT_EQ(texts.size(), 6u);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(texts[n - 1],
                  "Reading File Information for: track0" + std::to_string(n) + ".mp3 (" + std::to_string(n) + " of 5)");
    EXPECT_EQ(texts[5], "There are 5 media files in the current folder.");
    ASSERT_EQ(w.context().folder_list.count(), 5);
    EXPECT_EQ(w.listing().model()->rowCount(), 5);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(w.context().folder_list.full_path(row), second + "track0" + std::to_string(row + 1) + ".mp3");
    QTest::qWait(50); // a take still queued for the first fill finds nothing of it
    EXPECT_EQ(w.context().folder_list.count(), 5);
}

TEST(Listing, PopupAndPlayCommands) {
    tree_window_fixture f;
    const std::string folder = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(folder, 3);
    tree_window_fixture::write_mp3s(folder + "more", 2);
    TfrmMain& w = f.create_with();
    f.tree().expandItem(f.disk_node());
    w.navigation_area().MyTreeClick(tree_window_fixture::child(f.disk_node(), "music"));
    ASSERT_TRUE(testing::wait_for_listing(w));
    ASSERT_EQ(w.listing().model()->rowCount(), 3);

    // Opened from a CD-ROM node first, the listing's popup still hides "Add New Media CD".
    w.navigation_area().MyTreeRightClick(w.navigation().my_computer()->child(1), QPoint(5, 5));
    w.commands().menu("mnuAdd")->hide();
    w.navigation_area().LstMusicListAllContextPopup(QPoint(5, 5));
    EXPECT_FALSE(w.commands().action("AddNewMediaCD1")->isVisible());
    EXPECT_FALSE(w.navigation_area().add_menu_from_node());
    EXPECT_FALSE(w.commands().action("mnuPlaySelectedTemp")->isEnabled());
    w.commands().menu("mnuAdd")->hide();

    auto temp_list = [&] { return load_lines(f.folder.file("temp_playlist.m3u")); };
    part<QTableView>(w, "LstMusicListAll")->selectRow(2);
    w.commands().invoke("mnuPlaySelectedTemp");
    EXPECT_EQ(temp_list(), (string_list{folder + "track03.mp3"}));
    ASSERT_EQ(f.starter.started().size(), 1u);
    EXPECT_EQ(f.starter.started()[0].file, "/bin/true");

    // "Play This Folder" from the listing plays the current folder and its sub-folders.
    w.commands().invoke("mnuPlayThisPath");
    string_list played = temp_list();
    std::sort(played.begin(), played.end());
    EXPECT_EQ(played, (string_list{folder + "more/track01.mp3", folder + "more/track02.mp3", folder + "track01.mp3",
                                   folder + "track02.mp3", folder + "track03.mp3"}));
    EXPECT_EQ(w.virtual_playlist().count(), 0); // the virtual playlist is not touched

    // From a folder node's menu, that node plays even when another folder is current.
    f.tree().expandItem(tree_window_fixture::child(f.disk_node(), "music"));
    w.navigation_area().MyTreeRightClick(tree_window_fixture::child(tree_window_fixture::child(f.disk_node(), "music"), "more"),
                       QPoint(5, 5));
    w.commands().menu("mnuAdd")->hide();
    w.commands().invoke("mnuPlayThisPath");
    EXPECT_EQ(temp_list().size(), 2u);
    EXPECT_EQ(w.state().current_folder, folder);
}

// "Add Directory" runs ScanDir over the current folder and its sub-folders into the virtual playlist.
TEST(Listing, AddDirectoryScansTheCurrentFolderIntoThePlaylist) {
    tree_window_fixture f;
    const std::string folder = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(folder, 3);
    tree_window_fixture::write_mp3s(folder + "more", 2);
    std::ofstream(folder + "notes.txt") << "not media";
    TfrmMain& w = f.create_with();

    w.commands().invoke("mnuAdd_Directory"); // no current folder yet
    EXPECT_EQ(f.prompts.message_texts(), std::vector<std::string>{"Please go to My Computer and choose a Directory"});
    EXPECT_EQ(w.virtual_playlist().count(), 0);

    f.tree().expandItem(f.disk_node());
    w.navigation_area().MyTreeClick(tree_window_fixture::child(f.disk_node(), "music"));
    ASSERT_TRUE(testing::wait_for_listing(w));
    std::vector<std::string> texts;
    const auto connection = QObject::connect(&w.status(), &status_pane::message_set,
                                             [&texts](const QString& text) { texts.push_back(text.toStdString()); });
    w.commands().invoke("mnuAdd_Directory");
    QObject::disconnect(connection);
    ASSERT_EQ(w.virtual_playlist().count(), 5);
    std::vector<std::string> paths;
    for (int row = 0; row < 5; ++row) {
        paths.emplace_back(w.virtual_playlist().full_path(row));
        EXPECT_EQ(w.virtual_playlist().cell(ListName, row), "");
    }
    std::vector<std::string> added;
    for (const auto& path : paths)
        added.push_back("Adding to Playlist: " + path);
    EXPECT_EQ(texts, added);
    EXPECT_EQ(paths,
              (std::vector<std::string>{folder + "more/track01.mp3", folder + "more/track02.mp3",
                                        folder + "track01.mp3", folder + "track02.mp3", folder + "track03.mp3"}));
    EXPECT_EQ(w.playlist().model()->rowCount(), 5);
    EXPECT_EQ(w.playlist().model()->headerData(0, Qt::Horizontal).toString(), "* Media Names   (Total Files 5)");
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(), ""); // the add is over: the location again
}

// From a folder node's menu the right-clicked folder is added, whatever folder is current, its files and folders
// in name order: without regard to case, numbers by value.
TEST(Listing, AddDirectoryFromTheTreeAddsThatFolderInNameOrder) {
    tree_window_fixture f;
    const std::string music = f.disk.path() + "/music/";
    tree_window_fixture::write_mp3s(music, 1);
    const std::string other = f.disk.path() + "/other/";
    for (const char* name : {"Track10.mp3", "sub 2/x.mp3", "track2.mp3", "Sub 10/y.mp3", "TRACK1.mp3", "sub 1/z.mp3"}) {
        std::filesystem::create_directories(std::filesystem::path(other + name).parent_path());
        testing::write_mp3(other + name, testing::mp3_options().with_frames(4));
    }
    TfrmMain& w = f.create_with();
    f.tree().expandItem(f.disk_node());
    w.navigation_area().MyTreeClick(tree_window_fixture::child(f.disk_node(), "music"));
    ASSERT_TRUE(testing::wait_for_listing(w));
    w.navigation_area().MyTreeRightClick(tree_window_fixture::child(f.disk_node(), "other"), QPoint(5, 5));
    w.commands().action("mnuAdd_Directory")->trigger();
    w.commands().menu("mnuAdd")->hide();
    std::vector<std::string> paths;
    for (int row = 0; row < w.virtual_playlist().count(); ++row)
        paths.emplace_back(w.virtual_playlist().full_path(row));
    EXPECT_EQ(paths, (std::vector<std::string>{other + "sub 1/z.mp3", other + "sub 2/x.mp3", other + "Sub 10/y.mp3",
                                               other + "TRACK1.mp3", other + "track2.mp3", other + "Track10.mp3"}));
    // The tree's opening lasted for that menu: Ctrl+Ins afterwards adds the current folder.
    QTest::qWait(10);
    w.commands().invoke("mnuAdd_Directory");
    ASSERT_EQ(w.virtual_playlist().count(), 7);
    EXPECT_EQ(w.virtual_playlist().full_path(6), music + "track01.mp3");
}

} // namespace
} // namespace karvo
