// The command registry as the main window fills it: every command runs by id without a display, on an empty list
// with nothing selected, and start-up reads karvo.ini once.
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include "platform/testing/read_counter.h"
#include "tests/app/main_window_fixture.h"

namespace karvo {
namespace {

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
        commands.invoke(id);  // dialogs get the scripted "cancel"
        EXPECT_EQ(w.virtual_playlist().count(), 0);
        for (QMenu* open : w.findChildren<QMenu*>())
            open->close();
    }
    EXPECT_EQ(f.terminated, 2);  // only the two Exits end the program: the commands menu's and the tray menu's
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

TEST(command_registry, start_up_reads_the_settings_file_once) {
    main_window_fixture f;
    f.save_playlist("Mix", testing::twelve_songs());
    f.write_ini("PlaylistMode=0\r\nplaylist_name=Mix\r\nLastDir=" + f.folder.path() + "\r\nWinAMP=" +
                f.folder.file("plugins/resource.krp") + "\r\nSelectedPlayer=0\r\n");
    platform::read_counter counter;
    f.create();
    ASSERT_TRUE(f.created);
    EXPECT_EQ(counter.reads_of(f.ini()), 1u);
}

} // namespace
} // namespace karvo
