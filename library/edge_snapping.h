// SPDX-License-Identifier: GPL-3.0-or-later
// Where a panel dragged inside the main window goes: an edge that comes near the client's edge snaps to it.
#pragma once

namespace karvo {

struct panel_rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct snap_rule {
    int distance = 10;  // how near an edge counts as at it
    int left = 1;       // where a left edge near the client's left goes
    int top_limit = 10; // a top at or above this snaps
    int top = 0;        // to this
};

// Right and bottom edges within the distance go one pixel inside the client.
constexpr panel_rect snap_to_edges(panel_rect at, int client_width, int client_height, const snap_rule& rule = {}) {
    if (at.left <= rule.distance)
        at.left = rule.left;
    else if (at.left + at.width + rule.distance >= client_width)
        at.left = client_width - at.width - 1;
    if (at.top <= rule.top_limit)
        at.top = rule.top;
    else if (at.top + at.height + rule.distance >= client_height)
        at.top = client_height - at.height - 1;
    return at;
}

} // namespace karvo
