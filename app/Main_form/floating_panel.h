// SPDX-License-Identifier: GPL-3.0-or-later
// A panel that floats inside the main window: its fold button folds it to its title strip and unfolds it again,
// one step per tick of a 1 ms timer, and dragging its picture moves it, with the edges snapping to the window's
// client edges. The players panel is one; the search panel can be another.
#pragma once

#include <QFrame>
#include <QString>

class QTimer;

namespace karvo {

class picture_button;

// Where a dragged panel goes: a left edge of 10 or less snaps to 1, a right edge within 10 of the client width to
// client width - width - 1; a top of 10 or less snaps to 0, a bottom within 10 of the client height likewise.
QPoint snap_floating_panel(const QPoint& wanted, const QSize& panel, const QSize& client);

// One tick of the fold timer: the next height, and whether it has reached `end` (the timer then stops).
struct fold_tick_result {
    int height = 0;
    bool done = false;
};
fold_tick_result fold_tick(int height, bool unfolding, int folded_height, int unfolded_height, int step);

struct floating_panel_texts {
    QString hide_hint;      // on the fold button while unfolded
    QString show_hint;      // on the fold button while folded
    QString picture_open;   // on the panel's picture while unfolded
    QString picture_folded; // on the panel's picture while folded
};

class floating_panel : public QFrame {
    Q_OBJECT
public:
    static constexpr int folded_height = 25;
    static constexpr int fold_step = 25;

    floating_panel(const QString& name, const QString& fold_button_name, const QString& timer_name, int unfolded_height,
                   int corner, floating_panel_texts texts, QWidget* parent);

    picture_button* fold_button() const { return fold_button_; }
    QTimer* fold_timer() const { return timer_; }
    // The fold button's state: true once it was clicked to unfold (the timer's target).
    bool unfolding() const { return unfolding_; }
    // The state the timer reached last.
    bool unfolded() const { return unfolded_; }
    int unfolded_height() const { return unfolded_height_; }

    // Click on the fold button, or a double click on the panel's picture: flips the target and starts the timer.
    void fold_click();
    // The keyboard's way in: unfolds (unless unfolding already) and gives `target` the focus.
    void unfold_for_keyboard(QWidget* target);
    void fold_timer_tick();

    // Drags the panel as a press at `grab` (panel coordinates) and a move to `pointer` (parent coordinates) would.
    void begin_drag(const QPoint& grab);
    void drag_to(const QPoint& pointer_in_parent);
    void end_drag() { dragging_ = false; }
    bool dragging() const { return dragging_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // The hint for the picture in the current state; hints reach the status line as status tips.
    QString picture_hint() const;

private:
    picture_button* fold_button_;
    QTimer* timer_;
    int unfolded_height_;
    int corner_;
    floating_panel_texts texts_;
    bool unfolding_ = false;
    bool unfolded_ = false;
    bool dragging_ = false;
    QPoint grab_;
};

} // namespace karvo
