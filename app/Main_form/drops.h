// SPDX-License-Identifier: GPL-3.0-or-later
// What a drop carries and where it comes from: the control a drag started in is recognised by its name (the
// playlist, the tree, the folder listing), files come from a file manager as local URLs. Also the waste bin, a
// picture button that takes drops.
#pragma once

#include <QString>

#include "app/Main_form/picture_button.h"
#include "library/string_list.h"

class QDropEvent;

namespace karvo {

// The object name of the control the drag started in; empty for a drag from another program.
QString drag_source_name(const QDropEvent* event);
// Whether a drag comes from the virtual playlist (its source control is LstMusicList).
bool from_virtual_playlist(const QDropEvent* event);
// The local files of a drop from a file manager, in the order given; other URLs are left out.
string_list dropped_local_files(const QDropEvent* event);

// `Waste`: playlist entries, saved playlists and Media CDs dragged onto it are deleted; what that means is the
// window's. While a drag is over it, its hint shows on the status line.
class waste_button : public picture_button {
    Q_OBJECT
public:
    explicit waste_button(QWidget* parent);

signals:
    void dropped(const QString& source); // the source control's name, or empty

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace karvo
