// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the players panel, the play and stop buttons, the volume panel and the player control panel:
// glyphs for the picture buttons, the two remote-control marker pictures (the remote control 9 x 12, the blue arrow
// 7 x 7), the panel's buttons in their two sets and the logos of the named players.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>

#include "app/resources/artwork.h"

class QPainter;

namespace karvo::artwork {

// Glyphs play, stop, volume_on, volume_off, combo_down, remote_control and blue_arrow.
void paint_player_glyph(QPainter& painter, const QRectF& box, picture which, const QColor& colour);

// A remote-control marker: the remote control (9 x 12) or the blue arrow (7 x 7).
QPixmap marker_pixmap(bool remote, qreal device_pixel_ratio);

// The control panel's buttons come in two sets: the rounded blue one (also for every player but NAD) and NAD's
// squarer steel one. `pressed` paints the second picture of a button, `enabled` false a dimmed one.
enum class button_set { rounded, steel };
void paint_control_button(QPainter& painter, const QRectF& box, picture glyph, button_set set, bool pressed,
                          bool enabled);

// The logo of a named player on the control panel (kind 0 Winamp, 1 NAD, 2 Sonique), or the plain one of a player
// without an icon (any other kind).
void paint_player_logo(QPainter& painter, const QRectF& box, int kind);

} // namespace karvo::artwork
