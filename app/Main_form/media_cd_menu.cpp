// The Media CD menu `mnuMP3CD`: opened from Media CD nodes (tag 1), the "My Media CDs" root (tag 2) and the
// `my_media_cd` button (tag 0).
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"

namespace karvo {

void TfrmMain::declare_media_cd_menu() {
    command_registry& r = *commands_;
    r.add({"mnuDisplayAllMediaCDs", QStringLiteral("Display All Media CDs"), {}, {}, [this] { DisplayAllMediaCDs(); }});
    r.add_menu("mnuMP3CD", {}, {"mnuDisplayAllMediaCDs"});
}

} // namespace karvo
