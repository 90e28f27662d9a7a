// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Id3_form/TID3Form.h"

#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "app/Id3_form/cp1252_limit.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/chrome/window_mover.h"
#include "app/resources/artwork.h"
#include "library/media_list.h"
#include "platform/prompts.h"

namespace karvo {
namespace {

constexpr int strip_height = 20;
constexpr int field_left = 76;
constexpr int field_width = TID3Form::form_width - field_left - 8;
constexpr int row_height = 20;
constexpr int first_row = 26;
constexpr int row_step = 22;

constexpr int row_top(int row) {
    return first_row + row * row_step;
}

const char* const form_style = R"(
QLabel { color: white; background: transparent; }
QLineEdit, QComboBox {
  background: rgb(0,0,72); color: rgb(235,242,255); border: 1px solid rgb(0,128,192); padding: 0 3px;
  selection-background-color: rgb(0,128,192); selection-color: white;
}
QLineEdit:focus, QComboBox:focus { border-color: rgb(90,190,250); }
QLineEdit:disabled, QComboBox:disabled { color: rgb(110,130,170); border-color: rgb(0,70,130); }
QLineEdit[readOnly="true"] { background: rgb(0,0,100); color: rgb(170,200,240); }
QComboBox { combobox-popup: 0; }
QComboBox::drop-down { border: none; width: 18px; }
QComboBox QScrollBar:vertical { background: rgb(0,0,90); border: none; width: 12px; }
QComboBox QScrollBar::handle { background: rgb(0,128,192); border-radius: 4px; min-height: 20px; }
QComboBox QScrollBar::add-line, QComboBox QScrollBar::sub-line { width: 0; height: 0; }
QComboBox QScrollBar::add-page, QComboBox QScrollBar::sub-page { background: none; }
QComboBox::down-arrow { image: none; }
QComboBox QAbstractItemView {
  background: rgb(0,0,96); color: white; border: 1px solid rgb(0,128,192);
  selection-background-color: rgb(0,128,192);
}
QPushButton {
  color: white; border: 1px solid rgb(0,50,100); border-radius: 4px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(30,160,225), stop:1 rgb(0,88,150));
}
QPushButton:hover { background: rgb(40,180,240); }
QPushButton:pressed { background: rgb(0,70,130); }
QPushButton:disabled { color: rgb(110,130,170); background: rgb(0,50,100); }
#lblID3v2 { color: rgb(255,210,120); }
)";

