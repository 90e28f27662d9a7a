// SPDX-License-Identifier: GPL-3.0-or-later
// The playlist as a user works it: selection keys, undo and redo of edits, the question before unsaved edits are
// dropped, the recovery copy after an abrupt end, Tab through the panes and the names a screen reader hears.
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main_form/floating_panel.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "app/Main_form/playlist/history_controller.h"
#include "app/Main_form/navigation/tree_pane.h"
#include "app/Main_form/players/players_panel.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/playlist/search_pane.h"
#include "components/Coolcombobox/CoolComboBox.h"
#include "library/recovery_copy.h"
#include "library/string_list.h"
#include "tests/app/main_window_fixture.h"

namespace karvo {
namespace {

using platform::message_result;
using testing::part;
using testing::main_window_fixture;

std::vector<int> selected_rows(QTableView& view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> range(int first, int last) {
    std::vector<int> rows;
    for (int row = first; row <= last; ++row)
        rows.push_back(row);
    return rows;
}

// Every jump key moves the current row and the anchor; Shift extends from that anchor, never from the last click.
TEST(playlist_safety, jump_keys_move_the_anchor_and_shift_extends_from_it) {
    struct key_case {
        const char* name;
        int clicked;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        std::vector<int> selected;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const std::vector<key_case> cases = {
        {"End, Shift+Up twice", 2, {{Qt::Key_End, none}, {Qt::Key_Up, shift}, {Qt::Key_Up, shift}}, range(15, 17)},
        {"Home, Shift+Down", 9, {{Qt::Key_Home, none}, {Qt::Key_Down, shift}}, range(0, 1)},
        {"Shift+End from the click", 3, {{Qt::Key_End, shift}}, range(3, 17)},
        {"Ctrl+End keeps the selection, moves the anchor", 5, {{Qt::Key_End, ctrl}, {Qt::Key_Up, shift}},
         range(16, 17)},
        {"Ctrl+Shift+Home extends", 6, {{Qt::Key_Home, ctrl | shift}}, range(0, 6)},
        {"Page Down, Shift+Page Up back to the top", 0, {{Qt::Key_PageDown, none}, {Qt::Key_Home, shift}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStandardItemModel model(18, 2);
        QTableView* view = make_list_view(QStringLiteral("keys"), nullptr);
        std::unique_ptr<QTableView> owner(view);
        view->setModel(&model);
        view->resize(300, 120); // a page of a few rows
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model.index(c.clicked, 0)).center());
        int page_row = -1;
        for (const auto& [key, modifiers] : c.keys) {
            QTest::keyClick(view, key, modifiers);
            if (key == Qt::Key_PageDown)
                page_row = view->currentIndex().row();
        }
        if (page_row >= 0) {
            // The page key set the anchor where it landed: Shift+Home selects from the top to there.
            ASSERT_GT(page_row, 0);
            EXPECT_EQ(selected_rows(*view), range(0, page_row));
        } else {
            EXPECT_EQ(selected_rows(*view), c.selected);
        }
    }
}

std::vector<testing::song> songs(int count) {
    std::vector<testing::song> made;
    for (int i = 0; i < count; ++i)
        made.push_back({"/music/s" + std::to_string(i) + ".mp3", "Song " + std::to_string(i)});
    return made;
}

// A saved playlist "Mix" of `rows` songs that the window shows at start.
void start_on_mix(main_window_fixture& f, int rows) {
    f.write_file("winamp", "#!/bin/sh\n"); // a player that is there: no question about players at start
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nSelectedPlayer=0\r\nWinAMP=" + f.folder.file("winamp") +
                "\r\n");
    f.save_playlist("Mix", songs(rows));
}

std::string first_paths(const media_list& list) {
    std::string text;
    for (int row = 0; row < list.count(); ++row)
        text += std::string(row ? " " : "") + std::string(list.full_path(row)).substr(7);
    return text;
}

// End, Shift+Up twice, Del removes the last three rows; Ctrl+Z brings them back, Ctrl+Y takes them away again, and
// the count caption marks the list as changed until it is as saved again.
TEST(playlist_safety, delete_by_keys_then_undo_and_redo_by_keys) {
    main_window_fixture f;
    start_on_mix(f, 6);
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTableView* view = part<QTableView>(w, "LstMusicList");
    view->setFocus();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    QTest::keyClick(view, Qt::Key_End);
    QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(first_paths(w.virtual_playlist()), "s0.mp3 s1.mp3 s2.mp3");
    EXPECT_TRUE(w.history_area().history().modified());
    EXPECT_TRUE(w.playlist().model()->count_caption().startsWith("* "));
    EXPECT_EQ(w.commands().action("mnuUndo")->text(), "Undo Delete Selected");

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(first_paths(w.virtual_playlist()), "s0.mp3 s1.mp3 s2.mp3 s3.mp3 s4.mp3 s5.mp3");
    EXPECT_FALSE(w.history_area().history().modified());
    EXPECT_EQ(view->model()->rowCount(), 6);
    EXPECT_EQ(w.commands().action("mnuRedo")->text(), "Redo Delete Selected");
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.virtual_playlist().count(), 3);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // redo again: nothing left to redo
    EXPECT_EQ(w.virtual_playlist().count(), 3);
}

// A key runs its command when the enabling rule holds at the moment it is pressed, whatever the menu showed when it
// was last open.
TEST(playlist_safety, keys_ask_the_enabling_rule_when_pressed) {
    main_window_fixture f;
    f.save_playlist("Mix", songs(2));
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Opened in mode -1: "Save Playlist" is shown disabled.
    QMenu* menu = w.commands().menu("mnuCommands");
    menu->popup(QPoint(10, 10));
    EXPECT_FALSE(w.commands().action("SavePlaylist")->isEnabled());
    menu->hide();
    w.navigation_area().MyTreeClick(w.navigation().playlist_node("Mix"));
    w.playlist().select_positions({0});
    w.commands().invoke("RemoveAllSelected");
    QTest::keyClick(part<QTableView>(w, "LstMusicList"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(load_lines(f.folder.file("Playlists/Mix.spl")).size(), 1u);
    EXPECT_FALSE(w.history_area().history().modified());
}

// Each way of replacing or leaving an edited list asks first; Cancel keeps everything as it was.
TEST(playlist_safety, replacing_or_leaving_an_edited_list_asks_first) {
    struct way_case {
        const char* name;
        std::function<void(TfrmMain&)> go;
        message_result answer;
        bool stays; // the edited list is still shown
        int ends;   // times the program was ended
    };
    auto click_other = [](TfrmMain& w) { w.navigation_area().MyTreeClick(w.navigation().playlist_node("Other")); };
    const std::vector<way_case> cases = {
        {"another playlist, Cancel", click_other, message_result::cancel, true, 0},
        {"another playlist, No", click_other, message_result::no, false, 0},
        {"all saved playlists, Cancel", [](TfrmMain& w) { w.navigation_area().MyTreeClick(w.navigation().my_playlists()); },
         message_result::cancel, true, 0},
        {"New Playlist, Cancel", [](TfrmMain& w) { w.commands().invoke("mnuNewPls"); }, message_result::cancel, true,
         0},
        {"Exit, Cancel", [](TfrmMain& w) { w.commands().invoke("mnuExitKarvo"); }, message_result::cancel, true, 0},
        {"window close, Cancel", [](TfrmMain& w) { w.close(); }, message_result::cancel, true, 0},
        {"tray Exit, No", [](TfrmMain& w) { w.commands().invoke("mnuExit"); }, message_result::no, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window_fixture f;
        start_on_mix(f, 4);
        f.save_playlist("Other", songs(1));
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        w.playlist().select_positions({0});
        w.commands().invoke("RemoveAllSelected");
        f.prompts.answer_message(c.answer);
        c.go(w);
        EXPECT_EQ(f.prompts.message_texts(), std::vector<std::string>{"Save changes to \"Mix\"?"});
        EXPECT_EQ(f.prompts.unused_answers(), 0u);
        EXPECT_EQ(w.virtual_playlist().count() == 3 && w.state().current_playlist_name == "Mix", c.stays);
        EXPECT_EQ(f.terminated, c.ends);
        EXPECT_EQ(f.prompts.errors(), std::vector<std::string>{});
    }
}

// The recovery copy follows the edits within its delay (all a kill -9 leaves), and the next start offers it.
TEST(playlist_safety, the_recovery_copy_brings_back_edits_after_an_abrupt_end) {
    main_window_fixture f;
    start_on_mix(f, 4);
    {
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        w.playlist().select_positions({1, 2});
        w.commands().invoke("RemoveAllSelected");
        ASSERT_TRUE(QTest::qWaitFor([&] { return read_recovery_copy(w.history_area().recovery_path()).has_value(); },
                                    recovery_delay_ms + 3000));
        f.window.reset(); // gone without Exit or signal, as a killed program is: it writes nothing on the way
    }
    f.prompts.answer_message(message_result::yes);
    TfrmMain& again = f.create();
    ASSERT_TRUE(f.created);
    ASSERT_EQ(f.prompts.message_texts().size(), 1u);
    EXPECT_NE(f.prompts.message_texts()[0].find("\"Mix\""), std::string::npos);
    EXPECT_EQ(first_paths(again.virtual_playlist()), "s0.mp3 s3.mp3");
    EXPECT_TRUE(again.history_area().history().modified());
    // Saved now: nothing is left to recover.
    again.commands().invoke("SavePlaylist");
    again.history_area().write_recovery_copy_now();
    EXPECT_FALSE(read_recovery_copy(again.history_area().recovery_path()));
}

// SIGTERM and logout end through end_by_session: the edits go to the recovery copy at once, without a question.
TEST(playlist_safety, a_signal_keeps_the_edits_in_the_recovery_copy_at_once) {
    main_window_fixture f;
    start_on_mix(f, 4);
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.playlist().select_positions({0});
    w.commands().invoke("RemoveAllSelected");
    w.end_by_session();
    EXPECT_EQ(f.terminated, 1);
    EXPECT_TRUE(f.prompts.message_texts().empty());
    const auto copy = read_recovery_copy(w.history_area().recovery_path());
    ASSERT_TRUE(copy);
    EXPECT_EQ(first_paths(copy->rows), "s1.mp3 s2.mp3 s3.mp3");
    EXPECT_EQ(copy->playlist_name, "Mix");
}

// Tab walks tree, folder listing, playlist, the search panel's controls and the players; every picture button,
// the tree, both tables and the two tick boxes have a name and role a screen reader can say.
TEST(playlist_safety, tab_reaches_every_pane_and_every_control_has_a_name) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    if (!part<floating_panel>(w, "a1")->unfolding())
        part<floating_panel>(w, "a1")->fold_click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return part<floating_panel>(w, "a1")->unfolded(); }, 3000));
    part<QTreeWidget>(w, "MyTree")->setFocus();
    std::vector<std::string> visited;
    for (int k = 0; k < 8; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"LstMusicListAll", "LstMusicList", "txtSearch", "cmbSearchCategory",
                                                 "SearchSelect", "SearchDisplayOnly", "a", "MyTree"}));

    for (picture_button* button : w.findChildren<picture_button*>()) {
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(spoken, nullptr);
        EXPECT_FALSE(spoken->text(QAccessible::Name).isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(spoken->role(), QAccessible::Button) << button->objectName().toStdString();
    }
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(part<CoolComboBox>(w, "SearchDisplayOnly"));
    EXPECT_EQ(display->role(), QAccessible::CheckBox);
    EXPECT_EQ(display->text(QAccessible::Name), "Display Found.");
    EXPECT_EQ(display->state().checked, w.search().display_found());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(part<QTableView>(w, "LstMusicList"))->text(QAccessible::Name), "Virtual playlist");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(part<QTreeWidget>(w, "MyTree"))->role(), QAccessible::Tree);
}

// The navigation tree keeps its 70 pixels whether a small width is read at start or dragged, and that is what is
// saved.
TEST(playlist_safety, the_tree_is_never_squeezed_away) {
    for (const int asked : {0, 10, 69}) {
        SCOPED_TRACE(asked);
        main_window_fixture f;
        f.write_ini("VSplitter=" + std::to_string(asked) + "\r\n");
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->width(), 70);
        w.set_splitters(asked - 100, 150); // a drag far past the left edge
        EXPECT_EQ(part<QTreeWidget>(w, "MyTree")->width(), 70);
        EXPECT_TRUE(part<QTreeWidget>(w, "MyTree")->isVisibleTo(&w));
        w.save_state_once();
        EXPECT_NE(f.read_ini().find("VSplitter=70"), std::string::npos);
    }
}

} // namespace
} // namespace karvo
