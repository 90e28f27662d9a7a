// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resources/explorer_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "library/navigation_tree_logic.h"

namespace karvo::artwork {
namespace {

const QColor outline(20, 30, 60);

void folder(QPainter& p, bool open) {
    p.setPen(QPen(QColor(150, 105, 10), 0.8));
    p.setBrush(QColor(235, 185, 60));
    p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1); // the tab
    if (!open) {
        p.setBrush(QColor(250, 205, 85));
        p.drawRoundedRect(QRectF(1.5, 5, 13, 8.5), 1, 1);
        return;
    }
    p.drawRoundedRect(QRectF(1.5, 5, 12, 8.5), 1, 1);
    QPainterPath lid;
    lid.moveTo(3.5, 8);
    lid.lineTo(15, 8);
    lid.lineTo(13, 13.5);
    lid.lineTo(1.5, 13.5);
    lid.closeSubpath();
    p.setBrush(QColor(255, 220, 120));
    p.drawPath(lid);
}

void disc(QPainter& p, const QPointF& centre, qreal radius, const QColor& face) {
    QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shine.setColorAt(0, Qt::white);
    shine.setColorAt(0.5, face);
    shine.setColorAt(1, face.darker(150));
    p.setPen(QPen(outline, 0.7));
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(0, 0, 72));
    p.drawEllipse(centre, radius / 4, radius / 4);
}

void drive_box(QPainter& p, const QColor& body, const QColor& light) {
    p.setPen(QPen(outline, 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(QRectF(11, 9, 2, 1.2));
}

void computer(QPainter& p) {
    p.setPen(QPen(outline, 0.8));
    p.setBrush(QColor(200, 210, 225));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 9.5), 1, 1);
    p.setBrush(QColor(40, 120, 210));
    p.drawRect(QRectF(3, 3, 10, 6.5));
    p.setBrush(QColor(160, 170, 190));
    p.drawRect(QRectF(6, 11, 4, 2));
    p.drawRoundedRect(QRectF(3, 13, 10, 2), 0.8, 0.8);
}

void note(QPainter& p, const QPointF& at, const QColor& colour) {
    p.setPen(QPen(colour, 1.1));
    p.drawLine(at + QPointF(2, 0), at + QPointF(2, -6));
    p.drawLine(at + QPointF(2, -6), at + QPointF(4.5, -5));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(at + QPointF(0.6, 0), 1.8, 1.4);
}

void sheet(QPainter& p, const QRectF& r, const QColor& paper) {
    p.setPen(QPen(outline, 0.7));
    p.setBrush(paper);
    p.drawRoundedRect(r, 1, 1);
    p.setPen(QPen(QColor(120, 140, 180), 0.8));
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2.2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void paint(QPainter& p, int index) {
    switch (index) {
        case img_folder: folder(p, false); break;
        case img_folder_open: folder(p, true); break;
        case img_my_computer: computer(p); break;
        case img_removable:
            p.setPen(QPen(outline, 0.8));
            p.setBrush(QColor(180, 185, 195));
            p.drawRect(QRectF(5.5, 1.5, 5, 4));
            drive_box(p, QColor(60, 150, 90), QColor(150, 255, 150));
            p.setBrush(QColor(60, 150, 90));
            p.drawRoundedRect(QRectF(4, 5.5, 8, 9), 1.5, 1.5);
            break;
        case img_fixed:
            drive_box(p, QColor(175, 185, 200), QColor(60, 230, 90));
            p.setPen(QPen(QColor(110, 120, 140), 0.6));
            p.drawLine(QPointF(3, 10), QPointF(9, 10));
            break;
        case img_cdrom:
            drive_box(p, QColor(175, 185, 200), QColor(60, 230, 90));
            disc(p, QPointF(8, 5), 4, QColor(190, 210, 235));
            break;
        case img_network:
            drive_box(p, QColor(175, 185, 200), QColor(60, 230, 90));
            p.setPen(QPen(outline, 1));
            p.drawLine(QPointF(8, 11.5), QPointF(8, 14.5));
            p.drawLine(QPointF(3, 14.5), QPointF(13, 14.5));
            break;
        case img_media_cds:
            disc(p, QPointF(10, 6), 5, QColor(170, 200, 240));
            disc(p, QPointF(6, 10), 5, QColor(200, 225, 255));
            break;
        case img_playlists:
            sheet(p, QRectF(4.5, 1.5, 10, 11), QColor(220, 230, 250));
            sheet(p, QRectF(1.5, 4.5, 10, 11), Qt::white);
            note(p, QPointF(5, 13.5), QColor(0, 90, 190));
            break;
        case img_playlist:
            sheet(p, QRectF(2.5, 1.5, 11, 13), Qt::white);
            note(p, QPointF(7, 12.5), QColor(0, 90, 190));
            break;
        case img_media_cd: disc(p, QPointF(8, 8), 6.5, QColor(190, 205, 230)); break;
        case img_media_cd_inserted:
            disc(p, QPointF(8, 8), 6.5, QColor(150, 220, 255));
            p.setPen(QPen(Qt::white, 0.8));
            p.setBrush(QColor(40, 200, 80));
            p.drawEllipse(QPointF(12.5, 12.5), 2.6, 2.6);
            break;
        case img_grouping:
            p.setPen(QPen(outline, 0.7));
            p.setBrush(QColor(120, 200, 250));
            p.drawRoundedRect(QRectF(1.5, 2.5, 9, 5), 1, 1);
            p.setBrush(QColor(80, 170, 235));
            p.drawRoundedRect(QRectF(5.5, 8.5, 9, 5), 1, 1);
            break;
        case img_grouping_value:
            p.setPen(QPen(outline, 0.7));
            p.setBrush(QColor(130, 220, 255));
            p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
            break;
        default: break;
    }
}

QPixmap render(int index, int scale) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paint(p, index);
    return pixmap;
}

bool has_picture(int index) {
    switch (index) {
        case img_folder:
        case img_folder_open:
        case img_my_computer:
        case img_removable:
        case img_fixed:
        case img_cdrom:
        case img_media_cds:
        case img_playlists:
        case img_network:
        case img_playlist:
        case img_media_cd:
        case img_media_cd_inserted:
        case img_grouping:
        case img_grouping_value: return true;
        default: return false;
    }
}

} // namespace

QIcon explorer_icon(int index) {
    if (!has_picture(index))
        return {};
    QIcon icon;
    for (int scale : {1, 2})
        icon.addPixmap(render(index, scale));
    return icon;
}

} // namespace karvo::artwork
