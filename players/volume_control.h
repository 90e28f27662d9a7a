// SPDX-License-Identifier: GPL-3.0-or-later
// The volume panel's logic: the percentage shown on the bar, mouse presses and drags on it, and the sound card's
// master volume behind it. Without a mixer the bar still moves but only the display changes.
#pragma once

#include "library/edge_snapping.h"
#include <string>

namespace karvo {
namespace platform {
class mixer;
}

inline constexpr int volume_bar_width = 102;
inline constexpr int volume_bar_height = 10;

struct volume_display {
    int value = 100;   // the bar's tag, 1..100 once set
    std::string label; // the percentage label, "100%"
};

class volume_control {
public:
    explicit volume_control(platform::mixer& mixer);

    // The percentage at start-up: the mixer's volume, or 0 without volume support. Sets no volume.
    volume_display read_at_startup();
    // Clamps to 1..100, shows it and, when the mixer supports it, sets the volume.
    volume_display set(int value);

    // Button press on the bar at x: sets x - 2 and starts dragging.
    volume_display press(int x);
    // Mouse move at x: sets x - 2 while dragging, nothing otherwise.
    bool move(int x, volume_display& shown);
    void release() { dragging_ = false; }
    bool dragging() const { return dragging_; }
    const volume_display& current() const { return current_; }

private:
    platform::mixer& mixer_;
    volume_display current_{100, "100%"};
    bool dragging_ = false;
};

// The volume panel's rectangle after a move, kept near the main window's client edges.
// `start` is the panel when the press happened, dx/dy the cursor's travel since then.
panel_rect move_volume_panel(const panel_rect& start, int dx, int dy, int client_width, int client_height);

} // namespace karvo
