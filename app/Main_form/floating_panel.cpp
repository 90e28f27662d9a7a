// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/floating_panel.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include "app/Main_form/picture_button.h"
#include "app/resources/artwork.h"

#include "library/edge_snapping.h"

namespace karvo {

namespace {

constexpr int fold_button_size = 17;

} // namespace

QPoint snap_floating_panel(const QPoint& wanted, const QSize& panel, const QSize& client) {
    const panel_rect at =
        snap_to_edges({wanted.x(), wanted.y(), panel.width(), panel.height()}, client.width(), client.height());
    return {at.left, at.top};
}

fold_tick_result fold_tick(int height, bool unfolding, int folded_height, int unfolded_height, int step) {
    if (unfolding) {
        const int next = height + step;
        return next >= unfolded_height ? fold_tick_result{unfolded_height, true} : fold_tick_result{next, false};
    }
    const int next = height - step;
    return next <= folded_height ? fold_tick_result{folded_height, true} : fold_tick_result{next, false};
}

floating_panel::floating_panel(const QString& name, const QString& fold_button_name, const QString& timer_name,
                               int unfolded_height, int corner, floating_panel_texts texts, QWidget* parent)
    : QFrame(parent), unfolded_height_(unfolded_height), corner_(corner), texts_(std::move(texts)) {
    setObjectName(name);
    setMouseTracking(true);
    fold_button_ = new picture_button(artwork::picture::fold_plus, fold_button_name, this);
    fold_button_->setGeometry(6, (folded_height - fold_button_size) / 2, fold_button_size, fold_button_size);
    fold_button_->setStatusTip(texts_.show_hint);
    connect(fold_button_, &QAbstractButton::clicked, this, [this] { fold_click(); });

    timer_ = new QTimer(this);
    timer_->setObjectName(timer_name);
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, [this] { fold_timer_tick(); });
}

void floating_panel::fold_click() {
    unfolding_ = !unfolding_;
    fold_button_->set_picture(unfolding_ ? artwork::picture::fold_minus : artwork::picture::fold_plus);
    fold_button_->setStatusTip(unfolding_ ? texts_.hide_hint : texts_.show_hint);
    if (fold_button_->hover())
        show_status_tip(fold_button_, fold_button_->statusTip());
    timer_->start();
}

void floating_panel::fold_timer_tick() {
    const fold_tick_result next = fold_tick(height(), unfolding_, folded_height, unfolded_height_, fold_step);
    resize(width(), next.height);
    if (next.done) {
        timer_->stop();
        unfolded_ = unfolding_;
    }
}

QString floating_panel::picture_hint() const {
    return unfolded_ ? texts_.picture_open : texts_.picture_folded;
}

void floating_panel::begin_drag(const QPoint& grab) {
    dragging_ = true;
    grab_ = grab;
}

void floating_panel::drag_to(const QPoint& pointer_in_parent) {
    if (!dragging_ || !parentWidget())
        return;
    move(snap_floating_panel(pointer_in_parent - grab_, size(), parentWidget()->size()));
}

void floating_panel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        begin_drag(event->position().toPoint());
}

void floating_panel::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        drag_to(mapToParent(event->position().toPoint()));
}

void floating_panel::mouseReleaseEvent(QMouseEvent*) {
    end_drag();
}

void floating_panel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        fold_click();
}

void floating_panel::enterEvent(QEnterEvent* event) {
    show_status_tip(this, picture_hint());
    QFrame::enterEvent(event);
}

void floating_panel::leaveEvent(QEvent* event) {
    show_status_tip(this, {});
    QFrame::leaveEvent(event);
}

void floating_panel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), corner_ / 2.0, corner_ / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void floating_panel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0.5, 0.5, width() - 1, height() - 1);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor(0, 60, 125));
    body.setColorAt(1, QColor(0, 22, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(whole, corner_ / 2.0, corner_ / 2.0);
    // The title strip stays visible when folded.
    QLinearGradient strip(0, 0, 0, folded_height);
    strip.setColorAt(0, QColor(30, 150, 215));
    strip.setColorAt(1, QColor(0, 96, 160));
    QPainterPath top;
    top.addRoundedRect(whole, corner_ / 2.0, corner_ / 2.0);
    QPainterPath band;
    band.addRect(QRectF(0, 0, width(), folded_height));
    p.setBrush(strip);
    p.drawPath(top.intersected(band));
    p.setPen(QPen(QColor(90, 180, 240), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(whole, corner_ / 2.0, corner_ / 2.0);
}

void floating_panel::unfold_for_keyboard(QWidget* target) {
    if (!unfolding_)
        fold_click();
    target->setFocus(Qt::ShortcutFocusReason);
}

} // namespace karvo
