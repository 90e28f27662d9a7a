// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/TfrmMain.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTimer>

#include "app/Main_form/chrome_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/folder_listing_model.h"
#include "app/Main_form/list_loader.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/pane_splitter.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players_pane.h"
#include "app/Main_form/players_panel.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/status_line.h"
#include "app/Main_form/search_pane.h"
#include "app/Main_form/floating_panel.h"
#include "app/Main_form/status_pane.h"
#include "app/Main_form/tree_pane.h"
#include "app/resources/artwork.h"
#include "components/Fsnotify/TFSNotify.h"
#include "components/Statusicon/TStatusIcon.h"
#include "components/Thrdunit/TThreadTimer.h"
#include "library/auto_playlister.h"
#include "library/folder_scanner.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/media_bus.h"
#include "players/linux_player_class.h"
#include "players/nad_class.h"
#include "players/player_table.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/sonique_class.h"
#include "players/volume_control.h"
#include "players/winamp_class.h"

namespace karvo {

namespace {

constexpr int margin = 6;
constexpr int pane_top = 46; // the upper pane; the toolbar strip sits at its height + 48
constexpr int strip_offset = 48;
constexpr int splitter_width = 3;
constexpr int strip_height = 24;
constexpr int status_height = 18;
constexpr int min_list_height = 30;
constexpr int min_folder_width = 40;
constexpr int min_tree_width = 70; // the tree is never squeezed away, by a drag or by a value read at start

// The data folder may be several levels deep ($XDG_DATA_HOME/karvo-media/); the stores create only their own.
void create_folder_path(const std::string& folder) {
    std::string path;
    for (std::size_t start = 0; start < folder.size();) {
        const std::size_t slash = folder.find('/', start);
        const std::size_t end = slash == std::string::npos ? folder.size() : slash;
        path = folder.substr(0, end);
        if (!path.empty() && !platform::directory_exists(path))
            platform::create_directory(path);
        start = end + 1;
    }
}

const char* const window_style = R"(
QTableView, QTreeView {
  background: rgb(0,0,72); alternate-background-color: rgb(0,0,84); color: rgb(235,242,255);
  gridline-color: rgb(16,40,120); border: 1px solid rgb(0,128,192);
  selection-background-color: rgb(0,128,192); selection-color: white;
}
QTableView:focus, QTreeView:focus { border: 2px solid rgb(255,200,0); }
QHeaderView { background: rgb(0,70,130); }
QHeaderView::section {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(30,160,225), stop:1 rgb(0,88,150));
  color: white; border: none; border-right: 1px solid rgb(0,50,100); padding: 1px 4px;
}
QHeaderView::section:hover { background: rgb(40,180,240); }
QScrollBar:vertical, QScrollBar:horizontal { background: rgb(0,0,90); border: none; }
QScrollBar:vertical { width: 12px; }
QScrollBar:horizontal { height: 12px; }
QScrollBar::handle { background: rgb(0,128,192); border-radius: 4px; min-height: 20px; min-width: 20px; }
QScrollBar::handle:hover { background: rgb(40,170,230); }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QTableCornerButton::section { background: rgb(0,70,130); border: none; }
QToolTip { background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192); }
)";

const char* const menu_style = R"(
QMenu { background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192); }
QMenu::item { padding: 3px 24px 3px 18px; }
QMenu::item:selected { background: rgb(0,128,192); }
QMenu::item:disabled { color: rgb(110,130,170); }
QMenu::separator { height: 1px; background: rgb(0,90,160); margin: 2px 6px; }
)";

} // namespace

