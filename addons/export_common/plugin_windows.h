// SPDX-License-Identifier: GPL-3.0-or-later
// The windows both shipped export plug-ins show inside the program's Qt application: the about box and the parent
// their dialogs open over. Without a Qt widget application in the process they show nothing.
#pragma once

#include <QString>

class QWidget;

namespace karvo::exports {

// False when the process runs no QApplication (a plug-in then does nothing rather than crash).
bool widgets_available();

// The program's active window, so a plug-in's dialog is modal over it.
QWidget* dialog_parent();

struct about_text {
    QString name, version, author, description;
};
void show_about(const about_text& about);

// Runs a plug-in call inside the program's application only, and never lets an exception cross the C boundary.
template <typename Action>
void guarded(Action action) noexcept {
    try {
        if (widgets_available())
            action();
    } catch (...) {
    }
}

} // namespace karvo::exports
