// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/picture_button.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPainter>
#include <QStatusTipEvent>

namespace karvo {

picture_button::picture_button(artwork::picture picture, const QString& name, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void picture_button::set_picture(artwork::picture picture) {
    picture_ = picture;
    update();
}

void picture_button::refresh_hover() {
    const bool over = isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
    if (over != hover_) {
        hover_ = over;
        update();
    }
}

void picture_button::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    artwork::paint_button(painter, QRectF(rect()), picture_, hover_ || isDown());
}

void picture_button::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void picture_button::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void show_status_tip(QWidget* from, const QString& text) {
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(from, &tip);
}

} // namespace karvo
