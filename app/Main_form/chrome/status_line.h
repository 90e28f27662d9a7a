// SPDX-License-Identifier: GPL-3.0-or-later
// The painted status line `imgMessage`: black, a grid every 3 pixels in the status-line blue and a white frame.
// The message and location labels of the main window lie on top of it.
#pragma once

#include <QWidget>

namespace karvo {

class status_line : public QWidget {
public:
    explicit status_line(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace karvo
