// The main window: a borderless shell around the navigation tree, the folder listing and the virtual playlist. It
// owns the media lists, the stores and the plug-ins for the whole run. Construction and the create event live in
// TfrmMain.cpp; settings, chrome and playlist handlers in the main_form_*.cpp units.
#pragma once

#include <QIcon>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_form/players_panel.h"
#include "library/main_settings.h"
#include "library/media_list.h"
#include "library/media_files.h"
#include "library/my_computer_list.h"
#include "library/navigation_tree_logic.h"
#include "platform/drives.h"
#include "platform/random.h"
#include "components/Thrdunit/TThreadTimer.h"
#include "players/nad_class.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/sonique_class.h"
#include "players/volume_control.h"
#include "players/winamp_class.h"
#include "plugins/language_plugin.h"
#include "plugins/resource_plugin.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStandardItemModel;
class QTreeWidgetItem;
class QTableView;
class QTimer;
class QTreeWidget;

namespace karvo {

namespace platform {
class prompts;
class program_starter;
class window_messages;
class mixer;
} // namespace platform
class volume_panel;
class TfrmPlayerControl;
class picture_button;
class pane_splitter;
class playlist_class;
class playlist_model;
class status_line;
class folder_listing_model;
class folder_scanner;
class mp3_cd_class;
class hot_row_delegate;

inline constexpr const char* application_title = "Karvo Media v4.0 Beta 3.5";

// What the window needs from outside, so tests can run it on a temporary folder with scripted answers.
struct main_environment {
    std::string program_folder;  // holds plugins/, with a trailing '/'
    std::string data_folder;     // holds karvo.ini and Playlists/, with a trailing '/'
    platform::prompts& prompts;
    std::function<void()> terminate;  // ends the application after Exit
    // The players' side of the desktop; the system ones when not given.
    platform::program_starter* starter = nullptr;
    platform::window_messages* windows = nullptr;
    platform::mixer* mixer = nullptr;
    platform::drive_table* drives = nullptr;  // the system's drives when not given
};

class TfrmMain : public QWidget {
public:
    explicit TfrmMain(main_environment environment, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The create event: plug-ins, paths, settings, previous state. False when the program must end.
    bool FormCreate();

    // --- data owned for the whole run
    std::string msg_box_title;
    std::string program_folder;
    std::string data_folder;
    std::string settings_file;
    std::string media_cd_index;
    std::string temp_playlist;
    std::array<std::string, main_message_count> messages;
    media_list music_list;       // the virtual playlist
    my_computer_list folder_list;  // the folder listing
    std::unique_ptr<playlist_class> playlists;
    resource_plugin resource;
    language_plugin language;
    platform::random_source random;

    // --- settings and state
    main_settings settings;
    int PlaylistMode = mode_nothing;
    std::string current_playlist_name;
    std::string current_media_cd_name;
    std::string current_folder;
    window_rectangle restore_rect;
    bool window_maximised = false;
    bool sort_direction = true;  // the next header click sorts ascending
    std::vector<int> kept_positions;  // the arrow buttons' positions between ticks
    int v_splitter = 215;
    int h_splitter = 195;
    bool tree_saved_pls_state = false;
    bool tree_media_cd_state = false;
    int search_item = 1;
    int volume_left = 10;
    int volume_top = 30;
    bool volume_visible = false;

    // --- controls
    QWidget* back_panel = nullptr;
    QWidget* pnlTitle = nullptr;
    QLabel* lblTitle = nullptr;
    picture_button* ToolbarMin = nullptr;
    picture_button* ToolbarMax = nullptr;
    picture_button* ToolbarExit = nullptr;
    players_panel* a = nullptr;  // players panel
    QFrame* a1 = nullptr;  // search panel
    QLabel* imgFolderCaption = nullptr;
    QTreeWidget* MyTree = nullptr;
    QTableView* LstMusicListAll = nullptr;
    folder_listing_model* folder_model = nullptr;
    QTableView* LstMusicList = nullptr;
    playlist_model* playlist = nullptr;
    hot_row_delegate* playlist_delegate = nullptr;
    pane_splitter* VSplitter = nullptr;
    pane_splitter* HSplitter = nullptr;
    QWidget* SpliterToolbar = nullptr;
    picture_button* cmdSort = nullptr;
    picture_button* cmdSortza = nullptr;
    picture_button* cmdRandom = nullptr;
    picture_button* vp_up = nullptr;
    picture_button* vp_down = nullptr;
    QWidget* pnlBottomButtons = nullptr;
    picture_button* cmdCommands = nullptr;
    status_line* imgMessage = nullptr;
    QLabel* lblMessage = nullptr;
    QLabel* Selected_Playlist = nullptr;
    QLabel* Selected_MediaCD = nullptr;
    QLabel* Selected_Nothing = nullptr;
    QLabel* SelectedName = nullptr;
    QLabel* imgMyComputer = nullptr;
    QLabel* lblmycomputer = nullptr;
    QLabel* imgResize = nullptr;
    QTimer* TimerUp = nullptr;
    QTimer* TimerDown = nullptr;
    QTimer* TimerResize = nullptr;
    QMenu* mnuCommands = nullptr;
    QAction* mnuMoveSelectedUp = nullptr;
    QAction* mnuMoveSelectedDown = nullptr;
    QAction* mnuExit = nullptr;

    // --- TfrmMain.cpp
    void apply_language();

    // --- main_form_settings.cpp
    void Load_settings();
    void Restore_state();
    void Save_settings();
    window_state current_window_state() const;

    // --- main_form_chrome.cpp
    void show_message(const QString& text);
    void show_location();
    void set_current_folder(const std::string& folder);
    void set_current_playlist_name(const std::string& name);
    void set_current_media_cd_name(const std::string& name);
    void ToolbarMinClick();
    void ToolbarMaxClick();  // the maximise toggle
    void ExitClick();        // the Exit command
    void set_splitters(int tree_width, int upper_height);
    void place_controls();
    void imgResizeTimer();

    // --- main_form_playlist.cpp
    void refresh_count();
    std::vector<int> selected_positions() const;
    void LstMusicListColumnClick(int column);
    void cmdSortClick();
    void cmdSortzaClick();
    void cmdRandomClick();
    void mnuMoveSelectedUpClick();
    void mnuMoveSelectedDownClick();
    void vp_upMouseDown();
    void vp_downMouseDown();
    void vp_MouseUp();
    void TimerUpTimer();
    void TimerDownTimer();
    void apply_playlist_font();

    // --- main_form_players.cpp: players panel, playback commands, volume panel, M3U/PLS commands
    TfrmPlayerControl* frmPlayerControl = nullptr;  // set by the program entry
    std::function<void()> rebuild_my_playlists;     // the navigation tree rebuilds and expands "My Playlists"
    media_files media_types;                        // the media-file test of the enabled extensions
    std::unique_ptr<winamp_class> winamp;
    std::unique_ptr<nad_class> nad;
    std::unique_ptr<sonique_class> sonique;
    std::unique_ptr<player_selection> selection;
    std::unique_ptr<playback_commands> playback;
    std::unique_ptr<volume_control> volume;
    std::unique_ptr<TThreadTimer> RemoteControlTimer;  // after what its ticks use, so it stops first
    player_popup_panel* MPlayerPopup1 = nullptr;
    player_popup_panel* MPlayerPopup2 = nullptr;
    picture_button* cmdPlay = nullptr;
    picture_button* cmdStop = nullptr;
    picture_button* cmdVolume = nullptr;
    volume_panel* Volume = nullptr;
    QMenu* mnuPlay = nullptr;
    QAction* mnuPlaySelected = nullptr;
    QAction* mnuPlayCurrentPlaylist = nullptr;
    QAction* mnuEnqueueSelected = nullptr;
    QAction* mnuEnqueuePlaylist = nullptr;
    QAction* mnuPlayAllPlaylists = nullptr;
    QAction* mnuPlayAllPlaylistsRandomized = nullptr;
    QAction* mnuExportM3U = nullptr;
    QAction* mnuExportPLS = nullptr;
    QMenu* mnuSave = nullptr;  // the playlist menu
    QMenu* AddPlaylistFile = nullptr;
    QAction* AddM3UPlaylist = nullptr;
    QAction* AddPLSPlaylist = nullptr;

    void build_players();
    void apply_player_settings();  // the players' part of Load settings
    void restore_volume_panel();   // Restore state: place the panel, show it when it was shown
    void refresh_player_labels();
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
    void RemoveAllSelectedClick();  // "Delete Selected"
    void mnuSelectAllClick();
    void RemoteControlTimerTimer();
    void RCImageMouseMove(int marker);
    void drop_files_on_player(int slot, const string_list& files);
    bool show_player_popup(int slot);
    void drop_on_player(int slot);
    void cmdVolumeClick();
    void set_volume(int value);
    void ExportM3UClick();
    void ExportPLSClick();
    void AddM3UPlaylistClick();
    void AddPLSPlaylistClick();

    // --- main_form_tree.cpp: the navigation tree, its menus and the operation buttons below the panes
    std::unique_ptr<mp3_cd_class> media_cds;
    QTreeWidgetItem* tree_my_computer = nullptr;
    QTreeWidgetItem* tree_my_playlists = nullptr;
    QTreeWidgetItem* tree_my_media_cds = nullptr;
    std::vector<platform::drive_info> listed_drives;
    drive_lists drive_roots;  // the drive roots and the CD-ROM drive roots, rebuilt with the drive nodes
    QMenu* mnuAdd = nullptr;
    QMenu* mnuMP3CD = nullptr;
    QAction* mnuAdd_Directory = nullptr;
    QAction* mnuPlayThisPath = nullptr;
    QAction* mnuPlaySelectedTemp = nullptr;
    QAction* AddNewMediaCD1 = nullptr;
    QAction* mnuDisplayAllSavedPlaylists = nullptr;
    QAction* mnuDisplayAllMediaCDs = nullptr;
    picture_button* my_computer = nullptr;
    picture_button* my_saved_pls = nullptr;
    picture_button* my_media_cd = nullptr;

    platform::drive_table& drives();
    void MyTreeBuild();
    void ListDrives();
    void ListSavedPlaylists();
    void ListMediaCDs();
    std::string node_path(const QTreeWidgetItem* item) const;
    int subtree_of(const QTreeWidgetItem* item) const;
    void MyTreeExpanding(QTreeWidgetItem* item);
    void MyTreeCollapsing(QTreeWidgetItem* item);
    void MyTreeClick(QTreeWidgetItem* item);
    void MyTreeRightClick(QTreeWidgetItem* item, const QPoint& global);
    void MyTreeMouseMove(QTreeWidgetItem* item);
    void MyTreeF5();
    void MyTreeDragDrop(QTreeWidgetItem* item);
    // Recomputes the grouping values of a saved playlist's groupings that are expanded or empty.
    void refresh_groupings(const std::string& playlist_name);
    void DisplayAllSavedPlaylists();
    void DisplayAllMediaCDs();
    // Appends a Media CD to the virtual playlist; false when its disc is in no CD-ROM drive.
    bool LoadMediaCD(const std::string& name);
    void mnuAdd_DirectoryClick();  // ScanDir over the current folder into the virtual playlist
    void mnuPlayThisPathClick();

    // --- main_form_listing.cpp: the folder listing
    std::unique_ptr<folder_scanner> scanners;
    std::function<void(const QString&)> on_status_message;  // every progress text, painted or not
    int progress_repaints = 0;
    static constexpr std::chrono::milliseconds progress_repaint_interval{16};
    std::chrono::steady_clock::time_point progress_painted_{};
    bool progress_running_ = false;  // a scan's first line is always painted
    bool progress_pending_ = false;  // the newest line is set but not painted yet
    void LstMusicListAllFill(const std::string& folder);
    void LstMusicListAllContextPopup(const QPoint& global);
    std::vector<int> listing_selected_rows() const;
    void mnuPlaySelectedTempClick();
    void play_paths(const string_list& paths);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_controls();
    void build_chrome();
    void build_panes();
    void build_status_line();
    void build_commands_menu();
    void wire_hint(picture_button* button, const QString& hint);
    void build_navigation();
    void build_listing();
    void set_listing_images(const std::vector<QIcon>& icons);
    // Progress of a long scan: every line is set, the status line is repainted at most once a frame (the scan must
    // not wait for the screen) and always for the first line and, through finish_progress, the last.
    void show_progress(const std::string& line);
    void finish_progress();
    void fill_grouping_values(QTreeWidgetItem* grouping);
    void show_grouping_value(QTreeWidgetItem* value);
    void refresh_location();
    bool load_resource_plugin();
    void load_language_plugin();
    bool start_move(QWidget* source, const QPoint& global);
    void move_selected(bool up, std::vector<int>& positions);
    void scroll_playlist(int lines);

    main_environment environment_;
    bool folder_failed_ = false;
    bool location_shown_ = false;
    bool filling_grouping_ = false;  // expanding a grouping node runs no second fill
    std::string tree_menu_path;      // the drive or folder node whose add menu is open
    QPoint drag_origin_;       // the fallback window move when the system cannot move it
    QPoint drag_window_start_;
    bool dragging_window_ = false;
};

} // namespace karvo
