// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_list.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "library/sort_keys.h"
#include "library/text.h"
#include "platform/random.h"

namespace karvo {
namespace {

// Where a column's cells are kept: the texts that differ from row to row in the byte arena, the rest interned.
struct column_place {
    bool pooled;
    int index;
};

constexpr std::array<media_column, 6> text_columns = {Media, FullPath, Song, Comment, Info9, Info14};

constexpr std::array<column_place, column_count> make_places() {
    std::array<column_place, column_count> places{};
    int texts = 0;
    int pooled = 0;
    for (int column = 0; column < column_count; ++column) {
        const bool is_text = std::find(text_columns.begin(), text_columns.end(), column) != text_columns.end();
        places[static_cast<std::size_t>(column)] = {!is_text, is_text ? texts++ : pooled++};
    }
    return places;
}
constexpr std::array<column_place, column_count> places = make_places();

constexpr int pool_of(media_column column) {
    return places[static_cast<std::size_t>(column)].index;
}

// Rows ahead whose places are fetched while a row is written.
constexpr std::size_t prefetch_ahead = 16;

inline void prefetch(const void* at) {
    __builtin_prefetch(at, 1);
}

// A cell and its separator at p; returns where the next goes. Most cells are short: they are copied by a few
// fixed-size moves (overlapping where the size is not a multiple) instead of a call each.
inline char* put_field(char* p, std::string_view cell) {
    const char* const from = cell.data();
    const std::size_t size = cell.size();
    if (size > 32) {
        std::memcpy(p, from, size);
    } else if (size >= 8) {
        std::uint64_t word;
        for (std::size_t k = 0; k + 8 < size; k += 8) {
            std::memcpy(&word, from + k, 8);
            std::memcpy(p + k, &word, 8);
        }
        std::memcpy(&word, from + size - 8, 8);
        std::memcpy(p + size - 8, &word, 8);
    } else if (size >= 4) {
        std::uint32_t first;
        std::uint32_t last;
        std::memcpy(&first, from, 4);
        std::memcpy(&last, from + size - 4, 4);
        std::memcpy(p, &first, 4);
        std::memcpy(p + size - 4, &last, 4);
    } else if (size > 0) {
        p[0] = from[0];
        p[size / 2] = from[size / 2];
        p[size - 1] = from[size - 1];
    }
    p[size] = info_separator;
    return p + size + 1;
}

// Whose Quality is derived: 0 for an MP3, 1 for a WAV (the extension in any case), else -1. Every row asks.
int quality_kind(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot != 4)
        return -1;
    char extension[3];
    for (std::size_t k = 0; k < 3; ++k) {
        const char c = path[dot + 1 + k];
        extension[k] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const std::string_view upper(extension, 3);
    return upper == "MP3" ? 0 : (upper == "WAV" ? 1 : -1);
}

} // namespace

// The arena and the interned columns, shared by the live table and its snapshots; texts are only ever added.
struct media_list::shared_cells {
    byte_arena bytes;
    std::array<string_pool, pooled_column_count> pools;
    // Length and Quality follow from a few interned cells: derived once per distinct input.
    std::vector<std::uint32_t> length_of_seconds;                               // Length id + 1 by Seconds id
    std::array<std::unordered_map<std::uint64_t, std::uint32_t>, 2> quality_of; // MP3, WAV: (Quality, SampleRate)
    // Some stored text may hold a CR or LF: a save must then look for them. Never false while one does.
    bool line_breaks = false;

    void reset() {
        line_breaks = false;
        bytes.reset();
        for (auto& pool : pools)
            pool.reset();
        length_of_seconds.clear();
        for (auto& memo : quality_of)
            memo.clear();
    }
};

// A row's cells as views into the info string (Quality still as given) and the list's derived display name.
struct media_list::row_text {
    std::array<std::string_view, column_count> cells;

