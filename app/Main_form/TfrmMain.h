// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a borderless shell composed of pane controllers (navigation tree, folder listing, virtual
// playlist with its toolbar, players and volume, status line, chrome) that own their widgets. The window owns the
// media lists, the stores, the plug-ins and the settings for the whole run, wires the panes together in one place
// (TfrmMain.cpp) and declares every command once in its registry (the *_menu.cpp tables). Handlers named after
// control and event read the panes, call one Qt-free operation and refresh what changed.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/main_settings.h"
#include "library/media_files.h"
#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/navigation_tree_logic.h"
#include "library/command_texts.h"
#include "library/playlist_drops.h"
#include "library/playlist_edits.h"
#include "library/playlist_files.h"
#include "library/playlist_history.h"
#include "library/shell_state.h"
#include "library/store_commands.h"
#include "platform/drives.h"
#include "platform/profile_document.h"
#include "platform/random.h"
#include "plugins/export_plugins.h"
#include "plugins/language_plugin.h"
#include "plugins/resource_plugin.h"

class QMenu;
class QTimer;
class QTreeWidgetItem;

namespace karvo {

namespace platform {
class prompts;
class program_starter;
class window_messages;
class mixer;
class media_bus;
} // namespace platform
class chrome_pane;
class command_registry;
class folder_scanner;
class linux_player_class;
class listing_pane;
class list_loader;
class mp3_cd_class;
class nad_class;
class playback_commands;
class player_selection;
class players_pane;
class playlist_class;
class playlist_pane;
struct player_table;
class sonique_class;
class search_pane;
class status_pane;
class TfrmOptions;
class TfrmPlayerControl;
class TStatusIcon;
class TID3Form;
class TThreadTimer;
class TFSNotify;
class auto_playlister;
class tree_pane;
class volume_control;
class winamp_class;

// What the window needs from outside, so tests can run it on a temporary folder with scripted answers.
struct main_environment {
    std::string program_folder; // holds plugins/, with a trailing '/'
    std::string data_folder;    // holds karvo.ini and Playlists/, with a trailing '/'
    platform::prompts& prompts;
    std::function<void()> terminate; // ends the application after Exit
    // The players' side of the desktop; the system ones when not given.
    platform::program_starter* starter = nullptr;
    platform::window_messages* windows = nullptr;
    platform::mixer* mixer = nullptr;
    platform::drive_table* drives = nullptr; // the system's drives when not given
    // Whether a player's program is there; the file system when not given.
    std::function<bool(const std::string& path)> program_exists = {};
    // The session bus the other players are found on; the user's when not given.
    platform::media_bus* bus = nullptr;
    // Whether the desktop has a notification area; the system's answer when not given.
    std::function<bool()> tray_available = {};
    // How long one media information read may take before the file is listed by its path alone.
    std::chrono::milliseconds media_read_limit = resource_plugin::default_read_time_limit;
};

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(main_environment environment, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The create event: plug-ins, paths, settings, previous state. False when the program must end.
    bool FormCreate();
    // A saved playlist is still being restored in the background.
    bool restoring() const { return !restoring_name_.empty(); }
    // The control panel gets its own drivers on the window's services, now or once the create event has them.
    void set_player_control(TfrmPlayerControl* panel);
    // The preferences dialog (main_form_options.cpp): its language, prompts and the settings document.
    void set_options_dialog(TfrmOptions* dialog);

    // --- the panes, the registry and the data, for the program's entry and the tests
    command_registry& commands() const { return *commands_; }
    tree_pane& navigation() const { return *tree_; }
    listing_pane& listing() const { return *listing_; }
    playlist_pane& playlist() const { return *playlist_; }
    players_pane& players() const { return *players_; }
    status_pane& status() const { return *status_; }
    search_pane& search() const { return *search_; }
    chrome_pane& chrome() const { return *chrome_; }
    QWidget* background() const { return back_panel; }
    shell_state& state() { return state_; }
    media_list& virtual_playlist() { return music_list; }
    const media_list& virtual_playlist() const { return music_list; }
    const shell_state& state() const { return state_; }
    my_computer_list& folder_listing() { return folder_list; }
    playlist_class& saved_playlists() const { return *playlists; }
    mp3_cd_class& media_cd_store() const { return *media_cds; }
    player_selection& player_choice() const { return *selection; }
    const main_settings& settings() const { return settings_; }
    const media_files& media_file_types() const { return media_types; }
    const resource_plugin& resource_library() const { return resource; }
    const std::array<std::string, main_message_count>& messages() const { return messages_; }
    const drive_lists& drive_roots() const { return drive_roots_; }
    const export_plugins& export_plugin_list() const { return exports_; } // the preferences' plug-in page
    TFSNotify& folder_watcher() const { return *AutoPlaylisterChange; }

    // --- Load settings, Restore state, Save settings (main_form_settings.cpp)
    void Load_settings();
    void Restore_state();
    void Save_settings();
    window_state current_window_state() const;

    // --- the shell: status line, location, layout, exit (TfrmMain.cpp)
    void show_message(const QString& text);
    void show_location();
    void set_current_folder(const std::string& folder);
    void set_current_playlist_name(const std::string& name);
    void set_current_media_cd_name(const std::string& name);
    void set_splitters(int tree_width, int upper_height);
    void place_controls();
    void ToolbarMinClick();
    // Exit, the window manager's close, logging out and SIGTERM all end here: settings and window state are
    // saved once, then the program ends.
    // False when the user chose to stay (Cancel at the unsaved-changes question).
    bool ExitClick();
    void save_state_once();
    void refresh_count();
    std::vector<int> selected_positions() const;

    // --- navigation tree (main_form_tree.cpp)
    void MyTreeBuild();
    void ListDrives();
    void ListSavedPlaylists();
    void ListMediaCDs();
    void MyTreeClick(QTreeWidgetItem* item);
    void MyTreeClickNow(QTreeWidgetItem* item, int node); // after the unsaved-changes question
    void MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global);
    void MyTreeF5();
    void MyTreeDragDrop(QTreeWidgetItem* item);
    void refresh_groupings(const std::string& playlist_name);
    void DisplayAllSavedPlaylists();
    void DisplayAllMediaCDs();
    // Appends a Media CD to the virtual playlist; false when its disc is in no CD-ROM drive.
    bool LoadMediaCD(const std::string& name);
    void mnuAdd_DirectoryClick(const std::string& folder); // ScanDir over the folder into the virtual playlist
    void mnuPlayThisPathClick();

