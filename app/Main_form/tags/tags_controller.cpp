// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/tags/tags_controller.h"

#include "app/Id3_form/TID3Form.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/main_context.h"
#include "platform/file_system.h"

namespace karvo {

tags_controller::tags_controller(main_context& context, command_registry& commands, const areas& others,
                                 QObject* parent)
    : QObject(parent), context_(context), others_(others) {
    commands.add({.id = "mnuID3",
                  .caption = QStringLiteral("Edit ID3 Tag"),
                  .key = Qt::Key_F3,
                  .handler = [this] { open_tag_editor(); }});
    commands.add({.id = "mnuShowFileInfo",
                  .caption = QStringLiteral("Show File Info"),
                  .key = QKeySequence(Qt::CTRL | Qt::Key_I),
                  .enabled = [this] { return !others_.playlist->selected_positions().empty(); },
                  .handler = [this] { show_file_info(); }});
}

TID3Form* tags_controller::tag_editor() const {
    return frmID3;
}

void tags_controller::open_tag_editor() {
    if (frmID3) {
        frmID3->raise();
        frmID3->activateWindow();
        return;
    }
    const playlist_port& playlist = *others_.playlist;
    const int focused = playlist.selected_positions().empty() ? -1 : playlist.focused_row();
    frmID3 = new TID3Form(context_.music_list, focused, context_.prompts(), context_.language.tag_editor(),
                          &context_.resource, others_.frame->window());
    frmID3->setAttribute(Qt::WA_DeleteOnClose);
    connect(frmID3, &TID3Form::tag_saved, this, [this](int, const std::string& path) { refresh_rows_of(path); });
    connect(frmID3, &QDialog::finished, this, [this] { others_.playlist->repaint(); });
    frmID3->show();
    frmID3->raise();
    frmID3->activateWindow();
}

void tags_controller::show_file_info() {
    const playlist_port& playlist = *others_.playlist;
    const std::vector<int> selected = playlist.selected_positions();
    const int row = playlist.focused_row() >= 0 ? playlist.focused_row() : selected.front();
    const std::string path(context_.music_list.full_path(row));
    if (platform::file_exists(path))
        context_.resource.show_media_info(path);
}

void tags_controller::refresh_rows_of(const std::string& path) {
    media_list& list = context_.music_list;
    std::string info;
    for (int row = 0; row < list.count(); ++row) {
        if (list.full_path(row) != path)
            continue;
        if (info.empty())
            info = context_.media_info(path);
        if (info.empty() || !list.replace(row, info))
            return;
        others_.playlist->rows_changed(row, row);
    }
}

} // namespace karvo
