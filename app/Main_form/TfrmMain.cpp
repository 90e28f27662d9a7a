#include "app/Main_form/TfrmMain.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include "app/Main_form/folder_listing_model.h"
#include "app/Main_form/hot_row_delegate.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/pane_splitter.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players_panel.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/status_line.h"
#include "app/resources/artwork.h"
#include "library/folder_scanner.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

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
QMenu { background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192); }
QMenu::item { padding: 3px 24px 3px 18px; }
QMenu::item:selected { background: rgb(0,128,192); }
QMenu::separator { height: 1px; background: rgb(0,90,160); margin: 2px 6px; }
QToolTip { background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192); }
)";

QTableView* make_list_view(const QString& name, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->setIconSize(QSize(16, 16));
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    auto* header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);
    return view;
}

} // namespace

TfrmMain::TfrmMain(main_environment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), environment_(std::move(environment)) {
    setObjectName("frmMain");
    setWindowTitle(QString::fromUtf8(application_title));
    setMinimumSize(min_window_width, min_window_height);
    program_folder = platform::with_trailing_slash(environment_.program_folder);
    data_folder = platform::with_trailing_slash(environment_.data_folder);
    messages = builtin_main_language().messages;

    create_folder_path(data_folder);
    playlists = std::make_unique<playlist_class>(data_folder, [this](const std::string& text,
                                                                     const std::string& caption) {
        folder_failed_ = true;
        environment_.prompts.message_box(text, caption, platform::message_buttons::ok,
                                         platform::message_icon::none);
    });

    build_controls();
    resize(restore_rect.width, restore_rect.height);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::build_controls() {
    back_panel = new QWidget(this);
    back_panel->setObjectName("back_panel");
    back_panel->setAutoFillBackground(true);
    QPalette palette = back_panel->palette();
    palette.setColor(QPalette::Window, artwork::navy());
    palette.setColor(QPalette::WindowText, Qt::white);
    back_panel->setPalette(palette);
    back_panel->setStyleSheet(QString::fromLatin1(window_style));
    back_panel->installEventFilter(this);

    build_chrome();
    build_panes();
    build_status_line();
    build_commands_menu();
    build_players();
    build_navigation();

    TimerUp = new QTimer(this);
    TimerUp->setObjectName("TimerUp");
    TimerUp->setInterval(500);
    connect(TimerUp, &QTimer::timeout, this, [this] { TimerUpTimer(); });
    TimerDown = new QTimer(this);
    TimerDown->setObjectName("TimerDown");
    TimerDown->setInterval(500);
    connect(TimerDown, &QTimer::timeout, this, [this] { TimerDownTimer(); });
    TimerResize = new QTimer(this);
    TimerResize->setObjectName("TimerResize");
    TimerResize->setInterval(100);
    connect(TimerResize, &QTimer::timeout, this, [this] { imgResizeTimer(); });
}

void TfrmMain::build_chrome() {
    pnlTitle = new QWidget(back_panel);
    pnlTitle->setObjectName("pnlTitle");
    pnlTitle->installEventFilter(this);
    lblTitle = new QLabel(QString::fromUtf8(application_title), pnlTitle);
    lblTitle->setObjectName("lblTitle");
    QFont title_font = lblTitle->font();
    title_font.setBold(true);
    lblTitle->setFont(title_font);
    lblTitle->setStyleSheet("color: white; background: transparent;");
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlTitle->setStyleSheet("#pnlTitle { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                            "stop:0 rgb(40,165,230), stop:0.5 rgb(0,128,192), stop:1 rgb(0,70,130)); }");
    pnlTitle->setAttribute(Qt::WA_StyledBackground);

    ToolbarMin = new picture_button(artwork::picture::minimize, "ToolbarMin", pnlTitle);
    ToolbarMax = new picture_button(artwork::picture::maximize, "ToolbarMax", pnlTitle);
    ToolbarExit = new picture_button(artwork::picture::exit, "ToolbarExit", pnlTitle);
    connect(ToolbarMin, &QAbstractButton::clicked, this, [this] { ToolbarMinClick(); });
    connect(ToolbarMax, &QAbstractButton::clicked, this, [this] { ToolbarMaxClick(); });
    connect(ToolbarExit, &QAbstractButton::clicked, this, [this] { ExitClick(); });

    // The floating panels; their content comes with the player selection and the search.
    auto make_panel = [this](const char* name, const char* caption, const char* fold_name) {
        auto* panel = new QFrame(back_panel);
        panel->setObjectName(name);
        panel->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                            "stop:0 rgb(30,150,215), stop:1 rgb(0,96,160)); }")
                                 .arg(QString::fromLatin1(name)));
        auto* label = new QLabel(QString::fromUtf8(caption), panel);
        label->setObjectName(QStringLiteral("%1_caption").arg(QString::fromLatin1(name)));
        label->setStyleSheet("color: white; background: transparent; font-weight: bold;");
        label->move(30, 4);
        auto* fold = new picture_button(artwork::picture::fold_plus, fold_name, panel);
        fold->setGeometry(8, 4, 17, 17);
        return panel;
    };
    a = new players_panel(back_panel);
    a1 = make_panel("a1", "Search", "SearchMinMaxButton");
    a1->resize(170, 25);

    imgFolderCaption = new QLabel(QStringLiteral("Folder Listing"), back_panel);
    imgFolderCaption->setObjectName("imgFolderCaption");
    imgFolderCaption->setStyleSheet("color: rgb(150,210,255); background: transparent; font-weight: bold;");
}

