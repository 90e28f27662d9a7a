// SPDX-License-Identifier: GPL-3.0-or-later
// A painted tick box with a caption: a coloured box that shows a cross while checked, on its own background. A
// click toggles it, unless its owner takes the clicks over (the search panel's pair and the preferences' radio
// pairs keep exactly one of two ticked).
#pragma once

#include <QColor>
#include <QWidget>

namespace karvo {

class CoolComboBox : public QWidget {
    Q_OBJECT
public:
    explicit CoolComboBox(const QString& caption = QStringLiteral("CoolComboBox"), QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void set_Caption(const QString& caption);
    bool Checked() const { return checked_; }
    void set_Checked(bool checked);
    QColor Box_Color() const { return box_; }
    void set_Box_Color(const QColor& colour);
    QColor Back_Color() const { return back_; }
    void set_Back_Color(const QColor& colour);
    // The cross: each byte of the box colour moved by 100 (up from 128 or less, else down), so it shows on the box.
    QColor cross_colour() const;
    // When the owner handles clicks, a click only emits clicked().
    void set_owner_handles_clicks(bool owner) { owner_handles_ = owner; }

    QSize sizeHint() const override { return {200, 15}; }

signals:
    void clicked();
    void toggled(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void activate();

    QString caption_;
    bool checked_ = false;
    bool owner_handles_ = false;
    QColor box_ = QColor(0x00, 0xFF, 0x00);
    QColor back_ = QColor(0x00, 0x80, 0x00);
};

} // namespace karvo
