// The tray icon's pop-up menu `IconTrayMenu`.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"

namespace karvo {

void TfrmMain::declare_tray_menu() {
    command_registry& r = *commands_;
    r.add({"mnuShow", QStringLiteral("Show Karvo Media"), {}, {}, [this] { IconTrayClick(); }});
    r.add({"mnuExit", QStringLiteral("Exit Karvo Media"), {}, {}, [this] { ExitClick(); }});
    r.add_menu("IconTrayMenu", {}, {"mnuShow", "mnuExit"});
}

} // namespace karvo
