// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmOptions: the page tree and the pages with their controls, in tree order. Control names are the ones the
// settings table and the language list address; captions are the built-in ones.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Options/TfrmOptions.h"
#include "app/Options/colour_shape.h"
#include "app/resources/tray_icons.h"

namespace karvo {

namespace {

constexpr int page_left = 185;
constexpr int page_top = 8;
constexpr int page_width = 352;
constexpr int page_height = 388;

template <typename W, typename... A>
W* named(const char* name, A&&... arguments) {
    auto* widget = new W(std::forward<A>(arguments)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const char* name, const char* caption) {
    auto* l = named<QLabel>(name, QString::fromUtf8(caption));
    l->setWordWrap(true);
    return l;
}

QCheckBox* tick(const char* name, const char* caption) {
    return named<QCheckBox>(name, QString::fromUtf8(caption));
}

QRadioButton* radio(const char* name, const char* caption) {
    return named<QRadioButton>(name, QString::fromUtf8(caption));
}

QPushButton* button(const char* name, const char* caption) {
    auto* b = named<QPushButton>(name, QString::fromUtf8(caption));
    b->setAutoDefault(false);
    return b;
}

// The radio buttons of one key exclude one another only among themselves.
void group_radios(QWidget* owner, std::initializer_list<QRadioButton*> radios) {
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* r : radios)
        group->addButton(r);
}

QGroupBox* frame(const char* name, const char* caption, QLayout* layout) {
    auto* box = named<QGroupBox>(name, QString::fromUtf8(caption));
    box->setLayout(layout);
    return box;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets, int spacing = 3) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(spacing);
    layout->setContentsMargins(8, 4, 8, 6);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    return layout;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(4);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    return layout;
}

QWidget* holder(QLayout* layout) {
    auto* w = new QWidget;
    w->setLayout(layout);
    return w;
}

QLineEdit* number_field(const char* name, const char* accessible) {
    auto* field = named<QLineEdit>(name);
    field->setFixedWidth(52);
    field->setAlignment(Qt::AlignRight);
    field->setAccessibleName(QString::fromUtf8(accessible));
    return field;
}

QPushButton* browse_button(const char* name, const char* accessible) {
    auto* b = button(name, "...");
    b->setProperty("browse", true);
    b->setFixedWidth(30);
    b->setAccessibleName(QString::fromUtf8(accessible));
    return b;
}

} // namespace

QGroupBox* TfrmOptions::page(const char* name, const char* caption) {
    auto* box = named<QGroupBox>(name, QString::fromUtf8(caption), this);
    box->setProperty("page", true);
    box->setGeometry(page_left, page_top, page_width, page_height);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 16, 10, 10);
    layout->setSpacing(6);
    box->hide();
    pages_.push_back(box);
    return box;
}

void TfrmOptions::build_pages() {
    build_media_players(page("GroupBox_MP3_Players", " Media Players "));
    build_user_interface(page("GroupBoxGUI", " User Interface Settings  (Disabled) "));
    build_preferences(page("GroupBoxPreferences", " Preferences "));
    build_advanced_one(page("GroupBoxAdvancedI", " Advanced I "));
    build_advanced_two(page("GroupBoxAdvancedII", " Advanced II "));
    build_auto_playlister(page("GroupBoxAutoPlaylisterMain", "  Auto Playlister "));
    build_resource_plugin(page("GroupBoxResourcePlugin", " Plugins "));
    build_export_plugins(page("GroupBoxPlugins", " Plugins "));
    build_tree();
}

