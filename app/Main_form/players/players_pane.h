// SPDX-License-Identifier: GPL-3.0-or-later
// The players pane: the floating players panel `a` with its slot labels, extra-players box and remote-control
// markers, the two player popups a playlist drag brings up, and the volume panel. It shows what the players'
// logic decides and reports what the user does; the window owns the drivers and the commands.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "library/string_list.h"

class QPoint;
class QWidget;

namespace karvo {

class player_popup_panel;
class players_panel;
class volume_panel;
struct popup_placement;
struct tab_chain;
struct volume_display;

class players_pane : public QObject {
    Q_OBJECT
public:
    static constexpr int panel_left = 500;

    explicit players_pane(QWidget* parent);

    void join_tab_chain(tab_chain& chain) const;
    void raise();
    void fold_or_unfold();
    // Unfolds the panel (when it is not unfolding already) and gives it the keyboard.
    void focus_panel();

    // Slot captions 0-5 and whether each slot takes files from a file manager.
    void set_slots(const std::vector<std::string>& captions, const std::vector<bool>& accepts_files);
    void set_extra_players(const std::vector<std::string>& names);
    // The selected player's name on top (kept when empty) and the extra players' label with its box entry.
    void show_selection(const std::string& name, const std::string& extra_label);
    void mark_extra_selected();
    std::string slot_caption(int label) const;
    std::string top_caption() const; // the selected player's name, as lblPlayerTop shows it
    int slot_top(int label) const;   // in the panel
    QPoint slot_origin(int label) const; // the slot's top left in the window's background
    void set_marker(int marker, bool remote, int top);

    // Shows the popup a placement asks for and hides the other; false when the drag is refused there.
    bool show_popup(const popup_placement& placement);
    void hide_popups();

    void show_volume(const volume_display& shown);
    void show_volume_at_startup(const volume_display& shown, unsigned off_colour);
    void set_volume_visible(bool visible);
    void move_volume(int left, int top);

signals:
    void label_clicked(int label);
    void box_changed(int entry);
    void files_dropped(int slot, const karvo::string_list& files);
    // A receiver sets *accepted to false to refuse the drag over that slot.
    void playlist_drag_over(int slot, bool* accepted);
    void playlist_dropped(int slot);
    void marker_hovered(int marker);
    // The volume bar, pressed or dragged at x, and released; the volume panel moved by the user.
    void volume_pressed_at(int x);
    void volume_dragged_to(int x);
    void volume_released();
    void volume_moved(int left, int top);
    // A drop on a popup: the play-only one (x is -1) or the two-part one at x.
    void popup_dropped(int tag, int x, bool two_part);

private:
    players_panel* a;
    player_popup_panel* MPlayerPopup1;
    player_popup_panel* MPlayerPopup2;
    volume_panel* Volume;
};

} // namespace karvo
