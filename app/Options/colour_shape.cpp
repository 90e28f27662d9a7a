// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options/colour_shape.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/resources/artwork.h"

namespace karvo {

colour_shape::colour_shape(const QString& name, const QString& caption, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAccessibleName(caption);
    setToolTip(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
}

void colour_shape::set_colour(std::uint32_t colour) {
    colour_ = colour & 0xFFFFFFu;
    setAccessibleDescription(artwork::from_bgr(colour_).name());
    update();
}

void colour_shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(hasFocus() ? QColor(255, 255, 160) : QColor(150, 200, 240), hasFocus() ? 2 : 1));
    p.setBrush(artwork::from_bgr(colour_));
    p.drawRoundedRect(box, 3, 3);
}

void colour_shape::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit mouse_up();
}

void colour_shape::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit mouse_up();
    else
        QWidget::keyPressEvent(event);
}

} // namespace karvo
