// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/navigation/folder_listing_model.h"

#include "library/my_computer_list.h"

namespace karvo {

folder_listing_model::folder_listing_model(const my_computer_list& list, QObject* parent)
    : listing_model(folder_columns, parent), list_(list) {}

std::string_view folder_listing_model::cell_text(int column, int row) const {
    return list_.cell(this->column(column).field, row);
}

int folder_listing_model::row_image(int row) const {
    return image_of_ ? image_of_(list_.full_path(row)) : -1;
}

int folder_listing_model::list_rows() const {
    return list_.count();
}

QString folder_listing_model::caption(int section) const {
    return QString::fromUtf8(column(section).caption);
}

void folder_listing_model::set_images(std::vector<QIcon> icons, std::function<int(const std::string&)> image_of) {
    image_of_ = std::move(image_of);
    set_icons(std::move(icons));
}

// The view shows no rows while a fill runs (the event loop keeps turning meanwhile), then all of them at once.
void folder_listing_model::begin_fill() {
    beginResetModel();
    rows_ = 0;
    filling_ = true;
    endResetModel();
}

void folder_listing_model::end_fill(int count) {
    if (!filling_)
        return;
    beginResetModel();
    rows_ = std::min(count, list_.count());
    filling_ = false;
    endResetModel();
}

} // namespace karvo