    row_text() = default;
    row_text(const row_text&) = delete;
    row_text& operator=(const row_text&) = delete;
};

inline std::string_view media_list::read(const table& from, int column, int slot) {
    const column_place place = places[static_cast<std::size_t>(column)];
    const std::size_t index = static_cast<std::size_t>(place.index);
    if (place.pooled)
        return from.cells->pools[index].value(from.pooled[index].get(slot));
    return from.cells->bytes.view(from.texts.get(slot), place.index);
}

// Each field's place known when compiling: a save reads every field of a million rows twice.
template <std::size_t... field>
inline void media_list::read_fields(const table& from, int slot, media_field_views& fields,
                                    std::index_sequence<field...>) {
    std::array<std::string_view, text_column_count> texts;
    from.cells->bytes.view_all(from.texts.get(slot), texts);
    const auto value = [&]<std::size_t f>() {
        constexpr column_place place = places[static_cast<std::size_t>(info_field_column[f])];
        constexpr std::size_t index = static_cast<std::size_t>(place.index);
        if constexpr (place.pooled)
            return from.cells->pools[index].value(from.pooled[index].get(slot));
        else
            return texts[index];
    };
    ((fields[field] = value.template operator()<field>()), ...);
}

void media_list::read_fields(const table& from, int slot, media_field_views& fields) {
    read_fields(from, slot, fields, std::make_index_sequence<info_field_count>());
}

void media_list::write_texts(int slot, std::span<const std::string_view, text_column_count> texts) {
    live_.texts.set(slot, writable_cells().bytes.add_all(texts));
    for (const std::string_view text : texts)
        live_.text_bytes += text.size();
}

media_list::shared_cells& media_list::writable_cells() {
    if (!live_.cells)
        live_.cells = std::make_shared<shared_cells>();
    return *live_.cells;
}

void media_list::make_row(row_text& row, const media_field_views& fields, std::string_view list_name) {
    for (int field = 0; field < info_field_count; ++field)
        row.cells[info_field_column[field]] = fields[field];
    row.cells[ListName] = list_name;
    derive_media_name(name_scratch_, row.cells[FullPath], switches);
    row.cells[Media] = name_scratch_;
}

void media_list::write_cell(int column, int slot, std::string_view value) {
    shared_cells& cells = writable_cells();
    const column_place place = places[static_cast<std::size_t>(column)];
    const std::size_t index = static_cast<std::size_t>(place.index);
    if (value.find_first_of("\r\n") != std::string_view::npos)
        cells.line_breaks = true;
    if (place.pooled) {
        live_.pooled[index].set(slot, cells.pools[index].intern(value, cells.bytes));
        note_line_bytes(slot);
        return;
    }
    // The slot's texts are written again with this one changed; the old ones stay in the arena as garbage.
    std::array<std::string_view, text_column_count> texts;
    cells.bytes.view_all(live_.texts.get(slot), texts);
    live_.text_bytes -= std::min(live_.text_bytes, slot_text_bytes(slot));
    texts[index] = value;
    write_texts(slot, texts);
    note_line_bytes(slot);
}

void media_list::write_row(int slot, const row_text& row) {
    std::array<std::string_view, text_column_count> texts;
    for (std::size_t k = 0; k < text_column_count; ++k)
        texts[k] = row.cells[text_columns[k]];
    write_texts(slot, texts);
    shared_cells& cells = writable_cells();
    for (int column = 0; column < column_count; ++column) {
        const column_place place = places[static_cast<std::size_t>(column)];
        if (place.pooled && column != Length && column != Quality) {
            const std::size_t index = static_cast<std::size_t>(place.index);
            live_.pooled[index].set(slot, cells.pools[index].intern(row.cells[column], cells.bytes));
        }
    }

    const std::uint32_t seconds = live_.pooled[pool_of(Seconds)].get(slot);
    if (cells.length_of_seconds.size() <= seconds)
        cells.length_of_seconds.resize(seconds + 1, 0);
    std::uint32_t& length = cells.length_of_seconds[seconds];
    if (length == 0)
        length = cells.pools[pool_of(Length)].intern(format_length(row.cells[Seconds]), cells.bytes) + 1;
    live_.pooled[pool_of(Length)].set(slot, length - 1);

    string_pool& qualities = cells.pools[pool_of(Quality)];
    const std::uint32_t given = qualities.intern(row.cells[Quality], cells.bytes);
    const int kind = quality_kind(row.cells[FullPath]);
    std::uint32_t quality = given;
    if (kind >= 0) {
        const std::uint64_t key =
            (static_cast<std::uint64_t>(given) << 32) | live_.pooled[pool_of(SampleRate)].get(slot);
        auto& memo = cells.quality_of[static_cast<std::size_t>(kind)];
        const auto found = memo.find(key);
        if (found != memo.end()) {
            quality = found->second;
        } else {
            quality = qualities.intern(derive_quality(row.cells[FullPath], row.cells[Quality], row.cells[SampleRate]),
                                       cells.bytes);
            memo.emplace(key, quality);
        }
    }
    live_.pooled[pool_of(Quality)].set(slot, quality);
    note_line_bytes(slot);
}

std::size_t media_list::field_bytes(const media_field_views& fields) {
    std::size_t bytes = 0;
    for (const std::string_view field : fields)
        bytes += field.size();
    return bytes;
}

void media_list::note_line_bytes(int slot) {
    media_field_views fields;
    read_fields(live_, slot, fields);
    const std::size_t bytes = field_bytes(fields);
    live_.line_bytes.set(slot, bytes < long_line ? static_cast<std::uint16_t>(bytes) : long_line);
}

void media_list::copy_slot(const table& from, int from_slot, int to_slot) {
    if (from.cells == live_.cells) {
        // The same arena: the references are the cells.
        live_.texts.set(to_slot, from.texts.get(from_slot));
        for (std::size_t k = 0; k < pooled_column_count; ++k)
            live_.pooled[k].set(to_slot, from.pooled[k].get(from_slot));
        live_.line_bytes.set(to_slot, from.line_bytes.get(from_slot));
        for (const media_column column : text_columns)
            live_.text_bytes += read(from, column, from_slot).size();
        return;
    }
    std::array<std::string_view, text_column_count> texts;
    from.cells->bytes.view_all(from.texts.get(from_slot), texts);
    if (from.cells->line_breaks)
        writable_cells().line_breaks = true;
    write_texts(to_slot, texts);
    for (int column = 0; column < column_count; ++column)
        if (places[static_cast<std::size_t>(column)].pooled)
            write_cell(column, to_slot, read(from, column, from_slot));
}

std::size_t media_list::slot_text_bytes(int slot) const {
    std::size_t bytes = 0;
    for (const media_column column : text_columns)
        bytes += read(live_, column, slot).size();
    return bytes;
}

void media_list::reserve_for(std::uint64_t info_bytes) {
    // Lines of real entries are seldom under a hundred bytes; their texts take about their own size in the arena.
    const std::size_t bytes = static_cast<std::size_t>(std::min<std::uint64_t>(info_bytes, std::size_t{1} << 40));
    // Geometric growth: all saved playlists loaded one after another reserve again and again.
    const std::size_t want = live_.rows.size() + bytes / 100;
    if (want > live_.rows.capacity())
        live_.rows.reserve(std::max(want, live_.rows.capacity() * 2));
    writable_cells().bytes.reserve(bytes);
}

bool media_list::append(std::string_view info, const std::string& list_name) {
    return insert(count(), info, list_name);
}

int media_list::take_slot() {
    if (!live_.free_slots.empty()) {
        const int slot = live_.free_slots.back();
        live_.free_slots.pop_back();
        return slot;
    }
    if (live_.slot_count % page_slots == 0) {
        live_.texts.add_page();
        live_.line_bytes.add_page();
        for (auto& column : live_.pooled)
            column.add_page();
    }
    return live_.slot_count++;
}

void media_list::release_slot(int slot) {
    // The texts stay in the arena until it is compacted or cleared: freeing them one by one would cost a large
    // deletion more than the deletion itself.
    live_.text_bytes -= std::min(live_.text_bytes, slot_text_bytes(slot));
    live_.free_slots.push_back(slot);
}

void media_list::compact_when_sparse() {
    const std::size_t free_slots = live_.free_slots.size();
    const bool sparse = free_slots > 4096 && free_slots > live_.rows.size();
    // Only an arena no snapshot shares can be rebuilt; a shared one keeps what the snapshot still shows.
    const bool garbage = live_.cells && live_.cells.use_count() == 1 &&
                         live_.cells->bytes.used() > 2 * live_.text_bytes + (std::size_t{16} << 20);
    if (sparse || garbage)
        compact(garbage);
}

void media_list::compact(bool fresh_arena) {
    table old = std::move(live_);
    live_ = table{};
    live_.cells = fresh_arena ? std::make_shared<shared_cells>() : old.cells;
    live_.rows.reserve(old.rows.size());
    for (const int slot : old.rows) {
        const int to = take_slot();
        copy_slot(old, slot, to);
        live_.rows.push_back(to);
    }
}

bool media_list::insert(int position, std::string_view info, const std::string& list_name) {
    if (position < 0 || position > count())
        return false;
    bool line_break = false;
    const media_field_views fields = split_media_info(info, line_break);
    if (fields[0].empty()) // no path
        return false;
    row_text row;
    make_row(row, fields, list_name);
    if (line_break)
        writable_cells().line_breaks = true;
    const int slot = take_slot();
    write_row(slot, row);
    live_.rows.insert(live_.rows.begin() + position, slot);
    return true;
}

bool media_list::replace(int row, std::string_view info) {
    if (!valid_row(row))
        return false;
    bool line_break = false;
    const media_field_views fields = split_media_info(info, line_break);
    if (fields[0].empty()) // no path
        return false;
    const int slot = live_.rows[static_cast<std::size_t>(row)];
    row_text text;
    // The interned name stays where it is while the row is written again.
    make_row(text, fields, read(live_, ListName, slot));
    if (line_break)
        writable_cells().line_breaks = true;
    live_.text_bytes -= std::min(live_.text_bytes, slot_text_bytes(slot));
    write_row(slot, text);
    compact_when_sparse();
    return true;
}

std::string_view media_list::cell(int column, int row) const {
    if (column < 0 || column >= column_count || !valid_row(row))
        return {};
    return read(live_, column, live_.rows[static_cast<std::size_t>(row)]);
}

bool media_list::set_cell(int column, int row, std::string_view value) {
    if (column < 0 || column >= column_count || !valid_row(row))
        return false;
    write_cell(column, live_.rows[static_cast<std::size_t>(row)], value);
    compact_when_sparse();
    return true;
}

std::string_view media_list::backup_cell(int column, int row) const {
    if (column < 0 || column >= column_count || row < 0 || row >= static_cast<int>(backup_.rows.size()))
        return {};
    return read(backup_, column, backup_.rows[static_cast<std::size_t>(row)]);
}

std::vector<int> media_list::rows_where(int column, const std::function<bool(std::string_view)>& test, bool in_backup,
                                        bool from_last) const {
    const table& from = in_backup ? backup_ : live_;
    const int rows = static_cast<int>(from.rows.size());
    std::vector<int> found;
    const auto add = [&](auto passes) {
        for (int k = 0; k < rows; ++k) {
            const int row = from_last ? rows - 1 - k : k;
            if (passes(from.rows[static_cast<std::size_t>(row)]))
                found.push_back(row);
        }
    };
    if (column < 0 || column >= column_count) {
        const bool all = test({});
        add([all](int) { return all; });
        return found;
    }
    const column_place place = places[static_cast<std::size_t>(column)];
    if (rows == 0)
        return found;
    if (!place.pooled) {
        std::vector<char> passes(static_cast<std::size_t>(rows), 0); // by row
        for (const slot_row row : in_slot_order(from, 0, rows))
            passes[static_cast<std::size_t>(row.offset)] = test(read(from, column, row.slot));
        for (int k = 0; k < rows; ++k) {
            const int row = from_last ? rows - 1 - k : k;
            if (passes[static_cast<std::size_t>(row)])
                found.push_back(row);
        }
        return found;
    }
    const std::size_t index = static_cast<std::size_t>(place.index);
    const string_pool& pool = from.cells->pools[index];
    std::vector<signed char> verdict(pool.size(), -1); // per distinct value: unknown, fails, passes
    add([&](int slot) {
        const std::uint32_t id = from.pooled[index].get(slot);
        if (verdict[id] < 0)
            verdict[id] = test(pool.value(id)) ? 1 : 0;
        return verdict[id] == 1;
    });
    return found;
}

bool media_list::remove(int row) {
    if (!valid_row(row))
        return false;
    const int slot = live_.rows[static_cast<std::size_t>(row)];
    live_.rows.erase(live_.rows.begin() + row);
    release_slot(slot);
    compact_when_sparse();
    return true;
}

bool media_list::clone(int row) {
    if (!valid_row(row))
        return false;
    const int source = live_.rows[static_cast<std::size_t>(row)];
    const int slot = take_slot();
    copy_slot(live_, source, slot);
    live_.rows.insert(live_.rows.begin() + row + 1, slot);
    return true;
}

int media_list::remove_rows(std::span<const int> rows) {
    std::vector<int>& order = live_.rows;
    std::vector<char> gone(order.size(), 0);
    for (const int row : rows)
        if (valid_row(row))
            gone[static_cast<std::size_t>(row)] = 1;
    std::size_t kept = 0;
    int removed = 0;
    for (std::size_t row = 0; row < order.size(); ++row) {
        if (gone[row]) {
            release_slot(order[row]);
            ++removed;
        } else {
            order[kept++] = order[row];
        }
    }
    order.resize(kept);
    compact_when_sparse();
    return removed;
}

int media_list::clone_rows(std::span<const int> rows) {
    std::vector<char> cloned(live_.rows.size(), 0);
    int copies = 0;
    for (const int row : rows)
        if (valid_row(row) && !cloned[static_cast<std::size_t>(row)]) {
            cloned[static_cast<std::size_t>(row)] = 1;
            ++copies;
        }
    if (copies == 0)
        return 0;
    std::vector<int> order;
    order.reserve(live_.rows.size() + static_cast<std::size_t>(copies));
    for (std::size_t row = 0; row < live_.rows.size(); ++row) {
        const int source = live_.rows[row];
        order.push_back(source);
        if (cloned[row]) {
            const int slot = take_slot();
            copy_slot(live_, source, slot);
            order.push_back(slot);
        }
    }
    live_.rows.swap(order);
    return copies;
}

bool media_list::reorder_rows(std::span<const int> order) {
    if (order.size() != live_.rows.size())
        return false;
    std::vector<char> seen(live_.rows.size(), 0);
    for (const int row : order) {
        if (!valid_row(row) || seen[static_cast<std::size_t>(row)])
            return false;
        seen[static_cast<std::size_t>(row)] = 1;
    }
    reorder(0, order);
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
    std::rotate(live_.rows.begin(), live_.rows.begin() + row, live_.rows.begin() + row + 1);
    return true;
}

bool media_list::move_to_bottom(int row) {
    if (!valid_row(row))
        return false;
    std::rotate(live_.rows.begin() + row, live_.rows.begin() + row + 1, live_.rows.end());
    return true;
}

bool media_list::swap(int a, int b) {
    if (!valid_row(a) || !valid_row(b))
        return false;
    std::swap(live_.rows[static_cast<std::size_t>(a)], live_.rows[static_cast<std::size_t>(b)]);
    return true;
}

void media_list::set_list_name_of_all(const std::string& name) {
    if (live_.rows.empty())
        return;
    shared_cells& cells = writable_cells();
    const std::uint32_t id = cells.pools[pool_of(ListName)].intern(name, cells.bytes);
    for (const int slot : live_.rows)
        live_.pooled[pool_of(ListName)].set(slot, id);
}

void media_list::clear() {
    // An arena nobody else holds is emptied and kept: the list is usually filled again at once. A shared one stays
    // as it is for the snapshot.
    if (live_.cells && live_.cells.use_count() == 1)
        live_.cells->reset();
    live_.texts.clear();
    live_.line_bytes.clear();
    for (auto& column : live_.pooled)
        column.clear();
    live_.rows.clear();
    live_.slot_count = 0;
    live_.free_slots.clear();
    live_.text_bytes = 0;
}

std::string media_list::serialise_row(int row) const {
    if (!valid_row(row))
        return {};
    return serialise_slot(live_.rows[static_cast<std::size_t>(row)]);
}

std::string media_list::serialise_slot(int slot) const {
    media_field_views fields;
    read_fields(live_, slot, fields);
    std::size_t total = info_field_count + 1;
    for (const std::string_view field : fields)
        total += field.size();
    std::string info;
    info.reserve(total);
    for (const std::string_view field : fields) {
        info += field;
        info += info_separator;
    }
    info += info_separator;
    return info;
}

string_list media_list::serialise_all() const {
    string_list lines(static_cast<std::size_t>(count()));
    const big_vector<slot_row> along = in_slot_order(live_, 0, count());
    in_halves(along.size(), [&](std::size_t begin, std::size_t end, int) {
        for (std::size_t k = begin; k < end; ++k)
            lines[static_cast<std::size_t>(along[k].offset)] = serialise_slot(along[k].slot);
    });
    return lines;
}

big_text media_list::serialise_for_file() const {
    constexpr std::size_t separators = info_field_count + 1;
    const big_vector<slot_row> along = in_slot_order(live_, 0, count());
    const bool line_breaks = live_.cells && live_.cells->line_breaks;
    big_vector<std::size_t> start(along.size() + 1, 0);
    // Each row's line length (from the noted field bytes, or read from the cells), then where it starts; the rows
    // are then written straight from the columns, in slot order (the order the cells lie in memory) and on two
    // cores when there are. A line whose cells do not match its noted length is not written: the whole text is
    // then placed again from the cells.
    const auto place = [&](bool from_cells) {
        in_halves(along.size(), [&](std::size_t begin, std::size_t end, int) {
            for (std::size_t k = begin; k < end; ++k) {
                if (k + prefetch_ahead < end)
                    prefetch(&start[static_cast<std::size_t>(along[k + prefetch_ahead].offset) + 1]);
                std::size_t bytes = live_.line_bytes.get(along[k].slot);
                if (from_cells || bytes == long_line) {
                    media_field_views fields;
                    read_fields(live_, along[k].slot, fields);
                    bytes = field_bytes(fields);
                }
                start[static_cast<std::size_t>(along[k].offset) + 1] = bytes + separators + 2;
            }
        });
        start[0] = 0;
        for (std::size_t k = 1; k < start.size(); ++k)
            start[k] += start[k - 1];
    };
    const auto write = [&](char* const out) {
        std::atomic<bool> placed{true};
        in_halves(along.size(), [&](std::size_t begin, std::size_t end, int) {
            for (std::size_t k = begin; k < end; ++k) {
                // Rows lie in any order over the slots: where a line goes is fetched some rows ahead, and its
                // place in the text a few rows ahead, so the writes do not wait on the memory one by one.
                if (k + prefetch_ahead < end)
                    prefetch(&start[static_cast<std::size_t>(along[k + prefetch_ahead].offset)]);
                if (k + prefetch_ahead / 2 < end)
                    prefetch(out + start[static_cast<std::size_t>(along[k + prefetch_ahead / 2].offset)]);
                const auto row = static_cast<std::size_t>(along[k].offset);
                media_field_views fields;
                read_fields(live_, along[k].slot, fields);
                if (field_bytes(fields) + separators + 2 != start[row + 1] - start[row]) {
                    placed = false;
                    continue;
                }
                char* const line = out + start[row];
                char* p = line;
                for (const std::string_view cell : fields)
                    p = put_field(p, cell);
                *p++ = info_separator;
                const auto size = static_cast<std::size_t>(p - line);
                if (line_breaks && (std::memchr(line, '\r', size) || std::memchr(line, '\n', size)))
                    std::replace_if(line, p, [](char c) { return c == '\r' || c == '\n'; }, ' ');
                *p++ = '\r';
                *p = '\n';
            }
        });
        return placed.load();
    };
    place(false);
    big_text text(start.back());
    if (write(text.data()))
        return text;
    assert(!"a noted line length went stale");
    place(true);
    big_text exact(start.back());
    write(exact.data());
    return exact;
}

big_vector<media_list::slot_row> media_list::in_slot_order(const table& from, int first, int count) {
    big_vector<slot_row> order(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        order[static_cast<std::size_t>(k)] = {from.rows[static_cast<std::size_t>(first + k)], k};
    if (static_cast<std::size_t>(count) * 8 < static_cast<std::size_t>(from.slot_count)) {
        // A few rows of a large store: sorting them is cheaper than a map of every slot.
        std::sort(order.begin(), order.end(), [](slot_row a, slot_row b) { return a.slot < b.slot; });
        return order;
    }
    big_vector<int> offset_of_slot(static_cast<std::size_t>(from.slot_count), -1);
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + prefetch_ahead < order.size())
            prefetch(&offset_of_slot[static_cast<std::size_t>(order[k + prefetch_ahead].slot)]);
        offset_of_slot[static_cast<std::size_t>(order[k].slot)] = order[k].offset;
    }
    std::size_t next = 0;
    for (int slot = 0; slot < from.slot_count; ++slot)
        if (offset_of_slot[static_cast<std::size_t>(slot)] >= 0)
            order[next++] = {slot, offset_of_slot[static_cast<std::size_t>(slot)]};
    return order;
}

