// SPDX-License-Identifier: GPL-3.0-or-later
// Compact storage under the media list: texts appended to chunked byte arenas that never move, columns of
// repeated values interned to small ids, and cell references kept in shared pages that are copied on write, so
// a snapshot of a million rows shares everything until one side changes a page.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace karvo {

// Append-only bytes in chunks that stay where they are: a view handed out stays valid until reset().
class byte_arena {
public:
    using ref = std::uint64_t; // 0 is the empty text

    ref add(std::string_view text);
    std::string_view view(ref at) const {
        if (at == 0)
            return {};
        const char* p = chunks_[(at >> 32) - 1].get() + (at & 0xFFFFFFFFu);
        std::size_t size = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(*p++);
            size |= static_cast<std::size_t>(byte & 0x7Fu) << shift;
            if (byte < 0x80)
                break;
        }
        return {p, size};
    }
    // Bytes taken by texts so far (length prefixes included).
    std::size_t used() const { return used_; }
    // Forgets every text but keeps the chunks for the next fill.
    void reset();

private:
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::vector<std::size_t> capacities_;
    std::size_t current_ = 0; // chunk being filled
    std::size_t fill_ = 0;    // bytes used in it
    std::size_t used_ = 0;
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
    std::vector<std::string_view> values_; // into the arena's bytes
    std::unordered_map<std::string_view, std::uint32_t> ids_;
    std::uint32_t last_ = 0; // consecutive rows often repeat a value: checked before the hash
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
            page = std::make_shared<page_type>(*page);
        page->cells[slot & (page_slots - 1)] = value;
    }
    void add_page() { pages_.push_back(std::make_shared<page_type>()); }
    // The same pages, not merely equal cells: after a write one side holds a copy.
    bool shares_all_pages(const paged_cells& other) const { return pages_ == other.pages_; }
    void clear() { pages_.clear(); }

private:
    struct page_type {
        std::array<T, page_slots> cells{};
    };
    std::vector<std::shared_ptr<page_type>> pages_;
};

} // namespace karvo
