// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own pictures, painted in code so they stay sharp at any scaling: the picture buttons in their idle
// and hover forms, the status-line pictures and the window's colours (settings colours are 0x00BBGGRR).
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

namespace karvo::artwork {

enum class picture {
    minimize,
    maximize,
    restore,
    exit,
    sort_az,
    sort_za,
    randomize,
    move_up,
    move_down,
    commands,
    options,
    fold_plus,
    fold_minus,
    selected_playlist,
    selected_media_cd,
    selected_nothing,
    my_computer,
    resize_grip,
    // the players panel, the play buttons and the volume panel (player_artwork.cpp)
    play,
    stop,
    volume_on,
    volume_off,
    combo_down,
    remote_control,
    blue_arrow,
    // the player control panel (player_artwork.cpp)
    previous,
    pause,
    next,
    note,
    // the search panel and the waste bin
    search,
    tips,
    waste,
};

// A settings colour (0x00BBGGRR) as a QColor.
QColor from_bgr(std::uint32_t colour);

QColor navy();       // window background, 0x800000
QColor panel_blue(); // panels, 0xC08000
QColor grid_blue();  // status-line grid, 0xC03600
QColor list_background();
QColor list_grid();

// A region with rounded corners; `corner` is the diameter of the corner ellipse, as window regions give it.
QRegion rounded_region(const QSize& size, int corner);

// The style sheet of a title strip (the blue gradient) for the widget of that object name.
QString title_strip_style(const QString& object_name);

// A picture button: a rounded face with its glyph; `hover` paints the lit form.
void paint_button(QPainter& painter, const QRectF& box, picture which, bool hover);

// A bare glyph (status-line pictures, grip).
void paint_glyph(QPainter& painter, const QRectF& box, picture which, const QColor& colour);

// A glyph as a pixmap for labels, drawn at the screen's device pixel ratio.
QPixmap glyph_pixmap(picture which, int size, qreal device_pixel_ratio);

// An image a plug-in delivers as PNG bytes; a null pixmap when there are none or they do not decode.
QPixmap pixmap_from_png(const std::vector<unsigned char>& png);

// The "My Computer:" picture of the status line: the computer glyph and its caption.
QPixmap my_computer_pixmap(const QFont& font, qreal device_pixel_ratio);

} // namespace karvo::artwork
