// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting the rows of the playlist store by one column: upper-cased keys in one buffer, entries whose first eight
// bytes settle most comparisons, and the list's own quicksort over them, with a second core on large parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "library/column_arena.h"
#include "library/text.h"

namespace karvo {

// A sort key: its first eight bytes as a big-endian number decide most comparisons without touching the text.
// Keys of an interned column carry their rank in `head` and no text.
struct sort_entry {
    std::uint64_t head;
    const char* text;
    std::uint32_t size;
    int row; // offset from the first sorted row
};

// An entry for an upper-cased key (which must outlive it) of the row at `row`.
sort_entry make_sort_entry(std::string_view key, int row);

// Sorts the entries as the list's quicksort sorts its rows: middle pivot, both scans stop on equal keys, smaller
// part first. Equal keys end in the order that algorithm gives them.
void sort_entries(std::span<sort_entry> entries);

// Sorts the entries by key (byte-wise, a prefix first), in parts by their bytes, with a second core on large
// parts. Equal keys end in no particular order, each after the first of them with same_as_previous set in its
// size: returns false when there were any, true when every key differs (the order is then the only one, the one
// sort_entries gives too). The entries' texts and heads are consumed.
inline constexpr std::uint32_t same_as_previous = 0x80000000u;
bool sort_distinct_keys(std::span<sort_entry> entries);

// Sorts rows known by the rank of their key (high 32 bits; equal texts share a rank) and their row (low 32 bits) as
// sort_entries sorts them: the same quicksort, ending equal keys in the same order, with partitions that do not
// branch on the keys and all-equal parts put in their final order directly.
void sort_ranked(std::span<std::uint64_t> entries);

// Upper-cased keys, one after another in one buffer, numbered in the order they were added.
// A key's view stays valid until the next add.
class upper_keys {
public:
    void reserve(std::size_t bytes, std::size_t keys) {
        grow(bytes);
        ends_.reserve(keys);
    }
    void add(std::string_view text);
    std::string_view key(std::size_t k) const {
        const std::size_t start = k == 0 ? 0 : ends_[k - 1];
        return {buffer_.get() + start, ends_[k] - start};
    }

private:
    void grow(std::size_t need);

    big_bytes buffer_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    big_vector<std::size_t> ends_;
};

// Parts larger than this are worth a thread of their own when the machine has cores to spare.
inline constexpr int parallel_part = 1 << 16;

bool has_spare_core();

// work(begin, end, part) over 0..count: in two halves at once when the count is large and a core is spare, the
// first half on the calling thread.
template <typename Work>
void in_halves(std::size_t count, const Work& work) {
    if (count < 2 * static_cast<std::size_t>(parallel_part) || !has_spare_core()) {
        work(std::size_t{0}, count, 0);
        return;
    }
    const std::size_t half = count / 2;
    std::thread other;
    try {
        other = std::thread([&] { work(half, count, 1); });
    } catch (const std::system_error&) { // no thread to be had: all of it here
        work(std::size_t{0}, count, 0);
        return;
    }
    work(std::size_t{0}, half, 0);
    other.join();
}

} // namespace karvo
