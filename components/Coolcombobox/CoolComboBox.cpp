// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Coolcombobox/CoolComboBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace karvo {

CoolComboBox::CoolComboBox(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    resize(sizeHint());
}

void CoolComboBox::set_Caption(const QString& caption) {
    caption_ = caption;
    update();
}

void CoolComboBox::set_Checked(bool checked) {
    if (checked_ == checked)
        return;
    checked_ = checked;
    update();
    emit toggled(checked_);
}

void CoolComboBox::set_Box_Color(const QColor& colour) {
    box_ = colour;
    update();
}

void CoolComboBox::set_Back_Color(const QColor& colour) {
    back_ = colour;
    update();
}

QColor CoolComboBox::cross_colour() const {
    const auto shifted = [](int byte) { return byte <= 128 ? byte + 100 : byte - 100; };
    return QColor(shifted(box_.red()), shifted(box_.green()), shifted(box_.blue()));
}

void CoolComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), back_);
    const int side = height() - 4;
    const QRectF box(2.5, 2.5, side - 1, side - 1);
    p.setPen(QPen(back_.darker(150), 1));
    p.setBrush(box_);
    p.drawRect(box);
    if (checked_) {
        // Its exact colour, not a blend with the box: the cross must read the same on every box.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(cross_colour(), 2, Qt::SolidLine, Qt::FlatCap));
        const QRectF in = box.adjusted(2.5, 2.5, -2.5, -2.5);
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
        p.setRenderHint(QPainter::Antialiasing);
    }
    p.setPen(hasFocus() ? Qt::yellow : Qt::white);
    p.drawText(QRectF(side + 6, 0, width() - side - 6, height()), Qt::AlignVCenter | Qt::AlignLeft, caption_);
}

void CoolComboBox::activate() {
    if (!owner_handles_)
        set_Checked(!checked_);
    emit clicked();
}

void CoolComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
}

void CoolComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space)
        activate();
    else
        QWidget::keyPressEvent(event);
}

} // namespace karvo
