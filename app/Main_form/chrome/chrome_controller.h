// SPDX-License-Identifier: GPL-3.0-or-later
// The window's frame: the title strip and grip, the status line (the shell the other areas report to), the tray icon
// and its menu, the preferences dialog, About, the online pages and Exit.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/Main_form/areas.h"

class QWidget;

namespace karvo {

class chrome_pane;
class command_registry;
class status_pane;
class TStatusIcon;
class TfrmOptions;
struct main_context;

// What the frame needs from the window that made it.
struct chrome_hooks {
    std::function<void()> save_state;      // once, before the program ends
    std::function<bool()> may_end;         // the unsaved-changes question; false: the user stays
    std::function<void()> reload_settings; // after the preferences were written
    // The players' locations as the preferences show them, and one typed there, taken at once.
    std::function<string_list()> player_locations;
    std::function<void(int player, const std::string& path)> set_player_location;
};

class chrome_controller : public QObject, public shell {
    Q_OBJECT
public:
    chrome_controller(main_context& context, command_registry& commands, QWidget* window, QWidget* back,
                      chrome_hooks hooks);

    chrome_pane& pane() const { return *chrome_; }
    status_pane& status() const { return *status_; }
    TStatusIcon& tray_icon() const { return *IconTray; }

    void set_options_dialog(TfrmOptions* dialog);
    void set_about_box(QWidget* about) { frmAbout = about; }
    void apply_settings(); // the tray icon and show_in
    void settings_written() { hooks_.reload_settings(); } // by the preferences' OK or Apply
    void place(int width, int height, int status_left, int status_top, int status_width, int status_height);

    // shell
    void show_message(const QString& text) override;
    void show_location() override;
    void refresh_location() override;
    void show_progress(const std::string& line) override;
    void finish_progress() override;
    void report_unread(int unread_before) override;
    void set_current_folder(const std::string& folder) override;
    void set_current_playlist_name(const std::string& name) override;
    void set_current_media_cd_name(const std::string& name) override;
    void show_list_name(const QString& name) override;
    QWidget* window() override { return window_; }
    void exit() override;
    bool end(); // Exit: false when the user chose to stay
    void end_by_session(); // a signal or the session's end: no question, the program ends
    void restore_from_tray();

private:
    void declare_commands();
    void create_tray_icon();
    void apply_show_in(int show_in); // 0 taskbar only, 1 tray only, 2 both
    void minimize();
    void show_options();
    void open_web_page(const std::string& address);

    main_context& context_;
    command_registry& commands_;
    QWidget* window_;
    chrome_hooks hooks_;
    chrome_pane* chrome_ = nullptr;
    status_pane* status_ = nullptr;
    TStatusIcon* IconTray = nullptr;
    TfrmOptions* frmOptions = nullptr;
    QWidget* frmAbout = nullptr;
};

} // namespace karvo
