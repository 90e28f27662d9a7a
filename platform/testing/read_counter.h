// SPDX-License-Identifier: GPL-3.0-or-later
// Counts the files read_file opens while a counter lives, by path, through the file-system read seam. One counter
// at a time; reads from any thread are counted.
#pragma once

#include <cstddef>
#include <string>

namespace karvo::platform {

class read_counter {
public:
    read_counter();
    ~read_counter();
    read_counter(const read_counter&) = delete;
    read_counter& operator=(const read_counter&) = delete;

    // Opens of exactly this path (as the caller spelled it) since the counter was made.
    std::size_t reads_of(const std::string& path) const;
    std::size_t reads() const; // of every path
};

} // namespace karvo::platform
