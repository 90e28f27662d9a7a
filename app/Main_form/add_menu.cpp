// SPDX-License-Identifier: GPL-3.0-or-later
// The add menu `mnuAdd`: the folder listing's pop-up menu, also opened from drive and folder nodes of the tree
// (tag 1) and by the `my_computer` button.
#include <QMenu>
#include <QTimer>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/listing_pane.h"

namespace karvo {

void TfrmMain::declare_add_menu() {
    command_registry& r = *commands_;
    r.add({"mnuAdd_File", QStringLiteral("Add Selected Files."), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
           [this] { return listing_->has_selection(); }, [this] { mnuAdd_FileClick(); }});
    // From a drive or folder node's menu the right-clicked folder is added, else the current folder.
    r.add({"mnuAdd_Directory", QStringLiteral("Add Directory"), QKeySequence(Qt::CTRL | Qt::Key_Insert), {}, [this] {
               mnuAdd_DirectoryClick(commands_->menu("mnuAdd")->property("tag").toInt() == 1 ? tree_menu_path
                                                                                          : state_.current_folder);
           }});
    r.add({"mnuAdd_Files", QStringLiteral("Add Files."), Qt::Key_Insert, [this] { return folder_list.count() > 0; },
           [this] { mnuAdd_FilesClick(); }});
    r.add({"mnuPlayThisPath", QStringLiteral("Play This Drive."), {}, {}, [this] { mnuPlayThisPathClick(); }});
    r.add({"mnuPlaySelectedTemp",
           QStringLiteral("Play Selected"),
           {},
           [this] { return listing_->has_selection(); },
           [this] { mnuPlaySelectedTempClick(); }});
    // Shown only on the nodes of CD-ROM and removable drives; it catalogues that drive's volume.
    r.add({"AddNewMediaCD1",
           QStringLiteral("Add New Media CD"),
           {},
           {},
           [this] { commands_->invoke("AddNewMediaCD"); },
           false});
    r.add_menu("mnuAdd", {},
               {"mnuAdd_File", "mnuAdd_Directory", "mnuAdd_Files", menu_separator, "mnuPlayThisPath",
                "mnuPlaySelectedTemp", "AddNewMediaCD1"});
    // The tree's opening (tag 1) lasts for that menu only: its item runs before the deferred reset, and a later
    // Ctrl+Ins works on the current folder again.
    QMenu* add = r.menu("mnuAdd");
    connect(add, &QMenu::aboutToHide, this, [add] {
        QTimer::singleShot(0, add, [add] { add->setProperty("tag", 0); });
    });
}

} // namespace karvo
