// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/players/volume_panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "app/resources/artwork.h"
#include "players/volume_control.h"

namespace karvo {

namespace {

const QColor frame_grey = artwork::from_bgr(0x808080);
const QColor line_blue = artwork::from_bgr(0xFF0000);

void round(QWidget* widget, int corner) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, widget->width(), widget->height()), corner / 2.0, corner / 2.0);
    widget->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

} // namespace

volume_bar::volume_bar(QWidget* parent) : QWidget(parent), off_colour_(artwork::from_bgr(0x400000)) {
    setObjectName("imgVolume");
    setFixedSize(volume_bar_width, volume_bar_height);
    setCursor(Qt::PointingHandCursor);
}

void volume_bar::set_off_colour(std::uint32_t bgr) {
    off_colour_ = artwork::from_bgr(bgr);
    update();
}

void volume_bar::show_startup(int value) {
    value_ = value;
    set_once_ = false;
    update();
}

void volume_bar::show_value(int value) {
    value_ = value;
    set_once_ = true;
    repaint();
}

void volume_bar::paint(QPainter& p) const {
    const int w = width();
    const int h = height();
    // Rectangles as the drawing calls give them: right and bottom edges exclusive.
    p.fillRect(QRect(0, 0, w, h), off_colour_);
    p.setPen(frame_grey);
    p.drawRect(QRect(0, 0, w - 1, h - 1));
    if (set_once_) {
        p.fillRect(QRect(1, 1, w - 2, h - 2), off_colour_);
        p.setPen(off_colour_);
        p.drawRect(QRect(1, 1, w - 3, h - 3));
    }
    p.setPen(line_blue);
    for (int x = 1; x < value_; x += 2)
        p.drawLine(x, 1, x, h - 2);
}

QImage volume_bar::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    paint(p);
    return image;
}

void volume_bar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paint(p);
}

void volume_bar::mousePressEvent(QMouseEvent* event) {
    emit pressed_at(event->position().toPoint().x());
}

void volume_bar::mouseMoveEvent(QMouseEvent* event) {
    emit dragged_to(event->position().toPoint().x());
}

void volume_bar::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}

volume_panel::volume_panel(QWidget* parent) : QFrame(parent) {
    setObjectName("VolumePanel");
    resize(panel_width, panel_height);
    setStyleSheet("#VolumePanel { background: rgb(0,70,130); }"
                  "#VolumeInner { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(30,150,215), "
                  "stop:1 rgb(0,96,160)); }"
                  "QLabel { color: white; background: transparent; }");
    round(this, 15);

    VolumeInner = new QFrame(this);
    VolumeInner->setObjectName("VolumeInner");
    VolumeInner->setGeometry(2, 2, panel_width - 4, panel_height - 4);
    round(VolumeInner, 15);

    lblVolume = new QLabel(QStringLiteral("Volume:"), VolumeInner);
    lblVolume->setObjectName("lblVolume");
    lblVolume->setGeometry(8, 0, 52, VolumeInner->height());
    imgVolume = new volume_bar(VolumeInner);
    imgVolume->move(60, (VolumeInner->height() - volume_bar_height) / 2);
    lblVolumePercent = new QLabel(QStringLiteral("100%"), VolumeInner);
    lblVolumePercent->setObjectName("lblVolumePercent");
    lblVolumePercent->setGeometry(60 + volume_bar_width + 6, 0, 34, VolumeInner->height());
    for (QWidget* widget : {static_cast<QWidget*>(VolumeInner), static_cast<QWidget*>(lblVolume),
                            static_cast<QWidget*>(lblVolumePercent)})
        widget->installEventFilter(this);
    hide();
}

bool volume_panel::eventFilter(QObject* watched, QEvent* event) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse || watched == imgVolume)
        return QFrame::eventFilter(watched, event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
        begin_drag(global);
    else if (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton))
        drag_to(global);
    else if (event->type() == QEvent::MouseButtonRelease)
        dragging_ = false;
    return true;
}

void volume_panel::begin_drag(const QPoint& press) {
    press_ = press;
    start_ = pos();
    dragging_ = true;
}

void volume_panel::drag_to(const QPoint& global) {
    if (!dragging_ || !parentWidget())
        return;
    const QPoint travel = global - press_;
    const panel_rect moved_rect = move_volume_panel(panel_rect{start_.x(), start_.y(), width(), height()}, travel.x(),
                                                    travel.y(), parentWidget()->width(), parentWidget()->height());
    move(moved_rect.left, moved_rect.top);
    emit moved(moved_rect.left, moved_rect.top);
}

} // namespace karvo
