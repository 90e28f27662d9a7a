// TfrmMain: the players panel and its popups, the play, stop and enqueue commands with their menu and keys, the
// remote-control markers, the volume panel, and the M3U/PLS import and export commands. Each handler reads its
// widgets, calls one operation of the players' or the library's logic and refreshes what changed.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTableView>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players_panel.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/volume_panel.h"
#include "app/Player_control/TfrmPlayerControl.h"
#include "app/qt_platform/qt_dispatcher.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "platform/mixer.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/window_messages.h"

namespace karvo {

namespace {

constexpr int players_panel_left = 500;
constexpr int remote_control_interval = 5000;
constexpr int export_pls_title = 17;
constexpr int export_m3u_title = 18;
constexpr int add_m3u_title = 39;
constexpr int add_pls_title = 40;
constexpr int play_hint = 7;
constexpr int stop_hint = 8;

platform::ui_dispatcher& ui_thread() {
    // Outlives every timer worker, which may still be handing over a tick while the window goes.
    static qt_dispatcher dispatcher;
    return dispatcher;
}

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TfrmMain::build_players() {
    a->move(players_panel_left, 0);
    a->on_hint = [this](const QString& text) { show_message(text); };
    a->on_hint_end = [this] { show_location(); };
    a->on_label_click = [this](int label) { lblPlayerClick(label); };
    a->on_box_change = [this](int entry) { cmbPlayersChange(entry); };
    a->on_files_dropped = [this](int slot, const string_list& files) { drop_files_on_player(slot, files); };
    a->on_playlist_drag_over = [this](int slot) { return show_player_popup(slot); };
    a->on_playlist_drop = [this](int slot) { drop_on_player(slot); };
    a->on_playlist_drag_leave = [this] {
        // The popup that came up under the pointer takes the drag over; one the pointer never reached goes.
        const QPoint pointer = back_panel->mapFromGlobal(QCursor::pos());
        for (player_popup_panel* popup : {MPlayerPopup1, MPlayerPopup2})
            if (!popup->geometry().contains(pointer))
                popup->hide();
    };
    a->on_marker_hover = [this](int marker) { RCImageMouseMove(marker); };

    MPlayerPopup1 = new player_popup_panel(QStringLiteral("MPlayerPopup1"), false, 15, back_panel);
    MPlayerPopup2 = new player_popup_panel(QStringLiteral("MPlayerPopup2"), true, 12, back_panel);
    MPlayerPopup1->on_drop = [this](int tag, int) { drop_on_player(tag); };
    MPlayerPopup2->on_drop = [this](int tag, int x) {
        playback->drop_on_two_part_popup(tag, x, music_list, selected_positions());
    };

    // Entries leave the playlist by dragging; the drop targets use the selection, not the dragged data.
    LstMusicList->setDragEnabled(true);
    LstMusicList->setDragDropMode(QAbstractItemView::DragOnly);
    connect(LstMusicList, &QAbstractItemView::doubleClicked, this, [this] { LstMusicListDblClick(); });

    // Play, stop and the volume button follow the playlist's toolbar buttons.
    int x = SpliterToolbar->width() + 9;
    cmdPlay = new picture_button(artwork::picture::play, "cmdPlay", SpliterToolbar);
    cmdStop = new picture_button(artwork::picture::stop, "cmdStop", SpliterToolbar);
    cmdVolume = new picture_button(artwork::picture::volume_off, "cmdVolume", SpliterToolbar);
    for (picture_button* button : {cmdPlay, cmdStop, cmdVolume}) {
        button->setGeometry(x, 1, 22, 22);
        x += 25;
        button->on_leave = [this](picture_button&) { show_location(); };
    }
    SpliterToolbar->resize(x, SpliterToolbar->height());
    cmdPlay->on_enter = [this](picture_button&) { show_message(text_of(messages[play_hint])); };
    cmdStop->on_enter = [this](picture_button&) { show_message(text_of(messages[stop_hint])); };
    cmdVolume->on_enter = [this](picture_button&) { show_message(QStringLiteral("Show or hide the Volume panel.")); };
    connect(cmdPlay, &QAbstractButton::clicked, this, [this] { cmdPlayClick(); });
    connect(cmdStop, &QAbstractButton::clicked, this, [this] { cmdStopClick(); });
    connect(cmdVolume, &QAbstractButton::clicked, this, [this] { cmdVolumeClick(); });

    Volume = new volume_panel(back_panel);
    Volume->imgVolume->on_press = [this](int at) {
        const volume_display shown = volume->press(at);
        Volume->imgVolume->show_value(shown.value);
        Volume->lblVolumePercent->setText(text_of(shown.label));
    };
    Volume->imgVolume->on_move = [this](int at) {
        volume_display shown;
        if (!volume->move(at, shown))
            return;
        Volume->imgVolume->show_value(shown.value);
        Volume->lblVolumePercent->setText(text_of(shown.label));
    };
    Volume->imgVolume->on_release = [this] { volume->release(); };
    auto press = std::make_shared<std::pair<QPoint, panel_rect>>();
    auto moving = std::make_shared<bool>(false);
    Volume->on_press = [this, press, moving](const QPoint& global) {
        *press = {global, panel_rect{Volume->x(), Volume->y(), Volume->width(), Volume->height()}};
        *moving = true;
    };
    Volume->on_move = [this, press, moving](const QPoint& global) {
        if (!*moving)
            return;
        const QPoint travel = global - press->first;
        const panel_rect moved =
            move_volume_panel(press->second, travel.x(), travel.y(), back_panel->width(), back_panel->height());
        Volume->move(moved.left, moved.top);
        volume_left = moved.left;
        volume_top = moved.top;
    };
    Volume->on_release = [moving] { *moving = false; };

    // The "Play" submenu heads the commands menu; the export commands follow it.
    QAction* first = mnuCommands->actions().value(0);
    mnuPlay = new QMenu(QStringLiteral("Play"), mnuCommands);
    mnuPlay->setObjectName("mnuPlay");
    mnuCommands->insertMenu(first, mnuPlay);
    auto item = [this](QMenu* menu, const char* name, const char* caption, QKeySequence key, auto handler) {
        auto* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);  // the keys work while the menu is closed
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuPlaySelected = item(mnuPlay, "mnuPlaySelected", "Play Selected", Qt::Key_F6, [this] { mnuPlaySelectedClick(); });
    mnuPlayCurrentPlaylist =
        item(mnuPlay, "mnuPlayCurrentPlaylist", "Play Current Playlist", Qt::Key_F7, [this] { cmdPlayClick(); });
    mnuEnqueueSelected =
        item(mnuPlay, "mnuEnqueueSelected", "Enqueue Selected", Qt::Key_F8, [this] { mnuEnqueueSelectedClick(); });
    mnuEnqueuePlaylist =
        item(mnuPlay, "mnuEnqueuePlaylist", "Enqueue Playlist", Qt::Key_F9, [this] { mnuEnqueuePlaylistClick(); });
    mnuPlayAllPlaylists =
        item(mnuPlay, "mnuPlayAllPlaylists", "Play All Playlists", Qt::Key_F10, [this] { mnuPlayAllPlaylistsClick(); });
    mnuPlayAllPlaylistsRandomized = item(mnuPlay, "mnuPlayAllPlaylistsRandomized", "Play All Playlists (Randomized)",
                                         Qt::Key_F11, [this] { mnuPlayAllPlaylistsRandomizedClick(); });
    QMenu* exports = new QMenu(mnuCommands);  // only to build the items; they go into the commands menu
    mnuExportM3U = item(exports, "mnuExportM3U", "Export to M3U", {}, [this] { ExportM3UClick(); });
    mnuExportPLS = item(exports, "mnuExportPLS", "Export to PLS", {}, [this] { ExportPLSClick(); });
    for (QAction* action : {mnuExportM3U, mnuExportPLS})
        mnuCommands->insertAction(first, action);
    mnuCommands->insertSeparator(first);

    mnuSave = new QMenu(this);
    mnuSave->setObjectName("mnuSave");
    mnuSave->setStyleSheet(mnuCommands->styleSheet());
    AddPlaylistFile = mnuSave->addMenu(QStringLiteral("Add Playlist File"));
    AddPlaylistFile->setObjectName("AddPlaylistFile");
    AddPlaylistFile->menuAction()->setObjectName("AddPlaylistFile");
    AddM3UPlaylist = item(AddPlaylistFile, "AddM3UPlaylist", builtin_main_messages()[add_m3u_title], {},
                          [this] { AddM3UPlaylistClick(); });
    AddPLSPlaylist = item(AddPlaylistFile, "AddPLSPlaylist", builtin_main_messages()[add_pls_title], {},
                          [this] { AddPLSPlaylistClick(); });
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
        selection = std::make_unique<player_selection>(environment_.prompts, messages, settings_file,
                                                       [](const std::string& path) {
                                                           return platform::file_exists(path);
                                                       });
        playback = std::make_unique<playback_commands>(playback_services{
            *selection, starter, windows, *winamp, *nad, *sonique, environment_.prompts, messages, data_folder});
        volume = std::make_unique<volume_control>(environment_.mixer ? *environment_.mixer : platform::system_mixer());
        RemoteControlTimer = std::make_unique<TThreadTimer>(ui_thread());
        RemoteControlTimer->set_interval(remote_control_interval);
        RemoteControlTimer->set_priority(TThreadPriority::tpIdle);
        RemoteControlTimer->set_on_timer([this](TThreadTimer&) { RemoteControlTimerTimer(); });
    }

