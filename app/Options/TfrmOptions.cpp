// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options/TfrmOptions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QFontMetrics>
#include <QStyle>
#include <QTreeWidget>

#include "app/Options/colour_shape.h"
#include "app/resources/tray_icons.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/profile_document.h"
#include "players/mpd_player.h"

namespace karvo {

namespace {

constexpr int page_role = Qt::UserRole;
constexpr int settings_pages = 6; // under the first root; the plug-in pages follow under "Plugins"

const char* const dialog_style = R"(
QDialog#frmOptions { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(0,0,140), stop:1 rgb(0,0,88)); }
QWidget { color: rgb(235,242,255); font-size: 8pt; }
QTreeWidget#OptionsTree { font-family: Verdana; font-size: 7pt; }
QGroupBox { border: 1px solid rgb(0,128,192); border-radius: 5px; margin-top: 7px; padding-top: 3px; }
QGroupBox[page="true"] { background: rgba(0,0,40,90); }
QGroupBox::title { subcontrol-origin: margin; left: 9px; padding: 0 3px; color: rgb(150,210,255); font-weight: bold; }
QLabel:disabled, QCheckBox:disabled, QRadioButton:disabled { color: rgb(110,130,170); }
QLabel[value="true"] { color: white; font-weight: bold; }
QTreeWidget, QListWidget, QLineEdit, QComboBox {
  background: rgb(0,0,72); border: 1px solid rgb(0,128,192); border-radius: 2px;
  selection-background-color: rgb(0,128,192); selection-color: white;
}
QLineEdit, QComboBox { padding: 1px 3px; min-height: 17px; }
QLineEdit:disabled, QComboBox:disabled, QListWidget:disabled { background: rgb(0,0,60); color: rgb(110,130,170);
  border-color: rgb(30,60,120); }
QLineEdit:focus, QComboBox:focus, QListWidget:focus, QTreeWidget:focus { border: 1px solid rgb(120,210,255); }
QComboBox QAbstractItemView { background: rgb(0,0,96); border: 1px solid rgb(0,128,192); }
QTreeWidget::item, QListWidget::item { padding: 1px 2px; }
QTreeWidget::item:hover, QListWidget::item:hover { background: rgb(0,60,140); }
QTreeWidget::item:selected, QListWidget::item:selected { background: rgb(0,128,192); color: white; }
QPushButton {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(30,160,225), stop:1 rgb(0,88,150));
  color: white; border: 1px solid rgb(90,170,230); border-radius: 3px; padding: 3px 12px; min-height: 16px;
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(110,210,255), stop:1 rgb(0,120,200));
  border-color: rgb(235,250,255); }
QPushButton:pressed { background: rgb(0,80,150); }
QPushButton:focus { border: 1px solid rgb(255,255,160); }
QPushButton:disabled { background: rgb(20,50,110); color: rgb(110,130,170); border-color: rgb(30,60,120); }
QPushButton[browse="true"] { padding: 0; }
QCheckBox, QRadioButton { spacing: 6px; }
QCheckBox:focus, QRadioButton:focus { color: rgb(255,255,160); }
QCheckBox::indicator, QRadioButton::indicator { width: 11px; height: 11px; border: 1px solid rgb(90,170,230);
  background: rgb(0,0,72); }
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked {
  background: qradialgradient(cx:0.5, cy:0.5, radius:0.6, fx:0.5, fy:0.5, stop:0 white, stop:0.45 rgb(120,220,255),
  stop:0.5 rgb(0,0,72)); }
QCheckBox::indicator:hover, QRadioButton::indicator:hover { border-color: white; }
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled { border-color: rgb(30,60,120); }
QSlider::groove:horizontal { height: 4px; background: rgb(0,60,130); border-radius: 2px; }
QSlider::handle:horizontal { width: 10px; margin: -6px 0; border-radius: 3px; background: rgb(90,190,250);
  border: 1px solid white; }
QScrollBar:vertical { background: rgb(0,0,90); width: 12px; border: none; }
QScrollBar::handle { background: rgb(0,128,192); border-radius: 4px; min-height: 20px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QMenu { background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192); }
QMenu::item { padding: 3px 24px 3px 18px; }
QMenu::item:selected { background: rgb(0,128,192); }
)";

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

