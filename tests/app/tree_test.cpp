// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/ini_file.h"
#include "tests/app/tree_window_fixture.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::part;
using testing::song;
using testing::tree_window_fixture;

std::vector<std::string> paths_of(const media_list& list) {
    std::vector<std::string> paths;
    for (int row = 0; row < list.count(); ++row)
        paths.emplace_back(list.full_path(row));
    return paths;
}

// Two saved playlists: "Jazz" with albums and no artists, "Rock" with one entry.
void save_two_playlists(tree_window_fixture& f) {
    f.save_playlist("Jazz", {{"/j/1.mp3", "One", "", "Kind of Blue", "1959"},
                             {"/j/2.mp3", "Two", "", "Time Out", "1959"},
                             {"/j/3.mp3", "Three", "", "kind of blue", "1961"},
                             {"/j/4.mp3", "Four", "", "Mingus Ah Um", "1959"}});
    f.save_playlist("Rock", {{"/r/1.mp3", "Uno", "Band", "First", "1970"}});
}

TEST(Tree, BuildShowsRootsDrivesAndOnlyPlainFolders) {
    tree_window_fixture f;
    for (const char* name : {"Zeta", "alpha", ".hidden", "Beta"})
        fs::create_directories(f.disk.file(name));
    fs::create_directories(f.disk.file("alpha/inner"));
    std::ofstream(f.disk.file("song.mp3")) << "x";
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    ASSERT_TRUE(f.created);

    EXPECT_EQ(tree_window_fixture::texts(f.tree().invisibleRootItem()),
              (std::vector<std::string>{"My Computer", "My Playlists", "My Media CDs"}));
    EXPECT_TRUE(w.navigation().my_computer()->isExpanded());
    EXPECT_FALSE(w.navigation().my_playlists()->isExpanded());
    EXPECT_EQ(f.tree().currentItem(), w.navigation().my_computer());

    const std::string disk = f.disk.path(), disc = f.disc.path();
    EXPECT_EQ(tree_window_fixture::texts(w.navigation().my_computer()),
              (std::vector<std::string>{disk + " [DATA]", disc + " [JAZZ CD]"}));
    EXPECT_EQ(w.context().drive_roots.roots, (string_list{disk + "/", disc + "/"}));
    EXPECT_EQ(w.context().drive_roots.cdrom_roots, (string_list{disc + "/"}));
    // Read one level ahead: the drive knows its folders, each folder whether it has any.
    QTreeWidgetItem* drive = f.disk_node();
    EXPECT_EQ(tree_window_fixture::texts(drive), (std::vector<std::string>{"alpha", "Beta", "music", "Zeta"}));
    EXPECT_EQ(tree_window_fixture::child(drive, "alpha")->childCount(), 0);

    f.tree().expandItem(drive);
    EXPECT_EQ(tree_window_fixture::texts(tree_window_fixture::child(drive, "alpha")),
              (std::vector<std::string>{"inner"}));

    // Every saved playlist has the five groupings, each holding only the placeholder.
    ASSERT_EQ(w.navigation().my_playlists()->childCount(), 2);
    QTreeWidgetItem* jazz = w.navigation().my_playlists()->child(0);
    EXPECT_EQ(tree_window_fixture::texts(jazz),
              (std::vector<std::string>{"Albums", "Artists", "Genre", "Year", "Quality"}));
    EXPECT_EQ(tree_window_fixture::texts(jazz->child(1)), (std::vector<std::string>{"<secret temp>"}));
}

