// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application, its four long-lived windows in their order, then the main window's create event.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSessionManager>
#include <cstdio>
#include <unistd.h>

#include "app/About/TfrmAbout.h"
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome/chrome_controller.h"
#include "app/Main_form/playlist/history_controller.h"
#include "app/Main_form/playlist/playlist_controller.h"
#include "app/Options/TfrmOptions.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "app/qt_platform/instance_server.h"
#include "app/qt_platform/qt_prompts.h"
#include "app/qt_platform/quit_signals.h"
#include "library/open_files.h"
#include "platform/local_sockets.h"
#include "platform/paths.h"
#include "plugins/crash_note.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("karvo-media"));
    // No display name: Qt would append it to every window title, and each box has its own exact caption.
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

    const std::string program_folder = karvo::platform::program_folder();
    const std::string data_folder = karvo::platform::data_folder_for(program_folder);
    // Qt has taken its own options out of the arguments by now.
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.push_back(QFile::encodeName(argument).toStdString());
    const karvo::string_list files =
        karvo::command_line_files(arguments, QFile::encodeName(QDir::currentPath()).toStdString());
    // One instance per data folder: a second start hands its files to the running one and ends.
    const std::string instance_socket = karvo::instance_socket_path(data_folder);
    if (karvo::hand_over(karvo::platform::system_local_sockets(), instance_socket, files))
        return 0;

    const std::string crash_note = data_folder + "plugin_crash.txt";
    karvo::install_plugin_crash_note(crash_note);
    karvo::qt_prompts prompts;
    karvo::main_environment environment{program_folder, data_folder, prompts, [] { QApplication::quit(); }};
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
                         frmMain.history_area().write_recovery_copy_now();
                         frmMain.save_state_once();
                     });
    frmMain.show();
    if (const auto crashed = karvo::take_plugin_crash_note(crash_note))
        prompts.message_box(karvo::plugin_crash_message(*crashed), "Karvo", karvo::platform::message_buttons::ok,
                            karvo::platform::message_icon::information);
    karvo::instance_server instance([&frmMain](const karvo::string_list& paths) {
        frmMain.chrome_area().restore_from_tray(); // shown and raised as the tray icon's click does
        frmMain.playlist_area().open_files(paths);
    });
    instance.listen(instance_socket);
    if (!files.empty())
        frmMain.playlist_area().open_files(files);
    const int code = application.exec();
    if (frmMain.context().resource.has_stuck_reads()) {
        // A reader is still inside the plug-in: the state is saved, so end without unloading what it runs in.
        frmMain.save_state_once();
        std::fflush(nullptr);
        ::_exit(code);
    }
    return code;
}
