// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/TfrmMain.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStatusTipEvent>

#include "app/Main_form/chrome/chrome_controller.h"
#include "app/Main_form/chrome/chrome_pane.h"
#include "app/Main_form/chrome/status_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "app/Main_form/navigation/tree_pane.h"
#include "app/Main_form/pane_splitter.h"
#include "app/Main_form/players/players_controller.h"
#include "app/Main_form/players/players_pane.h"
#include "app/Main_form/playlist/history_controller.h"
#include "app/Main_form/playlist/playlist_controller.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "app/Main_form/playlist/search_pane.h"
#include "app/Main_form/stores/stores_controller.h"
#include "app/Main_form/tags/tags_controller.h"
#include "app/resources/artwork.h"
#include "library/media_cd_commands.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"
#include "library/store_commands.h"
#include "platform/file_system.h"
#include "platform/prompts.h"

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

// A rectangle that no screen shows (a monitor removed since the last run) moves to the primary screen.
window_rectangle on_a_screen(window_rectangle rect) {
    const QRect wanted(rect.left, rect.top, rect.width, rect.height);
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(wanted))
            return rect;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        rect.left = primary->availableGeometry().left();
        rect.top = primary->availableGeometry().top();
    }
    return rect;
}

} // namespace

TfrmMain::TfrmMain(main_environment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), context_(std::move(environment)) {
    setObjectName("frmMain");
    setWindowTitle(QString::fromUtf8(application_title));
    setMinimumSize(min_window_width, min_window_height);

    back_panel = new QWidget(this);
    back_panel->setObjectName("back_panel");
    back_panel->setAutoFillBackground(true);
    QPalette palette = back_panel->palette();
    palette.setColor(QPalette::Window, artwork::navy());
    palette.setColor(QPalette::WindowText, Qt::white);
    back_panel->setPalette(palette);
    back_panel->setStyleSheet(QString::fromLatin1(window_style));

    commands_ = new command_registry(this, QString::fromLatin1(menu_style));
    chrome_hooks hooks{[this] { save_state_once(); },
                       [this] {
                           // Once the state is saved the program is ending (a logout saved it): no second question.
                           if (state_saved_)
                               return true;
                           if (!history_->settle_unsaved())
                               return false;
                           history_->forget_recovery(); // saved or dropped on purpose: nothing left to recover
                           return true;
                       },
                       [this] {
                           // Colours, font size, name switches, players, Double_Click, the enabled extensions and
                           // the auto playlister; Exit writes search_item back from the state, so it follows too.
                           Load_settings();
                           context_.state.search_item = context_.settings.search_item;
                       },
                       [this] { return players_->player_locations(); },
                       [this](int player, const std::string& path) { players_->set_player_location(player, path); }};
    chrome_ = new chrome_controller(context_, *commands_, this, back_panel, std::move(hooks));
    navigation_ = new navigation_controller(context_, *commands_, ports_, back_panel);
    playlist_ = new playlist_controller(context_, *commands_, ports_, back_panel);
    players_ = new players_controller(context_, *commands_, ports_, back_panel);
    stores_ = new stores_controller(context_, *commands_, ports_, this);
    tags_ = new tags_controller(context_, *commands_, ports_, this);
    history_ = new history_controller(context_, *commands_, ports_, this);
    ports_ = areas{chrome_, playlist_, navigation_, players_, stores_, history_};
    wire_areas();
    wire_keyboard();
    resize(chrome_->pane().restore_rect().width, chrome_->pane().restore_rect().height);
}

TfrmMain::~TfrmMain() {
    // The areas go before the data they use: the players' timer and watcher stop, the listing's readers end.
    delete players_;
    delete tags_;
    delete stores_;
    delete navigation_;
    delete playlist_;
    delete history_;
    delete chrome_;
}

