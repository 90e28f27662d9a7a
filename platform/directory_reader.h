// SPDX-License-Identifier: GPL-3.0-or-later
// One open enumeration of a folder for the scans that must cost little more than a bare readdir walk: each entry
// comes with a kind read from the directory entry itself; a stat is made only for links, unknown kinds and on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct stat;

namespace karvo::platform {

// `other` covers what a scan must not hand on as a file: devices, FIFOs, sockets and links that lead nowhere.
enum class entry_kind : std::uint8_t { file, directory, other };

// Device and inode of an open folder, so that a walk can tell a folder it has already entered (link loops).
struct folder_identity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const folder_identity&) const = default;
};

struct folder_identity_hash {
    std::size_t operator()(const folder_identity& id) const noexcept {
        return static_cast<std::size_t>(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

class directory_reader {
public:
    // Opens a folder by path; an empty path is never opened.
    explicit directory_reader(const std::string& folder);
    // Opens the entry `name` of an open parent as a folder (links followed), without building its path.
    directory_reader(const directory_reader& parent, std::string_view name);
    ~directory_reader();
    directory_reader(const directory_reader&) = delete;
    directory_reader& operator=(const directory_reader&) = delete;

    bool is_open() const { return fd_ >= 0; }
    // Identity of the open folder; false when it cannot be read.
    bool identity(folder_identity& id) const;

    // Moves to the next entry, "." and ".." left out; false at the end, on a read error or when not open.
    bool next();
    std::string_view name() const { return name_; }
    // Kind of the current entry, links followed.
    entry_kind kind() const;
    // Size, modification time (seconds since the epoch) and attribute bits of the current entry, links followed;
    // false when the entry has gone.
    bool details(std::uint64_t& size, std::int64_t& modified, std::uint32_t& attributes) const;
    // The same for an entry of this folder by name, once the enumeration has moved on.
    bool details_of(std::string_view name, std::uint64_t& size, std::int64_t& modified,
                    std::uint32_t& attributes) const;

private:
    bool stat_entry(struct stat& st) const;

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_; // getdents64 records; name_ points into it
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
    std::string_view name_;
    unsigned char type_ = 0;
};

} // namespace karvo::platform
