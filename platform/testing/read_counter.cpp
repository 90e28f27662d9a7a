// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/read_counter.h"

#include "platform/file_system.h"

#include <map>
#include <mutex>

namespace karvo::platform {

namespace {

std::mutex counts_lock;
std::map<std::string, std::size_t> counts;

void count(const std::string& path) {
    std::lock_guard guard(counts_lock);
    ++counts[path];
}

} // namespace

read_counter::read_counter() {
    {
        std::lock_guard guard(counts_lock);
        counts.clear();
    }
    set_read_observer(count);
}

read_counter::~read_counter() {
    set_read_observer(nullptr);
}

std::size_t read_counter::reads_of(const std::string& path) const {
    std::lock_guard guard(counts_lock);
    const auto found = counts.find(path);
    return found == counts.end() ? 0 : found->second;
}

std::size_t read_counter::reads() const {
    std::lock_guard guard(counts_lock);
    std::size_t total = 0;
    for (const auto& [path, n] : counts)
        total += n;
    return total;
}

} // namespace karvo::platform