    // --- folder listing (main_form_listing.cpp)
    void LstMusicListAllFill(const std::string& folder);
    void LstMusicListAllContextPopup(const QPoint& global);
    void mnuPlaySelectedTempClick();
    void play_paths(const string_list& paths);

    // --- players, playback, volume, M3U/PLS (main_form_players.cpp)
    void apply_player_settings();
    void refresh_player_labels();
    void refresh_player_slots();
    void lblPlayerClick(int label);
    void cmbPlayersChange(int entry);
    void cmdPlayClick();
    void cmdStopClick();
    void mnuPlaySelectedClick();
    void mnuEnqueueSelectedClick();
    void mnuEnqueuePlaylistClick();
    void mnuPlayAllPlaylistsClick();
    void mnuPlayAllPlaylistsRandomizedClick();
    void LstMusicListDblClick();
    void RemoteControlTimerTimer();
    void RCImageMouseMove(int marker);
    // A player on the session bus came, went or changed: markers, now playing and the control panel follow.
    void bus_player_changed(const std::string& bus_name, bool names_changed);
    void update_now_playing();
    void wire_player_control();
    void drop_files_on_player(int slot, const string_list& files);
    bool show_player_popup(int slot);
    void drop_on_player(int slot);
    void cmdVolumeClick();
    void set_volume(int value);
    void ExportM3UClick();
    void ExportPLSClick();
    void AddM3UPlaylistClick();
    void AddPLSPlaylistClick();
    void AddXSPFPlaylistClick();
    void mnuImportReportClick();
    void rebuild_my_playlists(); // after an import: the saved playlists listed again, "My Playlists" open

