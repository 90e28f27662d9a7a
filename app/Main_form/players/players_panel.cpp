// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/players/players_panel.h"

#include <QKeyEvent>

#include "app/Main_form/drops.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

#include "app/Main_form/picture_button.h"
#include "app/resources/player_artwork.h"
#include "players/playback_commands.h"

namespace karvo {

namespace {

constexpr int label_left = 22;
constexpr int first_row_top = 29;
constexpr int row_step = 18;
constexpr int row_height = 17;
constexpr int marker_left = 8;
constexpr int combo_arrow_size = 15;

const char* const label_style = "QLabel { color: white; background: transparent; }"
                                "QLabel:hover { color: rgb(140,230,255); text-decoration: underline; }";

floating_panel_texts players_texts() {
    return {QStringLiteral("Click to Hide Media Players Selection Menu."),
            QStringLiteral("Click to Show Media Players Selection Menu."),
            QStringLiteral("This is the Media Player Selection Menu. Choose a Media Player by Clicking on any one."),
            QStringLiteral("This is the Media Player Selection Menu. Click on the Plus Button to show menu.")};
}

int row_top(int label) {
    return first_row_top + label * row_step;
}

} // namespace

players_panel::players_panel(QWidget* parent)
    : floating_panel(QStringLiteral("a"), QStringLiteral("PlayersMinMaxButton"), QStringLiteral("MenuAnim"),
                     unfolded_panel_height, 27, players_texts(), parent) {
    setAcceptDrops(true);
    resize(panel_width, folded_height);

    lblPlayerTop = new QLabel(QStringLiteral("Media Players"), this);
    lblPlayerTop->setObjectName("lblPlayerTop");
    lblPlayerTop->setTextFormat(Qt::PlainText); // player names as the plug-in wrote them
    lblPlayerTop->setStyleSheet("color: white; background: transparent; font-weight: bold;");
    lblPlayerTop->setGeometry(28, 4, panel_width - 28 - 6, row_height);
    lblPlayerTop->installEventFilter(this);

    const char* const captions[label_count] = {"WinAMP", "Sonique", "Player 2", "Player 3", "Player 4", "NAD", ""};
    for (int i = 0; i < label_count; ++i) {
        auto* label = new QLabel(QString::fromLatin1(captions[i]), this);
        label->setObjectName(QStringLiteral("lblPlayer%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setStyleSheet(QString::fromLatin1(label_style));
        label->setCursor(Qt::PointingHandCursor);
        const int width = panel_width - label_left - (i == label_count - 1 ? combo_arrow_size + 9 : 8);
        label->setGeometry(label_left, row_top(i), width, row_height);
        label->installEventFilter(this);
        lblPlayer[i] = label;
    }

    // The box lies under lblPlayer6, so its list drops down right there.
    cmbPlayers = new QComboBox(this);
    cmbPlayers->setObjectName("cmbPlayers");
    cmbPlayers->setGeometry(lblPlayer[6]->geometry());
    cmbPlayers->setFocusPolicy(Qt::NoFocus);
    // Only its drop-down list is seen; the label and the arrow picture stand for the box itself.
    cmbPlayers->hide();
    cmbPlayers->setStyleSheet("QComboBox QAbstractItemView { background: rgb(0,0,96); color: white; "
                              "selection-background-color: rgb(0,128,192); border: 1px solid rgb(0,128,192); }");
    connect(cmbPlayers, &QComboBox::activated, this, [this](int entry) { emit box_changed(entry); });

    imgComboDown = new picture_button(artwork::picture::combo_down, "imgComboDown", this);
    imgComboDown->setGeometry(panel_width - combo_arrow_size - 7, row_top(6) + 1, combo_arrow_size, combo_arrow_size);
    connect(imgComboDown, &QAbstractButton::clicked, this, [this] { cmbPlayers->showPopup(); });
    // The player choice by keyboard: the panel takes the focus and walks its labels.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Players"));

    for (int marker = 0; marker < label_count; ++marker) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("RCImage%1").arg(marker));
        image->setMouseTracking(true);
        image->installEventFilter(this);
        RCImage[marker] = image;
        set_marker(marker, false, row_top(marker) + 3);
    }
}

int players_panel::label_at(const QPoint& at) const {
    for (int i = 0; i < label_count; ++i)
        if (lblPlayer[i]->geometry().contains(at))
            return i;
    return -1;
}

void players_panel::set_marker(int marker, bool remote, int top) {
    QLabel* image = RCImage[marker];
    marker_remote_[marker] = remote;
    image->setPixmap(artwork::marker_pixmap(remote, devicePixelRatioF()));
    image->setGeometry(remote ? marker_left - 1 : marker_left, top, remote ? 9 : 7, remote ? 12 : 7);
}

bool players_panel::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    for (int marker = 0; marker < label_count; ++marker) {
        if (watched != RCImage[marker])
            continue;
        if (type == QEvent::Enter || type == QEvent::MouseMove)
            emit marker_hovered(marker);
        return false;
    }
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (watched == lblPlayerTop && mouse) {
        // The title label drags and folds the panel like its picture.
        const QPoint in_panel = lblPlayerTop->mapToParent(mouse->position().toPoint());
        if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
            fold_click();
        else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
            begin_drag(in_panel);
        else if (type == QEvent::MouseMove && dragging())
            drag_to(mapToParent(in_panel));
        else if (type == QEvent::MouseButtonRelease)
            end_drag();
        return mouse != nullptr;
    }
    for (int i = 0; i < label_count; ++i) {
        if (watched != lblPlayer[i] || !mouse)
            continue;
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            lblPlayer[i]->rect().contains(mouse->position().toPoint()))
            emit label_clicked(i);
        return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease;
    }
    return QFrame::eventFilter(watched, event);
}