TfrmMain::TfrmMain(main_environment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), environment_(std::move(environment)) {
    setObjectName("frmMain");
    setWindowTitle(QString::fromUtf8(application_title));
    setMinimumSize(min_window_width, min_window_height);
    program_folder = platform::with_trailing_slash(environment_.program_folder);
    data_folder = platform::with_trailing_slash(environment_.data_folder);
    messages_ = builtin_main_language().messages;

    create_folder_path(data_folder);
    remove_stale_temporaries_of(data_folder);
    auto folder_failure = [this](const std::string& text, const std::string& caption) {
        if (folder_failed_)
            return; // the program ends after the first: one message, not one per store
        folder_failed_ = true;
        environment_.prompts.message_box(text, caption, platform::message_buttons::ok, platform::message_icon::none);
    };
    playlists = std::make_unique<playlist_class>(data_folder, folder_failure);
    media_cds = std::make_unique<mp3_cd_class>(data_folder, folder_failure);
    scanners = std::make_unique<folder_scanner>(media_types);

    back_panel = new QWidget(this);
    back_panel->setObjectName("back_panel");
    back_panel->setAutoFillBackground(true);
    QPalette palette = back_panel->palette();
    palette.setColor(QPalette::Window, artwork::navy());
    palette.setColor(QPalette::WindowText, Qt::white);
    back_panel->setPalette(palette);
    back_panel->setStyleSheet(QString::fromLatin1(window_style));

    commands_ = new command_registry(this, QString::fromLatin1(menu_style));
    declare_toolbar_commands();
    declare_store_commands();
    declare_add_menu();
    declare_playlist_menu();
    declare_media_cd_menu();
    declare_commands_menu();
    declare_tray_menu();

    chrome_ = new chrome_pane(this, back_panel, *commands_, "mnuExitKarvo");
    tree_ = new tree_pane(state_, back_panel);
    listing_ = new listing_pane(folder_list, back_panel);
    playlist_ = new playlist_pane(music_list, *commands_, back_panel);
    status_ = new status_pane(state_, back_panel);
    players_ = new players_pane(back_panel);
    search_ = new search_pane(back_panel);
    auto* caption = new QLabel(QStringLiteral("Folder Listing"), back_panel);
    caption->setObjectName("imgFolderCaption");
    caption->setStyleSheet("color: rgb(150,210,255); background: transparent; font-weight: bold;");
    imgFolderCaption = caption;
    wire_panes();
    declare_history_commands();
    declare_window_commands();
    wire_keyboard();
    create_tray_icon();
    resize(chrome_->restore_rect().width, chrome_->restore_rect().height);
}

TfrmMain::~TfrmMain() {
    listing_->cancel_fill(); // its readers call the plug-in, which goes before the pane
    // A bus given by the caller outlives the window: it must not call back into it.
    if (bus_)
        bus_->watch({}, {});
}

// Everything one pane tells another goes through here.
void TfrmMain::wire_panes() {
    chrome_->add_move_handle(status_->strip());
    connect(chrome_, &chrome_pane::minimize_clicked, this, [this] { ToolbarMinClick(); });

    // The toolbar strip: playlist buttons, then the players' buttons and the preferences, then the three operation
    // menus.
    playlist_->add_button(artwork::picture::play, "cmdPlay");
    playlist_->add_button(artwork::picture::stop, "cmdStop");
    playlist_->add_button(artwork::picture::volume_off, "cmdVolume", 12);
    playlist_->add_button(artwork::picture::options, "cmdOptions", 12);
    playlist_->add_button(artwork::picture::my_computer, "my_computer", 3, true);
    playlist_->add_button(artwork::picture::selected_playlist, "my_saved_pls", 3, true);
    playlist_->add_button(artwork::picture::selected_media_cd, "my_media_cd", 3, true);
    connect(playlist_, &playlist_pane::double_clicked, this, [this] { LstMusicListDblClick(); });

    navigation_tree* tree = tree_->tree();
    tree->drop_source = playlist_->view();
    connect(tree, &navigation_tree::node_clicked, this, [this](QTreeWidgetItem* item) { MyTreeClick(item); });
    connect(tree, &navigation_tree::node_right_clicked, this,
            [this](QTreeWidgetItem* item, const QPoint& at) { MyTreeRightClick(item, at); });
    connect(tree, &navigation_tree::f5_pressed, this, [this] { MyTreeF5(); });
    connect(tree, &navigation_tree::dropped_on, this, [this](QTreeWidgetItem* item) { MyTreeDragDrop(item); });
    connect(tree_, &tree_pane::grouping_expanding, this,
            [this](QTreeWidgetItem* grouping) { fill_grouping_values(grouping); });

    connect(listing_, &listing_pane::context_menu_requested, this,
            [this](const QPoint& at) { LstMusicListAllContextPopup(at); });
    connect(listing_, &listing_pane::double_clicked, this,
            [this] { undoable("Add Selected Files", [this] { LstMusicListAllDblClick(); }); });

    // What lands on the playlist and on the waste bin.
    connect(playlist_, &playlist_pane::tree_dropped, this,
            [this] { undoable("Add Directory", [this] { LstMusicListTreeDrop(); }); });
    connect(playlist_, &playlist_pane::listing_dropped, this,
            [this](int row) { undoable("Drop", [this, row] { LstMusicListListingDrop(row); }); });
    connect(playlist_, &playlist_pane::files_dropped, this,
            [this](const string_list& files, int row) {
                undoable("Drop", [&] { LstMusicListFilesDrop(files, row); });
            });
    connect(playlist_, &playlist_pane::waste_dropped, this, [this](const QString& from) { WasteDragDrop(from); });

    connect(search_, &search_pane::search_requested, this,
            [this] { undoable("Search", [this] { picSearchTypeClick(); }); });
    connect(search_, &search_pane::tips_requested, this, [this] { SearchingTipsClick(); });

    build_players();

    // The splitters: a drag moves the pane edge by the pointer's travel from where the drag began.
    auto* VSplitter = new pane_splitter(Qt::Horizontal, "VSplitter", back_panel);
    auto* HSplitter = new pane_splitter(Qt::Vertical, "HSplitter", back_panel);
    auto drag_start = std::make_shared<QPoint>();
    for (pane_splitter* splitter : {VSplitter, HSplitter})
        connect(splitter, &pane_splitter::pressed, this, [this, drag_start] {
            *drag_start = {state_.v_splitter, state_.h_splitter};
        });
    connect(VSplitter, &pane_splitter::dragged, this,
            [this, drag_start](int travel) { set_splitters(drag_start->x() + travel, state_.h_splitter); });
    connect(HSplitter, &pane_splitter::dragged, this,
            [this, drag_start](int travel) { set_splitters(state_.v_splitter, drag_start->y() + travel); });
}

