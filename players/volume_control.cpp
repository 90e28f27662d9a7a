// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/volume_control.h"

#include "platform/mixer.h"

namespace karvo {
namespace {

constexpr int bar_press_offset = 2; // the bar's frame: x = 2 is 0 %
// Its top stays below the title strip.
constexpr snap_rule volume_snapping{10, 1, 40, 30};

volume_display shown(int value) {
    return {value, std::to_string(value) + "%"};
}

} // namespace

volume_control::volume_control(platform::mixer& mixer) : mixer_(mixer) {}

volume_display volume_control::read_at_startup() {
    current_ = shown(mixer_.has_volume() ? mixer_.volume_percent() : 0);
    return current_;
}

volume_display volume_control::set(int value) {
    value = value > 100 ? 100 : value < 1 ? 1 : value;
    current_ = shown(value);
    if (mixer_.has_volume())
        mixer_.set_volume_percent(value);
    return current_;
}

volume_display volume_control::press(int x) {
    dragging_ = true;
    return set(x - bar_press_offset);
}

bool volume_control::move(int x, volume_display& display) {
    if (!dragging_)
        return false;
    display = set(x - bar_press_offset);
    return true;
}

panel_rect move_volume_panel(const panel_rect& start, int dx, int dy, int client_width, int client_height) {
    panel_rect moved = start;
    moved.left += dx;
    moved.top += dy;
    return snap_to_edges(moved, client_width, client_height, volume_snapping);
}

} // namespace karvo
