// TfrmMain: the folder listing `LstMusicListAll`: its fill with per-file progress on the status line, its pop-up
// menu and "Play Selected".
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/folder_listing_model.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/status_line.h"
#include "library/folder_scanner.h"
#include "library/playlist_files.h"

namespace karvo {

void TfrmMain::build_listing() {
    folder_model = new folder_listing_model(folder_list, this);
    LstMusicListAll->setModel(folder_model);
    // Compact fixed rows, as in the playlist: a folder of thousands of files scrolls without measuring rows.
    LstMusicListAll->verticalHeader()->setDefaultSectionSize(
        std::max(LstMusicListAll->fontMetrics().height() + 4, 18));
    LstMusicListAll->setDragEnabled(true);
    LstMusicListAll->setDragDropMode(QAbstractItemView::DragOnly);
    LstMusicListAll->setMouseTracking(true);
    LstMusicListAll->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LstMusicListAll, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        LstMusicListAllContextPopup(LstMusicListAll->viewport()->mapToGlobal(at));
    });
    scanners = std::make_unique<folder_scanner>(media_types);
}

void TfrmMain::set_listing_images(const std::vector<QIcon>& icons) {
    folder_model->set_images(icons, [this](const std::string& path) { return playlist->extension_image(path); });
}

void TfrmMain::show_progress(const std::string& line) {
    const QString text = QString::fromStdString(line);
    if (on_status_message)
        on_status_message(text);
    const auto now = std::chrono::steady_clock::now();
    if (!progress_running_ || now - progress_painted_ >= progress_repaint_interval || !lblMessage->isVisible()) {
        show_message(text);
        ++progress_repaints;
        progress_painted_ = now;
        progress_pending_ = false;
    } else {
        lblMessage->setText(text);  // painted with the next repaint
        progress_pending_ = true;
    }
    progress_running_ = true;
}

void TfrmMain::finish_progress() {
    if (progress_pending_) {  // the last progress line is always seen
        imgMessage->repaint();
        ++progress_repaints;
    }
    progress_pending_ = false;
    progress_running_ = false;
}

void TfrmMain::LstMusicListAllFill(const std::string& folder) {
    folder_listing_callbacks callbacks;
    callbacks.media_info = [this](const std::string& path) { return resource.media_info_string(path); };
    callbacks.show_message = [this](const std::string& text) { show_progress(text); };
    callbacks.end_update = [this](int count) {
        finish_progress();
        folder_model->end_fill(count);
    };
    folder_model->begin_fill();
    try {
        fill_folder_listing(folder, media_types, folder_list, callbacks);
    } catch (...) {
        folder_model->end_fill(folder_list.count());
        throw;
    }
}

void TfrmMain::LstMusicListAllContextPopup(const QPoint& global) {
    AddNewMediaCD1->setVisible(false);
    mnuAdd->setProperty("tag", 0);
    mnuAdd->popup(global);
}

std::vector<int> TfrmMain::listing_selected_rows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : LstMusicListAll->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmMain::mnuPlaySelectedTempClick() {
    const std::vector<int> rows = listing_selected_rows();
    if (playback)
        playback->play_folder_selection(folder_list, rows);
}

void TfrmMain::play_paths(const string_list& paths) {
    if (playback)
        playback->play_paths(paths);
    else
        write_temp_playlist(data_folder, paths);
}

} // namespace karvo
