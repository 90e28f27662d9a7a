// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/sort_keys.h"

#include <algorithm>
#include <array>
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

bool less_key(const sort_entry& a, const sort_entry& b) {
    return compare(a, b) < 0;
}

// Parts this small are sorted by comparison.
constexpr std::size_t radix_small = 384;

// Sorts by comparison and marks each key equal to the one before it; false when there is one.
bool compare_part(sort_entry* entries, std::size_t size) {
    std::sort(entries, entries + size, less_key);
    bool distinct = true;
    for (std::size_t k = size - 1; k > 0; --k) // the later one marked once compared, as the mark changes its size
        if (compare(entries[k - 1], entries[k]) == 0) {
            entries[k].size |= same_as_previous;
            distinct = false;
        }
    return distinct;
}

bool radix_part(sort_entry* entries, sort_entry* scratch, std::size_t size, int byte, int depth);

// Entries whose heads are all equal. Keys that end within the heads come first: each is a prefix of every longer one
// here, and of two of them the shorter is the prefix. The rest share their eight bytes and are sorted on the next
// ones. False when two keys are equal.
bool equal_heads(sort_entry* entries, sort_entry* scratch, std::size_t size, int depth) {
    sort_entry* const rest = std::partition(entries, entries + size, [](const sort_entry& e) { return e.size <= 8; });
    const auto ended = static_cast<std::size_t>(rest - entries);
    std::sort(entries, rest, [](const sort_entry& a, const sort_entry& b) { return a.size < b.size; });
    bool distinct = true;
    for (std::size_t k = ended; k-- > 1;)
        if (entries[k - 1].size == entries[k].size) {
            entries[k].size |= same_as_previous;
            distinct = false;
        }
    for (sort_entry* e = rest; e != entries + size; ++e)
        *e = make_sort_entry(std::string_view(e->text + 8, e->size - 8), e->row);
    return radix_part(rest, scratch + ended, size - ended, 0, depth + 1) && distinct;
}

// Keys that share this many eight-byte steps are sorted by comparison: the stack stays shallow whatever the keys.
constexpr int deepest = 16;

// A part of entries that share every byte consumed so far (their heads padded with zero bytes past the key's end).
// Sorts it by the byte `byte` of the heads, then by the next ones, recursing into all but the largest part and
// going on with that one. Returns false when two keys are equal.
bool radix_part(sort_entry* entries, sort_entry* scratch, std::size_t size, int byte, int depth) {
    if (depth > deepest)
        return compare_part(entries, size);
    bool distinct = true;
    while (size > 1) {
        if (size <= radix_small) {
            // By the heads, then each run of equal heads by what follows them.
            std::sort(entries, entries + size, [](const sort_entry& a, const sort_entry& b) { return a.head < b.head; });
            for (std::size_t first = 0; first < size;) {
                std::size_t last = first + 1;
                while (last < size && entries[last].head == entries[first].head)
                    ++last;
                if (last - first > 1)
                    distinct &= last - first <= 8 ? compare_part(entries + first, last - first)
                                                  : equal_heads(entries + first, scratch + first, last - first, depth);
                first = last;
            }
            return distinct;
        }
        if (byte == 8)
            return equal_heads(entries, scratch, size, depth) && distinct;
        const int shift = 56 - 8 * byte;
        std::array<std::size_t, 257> start{};
        for (std::size_t k = 0; k < size; ++k)
            ++start[((entries[k].head >> shift) & 0xFFu) + 1];
        std::size_t largest = 0;
        for (std::size_t b = 1; b < start.size(); ++b) {
            if (start[b] > start[largest + 1])
                largest = b - 1;
            start[b] += start[b - 1];
        }
        if (start[largest + 1] - start[largest] == size) { // all in one part: nothing to move
            ++byte;
            continue;
        }
        std::array<std::size_t, 256> next;
        std::copy_n(start.begin(), 256, next.begin());
        for (std::size_t k = 0; k < size; ++k)
            scratch[next[(entries[k].head >> shift) & 0xFFu]++] = entries[k];
        std::copy_n(scratch, size, entries);
        for (std::size_t b = 0; b < 256; ++b)
            if (b != largest && start[b + 1] - start[b] > 1)
                distinct &= radix_part(entries + start[b], scratch + start[b], start[b + 1] - start[b], byte + 1, depth);
        entries += start[largest];
        scratch += start[largest];
        size = start[largest + 1] - start[largest];
        ++byte;
    }
    return distinct;
}

} // namespace

bool sort_distinct_keys(std::span<sort_entry> entries) {
    const std::size_t size = entries.size();
    big_vector<sort_entry> scratch(size);
    if (size < 2 * static_cast<std::size_t>(parallel_part) || !has_spare_core())
        return radix_part(entries.data(), scratch.data(), size, 0, 0);
    // The first byte splits the keys into parts; the parts are shared out between two cores by their sizes.
    std::array<std::size_t, 257> start{};
    for (const sort_entry& entry : entries)
        ++start[(entry.head >> 56) + 1];
    for (std::size_t b = 1; b < start.size(); ++b)
        start[b] += start[b - 1];
    std::array<std::size_t, 256> next;
    std::copy_n(start.begin(), 256, next.begin());
    for (const sort_entry& entry : entries)
        scratch[next[entry.head >> 56]++] = entry;
    std::copy(scratch.begin(), scratch.end(), entries.begin());
    std::size_t middle = 0; // the first part of the second core
    while (middle < 256 && start[middle + 1] <= size / 2)
        ++middle;
    const auto parts = [&](std::size_t from, std::size_t to) {
        bool distinct = true;
        for (std::size_t b = from; b < to; ++b)
            if (start[b + 1] - start[b] > 1)
                distinct &= radix_part(entries.data() + start[b], scratch.data() + start[b], start[b + 1] - start[b], 1, 0);
        return distinct;
    };
    bool other_distinct = true;
    std::thread other;
    try {
        other = std::thread([&] { other_distinct = parts(middle, 256); });
    } catch (const std::system_error&) {
        return parts(0, 256);
    }
    const bool distinct = parts(0, middle);
    other.join();
    return distinct && other_distinct;
}

void sort_ranked(std::span<std::uint64_t> entries) {
    if (entries.size() > 1)
    {
        stops scratch;
        quicksort_ranked(entries.data(), 0, static_cast<int>(entries.size()) - 1, scratch, has_spare_core() ? 1 : 0);
    }
}

sort_entry make_sort_entry(std::string_view key, int row) {
    std::uint64_t head = 0;
    if (key.size() >= 8) {
        std::memcpy(&head, key.data(), 8);
        if constexpr (std::endian::native == std::endian::little)
            head = __builtin_bswap64(head);
    } else {
        for (std::size_t k = 0; k < 8; ++k)
            head = (head << 8) | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
    }
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
