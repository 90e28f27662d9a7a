// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/navigation/listing_pane.h"

#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QTableView>

#include "app/Main_form/column_widths.h"
#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/navigation/folder_listing_model.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "library/folder_scanner.h"
#include "library/my_computer_list.h"

namespace karvo {

listing_pane::listing_pane(my_computer_list& list, QWidget* parent) : QObject(parent), list_(list) {
    LstMusicListAll = make_list_view("LstMusicListAll", parent);
    model_ = new folder_listing_model(list, this);
    LstMusicListAll->setModel(model_);
    // Compact fixed rows, as in the playlist: a folder of thousands of files scrolls without measuring rows.
    LstMusicListAll->verticalHeader()->setDefaultSectionSize(std::max(LstMusicListAll->fontMetrics().height() + 4, 18));
    LstMusicListAll->setDragEnabled(true);
    LstMusicListAll->setDragDropMode(QAbstractItemView::DragOnly);
    LstMusicListAll->setMouseTracking(true);
    LstMusicListAll->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LstMusicListAll, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit context_menu_requested(LstMusicListAll->viewport()->mapToGlobal(at)); });
    connect(LstMusicListAll, &QAbstractItemView::doubleClicked, this, &listing_pane::double_clicked);
    LstMusicListAll->setAccessibleName(QStringLiteral("Folder listing"));
}

void listing_pane::place(int left, int top, int width, int height) {
    LstMusicListAll->setGeometry(left, top, width, height);
}

void listing_pane::join_tab_chain(tab_chain& chain) const {
    chain.order.push_back(LstMusicListAll);
}

void listing_pane::repaint_rows() {
    LstMusicListAll->viewport()->update();
}

void listing_pane::set_images(const std::vector<QIcon>& icons, std::function<int(const std::string&)> image_of) {
    model_->set_images(icons, std::move(image_of));
}

listing_pane::~listing_pane() {
    cancel_fill();
}

void listing_pane::cancel_fill() {
    fill_.reset();
}

void listing_pane::LstMusicListAllFill(const std::string& folder, const media_files& types,
                                       const std::function<std::string(const std::string&)>& media_info,
                                       const read_ahead_policy& read_ahead,
                                       const std::function<void(const std::string&)>& progress,
                                       const std::function<void()>& finished) {
    cancel_fill();
    finished_ = finished;
    folder_listing_callbacks callbacks;
    callbacks.media_info = media_info;
    callbacks.show_message = progress;
    callbacks.end_update = [this](int count) { model_->end_fill(count); };
    callbacks.read_ahead = read_ahead;
    model_->begin_fill();
    try {
        fill_ =
            std::make_unique<folder_listing_fill>(folder, types, list_, std::move(callbacks), [this] { post_take(); });
    } catch (...) {
        model_->end_fill(list_.count());
        finished();
        throw;
    }
    take_ready();
}

void listing_pane::post_take() {
    if (!take_posted_.exchange(true))
        QMetaObject::invokeMethod(
            this, [this] { take_ready(); }, Qt::QueuedConnection);
}

void listing_pane::take_ready() {
    take_posted_ = false;
    if (!fill_)
        return;
    try {
        if (!fill_->take(false))
            return;
    } catch (...) {
        // A file that could not be read ends the listing as far as it got.
        model_->end_fill(list_.count());
    }
    fill_.reset();
    if (finished_)
        finished_(); // after the count line, the fill's last progress line
}

std::vector<int> listing_pane::selected_rows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : LstMusicListAll->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool listing_pane::has_selection() const {
    return LstMusicListAll->selectionModel()->hasSelection();
}

int listing_pane::focused_row() const {
    const QModelIndex current = LstMusicListAll->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void listing_pane::clear_selection() {
    LstMusicListAll->selectionModel()->clearSelection();
}

std::array<int, folder_view_columns> listing_pane::column_widths() const {
    return section_widths<folder_view_columns>(*LstMusicListAll->horizontalHeader());
}

void listing_pane::set_column_widths(const std::array<int, folder_view_columns>& widths) {
    resize_sections(*LstMusicListAll->horizontalHeader(), widths);
}

} // namespace karvo
