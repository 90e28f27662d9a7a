// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/my_computer_list.h"

namespace karvo {
namespace {
const std::string no_text;
}

bool my_computer_list::append(std::string_view info) {
    if (!has_media_path(info))
        return false;
    const media_field_views fields = split_media_info(info);
    for (int field = 0; field < info_field_count; ++field)
        columns_[info_field_column[field]].emplace_back(fields[field]);
    const std::string& full_path = columns_[FullPath].back();
    columns_[Media].emplace_back(file_name_part(full_path));
    columns_[Length].push_back(format_length(columns_[Seconds].back()));
    std::string& quality = columns_[Quality].back();
    quality = derive_folder_quality(full_path, quality, columns_[SampleRate].back());
    return true;
}

void my_computer_list::clear() {
    for (auto& column : columns_)
        string_list().swap(column);
}

const std::string& my_computer_list::cell(int column, int row) const {
    if (column < 0 || column >= column_count || column == ListName || row < 0 || row >= count())
        return no_text;
    return columns_[column][row];
}

} // namespace karvo