// What one pane shows of another goes through here: the toolbar strip's buttons and the splitters.
void TfrmMain::wire_areas() {
    playlist_pane& strip = playlist_->pane();
    strip.add_button("cmdPlay");
    strip.add_button("cmdStop");
    strip.add_button("cmdVolume", 12);
    strip.add_button("cmdOptions", 12);
    strip.add_button("my_computer", 3, true);
    strip.add_button("my_saved_pls", 3, true);
    strip.add_button("my_media_cd", 3, true);

    // The splitters: a drag moves the pane edge by the pointer's travel from where the drag began.
    auto* VSplitter = new pane_splitter(Qt::Horizontal, "VSplitter", back_panel);
    auto* HSplitter = new pane_splitter(Qt::Vertical, "HSplitter", back_panel);
    auto drag_start = std::make_shared<QPoint>();
    shell_state& state = context_.state;
    for (pane_splitter* splitter : {VSplitter, HSplitter})
        connect(splitter, &pane_splitter::pressed, this,
                [&state, drag_start] { *drag_start = {state.v_splitter, state.h_splitter}; });
    connect(VSplitter, &pane_splitter::dragged, this,
            [this, &state, drag_start](int travel) { set_splitters(drag_start->x() + travel, state.h_splitter); });
    connect(HSplitter, &pane_splitter::dragged, this,
            [this, &state, drag_start](int travel) { set_splitters(state.v_splitter, drag_start->y() + travel); });
}

void TfrmMain::wire_keyboard() {
    tab_chain chain;
    navigation_->tree().join_tab_chain(chain);
    navigation_->listing().join_tab_chain(chain);
    playlist_->pane().join_tab_chain(chain);
    playlist_->search().join_tab_chain(chain);
    players_->pane().join_tab_chain(chain);
    give_keyboard_access(this, *commands_, chain);
}

bool TfrmMain::event(QEvent* event) {
    // Every hint of the window arrives as a status tip; an empty one ends it.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        tip.isEmpty() ? chrome_->show_location() : chrome_->show_message(tip);
        return true;
    }
    return QWidget::event(event);
}

bool TfrmMain::FormCreate() {
    if (context_.folder_failed)
        return false;
    playlist_->repaint();
    load_language_plugin();
    // The program cannot run without its resource plug-in.
    if (!load_resource_plugin()) {
        context_.prompts().message_box(missing_resource_plugin_text(context_.message(texts::cant_find_player)),
                                       application_title, platform::message_buttons::ok,
                                       platform::message_icon::error);
        return false;
    }
    playlist_->load_export_plugins();
    context_.settings_file = context_.data_folder + "karvo.ini";
    context_.settings_ini.open(context_.settings_file);
    place_controls();
    chrome_->status().repaint();
    navigation_->build_tree();
    Load_settings();
    Restore_state();
    history_->list_replaced();
    history_->offer_recovery();
    chrome_->show_location();
    // The Media CD check marks the discs and sticks that are in a drive.
    stores_->media_cd_check();
    stores_->watch_mounts();
    // The keyboard works at once: the playlist has the focus.
    playlist_->pane().focus();
    return true;
}

void TfrmMain::load_language_plugin() {
    context_.language.load_from(context_.program_folder);
    const main_language texts = context_.language.main_window();
    context_.messages = texts.messages;
    for (const auto& [name, caption] : texts.captions) {
        const QString text = QString::fromStdString(caption);
        if (name == virtual_playlist_column1) {
            playlist_->pane().model()->set_caption(1, text);
        } else if (commands_->has(name)) {
            commands_->set_caption(name, text);
        } else if (auto* label = findChild<QLabel*>(QString::fromStdString(name))) {
            label->setText(text);
        } else if (auto* button = findChild<QAbstractButton*>(QString::fromStdString(name))) {
            button->setText(text);
        }
    }
    commands_->set_texts(context_.texts());
    playlist_->pane().model()->set_count_texts(QString::fromStdString(context_.message(texts::media_names)),
                                               QString::fromStdString(context_.message(texts::total_files)));
}

