// SPDX-License-Identifier: GPL-3.0-or-later
// The ten notification-area icons the user chooses from (`system_tray_icon` 0-9, shown as icon1 ... icon10): one
// note glyph on ten different faces, painted in code so they stay sharp at any size.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace karvo::artwork {

inline constexpr int tray_icon_count = 10;

// Icon `index` (clamped to 0-9) at `size` logical pixels.
QPixmap tray_icon_pixmap(int index, int size, qreal device_pixel_ratio);
QIcon tray_icon(int index);

} // namespace karvo::artwork
