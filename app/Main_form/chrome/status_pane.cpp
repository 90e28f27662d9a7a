// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/chrome/status_pane.h"

#include <QFontMetrics>
#include <QLabel>

#include "library/main_settings.h"
#include "app/Main_form/chrome/chrome_pane.h"
#include "app/Main_form/chrome/status_line.h"
#include "app/resources/artwork.h"
#include "library/shell_state.h"

namespace karvo {

namespace {

constexpr int media_cd_label_width = 290;

QLabel* make_label(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setStyleSheet("color: white; background: transparent;");
    label->setTextFormat(Qt::PlainText); // names and folders as written, never read as markup
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}

} // namespace

status_pane::status_pane(const shell_state& state, QWidget* parent)
    : QObject(parent), state_(state), imgMessage(new status_line(parent)),
      lblMessage(make_label("lblMessage", imgMessage)), Selected_Playlist(make_label("Selected_Playlist", imgMessage)),
      Selected_MediaCD(make_label("Selected_MediaCD", imgMessage)),
      Selected_Nothing(make_label("Selected_Nothing", imgMessage)),
      SelectedName(make_label("SelectedName", imgMessage)), imgMyComputer(make_label("imgMyComputer", imgMessage)),
      lblmycomputer(make_label("lblmycomputer", imgMessage)), now_([] { return std::chrono::steady_clock::now(); }) {
    const qreal ratio = imgMessage->devicePixelRatioF();
    Selected_Playlist->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_playlist, 14, ratio));
    Selected_MediaCD->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_media_cd, 14, ratio));
    Selected_Nothing->setPixmap(artwork::glyph_pixmap(artwork::picture::selected_nothing, 14, ratio));
    imgMyComputer->setPixmap(artwork::my_computer_pixmap(imgMyComputer->font(), ratio));
    SelectedName->setText(QStringLiteral("<none>"));
    lblmycomputer->setText(QStringLiteral("<none>"));
}

void status_pane::repaint() {
    imgMessage->update();
}

void status_pane::move_window_with(chrome_pane& chrome) {
    chrome.add_move_handle(imgMessage);
}

void status_pane::place(int left, int top, int width, int height) {
    imgMessage->setGeometry(left, top, width, height);
    lblMessage->setGeometry(4, 0, width - 8, height);
}

void status_pane::show_message(const QString& text) {
    for (QLabel* label :
         {Selected_Playlist, Selected_MediaCD, Selected_Nothing, SelectedName, imgMyComputer, lblmycomputer})
        label->hide();
    location_shown_ = false;
    lblMessage->setText(text);
    lblMessage->show();
    imgMessage->repaint();
    emit message_set(text);
}

bool status_pane::message_shown() const {
    return !lblMessage->isHidden(); // the strip's state, whether the window is on screen or not
}

void status_pane::show_location() {
    lblMessage->clear();
    lblMessage->hide();
    if (location_shown_)
        return;
    QLabel* picture = Selected_Nothing;
    switch (state_.mode.value()) {
        case PlaylistMode::playlist:
        case PlaylistMode::grouping: picture = Selected_Playlist; break;
        case PlaylistMode::media_cd: picture = Selected_MediaCD; break;
        case PlaylistMode::all_playlists:
            picture = Selected_Playlist;
            SelectedName->setText(QStringLiteral("<Displaying All Saved Playlists>"));
            break;
        case PlaylistMode::all_media_cds:
            picture = Selected_MediaCD;
            SelectedName->setText(QStringLiteral("<Displaying All Media CDs>"));
            break;
        default: break;
    }
    for (QLabel* other : {Selected_Playlist, Selected_MediaCD, Selected_Nothing})
        other->setVisible(other == picture);
    const int h = imgMessage->height();
    picture->adjustSize();
    picture->move(4, (h - picture->height()) / 2);
    SelectedName->adjustSize();
    SelectedName->move(picture->x() + picture->width() + 4, (h - SelectedName->height()) / 2);
    imgMyComputer->adjustSize();
    imgMyComputer->move(SelectedName->x() + SelectedName->width() + 5, (h - imgMyComputer->height()) / 2);
    lblmycomputer->adjustSize();
    lblmycomputer->move(imgMyComputer->x() + imgMyComputer->width() + 2, (h - lblmycomputer->height()) / 2);
    for (QLabel* label : {SelectedName, imgMyComputer, lblmycomputer})
        label->show();
    location_shown_ = true;
}

void status_pane::refresh_location() {
    location_shown_ = false;
    show_location();
}

void status_pane::location_changed() {
    location_shown_ = false;
    if (!message_shown())
        show_location();
}

void status_pane::set_folder(const QString& folder) {
    lblmycomputer->setText(folder);
    location_changed();
}

void status_pane::set_playlist_name(const QString& name) {
    SelectedName->setText(name);
    location_changed();
}

void status_pane::set_media_cd_name(const QString& name) {
    QString text = name;
    const QFontMetrics metrics(SelectedName->font());
    while (!text.isEmpty() && metrics.horizontalAdvance(text) > media_cd_label_width)
        text.chop(1);
    SelectedName->setText(text);
    location_changed();
}

void status_pane::show_progress(const QString& line) {
    const auto now = now_();
    if (!progress_running_ || now - progress_painted_ >= progress_repaint_interval || !message_shown()) {
        show_message(line);
        ++progress_repaints_;
        progress_painted_ = now;
        progress_pending_ = false;
    } else {
        lblMessage->setText(line); // painted with the next repaint
        progress_pending_ = true;
        emit message_set(line);
    }
    progress_running_ = true;
}

void status_pane::finish_progress() {
    if (progress_pending_) { // the last progress line is always seen
        imgMessage->repaint();
        ++progress_repaints_;
    }
    progress_pending_ = false;
    progress_running_ = false;
}

} // namespace karvo
