// SPDX-License-Identifier: GPL-3.0-or-later
// Compact storage under the media list: texts appended to chunked byte arenas that never move, columns of
// repeated values interned to small ids, and cell references kept in shared pages that are copied on write, so
// a snapshot of a million rows shares everything until one side changes a page.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace karvo {

// Bytes freed with std::free (what allocate_big gives).
struct free_bytes {
    void operator()(char* bytes) const;
};
using big_bytes = std::unique_ptr<char[], free_bytes>;

// At least `capacity` uninitialised bytes (rounded up in place); a block of a huge page or more is aligned to huge
// pages and asks the kernel for them, which spares a large fill most of its page faults.
big_bytes allocate_big(std::size_t& capacity);

// Memory for large scratch arrays (sort keys, row orders): from allocate_big, so a million rows fault their
// array in a few huge pages instead of thousands of small ones.
template <typename T>
struct big_allocator {
    using value_type = T;
    big_allocator() = default;
    template <typename U>
    big_allocator(const big_allocator<U>&) {}
    T* allocate(std::size_t n) {
        std::size_t capacity = n * sizeof(T);
        return reinterpret_cast<T*>(allocate_big(capacity).release());
    }
    void deallocate(T* memory, std::size_t) { free_bytes()(reinterpret_cast<char*>(memory)); }
    template <typename U>
    bool operator==(const big_allocator<U>&) const {
        return true;
    }
};
template <typename T>
using big_vector = std::vector<T, big_allocator<T>>;

// A text of known size written in place, in a block from allocate_big.
class big_text {
public:
    big_text() = default;
    explicit big_text(std::size_t size) : size_(size) {
        std::size_t capacity = size;
        bytes_ = allocate_big(capacity);
    }
    char* data() { return bytes_.get(); }
    std::string_view view() const { return {bytes_.get(), size_}; }
    std::size_t size() const { return size_; }

private:
    big_bytes bytes_;
    std::size_t size_ = 0;
};

// Append-only bytes in chunks that stay where they are: a view handed out stays valid until reset().
class byte_arena {
public:
    using ref = std::uint64_t; // 0 is the empty text

    ref add(std::string_view text);
    std::string_view view(ref at) const { return view(at, 0); }
    // Several texts one after another under one reference (a row's texts: one reference instead of one each);
    // text `index` of them is read back by view(at, index). No texts at all is reference 0.
    ref add_all(std::span<const std::string_view> texts);
    std::string_view view(ref at, int index) const {
        if (at == 0)
            return {};
        const char* p = start(at);
        std::string_view text = next(p);
        for (; index > 0; --index)
            text = next(p);
        return text;
    }
    // Every text under `at` into `out` (as many as it has room for).
    void view_all(ref at, std::span<std::string_view> out) const {
        if (at == 0) {
            std::fill(out.begin(), out.end(), std::string_view());
            return;
        }
        const char* p = start(at);
        for (std::string_view& text : out)
            text = next(p);
    }
    // Bytes taken by texts so far (length prefixes included).
    std::size_t used() const { return used_; }
    // Forgets every text but keeps the chunks for the next fill.
    void reset();
    // The next chunk made holds at least `bytes`, so a known fill takes one allocation.
    void reserve(std::size_t bytes) { reserved_ = std::min<std::size_t>(bytes, std::size_t{1} << 30); }

private:
    const char* start(ref at) const { return chunks_[(at >> 32) - 1].get() + (at & 0xFFFFFFFFu); }
    // The text at p (length prefix, then the bytes); p moves past it.
    static std::string_view next(const char*& p) {
        std::size_t size = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(*p++);
            size |= static_cast<std::size_t>(byte & 0x7Fu) << shift;
            if (byte < 0x80)
                break;
        }
        const std::string_view text(p, size);
        p += size;
        return text;
    }
    char* room(std::size_t need); // need bytes at the fill point, a new chunk when the current one is full
    static char* put(char* p, std::string_view text);

    std::vector<big_bytes> chunks_;
    std::vector<std::size_t> capacities_;
    std::size_t current_ = 0; // chunk being filled
    std::size_t fill_ = 0;    // bytes used in it
    std::size_t used_ = 0;
    std::size_t reserved_ = 0;
};

