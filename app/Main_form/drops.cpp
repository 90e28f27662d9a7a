// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace karvo {

QString drag_source_name(const QDropEvent* event) {
    const QObject* source = event->source();
    // A drag from a list starts in its viewport.
    while (source && source->objectName().isEmpty())
        source = source->parent();
    return source ? source->objectName() : QString();
}

bool from_virtual_playlist(const QDropEvent* event) {
    return drag_source_name(event) == QLatin1String("LstMusicList");
}

string_list dropped_local_files(const QDropEvent* event) {
    string_list files;
    if (!event->mimeData() || !event->mimeData()->hasUrls())
        return files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

waste_button::waste_button(QWidget* parent) : picture_button(artwork::picture::waste, QStringLiteral("Waste"), parent) {
    setAcceptDrops(true);
    setStatusTip(QStringLiteral(
        "Drag'n Drop Saved Playlist, Media CDs or Media Files from your Virtual Playlist to Delete them."));
}

void waste_button::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
    show_status_tip(this, statusTip());
}

void waste_button::dragLeaveEvent(QDragLeaveEvent*) {
    show_status_tip(this, {});
}

void waste_button::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    show_status_tip(this, {});
    emit dropped(drag_source_name(event));
}

} // namespace karvo
