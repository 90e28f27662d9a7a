// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of the virtual playlist, held column by column: eighteen string lists of one length, plus a backup
// table of the same layout. Rows are added from media info strings; Media, Length and Quality are derived.
// Row indexes out of range are refused (false, or nothing done), never a crash.
// The display order is a map from rows to slots of a compact column store (library/column_arena.h), so sorting,
// shuffling and moving rows reorder integers; the backup table shares the store and copies only the row map.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/column_arena.h"
#include "library/media_entry.h"
#include "library/string_list.h"

namespace karvo {
namespace platform {
class random_source;
}

class media_list {
public:
    // Name switches for the derived display name; all on at construction.
    name_switches switches;

    // An info string without a path adds nothing (false); replace then keeps the row as it was.
    bool append(std::string_view info, const std::string& list_name);
    bool insert(int position, std::string_view info, const std::string& list_name); // position 0..count
    bool replace(int row, std::string_view info);                                   // ListName stays
    // Room for the rows of about `info_bytes` of info strings, so a fill from a file grows nothing row by row.
    void reserve_for(std::uint64_t info_bytes);

    int count() const { return static_cast<int>(live_.rows.size()); }
    // Cells out of range read as empty text. A view stays valid until the list is next changed.
    std::string_view full_path(int row) const { return cell(FullPath, row); }
    std::string_view song(int row) const { return cell(Song, row); }
    std::string_view cell(int column, int row) const;
    bool set_cell(int column, int row, std::string_view value);
    std::string_view backup_cell(int column, int row) const;
    int backup_count() const { return backup_count_; }
    // Rows of the live table (or of the backup) whose cell in `column` passes `test`, ascending or from the last
    // row to the first. A column of repeated values asks `test` once per distinct value.
    std::vector<int> rows_where(int column, const std::function<bool(std::string_view)>& test, bool in_backup,
                                bool from_last) const;

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
    // Every row's info string ended by CR LF, in row order, in one block: a saved playlist's file content. A line
    // break inside a cell becomes a space, so that each entry stays one line.
    big_text serialise_for_file() const;
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
    // Texts that vary from row to row live in the byte arena; the others are interned per column.
    static constexpr int text_column_count = 6;
    static constexpr int pooled_column_count = column_count - text_column_count;
    struct shared_cells;
    struct row_text;
    // One table: the cells by slot (shared with snapshots) and the slot of each row in display order.
    struct table {
        std::shared_ptr<shared_cells> cells;
        paged_cells<std::uint64_t> texts; // a slot's texts, one after another in the arena
        std::array<paged_ids, pooled_column_count> pooled;
        // The bytes of a slot's info string fields, so a save can place every line without reading the cells
        // twice; long_line where they do not fit.
        paged_cells<std::uint16_t> line_bytes;
        std::vector<int> rows;
        int slot_count = 0;          // slots in use or freed
        std::vector<int> free_slots; // freed slots, live table only
        std::size_t text_bytes = 0;  // arena bytes the slots refer to, to see when the arena is mostly garbage

        // This table becomes a snapshot of `other`: the pages and the arena shared, the row map copied.
        void share(const table& other) {
            cells = other.cells;
            texts = other.texts;
            pooled = other.pooled;
            line_bytes = other.line_bytes;
            rows = other.rows;
            slot_count = other.slot_count;
            free_slots.clear();
            text_bytes = other.text_bytes;
        }
    };

    bool valid_row(int row) const { return row >= 0 && row < count(); }
    void make_row(row_text& row, const media_field_views& fields, std::string_view list_name);
    void write_row(int slot, const row_text& row);
    // Copies a slot of `from` (the live table or the backup) into a live slot.
    void copy_slot(const table& from, int from_slot, int to_slot);
    void write_cell(int column, int slot, std::string_view value);
    std::size_t slot_text_bytes(int slot) const;
    // The live table's store, made on first use (a new or moved-from list has none yet).
    shared_cells& writable_cells();
    // A free slot of the live table (a freed one, or a new one at the end).
    int take_slot();
    void release_slot(int slot);
    // Many deletions leave the store mostly holes, many rewrites the arena mostly garbage: gather the rows again,
    // in display order, into fresh pages (and a fresh arena when no snapshot shares it).
    void compact_when_sparse();
    void compact(bool fresh_arena);
    // Rows first.. take the rows first + order[k] in turn.
    void reorder(int first, std::span<const int> order);
    big_vector<int> sorted_order(int first, int last, int column) const;
    void backup_changed() { backup_shared_.reset(); }
    static bool same_table(const table& a, const table& b);
    // The rows from `first` on as (slot, offset from first), ordered by slot: reading cells in this order walks
    // the pages and the arena forward instead of jumping about after a shuffle or a sort.
    struct slot_row {
        int slot;
        int offset;
    };
    static big_vector<slot_row> in_slot_order(const table& from, int first, int count);
    std::string serialise_slot(int slot) const;
    static std::string_view read(const table& from, int column, int slot);
    // Every info string field of a slot, in string order.
    static void read_fields(const table& from, int slot, media_field_views& fields);
    template <std::size_t... field>
    static void read_fields(const table& from, int slot, media_field_views& fields, std::index_sequence<field...>);
    void write_texts(int slot, std::span<const std::string_view, text_column_count> texts);
    static constexpr std::uint16_t long_line = 0xFFFF;
    // Notes the slot's field bytes after one of its cells changed.
    void note_line_bytes(int slot);
    static std::size_t field_bytes(const media_field_views& fields);

    std::string name_scratch_; // the display name being derived, its capacity kept from row to row
    table live_;
    table backup_; // rows hold the backup's display order; empty cells pointer when discarded
    int backup_count_ = -1;
    // The backup as snapshots share it, made on the first snapshot after the backup changed: successive
    // snapshots of a narrowed list do not copy its row map again.
    mutable std::shared_ptr<const table> backup_shared_;

public:
    // Both tables as they stand, sharing the pages and the arena with the list: taking one costs the live row
    // map (and the backup's once per backup), and a later change copies only the pages it writes.
    class snapshot {
    public:
        int count() const { return live_ ? static_cast<int>(live_->rows.size()) : 0; }
        // The bytes this snapshot holds on its own: row maps, free slots and page pointers.
        std::size_t own_bytes() const;

    private:
        friend class media_list;
        std::shared_ptr<const table> live_;
        std::shared_ptr<const table> backup_;
        int backup_count_ = -1;
    };
    snapshot take_snapshot() const;
    // The rows, cells and backup become exactly those of the snapshot.
    void restore_snapshot(const snapshot& from);
    // Nothing was written since the snapshot: the same row maps over the same pages, in both tables.
    bool unchanged_since(const snapshot& taken) const;
};

} // namespace karvo