QLabel* make_label(const char* name, const char* caption, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* make_field(const char* name, const QRect& where, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(where);
    return field;
}

constexpr int track_width = 40;
constexpr int largest_track = 99999;
constexpr int track_left = TID3Form::form_width - 8 - track_width;

QPushButton* make_button(const char* name, const char* caption, int left, QWidget* parent) {
    constexpr int width = 64, top = TID3Form::form_height - 8 - 22;
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setGeometry(left, top, width, 22);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TID3Form::TID3Form(const media_list& playlist, int focused_row, platform::prompts& prompts,
                   const id3_language& language, const resource_plugin* resource, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), playlist_(playlist),
      focused_row_(focused_row), prompts_(prompts), tags_(resource) {
    setObjectName("frmID3");
    setWindowTitle(QString::fromUtf8(id3_form_caption));
    setModal(true);
    setFixedSize(form_width, form_height);

    back_panel = new QWidget(this);
    back_panel->setObjectName("back_panel");
    back_panel->setGeometry(0, 0, form_width, form_height);
    back_panel->setAutoFillBackground(true);
    QPalette palette = back_panel->palette();
    palette.setColor(QPalette::Window, artwork::navy());
    palette.setColor(QPalette::WindowText, Qt::white);
    back_panel->setPalette(palette);
    back_panel->setStyleSheet(QString::fromLatin1(form_style));

    ID3Toolbar = new QWidget(back_panel);
    ID3Toolbar->setObjectName("ID3Toolbar");
    ID3Toolbar->setGeometry(0, 0, form_width, strip_height);
    ID3Toolbar->setStyleSheet(artwork::title_strip_style(ID3Toolbar->objectName()));
    ID3Toolbar->setAttribute(Qt::WA_StyledBackground);
    lblCaption = new QLabel(windowTitle(), ID3Toolbar);
    lblCaption->setObjectName("lblCaption");
    QFont caption_font = lblCaption->font();
    caption_font.setBold(true);
    lblCaption->setFont(caption_font);
    lblCaption->setStyleSheet("color: white; background: transparent;");
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblCaption->setGeometry(12, 0, form_width - 40, strip_height);
    ToolbarX = new picture_button(artwork::picture::exit, "ToolbarX", ID3Toolbar);
    ToolbarX->setGeometry(form_width - 10 - (strip_height - 4), 2, strip_height - 4, strip_height - 4);
    connect(ToolbarX, &QAbstractButton::clicked, this, &QDialog::close);

    auto* mover = new window_mover(this);
    mover->add_handle(ID3Toolbar);
    mover->add_handle(back_panel);

    lblTitle = make_label("lblTitle", "Title:", back_panel);
    txtTitle = make_field("txtTitle", {field_left, row_top(0), field_width, row_height}, back_panel);
    lblArtist = make_label("lblArtist", "Artist:", back_panel);
    txtArtist = make_field("txtArtist", {field_left, row_top(1), field_width, row_height}, back_panel);
    lblAlbum = make_label("lblAlbum", "Album:", back_panel);
    txtAlbum = make_field("txtAlbum", {field_left, row_top(2), field_width, row_height}, back_panel);
    lblYear = make_label("lblYear", "Year:", back_panel);
    txtYear = make_field("txtYear", {field_left, row_top(3), 44, row_height}, back_panel);
    lblGenre = make_label("lblGenre", "Genre:", back_panel);
    cmbGenre = new QComboBox(back_panel);
    cmbGenre->setObjectName("cmbGenre");
    cmbGenre->setGeometry(form_width - 8 - 170, row_top(3), 170, row_height);
    cmbGenre->setMaxVisibleItems(14);
    // The house arrow picture stands for the box's own arrow.
    imgGenreDown = new picture_button(artwork::picture::combo_down, "imgGenreDown", back_panel);
    imgGenreDown->setGeometry(cmbGenre->geometry().right() - 17, cmbGenre->y() + 2, 16, 16);
    connect(imgGenreDown, &QAbstractButton::clicked, cmbGenre, &QComboBox::showPopup);
    // Item position = genre number.
    for (const std::string& name : id3_genre_table())
        cmbGenre->addItem(QString::fromStdString(name));
    lblComments = make_label("lblComments", "Comments:", back_panel);
    // The track number shares the comment's row: the window keeps the size the users know.
    txtComments =
        make_field("txtComments", {field_left, row_top(4), track_left - 44 - field_left, row_height}, back_panel);
    lblTrack = make_label("lblTrack", "Track:", back_panel);
    txtTrack = make_field("txtTrack", {track_left, row_top(4), track_width, row_height}, back_panel);
    track_numbers_ = new QIntValidator(0, largest_track, txtTrack);
    txtTrack->setValidator(track_numbers_);
    for (auto [field, width] : {std::pair{txtTitle, id3_text_width},
                                {txtArtist, id3_text_width},
                                {txtAlbum, id3_text_width},
                                {txtYear, id3_year_width},
                                {txtComments, id3_text_width}})
        limits_.emplace_back(new cp1252_limit(field, width), width);

    txtFilename = new QLineEdit(back_panel);
    txtFilename->setObjectName("txtFilename");
    txtFilename->setReadOnly(true);
    txtFilename->setFocusPolicy(Qt::ClickFocus);
    txtFilename->setGeometry(8, row_top(5) + 4, form_width - 16, row_height);

    lblID3v2 = make_label("lblID3v2", id3v2_notice_text, back_panel);
    QFont notice_font = lblID3v2->font();
    notice_font.setPointSizeF(notice_font.pointSizeF() * 0.9);
    lblID3v2->setFont(notice_font);
    lblID3v2->setGeometry(8, row_top(6) + 4, form_width - 16, 16);
    lblID3v2->hide();

    const int counters_top = row_top(7) + 2;
    CurrentLabel = make_label("CurrentLabel", "Current:", back_panel);
    lblCurrent = make_label("lblCurrent", "0", back_panel);
    lblCurrent->setGeometry(62, counters_top, 40, 16);
    TotalLabel = make_label("TotalLabel", "Total:", back_panel);
    lblTotal = make_label("lblTotal", "0", back_panel);
    lblTotal->setGeometry(62, counters_top + 17, 40, 16);

    const int buttons_left = form_width - 8 - 4 * 64 - 3 * 4;
    cmdBack = make_button("cmdBack", "<-- Back", buttons_left, back_panel);
    cmdNext = make_button("cmdNext", "Next -->", buttons_left + 68, back_panel);
    cmdSave = make_button("cmdSave", "&Save", buttons_left + 2 * 68, back_panel);
    cmdExit = make_button("cmdExit", "&Exit", buttons_left + 3 * 68, back_panel);
    cmdSave->setEnabled(false);
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBackClick(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNextClick(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSaveClick(); });
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::close);

    for (QLineEdit* field : {txtTitle, txtArtist, txtAlbum, txtYear, txtComments, txtTrack})
        connect(field, &QLineEdit::textChanged, this, [this] { cmdSave->setEnabled(true); });
    connect(cmbGenre, &QComboBox::currentTextChanged, this, [this] { cmdSave->setEnabled(true); });

    apply_language(language);
    align_labels();
}

void TID3Form::apply_language(const id3_language& language) {
    for (const auto& [name, caption] : language.captions) {
        const QString text = QString::fromStdString(caption);
        if (name == id3_window_caption) {
            setWindowTitle(text);
            lblCaption->setText(text);
        } else if (auto* label = back_panel->findChild<QLabel*>(QString::fromStdString(name))) {
            label->setText(text);
        } else if (auto* button = back_panel->findChild<QPushButton*>(QString::fromStdString(name))) {
            button->setText(text);
        }
    }
}

// Each label sits a few pixels left of the control it names, centred on its height.
void TID3Form::align_labels() {
    for (const auto& [label_name, control_name] : id3_label_anchors) {
        auto* label = back_panel->findChild<QLabel*>(QString::fromLatin1(label_name));
        auto* control = back_panel->findChild<QWidget*>(QString::fromLatin1(control_name));
        if (!label || !control)
            continue;
        label->adjustSize();
        label->move(control->x() - id3_label_gap - label->width(),
                    control->y() + (control->height() - label->height()) / 2);
    }
}

void TID3Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* where = screen())
        move(where->availableGeometry().center() - rect().center());
    FormShow();
}