// Distinct texts of one column numbered in order of first use; id 0 is the empty text.
class string_pool {
public:
    string_pool() { values_.emplace_back(); }
    std::uint32_t intern(std::string_view text, byte_arena& bytes);
    std::string_view value(std::uint32_t id) const { return values_[id]; }
    std::size_t size() const { return values_.size(); }
    void reset();

private:
    void grow();

    std::vector<std::string_view> values_; // into the arena's bytes
    // Open addressing, a power of two long and at most half full: each entry is a text's hash (high 32 bits) and
    // its id (low 32 bits); 0 is a free entry, as id 0 is never stored.
    std::vector<std::uint64_t> table_;
    std::uint32_t last_ = 0; // consecutive rows often repeat a value: checked before the hash
};

// Memory for pages of cell references, carved from blocks of huge pages shared by every list and freed with their
// last page: a million rows then fault their references in 2 MiB at a time instead of 4 KiB.
void* allocate_page_memory(std::size_t bytes);
void free_page_memory(void* memory, std::size_t bytes);

template <typename T>
struct page_allocator {
    using value_type = T;
    page_allocator() = default;
    template <typename U>
    page_allocator(const page_allocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocate_page_memory(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t n) { free_page_memory(memory, n * sizeof(T)); }
    template <typename U>
    bool operator==(const page_allocator<U>&) const {
        return true;
    }
};

// One page of cell references for consecutive slots.
inline constexpr int page_shift = 12;
inline constexpr int page_slots = 1 << page_shift;

// A column's cell references by slot, in pages shared between a table and its snapshots. A write to a page that
// another copy still holds copies that page first.
template <typename T>
class paged_cells {
public:
    T get(int slot) const {
        return pages_[static_cast<std::size_t>(slot >> page_shift)]->cells[slot & (page_slots - 1)];
    }
    void set(int slot, T value) {
        auto& page = pages_[static_cast<std::size_t>(slot >> page_shift)];
        if (page.use_count() > 1)
            page = std::allocate_shared<page_type>(page_allocator<page_type>(), *page);
        page->cells[slot & (page_slots - 1)] = value;
    }
    void add_page() { pages_.push_back(std::allocate_shared<page_type>(page_allocator<page_type>())); }
    // The same pages, not merely equal cells: after a write one side holds a copy.
    bool shares_all_pages(const paged_cells& other) const { return pages_ == other.pages_; }
    void clear() { pages_.clear(); }

private:
    struct page_type {
        std::array<T, page_slots> cells{};
    };
    std::vector<std::shared_ptr<page_type>> pages_;
};

// Small ids of a column by slot, in shared pages like paged_cells: two bytes a cell while every id in a page fits,
// four once one does not (the page widens in place of the next write).
class paged_ids {
public:
    std::uint32_t get(int slot) const {
        const page_type& page = *pages_[static_cast<std::size_t>(slot >> page_shift)];
        const int at = slot & (page_slots - 1);
        return page.wide ? page.wide[at] : page.narrow[at];
    }
    void set(int slot, std::uint32_t value) {
        auto& page = pages_[static_cast<std::size_t>(slot >> page_shift)];
        if (page.use_count() > 1)
            page = std::allocate_shared<page_type>(page_allocator<page_type>(), *page);
        const int at = slot & (page_slots - 1);
        if (!page->wide && value > 0xFFFFu)
            page->widen();
        if (page->wide)
            page->wide[at] = value;
        else
            page->narrow[at] = static_cast<std::uint16_t>(value);
    }
    void add_page() { pages_.push_back(std::allocate_shared<page_type>(page_allocator<page_type>())); }
    bool shares_all_pages(const paged_ids& other) const { return pages_ == other.pages_; }
    void clear() { pages_.clear(); }

private:
    struct page_type {
        std::array<std::uint16_t, page_slots> narrow{};
        std::unique_ptr<std::uint32_t[]> wide;

        page_type() = default;
        page_type(const page_type& other) : narrow(other.narrow) {
            if (other.wide) {
                wide = std::make_unique<std::uint32_t[]>(page_slots);
                std::copy_n(other.wide.get(), page_slots, wide.get());
            }
        }
        page_type& operator=(const page_type&) = delete;
        void widen() {
            wide = std::make_unique<std::uint32_t[]>(page_slots);
            std::copy(narrow.begin(), narrow.end(), wide.get());
        }
    };
    std::vector<std::shared_ptr<page_type>> pages_;
};

} // namespace karvo
