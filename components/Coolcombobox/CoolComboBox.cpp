// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Coolcombobox/CoolComboBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace karvo {

namespace {

// A screen reader hears a tick box: its caption, whether it is ticked, and a toggle action.
class cool_combo_accessible : public QAccessibleWidget {
public:
    explicit cool_combo_accessible(CoolComboBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return box()->Caption();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->Checked();
        return state;
    }
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction())
            QMetaObject::invokeMethod(box(), [b = box()] {
                QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
                QCoreApplication::sendEvent(b, &space);
            });
    }

private:
    CoolComboBox* box() const { return static_cast<CoolComboBox*>(widget()); }
};

QAccessibleInterface* cool_combo_factory(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("karvo::CoolComboBox") && object && object->isWidgetType())
        return new cool_combo_accessible(static_cast<CoolComboBox*>(object));
    return nullptr;
}

} // namespace

CoolComboBox::CoolComboBox(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    static const bool factory_installed = [] {
        QAccessible::installFactory(cool_combo_factory);
        return true;
    }();
    (void)factory_installed;
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    resize(sizeHint());
}

void CoolComboBox::set_Caption(const QString& caption) {
    caption_ = caption;
    update();
}

void CoolComboBox::set_Checked(bool checked) {
    if (checked_ == checked)
        return;
    checked_ = checked;
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    emit toggled(checked_);
}

void CoolComboBox::set_Box_Color(const QColor& colour) {
    box_ = colour;
    update();
}

void CoolComboBox::set_Back_Color(const QColor& colour) {
    back_ = colour;
    update();
}

QColor CoolComboBox::cross_colour() const {
    const auto shifted = [](int byte) { return byte <= 128 ? byte + 100 : byte - 100; };
    return QColor(shifted(box_.red()), shifted(box_.green()), shifted(box_.blue()));
}

void CoolComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), back_);
    const int side = height() - 4;
    const QRectF box(2.5, 2.5, side - 1, side - 1);
    p.setPen(QPen(back_.darker(150), 1));
    p.setBrush(box_);
    p.drawRect(box);
    if (checked_) {
        // Its exact colour, not a blend with the box: the cross must read the same on every box.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(cross_colour(), 2, Qt::SolidLine, Qt::FlatCap));
        const QRectF in = box.adjusted(2.5, 2.5, -2.5, -2.5);
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
        p.setRenderHint(QPainter::Antialiasing);
    }
    p.setPen(hasFocus() ? Qt::yellow : Qt::white);
    p.drawText(QRectF(side + 6, 0, width() - side - 6, height()), Qt::AlignVCenter | Qt::AlignLeft, caption_);
}

void CoolComboBox::activate() {
    if (!owner_handles_)
        set_Checked(!checked_);
    emit clicked();
}

void CoolComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
}

void CoolComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space)
        activate();
    else
        QWidget::keyPressEvent(event);
}

} // namespace karvo
