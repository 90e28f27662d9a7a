// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/chrome/chrome_controller.h"

#include <QCoreApplication>
#include <QList>
#include <QWidget>

#include "app/Main_form/chrome/chrome_pane.h"
#include "app/Main_form/chrome/status_line.h"
#include "app/Main_form/chrome/status_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/main_context.h"
#include "app/Options/TfrmOptions.h"
#include "app/resources/artwork.h"
#include "app/resources/tray_icons.h"
#include "components/Statusicon/TStatusIcon.h"
#include "library/folder_scanner.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "platform/program_starter.h"

namespace karvo {

namespace {

constexpr const char* tray_hint = "Karvo Media v4.0 beta 3.5";

} // namespace

chrome_controller::chrome_controller(main_context& context, command_registry& commands, QWidget* window,
                                     QWidget* back, chrome_hooks hooks)
    : QObject(window), context_(context), commands_(commands), window_(window), hooks_(std::move(hooks)) {
    declare_commands();
    chrome_ = new chrome_pane(window, back, commands_, "mnuExitKarvo");
    status_ = new status_pane(context_.state, back);
    status_->move_window_with(*chrome_);
    connect(chrome_, &chrome_pane::minimize_clicked, this, [this] { minimize(); });
    create_tray_icon();
}

void chrome_controller::declare_commands() {
    command_registry& r = commands_;
    r.add({.id = "mnuAbout", .caption = QStringLiteral("About Karvo Media."), .handler = [this] {
               if (frmAbout)
                   frmAbout->show();
           }});
    const std::pair<const char*, const char*> pages[] = {
        {"Karvo Media Home Page", "https://github.com/karvo-media/karvo-media"},
        {"Report a Problem", "https://github.com/karvo-media/karvo-media/issues"},
        {"Writing Plug-ins", "https://github.com/karvo-media/karvo-media/blob/main/sdk/karvo_plugin.h"}};
    std::vector<std::string> online;
    for (const auto& [caption, address] : pages) {
        const std::string id = "mnuOnline" + std::to_string(online.size() + 1);
        r.add({.id = id,
               .caption = QString::fromUtf8(caption),
               .handler = [this, url = std::string(address)] { open_web_page(url); }});
        online.push_back(id);
    }
    r.add_menu("mnuOnline", QStringLiteral("Online"), online);
    r.add({.id = "mnuExitKarvo",
           .caption = QStringLiteral("Exit"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_X),
           .handler = [this] { exit(); }});
    r.add({.id = "cmdOptions",
           .caption = QStringLiteral("Preferences"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_O),
           .handler = [this] { show_options(); },
           .hint = texts::options_hint,
           .picture = artwork::picture::options});
    // The tray icon's menu.
    r.add({.id = "mnuShow", .caption = QStringLiteral("Show Karvo Media"), .handler = [this] { restore_from_tray(); }});
    r.add({.id = "mnuExit", .caption = QStringLiteral("Exit Karvo Media"), .handler = [this] { exit(); }});
    r.add_menu("IconTrayMenu", {}, {"mnuShow", "mnuExit"});

    // The commands of the picture buttons and panels, for the keyboard.
    r.add({.id = "mnuMinimize", .caption = QStringLiteral("Minimize"), .handler = [this] { minimize(); }});
    r.add_menu("mnuWindow", QStringLiteral("Window"),
               {"cmdPlay", "cmdStop", "cmdVolume", "mnuChoosePlayer", menu_separator, "cmdSort", "cmdSortza",
                "cmdRandom", "mnuSortColumn", menu_separator, "mnuFind", "mnuFoldSearch", "mnuFoldPlayers",
                menu_separator, "cmdOptions", "mnuMinimize"});
}

void chrome_controller::create_tray_icon() {
    IconTray = new TStatusIcon(window_, context_.environment.tray_available);
    IconTray->setObjectName("IconTray");
    IconTray->set_Hint(QString::fromLatin1(tray_hint));
    QList<QIcon> icon_tray;
    for (int i = 0; i < artwork::tray_icon_count; ++i)
        icon_tray.append(artwork::tray_icon(i));
    IconTray->set_Icons(std::move(icon_tray));
    IconTray->set_PopupMenu(commands_.menu("IconTrayMenu"));
    IconTray->set_application_window(window_);
    connect(IconTray, &TStatusIcon::OnClick, this, [this] { restore_from_tray(); });
}

void chrome_controller::apply_settings() {
    IconTray->set_IconIndex(context_.settings.system_tray_icon);
    window_->setWindowIcon(IconTray->current_icon());
    apply_show_in(context_.settings.show_in);
}

void chrome_controller::apply_show_in(int show_in) {
    IconTray->set_Enabled(show_in == 1 || show_in == 2);
    IconTray->set_HideAppl(show_in == 1);
}

void chrome_controller::minimize() {
    window_->showMinimized();
    context_.settings.show_in = read_show_in(context_.settings_ini);
    apply_show_in(context_.settings.show_in);
}

void chrome_controller::restore_from_tray() {
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
    context_.settings.show_in = read_show_in(context_.settings_ini);
    apply_show_in(context_.settings.show_in);
}

void chrome_controller::exit() {
    end();
}

bool chrome_controller::end() {
    if (!hooks_.may_end())
        return false;
    end_by_session();
    return true;
}

void chrome_controller::end_by_session() {
    hooks_.save_state();
    IconTray->set_Enabled(false); // the icon leaves the notification area with the program
    if (context_.environment.terminate)
        context_.environment.terminate();
}

void chrome_controller::place(int width, int height, int status_left, int status_top, int status_width,
                              int status_height) {
    chrome_->place(width, height);
    status_->place(status_left, status_top, status_width, status_height);
}

void chrome_controller::open_web_page(const std::string& address) {
    context_.starter().open("xdg-open", "\"" + address + "\"", {}, platform::show_mode::normal);
}

void chrome_controller::set_options_dialog(TfrmOptions* dialog) {
    frmOptions = dialog;
    if (!frmOptions)
        return;
    options_environment environment;
    environment.program_folder = context_.program_folder;
    environment.program_path = QCoreApplication::applicationFilePath().toStdString();
    // Beside the program in a build tree; the installed icon theme's name otherwise.
    const std::string icon_file = context_.program_folder + "karvo-media.svg";
    environment.icon = platform::file_exists(icon_file) ? icon_file : "karvo-media";
    environment.prompts = &context_.prompts();
    environment.folders = platform::user_folders_from_environment();
    frmOptions->set_up(std::move(environment));
    frmOptions->set_settings(&context_.settings_ini);
    connect(frmOptions, &TfrmOptions::settings_written, this, [this] { settings_written(); });
    connect(frmOptions, &TfrmOptions::player_location_entered, this,
            [this](int player, const QString& path) { hooks_.set_player_location(player, path.toStdString()); });
    // The plug-in page's buttons: each call loads the plug-in for that one call.
    connect(frmOptions, &TfrmOptions::export_configure_requested, this,
            [this](int index) { context_.exports.show_config_window(static_cast<std::size_t>(index)); });
    connect(frmOptions, &TfrmOptions::export_about_requested, this,
            [this](int index) { context_.exports.show_about_window(static_cast<std::size_t>(index)); });
}

void chrome_controller::show_options() {
    if (!frmOptions)
        return;
    const resource_plugin& resource = context_.resource;
    options_sources sources;
    sources.player_names = resource.player_names();
    sources.player_locations = hooks_.player_locations();
    sources.program_names = resource.program_names();
    sources.extensions = resource.extensions();
    sources.extension_descriptions = resource.extension_display();
    for (const auto& png : resource.extension_icons())
        sources.extension_icons.emplace_back(artwork::pixmap_from_png(png));
    sources.saved_playlists = context_.playlists->names();
    sources.resource_name = resource_plugin::relative_path;
    sources.resource_author = resource.author();
    sources.resource_version = resource.version_label();
    sources.resource_info = resource.info_lines();
    for (std::size_t i = 0; i < context_.exports.count(); ++i)
        sources.export_plugins.push_back(context_.exports.display_line(i));
    frmOptions->show_options(sources);
}

void chrome_controller::show_message(const QString& text) {
    status_->show_message(text);
}

void chrome_controller::show_location() {
    status_->show_location();
}

void chrome_controller::refresh_location() {
    status_->refresh_location();
}

void chrome_controller::show_progress(const std::string& line) {
    status_->show_progress(QString::fromStdString(line));
}

void chrome_controller::finish_progress() {
    status_->finish_progress();
}

void chrome_controller::report_unread(int unread_before) {
    const int unread = context_.resource.unread_count() - unread_before;
    if (unread > 0)
        status_->show_message(QString::fromStdString(unread_files_message(unread)));
}

void chrome_controller::set_current_folder(const std::string& folder) {
    context_.state.current_folder = folder;
    context_.settings_ini.set_string("Settings", "LastDir", folder);
    status_->set_folder(QString::fromStdString(folder));
}

void chrome_controller::set_current_playlist_name(const std::string& name) {
    context_.state.current_playlist_name = name;
    status_->set_playlist_name(QString::fromStdString(name));
}

void chrome_controller::set_current_media_cd_name(const std::string& name) {
    context_.state.current_media_cd_name = name;
    status_->set_media_cd_name(QString::fromStdString(name));
}

void chrome_controller::show_list_name(const QString& name) {
    status_->set_playlist_name(name);
}

} // namespace karvo