void TfrmOptions::build_media_players(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    lstMP3Players = named<QListWidget>("lstMP3Players");
    lstMP3Players->setAccessibleName(QStringLiteral("Media Players"));
    lblSpecify = label("lblSpecify", "Please specify the location of ");
    txtLocation = named<QLineEdit>("txtLocation");
    cmdBrowseLocation = browse_button("cmdBrowseLocation", "Browse for the player's program");
    lblSpecify->setBuddy(txtLocation);
    layout->addWidget(label("lblPlayers", "Media Players known to Karvo Media:"));
    layout->addWidget(lstMP3Players, 1);
    layout->addSpacing(6);
    layout->addWidget(lblSpecify);
    layout->addLayout(row({txtLocation, cmdBrowseLocation}));
    layout->addWidget(label("lblLocationInfo", "A location is kept as soon as it names an existing program "
                                               "(for MPD it is the word mpd)."));

    // The music daemon has no program here: where it listens, and which local folder its music directory is.
    auto* mpd = new QGridLayout;
    mpd->setContentsMargins(8, 4, 8, 6);
    mpd->setHorizontalSpacing(6);
    mpd->setVerticalSpacing(3);
    const auto field = [this](const char* name, const char* accessible) {
        auto* edit = named<QLineEdit>(name);
        edit->setAccessibleName(QString::fromUtf8(accessible));
        return edit;
    };
    auto* host = field("txtMPDHost", "MPD host or socket");
    auto* port = field("txtMPDPort", "MPD port");
    port->setMaximumWidth(port->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    auto* password = field("txtMPDPassword", "MPD password");
    password->setEchoMode(QLineEdit::Password);
    mpd->addWidget(label("lblMPDHost", "Host or socket:"), 0, 0);
    mpd->addLayout(row({host, label("lblMPDPort", "Port:"), port}), 0, 1);
    mpd->addWidget(label("lblMPDPassword", "Password:"), 1, 0);
    mpd->addWidget(password, 1, 1);
    mpd->addWidget(label("lblMPDLocalDir", "Local music folder:"), 2, 0);
    mpd->addWidget(field("txtMPDLocalDir", "Local music folder"), 2, 1);
    mpd->addWidget(label("lblMPDMusicDir", "MPD music folder:"), 3, 0);
    mpd->addWidget(field("txtMPDMusicDir", "MPD music folder"), 3, 1);
    mpd->setColumnStretch(1, 1);
    layout->addWidget(frame("GroupBoxMPD", " MPD ", mpd));

    connect(lstMP3Players, &QListWidget::currentRowChanged, this, [this](int player) { lstMP3PlayersClick(player); });
    connect(txtLocation, &QLineEdit::textEdited, this, [this](const QString& text) { txtLocationChange(text); });
    connect(cmdBrowseLocation, &QPushButton::clicked, this, [this] { cmdBrowseLocationClick(); });
}

void TfrmOptions::build_user_interface(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    struct shape_row {
        const char* label_name;
        const char* caption;
        const char* shape;
    };
    auto colours = [this](const char* name, const char* caption, std::initializer_list<shape_row> rows) {
        auto* grid = new QGridLayout;
        grid->setContentsMargins(8, 4, 8, 6);
        grid->setVerticalSpacing(4);
        int at = 0;
        for (const shape_row& r : rows) {
            auto* shape = new colour_shape(QString::fromLatin1(r.shape), QString::fromUtf8(r.caption), nullptr);
            connect(shape, &colour_shape::mouse_up, this, [this, name = r.shape] { ShapeMouseUp(name); });
            grid->addWidget(label(r.label_name, r.caption), at, 0);
            grid->addWidget(shape, at, 1, Qt::AlignRight);
            ++at;
        }
        return frame(name, caption, grid);
    };
    layout->addWidget(colours("GroupBoxMainColor", " Main Colors ",
                              {{"lblSpecifyBackColor", "Background Color.", "BackColor"},
                               {"lblSpecifyForeColor", "Foreground Color.", "ForeColor"},
                               {"lblSpecifyPanelColor", "Panel Background Color.", "PanelColor"},
                               {"lblSpecifyPanelBorderColor", "Panel. Border Color.", "PanelBorderColor"}}));
    layout->addWidget(colours("GroupBoxMiscColorSettings", " Misc. Colors ",
                              {{"lblMiscBackColorOn", "Background Color On.", "MiscBackColorOn"},
                               {"lblMiscBackColorOff", "Background Color Off.", "MiscBackColorOff"},
                               {"lblMiscForeColorOn", "Foreground Color On.", "MiscForeColorOn"},
                               {"lblMiscForeColorOff", "Foreground Color Off.", "MiscForeColorOff"}}));
    auto* restore = button("cmdRestoreDefaults", "Restore Defaults");
    connect(restore, &QPushButton::clicked, this, [this] { cmdRestoreDefaultsClick(); });
    auto* restore_row = row({});
    restore_row->addStretch();
    restore_row->addWidget(restore);
    layout->addLayout(restore_row);

    auto* fonts = named<QComboBox>("cmbFonts");
    fonts->addItems(QFontDatabase::families());
    fonts->setCurrentText(font().family());
    fonts->setAccessibleName(QStringLiteral("Playlist Font Name"));
    auto* size = number_field("FontSize", "Playlist Font Size");
    connect(size, &QLineEdit::textEdited, this, [this, size] { NumberFieldChange(size, 7, 1, 72); });
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 4, 0, 0);
    grid->addWidget(label("lblFonts", "Playlist Font Name:"), 0, 0);
    grid->addWidget(fonts, 0, 1);
    grid->addWidget(label("lblFontSize", "Playlist Font Size:"), 1, 0);
    grid->addWidget(size, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
}

void TfrmOptions::build_preferences(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->setSpacing(4);
    layout->addWidget(tick("chkEnhancedWinamp", "Enable WinAMP, and Soniuqe Remote Controller."));
    layout->addWidget(tick("chkVeryfiyMP3", "Verify MP3's when loading Playlist."));
    layout->addWidget(frame(
        "GroupBoxNames", " Names in the Playlist ",
        column({tick("chkUnderscore", "Replace underscores with spaces."),
                tick("chkPrctWithSpace", "Replace %20 with spaces."),
                tick("chkDotWithSpace", "Replace dots with spaces."), tick("chkRemoveBracket", "Remove brackets."),
                tick("chkShowExtension", "Don't show file extension in Playlist.")},
               1)));

    auto* taskbar = radio("rdoTaskbar", "Taskbar Only");
    auto* tray = radio("rdoSystemTray", "System Tray Only");
    auto* both = radio("rdoBoth", "Both System Tray and Taskbar");
    group_radios(page, {taskbar, tray, both});
    auto* track = named<QSlider>("IconTrackBar", Qt::Horizontal);
    track->setRange(0, artwork::tray_icon_count - 1);
    track->setPageStep(1);
    track->setTickPosition(QSlider::TicksBelow);
    track->setAccessibleName(QStringLiteral("Tray icon"));
    systray_icon = named<QLabel>("systray_icon");
    systray_icon->setFixedSize(24, 24);
    systray_icon->setAlignment(Qt::AlignCenter);
    connect(track, &QSlider::valueChanged, this, [this](int position) { IconTrackBarChange(position); });
    auto* show_in = new QGridLayout;
    show_in->setContentsMargins(8, 4, 8, 6);
    show_in->setVerticalSpacing(1);
    show_in->addWidget(taskbar, 0, 0);
    show_in->addWidget(tray, 1, 0);
    show_in->addWidget(both, 2, 0);
    show_in->addWidget(label("lblTrayIcon", "Icon:"), 0, 1, 1, 2);
    show_in->addWidget(track, 1, 1, 2, 1);
    show_in->addWidget(systray_icon, 1, 2, 2, 1);
    show_in->setColumnStretch(1, 1);
    layout->addWidget(frame("GroupBoxShowIn", " Show Karvo Media in ", show_in));

    auto* times = number_field("RandomizeTimes", "Randomize passes");
    connect(times, &QLineEdit::textEdited, this, [this, times] { NumberFieldChange(times, 1, 0, 1000); });
    auto* randomize = row({label("lblRandomize", "Randomze my playlist this many times:"), times});
    randomize->setContentsMargins(8, 4, 8, 6);
    layout->addWidget(frame("GroupBoxRandomize", " Randomize ", randomize));

    auto* desktop = button("cmdDesktopIcon", "Add Desktop Icon");
    auto* quick = button("cmdQuickLaunchIcon", "Add QuickLaunch Icon");
    connect(desktop, &QPushButton::clicked, this, [this] { cmdDesktopIconClick(); });
    connect(quick, &QPushButton::clicked, this, [this] { cmdQuickLaunchIconClick(); });
    layout->addLayout(row({desktop, quick}));
    layout->addStretch();
}

void TfrmOptions::build_advanced_one(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    lstExtensions = named<QListWidget>("lstExtensions");
    lstExtensions->setAccessibleName(QStringLiteral("File Types"));
    lstExtensions->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(this);
    menu->setObjectName("mnuFileTypes");
    connect(menu->addAction(QStringLiteral("Select All")), &QAction::triggered, this,
            [this] { lstExtensionsSelect(true); });
    connect(menu->addAction(QStringLiteral("Select None")), &QAction::triggered, this,
            [this] { lstExtensionsSelect(false); });
    connect(lstExtensions, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->popup(lstExtensions->viewport()->mapToGlobal(at)); });
    layout->addWidget(frame("GroupBoxFileTypes", " File Types ",
                            column({label("lblFileTypes", "Tick the types of file that may be added to the Playlist:"),
                                    lstExtensions})),
                      1);

    auto* enqueue = radio("rdoEnqueue", "Enqueue (Only when WinAMP and NAD is running).");
    auto* play = radio("rdoPlay", "Play the selected File.");
    auto* remove = radio("rdoRemove", "Remove selected entry from Playlist.");
    auto* select_all = radio("rdoSelectAll", "Select All entries from Playlist.");
    group_radios(page, {enqueue, play, remove, select_all});
    layout->addWidget(frame(
        "GroupBoxDblClick", " Double Click ",
        column({label("lblDblClick", "A double click on the Playlist does this:"), enqueue, play, remove, select_all},
               1)));
}

