// SPDX-License-Identifier: GPL-3.0-or-later
// The players pane: the floating players panel `a` with its slot labels, extra-players box and remote-control
// markers, the two player popups a playlist drag brings up, and the volume panel. It shows what the players'
// logic decides and reports what the user does; the window owns the drivers and the commands.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "library/string_list.h"

class QWidget;

namespace karvo {

class player_popup_panel;
class players_panel;
class volume_panel;
struct popup_placement;
struct volume_display;

class players_pane : public QObject {
    Q_OBJECT
public:
    static constexpr int panel_left = 500;

    explicit players_pane(QWidget* parent);

    players_panel* panel() const { return a; }
    player_popup_panel* play_popup() const { return MPlayerPopup1; }
    player_popup_panel* two_part_popup() const { return MPlayerPopup2; }
    volume_panel* volume() const { return Volume; }

    // Slot captions 0-5 and whether each slot takes files from a file manager.
    void set_slots(const std::vector<std::string>& captions, const std::vector<bool>& accepts_files);
    void set_extra_players(const std::vector<std::string>& names);
    // The selected player's name on top (kept when empty) and the extra players' label with its box entry.
    void show_selection(const std::string& name, const std::string& extra_label);
    void mark_extra_selected();
    std::string slot_caption(int label) const;
    std::string top_caption() const; // the selected player's name, as lblPlayerTop shows it
    int slot_top(int label) const;   // in the panel
    void set_marker(int marker, bool remote, int top);

    // Shows the popup a placement asks for and hides the other; false when the drag is refused there.
    bool show_popup(const popup_placement& placement);
    void hide_popups();

    void show_volume(const volume_display& shown);
    void show_volume_at_startup(const volume_display& shown, unsigned off_colour);
    void set_volume_visible(bool visible);
    void move_volume(int left, int top);

signals:
    // A drop on a popup: the play-only one (x is -1) or the two-part one at x.
    void popup_dropped(int tag, int x, bool two_part);

private:
    players_panel* a;
    player_popup_panel* MPlayerPopup1;
    player_popup_panel* MPlayerPopup2;
    volume_panel* Volume;
};

} // namespace karvo