bool TfrmMain::event(QEvent* event) {
    // Every hint of the window arrives as a status tip; an empty one ends it.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        tip.isEmpty() ? show_location() : show_message(tip);
        return true;
    }
    return QWidget::event(event);
}

bool TfrmMain::FormCreate() {
    if (folder_failed_)
        return false;
    // 1. message-box title; the playlist view starts empty
    msg_box_title = application_title;
    playlist_->view()->viewport()->update();
    // 2-3. program folder, language plug-in
    load_language_plugin();
    // 4. resource plug-in: the program cannot run without it
    if (!load_resource_plugin()) {
        environment_.prompts.message_box(missing_resource_plugin_text(messages_[15]), msg_box_title,
                                         platform::message_buttons::ok, platform::message_icon::error);
        return false;
    }
    // 5. export plug-ins
    load_export_plugins();
    // 7, 9. paths of the data files
    settings_file = data_folder + "karvo.ini";
    settings_ini.open(settings_file);
    media_cd_index = data_folder + "Media CDs/media_cds.ini";
    temp_playlist = data_folder + "temp_playlist.m3u";
    // 8, 12. window shapes and the status line
    place_controls();
    status_->strip()->update();
    // 11. navigation tree
    MyTreeBuild();
    // 14-16. settings, previous state, location
    Load_settings();
    Restore_state();
    list_replaced();
    offer_recovery();
    show_location();
    // 17. the Media CD check marks the discs and sticks that are in a drive
    MediaCDCheck();
    if (!environment_.drives) // a test's drive table has no mounts to follow
        watch_mounts();
    // The keyboard works at once: the playlist has the focus.
    playlist_->view()->setFocus(Qt::OtherFocusReason);
    return true;
}

void TfrmMain::load_language_plugin() {
    language.load_from(program_folder);
    const main_language texts = language.main_window();
    messages_ = texts.messages;
    for (const auto& [name, caption] : texts.captions) {
        const QString text = QString::fromStdString(caption);
        if (name == virtual_playlist_column1) {
            playlist_->model()->set_caption(1, text);
        } else if (commands_->has(name)) {
            commands_->set_caption(name, text);
        } else if (auto* label = findChild<QLabel*>(QString::fromStdString(name))) {
            label->setText(text);
        } else if (auto* button = findChild<QAbstractButton*>(QString::fromStdString(name))) {
            button->setText(text);
        }
    }
    apply_language();
}

void TfrmMain::apply_language() {
    auto message = [this](int n) { return QString::fromStdString(messages_[n]); };
    playlist_->model()->set_count_texts(message(0), message(1));
    const std::pair<const char*, int> hints[] = {
        {"cmdSort", 10}, {"cmdSortza", 11}, {"cmdRandom", 9},   {"cmdCommands", 12}, {"cmdOptions", 13},
        {"cmdPlay", 7},  {"cmdStop", 8},    {"my_computer", 2}, {"my_saved_pls", 3}, {"my_media_cd", 4}};
    for (const auto& [name, n] : hints)
        playlist_->button(name)->setStatusTip(message(n));
    playlist_->button("cmdVolume")->setStatusTip(QStringLiteral("Show or hide the Volume panel."));
}

