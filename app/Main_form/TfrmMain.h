// The main window: a borderless shell around the navigation tree, the folder listing and the virtual playlist. It
// owns the media lists, the stores and the plug-ins for the whole run. Construction and the create event live in
// TfrmMain.cpp; settings, chrome and playlist handlers in the main_form_*.cpp units.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_form/main_settings.h"
#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "platform/random.h"
#include "plugins/language_plugin.h"
#include "plugins/resource_plugin.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStandardItemModel;
class QTableView;
class QTimer;
class QTreeWidget;

namespace karvo {

namespace platform { class prompts; }
class picture_button;
class pane_splitter;
class playlist_class;
class playlist_model;
class status_line;
class hot_row_delegate;

inline constexpr const char* application_title = "Karvo Media v4.0 Beta 3.5";

// What the window needs from outside, so tests can run it on a temporary folder with scripted answers.
struct main_environment {
    std::string program_folder;  // holds plugins/, with a trailing '/'
    std::string data_folder;     // holds karvo.ini and Playlists/, with a trailing '/'
    platform::prompts& prompts;
    std::function<void()> terminate;  // ends the application after Exit
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
    QFrame* a = nullptr;   // players panel
    QFrame* a1 = nullptr;  // search panel
    QLabel* imgFolderCaption = nullptr;
    QTreeWidget* MyTree = nullptr;
    QTableView* LstMusicListAll = nullptr;
    QStandardItemModel* folder_model = nullptr;
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
    bool load_resource_plugin();
    void load_language_plugin();
    bool start_move(QWidget* source, const QPoint& global);
    void move_selected(bool up, std::vector<int>& positions);
    void scroll_playlist(int lines);

    main_environment environment_;
    bool folder_failed_ = false;
    bool location_shown_ = false;
    QPoint drag_origin_;       // the fallback window move when the system cannot move it
    QPoint drag_window_start_;
    bool dragging_window_ = false;
};

} // namespace karvo