TEST(Tree, ExpandingAndCollapsingFolders) {
    tree_window_fixture f;
    fs::create_directories(f.disk.file("music/jazz/bebop"));
    fs::create_directories(f.disk.file("music/rock"));
    TfrmMain& w = f.create_with();
    QTreeWidgetItem* drive = f.disk_node();
    f.tree().expandItem(drive);
    QTreeWidgetItem* music = tree_window_fixture::child(drive, "music");
    f.tree().expandItem(music);
    QTreeWidgetItem* jazz = tree_window_fixture::child(music, "jazz");
    ASSERT_NE(jazz, nullptr);
    EXPECT_EQ(tree_window_fixture::texts(jazz), (std::vector<std::string>{"bebop"}));
    EXPECT_EQ(w.navigation().node_path(jazz), f.disk.path() + "/music/jazz/");
    EXPECT_EQ(w.navigation().node_path(drive), f.disk.path() + "/");
    EXPECT_EQ(w.navigation().subtree_of(jazz), subtree_my_computer);

    // Collapsing deletes the grandchildren; expanding reads the file system again.
    fs::create_directories(f.disk.file("music/jazz/cool"));
    f.tree().collapseItem(music);
    EXPECT_EQ(jazz->childCount(), 0);
    f.tree().expandItem(music);
    EXPECT_EQ(tree_window_fixture::texts(tree_window_fixture::child(music, "jazz")),
              (std::vector<std::string>{"bebop", "cool"}));
}

TEST(Tree, GroupingValuesFollowTheShownPlaylist) {
    tree_window_fixture f;
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    QTreeWidgetItem* jazz = w.navigation().my_playlists()->child(0);
    QTreeWidgetItem* albums = tree_window_fixture::child(jazz, "Albums");
    QTreeWidgetItem* artists = tree_window_fixture::child(jazz, "Artists");

    f.tree().expandItem(albums);
    EXPECT_EQ(tree_window_fixture::texts(albums),
              (std::vector<std::string>{"Kind of Blue", "Mingus Ah Um", "Time Out"}));
    f.tree().expandItem(artists);
    EXPECT_EQ(artists->childCount(), 0); // no artist tags, no values

    // Shown in mode 0, the values come from the virtual playlist, not the store.
    w.navigation_area().MyTreeClick(jazz);
    ASSERT_EQ(w.state().mode.value(), PlaylistMode::playlist);
    w.virtual_playlist().set_cell(Album, 0, "Sketches of Spain");
    f.tree().collapseItem(albums);
    EXPECT_EQ(tree_window_fixture::texts(albums), (std::vector<std::string>{"<secret temp>"}));
    f.tree().expandItem(albums);
    EXPECT_EQ(tree_window_fixture::texts(albums),
              (std::vector<std::string>{"kind of blue", "Mingus Ah Um", "Sketches of Spain", "Time Out"}));
}

