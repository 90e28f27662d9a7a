// SPDX-License-Identifier: GPL-3.0-or-later
// The program's string list: ordered 8-bit (UTF-8) texts, loaded from and saved to text files one item per line,
// each line ended by CR LF.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace karvo {

using string_list = std::vector<std::string>;

// Splits text into lines at CR LF, LF or a lone CR; a final line end does not add an empty item.
string_list split_lines(const std::string& text);

// Reads a text file block by block and hands each line to `take` as a view valid during the call, split as
// split_lines splits, keeping no line; `opened` (may be empty) is told the file's size first. Nothing is called
// for a file that cannot be opened; a read failure ends the lines where it happened.
void for_each_line(const std::string& path, const std::function<void(std::uint64_t)>& opened,
                   const std::function<void(std::string_view)>& take);

// Joins items, each followed by CR LF.
std::string join_lines(const string_list& lines);

// Reads a text file into lines; a file that cannot be read gives what was read (nothing when missing).
string_list load_lines(const std::string& path);

// Writes lines with CR LF atomically; false on failure (the old file is then unchanged).
bool save_lines(const std::string& path, const string_list& lines);

} // namespace karvo