void players_panel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down: {
            // Only the labels that name a player (the extra players' label may be empty).
            const int step = event->key() == Qt::Key_Up ? -1 : 1;
            for (int next = key_label_ + step; next >= 0 && next < label_count; next += step)
                if (!lblPlayer[next]->text().isEmpty() || next == label_count - 1) {
                    key_label_ = next;
                    break;
                }
            update();
            return;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (key_label_ == label_count - 1 && cmbPlayers->count() > 0)
                cmbPlayers->showPopup();
            else
                emit label_clicked(key_label_);
            return;
        default: floating_panel::keyPressEvent(event);
    }
}

void players_panel::focusInEvent(QFocusEvent* event) {
    floating_panel::focusInEvent(event);
    // Reached by the keyboard while folded: the labels it walks must be seen.
    if (!unfolding())
        fold_click();
    update();
}

void players_panel::focusOutEvent(QFocusEvent* event) {
    floating_panel::focusOutEvent(event);
    update();
}

void players_panel::paintEvent(QPaintEvent* event) {
    floating_panel::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (hasFocus()) {
        // The keyboard's label, outlined in the focus colour that every control of the window uses.
        p.setPen(QPen(QColor(255, 200, 0), 1));
        p.drawRect(lblPlayer[key_label_]->geometry().adjusted(-2, 0, 1, 0));
    }
    // Faint rules between the rows; the markers are the rows' bullets.
    p.setPen(QPen(QColor(30, 110, 180, 120), 1));
    for (int i = 1; i < label_count; ++i)
        p.drawLine(QPointF(6, row_top(i) - 0.5), QPointF(width() - 6, row_top(i) - 0.5));
}

bool players_panel::accepts_at(const QPoint& at, const QDropEvent* event) {
    // Over the folded panel's plus button a playlist drag unfolds the panel; it is no drop target itself.
    if (fold_button()->geometry().contains(at)) {
        if (from_virtual_playlist(event) && !unfolding())
            fold_click();
        return false;
    }
    const int label = label_at(at);
    if (label < 0)
        return false;
    if (from_virtual_playlist(event)) {
        if (label >= 6)
            return false;
        bool accepted = true;
        emit playlist_drag_over(label, &accepted);
        return accepted;
    }
    return label < 6 && accepts_files[label] && !dropped_local_files(event).empty();
}

void players_panel::dragEnterEvent(QDragEnterEvent* event) {
    // Moves are needed to follow the pointer from label to label, so any playlist or file drag may enter.
    if (from_virtual_playlist(event) || (event->mimeData() && event->mimeData()->hasUrls()))
        event->acceptProposedAction();
}

void players_panel::dragMoveEvent(QDragMoveEvent* event) {
    if (accepts_at(event->position().toPoint(), event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void players_panel::dragLeaveEvent(QDragLeaveEvent*) {
    emit playlist_drag_left();
}

void players_panel::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    const int label = label_at(at);
    if (label < 0 || label >= 6) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (from_virtual_playlist(event)) {
        emit playlist_dropped(label);
    } else if (accepts_files[label]) {
        emit files_dropped(label, dropped_local_files(event));
    }
}

player_popup_panel::player_popup_panel(const QString& name, bool two_part, int corner, QWidget* parent)
    : QFrame(parent), two_part_(two_part), corner_(corner) {
    setObjectName(name);
    setAcceptDrops(true);
    hide();
}

void player_popup_panel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(110, 210, 255));
    fill.setColorAt(1, QColor(0, 110, 190));
    p.setPen(QPen(QColor(235, 250, 255), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, height() - 1), corner_ / 2.0, corner_ / 2.0);
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    if (two_part_) {
        p.drawText(QRect(0, 0, two_part_play_left, height()), Qt::AlignCenter, QStringLiteral("Enqueue"));
        p.setPen(QPen(QColor(235, 250, 255), 1));
        p.drawLine(two_part_play_left, 2, two_part_play_left, height() - 3);
        p.drawText(QRect(two_part_play_left, 0, width() - two_part_play_left, height()), Qt::AlignCenter,
                   QStringLiteral("Play"));
    } else {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Play"));
    }
}

void player_popup_panel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), corner_ / 2.0, corner_ / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void player_popup_panel::leaveEvent(QEvent* event) {
    hide();
    QFrame::leaveEvent(event);
}

void player_popup_panel::dragEnterEvent(QDragEnterEvent* event) {
    if (from_virtual_playlist(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void player_popup_panel::dragLeaveEvent(QDragLeaveEvent*) {
    hide();
}

void player_popup_panel::dropEvent(QDropEvent* event) {
    if (!from_virtual_playlist(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    hide();
    emit dropped(tag, event->position().toPoint().x());
}

} // namespace karvo
