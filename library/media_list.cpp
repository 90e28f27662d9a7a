#include "library/media_list.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "library/text.h"
#include "platform/random.h"

namespace karvo {
namespace {

const std::string no_text;

struct sort_entry {
    std::string_view key;  // the upper-cased cell
    int row;               // its offset from the first sorted row
};

// The list's quicksort: middle pivot, both scans stop on equal keys, so sorted, reversed and all-equal columns
// split evenly. Recursing into the smaller part only keeps the stack shallow; the parts are disjoint, so the order
// in which they are sorted does not change the result.
void quicksort(std::vector<sort_entry>& entries, int first, int last)
{
    while (first < last) {
        const std::string_view pivot = entries[static_cast<std::size_t>((first + last) / 2)].key;
        int i = first;
        int j = last;
        while (i <= j) {
            while (entries[static_cast<std::size_t>(i)].key < pivot)
                ++i;
            while (entries[static_cast<std::size_t>(j)].key > pivot)
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

media_list::row_cells media_list::make_row(std::string_view info, std::string_view list_name) const
{
    const media_field_views fields = split_media_info(info);
    row_cells row;
    for (int field = 0; field < info_field_count; ++field)
        row[info_field_column[field]] = std::string(fields[field]);
    row[ListName] = std::string(list_name);
    row[Media] = derive_media_name(row[FullPath], switches);
    row[Length] = format_length(row[Seconds]);
    row[Quality] = derive_quality(row[FullPath], row[Quality], row[SampleRate]);
    return row;
}

bool media_list::append(std::string_view info, const std::string& list_name)
{
    return insert(count(), info, list_name);
}

bool media_list::insert(int position, std::string_view info, const std::string& list_name)
{
    if (position < 0 || position > count())
        return false;
    row_cells row = make_row(info, list_name);
    for (int column = 0; column < column_count; ++column)
        live_[column].insert(live_[column].begin() + position, std::move(row[column]));
    return true;
}

bool media_list::replace(int row, std::string_view info)
{
    if (!valid_row(row))
        return false;
    row_cells cells = make_row(info, live_[ListName][row]);
    for (int column = 0; column < column_count; ++column)
        live_[column][row] = std::move(cells[column]);
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
    for (auto& column : live_)
        string_list().swap(column);
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
        entries.push_back({std::string_view(buffer).substr(start, ends[k] - start), static_cast<int>(k)});
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
    string_list moved(order.size());
    for (auto& column : live_) {
        for (std::size_t k = 0; k < order.size(); ++k)
            moved[k] = std::move(column[static_cast<std::size_t>(first + order[k])]);
        std::move(moved.begin(), moved.end(), column.begin() + first);
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