void media_list::backup() {
    // The snapshot shares the pages and the arena; only the row map is copied.
    writable_cells();
    backup_.share(live_);
    backup_count_ = count();
    backup_changed();
}

void media_list::move_to_backup() {
    backup_changed();
    backup_ = std::move(live_);
    backup_.free_slots.clear();
    backup_count_ = static_cast<int>(backup_.rows.size());
    live_ = table{};
    live_.cells = backup_.cells;
}

void media_list::restore_and_discard_backup() {
    live_ = std::move(backup_);
    discard_backup();
}

media_list::snapshot media_list::take_snapshot() const {
    snapshot taken;
    taken.live_ = std::make_shared<const table>(live_);
    if (!backup_shared_)
        backup_shared_ = std::make_shared<const table>(backup_);
    taken.backup_ = backup_shared_;
    taken.backup_count_ = backup_count_;
    return taken;
}

void media_list::restore_snapshot(const snapshot& from) {
    if (!from.live_)
        return;
    live_ = *from.live_;
    backup_ = *from.backup_;
    backup_count_ = from.backup_count_;
    backup_shared_ = from.backup_;
}

bool media_list::same_table(const table& a, const table& b) {
    if (a.rows != b.rows || a.cells != b.cells)
        return false;
    if (!a.texts.shares_all_pages(b.texts) || !a.line_bytes.shares_all_pages(b.line_bytes))
        return false;
    for (std::size_t k = 0; k < pooled_column_count; ++k)
        if (!a.pooled[k].shares_all_pages(b.pooled[k]))
            return false;
    return true;
}