void TfrmOptions::build_advanced_two(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* bottom = radio("rdoAtBottom", "At the end of the Playlist.");
    auto* cursor = radio("rdoCurrsorPos", "At cursor Position.");
    auto* top = radio("rdoAtTop", "At the top of the Playlist.");
    group_radios(page, {bottom, cursor, top});
    layout->addWidget(frame("GroupBoxDragNDrop", " Drag'n Drop ",
                            column({label("lblDragNDrop", "Files dropped on the Playlist are added:"), bottom, cursor,
                                    top, tick("chkDragNDrop_Rnd", "Randomize List after Drag'n Drop Operation")},
                                   1)));

    auto* contents = tick("chkAddPlaylistContents", "Add the contents of the Playlist File");
    auto* file = tick("chkAddPlaylist", "Add the actual Playlist File");
    layout->addWidget(frame(
        "GroupBoxPlaylistAdding", " Adding Playlists ",
        column({label("lblAddingPlaylistsInfo", "When an M3U or PLS file is added to the Playlist:"), contents, file},
               1)));

    auto* search_name = tick("chkSearchFileName", "Search by File Name.");
    auto* search_path = tick("chkSearchFullPath", "Search by Full Path Name.");
    auto* sort_name = tick("chkSortFileName", "Sort by File Name.");
    auto* sort_path = tick("chkSortFullPath", "Sort by Full Path Name.");
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(1);
    grid->addWidget(search_name, 0, 0);
    grid->addWidget(search_path, 1, 0);
    grid->addWidget(sort_name, 2, 0);
    grid->addWidget(sort_path, 3, 0);
    grid->setRowMinimumHeight(2, 22);
    grid->setAlignment(sort_name, Qt::AlignBottom);
    layout->addWidget(frame("GroupBoxSearchSort", " Search and Sort ", grid));
    layout->addStretch();

    // The three pairs act as radio pairs.
    for (auto [a, b] :
         {std::pair{contents, file}, std::pair{search_name, search_path}, std::pair{sort_name, sort_path}}) {
        connect(a, &QCheckBox::clicked, this, [this, a, b] { pair_click(a, b); });
        connect(b, &QCheckBox::clicked, this, [this, a, b] { pair_click(b, a); });
    }
}