TEST(Tree, ClickingNodes) {
    tree_window_fixture f;
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    QTreeWidgetItem* jazz = w.navigation().my_playlists()->child(0);
    QTreeWidgetItem* albums = tree_window_fixture::child(jazz, "Albums");
    f.tree().expandItem(albums);

    // A grouping value loads the playlist and filters it; a second value filters the full playlist again.
    w.navigation_area().MyTreeClick(tree_window_fixture::child(albums, "Kind of Blue"));
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::grouping);
    EXPECT_EQ(w.state().current_playlist_name, "Jazz");
    EXPECT_EQ(paths_of(w.virtual_playlist()), (std::vector<std::string>{"/j/3.mp3", "/j/1.mp3"}));
    EXPECT_EQ(w.playlist().model()->rowCount(), 2);
    w.navigation_area().MyTreeClick(tree_window_fixture::child(albums, "Time Out"));
    EXPECT_EQ(paths_of(w.virtual_playlist()), (std::vector<std::string>{"/j/2.mp3"}));
    w.navigation_area().MyTreeClick(tree_window_fixture::child(albums, "Kind of Blue"));
    EXPECT_EQ(w.virtual_playlist().count(), 2);

    // The grouping node itself and the My Computer root change nothing.
    for (QTreeWidgetItem* inert : {albums, w.navigation().my_computer()}) {
        w.navigation_area().MyTreeClick(inert);
        EXPECT_EQ(w.state().mode.value(), PlaylistMode::grouping);
        EXPECT_EQ(w.virtual_playlist().count(), 2);
    }

    // Another playlist's value after a filtered one: its own entries only.
    QTreeWidgetItem* rock_albums = tree_window_fixture::child(w.navigation().my_playlists()->child(1), "Albums");
    f.tree().expandItem(rock_albums);
    const std::size_t questions = f.prompts.message_texts().size();
    w.navigation_area().MyTreeClick(tree_window_fixture::child(rock_albums, "First")); // a narrowed list: no question
    EXPECT_EQ(f.prompts.message_texts().size(), questions);
    EXPECT_EQ(paths_of(w.virtual_playlist()), (std::vector<std::string>{"/r/1.mp3"}));
    EXPECT_EQ(w.state().current_playlist_name, "Rock");

    w.navigation_area().MyTreeClick(jazz);
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::playlist);
    EXPECT_EQ(w.virtual_playlist().count(), 4);
    EXPECT_EQ(w.virtual_playlist().cell(ListName, 3), "Jazz");

    w.navigation_area().MyTreeClick(w.navigation().my_playlists());
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::all_playlists);
    EXPECT_EQ(w.virtual_playlist().count(), 5);
    EXPECT_EQ(w.virtual_playlist().cell(ListName, 4), "Rock");
    EXPECT_EQ(w.state().current_playlist_name, "");
    EXPECT_EQ(part<QLabel>(w, "SelectedName")->text(), "<Displaying All Saved Playlists>");

    // A folder node becomes the current folder, written to LastDir at once.
    fs::create_directories(f.disk.file("music/jazz"));
    f.tree().expandItem(f.disk_node());
    w.navigation_area().MyTreeClick(tree_window_fixture::child(f.disk_node(), "music"));
    EXPECT_EQ(w.state().current_folder, f.disk.path() + "/music/");
    EXPECT_EQ(platform::get_private_profile_string("Settings", "LastDir", "", f.ini()), f.disk.path() + "/music/");

    // Enter on the node the keyboard moved to opens it as a click does.
    f.tree().setCurrentItem(jazz);
    QTest::keyClick(&f.tree(), Qt::Key_Return);
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::playlist);
    EXPECT_EQ(w.state().current_playlist_name, "Jazz");
}

TEST(Tree, OnlyAClickOnTheIconOrLabelCounts) {
    tree_window_fixture f;
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    w.show();
    QWidget* viewport = f.tree().viewport();
    const QRect row = f.tree().visualItemRect(w.navigation().my_playlists());
    ASSERT_GT(row.width(), 150);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(row.right() - 2, row.center().y()));
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::nothing);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(row.left() + 30, row.center().y()));
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::all_playlists);
    EXPECT_EQ(w.virtual_playlist().count(), 5);
}

TEST(Tree, MediaCdNodesLoadFromTheDriveHoldingTheDisc) {
    tree_window_fixture f;
    {
        mp3_cd_class store(f.program());
        ASSERT_TRUE(store.save("Blue Disc", {testing::media_info({"Jazz/so what.mp3", "So What"})}));
        ASSERT_TRUE(store.store_identity("Blue Disc", disc_identity(0xCAFE)));
        ASSERT_TRUE(store.save("Lost Disc", {testing::media_info({"a.mp3", "A"})}));
        ASSERT_TRUE(store.store_identity("Lost Disc", disc_identity(0x5555)));
    }
    TfrmMain& w = f.create_with();
    ASSERT_EQ(tree_window_fixture::texts(w.navigation().my_media_cds()),
              (std::vector<std::string>{"Blue Disc", "Lost Disc"}));

    w.navigation_area().MyTreeClick(w.navigation().my_media_cds()->child(0));
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::media_cd);
    EXPECT_EQ(paths_of(w.virtual_playlist()), (std::vector<std::string>{f.disc.path() + "/Jazz/so what.mp3"}));
    EXPECT_EQ(w.state().current_media_cd_name, "Blue Disc");

    w.navigation_area().MyTreeClick(w.navigation().my_media_cds()->child(1));
    EXPECT_EQ(paths_of(w.virtual_playlist()), (std::vector<std::string>{"a.mp3"}));
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(), w.context().messages[32]);

    w.navigation_area().MyTreeClick(w.navigation().my_media_cds());
    EXPECT_EQ(w.state().mode.value(), PlaylistMode::all_media_cds);
    EXPECT_EQ(w.virtual_playlist().count(), 2);
    EXPECT_EQ(w.virtual_playlist().cell(ListName, 1), "Lost Disc");
}

