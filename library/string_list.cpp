// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/string_list.h"

#include <algorithm>
#include <cstring>

#include "platform/file_system.h"

namespace karvo {

namespace {

// Hands every line of `data` that is known to be complete to `take` and returns the bytes used. Without `at_end`,
// a CR as the last byte may be the first half of a CR LF and waits, as does the text after the last line end.
template <typename Take>
std::size_t split_complete_lines(std::string_view data, bool at_end, const Take& take) {
    const char* const begin = data.data();
    const std::size_t size = data.size();
    if (size == 0)
        return 0;
    std::size_t start = 0;
    // The next LF and CR at or after `start`, found with memchr and kept until passed, so each byte is searched
    // once whichever line end a file uses.
    std::size_t lf = 0;
    std::size_t cr = 0;
    const auto next = [&](char c, std::size_t from) {
        const void* found = std::memchr(begin + from, c, size - from);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - begin) : size;
    };
    lf = next('\n', 0);
    cr = next('\r', 0);
    while (start < size) {
        if (lf < start)
            lf = next('\n', start);
        if (cr < start)
            cr = next('\r', start);
        const std::size_t end = std::min(lf, cr);
        if (end == size)
            break;
        std::size_t after = end + 1;
        if (end == cr) {
            if (after == size && !at_end)
                break;
            if (after < size && begin[after] == '\n')
                ++after;
        }
        take(data.substr(start, end - start));
        start = after;
    }
    if (at_end && start < size) {
        take(data.substr(start));
        start = size;
    }
    return start;
}

} // namespace

string_list split_lines(const std::string& text) {
    string_list lines;
    split_complete_lines(text, true, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void for_each_line(const std::string& path, const std::function<void(std::uint64_t)>& opened,
                   const std::function<void(std::string_view)>& take) {
    platform::file_reader file(path);
    if (!file.is_open())
        return;
    if (opened)
        opened(file.size());
    // A block small enough to stay in the cache; a longer line grows it.
    std::vector<char> buffer(std::size_t{1} << 20);
    std::size_t kept = 0; // an unfinished line at the buffer's start
    for (;;) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);
        const long got = file.read(buffer.data() + kept, buffer.size() - kept);
        if (got < 0)
            return;
        const std::size_t filled = kept + static_cast<std::size_t>(got);
        const std::size_t used = split_complete_lines(std::string_view(buffer.data(), filled), got == 0, take);
        if (got == 0)
            return;
        kept = filled - used;
        std::memmove(buffer.data(), buffer.data() + used, kept);
    }
}

std::string join_lines(const string_list& lines) {
    std::size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 2;
    std::string text;
    text.reserve(total);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

string_list load_lines(const std::string& path) {
    auto text = platform::read_file(path);
    return text ? split_lines(*text) : string_list{};
}

bool save_lines(const std::string& path, const string_list& lines) {
    return platform::write_file_atomic(path, join_lines(lines));
}

} // namespace karvo
