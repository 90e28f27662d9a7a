// SPDX-License-Identifier: GPL-3.0-or-later
// The players area: the players panel and volume panel, the drivers of every player, the play, stop and enqueue
// commands with their menu and keys, the playlist's double click, the remote-control markers and now playing of
// the players on the session bus, the control panel, and the auto playlister that hands new files to a player.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "app/Main_form/areas.h"

class QWidget;

namespace karvo {

namespace platform {
class media_bus;
}
class auto_playlister;
class command_registry;
class linux_player_class;
class mpd_player;
struct volume_display;
class nad_class;
class playback_commands;
class player_selection;
class players_pane;
class sonique_class;
class TFSNotify;
class TfrmPlayerControl;
class TThreadTimer;
class volume_control;
class winamp_class;
struct main_context;
struct player_table;

class players_controller : public QObject, public players_port {
    Q_OBJECT
public:
    players_controller(main_context& context, command_registry& commands, const areas& others, QWidget* back);
    ~players_controller() override;

    players_pane& pane() const { return *players_; }
    player_selection& choice() const { return *selection; }
    mpd_player* music_daemon() const { return mpd_.get(); }
    TFSNotify& folder_watcher() const { return *AutoPlaylisterChange; }

    // After every settings load: the drivers (made the first time), the slots, the selection, the volume display,
    // the double click's default command and the auto playlister's folder.
    void apply_settings();
    void restore_volume_panel();
    void set_player_control(TfrmPlayerControl* panel);
    string_list player_locations() const;
    void set_player_location(int player, const std::string& path); // at once, as the preferences take it

    // What the user does on the panel; the tests drive these directly.
    void lblPlayerClick(int label);
    void cmbPlayersChange(int entry);
    bool show_player_popup(int slot);
    void RemoteControlTimerTimer();
    void RCImageMouseMove(int marker);
    void set_volume(int value);

    // players_port
    void play_paths(const string_list& paths) override;
    void play_listing_rows(const std::vector<int>& rows) override;

private:
    void declare_commands();
    void wire_panel();
    void make_drivers();
    void wire_player_control();
    void refresh_player_slots();
    void refresh_player_labels();
    void update_now_playing();
    void bus_player_changed(const std::string& bus_name, bool names_changed);
    void drop_files_on_player(int slot, const string_list& files);
    void drop_on_player(int slot);
    void toggle_volume_panel();
    void double_click();
    void reload_auto_playlister();
    void show_volume(const volume_display& shown); // on the bar, and the daemon's when it is the player
    // What the music daemon reported: now playing, a failure (in a message box, one at a time), names it refused.
    void mpd_events();

    main_context& context_;
    command_registry& commands_;
    const areas& others_;
    players_pane* players_ = nullptr;
    TfrmPlayerControl* frmPlayerControl = nullptr;
    std::unique_ptr<winamp_class> winamp;
    std::unique_ptr<nad_class> nad;
    std::unique_ptr<sonique_class> sonique;
    std::unique_ptr<player_selection> selection;
    std::unique_ptr<platform::media_bus> own_bus;
    platform::media_bus* bus_ = nullptr;
    std::unique_ptr<player_table> linux_table;
    std::unique_ptr<linux_player_class> linux_players;
    std::unique_ptr<mpd_player> mpd_; // before the commands that send to it, so they go first
    bool mpd_box_open_ = false;
    std::unique_ptr<playback_commands> playback;
    std::unique_ptr<volume_control> volume;
    std::unique_ptr<TThreadTimer> RemoteControlTimer; // after what its ticks use, so it stops first
    // After the drivers it acts through, so it is gone before them.
    std::unique_ptr<TFSNotify> AutoPlaylisterChange;
    std::unique_ptr<auto_playlister> AutoPlaylister;
};

} // namespace karvo
