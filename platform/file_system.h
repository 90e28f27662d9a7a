// SPDX-License-Identifier: GPL-3.0-or-later
// The file-system calls the program makes: find-first/find-next style enumeration with Windows wildcards and
// attributes, existence tests, folder creation, delete, rename, and whole-file read and atomic write.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvo::platform {

// Windows attribute bits as the program tests them.
enum file_attribute : std::uint32_t {
    attr_readonly = 1,
    attr_hidden = 2,
    attr_directory = 16,
    attr_archive = 32,
};

struct find_entry {
    std::string name;         // file name without folder
    std::uint32_t attributes; // combination of file_attribute bits
    std::uint64_t size;
    std::int64_t modified; // seconds since the epoch
};

// Windows wildcard match: case-insensitive, '*' any run, '?' one character, "*.*" matches every name.
bool wildcard_match(const std::string& pattern, const std::string& name);

// Attribute bits of an entry called `name` whose mode (links followed) is `mode`.
std::uint32_t attributes_for(std::string_view name, std::uint32_t mode);

// Attributes of a path as find_files reports them; nullopt when it does not exist.
std::optional<std::uint32_t> file_attributes(const std::string& path);

// The entries of `folder` (with or without trailing "/") whose names match `pattern`, "." and ".." left out, in
// the order the file system returns them. An unreadable or missing folder gives no entries.
std::vector<find_entry> find_files(const std::string& folder, const std::string& pattern);

bool file_exists(const std::string& path); // a file, not a folder
// file_exists for many paths at once: paths of one folder are looked up from one open handle of that folder, so
// each costs one name look-up instead of a walk of the whole path.
std::vector<char> files_exist(const std::vector<std::string_view>& paths);
bool directory_exists(const std::string& path);
bool path_exists(const std::string& path); // either

// What changes whenever a file is written or replaced (links followed); lets a reader that keeps a file in memory
// tell cheaply whether it must read it again.
struct file_version {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0; // since the epoch
    std::int64_t changed_ns = 0;  // status change, which no program can set back
    bool operator==(const file_version&) const = default;
};
std::optional<file_version> file_version_of(const std::string& path); // nullopt when it does not exist
bool create_directory(const std::string& path);                       // one level; true when it exists afterwards
bool create_directories(const std::string& path);                     // with its parents; true when it exists afterwards
bool delete_file(const std::string& path);
bool rename_file(const std::string& from, const std::string& to); // fails when `to` exists

// Reads the whole file; nullopt when it cannot be read.
std::optional<std::string> read_file(const std::string& path);

// A file read piece by piece, so a large one never needs a buffer of its own size.
class file_reader {
public:
    explicit file_reader(const std::string& path); // reported to the read observer like read_file
    ~file_reader();
    file_reader(const file_reader&) = delete;
    file_reader& operator=(const file_reader&) = delete;

    bool is_open() const { return fd_ >= 0; }
    std::uint64_t size() const { return size_; } // 0 for what is not a regular file
    // Bytes read into `into` (up to `capacity`); 0 at the end, -1 on a failure.
    long read(char* into, std::size_t capacity);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Test seam: when set, read_file reports every path it is asked to open, so a test can count how often a file is
// read (platform/testing/read_counter.h). Null (the default) reports nothing.
using read_observer = void (*)(const std::string& path);
void set_read_observer(read_observer observer);

// Writes the file completely under a temporary name beside it, flushes it and renames it over `path`, so a crash
// or a full disk leaves either the old or the new content. Returns false on any failure (old file untouched).
bool write_file_atomic(const std::string& path, std::string_view content);
// Removes what interrupted atomic writes left in `folder` (".<name>.tmp-<pid>-<n>"): files last written before
// `older_than` whose writer is not running any more, or that are a day older than that. Returns how many went.
int remove_stale_temporaries(const std::string& folder, std::chrono::system_clock::time_point older_than);
// When this process started (the clock's now when the system cannot tell).
std::chrono::system_clock::time_point process_start_time();

// File name after the last '/', and the folder before it (with the trailing '/').
std::string file_name_of(const std::string& path);
std::string folder_of(const std::string& path);

} // namespace karvo::platform
