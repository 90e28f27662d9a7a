// The pictures of the players panel, the play and stop buttons and the volume panel: glyphs for the picture
// buttons and the two remote-control marker pictures (the remote control 9 x 12, the blue arrow 7 x 7).
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

} // namespace karvo::artwork
