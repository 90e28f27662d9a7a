// The entries of the virtual playlist, held column by column: eighteen string lists of one length, plus a backup
// table of the same layout. Rows are added from media info strings; Media, Length and Quality are derived.
#pragma once

#include <array>
#include <string>

#include "library/media_entry.h"
#include "library/string_list.h"

namespace karvo {
namespace platform { class random_source; }

class media_list {
public:
    // Name switches for the derived display name; all on at construction.
    name_switches switches;

    bool append(const std::string& info, const std::string& list_name);
    bool insert(int position, const std::string& info, const std::string& list_name);
    void replace(int row, const std::string& info);  // ListName stays

    int count() const { return static_cast<int>(live_[FullPath].size()); }
    const std::string& full_path(int row) const { return live_[FullPath][row]; }
    const std::string& song(int row) const { return live_[Song][row]; }
    const std::string& cell(int column, int row) const { return live_[column][row]; }
    void set_cell(int column, int row, const std::string& value) { live_[column][row] = value; }
    const std::string& backup_cell(int column, int row) const { return backup_[column][row]; }
    int backup_count() const { return backup_count_; }

    bool remove(int row);  // false when row is out of range
    void clone(int row);   // copy inserted at row + 1
    bool move_up(int row);
    bool move_down(int row);
    bool move_to_top(int row);
    bool move_to_bottom(int row);
    void swap(int a, int b);
    void set_list_name_of_all(const std::string& name);
    void clear();  // the backup stays

    string_list serialise_all() const;
    std::string serialise_row(int row) const;

    void backup();
    void restore();
    void append_from_backup(int backup_row);

    // Quicksort of rows first..last on one column, comparing upper-cased text byte by byte.
    void sort_ascending(int first, int last, int column);
    void sort_descending(int column);
    // count passes, each swapping two rows picked at random.
    void randomize(platform::random_source& random);

private:
    void derive(int row);
    void fill_row(int row, const media_fields& fields);
    std::array<string_list, column_count> live_;
    std::array<string_list, column_count> backup_;
    int backup_count_ = -1;
};

} // namespace karvo
