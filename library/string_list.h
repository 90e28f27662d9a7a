// SPDX-License-Identifier: GPL-3.0-or-later
// The program's string list: ordered 8-bit (UTF-8) texts, loaded from and saved to text files one item per line,
// each line ended by CR LF.
#pragma once

#include <string>
#include <vector>

namespace karvo {

using string_list = std::vector<std::string>;

// Splits text into lines at CR LF, LF or a lone CR; a final line end does not add an empty item.
string_list split_lines(const std::string& text);

// Joins items, each followed by CR LF.
std::string join_lines(const string_list& lines);

// Reads a text file into lines; a file that cannot be read gives what was read (nothing when missing).
string_list load_lines(const std::string& path);

// Writes lines with CR LF atomically; false on failure (the old file is then unchanged).
bool save_lines(const std::string& path, const string_list& lines);

} // namespace karvo
