#include "library/media_list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <utility>

#include "library/text.h"
#include "platform/random.h"

namespace karvo {
namespace {

const std::string no_text;

// A sort key: its first eight bytes as a big-endian number decide most comparisons without touching the text.
struct sort_entry {
    std::uint64_t head;
    const char* text;
    std::uint32_t size;
    int row;  // offset from the first sorted row
};

sort_entry make_entry(std::string_view key, int row)
{
    std::uint64_t head = 0;
    for (std::size_t k = 0; k < 8; ++k)
        head = (head << 8) | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
    return {head, key.data(), static_cast<std::uint32_t>(key.size()), row};
}

// Byte-wise unsigned order, a shorter common prefix first. Different heads already order the keys: where a head
// was padded with zero bytes, the shorter key is a prefix of the other.
int compare(const sort_entry& a, const sort_entry& b)
{
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    return std::string_view(a.text, a.size).compare(std::string_view(b.text, b.size));
}

// The list's quicksort: middle pivot, both scans stop on equal keys, so sorted, reversed and all-equal columns
// split evenly. Recursing into the smaller part only keeps the stack shallow; the parts are disjoint, so the order
// in which they are sorted does not change the result.
void quicksort(std::vector<sort_entry>& entries, int first, int last)
{
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

void media_list::make_row(row_text& row, std::string_view info, std::string_view list_name) const
{
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

bool media_list::append(std::string_view info, const std::string& list_name)
{
    return insert(count(), info, list_name);
}

bool media_list::insert(int position, std::string_view info, const std::string& list_name)
{
    if (position < 0 || position > count())
        return false;
    row_text row;
    make_row(row, info, list_name);
    for (int column = 0; column < column_count; ++column)
        live_[column].emplace(live_[column].begin() + position, row.cells[column]);
    return true;
}

bool media_list::replace(int row, std::string_view info)
{
    if (!valid_row(row))
        return false;
    const std::string list_name = live_[ListName][row];
    row_text text;
    make_row(text, info, list_name);
    for (int column = 0; column < column_count; ++column)
        live_[column][row] = text.cells[column];
    return true;
}

const std::string& media_list::cell(int column, int row) const
{
    if (column < 0 || column >= column_count || !valid_row(row))
        return no_text;
    return live_[column][row];
}

bool media_list::set_cell(int column, int row, const std::string& value)
{
    if (column < 0 || column >= column_count || !valid_row(row))
        return false;
    live_[column][row] = value;
    return true;
}

const std::string& media_list::backup_cell(int column, int row) const
{
    if (column < 0 || column >= column_count || row < 0 || row >= static_cast<int>(backup_[column].size()))
        return no_text;
    return backup_[column][row];
}

bool media_list::remove(int row)
{
    if (!valid_row(row))
        return false;
    for (auto& column : live_)
        column.erase(column.begin() + row);
    return true;
}

bool media_list::clone(int row)
{
    if (!valid_row(row))
        return false;
    for (auto& column : live_) {
        std::string copy = column[row];
        column.insert(column.begin() + row + 1, std::move(copy));
    }
    return true;
}

bool media_list::move_up(int row)
{
    if (row < 1 || row >= count())
        return false;
    return swap(row - 1, row);
}

bool media_list::move_down(int row)
{
    if (row < 0 || row >= count() - 1)
        return false;
    return swap(row + 1, row);
}

bool media_list::move_to_top(int row)
{
    if (row <= 0 || row >= count())
        return false;
    for (auto& column : live_)
        std::rotate(column.begin(), column.begin() + row, column.begin() + row + 1);
    return true;
}

bool media_list::move_to_bottom(int row)
{
    if (!valid_row(row))
        return false;
    for (auto& column : live_)
        std::rotate(column.begin() + row, column.begin() + row + 1, column.end());
    return true;
}

bool media_list::swap(int a, int b)
{
    if (!valid_row(a) || !valid_row(b))
        return false;
    for (auto& column : live_)
        std::swap(column[a], column[b]);
    return true;
}

void media_list::set_list_name_of_all(const std::string& name)
{
    std::fill(live_[ListName].begin(), live_[ListName].end(), name);
}

void media_list::clear()
{
    // The lists keep their capacity: the list is usually filled again at once.
    for (auto& column : live_)
        column.clear();
}

std::string media_list::serialise_row(int row) const
{
    if (!valid_row(row))
        return {};
    std::size_t total = info_field_count + 1;
    for (const media_column column : info_field_column)
        total += live_[column][row].size();
    std::string info;
    info.reserve(total);
    for (const media_column column : info_field_column) {
        info += live_[column][row];
        info += info_separator;
    }
    info += info_separator;
    return info;
}

string_list media_list::serialise_all() const
{
    string_list lines;
    lines.reserve(static_cast<std::size_t>(count()));
    for (int row = 0; row < count(); ++row)
        lines.push_back(serialise_row(row));
    return lines;
}

void media_list::backup()
{
    backup_ = live_;
    backup_count_ = count();
}

void media_list::restore()
{
    live_ = backup_;
}

bool media_list::append_from_backup(int backup_row)
{
    if (backup_row < 0 || backup_row >= static_cast<int>(backup_[FullPath].size()))
        return false;
    for (int column = 0; column < column_count; ++column)
        live_[column].push_back(backup_[column][backup_row]);
    return true;
}

std::vector<int> media_list::sorted_order(int first, int last, int column) const
{
    // Upper-case every key once, into one buffer, instead of on each comparison.
    const string_list& cells = live_[column];
    std::size_t total = 0;
    for (int row = first; row <= last; ++row)
        total += cells[row].size();
    std::string buffer;
    buffer.reserve(total + total / 8);
    std::vector<std::size_t> ends;
    ends.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last; ++row) {
        append_upper_case(buffer, cells[row]);
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

void media_list::reorder(int first, const std::vector<int>& order)
{
    // Rows are gathered in random order: fetch a few rows ahead so the moves do not wait on memory.
    constexpr std::size_t ahead = 32;
    const std::size_t rows = order.size();
    string_list moved;
    for (auto& column : live_) {
        moved.clear();
        moved.reserve(static_cast<std::size_t>(count()));
        moved.insert(moved.end(), std::make_move_iterator(column.begin()),
                     std::make_move_iterator(column.begin() + first));
        std::string* const base = column.data() + first;
        for (std::size_t k = 0; k < rows; ++k) {
            if (k + ahead < rows)
                __builtin_prefetch(base + order[k + ahead]);
            moved.push_back(std::move(base[order[k]]));
        }
        moved.insert(moved.end(), std::make_move_iterator(column.begin() + first + static_cast<std::ptrdiff_t>(rows)),
                     std::make_move_iterator(column.end()));
        column.swap(moved);
    }
}

void media_list::sort_ascending(int first, int last, int column)
{
    if (column < 0 || column >= column_count || first < 0 || last >= count() || first >= last)
        return;
    reorder(first, sorted_order(first, last, column));
}

void media_list::sort_descending(int column)
{
    if (column < 0 || column >= column_count || count() < 2)
        return;
    std::vector<int> order = sorted_order(0, count() - 1, column);
    std::reverse(order.begin(), order.end());
    reorder(0, order);
}

void media_list::randomize(platform::random_source& random)
{
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

} // namespace karvo