bool TfrmMain::load_resource_plugin() {
    resource.set_read_time_limit(environment_.media_read_limit);
    if (!resource.load(program_folder + resource_plugin::relative_path))
        return false;
    std::vector<QIcon> icons;
    for (const auto& png : resource.extension_icons())
        icons.emplace_back(artwork::pixmap_from_png(png));
    playlist_model* model = playlist_->model();
    listing_->set_images(icons, [model](const std::string& path) { return model->extension_image(path); });
    model->set_extension_images(resource.extensions(), std::move(icons));
    return true;
}

platform::drive_table& TfrmMain::drives() {
    return environment_.drives ? *environment_.drives : platform::system_drives();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_controls();
}

void TfrmMain::place_controls() {
    const int w = width();
    const int h = height();
    chrome_->place(w, h);

    // The panes follow the splitter values, squeezed only as far as the window demands.
    const int list_room = h - strip_offset - strip_height - 1 - margin - status_height - 3 - min_list_height;
    const int upper = std::clamp(state_.h_splitter, 1, std::max(1, list_room));
    const int tree_room = std::max(0, w - 2 * margin - splitter_width - min_folder_width);
    const int tree = std::clamp(state_.v_splitter, std::min(min_tree_width, tree_room), tree_room);

    tree_->tree()->setGeometry(margin, pane_top, tree, upper);
    findChild<pane_splitter*>("VSplitter")->setGeometry(margin + tree, pane_top, splitter_width, upper);
    const int folder_left = margin + tree + splitter_width;
    listing_->view()->setGeometry(folder_left, pane_top, w - margin - folder_left, upper);
    imgFolderCaption->adjustSize();
    imgFolderCaption->move(tree + 7, chrome_pane::title_height +
                                         (pane_top - chrome_pane::title_height - imgFolderCaption->height()) / 2);
    findChild<pane_splitter*>("HSplitter")
        ->setGeometry(margin, pane_top + upper, w - 2 * margin, strip_offset - pane_top);

    const int strip_top = upper + strip_offset;
    const int list_top = strip_top + strip_height + 1;
    const int status_top = h - margin - status_height;
    playlist_->place(margin, list_top, w - 2 * margin, status_top - 3 - list_top, strip_top);
    status_->place(margin, status_top, w - 2 * margin - chrome_pane::grip_size - 2, status_height);
    players_->panel()->raise();
    search_->panel()->raise();
}

void TfrmMain::set_splitters(int tree_width, int upper_height) {
    state_.v_splitter = std::max(min_tree_width, tree_width);
    state_.h_splitter = std::max(1, upper_height);
    place_controls();
}

void TfrmMain::save_state_once() {
    if (state_saved_ || settings_file.empty())
        return;
    state_saved_ = true;
    Save_settings();
}

bool TfrmMain::ExitClick() {
    // Once the state is saved the program is ending (a logout saved it): no second question.
    if (!state_saved_) {
        if (!settle_unsaved())
            return false;
        // The edits were saved or dropped on purpose: nothing is left to recover.
        if (recovery_timer_)
            recovery_timer_->stop();
        platform::delete_file(recovery_path());
    }
    save_state_once();
    IconTray->set_Enabled(false); // the icon leaves the notification area with the program
    if (environment_.terminate)
        environment_.terminate();
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!ExitClick()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmMain::show_message(const QString& text) {
    status_->show_message(text);
}

void TfrmMain::show_location() {
    status_->show_location();
}

void TfrmMain::refresh_location() {
    status_->refresh_location();
}

void TfrmMain::show_progress(const std::string& line) {
    status_->show_progress(QString::fromStdString(line));
}

void TfrmMain::set_current_folder(const std::string& folder) {
    state_.current_folder = folder;
    settings_ini.set_string("Settings", "LastDir", folder);
    status_->set_folder(QString::fromStdString(folder));
}

void TfrmMain::set_current_playlist_name(const std::string& name) {
    state_.current_playlist_name = name;
    status_->set_playlist_name(QString::fromStdString(name));
}

void TfrmMain::set_current_media_cd_name(const std::string& name) {
    state_.current_media_cd_name = name;
    status_->set_media_cd_name(QString::fromStdString(name));
}

void TfrmMain::mnuAboutClick() {
    if (frmAbout)
        frmAbout->show();
}

void TfrmMain::open_web_page(const std::string& address) {
    platform::program_starter& starter =
        environment_.starter ? *environment_.starter : platform::system_program_starter();
    starter.open("xdg-open", "\"" + address + "\"", {}, platform::show_mode::normal);
}

void TfrmMain::refresh_count() {
    playlist_->refresh_count();
}

std::vector<int> TfrmMain::selected_positions() const {
    return playlist_->selected_positions();
}

} // namespace karvo
