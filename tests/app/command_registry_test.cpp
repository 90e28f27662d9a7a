// SPDX-License-Identifier: GPL-3.0-or-later
// The command registry as the main window fills it: every command runs by id without a display, on an empty list
// with nothing selected, and start-up reads karvo.ini once.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

#include "platform/testing/read_counter.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/playlist/history_controller.h"
#include "app/Main_form/playlist/search_pane.h"
#include "library/playlist_class.h"
#include "tests/app/main_window_fixture.h"

namespace karvo {
namespace {

using testing::part;
using testing::main_window_fixture;

TEST(command_registry, every_command_runs_on_an_empty_list_with_nothing_selected) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    command_registry& commands = w.commands();
    const std::vector<std::string> ids = commands.command_ids();
    ASSERT_FALSE(ids.empty());
    for (const std::string& id : ids) {
        SCOPED_TRACE(id);
        commands.invoke(id); // dialogs get the scripted "cancel"
        EXPECT_EQ(w.virtual_playlist().count(), 0);
        for (QMenu* open : w.findChildren<QMenu*>())
            open->close();
    }
    EXPECT_EQ(f.terminated, 2); // only the two Exits end the program: the commands menu's and the tray menu's
    EXPECT_FALSE(commands.invoke("no such command"));
}

TEST(command_registry, menus_share_one_action_per_command_and_keys_work_while_closed) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    command_registry& commands = w.commands();
    for (const char* menu : {"mnuCommands", "mnuAdd", "mnuSave", "mnuMP3CD"}) {
        SCOPED_TRACE(menu);
        QMenu* built = commands.menu(menu);
        std::vector<std::string> shown;
        for (QAction* action : built->actions())
            if (!action->isSeparator())
                shown.push_back(action->objectName().toStdString());
        std::vector<std::string> declared;
        for (const std::string& entry : commands.entries(menu))
            if (entry != menu_separator)
                declared.push_back(entry);
        EXPECT_EQ(shown, declared);
    }
    // A key of a command is a window shortcut of its one action.
    QAction* exit = commands.action("mnuExitKarvo");
    EXPECT_TRUE(w.actions().contains(exit));
    EXPECT_EQ(exit->shortcutContext(), Qt::WindowShortcut);
}

// A key asks the enabling rule when it is pressed, never the state a menu saw when it last opened; a picture
// button asks the same rule.
TEST(command_registry, keys_and_buttons_ask_the_rule_when_used) {
    QWidget window;
    command_registry r(&window, {});
    bool allowed = false;
    int runs = 0;
    r.add({.id = "cmd",
           .caption = QStringLiteral("Cmd"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_K),
           .enabled = [&allowed] { return allowed; },
           .handler = [&runs] { ++runs; }});
    r.add_menu("menu", {}, {"cmd"});
    auto* button = new picture_button(artwork::picture::play, "cmd", &window);
    r.bind(button, "cmd");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QMenu* menu = r.menu("menu");
    menu->popup(window.mapToGlobal(QPoint(0, 0))); // it sees the rule false
    menu->close();
    allowed = true;
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
    allowed = false;
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    button->click();
    EXPECT_EQ(runs, 1);
    allowed = true;
    button->click();
    EXPECT_EQ(runs, 2);
}

// Every key of the window is one command's: all shortcuts live in the one window context.
TEST(command_registry, no_two_commands_share_a_key) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    std::map<QString, std::string> owner;
    for (const std::string& id : w.commands().command_ids()) {
        const QKeySequence key = w.commands().action(id)->shortcut();
        if (key.isEmpty())
            continue;
        const auto [at, fresh] = owner.emplace(key.toString(), id);
        EXPECT_TRUE(fresh) << id << " and " << at->second << " share " << key.toString().toStdString();
    }
    EXPECT_GT(owner.size(), 20u);
}

TEST(command_registry, start_up_reads_the_settings_file_once) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nLastDir=" + f.folder.path() +
                "\r\nWinAMP=" + f.folder.file("plugins/resource.krp") + "\r\nSelectedPlayer=0\r\n");
    platform::read_counter counter;
    f.create();
    ASSERT_TRUE(f.created);
    EXPECT_EQ(counter.reads_of(f.ini()), 1u);
}

} // namespace
} // namespace karvo

