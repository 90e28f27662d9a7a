// SPDX-License-Identifier: GPL-3.0-or-later
// A picture button of the main window: an idle and a hover picture, the hover one also while pressed. Its hint is
// the widget's status tip, which the window shows on the status line while the pointer is over the button.
#pragma once

#include <QAbstractButton>

#include "app/resources/artwork.h"

namespace karvo {

class picture_button : public QAbstractButton {
    Q_OBJECT
public:
    picture_button(artwork::picture picture, const QString& name, QWidget* parent);

    void set_picture(artwork::picture picture);
    artwork::picture current_picture() const { return picture_; }
    bool hover() const { return hover_; }
    // After a pop-up menu that swallowed the leave event: hover follows where the pointer really is.
    void refresh_hover();

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    artwork::picture picture_;
    bool hover_ = false;
};

// Sends `text` up the parent chain as a status tip, as a hovered widget does; an empty text ends the hint.
void show_status_tip(QWidget* from, const QString& text);

} // namespace karvo
