// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application, its four long-lived windows in their order, then the main window's create event.
#include <QApplication>
#include <QSessionManager>

#include "app/About/TfrmAbout.h"
#include "app/Main_form/TfrmMain.h"
#include "app/Options/TfrmOptions.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "app/qt_platform/qt_prompts.h"
#include "app/qt_platform/quit_signals.h"
#include "platform/paths.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("karvo-media"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(karvo::application_title));
    QApplication::setDesktopFileName(QStringLiteral("karvo-media"));
    // Only Exit ends the program: the window hidden behind the tray icon and a small window closing must not.
    QApplication::setQuitOnLastWindowClosed(false);

    // A signal that arrives while the windows are made waits in its pipe until the event loop runs.
    karvo::TfrmMain* main_window = nullptr;
    karvo::end_on_signals([&main_window] {
        if (main_window)
            main_window->end_by_session();
        else
            QApplication::quit();
    });

    karvo::qt_prompts prompts;
    const std::string program_folder = karvo::platform::program_folder();
    karvo::main_environment environment{program_folder, karvo::platform::data_folder_for(program_folder), prompts,
                                        [] { QApplication::quit(); }};
    karvo::TfrmMain frmMain(std::move(environment));
    main_window = &frmMain;
    prompts.set_parent(&frmMain);
    karvo::TfrmAbout frmAbout(&frmMain);
    frmMain.set_about_box(&frmAbout);
    karvo::TfrmOptions frmOptions(&frmMain);
    karvo::TfrmPlayerControl frmPlayerControl;
    frmMain.set_player_control(&frmPlayerControl);
    frmMain.set_options_dialog(&frmOptions);

    if (!frmMain.FormCreate())
        return 1;
    // However the program ends, its state is kept: logging out saves it, a signal closes the window as Exit does.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &frmMain,
                     [&frmMain](QSessionManager&) {
                         frmMain.write_recovery_copy_now();
                         frmMain.save_state_once();
                     });
    frmMain.show();
    return application.exec();
}