bool TfrmMain::load_resource_plugin() {
    resource_plugin& resource = context_.resource;
    resource.set_read_time_limit(context_.environment.media_read_limit);
    if (!resource.load(context_.program_folder + resource_plugin::relative_path))
        return false;
    // Media reads go through helper processes, so a plug-in crash in one ends a helper; without them, here.
    resource.use_reader_process(context_.program_folder + media_reader_program);
    std::vector<QIcon> icons;
    for (const auto& png : resource.extension_icons())
        icons.emplace_back(artwork::pixmap_from_png(png));
    playlist_model* model = playlist_->pane().model();
    navigation_->listing().set_images(icons,
                                      [model](const std::string& path) { return model->extension_image(path); });
    model->set_extension_images(resource.extensions(), std::move(icons));
    return true;
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_controls();
}

void TfrmMain::place_controls() {
    const int w = width();
    const int h = height();
    const shell_state& state = context_.state;

    // The panes follow the splitter values, squeezed only as far as the window demands.
    const int list_room = h - strip_offset - strip_height - 1 - margin - status_height - 3 - min_list_height;
    const int upper = std::clamp(state.h_splitter, 1, std::max(1, list_room));
    const int tree_room = std::max(0, w - 2 * margin - splitter_width - min_folder_width);
    const int tree = std::clamp(state.v_splitter, std::min(min_tree_width, tree_room), tree_room);

    const int folder_left = margin + tree + splitter_width;
    navigation_->place(margin, pane_top, tree, folder_left, w - margin - folder_left, upper);
    findChild<pane_splitter*>("VSplitter")->setGeometry(margin + tree, pane_top, splitter_width, upper);
    findChild<pane_splitter*>("HSplitter")
        ->setGeometry(margin, pane_top + upper, w - 2 * margin, strip_offset - pane_top);

    const int strip_top = upper + strip_offset;
    const int list_top = strip_top + strip_height + 1;
    const int status_top = h - margin - status_height;
    playlist_->pane().place(margin, list_top, w - 2 * margin, status_top - 3 - list_top, strip_top);
    chrome_->place(w, h, margin, status_top, w - 2 * margin - chrome_pane::grip_size - 2, status_height);
    players_->pane().raise();
    playlist_->search().raise();
}

void TfrmMain::set_splitters(int tree_width, int upper_height) {
    context_.state.v_splitter = std::max(min_tree_width, tree_width);
    context_.state.h_splitter = std::max(1, upper_height);
    place_controls();
}

void TfrmMain::Load_settings() {
    const resource_plugin& resource = context_.resource;
    context_.settings = load_main_settings(context_.settings_ini, resource.player_names(),
                                           resource.default_locations(), resource.extensions());
    playlist_->apply_settings();
    players_->apply_settings();
    chrome_->apply_settings();
    navigation_->apply_settings();
    playlist_->repaint();
}

void TfrmMain::Restore_state() {
    const window_state saved = read_window_state(context_.settings_ini);
    shell_state& state = context_.state;
    playlist_->pane().set_column_widths(saved.playlist_widths);
    navigation_->listing().set_column_widths(saved.folder_widths);
    set_splitters(saved.v_splitter, saved.h_splitter);
    // What the virtual playlist showed.
    state.mode = PlaylistMode::from_stored(saved.playlist_mode);
    if (state.mode.value() != PlaylistMode::nothing) {
        begin_new_list(context_.music_list);
        const std::string& name = saved.playlist_name;
        if (state.mode == PlaylistMode::playlist && !name.empty() && context_.playlists->exists(name)) {
            stores_->open_playlist(name);
        } else if (state.mode == PlaylistMode::media_cd && !name.empty() && context_.media_cds->exists(name)) {
            stores_->load_media_cd(name);
        } else if (state.mode == PlaylistMode::all_playlists) {
            stores_->run([](store_context& c) { return display_all_saved_playlists(c); });
        } else if (state.mode == PlaylistMode::all_media_cds) {
            stores_->run([](store_context& c) { return display_all_media_cds(c); });
        }
        playlist_->refresh_count();
    }
    if (!saved.last_dir.empty() && platform::directory_exists(saved.last_dir))
        chrome_->set_current_folder(saved.last_dir);
    state.volume_left = saved.volume_left;
    state.volume_top = saved.volume_top;
    state.volume_visible = saved.volume_visible;
    players_->restore_volume_panel();
    state.tree_saved_pls_state = saved.tree_saved_pls_state;
    state.tree_media_cd_state = saved.tree_media_cd_state;
    state.search_item = saved.search_item;
    playlist_->search().set_display_found(state.search_item != 0);
    // The window always starts restored, at the saved rectangle.
    chrome_->pane().start_restored(on_a_screen(saved.window));
}

