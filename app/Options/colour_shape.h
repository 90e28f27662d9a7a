// SPDX-License-Identifier: GPL-3.0-or-later
// A colour shape of the preferences: a swatch filled with a settings colour (0x00BBGGRR). A mouse-up on it, or
// Space / Enter while it has the focus, asks for a new colour.
#pragma once

#include <QWidget>
#include <cstdint>

namespace karvo {

class colour_shape : public QWidget {
    Q_OBJECT
public:
    colour_shape(const QString& name, const QString& caption, QWidget* parent);

    std::uint32_t colour() const { return colour_; }
    void set_colour(std::uint32_t colour);

    QSize sizeHint() const override { return {44, 18}; }

signals:
    void mouse_up();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::uint32_t colour_ = 0;
};

} // namespace karvo
