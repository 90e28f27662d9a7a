// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/pane_splitter.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/resources/artwork.h"

namespace karvo {

pane_splitter::pane_splitter(Qt::Orientation orientation, const QString& name, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setObjectName(name);
    setCursor(orientation == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor);
}

int pane_splitter::along(const QPointF& global) const {
    return qRound(orientation_ == Qt::Horizontal ? global.x() : global.y());
}

void pane_splitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    start_ = along(event->globalPosition());
    emit pressed();
}

void pane_splitter::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        emit dragged(along(event->globalPosition()) - start_);
}

void pane_splitter::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void pane_splitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), artwork::navy());
    p.setPen(artwork::panel_blue().darker(130));
    const QPoint c = rect().center();
    for (int d = -6; d <= 6; d += 4) {
        if (orientation_ == Qt::Horizontal)
            p.drawPoint(c.x(), c.y() + d);
        else
            p.drawPoint(c.x() + d, c.y());
    }
}

} // namespace karvo