bool media_list::unchanged_since(const snapshot& taken) const {
    if (!taken.live_)
        return false;
    return backup_count_ == taken.backup_count_ && same_table(live_, *taken.live_) &&
           (backup_shared_ == taken.backup_ || same_table(backup_, *taken.backup_));
}

std::size_t media_list::snapshot::own_bytes() const {
    if (!live_)
        return 0;
    const std::size_t pages = 2 + live_->pooled.size();
    const std::size_t page_pointers = pages * (static_cast<std::size_t>(live_->slot_count) / page_slots + 1);
    return sizeof(table) + (live_->rows.capacity() + live_->free_slots.capacity()) * sizeof(int) +
           page_pointers * sizeof(std::shared_ptr<int>);
}

void media_list::restore() {
    live_.share(backup_);
}

void media_list::discard_backup() {
    backup_ = table{};
    backup_count_ = -1;
    backup_changed();
}

int media_list::append_rows_from_backup(std::span<const int> backup_rows) {
    const int backup_rows_count = static_cast<int>(backup_.rows.size());
    std::vector<int> valid;
    valid.reserve(backup_rows.size());
    for (const int row : backup_rows)
        if (row >= 0 && row < backup_rows_count)
            valid.push_back(row);
    if (valid.empty())
        return 0;
    live_.rows.reserve(live_.rows.size() + valid.size());
    if (live_.slot_count == 0 && live_.cells == backup_.cells) {
        // An empty live table over the backup's arena (a narrowing search): it takes the backup's pages, so its
        // rows are the backup's slots and nothing is copied until one side writes.
        live_.texts = backup_.texts;
        live_.pooled = backup_.pooled;
        live_.line_bytes = backup_.line_bytes;
        live_.slot_count = backup_.slot_count;
        // A row asked for twice gets a slot of its own the second time: a slot belongs to one row.
        std::vector<char> taken(static_cast<std::size_t>(backup_.slot_count), 0);
        for (const int row : valid) {
            const int slot = backup_.rows[static_cast<std::size_t>(row)];
            if (!taken[static_cast<std::size_t>(slot)]) {
                taken[static_cast<std::size_t>(slot)] = 1;
                live_.rows.push_back(slot);
                continue;
            }
            const int copy = take_slot();
            copy_slot(backup_, slot, copy);
            live_.rows.push_back(copy);
        }
        live_.text_bytes = backup_.text_bytes / static_cast<std::size_t>(backup_rows_count) * valid.size();
        return static_cast<int>(valid.size());
    }
    for (const int row : valid) {
        const int slot = take_slot();
        copy_slot(backup_, backup_.rows[static_cast<std::size_t>(row)], slot);
        live_.rows.push_back(slot);
    }
    return static_cast<int>(valid.size());
}