TEST(Tree, RightClickMenusAndHints) {
    tree_window_fixture f;
    fs::create_directories(f.disk.file("music"));
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    QTreeWidgetItem* disc = w.navigation().my_computer()->child(1);
    struct row {
        QTreeWidgetItem* node;
        QMenu* menu;
        QString play_text;
        bool add_media_cd;
    } rows[] = {
        {f.disk_node(), w.commands().menu("mnuAdd"), "Play This Drive", false},
        {tree_window_fixture::child(f.disk_node(), "music"), w.commands().menu("mnuAdd"), "Play This Folder", false},
        {disc, w.commands().menu("mnuAdd"), "Play This Drive", true},
        {w.navigation().my_playlists(), w.commands().menu("mnuSave"), {}, false},
        {w.navigation().my_playlists()->child(1), w.commands().menu("mnuSave"), {}, false},
        {w.navigation().my_media_cds(), w.commands().menu("mnuMP3CD"), {}, false},
    };
    for (const row& r : rows) {
        w.navigation_area().MyTreeRightClick(r.node, QPoint(10, 10));
        EXPECT_TRUE(r.menu->isVisible()) << r.node->text(0).toStdString();
        if (!r.play_text.isEmpty()) {
            EXPECT_TRUE(w.navigation_area().add_menu_from_node()); // the menu acts on the node's own folder
            EXPECT_EQ(w.commands().action("mnuPlayThisPath")->text(), r.play_text);
            EXPECT_EQ(w.commands().action("AddNewMediaCD1")->isVisible(), r.add_media_cd);
        }
        r.menu->hide();
    }
    EXPECT_EQ(w.state().current_playlist_name, "Rock"); // a right click on a playlist acts as a left click first

    struct hint {
        QTreeWidgetItem* node;
        std::string text;
    } hints[] = {
        {w.navigation().my_playlists(), "Click to Display All Saved Playlists."},
        {w.navigation().my_playlists()->child(0), "Click to Display \"Jazz\" Playlists."},
        {w.navigation().my_media_cds(), "Click to Display All Media CDs."},
    };
    for (const hint& h : hints) {
        w.navigation().MyTreeMouseMove(h.node);
        EXPECT_EQ(part<QLabel>(w, "lblMessage")->text().toStdString(), h.text);
    }
    w.navigation().MyTreeMouseMove(f.disk_node());
    EXPECT_TRUE(part<QLabel>(w, "lblMessage")->text().isEmpty());
    EXPECT_FALSE(part<QLabel>(w, "lblmycomputer")->isHidden());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(part<picture_button>(w, "my_saved_pls"), &enter);
    EXPECT_EQ(part<QLabel>(w, "lblMessage")->text(), "My Playlists Operations Menu");
}

