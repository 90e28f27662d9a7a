// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/sort_keys.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#include "library/text.h"

namespace karvo {
namespace {

// Byte-wise unsigned order, a shorter common prefix first. Different heads already order the keys: where a head
// was padded with zero bytes, the shorter key is a prefix of the other.
int compare(const sort_entry& a, const sort_entry& b) {
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    return std::string_view(a.text, a.size).compare(std::string_view(b.text, b.size));
}

// Keys first..last all begin with the bytes already skipped; when they share more, skip that too and take the
// heads after it, so the keys of one folder stop tying on their heads. False when they share nothing more.
bool skip_shared_bytes(std::span<sort_entry> entries, int first, int last) {
    const sort_entry& lead = entries[static_cast<std::size_t>(first)];
    std::size_t common = lead.size;
    for (int k = first + 1; k <= last && common > 0; ++k) {
        const sort_entry& other = entries[static_cast<std::size_t>(k)];
        const std::size_t limit = std::min<std::size_t>(common, other.size);
        std::size_t same = 0;
        if (other.head != lead.head)
            same = static_cast<std::size_t>(std::countl_zero(other.head ^ lead.head)) / 8;
        else
            for (same = std::min<std::size_t>(limit, 8); same < limit && lead.text[same] == other.text[same];)
                ++same;
        common = std::min(same, limit);
    }
    if (common == 0)
        return false;
    for (int k = first; k <= last; ++k) {
        sort_entry& entry = entries[static_cast<std::size_t>(k)];
        entry = make_sort_entry(std::string_view(entry.text + common, entry.size - common), entry.row);
    }
    return true;
}

// The list's quicksort: middle pivot, both scans stop on equal keys, so sorted, reversed and all-equal columns
// split evenly. Recursing into the smaller part only keeps the stack shallow; the parts are disjoint, so the order
// in which they are sorted does not change the result. Neither does skipping bytes every key of a part shares,
// tried when the part's first, middle and last heads tie, and not again for a while when it finds none.
void quicksort(std::span<sort_entry> entries, int first, int last, int retry_below = INT_MAX, int threads_left = 0) {
    while (first < last) {
        const std::size_t middle = static_cast<std::size_t>((first + last) / 2);
        const std::uint64_t head = entries[middle].head;
        const int size = last - first + 1;
        if (size > 8 && size < retry_below && entries[static_cast<std::size_t>(first)].head == head &&
            entries[static_cast<std::size_t>(last)].head == head && entries[middle].size > 0)
            retry_below = skip_shared_bytes(entries, first, last) ? INT_MAX : size / 4;
        const sort_entry pivot = entries[middle];
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
        if (j - first > parallel_part && last - i > parallel_part && threads_left > 0) {
            // Two large disjoint parts: one on a thread of its own, the other here.
            std::thread other;
            try {
                other = std::thread([&entries, i, last, retry_below, threads_left] {
                    quicksort(entries, i, last, retry_below, threads_left - 1);
                });
            } catch (const std::system_error&) {
                threads_left = 0; // no thread to be had: both parts here
            }
            if (other.joinable()) {
                quicksort(entries, first, j, retry_below, threads_left - 1);
                other.join();
                return;
            }
        }
        if (j - first < last - i) {
            if (first < j)
                quicksort(entries, first, j, retry_below);
            first = i;
        } else {
            if (i < last)
                quicksort(entries, i, last, retry_below);
            last = j;
        }
    }
}

std::uint32_t rank_of(std::uint64_t entry) {
    return static_cast<std::uint32_t>(entry >> 32);
}

// The order the quicksort leaves a part of equal keys in: each pass swaps the outermost pairs inwards, which
// reverses the part, then sorts the halves beside the middle the same way.
void settle_equal(std::uint64_t* part, std::size_t size) {
    while (size > 1) {
        std::reverse(part, part + size);
        const std::size_t half = size / 2;
        settle_equal(part, half);
        part += size - half; // an odd part's middle stays where it is
        size = half;
    }
}

// Scratch lists of one partition: the positions where the left scan stops (keys not below the pivot, ascending)
// and where the right scan stops (keys not above it, descending).
struct stops {
    std::vector<int> left;
    std::vector<int> right;
};

// One partition step of the quicksort on first..last, as its two scans would run, returning their final i and j.
// The scans stop on the original keys until they meet, so the stops are listed without branching on the keys,
// then swapped in pairs while the left stop is before the right.
std::pair<int, int> partition_ranked(std::uint64_t* entries, int first, int last, stops& scratch) {
    const std::uint32_t pivot = rank_of(entries[(first + last) / 2]);
    const std::size_t size = static_cast<std::size_t>(last - first + 1);
    scratch.left.resize(size);
    scratch.right.resize(size);
    int* const left = scratch.left.data();
    int* const right = scratch.right.data();
    std::size_t lefts = 0;
    for (int at = first; at <= last; ++at) {
        left[lefts] = at;
        lefts += rank_of(entries[at]) >= pivot;
    }
    std::size_t rights = 0;
    for (int at = last; at >= first; --at) {
        right[rights] = at;
        rights += rank_of(entries[at]) <= pivot;
    }
    std::size_t k = 0;
    while (k < lefts && k < rights && left[k] < right[k]) {
        std::swap(entries[left[k]], entries[right[k]]);
        ++k;
    }
    if (k < lefts && k < rights && left[k] == right[k]) // the scans met on a key equal to the pivot
        return {left[k] + 1, right[k] - 1};
    if (k > 0 && left[k - 1] + 1 > right[k - 1] - 1) // crossed on the last swap
        return {left[k - 1] + 1, right[k - 1] - 1};
    int i = k < lefts ? left[k] : INT_MAX;
    int j = k < rights ? right[k] : INT_MIN;
    if (k > 0) {
        // Past the untouched keys each scan stops on what the last swap put there.
        i = std::min(i, right[k - 1]);
        j = std::max(j, left[k - 1]);
    }
    return {i, j};
}

bool all_equal(const std::uint64_t* entries, int first, int last) {
    const std::uint32_t rank = rank_of(entries[first]);
    bool same = true;
    for (int at = first + 1; at <= last; ++at)
        same &= rank_of(entries[at]) == rank;
    return same;
}

// The scans as written, for small parts where the lists would cost more than the branches.
std::pair<int, int> partition_small(std::uint64_t* entries, int first, int last) {
    const std::uint32_t pivot = rank_of(entries[(first + last) / 2]);
    int i = first;
    int j = last;
    while (i <= j) {
        while (rank_of(entries[i]) < pivot)
            ++i;
        while (rank_of(entries[j]) > pivot)
            --j;
        if (i <= j) {
            std::swap(entries[i], entries[j]);
            ++i;
            --j;
        }
    }
    return {i, j};
}

constexpr int small_part = 128;

void quicksort_ranked(std::uint64_t* entries, int first, int last, stops& scratch, int threads_left) {
    int check_below = INT_MAX; // after a part that was not all equal, look again only once it is much smaller
    while (first < last) {
        const int size = last - first + 1;
        const std::uint32_t pivot = rank_of(entries[(first + last) / 2]);
        if (size < check_below && rank_of(entries[first]) == pivot && rank_of(entries[last]) == pivot) {
            if (all_equal(entries, first, last)) {
                settle_equal(entries + first, static_cast<std::size_t>(size));
                return;
            }
            check_below = size / 4;
        }
        const auto [i, j] =
            size < small_part ? partition_small(entries, first, last) : partition_ranked(entries, first, last, scratch);
        if (j - first > parallel_part && last - i > parallel_part && threads_left > 0) {
            std::thread other;
            try {
                other = std::thread([entries, i = i, last, threads_left] {
                    stops own;
                    quicksort_ranked(entries, i, last, own, threads_left - 1);
                });
            } catch (const std::system_error&) {
                threads_left = 0;
            }
            if (other.joinable()) {
                quicksort_ranked(entries, first, j, scratch, threads_left - 1);
                other.join();
                return;
            }
        }
        if (j - first < last - i) {
            if (first < j)
                quicksort_ranked(entries, first, j, scratch, 0);
            first = i;
        } else {
            if (i < last)
                quicksort_ranked(entries, i, last, scratch, 0);
            last = j;
        }
    }
}

} // namespace

void sort_ranked(std::span<std::uint64_t> entries) {
    if (entries.size() > 1)
    {
        stops scratch;
        quicksort_ranked(entries.data(), 0, static_cast<int>(entries.size()) - 1, scratch, has_spare_core() ? 1 : 0);
    }
}

sort_entry make_sort_entry(std::string_view key, int row) {
    std::uint64_t head = 0;
    for (std::size_t k = 0; k < 8; ++k)
        head = (head << 8) | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
    return {head, key.data(), static_cast<std::uint32_t>(key.size()), row};
}

void upper_keys::grow(std::size_t need) {
    if (need <= capacity_)
        return;
    std::size_t capacity = std::max(need, capacity_ * 2);
    big_bytes grown = allocate_big(capacity);
    if (size_ > 0)
        std::memcpy(grown.get(), buffer_.get(), size_);
    buffer_ = std::move(grown);
    capacity_ = capacity;
}

void upper_keys::add(std::string_view text) {
    grow(size_ + 2 * text.size());
    size_ += write_upper_case(buffer_.get() + size_, text);
    ends_.push_back(size_);
}

bool has_spare_core() {
    return std::thread::hardware_concurrency() >= 2;
}

void sort_entries(std::span<sort_entry> entries) {
    quicksort(entries, 0, static_cast<int>(entries.size()) - 1, INT_MAX, has_spare_core() ? 1 : 0);
}

} // namespace karvo
