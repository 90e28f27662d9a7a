// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/players/players_controller.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <unordered_map>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/job_runner.h"
#include "app/Main_form/main_context.h"
#include "app/Main_form/players/players_pane.h"
#include "app/Main_form/players/players_panel.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "app/qt_platform/qt_dispatcher.h"
#include "app/qt_platform/qt_media_bus.h"
#include "components/Fsnotify/TFSNotify.h"
#include "components/Thrdunit/TThreadTimer.h"
#include "library/auto_playlister.h"
#include "library/folder_scanner.h"
#include "library/playlist_class.h"
#include "library/playlist_edits.h"
#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "platform/local_sockets.h"
#include "platform/mixer.h"
#include "platform/paths.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/window_messages.h"
#include "players/linux_player_class.h"
#include "players/mpd_player.h"
#include "players/nad_class.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/player_table.h"
#include "players/sonique_class.h"
#include "players/volume_control.h"
#include "players/winamp_class.h"

namespace karvo {

namespace {

constexpr int remote_control_interval = 5000;
// Where an mpv the program starts listens for files to add; the same each run, so a later run still reaches it.
constexpr const char* mpv_socket_name = "karvo-media-mpv.sock";

} // namespace

players_controller::players_controller(main_context& context, command_registry& commands, const areas& others,
                                       QWidget* back)
    : QObject(back), context_(context), commands_(commands), others_(others) {
    declare_commands();
    players_ = new players_pane(back);
    wire_panel();
}

players_controller::~players_controller() {
    // A bus given by the caller outlives the window: it must not call back into it.
    if (bus_)
        bus_->watch({}, {});
}

void players_controller::declare_commands() {
    command_registry& r = commands_;
    auto item = [&r](const char* id, const char* caption, QKeySequence key, std::function<void()> handler) {
        r.add({.id = id, .caption = QString::fromUtf8(caption), .key = key, .handler = std::move(handler)});
    };
    const media_list& list = context_.music_list;
    auto selected = [this] { return others_.playlist->selected_positions(); };
    item("mnuPlaySelected", "Play Selected", Qt::Key_F6, [this, &list, selected] {
        playback->play_selected(list, selected());
    });
    item("mnuPlayCurrentPlaylist", "Play Current Playlist", Qt::Key_F7, [this, &list] { playback->play(list); });
    item("mnuEnqueueSelected", "Enqueue Selected", Qt::Key_F8, [this, &list, selected] {
        playback->enqueue_selected(list, selected());
    });
    item("mnuEnqueuePlaylist", "Enqueue Playlist", Qt::Key_F9, [this, &list] { playback->enqueue_playlist(list); });
    item("mnuPlayAllPlaylists", "Play All Playlists", Qt::Key_F10,
         [this] { playback->play_all_playlists(*context_.playlists); });
    item("mnuPlayAllPlaylistsRandomized", "Play All Playlists (Randomized)", Qt::Key_F11,
         [this] { playback->play_all_playlists_randomized(*context_.playlists, context_.random); });
    r.add_menu("mnuPlay", QStringLiteral("Play"),
               {"mnuPlaySelected", "mnuPlayCurrentPlaylist", "mnuEnqueueSelected", "mnuEnqueuePlaylist",
                "mnuPlayAllPlaylists", "mnuPlayAllPlaylistsRandomized"});

    r.add({.id = "cmdPlay",
           .caption = QStringLiteral("Play"),
           .handler = [this, &list] { playback->play(list); },
           .hint = texts::play_hint,
           .picture = artwork::picture::play});
    r.add({.id = "cmdStop",
           .caption = QStringLiteral("Stop"),
           .handler = [this] { playback->stop(); },
           .hint = texts::stop_hint,
           .picture = artwork::picture::stop});
    r.add({.id = "cmdVolume",
           .caption = QStringLiteral("Volume"),
           .handler = [this] { toggle_volume_panel(); },
           .hint = texts::volume_hint,
           .picture = artwork::picture::volume_off});
    // Without a mouse: the players panel.
    item("mnuFoldPlayers", "Fold or Unfold the Players Panel", {}, [this] { players_->fold_or_unfold(); });
    item("mnuChoosePlayer", "Choose a Player", QKeySequence(Qt::CTRL | Qt::Key_P), [this] {
        players_->focus_panel();
    });
    // The playlist's double click: what Double_Click names, on the rows under it.
    r.add({.id = "LstMusicListDblClick",
           .caption = QStringLiteral("Double Click"),
           .handler = [this] { double_click(); },
           .visible = false});
}

void players_controller::wire_panel() {
    players_pane* panel = players_;
    connect(panel, &players_pane::label_clicked, this, [this](int label) { lblPlayerClick(label); });
    connect(panel, &players_pane::box_changed, this, [this](int entry) { cmbPlayersChange(entry); });
    connect(panel, &players_pane::files_dropped, this,
            [this](int slot, const string_list& files) { drop_files_on_player(slot, files); });
    connect(panel, &players_pane::playlist_drag_over, this,
            [this](int slot, bool* accepted) { *accepted = show_player_popup(slot); });
    connect(panel, &players_pane::playlist_dropped, this, [this](int slot) { drop_on_player(slot); });
    connect(panel, &players_pane::marker_hovered, this, [this](int marker) { RCImageMouseMove(marker); });
    connect(players_, &players_pane::popup_dropped, this, [this](int tag, int x, bool two_part) {
        if (two_part)
            playback->drop_on_two_part_popup(tag, x, context_.music_list, others_.playlist->selected_positions());
        else
            drop_on_player(tag);
    });

    connect(panel, &players_pane::volume_pressed_at, this, [this](int at) { show_volume(volume->press(at)); });
    connect(panel, &players_pane::volume_dragged_to, this, [this](int at) {
        volume_display shown;
        if (volume->move(at, shown))
            show_volume(shown);
    });
    connect(panel, &players_pane::volume_released, this, [this] { volume->release(); });
    connect(panel, &players_pane::volume_moved, this, [this](int left, int top) {
        context_.state.volume_left = left;
        context_.state.volume_top = top;
    });
}

void players_controller::make_drivers() {
    platform::program_starter& starter = context_.starter();
    platform::window_messages& windows = context_.windows();
    winamp = std::make_unique<winamp_class>(windows, starter);
    nad = std::make_unique<nad_class>(windows, starter);
    sonique = std::make_unique<sonique_class>(windows, starter);
    auto file_exists = context_.environment.program_exists
                           ? context_.environment.program_exists
                           : [](const std::string& path) { return platform::file_exists(path); };
    // The music daemon has no program on this machine: its marker location counts as there.
    auto exists = [file_exists](const std::string& path) { return is_mpd_location(path) || file_exists(path); };
    selection = std::make_unique<player_selection>(context_.prompts(), context_.messages, context_.settings_ini, exists);

    // Every other player: over the session bus, and the command lines of the player table.
    if (context_.environment.bus) {
        bus_ = context_.environment.bus;
    } else {
        own_bus = std::make_unique<qt_media_bus>();
        bus_ = own_bus.get();
    }
    linux_table = std::make_unique<player_table>(load_player_table(context_.program_folder, context_.data_folder));
    const linux_player_services services{*bus_, starter, platform::system_local_sockets(), *linux_table,
                                         platform::runtime_socket_path(mpv_socket_name)};
    linux_players = std::make_unique<linux_player_class>(services);
    playback_services commands{*selection,        starter,          windows,
                               *winamp,           *nad,             *sonique,
                               context_.prompts(), context_.messages, context_.data_folder};
    commands.linux_players = linux_players.get();
    // Its worker only hands over; the window takes the news on its own thread.
    mpd_ = std::make_unique<mpd_player>(
        [this] { QMetaObject::invokeMethod(this, [this] { mpd_events(); }, Qt::QueuedConnection); });
    commands.mpd = mpd_.get();
    commands.status = [this](const std::string& text) { others_.frame->show_message(QString::fromStdString(text)); };
    playback = std::make_unique<playback_commands>(std::move(commands));
    wire_player_control();
    bus_->watch([this](const std::string& name, bool) { bus_player_changed(name, true); },
                [this](const std::string& name) { bus_player_changed(name, false); });
    // A user's table with lines it could not read says so once; after the create event, so the location line that
    // ends it does not hide it at once.
    if (!linux_table->problems.empty()) {
        std::string problems;
        for (const std::string& line : linux_table->problems)
            problems += (problems.empty() ? "" : "  ") + line;
        QTimer::singleShot(0, this,
                           [this, problems] { others_.frame->show_message(QString::fromStdString(problems)); });
    }

    volume = std::make_unique<volume_control>(context_.environment.mixer ? *context_.environment.mixer
                                                                         : platform::system_mixer());
    RemoteControlTimer = std::make_unique<TThreadTimer>(gui_thread_dispatcher());
    RemoteControlTimer->set_interval(remote_control_interval);
    RemoteControlTimer->set_priority(TThreadPriority::tpIdle);
    RemoteControlTimer->set_on_timer([this](TThreadTimer&) { RemoteControlTimerTimer(); });
}

void players_controller::apply_settings() {
    if (!selection)
        make_drivers();
    const main_settings& settings = context_.settings;
    const resource_plugin& resource = context_.resource;

    // Player locations; a slot takes files from a file manager only while its program exists.
    player_lists& lists = selection->lists;
    lists.names = resource.player_names();
    lists.locations = settings.player_locations;
    lists.program_names = resource.program_names();
    lists.default_locations = resource.default_locations();
    lists.home_pages = resource.home_pages();
    selection->names_changed();
    refresh_player_slots();
    players_->set_extra_players(selection->extra_player_names());

    // The volume display: what the mixer has now, without setting it.
    players_->show_volume_at_startup(volume->read_at_startup(), settings.misc_back_color_off);

    mpd_->configure(read_mpd_settings(context_.settings_ini));
    selection->select_at_startup(settings.selected_player);
    refresh_player_labels();

    // Double_Click names the default command of the menu.
    commands_.menu("mnuPlay")->setDefaultAction(settings.double_click == 0   ? commands_.action("mnuEnqueueSelected")
                                                : settings.double_click == 1 ? commands_.action("mnuPlaySelected")
                                                                             : nullptr);
    context_.media_types.load(settings.enabled_extensions, {});
    reload_auto_playlister();
}

void players_controller::reload_auto_playlister() {
    if (!AutoPlaylister) {
        AutoPlaylisterChange = std::make_unique<TFSNotify>(gui_thread_dispatcher());
        auto_playlister_services services{
            *AutoPlaylisterChange,
            *context_.scanners,
            *context_.playlists,
            [this](const std::string& path) { return context_.media_info(path); },
            [this] { return players_->top_caption(); },
            [this](const std::string& path) { winamp->enqueue_file(path); },
            [this](const std::string& path) {
                nad->find_window();
                nad->enqueue_file(path);
            },
            [this](const std::string& path) { others_.playlist->add_files_at_end({path}); },
            [this](const std::string& text) { others_.frame->show_message(QString::fromStdString(text)); },
            [this](const std::string& path) { playback->enqueue_quietly({path}); },
            [this](const std::string& path, const std::string& info) {
                for (int row : refresh_rows_of(context_.music_list, path, info))
                    others_.playlist->rows_changed(row, row);
            },
            [this](const std::vector<burst_file>& files) {
                string_list paths;
                std::unordered_map<std::string, std::string> infos;
                for (const burst_file& file : files) {
                    paths.push_back(file.path);
                    infos.emplace(file.path, file.info);
                }
                others_.playlist->add_files_at_end(paths, [&infos](const std::string& path) {
                    const auto it = infos.find(path);
                    return it == infos.end() ? std::string() : it->second;
                });
            },
            [this](std::shared_ptr<auto_playlist_burst> job, std::function<void()> finish) { run_burst(job, finish); },
        };
        AutoPlaylister = std::make_unique<auto_playlister>(std::move(services));
    }
    AutoPlaylister->reload(context_.settings.auto_playlister);
}

// A burst's reads run on a worker with the count on the status line (Esc cancels what is not read yet); the
// actions follow here, on the window's thread.
void players_controller::run_burst(const std::shared_ptr<auto_playlist_burst>& job, const std::function<void()>& finish) {
    if (!burst_runner_)
        burst_runner_ = std::make_unique<job_runner>(others_.frame->window());
    const auto progress = [this](int done, int total) {
        others_.frame->show_progress("Auto Playlister: " + std::to_string(done) + " of " + std::to_string(total) +
                                     " new files read (Esc cancels)");
    };
    const auto done = [this, finish](bool) {
        others_.frame->finish_progress();
        others_.frame->show_location();
        finish(); // the files read so far are acted on, whether the job ended early or not
    };
    if (!burst_runner_->start(job->control(), [job] { job->run(); }, progress, done)) {
        job->run(); // cannot happen: a burst starts only once the last one is over
        finish();
    }
}

void players_controller::set_player_control(TfrmPlayerControl* panel) {
    frmPlayerControl = panel;
    if (linux_players)
        wire_player_control();
}

void players_controller::wire_player_control() {
    if (!frmPlayerControl)
        return;
    platform::program_starter& starter = context_.starter();
    frmPlayerControl->set_drivers(context_.windows(), starter);
    frmPlayerControl->set_bus_players({*bus_, starter, platform::system_local_sockets(), *linux_table,
                                       platform::runtime_socket_path(mpv_socket_name)});
    frmPlayerControl->set_mpd(mpd_.get());
}

string_list players_controller::player_locations() const {
    return selection ? selection->lists.locations : context_.settings.player_locations;
}

void players_controller::set_player_location(int player, const std::string& path) {
    if (player < 0)
        return;
    const auto at = static_cast<std::size_t>(player);
    std::vector<std::string>& settings = context_.settings.player_locations;
    if (settings.size() <= at)
        settings.resize(at + 1);
    settings[at] = path;
    if (!selection)
        return;
    if (selection->lists.locations.size() <= at)
        selection->lists.locations.resize(at + 1);
    selection->lists.locations[at] = path;
    refresh_player_slots();
}

// The slot captions and which slot takes files from a file manager (its program exists).
void players_controller::refresh_player_slots() {
    std::vector<std::string> captions;
    std::vector<bool> accepts;
    for (int slot = 0; slot < player_slot_count; ++slot) {
        captions.push_back(selection->slot_caption(slot));
        accepts.push_back(selection->slot_accepts_drops(slot));
    }
    players_->set_slots(captions, accepts);
}

void players_controller::refresh_player_labels() {
    players_->show_selection(selection->name(), selection->extra_label());
    // The daemon is followed only while it is the player, so an unused one costs nothing.
    mpd_->watch(playback->mpd_selected());
    update_now_playing();
}

void players_controller::restore_volume_panel() {
    shell_state& state = context_.state;
    players_->move_volume(state.volume_left, state.volume_top);
    const bool shown = state.volume_visible;
    state.volume_visible = false;
    players_->set_volume_visible(false);
    commands_.set_picture("cmdVolume", artwork::picture::volume_off);
    if (shown)
        toggle_volume_panel();
}

void players_controller::toggle_volume_panel() {
    shell_state& state = context_.state;
    state.volume_visible = !state.volume_visible;
    players_->set_volume_visible(state.volume_visible);
    commands_.set_picture("cmdVolume",
                          state.volume_visible ? artwork::picture::volume_on : artwork::picture::volume_off);
}

void players_controller::set_volume(int value) {
    show_volume(volume->set(value));
}

void players_controller::show_volume(const volume_display& shown) {
    players_->show_volume(shown);
    // The daemon plays elsewhere, maybe on another machine: the bar sets its volume too.
    if (playback->mpd_selected())
        mpd_->set_volume(shown.value);
}

void players_controller::mpd_events() {
    bool changed = false;
    for (const mpd_event& event : mpd_->take_events()) {
        if (event.what == mpd_event::kind::status) {
            changed = true;
            continue;
        }
        // News of a daemon the user has since left is no longer theirs.
        if (!playback->mpd_selected())
            continue;
        const std::string text =
            event.what == mpd_event::kind::failed
                ? message_with(context_.messages[player_failed_message],
                               {selection->name(), event.error + " (" + mpd_address(mpd_->settings()) + ")"})
                : message_with(context_.messages[not_taken_message],
                               {std::to_string(event.rejected.size()), selection->name()}) +
                      listed(event.rejected);
        // One box at a time; what comes while it is open, or only while following, goes to the status line.
        if (event.quiet || mpd_box_open_) {
            others_.frame->show_message(QString::fromStdString(text));
            continue;
        }
        mpd_box_open_ = true;
        context_.prompts().message_box(text, application_title, platform::message_buttons::ok,
                                       platform::message_icon::warning);
        mpd_box_open_ = false;
    }
    if (!changed)
        return;
    update_now_playing();
    RemoteControlTimerTimer();
    if (frmPlayerControl)
        frmPlayerControl->mpd_changed();
}

void players_controller::lblPlayerClick(int label) {
    selection->select_by_label(players_->slot_caption(label));
    refresh_player_labels();
}

void players_controller::cmbPlayersChange(int entry) {
    if (selection->select_extra(entry))
        players_->mark_extra_selected();
    refresh_player_labels();
}

void players_controller::double_click() {
    switch (playback->double_click(context_.music_list, others_.playlist->selected_positions(),
                                   others_.playlist->focused_row(), context_.settings.double_click)) {
        case double_click_follow_up::delete_selected: commands_.invoke("RemoveAllSelected"); break;
        case double_click_follow_up::select_all: commands_.invoke("mnuSelectAll"); break;
        case double_click_follow_up::none: break;
    }
}

void players_controller::play_paths(const string_list& paths) {
    if (playback)
        playback->play_paths(paths);
    else
        write_temp_playlist(context_.data_folder, paths);
}

void players_controller::play_listing_rows(const std::vector<int>& rows) {
    if (playback)
        playback->play_folder_selection(context_.folder_list, rows);
}

void players_controller::RemoteControlTimerTimer() {
    const remote_markers markers = playback->remote_control_tick(context_.settings.enhanced_winamp,
                                                                 players_->slot_top(0), players_->slot_top(1));
    players_->set_marker(0, markers.winamp.remote_picture, markers.winamp.top);
    players_->set_marker(1, markers.sonique.remote_picture, markers.sonique.top);
    // The other labels, the extra players' one included, by the player their caption names.
    for (int label = 2; label < players_panel::label_count; ++label) {
        const int index = selection->index_of(players_->slot_caption(label));
        const remote_marker marker = playback->bus_player_marker(index, players_->slot_top(label));
        players_->set_marker(label, marker.remote_picture, marker.top);
    }
}

void players_controller::RCImageMouseMove(int marker) {
    // Passing on over the panel's own marker neither moves the open panel nor opens it again.
    if (!frmPlayerControl || frmPlayerControl->isVisible())
        return;
    const QPoint cursor = QCursor::pos();
    const int width = frmPlayerControl->width();
    const int height = frmPlayerControl->height();
    std::optional<control_panel_opening> opening;
    int index = -1;
    if (marker < 2) {
        opening = playback->remote_control_hover(marker, context_.settings.enhanced_winamp, cursor.x(), cursor.y(),
                                                 width, height);
    } else {
        index = selection->index_of(players_->slot_caption(marker));
        opening = playback->bus_player_hover(index, cursor.x(), cursor.y(), width, height);
    }
    if (!opening)
        return;
    frmPlayerControl->player_kind = opening->player_kind;
    if (opening->player_kind == 2)
        frmPlayerControl->sonique_path = opening->sonique_location;
    if (opening->player_kind == bus_player_kind || opening->player_kind == mpd_player_kind) {
        frmPlayerControl->bus_program = opening->program;
        frmPlayerControl->bus_player = entry_or_empty(selection->lists.names, index);
    }
    frmPlayerControl->move(opening->left, opening->top);
    frmPlayerControl->show();
}

void players_controller::bus_player_changed(const std::string& bus_name, bool names_changed) {
    // A player that came or went shows or hides its marker now rather than at the next tick.
    if (names_changed)
        RemoteControlTimerTimer();
    if (names_changed || playback->is_selected_instance(bus_name))
        update_now_playing();
    if (frmPlayerControl)
        frmPlayerControl->player_changed(bus_name);
}

void players_controller::update_now_playing() {
    others_.playlist->set_playing_path(playback->now_playing_path());
}

void players_controller::drop_files_on_player(int slot, const string_list& files) {
    playback->drop_files_on_slot(slot, files,
                                 [this](const std::string& name) { return context_.media_types.is_media_file(name); });
}

bool players_controller::show_player_popup(int slot) {
    const QPoint origin = players_->slot_origin(slot);
    return players_->show_popup(playback->drag_over_slot(slot, origin.x(), origin.y()));
}

void players_controller::drop_on_player(int slot) {
    players_->hide_popups();
    playback->drop_on_slot(slot, context_.music_list, others_.playlist->selected_positions());
}

} // namespace karvo