TEST(Tree, DropsOfPlaylistEntries) {
    tree_window_fixture f;
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    QTreeWidgetItem* jazz = w.navigation().my_playlists()->child(0);
    QTreeWidgetItem* rock = w.navigation().my_playlists()->child(1);
    QTreeWidgetItem* rock_artists = tree_window_fixture::child(rock, "Artists");
    f.tree().expandItem(rock_artists);
    ASSERT_EQ(tree_window_fixture::texts(rock_artists), (std::vector<std::string>{"Band"}));

    w.navigation_area().MyTreeClick(jazz);
    w.virtual_playlist().set_cell(Artist, 2, "Brubeck");
    part<QTableView>(w, "LstMusicList")->selectRow(2);
    w.navigation_area().MyTreeDragDrop(rock);
    const string_list stored = w.context().playlists->load("Rock");
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(parse_media_info(stored[1])[0], "/j/3.mp3");
    EXPECT_EQ(tree_window_fixture::texts(rock_artists), (std::vector<std::string>{"Band", "Brubeck"}));
    EXPECT_TRUE(f.prompts.message_texts().empty());

    for (QTreeWidgetItem* elsewhere :
         {f.disk_node(), w.navigation().my_playlists(), tree_window_fixture::child(jazz, "Year")}) {
        f.prompts.answer_message(platform::message_result::ok);
        w.navigation_area().MyTreeDragDrop(elsewhere);
    }
    EXPECT_TRUE(f.prompts.errors().empty());
    EXPECT_EQ(f.prompts.message_texts(), std::vector<std::string>(3, "Can't Add Files Here."));
    EXPECT_EQ(w.context().playlists->load("Rock").size(), 2u);
}

TEST(Tree, F5RebuildsTheSubtreeOfTheSelectedNode) {
    tree_window_fixture f;
    fs::create_directories(f.disk.file("music/jazz"));
    save_two_playlists(f);
    TfrmMain& w = f.create_with();
    f.tree().expandItem(f.disk_node());
    QTreeWidgetItem* music = tree_window_fixture::child(f.disk_node(), "music");
    f.tree().expandItem(music);
    f.tree().setCurrentItem(music);

    testing::fixture_folder usb;
    fs::create_directories(usb.path() + "/photos");
    f.drive_table.add_drive({usb.path() + "/", platform::drive_type::removable, "stick", 7});
    QTest::keyRelease(&f.tree(), Qt::Key_F5);

    ASSERT_EQ(w.navigation().my_computer()->childCount(), 3);
    EXPECT_EQ(w.navigation().my_computer()->child(2)->text(0).toStdString(), usb.path() + " [STICK]");
    EXPECT_TRUE(w.navigation().my_computer()->isExpanded());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(w.navigation().my_computer()->child(i)->isExpanded());
    EXPECT_EQ(tree_window_fixture::texts(w.navigation().my_computer()->child(2)), (std::vector<std::string>{"photos"}));

    f.save_playlist("Blues", {});
    f.tree().setCurrentItem(w.navigation().my_playlists()->child(0));
    QTest::keyRelease(&f.tree(), Qt::Key_F5);
    EXPECT_EQ(tree_window_fixture::texts(w.navigation().my_playlists()),
              (std::vector<std::string>{"Blues", "Jazz", "Rock"}));
    EXPECT_TRUE(w.navigation().my_playlists()->isExpanded());
}

TEST(Tree, RootStatesAreReadAtBuildAndSavedAtExit) {
    tree_window_fixture f;
    save_two_playlists(f);
    TfrmMain& w = f.create_with("Tree_SavedPls_State=1\r\nTree_MediaCD_State=0\r\n");
    EXPECT_TRUE(w.navigation().my_playlists()->isExpanded());
    EXPECT_FALSE(w.navigation().my_media_cds()->isExpanded());

    f.tree().collapseItem(w.navigation().my_playlists());
    f.tree().expandItem(w.navigation().my_media_cds());
    w.ExitClick();
    EXPECT_EQ(platform::get_private_profile_int("Settings", "Tree_SavedPls_State", -1, f.ini()), 0);
    EXPECT_EQ(platform::get_private_profile_int("Settings", "Tree_MediaCD_State", -1, f.ini()), 1);
}

} // namespace
} // namespace karvo
