// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/chrome/chrome_pane.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/chrome/window_mover.h"
#include "library/shell_state.h"

namespace karvo {

chrome_pane::chrome_pane(QWidget* window, QWidget* back, command_registry& commands, const std::string& exit_command)
    : QObject(window), window_(window), back_(back) {
    pnlTitle = new QWidget(back);
    pnlTitle->setObjectName("pnlTitle");
    lblTitle = new QLabel(QString::fromUtf8(application_title), pnlTitle);
    lblTitle->setObjectName("lblTitle");
    QFont title_font = lblTitle->font();
    title_font.setBold(true);
    lblTitle->setFont(title_font);
    lblTitle->setStyleSheet("color: white; background: transparent;");
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    pnlTitle->setStyleSheet(artwork::title_strip_style(pnlTitle->objectName()));
    pnlTitle->setAttribute(Qt::WA_StyledBackground);

    ToolbarMin = new picture_button(artwork::picture::minimize, "ToolbarMin", pnlTitle);
    ToolbarMax = new picture_button(artwork::picture::maximize, "ToolbarMax", pnlTitle);
    ToolbarExit = new picture_button(artwork::picture::exit, "ToolbarExit", pnlTitle);
    ToolbarMin->setStatusTip(QStringLiteral("Minimize"));
    ToolbarExit->setStatusTip(QStringLiteral("Exit"));
    connect(ToolbarMin, &QAbstractButton::clicked, this, &chrome_pane::minimize_clicked);
    connect(ToolbarMax, &QAbstractButton::clicked, this, [this] { ToolbarMaxClick(); });
    commands.bind(ToolbarExit, exit_command);

    imgResize = new QLabel(back);
    imgResize->setObjectName("imgResize");
    imgResize->setCursor(Qt::SizeFDiagCursor);
    const qreal ratio = back->devicePixelRatioF();
    QPixmap picture(QSize(grip_size, grip_size) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        artwork::paint_glyph(painter, QRectF(1, 1, 12, 12), artwork::picture::resize_grip, QColor(90, 170, 230));
    }
    imgResize->setPixmap(picture);
    imgResize->installEventFilter(this);

    TimerResize = new QTimer(this);
    TimerResize->setObjectName("TimerResize");
    TimerResize->setInterval(100);
    connect(TimerResize, &QTimer::timeout, this, [this] { imgResizeTimer(); });

    mover_ = new window_mover(window);
    add_move_handle(pnlTitle);
    add_move_handle(back);
    pnlTitle->installEventFilter(this); // after the mover's, so it sees the double click first
}

void chrome_pane::add_move_handle(QWidget* handle) {
    mover_->add_handle(handle);
}

void chrome_pane::place(int w, int h) {
    back_->setGeometry(0, 0, w, h);
    back_->setMask(artwork::rounded_region(back_->size(), 20));
    window_->setMask(back_->mask());

    pnlTitle->setGeometry(0, 0, w, title_height);
    lblTitle->adjustSize();
    lblTitle->move(14, (title_height - lblTitle->height()) / 2);
    const int button = title_height - 4;
    ToolbarExit->setGeometry(w - 10 - button, 2, button, button);
    ToolbarMax->setGeometry(ToolbarExit->x() - button - 3, 2, button, button);
    ToolbarMin->setGeometry(ToolbarMax->x() - button - 3, 2, button, button);

    const int margin = 6;
    imgResize->setGeometry(w - margin - grip_size + 2, h - margin - grip_size + 2, grip_size, grip_size);
}

void chrome_pane::start_restored(const window_rectangle& rect) {
    window_maximised = true;
    restore_rect_ = rect;
    ToolbarMaxClick();
}

void chrome_pane::ToolbarMaxClick() {
    if (window_maximised) {
        window_maximised = false;
        mover_->set_movable(true);
        ToolbarMax->set_picture(artwork::picture::maximize);
        window_->setGeometry(restore_rect_.left, restore_rect_.top, restore_rect_.width, restore_rect_.height);
        imgResize->show();
    } else {
        restore_rect_ = {window_->x(), window_->y(), window_->width(), window_->height()};
        imgResize->hide();
        TimerResize->stop();
        window_maximised = true;
        mover_->set_movable(false);
        ToolbarMax->set_picture(artwork::picture::restore);
        if (const QScreen* where = window_->screen())
            window_->setGeometry(where->availableGeometry());
    }
}

void chrome_pane::imgResizeTimer() {
    if (window_maximised) {
        TimerResize->stop();
        return;
    }
    const QPoint cursor = QCursor::pos();
    window_->resize(cursor.x() - window_->x() + 5, cursor.y() - window_->y() + 5);
}

bool chrome_pane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgResize)
        return grip_event(event);
    if (watched == pnlTitle && title_event(event))
        return true;
    return QObject::eventFilter(watched, event);
}

// The grip's mouse events stop here: they must never reach the background, which would start a move.
bool chrome_pane::grip_event(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress && !window_maximised) {
        QWindow* handle = window_->windowHandle();
        if (!handle || !handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
            TimerResize->start();
        return true;
    }
    if (type == QEvent::MouseButtonRelease) {
        TimerResize->stop();
        return true;
    }
    return type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick;
}

bool chrome_pane::title_event(QEvent* event) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonDblClick && mouse && mouse->button() == Qt::LeftButton) {
        ToolbarMaxClick();
        return true;
    }
    return false;
}

} // namespace karvo