void TfrmMain::build_panes() {
    MyTree = new navigation_tree(back_panel);

    LstMusicListAll = make_list_view("LstMusicListAll", back_panel);
    build_listing();

    LstMusicList = make_list_view("LstMusicList", back_panel);
    playlist = new playlist_model(music_list, this);
    LstMusicList->setModel(playlist);
    playlist_delegate = new hot_row_delegate(LstMusicList);
    LstMusicList->setItemDelegate(playlist_delegate);
    LstMusicList->setMouseTracking(true);
    LstMusicList->viewport()->setCursor(Qt::PointingHandCursor);
    LstMusicList->viewport()->installEventFilter(this);
    LstMusicList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LstMusicList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuCommands->popup(LstMusicList->viewport()->mapToGlobal(at)); });
    connect(LstMusicList->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { LstMusicListColumnClick(column); });

    VSplitter = new pane_splitter(Qt::Horizontal, "VSplitter", back_panel);
    HSplitter = new pane_splitter(Qt::Vertical, "HSplitter", back_panel);
    // A drag moves the pane edge by the pointer's travel from where the drag began.
    auto drag_start = std::make_shared<QPoint>();
    VSplitter->on_press = HSplitter->on_press = [this, drag_start] { *drag_start = {v_splitter, h_splitter}; };
    VSplitter->on_drag = [this, drag_start](int travel) { set_splitters(drag_start->x() + travel, h_splitter); };
    HSplitter->on_drag = [this, drag_start](int travel) { set_splitters(v_splitter, drag_start->y() + travel); };

    SpliterToolbar = new QWidget(back_panel);
    SpliterToolbar->setObjectName("SpliterToolbar");
    cmdSort = new picture_button(artwork::picture::sort_az, "cmdSort", SpliterToolbar);
    cmdSortza = new picture_button(artwork::picture::sort_za, "cmdSortza", SpliterToolbar);
    cmdRandom = new picture_button(artwork::picture::randomize, "cmdRandom", SpliterToolbar);
    vp_up = new picture_button(artwork::picture::move_up, "vp_up", SpliterToolbar);
    vp_down = new picture_button(artwork::picture::move_down, "vp_down", SpliterToolbar);
    int x = 0;
    for (picture_button* button : {cmdSort, cmdSortza, cmdRandom, vp_up, vp_down}) {
        button->setGeometry(x, 1, 22, 22);
        x += button == cmdRandom ? 34 : 25;
    }
    SpliterToolbar->resize(x, 24);
    connect(cmdSort, &QAbstractButton::clicked, this, [this] { cmdSortClick(); });
    connect(cmdSortza, &QAbstractButton::clicked, this, [this] { cmdSortzaClick(); });
    connect(cmdRandom, &QAbstractButton::clicked, this, [this] { cmdRandomClick(); });
    vp_up->installEventFilter(this);
    vp_down->installEventFilter(this);

    pnlBottomButtons = new QWidget(back_panel);
    pnlBottomButtons->setObjectName("pnlBottomButtons");
    cmdCommands = new picture_button(artwork::picture::commands, "cmdCommands", pnlBottomButtons);
    cmdCommands->setGeometry(0, 1, 22, 22);
    pnlBottomButtons->resize(22, 24);
    connect(cmdCommands, &QAbstractButton::clicked, this,
            [this] { mnuCommands->popup(cmdCommands->mapToGlobal(QPoint(0, cmdCommands->height()))); });
}

void TfrmMain::build_status_line() {
    imgMessage = new status_line(back_panel);
    imgMessage->installEventFilter(this);
    auto label = [this](const char* name) {
        auto* l = new QLabel(imgMessage);
        l->setObjectName(name);
        l->setStyleSheet("color: white; background: transparent;");
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    lblMessage = label("lblMessage");
    Selected_Playlist = label("Selected_Playlist");
    Selected_MediaCD = label("Selected_MediaCD");
    Selected_Nothing = label("Selected_Nothing");
    SelectedName = label("SelectedName");
    imgMyComputer = label("imgMyComputer");
    lblmycomputer = label("lblmycomputer");
    const qreal ratio = devicePixelRatioF();
    Selected_Playlist->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_playlist, 14, ratio));
    Selected_MediaCD->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_media_cd, 14, ratio));
    Selected_Nothing->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_nothing, 14, ratio));
    imgMyComputer->setPixmap(artwork::my_computer_pixmap(imgMyComputer->font(), ratio));
    for (QLabel* l : {Selected_Playlist, Selected_MediaCD, Selected_Nothing, imgMyComputer, SelectedName,
                      lblmycomputer, lblMessage})
        l->hide();

    imgResize = new QLabel(back_panel);
    imgResize->setObjectName("imgResize");
    imgResize->setCursor(Qt::SizeFDiagCursor);
    QPixmap grip(QSize(14, 14) * ratio);
    grip.setDevicePixelRatio(ratio);
    grip.fill(Qt::transparent);
    {
        QPainter painter(&grip);
        artwork::paint_glyph(painter, QRectF(1, 1, 12, 12), artwork::picture::resize_grip, QColor(90, 170, 230));
    }
    imgResize->setPixmap(grip);
    imgResize->installEventFilter(this);
}

