// SPDX-License-Identifier: GPL-3.0-or-later
// Copies the files of a playlist into one folder (a phone, a USB stick): in playlist order with an optional number
// before each name, never over a different file of the same name (the copy gets " (2)"), only when the files fit
// into the free space, each under a temporary name renamed into place, so a failed or cancelled copy leaves no
// half file. Then an M3U with relative paths beside the copies. No window here, so the tests call it directly.
#pragma once

#include "library/string_list.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace karvo::copy_export {

struct copy_options {
    bool number_prefix = true; // "01 - name"
    bool write_m3u = true;     // <folder name>.m3u beside the copies
};

struct planned_file {
    std::string source;
    std::string target_name; // inside the folder
    std::uint64_t size = 0;
    bool already_there = false; // the folder holds this very file (same bytes) under that name: not copied again
};

struct copy_plan {
    std::string folder; // with a trailing '/'
    std::vector<planned_file> files;
    string_list missing; // playlist entries whose file is not there
    std::uint64_t bytes_to_copy = 0;
};

// The name with characters that FAT and the phones' file systems refuse (\ : * ? " < > | and controls) as '_'.
std::string portable_name(const std::string& name);
// "07 - name": the position from 1, at least two digits, as many as the count needs.
std::string numbered_name(std::size_t position, std::size_t count, const std::string& name);
// "name (n).ext" (the extension kept); n = 1 gives the name itself.
std::string variant_name(const std::string& name, int n);

copy_plan plan_copy(const string_list& sources, const std::string& folder, const copy_options& options);

// Bytes an unprivileged writer may still use in the folder's file system; nullopt when it cannot be read.
std::optional<std::uint64_t> free_space(const std::string& folder);

enum class copy_status { done, cancelled, no_space, failed };

struct copy_result {
    copy_status status = copy_status::done;
    std::size_t copied = 0;  // files written by this run
    std::string failed_file; // the source that could not be copied
    std::string m3u;         // the playlist written, empty when none
};

// Told before each file and after each chunk: the plan's index and the bytes copied so far; false cancels.
using copy_progress = std::function<bool(std::size_t file, std::uint64_t bytes_done)>;

// Checks the free space, copies in plan order and writes the M3U when every file is there.
copy_result run_copy(const copy_plan& plan, const copy_options& options, const copy_progress& progress);

// One file to `target` (which must not exist) through a temporary name; false leaves nothing behind.
bool copy_file_safely(const std::string& source, const std::string& target,
                      const std::function<bool(std::uint64_t bytes)>& keep_going);

} // namespace karvo::copy_export
