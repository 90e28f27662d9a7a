// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/string_list.h"

#include "platform/file_system.h"

namespace karvo {

string_list split_lines(const std::string& text) {
    string_list lines;
    std::size_t start = 0;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text, start, i - start);
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.emplace_back(text, start, size - start);
    return lines;
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
