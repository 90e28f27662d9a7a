// A picture button of the main window: an idle and a hover picture, the hover one also while pressed, and enter and
// leave hooks that the window uses for its status-line hints.
#pragma once

#include <QAbstractButton>
#include <functional>

#include "app/resources/artwork.h"

namespace karvo {

class picture_button : public QAbstractButton {
public:
    picture_button(artwork::picture picture, const QString& name, QWidget* parent);

    void set_picture(artwork::picture picture);
    artwork::picture current_picture() const { return picture_; }
    bool hover() const { return hover_; }

    QString hint;                              // shown on the status line while the pointer is over the button
    std::function<void(picture_button&)> on_enter;
    std::function<void(picture_button&)> on_leave;

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    artwork::picture picture_;
    bool hover_ = false;
};

} // namespace karvo