    // --- tag editor (main_form_tags.cpp)
    void mnuID3Click();
    TID3Form* tag_editor() const; // while it is open, else null
    // The rows of this file read again through the resource plug-in, so the columns show what was written.
    void refresh_rows_of(const std::string& path);
    // --- export plug-ins (main_form_exports.cpp)
    void load_export_plugins(); // scans plugins/*.kep and rebuilds the plug-in items of "Export To"
    void ExportPluginClick(std::size_t index);
    // --- the preferences dialog (main_form_options.cpp)
    void cmdOptionsClick();
    void set_player_location(int player, const std::string& path); // at once, as the dialog takes it
    void settings_changed(); // after OK or Apply: settings loaded again, what depends on them refreshed
    // --- the tray icon (main_form_tray.cpp)
    TStatusIcon& tray_icon() const { return *IconTray; }
    void IconTrayClick(); // the icon's click and "Show Karvo Media"
    // Files and folders named on a command line (this start's or a second one's), added at the playlist's end.
    void open_files(const string_list& paths);
    void apply_show_in(int show_in);

    // --- editing, the add commands and the drops (main_form_editing.cpp)
    void RemoveAllSelectedClick(); // "Delete Selected"
    void RemoveAllbutSelectedClick();
    void RemoveAllClick();
    void RemoveAllDeadFilesClick();
    void mnuCloneSongClick();
    void mnuSelectAllClick();
    void mnuInvertSelectionClick();
    void mnuSelectthatHaveClick();
    void mnuShowFileInfoClick();
    void mnuAdd_FileClick();
    void mnuAdd_FilesClick();
    void LstMusicListAllDblClick();
    void LstMusicListTreeDrop();
    void LstMusicListListingDrop(int row_under_point);
    void LstMusicListFilesDrop(const string_list& files, int row_under_point);
    void WasteDragDrop(const QString& source);
    void mnuAboutClick();
    void open_web_page(const std::string& address);

    // --- undo, redo, unsaved changes, the recovery copy (main_form_history.cpp)
    playlist_history& history() { return history_; }
    void mnuUndoClick();
    void mnuRedoClick();
    // Runs a change to the playlist as one undo step called `what` (nested calls make one step).
    void undoable(const std::string& what, const std::function<void()>& change);
    // Asks "Save changes to ...?" while the list differs from its file; false: stay where we are.
    bool settle_unsaved();
    // Another list was loaded: no undo leads back to the old one.
    void list_replaced();
    void write_recovery_copy_now();
    // At start: a recovery copy left by a run that ended without saving is offered back.
    void offer_recovery();
    std::string recovery_path() const;
    // A signal or the session's end: the edits go to the recovery copy without a question, then the program ends.
    void end_by_session();

    // --- saved playlists and Media CDs (main_form_stores.cpp)
    void MediaCDCheck(); // marks the Media CD nodes whose volume is in a drive
    void watch_mounts(); // the check runs again whenever a volume is mounted or unmounted

