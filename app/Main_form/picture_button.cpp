#include "app/Main_form/picture_button.h"

#include <QPainter>

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

void picture_button::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    artwork::paint_button(painter, QRectF(rect()), picture_, hover_ || isDown());
}

void picture_button::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    if (on_enter)
        on_enter(*this);
    QAbstractButton::enterEvent(event);
}

void picture_button::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    if (on_leave)
        on_leave(*this);
    QAbstractButton::leaveEvent(event);
}

} // namespace karvo
