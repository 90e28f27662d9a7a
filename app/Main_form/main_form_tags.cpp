// SPDX-License-Identifier: GPL-3.0-or-later
// The tag editor's side of the main window: "Edit ID3 Tag" opens it on the focused row, each written tag is read
// back into the playlist rows of that file, and the playlist repaints when the editor closes.
#include "app/Id3_form/TID3Form.h"
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"

#include <QTableView>

namespace karvo {

void TfrmMain::mnuID3Click() {
    if (frmID3) {
        frmID3->raise();
        frmID3->activateWindow();
        return;
    }
    const int focused = playlist_->selected_positions().empty() ? -1 : playlist_->focused_row();
    frmID3 = new TID3Form(music_list, focused, environment_.prompts, language.tag_editor(), &resource, this);
    frmID3->setAttribute(Qt::WA_DeleteOnClose);
    connect(frmID3, &TID3Form::tag_saved, this, [this](int, const std::string& path) { refresh_rows_of(path); });
    // The view may already be gone when the editor is freed with the window.
    QPointer<QWidget> viewport = playlist_->view()->viewport();
    connect(frmID3, &QDialog::finished, this, [viewport] {
        if (viewport)
            viewport->update();
    });
    frmID3->show();
    frmID3->raise();
    frmID3->activateWindow();
}

TID3Form* TfrmMain::tag_editor() const {
    return frmID3;
}

void TfrmMain::refresh_rows_of(const std::string& path) {
    std::string info;
    for (int row = 0; row < music_list.count(); ++row) {
        if (music_list.full_path(row) != path)
            continue;
        if (info.empty())
            info = resource.media_info_string(path);
        if (info.empty() || !music_list.replace(row, info))
            return;
        playlist_->model()->rows_changed(row, row);
    }
}

} // namespace karvo