    // Player locations; a slot takes files from a file manager only while its program exists.
    player_lists& lists = selection->lists;
    lists.names = resource.player_names();
    lists.locations = settings.player_locations;
    lists.program_names = resource.program_names();
    lists.default_locations = resource.default_locations();
    lists.home_pages = resource.home_pages();
    selection->names_changed();
    for (int slot = 0; slot < player_slot_count; ++slot) {
        a->lblPlayer[slot]->setText(text_of(selection->slot_caption(slot)));
        a->accepts_files[slot] = selection->slot_accepts_drops(slot);
    }
    a->cmbPlayers->clear();
    for (const std::string& name : selection->extra_player_names())
        a->cmbPlayers->addItem(text_of(name));

    // The volume display: what the mixer has now, without setting it.
    Volume->imgVolume->set_off_colour(settings.misc_back_color_off);
    const volume_display shown = volume->read_at_startup();
    Volume->imgVolume->show_startup(shown.value);
    Volume->lblVolumePercent->setText(text_of(shown.label));

    selection->select_at_startup(settings.selected_player);
    refresh_player_labels();

    // Double_Click names the default command of the menu.
    mnuPlay->setDefaultAction(settings.double_click == 0   ? mnuEnqueueSelected
                              : settings.double_click == 1 ? mnuPlaySelected
                                                           : nullptr);
    media_types.load(settings.enabled_extensions, {});
}

void TfrmMain::refresh_player_labels() {
    if (!selection->name().empty())
        a->lblPlayerTop->setText(text_of(selection->name()));
    a->lblPlayer[6]->setText(text_of(selection->extra_label()));
    const int entry = a->cmbPlayers->findText(text_of(selection->extra_label()));
    if (entry >= 0)
        a->cmbPlayers->setCurrentIndex(entry);
}

void TfrmMain::restore_volume_panel() {
    Volume->move(volume_left, volume_top);
    const bool shown = volume_visible;
    volume_visible = false;
    Volume->hide();
    cmdVolume->set_picture(artwork::picture::volume_off);
    if (shown)
        cmdVolumeClick();
}

void TfrmMain::lblPlayerClick(int label) {
    selection->select_by_label(a->lblPlayer[label]->text().toStdString());
    refresh_player_labels();
}

void TfrmMain::cmbPlayersChange(int entry) {
    if (selection->select_extra(entry))
        a->lblPlayerTop->setStyleSheet("color: white; background: transparent; font-weight: bold;");
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
    const int focused = LstMusicList->currentIndex().isValid() ? LstMusicList->currentIndex().row() : -1;
    switch (playback->double_click(music_list, selected_positions(), focused, settings.double_click)) {
    case double_click_follow_up::delete_selected: RemoveAllSelectedClick(); break;
    case double_click_follow_up::select_all: mnuSelectAllClick(); break;
    case double_click_follow_up::none: break;
    }
}

void TfrmMain::RemoveAllSelectedClick() {
    const std::vector<int> rows = selected_positions();
    if (rows.empty())
        return;
    // From the last to the first, so the positions still to go keep their rows.
    playlist->rewrite([&] {
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            music_list.remove(*row);
    });
}

void TfrmMain::mnuSelectAllClick() {
    LstMusicList->selectAll();
}

void TfrmMain::RemoteControlTimerTimer() {
    const remote_markers markers =
        playback->remote_control_tick(settings.enhanced_winamp, a->lblPlayer[0]->y(), a->lblPlayer[1]->y());
    a->set_marker(0, markers.winamp.remote_picture, markers.winamp.top);
    a->set_marker(1, markers.sonique.remote_picture, markers.sonique.top);
}

void TfrmMain::RCImageMouseMove(int marker) {
    if (!frmPlayerControl)
        return;
    const QPoint cursor = QCursor::pos();
    const auto opening = playback->remote_control_hover(marker, settings.enhanced_winamp, cursor.x(), cursor.y(),
                                                        frmPlayerControl->width(), frmPlayerControl->height());
    if (!opening)
        return;
    frmPlayerControl->player_kind = opening->player_kind;
    if (opening->player_kind == 2)
        frmPlayerControl->sonique_path = opening->sonique_location;
    frmPlayerControl->move(opening->left, opening->top);
    frmPlayerControl->show();
}

void TfrmMain::drop_files_on_player(int slot, const string_list& files) {
    playback->drop_files_on_slot(slot, files, [this](const std::string& name) {
        return media_types.is_media_file(name);
    });
}

bool TfrmMain::show_player_popup(int slot) {
    const popup_placement placement =
        playback->drag_over_slot(slot, a->x(), a->y() + a->lblPlayer[slot]->y());
    player_popup_panel* shown = placement.kind == player_popup::two_part    ? MPlayerPopup2
                          : placement.kind == player_popup::play_only ? MPlayerPopup1
                                                                      : nullptr;
    for (player_popup_panel* popup : {MPlayerPopup1, MPlayerPopup2})
        if (popup != shown)
            popup->hide();
    if (!shown)
        return false;
    shown->tag = placement.tag;
    shown->setGeometry(placement.left, placement.top, placement.width, placement.height);
    shown->show();
    shown->raise();
    return true;
}

void TfrmMain::drop_on_player(int slot) {
    MPlayerPopup1->hide();
    MPlayerPopup2->hide();
    playback->drop_on_slot(slot, music_list, selected_positions());
}

void TfrmMain::cmdVolumeClick() {
    volume_visible = !volume_visible;
    Volume->setVisible(volume_visible);
    if (volume_visible)
        Volume->raise();
    cmdVolume->set_picture(volume_visible ? artwork::picture::volume_on : artwork::picture::volume_off);
}

void TfrmMain::set_volume(int value) {
    const volume_display shown = volume->set(value);
    Volume->imgVolume->show_value(shown.value);
    Volume->lblVolumePercent->setText(text_of(shown.label));
}

namespace {

// Failures the commands leave to the caller: one standard error report.
void report_failure(platform::prompts& prompts) {
    prompts.message_box(cant_write_file_text, application_title, platform::message_buttons::ok,
                        platform::message_icon::error);
}

using import_command = command_result (*)(platform::prompts&, const std::string&, playlist_class&,
                                         const media_info_source&, const std::function<void()>&);

// An import saves the file's entries as a saved playlist; the tree then shows it under "My Playlists".
void run_import(import_command command, platform::prompts& prompts, const std::string& title, playlist_class& store,
                const resource_plugin& resource, const std::function<void()>& rebuild_my_playlists) {
    const auto info = [&resource](const std::string& path) { return resource.media_info_string(path); };
    const auto rebuild = [&rebuild_my_playlists] {
        if (rebuild_my_playlists)
            rebuild_my_playlists();
    };
    if (command(prompts, title, store, info, rebuild) == command_result::failed)
        report_failure(prompts);
}

} // namespace

void TfrmMain::ExportM3UClick() {
    // The M3U export reports its own failure.
    export_m3u(environment_.prompts, messages[export_m3u_title], music_list);
}

void TfrmMain::ExportPLSClick() {
    if (export_pls(environment_.prompts, messages[export_pls_title], music_list) == command_result::failed)
        report_failure(environment_.prompts);
}

void TfrmMain::AddM3UPlaylistClick() {
    run_import(import_m3u, environment_.prompts, messages[add_m3u_title], *playlists, resource, rebuild_my_playlists);
}

void TfrmMain::AddPLSPlaylistClick() {
    run_import(import_pls, environment_.prompts, messages[add_pls_title], *playlists, resource, rebuild_my_playlists);
}

} // namespace karvo
