// SPDX-License-Identifier: GPL-3.0-or-later
// The folder listing's store: the media entry fields without ListName, column by column. Media is the bare file
// name; Length and Quality are derived.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "library/media_entry.h"
#include "library/string_list.h"

namespace karvo {

class my_computer_list {
public:
    bool append(std::string_view info);
    void clear();
    int count() const { return static_cast<int>(columns_[FullPath].size()); }
    const std::string& full_path(int row) const { return cell(FullPath, row); }
    // ListName is not held: cell(ListName, row) is empty, as is any cell out of range.
    const std::string& cell(int column, int row) const;
    string_list& extra() { return extra_; } // the further list, unused
private:
    std::array<string_list, column_count> columns_; // the ListName column stays empty
    string_list extra_;
};

} // namespace karvo
