// TfrmMain: the virtual playlist's handlers: count caption, header sort, the sort and randomize buttons, and moving
// the selection up and down with the arrow buttons' auto-repeat.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/playlist_model.h"
#include "library/playlist_moves.h"

namespace karvo {

void TfrmMain::refresh_count() {
    playlist->refresh_count();
}

std::vector<int> TfrmMain::selected_positions() const {
    std::vector<int> rows;
    const QItemSelection selection = LstMusicList->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TfrmMain::apply_playlist_font() {
    QFont font = LstMusicList->font();
    font.setPointSize(settings.pls_font_size);
    LstMusicList->setFont(font);
    // One fixed row height keeps painting independent of the row count.
    LstMusicList->verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(font).height() + 4, 18));
    LstMusicList->viewport()->update();
}

void TfrmMain::LstMusicListColumnClick(int column) {
    if (column < 0 || column >= playlist_view_columns)
        return;
    const int key = playlist_model::column_map[column];
    const bool ascending = sort_direction;
    sort_direction = !sort_direction;
    playlist->rewrite([&] {
        if (ascending)
            music_list.sort_ascending(0, music_list.count() - 1, key);
        else
            music_list.sort_descending(key);
    });
}

void TfrmMain::cmdSortClick() {
    if (music_list.count() < 1)
        return;
    playlist->rewrite([&] { music_list.sort_ascending(0, music_list.count() - 1, settings.sort_item); });
}

void TfrmMain::cmdSortzaClick() {
    if (music_list.count() < 1)
        return;
    playlist->rewrite([&] { music_list.sort_descending(settings.sort_item); });
}

void TfrmMain::cmdRandomClick() {
    playlist->rewrite([&] {
        for (int pass = 0; pass < settings.randomize_times; ++pass)
            music_list.randomize(random);
    });
}

void TfrmMain::move_selected(bool up, std::vector<int>& positions) {
    const move_result result = up ? move_selected_up(music_list, positions, selected_positions())
                                  : move_selected_down(music_list, positions, selected_positions());
    if (result.focused < 0)
        return;
    playlist->rows_changed(result.first_changed, result.last_changed);
    // Rebuild the selection as runs of rows, so a large selection is set in one go.
    QItemSelection selection;
    const int last_column = playlist_view_columns - 1;
    for (std::size_t i = 0; i < result.selected.size();) {
        std::size_t j = i;
        while (j + 1 < result.selected.size() && result.selected[j + 1] == result.selected[j] + 1)
            ++j;
        selection.select(playlist->index(result.selected[i], 0), playlist->index(result.selected[j], last_column));
        i = j + 1;
    }
    auto* model = LstMusicList->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    model->setCurrentIndex(playlist->index(result.focused, 0), QItemSelectionModel::NoUpdate);
}

void TfrmMain::mnuMoveSelectedUpClick() {
    std::vector<int> positions = selected_positions();
    move_selected(true, positions);
}

void TfrmMain::mnuMoveSelectedDownClick() {
    std::vector<int> positions = selected_positions();
    move_selected(false, positions);
}

void TfrmMain::vp_upMouseDown() {
    kept_positions = selected_positions();
    move_selected(true, kept_positions);
    TimerUp->setInterval(500);
    TimerUp->start();
}

void TfrmMain::vp_downMouseDown() {
    kept_positions = selected_positions();
    move_selected(false, kept_positions);
    TimerDown->setInterval(500);
    TimerDown->start();
}

void TfrmMain::TimerUpTimer() {
    move_selected(true, kept_positions);
    TimerUp->setInterval(1);
    scroll_playlist(-1);
}

void TfrmMain::TimerDownTimer() {
    move_selected(false, kept_positions);
    TimerDown->setInterval(1);
    scroll_playlist(1);
}

void TfrmMain::vp_MouseUp() {
    for (QTimer* timer : {TimerUp, TimerDown}) {
        timer->stop();
        timer->setInterval(500);
    }
    kept_positions.clear();
}

void TfrmMain::scroll_playlist(int lines) {
    QScrollBar* bar = LstMusicList->verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

} // namespace karvo
