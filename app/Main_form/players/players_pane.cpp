// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/players/players_pane.h"

#include <QComboBox>
#include <QCursor>
#include <QLabel>

#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/players/players_panel.h"
#include "app/Main_form/players/volume_panel.h"
#include "players/playback_commands.h"
#include "players/volume_control.h"

namespace karvo {

players_pane::players_pane(QWidget* parent) : QObject(parent) {
    a = new players_panel(parent);
    a->move(panel_left, 0);
    MPlayerPopup1 = new player_popup_panel(QStringLiteral("MPlayerPopup1"), false, 15, parent);
    MPlayerPopup2 = new player_popup_panel(QStringLiteral("MPlayerPopup2"), true, 12, parent);
    connect(MPlayerPopup1, &player_popup_panel::dropped, this,
            [this](int tag, int) { emit popup_dropped(tag, -1, false); });
    connect(MPlayerPopup2, &player_popup_panel::dropped, this,
            [this](int tag, int x) { emit popup_dropped(tag, x, true); });
    connect(a, &players_panel::playlist_drag_left, this, [this, parent] {
        // The popup that came up under the pointer takes the drag over; one the pointer never reached goes.
        const QPoint pointer = parent->mapFromGlobal(QCursor::pos());
        for (player_popup_panel* popup : {MPlayerPopup1, MPlayerPopup2})
            if (!popup->geometry().contains(pointer))
                popup->hide();
    });
    Volume = new volume_panel(parent);
    connect(a, &players_panel::label_clicked, this, &players_pane::label_clicked);
    connect(a, &players_panel::box_changed, this, &players_pane::box_changed);
    connect(a, &players_panel::files_dropped, this, &players_pane::files_dropped);
    connect(a, &players_panel::playlist_drag_over, this, &players_pane::playlist_drag_over);
    connect(a, &players_panel::playlist_dropped, this, &players_pane::playlist_dropped);
    connect(a, &players_panel::marker_hovered, this, &players_pane::marker_hovered);
    connect(Volume->imgVolume, &volume_bar::pressed_at, this, &players_pane::volume_pressed_at);
    connect(Volume->imgVolume, &volume_bar::dragged_to, this, &players_pane::volume_dragged_to);
    connect(Volume->imgVolume, &volume_bar::released, this, &players_pane::volume_released);
    connect(Volume, &volume_panel::moved, this, &players_pane::volume_moved);
}

void players_pane::join_tab_chain(tab_chain& chain) const {
    chain.order.push_back(a);
}

void players_pane::raise() {
    a->raise();
}

void players_pane::fold_or_unfold() {
    a->fold_click();
}

void players_pane::focus_panel() {
    a->unfold_for_keyboard(a);
}

QPoint players_pane::slot_origin(int label) const {
    return {a->x(), a->y() + slot_top(label)};
}

void players_pane::set_slots(const std::vector<std::string>& captions, const std::vector<bool>& accepts_files) {
    for (int slot = 0; slot < static_cast<int>(captions.size()) && slot < 6; ++slot) {
        a->lblPlayer[slot]->setText(QString::fromStdString(captions[slot]));
        a->accepts_files[slot] = accepts_files[slot];
    }
}

void players_pane::set_extra_players(const std::vector<std::string>& names) {
    a->cmbPlayers->clear();
    for (const std::string& name : names)
        a->cmbPlayers->addItem(QString::fromStdString(name));
}

void players_pane::show_selection(const std::string& name, const std::string& extra_label) {
    if (!name.empty())
        a->lblPlayerTop->setText(QString::fromStdString(name));
    const QString extra = QString::fromStdString(extra_label);
    a->lblPlayer[6]->setText(extra);
    const int entry = a->cmbPlayers->findText(extra);
    if (entry >= 0)
        a->cmbPlayers->setCurrentIndex(entry);
}

std::string players_pane::top_caption() const {
    return a->lblPlayerTop->text().toStdString();
}

void players_pane::mark_extra_selected() {
    a->lblPlayerTop->setStyleSheet("color: white; background: transparent; font-weight: bold;");
}

std::string players_pane::slot_caption(int label) const {
    return a->lblPlayer[label]->text().toStdString();
}

int players_pane::slot_top(int label) const {
    return a->lblPlayer[label]->y();
}

void players_pane::set_marker(int marker, bool remote, int top) {
    a->set_marker(marker, remote, top);
}

bool players_pane::show_popup(const popup_placement& placement) {
    player_popup_panel* shown = placement.kind == player_popup::two_part    ? MPlayerPopup2
                                : placement.kind == player_popup::play_only ? MPlayerPopup1
                                                                            : nullptr;
    for (player_popup_panel* popup : {MPlayerPopup1, MPlayerPopup2})
        if (popup != shown)
            popup->hide();
    if (!shown)
        return false;
    shown->tag = placement.tag;
    shown->setGeometry(placement.left, placement.top, placement.width, placement.height);
    shown->show();
    shown->raise();
    return true;
}

void players_pane::hide_popups() {
    MPlayerPopup1->hide();
    MPlayerPopup2->hide();
}

void players_pane::show_volume(const volume_display& shown) {
    Volume->imgVolume->show_value(shown.value);
    Volume->lblVolumePercent->setText(QString::fromStdString(shown.label));
}

void players_pane::show_volume_at_startup(const volume_display& shown, unsigned off_colour) {
    Volume->imgVolume->set_off_colour(off_colour);
    Volume->imgVolume->show_startup(shown.value);
    Volume->lblVolumePercent->setText(QString::fromStdString(shown.label));
}

void players_pane::set_volume_visible(bool visible) {
    Volume->setVisible(visible);
    if (visible)
        Volume->raise();
}

void players_pane::move_volume(int left, int top) {
    Volume->move(left, top);
}

} // namespace karvo