void TfrmMain::build_commands_menu() {
    mnuCommands = new QMenu(this);
    mnuCommands->setObjectName("mnuCommands");
    mnuCommands->setStyleSheet(QString::fromLatin1(window_style));
    auto item = [this](const char* name, const char* caption, auto handler) {
        auto* action = mnuCommands->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuMoveSelectedUp = item("mnuMoveSelectedUp", "Move Selected Up", [this] { mnuMoveSelectedUpClick(); });
    mnuMoveSelectedDown = item("mnuMoveSelectedDown", "Move Selected Down", [this] { mnuMoveSelectedDownClick(); });
    mnuCommands->addSeparator();
    mnuExit = item("mnuExit", "Exit", [this] { ExitClick(); });
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuExit->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuExit);
}

void TfrmMain::wire_hint(picture_button* button, const QString& hint) {
    button->hint = hint;
    button->on_enter = [this](picture_button& b) {
        if (!b.hint.isEmpty())
            show_message(b.hint);
    };
    button->on_leave = [this](picture_button&) { show_location(); };
}

bool TfrmMain::FormCreate() {
    if (folder_failed_)
        return false;
    // 1. message-box title; the playlist view starts empty
    msg_box_title = application_title;
    LstMusicList->viewport()->update();
    // 2-3. program folder, language plug-in
    load_language_plugin();
    // 4. resource plug-in: the program cannot run without it
    if (!load_resource_plugin()) {
        environment_.prompts.message_box(missing_resource_plugin_text(messages[15]), msg_box_title,
                                         platform::message_buttons::ok, platform::message_icon::error);
        return false;
    }
    // 6. location labels
    SelectedName->setText(QStringLiteral("<none>"));
    lblmycomputer->setText(QStringLiteral("<none>"));
    // 7, 9. paths of the data files
    settings_file = data_folder + "karvo.ini";
    media_cd_index = data_folder + "Media CDs/media_cds.ini";
    temp_playlist = data_folder + "temp_playlist.m3u";
    // 8, 12. window shapes and the status line
    place_controls();
    imgMessage->update();
    // 11. navigation tree
    MyTreeBuild();
    // 14-16. settings, previous state, location
    Load_settings();
    Restore_state();
    show_location();
    return true;
}

void TfrmMain::load_language_plugin() {
    language.load_from(program_folder);
    const main_language texts = language.main_window();
    messages = texts.messages;
    for (const auto& [name, caption] : texts.captions) {
        const QString text = QString::fromStdString(caption);
        if (name == virtual_playlist_column1) {
            playlist->set_caption(1, text);
        } else if (auto* action = findChild<QAction*>(QString::fromStdString(name))) {
            action->setText(text);
        } else if (auto* label = findChild<QLabel*>(QString::fromStdString(name))) {
            label->setText(text);
        } else if (auto* button = findChild<QAbstractButton*>(QString::fromStdString(name))) {
            button->setText(text);
        }
    }
    apply_language();
}

void TfrmMain::apply_language() {
    auto message = [this](int n) { return QString::fromStdString(messages[n]); };
    playlist->set_count_texts(message(0), message(1));
    wire_hint(cmdSort, message(10));
    wire_hint(cmdSortza, message(11));
    wire_hint(cmdRandom, message(9));
    wire_hint(vp_up, QStringLiteral("Click to move selected up."));
    wire_hint(vp_down, QStringLiteral("Click to move selected down."));
    wire_hint(cmdCommands, message(12));
    wire_hint(ToolbarMin, QStringLiteral("Minimize"));
    wire_hint(ToolbarMax, QString());
    wire_hint(ToolbarExit, QStringLiteral("Exit"));
}

bool TfrmMain::load_resource_plugin() {
    if (!resource.load(program_folder + resource_plugin::relative_path))
        return false;
    std::vector<QIcon> icons;
    for (const auto& png : resource.extension_icons()) {
        QPixmap pixmap;
        if (!png.empty())
            pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
        icons.emplace_back(pixmap);
    }
    set_listing_images(icons);
    playlist->set_extension_images(resource.extensions(), std::move(icons));
    return true;
}

} // namespace karvo