// The text broken into lines at blanks so that each line fits `width`, as far as its words allow.
QString wrapped(const QString& text, const QFontMetrics& metrics, int width) {
    QString out;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            out += line + QLatin1Char('\n');
            line = word;
        } else {
            line = longer;
        }
    }
    return out + line;
}

} // namespace

TfrmOptions::TfrmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Karvo Media Options"));
    setModal(false);
    setStyleSheet(QString::fromLatin1(dialog_style));
    setFixedSize(545, 436);
    build_pages();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    ok->setObjectName("cmdOK");
    cancel->setObjectName("cmdCancel");
    apply->setObjectName("cmdApply");
    int left = width() - 8;
    for (QPushButton* b : {apply, cancel, ok}) {
        b->setAutoDefault(false);
        left -= 82;
        b->setGeometry(left + 6, height() - 34, 76, 26);
    }
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmdCancelClick(); });
    connect(apply, &QPushButton::clicked, this, [this] { cmdApplyClick(); });
    setTabOrder(OptionsTree, ok);
}

template <typename T>
T* TfrmOptions::control(const char* name) const {
    return name ? findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

void TfrmOptions::set_up(options_environment environment) {
    environment_ = std::move(environment);
    language_.load_from(environment_.program_folder);
    texts_ = language_.options_dialog();
    apply_language();
}

void TfrmOptions::apply_language() {
    for (const auto& [name, caption] : texts_.captions) {
        const QString text = text_of(caption);
        const QString object = text_of(name);
        if (auto* box = findChild<QGroupBox*>(object))
            box->setTitle(text);
        else if (auto* l = findChild<QLabel*>(object))
            l->setText(text);
        else if (auto* b = findChild<QAbstractButton*>(object))
            b->setText(text);
    }
    fill_tree_texts();
    lstMP3PlayersClick(chosen_player_);
}

void TfrmOptions::fill_tree_texts() {
    QTreeWidgetItem* settings = OptionsTree->topLevelItem(0);
    QTreeWidgetItem* plugins = OptionsTree->topLevelItem(1);
    // The tree keeps its width: a name too long for it takes more lines instead of being cut.
    const QFontMetrics metrics(OptionsTree->font());
    const int room = OptionsTree->width() - 2 * OptionsTree->frameWidth() -
                     OptionsTree->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    const auto set = [&](QTreeWidgetItem* item, const QString& text, int depth) {
        item->setText(0, wrapped(text, metrics, room - depth * OptionsTree->indentation()));
        item->setToolTip(0, text);
    };
    set(settings, windowTitle().trimmed(), 0);
    set(plugins, QStringLiteral("Plugins"), 0);
    for (int i = 0; i < settings_pages; ++i) {
        set(settings->child(i), pages_[i]->title().trimmed(), 1);
        settings->child(i)->setData(0, page_role, i);
    }
    set(plugins->child(0), text_of(texts_.resource_page_name), 1);
    set(plugins->child(1), text_of(texts_.export_page_name), 1);
    plugins->child(0)->setData(0, page_role, settings_pages);
    plugins->child(1)->setData(0, page_role, settings_pages + 1);
}

void TfrmOptions::OptionsTreeChange(QTreeWidgetItem* node) {
    if (!node || !node->data(0, page_role).isValid())
        return; // a root has no page: the chosen one stays
    for (QGroupBox* p : pages_)
        p->hide();
    pages_[node->data(0, page_role).toInt()]->show();
}

void TfrmOptions::show_options(const options_sources& sources) {
    if (isVisible()) {
        // Shown again while open: the changes being made stay.
        raise();
        activateWindow();
        return;
    }
    sources_ = sources;
    auto* playlists = control<QComboBox>("cmbPlaylists");
    playlists->clear();
    for (const auto& name : sources_.saved_playlists)
        playlists->addItem(text_of(name));

    lstMP3Players->clear();
    for (const auto& name : sources_.player_names)
        lstMP3Players->addItem(text_of(name));
    chosen_player_ = -1;
    lstMP3Players->setCurrentRow(sources_.player_names.empty() ? -1 : 0);
    lstMP3PlayersClick(lstMP3Players->currentRow());

    fill_file_types();
    fill_resource_page();
    lstExportPlugins->clear();
    for (const auto& name : sources_.export_plugins)
        lstExportPlugins->addItem(text_of(name));

    if (ini_) {
        load_values(read_options(*ini_, sources_.extensions));
        const mpd_settings mpd = read_mpd_settings(*ini_);
        control<QLineEdit>("txtMPDHost")->setText(text_of(mpd.host));
        control<QLineEdit>("txtMPDPort")->setText(QString::number(mpd.port));
        control<QLineEdit>("txtMPDPassword")->setText(text_of(mpd.password));
        control<QLineEdit>("txtMPDLocalDir")->setText(text_of(mpd.local_music_dir));
        control<QLineEdit>("txtMPDMusicDir")->setText(text_of(mpd.server_music_dir));
    }
    if (const QScreen* on = parentWidget() ? parentWidget()->screen() : screen())
        move(on->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TfrmOptions::fill_file_types() {
    lstExtensions->clear();
    for (std::size_t i = 0; i < sources_.extensions.size(); ++i) {
        const std::string& description =
            i < sources_.extension_descriptions.size() ? sources_.extension_descriptions[i] : sources_.extensions[i];
        auto* item = new QListWidgetItem(text_of(description), lstExtensions);
        if (i < sources_.extension_icons.size())
            item->setIcon(sources_.extension_icons[i]);
        item->setData(Qt::UserRole, text_of(sources_.extensions[i]));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void TfrmOptions::fill_resource_page() {
    control<QLabel>("lblResourceName")->setText(text_of(sources_.resource_name));
    control<QLabel>("lblResourceAuthor")->setText(text_of(sources_.resource_author));
    control<QLabel>("lblResourceVersion")->setText(text_of(sources_.resource_version));
    auto* info = control<QListWidget>("lstResourceInfo");
    info->clear();
    for (const auto& line : sources_.resource_info)
        info->addItem(text_of(line));
}

options_values TfrmOptions::values() const {
    options_values values;
    for (const option_key& k : option_keys()) {
        option_value v;
        switch (k.kind) {
            case option_kind::boolean: v.number = control<QCheckBox>(k.controls[0])->isChecked() ? 1 : 0; break;
            case option_kind::colour:
                v.number = static_cast<int>(control<colour_shape>(k.controls[0])->colour());
                break;
            case option_kind::integer:
                if (auto* field = control<QLineEdit>(k.controls[0]))
                    v.number = coerce_number(field->text().toStdString(), k.shown_default, k.first, k.last);
                else
                    v.number = control<QSlider>(k.controls[0])->value();
                break;
            case option_kind::text:
                if (auto* field = control<QLineEdit>(k.controls[0])) {
                    v.text = field->text().toStdString();
                } else {
                    auto* box = control<QComboBox>(k.controls[0]);
                    v.text = box->currentIndex() >= 0 ? box->currentText().toStdString() : std::string();
                }
                break;
            case option_kind::choice:
                v.number = -1;
                for (int i = 0; i < static_cast<int>(k.controls.size()); ++i)
                    if (auto* b = control<QAbstractButton>(k.controls[i]); b && b->isChecked() && v.number < 0)
                        v.number = i;
                break;
        }
        values.rows.push_back(v);
    }
    for (int i = 0; i < lstExtensions->count(); ++i)
        values.extensions.push_back(lstExtensions->item(i)->checkState() == Qt::Checked);
    return values;
}

void TfrmOptions::load_values(const options_values& values) {
    const auto& keys = option_keys();
    for (std::size_t row = 0; row < keys.size() && row < values.rows.size(); ++row) {
        const option_key& k = keys[row];
        const option_value& v = values.rows[row];
        switch (k.kind) {
            case option_kind::boolean: control<QCheckBox>(k.controls[0])->setChecked(v.number != 0); break;
            case option_kind::colour:
                control<colour_shape>(k.controls[0])->set_colour(static_cast<std::uint32_t>(v.number));
                break;
            case option_kind::integer:
                if (auto* field = control<QLineEdit>(k.controls[0]))
                    field->setText(QString::number(v.number));
                else
                    control<QSlider>(k.controls[0])->setValue(v.number);
                break;
            case option_kind::text:
                if (auto* field = control<QLineEdit>(k.controls[0])) {
                    field->setText(text_of(v.text));
                } else {
                    auto* box = control<QComboBox>(k.controls[0]);
                    box->setCurrentIndex(v.text.empty() ? -1 : box->findText(text_of(v.text), Qt::MatchExactly));
                }
                break;
            case option_kind::choice:
                for (int i = 0; i < static_cast<int>(k.controls.size()); ++i)
                    if (auto* b = control<QAbstractButton>(k.controls[i])) {
                        // Radio buttons of a group must be allowed to end up all unticked.
                        const bool exclusive = b->autoExclusive();
                        b->setAutoExclusive(false);
                        b->setChecked(i == v.number);
                        b->setAutoExclusive(exclusive);
                    }
                break;
        }
    }
    for (int i = 0; i < lstExtensions->count(); ++i)
        lstExtensions->item(i)->setCheckState(
            static_cast<std::size_t>(i) >= values.extensions.size() || values.extensions[i] ? Qt::Checked
                                                                                            : Qt::Unchecked);
    IconTrackBarChange(control<QSlider>("IconTrackBar")->value());
    apply_auto_playlister_enabling();
}

void TfrmOptions::lstMP3PlayersClick(int player) {
    chosen_player_ = player;
    const std::string name = player >= 0 && static_cast<std::size_t>(player) < sources_.player_names.size()
                                 ? sources_.player_names[player]
                                 : std::string();
    const bool usable = !name.empty();
    lblSpecify->setEnabled(usable);
    txtLocation->setEnabled(usable);
    cmdBrowseLocation->setEnabled(usable);
    lblSpecify->setText(
        text_of(usable ? player_location_prompt(texts_.location_prompt, name) : texts_.location_prompt));
    txtLocation->setText(usable && static_cast<std::size_t>(player) < sources_.player_locations.size()
                             ? text_of(sources_.player_locations[player])
                             : QString());
}

void TfrmOptions::txtLocationChange(const QString& text) {
    const std::string path = text.toStdString();
    if (chosen_player_ < 0 || !(platform::file_exists(path) || is_mpd_location(path)))
        return; // only a path of an existing file (or the music daemon's marker) is a location
    if (sources_.player_locations.size() <= static_cast<std::size_t>(chosen_player_))
        sources_.player_locations.resize(chosen_player_ + 1);
    sources_.player_locations[chosen_player_] = path;
    emit player_location_entered(chosen_player_, text);
}

void TfrmOptions::cmdBrowseLocationClick() {
    if (!environment_.prompts || chosen_player_ < 0 ||
        static_cast<std::size_t>(chosen_player_) >= sources_.player_names.size())
        return;
    const std::string program = static_cast<std::size_t>(chosen_player_) < sources_.program_names.size()
                                    ? sources_.program_names[chosen_player_]
                                    : std::string("*");
    platform::file_dialog_options options;
    options.title = lblSpecify->text().toStdString();
    options.filter = player_file_filter(sources_.player_names[chosen_player_], program);
    options.initial_name = txtLocation->text().toStdString();
    if (const auto chosen = environment_.prompts->open_file(options)) {
        txtLocation->setText(text_of(*chosen));
        txtLocationChange(txtLocation->text());
    }
}

void TfrmOptions::ShapeMouseUp(const char* shape) {
    auto* s = control<colour_shape>(shape);
    if (!s || !environment_.prompts)
        return;
    if (const auto chosen = environment_.prompts->choose_colour(s->colour()))
        s->set_colour(*chosen);
}

void TfrmOptions::cmdRestoreDefaultsClick() {
    options_values now = values();
    restore_default_colours(now);
    const auto& keys = option_keys();
    for (std::size_t row = 0; row < keys.size(); ++row)
        if (keys[row].kind == option_kind::colour)
            control<colour_shape>(keys[row].controls[0])->set_colour(static_cast<std::uint32_t>(now.rows[row].number));
}

void TfrmOptions::NumberFieldChange(QLineEdit* field, int fallback, int first, int last) {
    const QString text = field->text();
    const QString coerced = QString::number(coerce_number(text.toStdString(), fallback, first, last));
    if (coerced == text)
        return;
    field->setText(coerced);
    // A text replaced by the fallback is selected, so the next key typed replaces it.
    if (coerced == QString::number(fallback))
        field->selectAll();
}

void TfrmOptions::IconTrackBarChange(int position) {
    systray_icon->setPixmap(artwork::tray_icon_pixmap(position, 20, devicePixelRatioF()));
    systray_icon->setAccessibleName(QStringLiteral("icon%1").arg(position + 1));
}

void TfrmOptions::pair_click(QCheckBox* clicked, QCheckBox* partner) {
    partner->setChecked(!clicked->isChecked());
}

void TfrmOptions::chkEnableAutoPlayliserClick() {
    apply_auto_playlister_enabling();
}

void TfrmOptions::apply_auto_playlister_enabling() {
    const bool enabled = control<QCheckBox>("chkEnableAutoPlayliser")->isChecked();
    for (const char* name : {"lblDir", "txtAutoPlaylister", "cmdAutoPlaylisterBrowse", "lblTakeAction", "chkEnqueue",
                             "chkAddCurrPlaylist", "chkAddSavedPlaylist"})
        control<QWidget>(name)->setEnabled(enabled);
    control<QWidget>("cmbPlaylists")->setEnabled(enabled && control<QCheckBox>("chkAddSavedPlaylist")->isChecked());
}

void TfrmOptions::cmdAutoPlaylisterBrowseClick() {
    if (!environment_.prompts)
        return;
    auto* field = control<QLineEdit>("txtAutoPlaylister");
    if (const auto folder =
            environment_.prompts->choose_folder(texts_.folder_browse_title, field->text().toStdString()))
        field->setText(text_of(*folder));
}

void TfrmOptions::lstExtensionsSelect(bool all) {
    for (int i = 0; i < lstExtensions->count(); ++i)
        lstExtensions->item(i)->setCheckState(all ? Qt::Checked : Qt::Unchecked);
}

void TfrmOptions::cmdDesktopIconClick() {
    platform::add_desktop_shortcut(environment_.folders, environment_.program_path, environment_.icon);
}

void TfrmOptions::cmdQuickLaunchIconClick() {
    platform::add_menu_shortcut(environment_.folders, environment_.program_path, environment_.icon);
}

void TfrmOptions::cmdConfigClick() {
    if (lstExportPlugins->currentRow() >= 0)
        emit export_configure_requested(lstExportPlugins->currentRow());
}

void TfrmOptions::cmdAboutClick() {
    if (lstExportPlugins->currentRow() >= 0)
        emit export_about_requested(lstExportPlugins->currentRow());
}

bool TfrmOptions::write_settings() {
    if (!ini_)
        return false;
    write_options(*ini_, values(), sources_.player_names, sources_.player_locations, sources_.extensions);
    mpd_settings mpd = read_mpd_settings(*ini_);
    mpd.host = control<QLineEdit>("txtMPDHost")->text().trimmed().toStdString();
    bool number = false;
    const int port = control<QLineEdit>("txtMPDPort")->text().trimmed().toInt(&number);
    if (number && port > 0 && port < 65536)
        mpd.port = port;
    mpd.password = control<QLineEdit>("txtMPDPassword")->text().toStdString();
    mpd.local_music_dir = control<QLineEdit>("txtMPDLocalDir")->text().trimmed().toStdString();
    mpd.server_music_dir = control<QLineEdit>("txtMPDMusicDir")->text().trimmed().toStdString();
    write_mpd_settings(*ini_, mpd);
    emit settings_written();
    return true;
}

void TfrmOptions::cmdOKClick() {
    write_settings();
    hide();
}

void TfrmOptions::cmdApplyClick() {
    write_settings();
}

void TfrmOptions::cmdCancelClick() {
    hide();
}

void TfrmOptions::reject() {
    cmdCancelClick();
}

void TfrmOptions::closeEvent(QCloseEvent* event) {
    cmdCancelClick();
    event->accept();
}

} // namespace karvo