window_state TfrmMain::current_window_state() const {
    const shell_state& state = context_.state;
    const chrome_pane& frame = chrome_->pane();
    window_state now;
    now.playlist_widths = playlist_->pane().column_widths();
    now.folder_widths = navigation_->listing().column_widths();
    now.v_splitter = state.v_splitter;
    now.h_splitter = state.h_splitter;
    now.playlist_mode = state.mode.stored();
    now.playlist_name =
        stored_playlist_name(state.mode.value(), state.current_playlist_name, state.current_media_cd_name);
    if (now.playlist_name.empty() && state.mode == PlaylistMode::playlist)
        now.playlist_name = stores_->restoring_name(); // closed before the restore completed: the next start tries again
    now.last_dir = state.current_folder;
    now.tree_saved_pls_state = state.tree_saved_pls_state;
    now.tree_media_cd_state = state.tree_media_cd_state;
    now.search_item = state.search_item;
    now.sort_item = context_.settings.sort_item;
    now.volume_left = state.volume_left;
    now.volume_top = state.volume_top;
    now.volume_visible = state.volume_visible;
    now.window_max = frame.maximised();
    // A restored window keeps the place and size the user gave it; a maximised one its restore rectangle.
    now.window = frame.maximised() ? frame.restore_rect() : window_rectangle{x(), y(), width(), height()};
    return now;
}

void TfrmMain::Save_settings() {
    write_window_state(context_.settings_ini, current_window_state());
    context_.state.mode = PlaylistMode::from_stored(context_.state.mode.stored());
}

void TfrmMain::save_state_once() {
    history_->set_ending(); // a question still open (the recovery offer) must not act once the state is saved
    if (state_saved_ || context_.settings_file.empty())
        return;
    state_saved_ = true;
    Save_settings();
}

bool TfrmMain::ExitClick() {
    return chrome_->end();
}

void TfrmMain::end_by_session() {
    history_->write_recovery_copy_now();
    chrome_->end_by_session();
}

bool TfrmMain::restoring() const {
    return !stores_->restoring_name().empty();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!ExitClick()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmMain::set_player_control(TfrmPlayerControl* panel) {
    players_->set_player_control(panel);
}

void TfrmMain::set_options_dialog(TfrmOptions* dialog) {
    chrome_->set_options_dialog(dialog);
}

void TfrmMain::set_about_box(QWidget* about) {
    chrome_->set_about_box(about);
}

playlist_pane& TfrmMain::playlist() const {
    return playlist_->pane();
}

search_pane& TfrmMain::search() const {
    return playlist_->search();
}

tree_pane& TfrmMain::navigation() const {
    return navigation_->tree();
}

listing_pane& TfrmMain::listing() const {
    return navigation_->listing();
}

players_pane& TfrmMain::players() const {
    return players_->pane();
}

status_pane& TfrmMain::status() const {
    return chrome_->status();
}

chrome_pane& TfrmMain::chrome() const {
    return chrome_->pane();
}

} // namespace karvo