void TfrmOptions::build_auto_playlister(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->addWidget(label("lblAutoPlaylisterInfo",
                            "The Auto Playlister watches a folder and its sub-folders. Each media file that appears "
                            "there is handled as you choose below."));
    auto* enabled = tick("chkEnableAutoPlayliser", "Enabled.");
    connect(enabled, &QCheckBox::clicked, this, [this] { chkEnableAutoPlayliserClick(); });
    layout->addWidget(enabled);

    auto* folder = named<QLineEdit>("txtAutoPlaylister");
    folder->setAccessibleName(QStringLiteral("Folder to watch"));
    auto* browse = browse_button("cmdAutoPlaylisterBrowse", "Browse for the folder to watch");
    connect(browse, &QPushButton::clicked, this, [this] { cmdAutoPlaylisterBrowseClick(); });
    auto* saved = tick("chkAddSavedPlaylist", "Add to a playlist I saved previously.");
    connect(saved, &QCheckBox::clicked, this, [this] { apply_auto_playlister_enabling(); });
    auto* playlists = named<QComboBox>("cmbPlaylists");
    playlists->setAccessibleName(QStringLiteral("Saved playlist"));
    auto* inner = column({label("lblDir", "Folder to watch:"), holder(row({folder, browse})),
                          label("lblTakeAction", "When a new media file appears:"),
                          tick("chkEnqueue", "Enqueue in the selected player."),
                          tick("chkAddCurrPlaylist", "Add to current playlist."), saved},
                         3);
    auto* indented = row({playlists});
    indented->setContentsMargins(22, 0, 0, 0);
    inner->addLayout(indented);
    layout->addWidget(frame("GroupBoxAutoPlaylister", " Watched Folder ", inner));
    layout->addStretch();
}

