// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/chrome/status_line.h"

#include <QPainter>

#include "app/resources/artwork.h"

namespace karvo {

status_line::status_line(QWidget* parent) : QWidget(parent) {
    setObjectName("imgMessage");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void status_line::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), Qt::black);
    p.setPen(artwork::grid_blue());
    for (int y = 0; y < h; y += 3)
        p.drawLine(0, y, w - 1, y);
    for (int x = 0; x < w; x += 3)
        p.drawLine(x, 0, x, h - 1);
    p.setPen(Qt::white);
    const QPoint frame[] = {{0, 0}, {0, h - 1}, {w - 1, h - 1}, {w - 1, 0}, {0, 0}};
    p.drawPolyline(frame, 5);
}

} // namespace karvo