bool media_list::append_from_backup(int backup_row) {
    if (backup_row < 0 || backup_row >= static_cast<int>(backup_.rows.size()))
        return false;
    const int slot = take_slot();
    copy_slot(backup_, backup_.rows[static_cast<std::size_t>(backup_row)], slot);
    live_.rows.push_back(slot);
    return true;
}

big_vector<int> media_list::sorted_order(int first, int last, int column) const {
    const std::size_t count = static_cast<std::size_t>(last - first + 1);
    const column_place place = places[static_cast<std::size_t>(column)];
    const std::size_t index = static_cast<std::size_t>(place.index);
    std::array<upper_keys, 2> keys; // the entries point into them
    if (place.pooled) {
        // Rank the distinct values once; equal upper-cased texts share a rank, so the rows sort as their texts do.
        const string_pool& pool = live_.cells->pools[index];
        upper_keys values;
        for (std::uint32_t id = 0; id < pool.size(); ++id)
            values.add(pool.value(id));
        std::vector<std::uint32_t> ids(pool.size());
        std::iota(ids.begin(), ids.end(), 0u);
        std::sort(ids.begin(), ids.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return values.key(a) < values.key(b); });
        std::vector<std::uint32_t> rank(pool.size());
        std::uint32_t next = 0;
        for (std::size_t k = 0; k < ids.size(); ++k) {
            if (k > 0 && values.key(ids[k]) != values.key(ids[k - 1]))
                ++next;
            rank[ids[k]] = next;
        }
        big_vector<std::uint64_t> ranked(count);
        for (const slot_row row : in_slot_order(live_, first, static_cast<int>(count)))
            ranked[static_cast<std::size_t>(row.offset)] =
                static_cast<std::uint64_t>(rank[live_.pooled[index].get(row.slot)]) << 32 |
                static_cast<std::uint32_t>(row.offset);
        sort_ranked(ranked);
        big_vector<int> order(count);
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<int>(ranked[k] & 0xFFFFFFFFu);
        return order;
    }
    big_vector<sort_entry> entries(count);
    // The cells are read in slot order; each entry goes to its row, as the quicksort's result depends on the row
    // order. Paths share their first folders: the keys start after the prefix common to all of them (ASCII, so
    // upper-casing keeps its length), and their heads then tell them apart.
    const big_vector<slot_row> along = in_slot_order(live_, first, static_cast<int>(count));
    {
        const std::string_view lead = read(live_, column, along[0].slot);
        std::size_t common = common_upper_ascii_prefix(lead, lead); // its ASCII start
        std::size_t bytes = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view cell = read(live_, column, along[k].slot);
            // Most cells begin with the very bytes: only the others are compared letter by letter.
            if (cell.size() < common || std::memcmp(cell.data(), lead.data(), common) != 0)
                common = std::min(common, common_upper_ascii_prefix(lead, cell));
            bytes += cell.size();
        }
        const std::size_t key_bytes = bytes - common * count;
        in_halves(count, [&](std::size_t begin, std::size_t end, int half) {
            upper_keys& part = keys[static_cast<std::size_t>(half)];
            part.reserve((key_bytes + key_bytes / 8) * (end - begin) / count, end - begin);
            for (std::size_t k = begin; k < end; ++k)
                part.add(read(live_, column, along[k].slot).substr(common));
            for (std::size_t k = begin; k < end; ++k) {
                if (k + prefetch_ahead < end)
                    prefetch(&entries[static_cast<std::size_t>(along[k + prefetch_ahead].offset)]);
                entries[static_cast<std::size_t>(along[k].offset)] =
                    make_sort_entry(part.key(k - begin), along[k].offset);
            }
        });
    }
    big_vector<int> order(count);
    if (sort_distinct_keys(entries)) {
        // Every key differs: the order is the only one there is.
        for (std::size_t k = 0; k < count; ++k)
            order[k] = entries[k].row;
        return order;
    }
    // Equal keys end in the order the quicksort leaves them in: it is run on the ranks of the keys.
    big_vector<std::uint64_t> ranked(count);
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (k + prefetch_ahead < count)
            prefetch(&ranked[static_cast<std::size_t>(entries[k + prefetch_ahead].row)]);
        const auto row = static_cast<std::size_t>(entries[k].row);
        if (k > 0 && !(entries[k].size & same_as_previous))
            ++rank;
        ranked[row] = static_cast<std::uint64_t>(rank) << 32 | static_cast<std::uint32_t>(row);
    }
    sort_ranked(ranked);
    for (std::size_t k = 0; k < count; ++k)
        order[k] = static_cast<int>(ranked[k] & 0xFFFFFFFFu);
    return order;
}

void media_list::reorder(int first, std::span<const int> order) {
    big_vector<int> slots(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + prefetch_ahead < order.size())
            prefetch(&live_.rows[static_cast<std::size_t>(first + order[k + prefetch_ahead])]);
        slots[k] = live_.rows[static_cast<std::size_t>(first + order[k])];
    }
    std::copy(slots.begin(), slots.end(), live_.rows.begin() + first);
}

void media_list::sort_ascending(int first, int last, int column) {
    if (column < 0 || column >= column_count || first < 0 || last >= count() || first >= last)
        return;
    reorder(first, sorted_order(first, last, column));
}

void media_list::sort_descending(int column) {
    if (column < 0 || column >= column_count || count() < 2)
        return;
    big_vector<int> order = sorted_order(0, count() - 1, column);
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

} // namespace karvo