void TID3Form::FormShow() {
    back_panel->setMask(artwork::rounded_region(back_panel->size(), corner));
    setMask(back_panel->mask());

    entries_.clear();
    entries_.reserve(static_cast<std::size_t>(playlist_.count()));
    for (int row = 0; row < playlist_.count(); ++row)
        entries_.emplace_back(playlist_.full_path(row));

    const int total = static_cast<int>(entries_.size());
    set_entry_controls_enabled(total > 0);
    clear_fields();
    lblTotal->setText(QString::number(total));
    if (total == 0) {
        current_ = 0;
        lblCurrent->setText(QStringLiteral("0"));
    } else {
        move_to((focused_row_ >= 0 && focused_row_ < total ? focused_row_ : 0) + 1);
    }
    cmdSave->setEnabled(false);
}

void TID3Form::cmdNextClick() {
    if (current_ > 0 && current_ < static_cast<int>(entries_.size()))
        move_to(current_ + 1);
}

void TID3Form::cmdBackClick() {
    if (current_ > 1)
        move_to(current_ - 1);
}

void TID3Form::cmdSaveClick() {
    if (current_ < 1)
        return;
    const std::string& path = entries_[static_cast<std::size_t>(current_ - 1)];
    const tag_texts shown = shown_texts();
    // A failed write is reported; the edits stay and Save stays on, so the user can try again.
    if (const std::string error = tags_.write(path, changed_tag_fields(loaded_, shown)); !error.empty()) {
        prompts_.message_box(error, id3_file_error_caption, platform::message_buttons::ok_cancel,
                             platform::message_icon::none);
        return;
    }
    loaded_ = shown;
    cmdSave->setEnabled(false);
    emit tag_saved(current_ - 1, path);
}

