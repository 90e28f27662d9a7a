// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar strip's commands: sort, randomize, play, stop, volume and the preferences, and the three operation menus that the
// buttons below the panes open at the cursor.
#include <QCursor>
#include <QMenu>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/playlist_pane.h"

namespace karvo {

void TfrmMain::declare_toolbar_commands() {
    command_registry& r = *commands_;
    r.add({"cmdSort", QStringLiteral("Sort Ascending"), {}, {}, [this] {
               if (music_list.count() > 0)
                   playlist_->sort_ascending(settings_.sort_item);
           }});
    r.add({"cmdSortza", QStringLiteral("Sort Descending"), {}, {}, [this] {
               if (music_list.count() > 0)
                   playlist_->sort_descending(settings_.sort_item);
           }});
    r.add({"cmdRandom", QStringLiteral("Randomize"), {}, {}, [this] {
               playlist_->randomize(settings_.randomize_times, random);
           }});
    r.add({"cmdPlay", QStringLiteral("Play"), {}, {}, [this] { cmdPlayClick(); }});
    r.add({"cmdStop", QStringLiteral("Stop"), {}, {}, [this] { cmdStopClick(); }});
    r.add({"cmdVolume", QStringLiteral("Volume"), {}, {}, [this] { cmdVolumeClick(); }});
    r.add({"cmdOptions", QStringLiteral("Preferences"), {}, {}, [this] { cmdOptionsClick(); }});
    // A press opens the menu at the cursor with tag 0; the listing's "Add New Media CD" stays hidden.
    auto opens = [this](const char* id, const char* menu) {
        commands_->add({id, QString::fromLatin1(id), {}, {}, [this, menu, id] {
                            if (std::string(menu) == "mnuAdd")
                                commands_->action("AddNewMediaCD1")->setVisible(false);
                            commands_->menu(menu)->setProperty("tag", 0);
                            commands_->popup(menu, QCursor::pos(), playlist_->button(id));
                        }});
    };
    opens("my_computer", "mnuAdd");
    opens("my_saved_pls", "mnuSave");
    opens("my_media_cd", "mnuMP3CD");
}

} // namespace karvo