    // --- search (main_form_search.cpp)
    void picSearchTypeClick();
    void SearchingTipsClick();
    void set_about_box(QWidget* about) { frmAbout = about; }
    // A media read is still inside the resource plug-in: the program must end without unloading it.
    bool media_reads_stuck() const { return resource.has_stuck_reads(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The command tables, one unit each.
    void declare_commands_menu();
    void declare_add_menu();
    void declare_playlist_menu();
    void declare_media_cd_menu();
    void declare_toolbar_commands();
    void declare_store_commands();
    void import_playlist_file(playlist_format format, const std::string& title);
    command_texts texts() const;
    void run_store_command(const std::function<store_outcome(store_context&)>& command);
    bool tree_selection_is(int kind) const;
    void rebuild_send_to(QMenu& menu);
    void edited(const edit_result& result);
    void append_paths(const string_list& paths);
    drop_settings drops_as_set() const;
    void dropped(const drop_result& result);
    void declare_tray_menu();
    void declare_history_commands();
    void declare_window_commands(); // main_form_keyboard.cpp
    void wire_keyboard();
    void playlist_changed(); // the modified mark, the Undo/Redo captions and the recovery copy follow
    void history_moved();
    void create_tray_icon();
    void apply_tray_settings();    // system_tray_icon and show_in
    void reload_auto_playlister(); // the watched folder and the known files (main_form_autoplay.cpp)
    void auto_add_to_playlist(const std::string& path);
    void wire_panes();
    void apply_language();
    bool load_resource_plugin();
    void load_language_plugin();
    void build_players();
    void restore_volume_panel();
    platform::drive_table& drives();
    void fill_grouping_values(QTreeWidgetItem* grouping);
    void show_grouping_value(QTreeWidgetItem* value);
    void refresh_location();
    void show_progress(const std::string& line);
    // Restores a saved playlist; a large one on a worker thread, the window showing it once it is complete.
    void restore_playlist_in_background(const std::string& name);

    main_environment environment_;
    std::string msg_box_title;
    std::string program_folder;
    std::string data_folder;
    std::string settings_file;
    platform::profile_document settings_ini; // karvo.ini, read once and written through
    std::string media_cd_index;
    std::string temp_playlist;
    std::array<std::string, main_message_count> messages_;
    media_list music_list;        // the virtual playlist
    my_computer_list folder_list; // the folder listing
    std::unique_ptr<playlist_class> playlists;
    std::unique_ptr<mp3_cd_class> media_cds;
    // After the stores: the restore's worker reads through them, so it stops before they go.
    std::unique_ptr<list_loader> loader_;
    std::string restoring_name_; // the saved playlist being restored in the background, empty when none
    resource_plugin resource;
    language_plugin language;
    export_plugins exports_;
    std::vector<std::string> export_command_ids_; // the "Export To" items of the plug-ins, in scan order
    platform::random_source random;
    main_settings settings_;
    shell_state state_;
    media_files media_types; // the media-file test of the enabled extensions
    std::vector<platform::drive_info> listed_drives;
    drive_lists drive_roots_;   // the drive roots and the CD-ROM drive roots, rebuilt with the drive nodes
    std::string tree_menu_path; // the drive or folder node whose add menu is open
    bool folder_failed_ = false;
    bool state_saved_ = false;
    playlist_history history_;
    QTimer* recovery_timer_ = nullptr;
    unsigned long recovery_state_ = 0; // the history state the recovery copy (or its absence) reflects

    // The panes are children of the background panel; the registry comes first, as they bind to it.
    QWidget* back_panel = nullptr;
    command_registry* commands_ = nullptr;
    chrome_pane* chrome_ = nullptr;
    tree_pane* tree_ = nullptr;
    listing_pane* listing_ = nullptr;
    playlist_pane* playlist_ = nullptr;
    players_pane* players_ = nullptr;
    status_pane* status_ = nullptr;
    search_pane* search_ = nullptr;
    QWidget* imgFolderCaption = nullptr;
    TStatusIcon* IconTray = nullptr;

    TfrmPlayerControl* frmPlayerControl = nullptr;
    QWidget* frmAbout = nullptr;
    std::vector<std::string> send_to_ids_;
    std::string last_import_report_; // the Send To items of the saved playlists
    QPointer<TID3Form> frmID3;
    TfrmOptions* frmOptions = nullptr;
    std::unique_ptr<folder_scanner> scanners;
    std::unique_ptr<winamp_class> winamp;
    std::unique_ptr<nad_class> nad;
    std::unique_ptr<sonique_class> sonique;
    std::unique_ptr<player_selection> selection;
    std::unique_ptr<platform::media_bus> own_bus;
    platform::media_bus* bus_ = nullptr;
    std::unique_ptr<player_table> linux_table;
    std::unique_ptr<linux_player_class> linux_players;
    std::unique_ptr<playback_commands> playback;
    std::unique_ptr<volume_control> volume;
    std::unique_ptr<TThreadTimer> RemoteControlTimer; // after what its ticks use, so it stops first
    // After the store, the scanners and the drivers it acts through, so it is gone before them.
    std::unique_ptr<TFSNotify> AutoPlaylisterChange;
    std::unique_ptr<auto_playlister> AutoPlaylister;
};

} // namespace karvo