namespace karvo {
namespace {

struct menu_row {
    const char* id;
    const char* caption;
    QKeySequence key;
};

// The Parts' menu tables: every row present, in order, with its caption and key (separators and the program's
// own additions may stand between them).
TEST(command_registry, menus_hold_the_tables_in_order_with_their_keys) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    const std::vector<std::pair<const char*, std::vector<menu_row>>> tables = {
        {"mnuCommands",
         {{"SavePlaylist", "Save Playlist", QKeySequence(Qt::CTRL | Qt::Key_S)},
          {"SavePlaylistAs", "Save Playlist As", {}},
          {"mnuPlay", "Play", {}},
          {"mnuID3", "Edit ID3 Tag", Qt::Key_F3},
          {"mnuShowFileInfo", "Show File Info", QKeySequence(Qt::CTRL | Qt::Key_I)},
          {"mnuDelete", "Delete", {}},
          {"mnuMove", "Move", {}},
          {"mnuSelect", "Select", {}},
          {"ExportTo", "Export To", {}},
          {"mnuSendTo", "Send To", {}},
          {"mnuRevertPlaylist", "Revert Playlist", QKeySequence(Qt::CTRL | Qt::Key_R)},
          {"mnuCloneSong", "Clone Selected", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C)},
          {"mnuAbout", "About Karvo Media.", {}},
          {"mnuOnline", "Online", {}},
          {"mnuExitKarvo", "Exit", QKeySequence(Qt::CTRL | Qt::Key_X)}}},
        {"mnuPlay",
         {{"mnuPlaySelected", "Play Selected", Qt::Key_F6},
          {"mnuPlayCurrentPlaylist", "Play Current Playlist", Qt::Key_F7},
          {"mnuEnqueueSelected", "Enqueue Selected", Qt::Key_F8},
          {"mnuEnqueuePlaylist", "Enqueue Playlist", Qt::Key_F9},
          {"mnuPlayAllPlaylists", "Play All Playlists", Qt::Key_F10},
          {"mnuPlayAllPlaylistsRandomized", "Play All Playlists (Randomized)", Qt::Key_F11}}},
        {"mnuDelete",
         {{"RemoveAllDeadFiles", "Delete Broken Files", QKeySequence(Qt::CTRL | Qt::Key_D)},
          {"RemoveAllSelected", "Delete Selected", Qt::Key_Delete},
          {"RemoveAllbutSelected", "Delete All but Selected", QKeySequence(Qt::ALT | Qt::Key_Backspace)},
          {"RemoveAll", "Delete All", QKeySequence(Qt::CTRL | Qt::Key_Delete)}}},
        {"mnuMove",
         {{"mnuMoveSelectedTop", "Move Selected to Top", {}},
          {"mnuMoveSelectedBottom", "Move Selected to Bottom", {}},
          {"mnuMoveSelectedUp", "Move Selected Up", {}},
          {"mnuMoveSelectedDown", "Move Selected Down", {}}}},
        {"mnuSelect",
         {{"mnuInvertSelection", "Invert Selection", {}},
          {"mnuSelectAll", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A)},
          {"mnuSelectthatHave", "Select that Have...", {}}}},
        {"mnuAdd",
         {{"mnuAdd_File", "Add Selected Files.", QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
          {"mnuAdd_Directory", "Add Directory", QKeySequence(Qt::CTRL | Qt::Key_Insert)},
          {"mnuAdd_Files", "Add Files.", Qt::Key_Insert},
          {"mnuPlayThisPath", "Play This Drive.", {}},
          {"mnuPlaySelectedTemp", "Play Selected", {}}}},
        {"mnuSave",
         {{"mnuNewPls", "New Playlist", QKeySequence(Qt::CTRL | Qt::Key_N)},
          {"mnuDeletePlaylist", "Delete Playlist", {}},
          {"RenamePlaylist", "Rename Playlist", {}},
          {"RecachePlaylist", "Re-cache Playlist", {}},
          {"mnuDisplayAllSavedPlaylists", "Display All Saved Playlists", QKeySequence(Qt::CTRL | Qt::Key_W)},
          {"mnuSaveAs", "Save Playlist As..", {}}}},
        {"mnuMP3CD",
         {{"AddNewMediaCD", "Add New Media CD", {}},
          {"RemoveMediaCD", "Remove Media CD", {}},
          {"RenameMediaCD", "Rename Media CD", {}},
          {"SaveMediaCD", "Save Media CD", {}},
          {"mnuDisplayAllMediaCDs", "Display All Media CDs", {}}}},
    };
    command_registry& commands = w.commands();
    for (const auto& [menu, rows] : tables) {
        SCOPED_TRACE(menu);
        commands.menu(menu);
        const std::vector<std::string>& entries = commands.entries(menu);
        std::size_t at = 0;
        for (const menu_row& row : rows) {
            SCOPED_TRACE(row.id);
            while (at < entries.size() && entries[at] != row.id)
                ++at;
            ASSERT_LT(at, entries.size()) << "missing or out of order";
            QAction* action = commands.action(row.id);
            ASSERT_NE(action, nullptr);
            EXPECT_EQ(action->text().toStdString(), row.caption);
            EXPECT_EQ(action->shortcut(), row.key);
        }
    }
    // Hidden as the tables say, until their moment comes.
    for (const char* hidden : {"mnuSaveAs", "SaveMediaCD", "mnuSendToFolder"})
        EXPECT_FALSE(commands.action(hidden)->isVisible()) << hidden;
}