// Moving away drops unsaved edits without asking.
void TID3Form::move_to(int position) {
    current_ = position;
    lblCurrent->setText(QString::number(position));
    LoadEntry();
    cmdSave->setEnabled(false);
}

void TID3Form::LoadEntry() {
    const std::string& path = entries_[static_cast<std::size_t>(current_ - 1)];
    txtFilename->setText(QString::fromStdString(path));
    txtFilename->setCursorPosition(0);
    id3v1_ = tags_.id3v1_limits(path);
    apply_limits();
    const tag_texts tag = tags_.read(path);
    for (auto [field, text] : {std::pair{txtTitle, &tag.title},
                               {txtArtist, &tag.artist},
                               {txtAlbum, &tag.album},
                               {txtYear, &tag.year},
                               {txtComments, &tag.comment},
                               {txtTrack, &tag.track}})
        field->setText(QString::fromStdString(*text).trimmed());
    // ID3v1 holds a genre number: a name outside the list selects nothing. Other tags hold any text.
    if (id3v1_)
        cmbGenre->setCurrentIndex(cmbGenre->findText(QString::fromStdString(tag.genre), Qt::MatchFixedString));
    else
        cmbGenre->setCurrentText(QString::fromStdString(tag.genre));
    loaded_ = shown_texts();
    lblID3v2->setVisible(!tags_.writes_every_format() && has_id3v2_tag(path));
}

// ID3v1's widths and fixed genre list where the tag written is ID3v1; none where the format has none.
void TID3Form::apply_limits() {
    for (auto [limit, width] : limits_)
        limit->set_max_bytes(id3v1_ ? width : std::string::npos);
    track_numbers_->setTop(id3v1_ ? 255 : largest_track);
    if (cmbGenre->isEditable() == !id3v1_)
        return;
    cmbGenre->setEditable(!id3v1_);
    if (!id3v1_) {
        cmbGenre->lineEdit()->setObjectName("txtGenre");
        cmbGenre->setInsertPolicy(QComboBox::NoInsert);
    }
}

tag_texts TID3Form::shown_texts() const {
    return {txtTitle->text().toStdString(), txtArtist->text().toStdString(),   txtAlbum->text().toStdString(),
            txtYear->text().toStdString(),  txtComments->text().toStdString(), cmbGenre->currentText().toStdString(),
            txtTrack->text().toStdString()};
}

void TID3Form::set_entry_controls_enabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtTitle, txtArtist, txtAlbum, txtYear, txtComments, txtTrack, cmbGenre,
                                         imgGenreDown, txtFilename, cmdBack, cmdNext})
        control->setEnabled(enabled);
}

void TID3Form::clear_fields() {
    for (QLineEdit* field : {txtTitle, txtArtist, txtAlbum, txtYear, txtComments, txtTrack, txtFilename})
        field->clear();
    cmbGenre->setCurrentIndex(0);
    lblID3v2->hide();
}

} // namespace karvo
