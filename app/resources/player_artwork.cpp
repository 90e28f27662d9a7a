// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resources/player_artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <utility>

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
        case picture::previous:
        case picture::next: {
            // Two triangles against a bar, pointing the way the track goes.
            const bool back = which == picture::previous;
            const qreal bar = qMax<qreal>(1.5, r.width() * 0.14);
            const qreal half = (r.width() - bar) / 2;
            QPainterPath path;
            for (int i = 0; i < 2; ++i) {
                const qreal from = back ? r.right() - i * half : r.left() + i * half;
                const qreal to = back ? from - half : from + half;
                path.moveTo(from, r.top());
                path.lineTo(to, r.center().y());
                path.lineTo(from, r.bottom());
                path.closeSubpath();
            }
            p.fillPath(path, c);
            p.fillRect(back ? QRectF(r.left(), r.top(), bar, r.height())
                            : QRectF(r.right() - bar, r.top(), bar, r.height()),
                       c);
            break;
        }
        case picture::pause: {
            const qreal bar = r.width() * 0.34;
            p.fillRect(QRectF(r.left() + r.width() * 0.08, r.top(), bar, r.height()), c);
            p.fillRect(QRectF(r.right() - r.width() * 0.08 - bar, r.top(), bar, r.height()), c);
            break;
        }
        case picture::note: {
            // A pair of eighth notes on a beam.
            const qreal stem = qMax<qreal>(1.0, r.width() * 0.09);
            const QSizeF head(r.width() * 0.34, r.height() * 0.26);
            const QPointF left_head(r.left() + head.width() / 2, r.bottom() - head.height() / 2);
            const QPointF right_head(r.right() - head.width() / 2, r.bottom() - head.height() / 2 - r.height() * 0.1);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (const QPointF& at : {left_head, right_head})
                p.drawEllipse(at, head.width() / 2, head.height() / 2);
            const qreal left_x = left_head.x() + head.width() / 2 - stem;
            const qreal right_x = right_head.x() + head.width() / 2 - stem;
            p.fillRect(QRectF(left_x, r.top() + r.height() * 0.2, stem, left_head.y() - r.top() - r.height() * 0.2), c);
            p.fillRect(QRectF(right_x, r.top() + r.height() * 0.1, stem, right_head.y() - r.top() - r.height() * 0.1),
                       c);
            QPainterPath beam;
            beam.moveTo(left_x, r.top() + r.height() * 0.2);
            beam.lineTo(right_x + stem, r.top() + r.height() * 0.1 - stem);
            beam.lineTo(right_x + stem, r.top() + r.height() * 0.1 + stem * 1.6);
            beam.lineTo(left_x, r.top() + r.height() * 0.2 + stem * 2.6);
            beam.closeSubpath();
            p.fillPath(beam, c);
            break;
        }
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

void paint_control_button(QPainter& p, const QRectF& box, picture glyph, button_set set, bool pressed, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const bool steel = set == button_set::steel;
    const qreal radius = steel ? 2.0 : qMin(face.width(), face.height()) * 0.3;
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    QColor top = steel ? QColor(190, 205, 220) : panel_blue().lighter(130);
    QColor bottom = steel ? QColor(70, 85, 105) : panel_blue().darker(170);
    if (pressed)
        std::swap(top, bottom); // the face sinks in
    if (!enabled) {
        top = top.darker(190);
        bottom = bottom.darker(190);
    }
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(pressed ? QColor(235, 250, 255) : QColor(steel ? 40 : 90, steel ? 50 : 170, steel ? 60 : 230), 1));
    p.setBrush(fill);
    p.drawRoundedRect(face, radius, radius);
    const QColor ink = !enabled ? QColor(120, 135, 160) : steel ? QColor(15, 25, 40) : Qt::white;
    const qreal side = qMin(face.width(), face.height()) * 0.46;
    QRectF glyph_box(0, 0, side, side);
    glyph_box.moveCenter(face.center() + (pressed ? QPointF(0.5, 0.5) : QPointF()));
    paint_player_glyph(p, glyph_box, glyph, ink);
    p.restore();
}

void paint_player_logo(QPainter& p, const QRectF& box, int kind) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Each named player a colour of its own, on the same round badge.
    const QColor tone = kind == 0   ? QColor(255, 170, 40)
                        : kind == 1 ? QColor(170, 190, 210)
                        : kind == 2 ? QColor(120, 220, 140)
                                    : QColor(110, 200, 255);
    QRadialGradient fill(box.center() - QPointF(box.width() * 0.2, box.height() * 0.2), box.width() * 0.7);
    fill.setColorAt(0, tone.lighter(140));
    fill.setColorAt(1, tone.darker(230));
    p.setPen(QPen(QColor(235, 250, 255, 200), 1));
    p.setBrush(fill);
    p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    const qreal inset = box.width() * 0.27;
    paint_player_glyph(p, box.adjusted(inset, inset, -inset, -inset), picture::note, QColor(255, 255, 255, 235));
    p.restore();
}

} // namespace karvo::artwork
