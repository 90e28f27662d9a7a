// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse and through a screen reader: Tab walks tree, folder listing, playlist, search fields
// (while their panel is open) and players; every control has an accessible name.
#pragma once

#include <vector>

class QWidget;

namespace karvo {

class command_registry;

struct tab_chain {
    std::vector<QWidget*> order;         // in Tab order
    QWidget* search_panel = nullptr;     // its fields take part only while it is unfolded far enough
    std::vector<QWidget*> search_fields; // part of `order`
};

void give_keyboard_access(QWidget* window, command_registry& commands, const tab_chain& chain);

} // namespace karvo
