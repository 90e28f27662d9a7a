// TfrmMain: the tray icon, and minimising and restoring the window as `show_in` says.
#include <QList>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/resources/tray_icons.h"
#include "components/Statusicon/TStatusIcon.h"

namespace karvo {

namespace {

constexpr const char* tray_hint = "Karvo Media v4.0 beta 3.5";

} // namespace

void TfrmMain::create_tray_icon() {
    IconTray = new TStatusIcon(this, environment_.tray_available);
    IconTray->setObjectName("IconTray");
    IconTray->set_Hint(QString::fromLatin1(tray_hint));
    QList<QIcon> icon_tray;
    for (int i = 0; i < artwork::tray_icon_count; ++i)
        icon_tray.append(artwork::tray_icon(i));
    IconTray->set_Icons(std::move(icon_tray));
    IconTray->set_PopupMenu(commands_->menu("IconTrayMenu"));
    IconTray->set_application_window(this);
    connect(IconTray, &TStatusIcon::OnClick, this, [this] { IconTrayClick(); });
}

void TfrmMain::apply_tray_settings() {
    IconTray->set_IconIndex(settings_.system_tray_icon);
    setWindowIcon(IconTray->current_icon());
    apply_show_in(settings_.show_in);
}

// 0 taskbar only, 1 tray only, 2 both.
void TfrmMain::apply_show_in(int show_in) {
    IconTray->set_Enabled(show_in == 1 || show_in == 2);
    IconTray->set_HideAppl(show_in == 1);
}

void TfrmMain::ToolbarMinClick() {
    showMinimized();
    settings_.show_in = read_show_in(settings_ini);
    apply_show_in(settings_.show_in);
}

void TfrmMain::IconTrayClick() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    settings_.show_in = read_show_in(settings_ini);
    apply_show_in(settings_.show_in);
}

} // namespace karvo
