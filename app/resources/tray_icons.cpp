// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resources/tray_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace karvo::artwork {

namespace {

struct face {
    QColor top, bottom;
    bool round;
};

// Five colour pairs, each once on a rounded square and once on a disc.
face face_of(int index) {
    static const std::pair<QColor, QColor> colours[] = {
        {QColor(60, 170, 255), QColor(0, 40, 140)},  {QColor(255, 190, 60), QColor(190, 70, 0)},
        {QColor(110, 230, 120), QColor(0, 110, 40)}, {QColor(230, 110, 255), QColor(100, 0, 150)},
        {QColor(255, 110, 110), QColor(150, 0, 20)},
    };
    const auto& [top, bottom] = colours[index % 5];
    return {top, bottom, index >= 5};
}

void paint_note(QPainter& p, const QRectF& r) {
    const qreal w = r.width();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // Two beamed eighth notes.
    p.drawEllipse(QPointF(r.left() + w * 0.30, r.top() + w * 0.72), w * 0.13, w * 0.10);
    p.drawEllipse(QPointF(r.left() + w * 0.70, r.top() + w * 0.64), w * 0.13, w * 0.10);
    const qreal stem = qMax<qreal>(1.0, w * 0.07);
    p.drawRect(QRectF(r.left() + w * 0.40, r.top() + w * 0.24, stem, w * 0.48));
    p.drawRect(QRectF(r.left() + w * 0.80, r.top() + w * 0.16, stem, w * 0.48));
    QPainterPath beam;
    beam.moveTo(r.left() + w * 0.40, r.top() + w * 0.24);
    beam.lineTo(r.left() + w * 0.80 + stem, r.top() + w * 0.16);
    beam.lineTo(r.left() + w * 0.80 + stem, r.top() + w * 0.28);
    beam.lineTo(r.left() + w * 0.40, r.top() + w * 0.36);
    beam.closeSubpath();
    p.drawPath(beam);
}

} // namespace

QPixmap tray_icon_pixmap(int index, int size, qreal device_pixel_ratio) {
    index = std::clamp(index, 0, tray_icon_count - 1);
    QPixmap pixmap(QSize(size, size) * device_pixel_ratio);
    pixmap.setDevicePixelRatio(device_pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const face f = face_of(index);
    const QRectF box(0.5, 0.5, size - 1.0, size - 1.0);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, f.top);
    fill.setColorAt(1, f.bottom);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(fill);
    if (f.round)
        p.drawEllipse(box);
    else
        p.drawRoundedRect(box, size * 0.22, size * 0.22);
    paint_note(p, box.adjusted(size * 0.12, size * 0.1, -size * 0.12, -size * 0.1));
    return pixmap;
}

QIcon tray_icon(int index) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(tray_icon_pixmap(index, size, 1.0));
    return icon;
}

} // namespace karvo::artwork
