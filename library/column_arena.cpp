// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/column_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace karvo {
namespace {

// Chunks grow from small (a short list stays small) to a size that keeps the chunk table short.
constexpr std::size_t first_chunk = 16 * 1024;
constexpr std::size_t huge_page = 2 * 1024 * 1024;
constexpr std::size_t largest_chunk = huge_page;

} // namespace

// A million rows otherwise spend much of their fill faulting in small pages. The kernel may refuse the advice; the
// memory then works as before.
big_bytes allocate_big(std::size_t& capacity) {
    void* chunk = nullptr;
    capacity = std::max<std::size_t>(capacity, 1);
    if (capacity >= huge_page) {
        capacity = (capacity + huge_page - 1) / huge_page * huge_page;
        chunk = std::aligned_alloc(huge_page, capacity);
        if (chunk)
            ::madvise(chunk, capacity, MADV_HUGEPAGE);
    } else {
        chunk = std::malloc(capacity);
    }
    if (!chunk)
        throw std::bad_alloc();
    return big_bytes(static_cast<char*>(chunk));
}

void free_bytes::operator()(char* bytes) const {
    std::free(bytes);
}

namespace {

// The page blocks: the one being carved and, at the start of every block, how many pages in it are alive.
struct block_header {
    std::size_t live = 0;
};
constexpr std::size_t block_header_bytes = 64;
constexpr std::size_t largest_page = huge_page / 4;
std::mutex blocks_mutex;
char* current_block = nullptr;
std::size_t current_fill = 0;

block_header& header_of(char* block) {
    return *reinterpret_cast<block_header*>(block);
}

char* block_of(void* memory) {
    return reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(memory) & ~(std::uintptr_t{huge_page} - 1));
}

} // namespace

void* allocate_page_memory(std::size_t bytes) {
    if (bytes > largest_page)
        return ::operator new(bytes);
    bytes = (bytes + 63) / 64 * 64;
    const std::lock_guard<std::mutex> lock(blocks_mutex);
    if (!current_block || current_fill + bytes > huge_page) {
        if (current_block && header_of(current_block).live == 0) {
            current_fill = block_header_bytes; // every page of it is gone: carve it again
        } else {
            std::size_t capacity = huge_page;
            current_block = allocate_big(capacity).release();
            new (current_block) block_header();
            current_fill = block_header_bytes;
        }
    }
    char* const page = current_block + current_fill;
    current_fill += bytes;
    ++header_of(current_block).live;
    return page;
}

void free_page_memory(void* memory, std::size_t bytes) {
    if (bytes > largest_page) {
        ::operator delete(memory);
        return;
    }
    const std::lock_guard<std::mutex> lock(blocks_mutex);
    char* const block = block_of(memory);
    if (--header_of(block).live == 0 && block != current_block)
        std::free(block);
}

namespace {

std::size_t prefix_size(std::size_t size) {
    std::size_t bytes = 1;
    while (size >= 0x80) {
        size >>= 7;
        ++bytes;
    }
    return bytes;
}

} // namespace

char* byte_arena::put(char* p, std::string_view text) {
    std::size_t size = text.size();
    while (size >= 0x80) {
        *p++ = static_cast<char>((size & 0x7Fu) | 0x80u);
        size >>= 7;
    }
    *p++ = static_cast<char>(size);
    if (!text.empty())
        std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

byte_arena::ref byte_arena::add(std::string_view text) {
    if (text.empty())
        return 0;
    char* const p = room(prefix_size(text.size()) + text.size());
    put(p, text);
    return (static_cast<ref>(current_ + 1) << 32) | static_cast<ref>(p - chunks_[current_].get());
}

byte_arena::ref byte_arena::add_all(std::span<const std::string_view> texts) {
    if (texts.empty())
        return 0;
    std::size_t need = 0;
    for (const std::string_view text : texts)
        need += prefix_size(text.size()) + text.size();
    char* p = room(need);
    const ref at = (static_cast<ref>(current_ + 1) << 32) | static_cast<ref>(p - chunks_[current_].get());
    for (const std::string_view text : texts)
        p = put(p, text);
    return at;
}

char* byte_arena::room(std::size_t need) {
    while (current_ < chunks_.size() && fill_ + need > capacities_[current_]) {
        ++current_;
        fill_ = 0;
    }
    if (current_ == chunks_.size()) {
        const std::size_t grown = chunks_.empty() ? first_chunk : std::min(capacities_.back() * 2, largest_chunk);
        // A text larger than a chunk gets a chunk of its own size.
        std::size_t capacity = std::max({grown, need, reserved_});
        reserved_ = 0;
        chunks_.push_back(allocate_big(capacity));
        capacities_.push_back(capacity);
        fill_ = 0;
    }
    char* const p = chunks_[current_].get() + fill_;
    fill_ += need;
    used_ += need;
    return p;
}

void byte_arena::reset() {
    current_ = 0;
    fill_ = 0;
    used_ = 0;
}

namespace {

// A quick hash of a short text, eight bytes at a time.
std::uint32_t hash_text(std::string_view text) {
    constexpr std::uint64_t mix = 0x9E3779B97F4A7C15u;
    std::uint64_t hash = text.size() * mix;
    const char* p = text.data();
    std::size_t left = text.size();
    for (; left >= 8; left -= 8, p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        hash = (hash ^ word) * mix;
        hash ^= hash >> 29;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, left);
        hash = (hash ^ word) * mix;
    }
    hash ^= hash >> 32;
    hash *= 0xD6E8FEB86659FD93u;
    return static_cast<std::uint32_t>(hash >> 32);
}

} // namespace

std::uint32_t string_pool::intern(std::string_view text, byte_arena& bytes) {
    if (text.empty())
        return 0;
    const std::string_view last = values_[last_];
    if (last.size() == text.size() && std::memcmp(last.data(), text.data(), text.size()) == 0)
        return last_;
    if (table_.empty())
        table_.assign(64, 0);
    const std::uint32_t hash = hash_text(text);
    const std::size_t mask = table_.size() - 1;
    std::size_t at = hash & mask;
    for (; table_[at] != 0; at = (at + 1) & mask) {
        const std::uint64_t entry = table_[at];
        if (static_cast<std::uint32_t>(entry >> 32) != hash)
            continue;
        const auto id = static_cast<std::uint32_t>(entry);
        const std::string_view value = values_[id];
        if (value.size() == text.size() && std::memcmp(value.data(), text.data(), text.size()) == 0) {
            last_ = id;
            return id;
        }
    }
    const std::string_view kept = bytes.view(bytes.add(text));
    last_ = static_cast<std::uint32_t>(values_.size());
    values_.push_back(kept);
    table_[at] = static_cast<std::uint64_t>(hash) << 32 | last_;
    if (values_.size() * 2 > table_.size())
        grow();
    return last_;
}

void string_pool::grow() {
    std::vector<std::uint64_t> grown(table_.size() * 2, 0);
    const std::size_t mask = grown.size() - 1;
    for (const std::uint64_t entry : table_) {
        if (entry == 0)
            continue;
        std::size_t at = (entry >> 32) & mask;
        while (grown[at] != 0)
            at = (at + 1) & mask;
        grown[at] = entry;
    }
    table_.swap(grown);
}

void string_pool::reset() {
    values_.resize(1);
    table_.clear();
    last_ = 0;
}

} // namespace karvo
