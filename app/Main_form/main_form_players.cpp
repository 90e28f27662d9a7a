// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the players panel and its popups, the play, stop and enqueue commands with their menu and keys, the
// remote-control markers and now playing of the players on the session bus, the volume panel, and the M3U/PLS
// import and export commands. Each handler reads its
// widgets, calls one operation of the players' or the library's logic and refreshes what changed.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTimer>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/players_pane.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/tree_pane.h"
#include "app/Main_form/navigation_tree.h"
#include "components/Thrdunit/TThreadTimer.h"
#include "players/linux_player_class.h"
#include "players/nad_class.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/player_table.h"
#include "players/sonique_class.h"
#include "players/volume_control.h"
#include "players/winamp_class.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players_panel.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/volume_panel.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "app/qt_platform/qt_dispatcher.h"
#include "app/qt_platform/qt_media_bus.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "library/playlist_import.h"
#include "platform/file_system.h"
#include "platform/local_sockets.h"
#include "platform/paths.h"
#include "platform/mixer.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/window_messages.h"

namespace karvo {

namespace {

constexpr int remote_control_interval = 5000;
constexpr int export_pls_title = 17;
constexpr int export_m3u_title = 18;
constexpr int add_m3u_title = 39;
constexpr int add_pls_title = 40;
// Where an mpv the program starts listens for files to add; the same each run, so a later run still reaches it.
constexpr const char* mpv_socket_name = "karvo-media-mpv.sock";

} // namespace

void TfrmMain::build_players() {
    players_panel* panel = players_->panel();
    connect(panel, &players_panel::label_clicked, this, [this](int label) { lblPlayerClick(label); });
    connect(panel, &players_panel::box_changed, this, [this](int entry) { cmbPlayersChange(entry); });
    connect(panel, &players_panel::files_dropped, this,
            [this](int slot, const string_list& files) { drop_files_on_player(slot, files); });
    connect(panel, &players_panel::playlist_drag_over, this,
            [this](int slot, bool* accepted) { *accepted = show_player_popup(slot); });
    connect(panel, &players_panel::playlist_dropped, this, [this](int slot) { drop_on_player(slot); });
    connect(panel, &players_panel::marker_hovered, this, [this](int marker) { RCImageMouseMove(marker); });
    connect(players_, &players_pane::popup_dropped, this, [this](int tag, int x, bool two_part) {
        if (two_part)
            playback->drop_on_two_part_popup(tag, x, music_list, selected_positions());
        else
            drop_on_player(tag);
    });

    volume_panel* panel_of_volume = players_->volume();
    volume_bar* bar = panel_of_volume->imgVolume;
    connect(bar, &volume_bar::pressed_at, this, [this](int at) { players_->show_volume(volume->press(at)); });
    connect(bar, &volume_bar::dragged_to, this, [this](int at) {
        volume_display shown;
        if (volume->move(at, shown))
            players_->show_volume(shown);
    });
    connect(bar, &volume_bar::released, this, [this] { volume->release(); });
    connect(panel_of_volume, &volume_panel::moved, this, [this](int left, int top) {
        state_.volume_left = left;
        state_.volume_top = top;
    });
}

void TfrmMain::apply_player_settings() {
    if (!selection) {
        platform::program_starter& starter =
            environment_.starter ? *environment_.starter : platform::system_program_starter();
        platform::window_messages& windows =
            environment_.windows ? *environment_.windows : platform::system_window_messages();
        winamp = std::make_unique<winamp_class>(windows, starter);
        nad = std::make_unique<nad_class>(windows, starter);
        sonique = std::make_unique<sonique_class>(windows, starter);
        auto exists = environment_.program_exists ? environment_.program_exists
                                                  : [](const std::string& path) { return platform::file_exists(path); };
        selection = std::make_unique<player_selection>(environment_.prompts, messages_, settings_ini, exists);

        // Every other player: over the session bus, and the command lines of the player table.
        if (environment_.bus) {
            bus_ = environment_.bus;
        } else {
            own_bus = std::make_unique<qt_media_bus>();
            bus_ = own_bus.get();
        }
        linux_table = std::make_unique<player_table>(load_player_table(program_folder, data_folder));
        const linux_player_services services{*bus_, starter, platform::system_local_sockets(), *linux_table,
                                             platform::runtime_socket_path(mpv_socket_name)};
        linux_players = std::make_unique<linux_player_class>(services);
        playback_services commands{*selection,           starter,   windows,    *winamp, *nad, *sonique,
                                   environment_.prompts, messages_, data_folder};
        commands.linux_players = linux_players.get();
        commands.status = [this](const std::string& text) { show_message(QString::fromStdString(text)); };
        playback = std::make_unique<playback_commands>(std::move(commands));
        wire_player_control();
        bus_->watch([this](const std::string& name, bool) { bus_player_changed(name, true); },
                    [this](const std::string& name) { bus_player_changed(name, false); });
        // A user's table with lines it could not read says so once; after the create event, so the location
        // line that ends it does not hide it at once.
        if (!linux_table->problems.empty()) {
            std::string problems;
            for (const std::string& line : linux_table->problems)
                problems += (problems.empty() ? "" : "  ") + line;
            QTimer::singleShot(0, this, [this, problems] { show_message(QString::fromStdString(problems)); });
        }

        volume = std::make_unique<volume_control>(environment_.mixer ? *environment_.mixer : platform::system_mixer());
        RemoteControlTimer = std::make_unique<TThreadTimer>(gui_thread_dispatcher());
        RemoteControlTimer->set_interval(remote_control_interval);
        RemoteControlTimer->set_priority(TThreadPriority::tpIdle);
        RemoteControlTimer->set_on_timer([this](TThreadTimer&) { RemoteControlTimerTimer(); });
    }

    // Player locations; a slot takes files from a file manager only while its program exists.
    player_lists& lists = selection->lists;
    lists.names = resource.player_names();
    lists.locations = settings_.player_locations;
    lists.program_names = resource.program_names();
    lists.default_locations = resource.default_locations();
    lists.home_pages = resource.home_pages();
    selection->names_changed();
    refresh_player_slots();
    players_->set_extra_players(selection->extra_player_names());

    // The volume display: what the mixer has now, without setting it.
    players_->show_volume_at_startup(volume->read_at_startup(), settings_.misc_back_color_off);

    selection->select_at_startup(settings_.selected_player);
    refresh_player_labels();

    // Double_Click names the default command of the menu.
    commands_->menu("mnuPlay")->setDefaultAction(settings_.double_click == 0   ? commands_->action("mnuEnqueueSelected")
                                                 : settings_.double_click == 1 ? commands_->action("mnuPlaySelected")
                                                                               : nullptr);
    media_types.load(settings_.enabled_extensions, {});
}

void TfrmMain::set_player_control(TfrmPlayerControl* panel) {
    frmPlayerControl = panel;
    if (linux_players)
        wire_player_control();
}

void TfrmMain::wire_player_control() {
    if (!frmPlayerControl)
        return;
    platform::program_starter& starter =
        environment_.starter ? *environment_.starter : platform::system_program_starter();
    frmPlayerControl->set_drivers(environment_.windows ? *environment_.windows : platform::system_window_messages(),
                                  starter);
    frmPlayerControl->set_bus_players({*bus_, starter, platform::system_local_sockets(), *linux_table,
                                       platform::runtime_socket_path(mpv_socket_name)});
}

// The slot captions and which slot takes files from a file manager (its program exists).
void TfrmMain::refresh_player_slots() {
    std::vector<std::string> captions;
    std::vector<bool> accepts;
    for (int slot = 0; slot < player_slot_count; ++slot) {
        captions.push_back(selection->slot_caption(slot));
        accepts.push_back(selection->slot_accepts_drops(slot));
    }
    players_->set_slots(captions, accepts);
}

void TfrmMain::refresh_player_labels() {
    players_->show_selection(selection->name(), selection->extra_label());
    update_now_playing();
}

void TfrmMain::restore_volume_panel() {
    players_->move_volume(state_.volume_left, state_.volume_top);
    const bool shown = state_.volume_visible;
    state_.volume_visible = false;
    players_->set_volume_visible(false);
    playlist_->button("cmdVolume")->set_picture(artwork::picture::volume_off);
    if (shown)
        cmdVolumeClick();
}

void TfrmMain::lblPlayerClick(int label) {
    selection->select_by_label(players_->slot_caption(label));
    refresh_player_labels();
}

void TfrmMain::cmbPlayersChange(int entry) {
    if (selection->select_extra(entry))
        players_->mark_extra_selected();
    refresh_player_labels();
}

void TfrmMain::cmdPlayClick() {
    playback->play(music_list);
}

void TfrmMain::cmdStopClick() {
    playback->stop();
}

void TfrmMain::mnuPlaySelectedClick() {
    playback->play_selected(music_list, selected_positions());
}

void TfrmMain::mnuEnqueueSelectedClick() {
    playback->enqueue_selected(music_list, selected_positions());
}

void TfrmMain::mnuEnqueuePlaylistClick() {
    playback->enqueue_playlist(music_list);
}

void TfrmMain::mnuPlayAllPlaylistsClick() {
    playback->play_all_playlists(*playlists);
}

void TfrmMain::mnuPlayAllPlaylistsRandomizedClick() {
    playback->play_all_playlists_randomized(*playlists, random);
}

void TfrmMain::LstMusicListDblClick() {
    switch (
        playback->double_click(music_list, selected_positions(), playlist_->focused_row(), settings_.double_click)) {
        case double_click_follow_up::delete_selected: commands_->invoke("RemoveAllSelected"); break;
        case double_click_follow_up::select_all: commands_->invoke("mnuSelectAll"); break;
        case double_click_follow_up::none: break;
    }
}

void TfrmMain::RemoteControlTimerTimer() {
    const remote_markers markers =
        playback->remote_control_tick(settings_.enhanced_winamp, players_->slot_top(0), players_->slot_top(1));
    players_->set_marker(0, markers.winamp.remote_picture, markers.winamp.top);
    players_->set_marker(1, markers.sonique.remote_picture, markers.sonique.top);
    // The other labels, the extra players' one included, by the player their caption names.
    for (int label = 2; label < players_panel::label_count; ++label) {
        const int index = selection->index_of(players_->slot_caption(label));
        const remote_marker marker = playback->bus_player_marker(index, players_->slot_top(label));
        players_->set_marker(label, marker.remote_picture, marker.top);
    }
}

void TfrmMain::RCImageMouseMove(int marker) {
    // Passing on over the panel's own marker neither moves the open panel nor opens it again.
    if (!frmPlayerControl || frmPlayerControl->isVisible())
        return;
    const QPoint cursor = QCursor::pos();
    const int width = frmPlayerControl->width();
    const int height = frmPlayerControl->height();
    std::optional<control_panel_opening> opening;
    int index = -1;
    if (marker < 2) {
        opening =
            playback->remote_control_hover(marker, settings_.enhanced_winamp, cursor.x(), cursor.y(), width, height);
    } else {
        index = selection->index_of(players_->slot_caption(marker));
        opening = playback->bus_player_hover(index, cursor.x(), cursor.y(), width, height);
    }
    if (!opening)
        return;
    frmPlayerControl->player_kind = opening->player_kind;
    if (opening->player_kind == 2)
        frmPlayerControl->sonique_path = opening->sonique_location;
    if (opening->player_kind == bus_player_kind) {
        frmPlayerControl->bus_program = opening->program;
        frmPlayerControl->bus_player = entry_or_empty(selection->lists.names, index);
    }
    frmPlayerControl->move(opening->left, opening->top);
    frmPlayerControl->show();
}

void TfrmMain::bus_player_changed(const std::string& bus_name, bool names_changed) {
    // A player that came or went shows or hides its marker now rather than at the next tick.
    if (names_changed)
        RemoteControlTimerTimer();
    if (names_changed || playback->is_selected_instance(bus_name))
        update_now_playing();
    if (frmPlayerControl)
        frmPlayerControl->player_changed(bus_name);
}

void TfrmMain::update_now_playing() {
    playlist_->model()->set_playing_path(playback->now_playing_path());
}

void TfrmMain::drop_files_on_player(int slot, const string_list& files) {
    playback->drop_files_on_slot(slot, files,
                                 [this](const std::string& name) { return media_types.is_media_file(name); });
}

bool TfrmMain::show_player_popup(int slot) {
    const players_panel* panel = players_->panel();
    return players_->show_popup(playback->drag_over_slot(slot, panel->x(), panel->y() + players_->slot_top(slot)));
}

void TfrmMain::drop_on_player(int slot) {
    players_->hide_popups();
    playback->drop_on_slot(slot, music_list, selected_positions());
}

void TfrmMain::cmdVolumeClick() {
    state_.volume_visible = !state_.volume_visible;
    players_->set_volume_visible(state_.volume_visible);
    playlist_->button("cmdVolume")
        ->set_picture(state_.volume_visible ? artwork::picture::volume_on : artwork::picture::volume_off);
}

void TfrmMain::set_volume(int value) {
    players_->show_volume(volume->set(value));
}

namespace {

// Failures the commands leave to the caller: one standard error report.
void report_failure(platform::prompts& prompts) {
    prompts.message_box(cant_write_file_text, application_title, platform::message_buttons::ok,
                        platform::message_icon::error);
}

} // namespace

void TfrmMain::ExportM3UClick() {
    // The M3U export reports its own failure.
    export_m3u(environment_.prompts, messages_[export_m3u_title], music_list);
}

void TfrmMain::ExportPLSClick() {
    if (export_pls(environment_.prompts, messages_[export_pls_title], music_list) == command_result::failed)
        report_failure(environment_.prompts);
}

// An import saves the file's entries as a saved playlist; the tree then shows it under "My Playlists", the status
// line says what was found, and the whole report stays for "Show Import Report".
void TfrmMain::import_playlist_file(playlist_format format, const std::string& title) {
    const import_outcome outcome = import_playlist(
        environment_.prompts, title, format, *playlists,
        [this](const std::string& path) { return resource.media_info_string(path); },
        [this] { rebuild_my_playlists(); }, system_roots());
    if (outcome.result == command_result::cancelled)
        return;
    last_import_report_ = outcome.report.details();
    if (outcome.result == command_result::failed) {
        environment_.prompts.message_box(outcome.report.error.empty() ? cant_write_file_text : outcome.report.error,
                                         application_title, platform::message_buttons::ok,
                                         platform::message_icon::error);
        return;
    }
    show_message(QString::fromStdString(outcome.report.summary()));
}

void TfrmMain::AddM3UPlaylistClick() {
    import_playlist_file(playlist_format::m3u, messages_[add_m3u_title]);
}

void TfrmMain::AddPLSPlaylistClick() {
    import_playlist_file(playlist_format::pls, messages_[add_pls_title]);
}

void TfrmMain::AddXSPFPlaylistClick() {
    import_playlist_file(playlist_format::xspf, xspf_import_title);
}

void TfrmMain::mnuImportReportClick() {
    environment_.prompts.message_box(
        last_import_report_.empty() ? "No playlist file was imported yet." : last_import_report_, application_title,
        platform::message_buttons::ok, platform::message_icon::information);
}

void TfrmMain::rebuild_my_playlists() {
    ListSavedPlaylists();
    tree_->tree()->expandItem(tree_->my_playlists());
}

} // namespace karvo
