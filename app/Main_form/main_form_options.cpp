// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the preferences dialog. The toolbar's cmdOptions shows it with what the window and the plug-ins know;
// a location typed there is taken at once, and after OK or Apply the window loads its settings again and
// refreshes what depends on them.
#include <QCoreApplication>
#include <QTableView>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/players_pane.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Options/TfrmOptions.h"
#include "app/resources/artwork.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "players/player_selection.h"

namespace karvo {

void TfrmMain::set_options_dialog(TfrmOptions* dialog) {
    frmOptions = dialog;
    if (!frmOptions)
        return;
    options_environment environment;
    environment.program_folder = program_folder;
    environment.program_path = QCoreApplication::applicationFilePath().toStdString();
    // Beside the program in a build tree; the installed icon theme's name otherwise.
    const std::string icon_file = program_folder + "karvo-media.svg";
    environment.icon = platform::file_exists(icon_file) ? icon_file : "karvo-media";
    environment.prompts = &environment_.prompts;
    environment.folders = platform::user_folders_from_environment();
    frmOptions->set_up(std::move(environment));
    frmOptions->set_settings(&settings_ini);
    connect(frmOptions, &TfrmOptions::settings_written, this, [this] { settings_changed(); });
    connect(frmOptions, &TfrmOptions::player_location_entered, this,
            [this](int player, const QString& path) { set_player_location(player, path.toStdString()); });
    // The plug-in page's buttons: each call loads the plug-in for that one call.
    connect(frmOptions, &TfrmOptions::export_configure_requested, this,
            [this](int index) { exports_.show_config_window(static_cast<std::size_t>(index)); });
    connect(frmOptions, &TfrmOptions::export_about_requested, this,
            [this](int index) { exports_.show_about_window(static_cast<std::size_t>(index)); });
}

void TfrmMain::cmdOptionsClick() {
    if (!frmOptions)
        return;
    options_sources sources;
    sources.player_names = resource.player_names();
    sources.player_locations = selection ? selection->lists.locations : settings_.player_locations;
    sources.program_names = resource.program_names();
    sources.extensions = resource.extensions();
    sources.extension_descriptions = resource.extension_display();
    for (const auto& png : resource.extension_icons())
        sources.extension_icons.emplace_back(artwork::pixmap_from_png(png));
    sources.saved_playlists = playlists->names();
    sources.resource_name = resource_plugin::relative_path;
    sources.resource_author = resource.author();
    sources.resource_version = resource.version_label();
    sources.resource_info = resource.info_lines();
    for (std::size_t i = 0; i < exports_.count(); ++i)
        sources.export_plugins.push_back(exports_.display_line(i));
    frmOptions->show_options(sources);
}

void TfrmMain::set_player_location(int player, const std::string& path) {
    if (player < 0)
        return;
    const auto at = static_cast<std::size_t>(player);
    if (settings_.player_locations.size() <= at)
        settings_.player_locations.resize(at + 1);
    settings_.player_locations[at] = path;
    if (!selection)
        return;
    if (selection->lists.locations.size() <= at)
        selection->lists.locations.resize(at + 1);
    selection->lists.locations[at] = path;
    refresh_player_slots();
}

void TfrmMain::settings_changed() {
    // Colours, font size, name switches, players, Double_Click, the enabled extensions and the auto playlister.
    Load_settings();
    // Exit writes search_item back from the window's state; without this the dialog's choice would be lost there.
    state_.search_item = settings_.search_item;
    playlist_->view()->viewport()->update();
    listing_->view()->viewport()->update();
}

} // namespace karvo
