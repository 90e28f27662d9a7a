// SPDX-License-Identifier: GPL-3.0-or-later
// The folder listing pane: the view `LstMusicListAll` over the window's my_computer_list and its model. A fill
// reads the media information of every file of a folder on worker threads, taking the results on the UI thread in
// batches with per-file progress; a newer fill discards an older one. The listing's pop-up menu is the add menu of
// the command registry.
#pragma once

#include <QObject>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/Readahead/read_ahead_pool.h"
#include "library/main_settings.h"

class QIcon;
class QTableView;
class QWidget;

namespace karvo {

class folder_listing_fill;
class folder_listing_model;
class media_files;
class my_computer_list;
struct tab_chain;

class listing_pane : public QObject {
    Q_OBJECT
public:
    listing_pane(my_computer_list& list, QWidget* parent);
    ~listing_pane() override;

    folder_listing_model* model() const { return model_; }

    void place(int left, int top, int width, int height);
    void join_tab_chain(tab_chain& chain) const;
    void repaint_rows();

    // The resource plug-in's extension icons and the image of a path.
    void set_images(const std::vector<QIcon>& icons, std::function<int(const std::string& path)> image_of);

    // Starts filling the listing from `folder` and returns; `media_info` reads one file (on the readers, as
    // `read_ahead` allows), `progress` sees every status line, `finished` follows the count line. A fill still
    // running is stopped first and none of its results is shown.
    void LstMusicListAllFill(const std::string& folder, const media_files& types,
                             const std::function<std::string(const std::string&)>& media_info,
                             const read_ahead_policy& read_ahead,
                             const std::function<void(const std::string&)>& progress,
                             const std::function<void()>& finished);
    bool filling() const { return fill_ != nullptr; }
    // Stops a running fill (its readers use the window's plug-in, so the window stops it before it goes).
    void cancel_fill();
    std::vector<int> selected_rows() const;
    bool has_selection() const;
    int focused_row() const; // -1 when none
    void clear_selection();

    std::array<int, folder_view_columns> column_widths() const;
    void set_column_widths(const std::array<int, folder_view_columns>& widths);

signals:
    void context_menu_requested(const QPoint& global);
    void double_clicked();

private:
    void take_ready(); // UI thread: the results read so far
    void post_take();  // a reader: one take_ready queued at a time

    my_computer_list& list_;
    std::unique_ptr<folder_listing_fill> fill_;
    std::function<void()> finished_;
    std::atomic<bool> take_posted_{false};
    QTableView* LstMusicListAll;
    folder_listing_model* model_;
};

} // namespace karvo
