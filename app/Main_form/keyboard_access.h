// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse and through a screen reader: Tab walks tree, folder listing, playlist, search fields
// (while their panel is open) and players; every control has an accessible name.
#pragma once

#include <vector>

class QWidget;

namespace karvo {

class command_registry;

// The Tab order across the panes: each pane adds its own controls, the window decides the order of the panes.
struct tab_chain {
    std::vector<QWidget*> order;
};

// The fields of a folding panel take part in the Tab order only while it is unfolded far enough to show them.
void focus_while_shown(QWidget* panel, std::vector<QWidget*> fields);

void give_keyboard_access(QWidget* window, command_registry& commands, const tab_chain& chain);

} // namespace karvo
