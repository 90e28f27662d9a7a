// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resources/artwork.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <utility>

#include "app/resources/player_artwork.h"

namespace karvo::artwork {

QColor from_bgr(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QColor navy() {
    return from_bgr(0x800000);
}
QColor panel_blue() {
    return from_bgr(0xC08000);
}
QColor grid_blue() {
    return from_bgr(0xC03600);
}
QColor list_background() {
    return QColor(0, 0, 72);
}
QColor list_grid() {
    return QColor(16, 40, 120);
}

QRegion rounded_region(const QSize& size, int corner) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), corner / 2.0, corner / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

QString title_strip_style(const QString& object_name) {
    return QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                          "stop:0 rgb(40,165,230), stop:0.5 rgb(0,128,192), stop:1 rgb(0,70,130)); }")
        .arg(object_name);
}

namespace {

QPen round_pen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void arrow_head(QPainter& p, QPointF tip, qreal size, bool up) {
    const qreal dy = up ? size : -size;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip.x() - size, tip.y() + dy);
    path.lineTo(tip.x() + size, tip.y() + dy);
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

// Two letters stacked on the left and an arrow on the right: the sort buttons.
void paint_sort(QPainter& p, const QRectF& r, const QColor& c, const char* top, const char* bottom) {
    QFont font = p.font();
    font.setPixelSize(qMax(6, int(r.height() * 0.5)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(c);
    const QRectF left(r.left(), r.top(), r.width() * 0.55, r.height());
    p.drawText(QRectF(left.left(), left.top(), left.width(), left.height() / 2), Qt::AlignCenter, top);
    p.drawText(QRectF(left.left(), left.center().y(), left.width(), left.height() / 2), Qt::AlignCenter, bottom);
    const qreal x = r.left() + r.width() * 0.78;
    const qreal w = r.width() * 0.07;
    p.setPen(round_pen(c, qMax<qreal>(1.0, w)));
    p.drawLine(QPointF(x, r.top() + r.height() * 0.15), QPointF(x, r.bottom() - r.height() * 0.3));
    arrow_head(p, QPointF(x, r.bottom() - r.height() * 0.08), r.width() * 0.14, false);
}

void paint_randomize(QPainter& p, const QRectF& r, const QColor& c) {
    const qreal w = qMax<qreal>(1.0, r.width() * 0.09);
    p.setPen(round_pen(c, w));
    p.setBrush(Qt::NoBrush);
    const qreal l = r.left(), t = r.top() + r.height() * 0.25, b = r.bottom() - r.height() * 0.25;
    const qreal end = r.right() - r.width() * 0.15;
    QPainterPath one, two;
    one.moveTo(l, t);
    one.cubicTo(r.center().x(), t, r.center().x(), b, end, b);
    two.moveTo(l, b);
    two.cubicTo(r.center().x(), b, r.center().x(), t, end, t);
    p.drawPath(one);
    p.drawPath(two);
    const qreal s = r.width() * 0.16;
    for (qreal y : {t, b}) {
        QPainterPath head;
        head.moveTo(r.right(), y);
        head.lineTo(end - s * 0.3, y - s);
        head.lineTo(end - s * 0.3, y + s);
        head.closeSubpath();
        p.fillPath(head, c);
    }
}

void paint_move(QPainter& p, const QRectF& r, const QColor& c, bool up) {
    QPainterPath path;
    const qreal cx = r.center().x();
    const qreal head = r.height() * 0.5;
    const qreal shaft = r.width() * 0.16;
    if (up) {
        path.moveTo(cx, r.top());
        path.lineTo(r.right(), r.top() + head);
        path.lineTo(cx + shaft, r.top() + head);
        path.lineTo(cx + shaft, r.bottom());
        path.lineTo(cx - shaft, r.bottom());
        path.lineTo(cx - shaft, r.top() + head);
        path.lineTo(r.left(), r.top() + head);
    } else {
        path.moveTo(cx, r.bottom());
        path.lineTo(r.right(), r.bottom() - head);
        path.lineTo(cx + shaft, r.bottom() - head);
        path.lineTo(cx + shaft, r.top());
        path.lineTo(cx - shaft, r.top());
        path.lineTo(cx - shaft, r.bottom() - head);
        path.lineTo(r.left(), r.bottom() - head);
    }
    path.closeSubpath();
    p.fillPath(path, c);
}

} // namespace

void paint_glyph(QPainter& p, const QRectF& box, picture which, const QColor& c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = box;
    const qreal w = qMax<qreal>(1.0, r.width() * 0.12);
    switch (which) {
        case picture::minimize:
            p.setPen(round_pen(c, w * 1.3));
            p.drawLine(QPointF(r.left(), r.bottom() - w), QPointF(r.right(), r.bottom() - w));
            break;
        case picture::maximize:
            p.setPen(round_pen(c, w));
            p.drawRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
            p.fillRect(QRectF(r.left(), r.top(), r.width(), w * 2), c);
            break;
        case picture::restore: {
            const QRectF back(r.left() + r.width() * 0.3, r.top(), r.width() * 0.7, r.height() * 0.7);
            const QRectF front(r.left(), r.top() + r.height() * 0.3, r.width() * 0.7, r.height() * 0.7);
            p.setPen(round_pen(c, w * 0.8));
            p.setBrush(Qt::NoBrush);
            QPainterPath outside;
            outside.addRect(box.adjusted(-w * 2, -w * 2, w * 2, w * 2));
            QPainterPath hidden;
            hidden.addRect(front.adjusted(-w, -w, w, w));
            p.setClipPath(outside.subtracted(hidden), Qt::IntersectClip);
            p.drawRect(back);
            p.setClipping(false);
            p.drawRect(front);
            p.fillRect(QRectF(front.left(), front.top(), front.width(), w * 1.6), c);
            break;
        }
        case picture::exit:
            p.setPen(round_pen(c, w * 1.3));
            p.drawLine(r.topLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomLeft());
            break;
        case picture::sort_az: paint_sort(p, r, c, "A", "Z"); break;
        case picture::sort_za: paint_sort(p, r, c, "Z", "A"); break;
        case picture::randomize: paint_randomize(p, r, c); break;
        case picture::move_up: paint_move(p, r, c, true); break;
        case picture::move_down: paint_move(p, r, c, false); break;
        case picture::commands:
            p.setPen(round_pen(c, w * 1.2));
            for (qreal f : {0.2, 0.5, 0.8})
                p.drawLine(QPointF(r.left(), r.top() + r.height() * f), QPointF(r.right(), r.top() + r.height() * f));
            break;
        case picture::options:
            // Three sliders, their knobs at different places.
            p.setPen(round_pen(c, w));
            for (const auto& [f, knob] : {std::pair{0.2, 0.7}, std::pair{0.5, 0.3}, std::pair{0.8, 0.55}}) {
                const qreal y = r.top() + r.height() * f;
                p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
                p.setBrush(c);
                p.drawEllipse(QPointF(r.left() + r.width() * knob, y), w * 1.3, w * 1.3);
            }
            break;
        case picture::fold_plus:
        case picture::fold_minus:
            p.setPen(round_pen(c, w * 1.2));
            p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
            if (which == picture::fold_plus)
                p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
            break;
        case picture::selected_playlist: {
            const QRectF sheet(r.left() + r.width() * 0.1, r.top(), r.width() * 0.8, r.height());
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(230, 240, 255));
            p.drawRoundedRect(sheet, r.width() * 0.1, r.width() * 0.1);
            p.setPen(round_pen(panel_blue(), qMax<qreal>(1.0, r.height() * 0.09)));
            for (qreal f : {0.25, 0.45, 0.65, 0.85})
                p.drawLine(QPointF(sheet.left() + sheet.width() * 0.2, r.top() + r.height() * f),
                           QPointF(sheet.right() - sheet.width() * 0.2, r.top() + r.height() * f));
            break;
        }
        case picture::selected_media_cd: {
            QRadialGradient shine(r.center(), r.width() / 2);
            shine.setColorAt(0, QColor(255, 255, 255));
            shine.setColorAt(0.6, QColor(170, 200, 255));
            shine.setColorAt(1, QColor(200, 160, 255));
            p.setPen(QPen(QColor(220, 230, 255), 1));
            p.setBrush(shine);
            p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
            p.setBrush(Qt::black);
            const qreal hole = r.width() * 0.14;
            p.drawEllipse(r.center(), hole, hole);
            break;
        }
        case picture::selected_nothing:
            p.setPen(round_pen(QColor(170, 180, 210), w));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(r.adjusted(w, w, -w, -w));
            p.drawLine(QPointF(r.left() + r.width() * 0.3, r.center().y()),
                       QPointF(r.right() - r.width() * 0.3, r.center().y()));
            break;
        case picture::my_computer: {
            const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.72);
            p.setPen(QPen(QColor(220, 230, 255), qMax<qreal>(1.0, r.width() * 0.08)));
            QLinearGradient glass(screen.topLeft(), screen.bottomRight());
            glass.setColorAt(0, QColor(90, 190, 255));
            glass.setColorAt(1, panel_blue().darker(150));
            p.setBrush(glass);
            p.drawRoundedRect(screen, r.width() * 0.08, r.width() * 0.08);
            p.fillRect(QRectF(r.center().x() - r.width() * 0.08, screen.bottom(), r.width() * 0.16, r.height() * 0.16),
                       QColor(220, 230, 255));
            p.fillRect(
                QRectF(r.left() + r.width() * 0.2, r.bottom() - r.height() * 0.1, r.width() * 0.6, r.height() * 0.1),
                QColor(220, 230, 255));
            break;
        }
        case picture::play:
        case picture::stop:
        case picture::volume_on:
        case picture::volume_off:
        case picture::combo_down:
        case picture::remote_control:
        case picture::blue_arrow:
        case picture::previous:
        case picture::pause:
        case picture::next:
        case picture::note: paint_player_glyph(p, r, which, c); break;
        case picture::search: {
            // A magnifier: the lens and its handle.
            const qreal d = r.width() * 0.62;
            p.setPen(round_pen(c, w * 1.1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(r.left(), r.top(), d, d));
            p.setPen(round_pen(c, w * 1.8));
            p.drawLine(QPointF(r.left() + d * 0.88, r.top() + d * 0.88), QPointF(r.right(), r.bottom()));
            break;
        }
        case picture::tips: {
            // A question mark in a ring.
            p.setPen(round_pen(c, w * 0.9));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
            QFont font = p.font();
            font.setBold(true);
            font.setPixelSize(qMax(6, qRound(r.height() * 0.7)));
            p.setFont(font);
            p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case picture::waste: {
            // A bin: lid with handle, body narrowing downwards, three ribs.
            p.setPen(round_pen(c, w));
            p.setBrush(Qt::NoBrush);
            const qreal top = r.top() + r.height() * 0.22;
            p.drawLine(QPointF(r.left(), top), QPointF(r.right(), top));
            p.drawLine(QPointF(r.center().x() - r.width() * 0.15, r.top() + w / 2),
                       QPointF(r.center().x() + r.width() * 0.15, r.top() + w / 2));
            QPolygonF body;
            body << QPointF(r.left() + r.width() * 0.12, top) << QPointF(r.left() + r.width() * 0.22, r.bottom())
                 << QPointF(r.right() - r.width() * 0.22, r.bottom()) << QPointF(r.right() - r.width() * 0.12, top);
            p.drawPolyline(body);
            for (const qreal x : {0.37, 0.5, 0.63})
                p.drawLine(QPointF(r.left() + r.width() * x, top + r.height() * 0.16),
                           QPointF(r.left() + r.width() * x, r.bottom() - r.height() * 0.14));
            break;
        }
        case picture::resize_grip:
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (int row = 0; row < 3; ++row)
                for (int col = 2 - row; col < 3; ++col) {
                    const qreal d = r.width() / 3;
                    p.drawRect(QRectF(r.left() + col * d + d * 0.2, r.top() + row * d + d * 0.2, d * 0.6, d * 0.6));
                }
            break;
    }
    p.restore();
}

void paint_button(QPainter& p, const QRectF& box, picture which, bool hover) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(face.width(), face.height()) * 0.22;
    const bool danger = which == picture::exit;
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (hover) {
        fill.setColorAt(0, danger ? QColor(240, 110, 90) : QColor(110, 210, 255));
        fill.setColorAt(1, danger ? QColor(170, 30, 30) : QColor(0, 120, 200));
    } else {
        fill.setColorAt(0, panel_blue().lighter(125));
        fill.setColorAt(1, panel_blue().darker(160));
    }
    p.setPen(QPen(hover ? QColor(235, 250, 255) : QColor(90, 170, 230), 1));
    p.setBrush(fill);
    p.drawRoundedRect(face, radius, radius);
    // Letters need more of the face than the plain glyphs.
    const bool lettered = which == picture::sort_az || which == picture::sort_za;
    const qreal inset = lettered ? qMax<qreal>(2.0, face.width() * 0.12) : qMax<qreal>(3.0, face.width() * 0.24);
    paint_glyph(p, face.adjusted(inset, inset, -inset, -inset), which, Qt::white);
    p.restore();
}

QPixmap glyph_pixmap(picture which, int size, qreal device_pixel_ratio) {
    QPixmap pixmap(QSize(size, size) * device_pixel_ratio);
    pixmap.setDevicePixelRatio(device_pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paint_glyph(p, QRectF(1, 1, size - 2, size - 2), which, QColor(200, 220, 255));
    return pixmap;
}

QPixmap pixmap_from_png(const std::vector<unsigned char>& png) {
    QPixmap pixmap;
    if (!png.empty())
        pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
    return pixmap;
}

QPixmap my_computer_pixmap(const QFont& font, qreal device_pixel_ratio) {
    const QString caption = QStringLiteral("My Computer:");
    const QFontMetrics metrics(font);
    const int icon = 14;
    const QSize size(icon + 4 + metrics.horizontalAdvance(caption) + 1, qMax(icon + 2, metrics.height()));
    QPixmap pixmap(size * device_pixel_ratio);
    pixmap.setDevicePixelRatio(device_pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paint_glyph(p, QRectF(0, (size.height() - icon) / 2.0, icon, icon), picture::my_computer, Qt::white);
    p.setFont(font);
    p.setPen(QColor(150, 210, 255));
    p.drawText(QRect(icon + 4, 0, size.width() - icon - 4, size.height()), Qt::AlignVCenter | Qt::AlignLeft, caption);
    return pixmap;
}

} // namespace karvo::artwork
