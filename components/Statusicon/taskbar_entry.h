// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping a shown top-level window off the taskbar: the window manager's skip-taskbar state on X11. Elsewhere (no
// X11 connection) nothing happens.
#pragma once

class QWidget;

namespace karvo {

void keep_off_taskbar(QWidget* window, bool off);

} // namespace karvo
