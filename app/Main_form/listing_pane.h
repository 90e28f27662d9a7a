// SPDX-License-Identifier: GPL-3.0-or-later
// The folder listing pane: the view `LstMusicListAll` over the window's my_computer_list and its model. A fill
// reads the media information of every file of a folder, reporting per-file progress; the listing's pop-up menu
// is the add menu of the command registry.
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "library/main_settings.h"

class QIcon;
class QTableView;
class QWidget;

namespace karvo {

class folder_listing_model;
class media_files;
class my_computer_list;

class listing_pane : public QObject {
    Q_OBJECT
public:
    listing_pane(my_computer_list& list, QWidget* parent);

    QTableView* view() const { return LstMusicListAll; }
    folder_listing_model* model() const { return model_; }

    // The resource plug-in's extension icons and the image of a path.
    void set_images(const std::vector<QIcon>& icons, std::function<int(const std::string& path)> image_of);

    // Fills the listing from `folder`; `media_info` reads one file, `progress` sees every status line.
    void LstMusicListAllFill(const std::string& folder, const media_files& types,
                             const std::function<std::string(const std::string&)>& media_info,
                             const std::function<void(const std::string&)>& progress,
                             const std::function<void()>& finished);
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
    my_computer_list& list_;
    QTableView* LstMusicListAll;
    folder_listing_model* model_;
};

} // namespace karvo