void TfrmOptions::build_resource_plugin(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    auto value = [](const char* name) {
        auto* l = named<QLabel>(name);
        l->setProperty("value", true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    grid->addWidget(label("lblResourcePlugin", "Resource Plugin:"), 0, 0);
    grid->addWidget(value("lblResourceName"), 0, 1);
    grid->addWidget(label("lblResourceAuthorCaption", "Author:"), 1, 0);
    grid->addWidget(value("lblResourceAuthor"), 1, 1);
    grid->addWidget(label("lblResourceVersionCaption", "Version:"), 2, 0);
    grid->addWidget(value("lblResourceVersion"), 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(label("lblResourcePluginInfo", "Plugin Information:"));
    auto* info = named<QListWidget>("lstResourceInfo");
    info->setAccessibleName(QStringLiteral("Plugin Information"));
    info->setWordWrap(true);
    layout->addWidget(info, 1);
}

void TfrmOptions::build_export_plugins(QGroupBox* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    lstExportPlugins = named<QListWidget>("lstExportPlugins");
    lstExportPlugins->setAccessibleName(QStringLiteral("Export Plugins"));
    auto* configure = button("cmdConfig", "&Configure");
    auto* about = button("cmdAbout", "&About");
    connect(configure, &QPushButton::clicked, this, [this] { cmdConfigClick(); });
    connect(about, &QPushButton::clicked, this, [this] { cmdAboutClick(); });
    connect(lstExportPlugins, &QListWidget::currentRowChanged, this, [configure, about](int chosen) {
        configure->setEnabled(chosen >= 0);
        about->setEnabled(chosen >= 0);
    });
    configure->setEnabled(false);
    about->setEnabled(false);
    layout->addWidget(label("lblExpPluginNames", "Export Plugins:"));
    layout->addWidget(lstExportPlugins, 1);
    auto* buttons = row({});
    buttons->addStretch();
    buttons->addWidget(configure);
    buttons->addWidget(about);
    layout->addLayout(buttons);
}

void TfrmOptions::build_tree() {
    OptionsTree = named<QTreeWidget>("OptionsTree", this);
    OptionsTree->setGeometry(6, page_top + 6, page_left - 6 - 5, page_height - 6);
    OptionsTree->setHeaderHidden(true);
    OptionsTree->setRootIsDecorated(false); // always expanded; the room goes to the page names
    OptionsTree->setIndentation(12);
    OptionsTree->setAccessibleName(QStringLiteral("Pages"));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(7);
    OptionsTree->setFont(font);
    auto* settings = new QTreeWidgetItem(OptionsTree);
    for (int i = 0; i < 6; ++i)
        new QTreeWidgetItem(settings);
    auto* plugins = new QTreeWidgetItem(OptionsTree);
    new QTreeWidgetItem(plugins);
    new QTreeWidgetItem(plugins);
    OptionsTree->expandAll();
    connect(OptionsTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { OptionsTreeChange(node); });
    fill_tree_texts();
    OptionsTree->setCurrentItem(settings->child(0));
}

} // namespace karvo
