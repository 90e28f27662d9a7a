// The add menu `mnuAdd`: the folder listing's pop-up menu, also opened from drive and folder nodes of the tree
// (tag 1) and by the `my_computer` button.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/listing_pane.h"

namespace karvo {

void TfrmMain::declare_add_menu() {
    command_registry& r = *commands_;
    r.add({"mnuAdd_Directory", QStringLiteral("Add Directory"), QKeySequence(Qt::CTRL | Qt::Key_Insert), {},
           [this] { mnuAdd_DirectoryClick(); }});
    r.add({"mnuPlayThisPath", QStringLiteral("Play This Drive."), {}, {}, [this] { mnuPlayThisPathClick(); }});
    r.add({"mnuPlaySelectedTemp", QStringLiteral("Play Selected"), {}, [this] { return listing_->has_selection(); },
           [this] { mnuPlaySelectedTempClick(); }});
    // Cataloguing a disc comes with the Media CD commands; the item shows only on CD-ROM drive nodes.
    r.add({"AddNewMediaCD1", QStringLiteral("Add New Media CD"), {}, {}, {}, false});
    r.add_menu("mnuAdd", {}, {"mnuAdd_Directory", "mnuPlayThisPath", "mnuPlaySelectedTemp", "AddNewMediaCD1"});
}

} // namespace karvo
