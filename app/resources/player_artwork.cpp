#include "app/resources/player_artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace karvo::artwork {

namespace {

void paint_speaker(QPainter& p, const QRectF& r, const QColor& c, bool waves) {
    QPainterPath body;
    const qreal h = r.height();
    body.moveTo(r.left(), r.top() + h * 0.35);
    body.lineTo(r.left() + r.width() * 0.22, r.top() + h * 0.35);
    body.lineTo(r.left() + r.width() * 0.5, r.top() + h * 0.08);
    body.lineTo(r.left() + r.width() * 0.5, r.bottom() - h * 0.08);
    body.lineTo(r.left() + r.width() * 0.22, r.top() + h * 0.65);
    body.lineTo(r.left(), r.top() + h * 0.65);
    body.closeSubpath();
    p.fillPath(body, c);
    const qreal pen = qMax<qreal>(1.0, r.width() * 0.09);
    p.setPen(QPen(c, pen, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (waves) {
        for (qreal f : {0.28, 0.46}) {
            const QRectF arc(r.left() + r.width() * 0.5 - r.width() * f, r.center().y() - h * f * 1.1,
                             r.width() * f * 2, h * f * 2.2);
            p.drawArc(arc, -50 * 16, 100 * 16);
        }
    } else {
        const qreal x = r.left() + r.width() * 0.68;
        const qreal s = r.width() * 0.28;
        p.drawLine(QPointF(x, r.center().y() - s / 2), QPointF(x + s, r.center().y() + s / 2));
        p.drawLine(QPointF(x, r.center().y() + s / 2), QPointF(x + s, r.center().y() - s / 2));
    }
}

void paint_remote(QPainter& p, const QRectF& r, const QColor& c) {
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(c);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), r.width() * 0.25, r.width() * 0.25);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 90, 70));
    const qreal d = r.width() * 0.3;
    p.drawEllipse(QRectF(r.center().x() - d / 2, r.top() + r.height() * 0.12, d, d));
    p.setBrush(QColor(0, 60, 120));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(r.left() + r.width() * (0.2 + col * 0.38), r.top() + r.height() * (0.48 + row * 0.22),
                              r.width() * 0.22, r.height() * 0.12));
}

} // namespace

void paint_player_glyph(QPainter& p, const QRectF& r, picture which, const QColor& c) {
    switch (which) {
    case picture::play: {
        QPainterPath path;
        path.moveTo(r.left() + r.width() * 0.12, r.top());
        path.lineTo(r.right(), r.center().y());
        path.lineTo(r.left() + r.width() * 0.12, r.bottom());
        path.closeSubpath();
        p.fillPath(path, c);
        break;
    }
    case picture::stop: {
        const qreal inset = r.width() * 0.06;
        p.fillRect(r.adjusted(inset, inset, -inset, -inset), c);
        break;
    }
    case picture::volume_on: paint_speaker(p, r, c, true); break;
    case picture::volume_off: paint_speaker(p, r, c, false); break;
    case picture::combo_down: {
        QPainterPath path;
        path.moveTo(r.left(), r.top() + r.height() * 0.25);
        path.lineTo(r.right(), r.top() + r.height() * 0.25);
        path.lineTo(r.center().x(), r.bottom() - r.height() * 0.15);
        path.closeSubpath();
        p.fillPath(path, c);
        break;
    }
    case picture::remote_control: paint_remote(p, r, c); break;
    case picture::blue_arrow: {
        QPainterPath path;
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right(), r.center().y());
        path.lineTo(r.left(), r.bottom());
        path.closeSubpath();
        p.fillPath(path, c);
        break;
    }
    default: break;
    }
}

QPixmap marker_pixmap(bool remote, qreal device_pixel_ratio) {
    const QSize size = remote ? QSize(9, 12) : QSize(7, 7);
    QPixmap pixmap(size * device_pixel_ratio);
    pixmap.setDevicePixelRatio(device_pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (remote)
        paint_player_glyph(p, QRectF(0, 0, 9, 12), picture::remote_control, QColor(225, 235, 250));
    else
        paint_player_glyph(p, QRectF(0.5, 0.5, 6, 6), picture::blue_arrow, QColor(40, 120, 255));
    return pixmap;
}

} // namespace karvo::artwork
