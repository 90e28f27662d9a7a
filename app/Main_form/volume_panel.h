// The volume panel: "Volume:", the 102 x 10 bar and the percentage label on a rounded inner panel. The bar paints
// what the volume logic decides; the panel reports presses and drags so the window can move it and set volumes.
#pragma once

#include <QFrame>
#include <QWidget>
#include <cstdint>
#include <functional>

class QLabel;

namespace karvo {

// The bar `imgVolume`: the start-up frame (outlined grey, filled with the off colour) and, once a volume is set,
// the inner rectangle in the off colour with blue lines at x = 1, 3, 5, ... while x < value.
class volume_bar : public QWidget {
public:
    explicit volume_bar(QWidget* parent);

    void set_off_colour(std::uint32_t bgr);
    // The start-up display of `value`; no inner rectangle.
    void show_startup(int value);
    // A set volume: the inner rectangle and its lines over the start-up frame.
    void show_value(int value);
    int value() const { return value_; }  // the bar's tag

    // The picture as painted at 1:1, for checking the drawing.
    QImage picture() const;

    std::function<void(int x)> on_press;
    std::function<void(int x)> on_move;
    std::function<void()> on_release;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paint(QPainter& painter) const;

    QColor off_colour_;
    int value_ = 100;
    bool set_once_ = false;  // the inner rectangle is drawn once a volume has been set
};

class volume_panel : public QFrame {
public:
    static constexpr int panel_width = 204;
    static constexpr int panel_height = 24;

    explicit volume_panel(QWidget* parent);

    QFrame* VolumeInner = nullptr;
    QLabel* lblVolume = nullptr;
    volume_bar* imgVolume = nullptr;
    QLabel* lblVolumePercent = nullptr;

    // A press at a global point on the inner panel or its labels, moves while pressed, the release.
    std::function<void(const QPoint& global)> on_press;
    std::function<void(const QPoint& global)> on_move;
    std::function<void()> on_release;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace karvo