// A new user's round: select all, delete, save; a new playlist; clone; delete broken files; a narrowing search
// and its undoing. The file on disk and the list follow each step.
TEST(command_registry, editing_and_saving_through_the_keys_commands) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    command_registry& commands = w.commands();
    ASSERT_EQ(w.virtual_playlist().count(), 12);

    EXPECT_TRUE(commands.enabled("SavePlaylist"));
    commands.invoke("mnuSelectAll");
    EXPECT_EQ(w.playlist().selected_positions().size(), 12u);
    commands.invoke("mnuCloneSong");
    EXPECT_EQ(w.virtual_playlist().count(), 24);
    EXPECT_EQ(w.virtual_playlist().full_path(0), w.virtual_playlist().full_path(1));
    // Every path of the fixture is missing: Delete Broken Files empties the list.
    commands.invoke("RemoveAllDeadFiles");
    EXPECT_EQ(w.virtual_playlist().count(), 0);
    EXPECT_EQ(w.playlist().model()->rowCount(), 0);
    commands.invoke("SavePlaylist");
    EXPECT_TRUE(w.context().playlists->load("Mix").empty());

    f.prompts.answer_input(std::string("Fresh"));
    commands.invoke("mnuNewPls");
    EXPECT_TRUE(w.context().playlists->exists("Fresh"));
    EXPECT_EQ(w.state().current_playlist_name, "Fresh");
    EXPECT_NE(w.navigation().playlist_node("Fresh"), nullptr);
}

TEST(command_registry, display_found_narrows_and_an_empty_search_restores) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nsearch_item=1\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(w.search().display_found());
    part<QComboBox>(w, "cmbSearchCategory")->setCurrentIndex(2); // ID3 Artist
    part<QLineEdit>(w, "txtSearch")->setText("mo");        // Monk (and nobody else)
    QTest::keyClick(part<QLineEdit>(w, "txtSearch"), Qt::Key_Return);
    EXPECT_EQ(w.virtual_playlist().count(), 1);
    EXPECT_EQ(w.playlist().model()->headerData(0, Qt::Horizontal).toString(), "Media Names   (Found 1 of 12)");
    part<QLineEdit>(w, "txtSearch")->clear();
    QTest::keyClick(part<QLineEdit>(w, "txtSearch"), Qt::Key_Return);
    EXPECT_EQ(w.virtual_playlist().count(), 12);
    EXPECT_TRUE(w.playlist().selected_positions().empty());
    // A search only narrows the view: nothing to save, but it can be undone.
    EXPECT_EQ(w.playlist().model()->headerData(0, Qt::Horizontal).toString(), "Media Names   (Total Files 12)");
    EXPECT_TRUE(w.commands().enabled("mnuUndo"));
    // Undoing the searches walks back through views of the same file: still nothing to save.
    w.commands().invoke("mnuUndo");
    EXPECT_EQ(w.virtual_playlist().count(), 1);
    w.commands().invoke("mnuUndo");
    EXPECT_EQ(w.virtual_playlist().count(), 12);
    EXPECT_FALSE(w.history_area().history().modified());
}

} // namespace
} // namespace karvo
