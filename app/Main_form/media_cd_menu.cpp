// SPDX-License-Identifier: GPL-3.0-or-later
// The Media CD menu `mnuMP3CD`: opened from Media CD nodes (tag 1), the "My Media CDs" root (tag 2) and the
// `my_media_cd` button (tag 0).
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"

namespace karvo {

void TfrmMain::declare_media_cd_menu() {
    // The Media CD commands are declared with the store commands in main_form_stores.cpp.
    commands_->add_menu(
        "mnuMP3CD", {},
        {"AddNewMediaCD", "RemoveMediaCD", "RenameMediaCD", "SaveMediaCD", menu_separator, "mnuDisplayAllMediaCDs"});
}

} // namespace karvo
