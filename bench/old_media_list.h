// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of the virtual playlist, held column by column: eighteen string lists of one length, plus a backup
// table of the same layout. Rows are added from media info strings; Media, Length and Quality are derived.
// Row indexes out of range are refused (false, or nothing done), never a crash.
// The display order is a map from rows to slots of the column store, so sorting, shuffling and moving rows
// reorder integers instead of eighteen columns of strings.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/media_entry.h"
#include "library/string_list.h"

namespace karvo::platform {
class random_source;
}

// The store as it was before the compact column store: kept only to measure the two side by side.
namespace karvo::old_store {

class media_list {
public:
    // Name switches for the derived display name; all on at construction.
    name_switches switches;

    bool append(std::string_view info, const std::string& list_name);
    bool insert(int position, std::string_view info, const std::string& list_name); // position 0..count
    bool replace(int row, std::string_view info);                                   // ListName stays

    int count() const { return static_cast<int>(rows_.size()); }
    // Cells out of range read as empty text.
    const std::string& full_path(int row) const { return cell(FullPath, row); }
    const std::string& song(int row) const { return cell(Song, row); }
    const std::string& cell(int column, int row) const;
    bool set_cell(int column, int row, const std::string& value);
    const std::string& backup_cell(int column, int row) const;
    int backup_count() const { return backup_count_; }

    bool remove(int row);
    bool clone(int row); // copy inserted at row + 1
    bool move_up(int row);
    bool move_down(int row);
    bool move_to_top(int row);
    bool move_to_bottom(int row);
    bool swap(int a, int b);
    // Whole-selection edits in one pass each, so a command over many rows stays linear. Rows out of range and
    // repeated rows are ignored.
    int remove_rows(std::span<const int> rows); // returns how many went
    int clone_rows(std::span<const int> rows);  // each copy directly after its row; returns how many
    // Row k takes old row order[k]; false (nothing done) unless `order` is a permutation of the rows.
    bool reorder_rows(std::span<const int> order);
    void set_list_name_of_all(const std::string& name);
    void clear(); // the backup stays

    string_list serialise_all() const;
    std::string serialise_row(int row) const;

    void backup();
    // Moves every live row into the backup table (replacing it) and leaves the live list empty: a backup taken
    // only to be filtered back needs no copy.
    void move_to_backup();
    void restore();
    // Moves the backup rows back into the live table, replacing it; the backup is then discarded.
    void restore_and_discard_backup();
    // Forgets the backup table (backup count -1): another list is shown, an old copy must not come back.
    void discard_backup();
    bool append_from_backup(int backup_row);
    // The listed backup rows appended in that order (rows out of range skipped); returns how many.
    int append_rows_from_backup(std::span<const int> backup_rows);

    // Quicksort of rows first..last on one column, comparing upper-cased text byte by byte.
    void sort_ascending(int first, int last, int column);
    // Ascending over all rows, then the row order reversed.
    void sort_descending(int column);
    // count passes, each swapping two rows picked at random.
    void randomize(platform::random_source& random);

private:
    using table = std::array<string_list, column_count>;
    struct row_text;

    void make_row(row_text& row, std::string_view info, std::string_view list_name) const;
    bool valid_row(int row) const { return row >= 0 && row < count(); }
    // A free slot of the column store (a freed one, or a new one at the end).
    int take_slot();
    void release_slot(int slot);
    void clear_slot(int slot);
    // Many deletions leave the store mostly holes: gather the rows again, in display order.
    void compact_when_sparse();
    // Rows first.. take the rows first + order[k] in turn.
    void reorder(int first, const std::vector<int>& order);
    std::vector<int> sorted_order(int first, int last, int column) const;

    table live_;            // the column store, indexed by slot
    std::vector<int> rows_; // slot of each row, in display order
    std::vector<int> free_slots_;
    table backup_; // a copy in display order, indexed by row
    int backup_count_ = -1;
};

} // namespace karvo::old_store
