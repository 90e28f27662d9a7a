// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/old_media_list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <utility>

#include "library/text.h"
#include "platform/random.h"

namespace karvo::old_store {
namespace {

const std::string no_text;

// A sort key: its first eight bytes as a big-endian number decide most comparisons without touching the text.
struct sort_entry {
    std::uint64_t head;
    const char* text;
    std::uint32_t size;
    int row; // offset from the first sorted row
};

sort_entry make_entry(std::string_view key, int row) {
    std::uint64_t head = 0;
    for (std::size_t k = 0; k < 8; ++k)
        head = (head << 8) | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
    return {head, key.data(), static_cast<std::uint32_t>(key.size()), row};
}

// Byte-wise unsigned order, a shorter common prefix first. Different heads already order the keys: where a head
// was padded with zero bytes, the shorter key is a prefix of the other.
int compare(const sort_entry& a, const sort_entry& b) {
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    return std::string_view(a.text, a.size).compare(std::string_view(b.text, b.size));
}

// The list's quicksort: middle pivot, both scans stop on equal keys, so sorted, reversed and all-equal columns
// split evenly. Recursing into the smaller part only keeps the stack shallow; the parts are disjoint, so the order
// in which they are sorted does not change the result.
void quicksort(std::vector<sort_entry>& entries, int first, int last) {
    while (first < last) {
        const sort_entry pivot = entries[static_cast<std::size_t>((first + last) / 2)];
        int i = first;
        int j = last;
        while (i <= j) {
            while (compare(entries[static_cast<std::size_t>(i)], pivot) < 0)
                ++i;
            while (compare(entries[static_cast<std::size_t>(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(entries[static_cast<std::size_t>(i)], entries[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (j - first < last - i) {
            if (first < j)
                quicksort(entries, first, j);
            first = i;
        } else {
            if (i < last)
                quicksort(entries, i, last);
            last = j;
        }
    }
}

} // namespace

// A row's cells as views into the info string, and the three derived cells they point to.
struct media_list::row_text {
    std::array<std::string_view, column_count> cells;
    std::string media, length, quality;

    row_text() = default;
    row_text(const row_text&) = delete;
    row_text& operator=(const row_text&) = delete;
};

void media_list::make_row(row_text& row, std::string_view info, std::string_view list_name) const {
    const media_field_views fields = split_media_info(info);
    for (int field = 0; field < info_field_count; ++field)
        row.cells[info_field_column[field]] = fields[field];
    row.cells[ListName] = list_name;
    row.media = derive_media_name(row.cells[FullPath], switches);
    row.length = format_length(row.cells[Seconds]);
    row.quality = derive_quality(row.cells[FullPath], row.cells[Quality], row.cells[SampleRate]);
    row.cells[Media] = row.media;
    row.cells[Length] = row.length;
    row.cells[Quality] = row.quality;
}

bool media_list::append(std::string_view info, const std::string& list_name) {
    return insert(count(), info, list_name);
}

int media_list::take_slot() {
    if (!free_slots_.empty()) {
        const int slot = free_slots_.back();
        free_slots_.pop_back();
        return slot;
    }
    for (auto& column : live_)
        column.emplace_back();
    return static_cast<int>(live_[FullPath].size()) - 1;
}

void media_list::clear_slot(int slot) {
    // The texts stay until the slot is taken again (and overwritten in place) or the store is compacted: freeing
    // eighteen strings per row would cost a large deletion more than the deletion itself.
    free_slots_.push_back(slot);
}

void media_list::compact_when_sparse() {
    if (free_slots_.size() > 4096 && free_slots_.size() > rows_.size()) {
        table compact;
        for (int column = 0; column < column_count; ++column) {
            compact[column].reserve(rows_.size());
            for (const int row_slot : rows_)
                compact[column].push_back(std::move(live_[column][row_slot]));
        }
        live_.swap(compact);
        std::iota(rows_.begin(), rows_.end(), 0);
        free_slots_.clear();
    }
}

void media_list::release_slot(int slot) {
    clear_slot(slot);
    compact_when_sparse();
}

bool media_list::insert(int position, std::string_view info, const std::string& list_name) {
    if (position < 0 || position > count())
        return false;
    row_text row;
    make_row(row, info, list_name);
    const int slot = take_slot();
    for (int column = 0; column < column_count; ++column)
        live_[column][slot] = row.cells[column];
    rows_.insert(rows_.begin() + position, slot);
    return true;
}

bool media_list::replace(int row, std::string_view info) {
    if (!valid_row(row))
        return false;
    const int slot = rows_[row];
    const std::string list_name = live_[ListName][slot];
    row_text text;
    make_row(text, info, list_name);
    for (int column = 0; column < column_count; ++column)
        live_[column][slot] = text.cells[column];
    return true;
}

const std::string& media_list::cell(int column, int row) const {
    if (column < 0 || column >= column_count || !valid_row(row))
        return no_text;
    return live_[column][rows_[row]];
}

bool media_list::set_cell(int column, int row, const std::string& value) {
    if (column < 0 || column >= column_count || !valid_row(row))
        return false;
    live_[column][rows_[row]] = value;
    return true;
}

const std::string& media_list::backup_cell(int column, int row) const {
    if (column < 0 || column >= column_count || row < 0 || row >= static_cast<int>(backup_[column].size()))
        return no_text;
    return backup_[column][row];
}

bool media_list::remove(int row) {
    if (!valid_row(row))
        return false;
    const int slot = rows_[row];
    rows_.erase(rows_.begin() + row);
    release_slot(slot);
    return true;
}

bool media_list::clone(int row) {
    if (!valid_row(row))
        return false;
    const int source = rows_[row];
    const int slot = take_slot();
    for (auto& column : live_)
        column[slot] = column[source];
    rows_.insert(rows_.begin() + row + 1, slot);
    return true;
}

int media_list::remove_rows(std::span<const int> rows) {
    std::vector<char> gone(rows_.size(), 0);
    for (const int row : rows)
        if (valid_row(row))
            gone[static_cast<std::size_t>(row)] = 1;
    std::size_t kept = 0;
    int removed = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (gone[row]) {
            clear_slot(rows_[row]);
            ++removed;
        } else {
            rows_[kept++] = rows_[row];
        }
    }
    rows_.resize(kept);
    compact_when_sparse();
    return removed;
}

int media_list::clone_rows(std::span<const int> rows) {
    std::vector<char> cloned(rows_.size(), 0);
    int copies = 0;
    for (const int row : rows)
        if (valid_row(row) && !cloned[static_cast<std::size_t>(row)]) {
            cloned[static_cast<std::size_t>(row)] = 1;
            ++copies;
        }
    if (copies == 0)
        return 0;
    std::vector<int> order;
    order.reserve(rows_.size() + static_cast<std::size_t>(copies));
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        order.push_back(rows_[row]);
        if (cloned[row]) {
            const int source = rows_[row];
            const int slot = take_slot();
            for (auto& column : live_)
                column[slot] = column[source];
            order.push_back(slot);
        }
    }
    rows_.swap(order);
    return copies;
}

bool media_list::reorder_rows(std::span<const int> order) {
    if (order.size() != rows_.size())
        return false;
    std::vector<char> seen(rows_.size(), 0);
    for (const int row : order) {
        if (!valid_row(row) || seen[static_cast<std::size_t>(row)])
            return false;
        seen[static_cast<std::size_t>(row)] = 1;
    }
    reorder(0, std::vector<int>(order.begin(), order.end()));
    return true;
}

bool media_list::move_up(int row) {
    if (row < 1 || row >= count())
        return false;
    return swap(row - 1, row);
}

bool media_list::move_down(int row) {
    if (row < 0 || row >= count() - 1)
        return false;
    return swap(row + 1, row);
}

bool media_list::move_to_top(int row) {
    if (row <= 0 || row >= count())
        return false;
    std::rotate(rows_.begin(), rows_.begin() + row, rows_.begin() + row + 1);
    return true;
}

bool media_list::move_to_bottom(int row) {
    if (!valid_row(row))
        return false;
    std::rotate(rows_.begin() + row, rows_.begin() + row + 1, rows_.end());
    return true;
}

bool media_list::swap(int a, int b) {
    if (!valid_row(a) || !valid_row(b))
        return false;
    std::swap(rows_[a], rows_[b]);
    return true;
}

void media_list::set_list_name_of_all(const std::string& name) {
    for (const int slot : rows_)
        live_[ListName][slot] = name;
}

void media_list::clear() {
    // The lists keep their capacity: the list is usually filled again at once.
    for (auto& column : live_)
        column.clear();
    rows_.clear();
    free_slots_.clear();
}

std::string media_list::serialise_row(int row) const {
    if (!valid_row(row))
        return {};
    const int slot = rows_[row];
    std::size_t total = info_field_count + 1;
    for (const media_column column : info_field_column)
        total += live_[column][slot].size();
    std::string info;
    info.reserve(total);
    for (const media_column column : info_field_column) {
        info += live_[column][slot];
        info += info_separator;
    }
    info += info_separator;
    return info;
}

string_list media_list::serialise_all() const {
    string_list lines;
    lines.reserve(static_cast<std::size_t>(count()));
    for (int row = 0; row < count(); ++row)
        lines.push_back(serialise_row(row));
    return lines;
}

void media_list::backup() {
    for (int column = 0; column < column_count; ++column) {
        string_list& copy = backup_[column];
        copy.clear();
        copy.reserve(rows_.size());
        for (const int slot : rows_)
            copy.push_back(live_[column][slot]);
    }
    backup_count_ = count();
}

void media_list::move_to_backup() {
    bool in_order = free_slots_.empty() && rows_.size() == live_[FullPath].size();
    for (std::size_t row = 0; in_order && row < rows_.size(); ++row)
        in_order = rows_[row] == static_cast<int>(row);
    for (int column = 0; column < column_count; ++column) {
        string_list& copy = backup_[column];
        if (in_order) {
            // Slots in display order: the columns themselves become the backup.
            copy.swap(live_[column]);
            continue;
        }
        copy.clear();
        copy.reserve(rows_.size());
        for (const int slot : rows_)
            copy.push_back(std::move(live_[column][slot]));
    }
    backup_count_ = count();
    clear();
}

void media_list::restore_and_discard_backup() {
    live_.swap(backup_);
    rows_.resize(live_[FullPath].size());
    std::iota(rows_.begin(), rows_.end(), 0);
    free_slots_.clear();
    discard_backup();
}

void media_list::restore() {
    live_ = backup_;
    rows_.resize(backup_[FullPath].size());
    std::iota(rows_.begin(), rows_.end(), 0);
    free_slots_.clear();
}

void media_list::discard_backup() {
    for (auto& column : backup_)
        string_list().swap(column);
    backup_count_ = -1;
}

int media_list::append_rows_from_backup(std::span<const int> backup_rows) {
    const int backup_rows_count = static_cast<int>(backup_[FullPath].size());
    std::vector<int> valid;
    valid.reserve(backup_rows.size());
    for (const int row : backup_rows)
        if (row >= 0 && row < backup_rows_count)
            valid.push_back(row);
    // Column by column into new slots at the end of the store: each column is walked once.
    const std::size_t first = live_[FullPath].size();
    for (int column = 0; column < column_count; ++column) {
        string_list& cells = live_[column];
        cells.reserve(first + valid.size());
        for (const int row : valid)
            cells.push_back(backup_[column][static_cast<std::size_t>(row)]);
    }
    rows_.reserve(rows_.size() + valid.size());
    for (std::size_t k = 0; k < valid.size(); ++k)
        rows_.push_back(static_cast<int>(first + k));
    return static_cast<int>(valid.size());
}

bool media_list::append_from_backup(int backup_row) {
    if (backup_row < 0 || backup_row >= static_cast<int>(backup_[FullPath].size()))
        return false;
    const int slot = take_slot();
    for (int column = 0; column < column_count; ++column)
        live_[column][slot] = backup_[column][backup_row];
    rows_.push_back(slot);
    return true;
}

std::vector<int> media_list::sorted_order(int first, int last, int column) const {
    // Upper-case every key once, into one buffer, instead of on each comparison.
    const string_list& cells = live_[column];
    std::size_t total = 0;
    for (int row = first; row <= last; ++row)
        total += cells[rows_[row]].size();
    std::string buffer;
    buffer.reserve(total + total / 8);
    std::vector<std::size_t> ends;
    ends.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last; ++row) {
        append_upper_case(buffer, cells[rows_[row]]);
        ends.push_back(buffer.size());
    }

    std::vector<sort_entry> entries;
    entries.reserve(ends.size());
    std::size_t start = 0;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        entries.push_back(make_entry(std::string_view(buffer).substr(start, ends[k] - start), static_cast<int>(k)));
        start = ends[k];
    }
    quicksort(entries, 0, static_cast<int>(entries.size()) - 1);

    std::vector<int> order;
    order.reserve(entries.size());
    for (const sort_entry& entry : entries)
        order.push_back(entry.row);
    return order;
}

void media_list::reorder(int first, const std::vector<int>& order) {
    std::vector<int> slots(order.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        slots[k] = rows_[first + order[k]];
    std::copy(slots.begin(), slots.end(), rows_.begin() + first);
}

void media_list::sort_ascending(int first, int last, int column) {
    if (column < 0 || column >= column_count || first < 0 || last >= count() || first >= last)
        return;
    reorder(first, sorted_order(first, last, column));
}

void media_list::sort_descending(int column) {
    if (column < 0 || column >= column_count || count() < 2)
        return;
    std::vector<int> order = sorted_order(0, count() - 1, column);
    std::reverse(order.begin(), order.end());
    reorder(0, order);
}

void media_list::randomize(platform::random_source& random) {
    const int rows = count();
    if (rows == 0)
        return;
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    for (int pass = 0; pass < rows; ++pass) {
        const int a = random.next() % rows;
        const int b = random.next() % rows;
        std::swap(order[static_cast<std::size_t>(a)], order[static_cast<std::size_t>(b)]);
    }
    reorder(0, order);
}

} // namespace karvo::old_store
