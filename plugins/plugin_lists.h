// SPDX-License-Identifier: GPL-3.0-or-later
// Copies the string lists a plug-in returns into the program's own lists, so nothing the program keeps points into
// plug-in memory. A list from a plug-in is read defensively: NULL, a negative count or a NULL item read as empty; a
// count beyond max_plugin_list_items, or an array or item the program cannot read, makes the whole list empty; an
// item is cut after max_plugin_item_bytes.
#pragma once

#include "library/string_list.h"
#include "sdk/karvo_plugin.h"

#include <string>

namespace karvo {

inline constexpr int max_plugin_list_items = 65536;
inline constexpr std::size_t max_plugin_item_bytes = std::size_t{1} << 20;

string_list copy_plugin_list(const karvo_string_list* list);

// The items joined in order, without separator.
std::string join_plugin_list(const karvo_string_list* list);

// The item at `index`, or `fallback` when the list is shorter (a short list never makes the program read beyond it).
const std::string& item_or(const string_list& list, std::size_t index, const std::string& fallback);

// A plug-in's version number in general floating-point format with 15 significant digits: 2 gives "2", 1.5 "1.5".
std::string general_format(double value);

} // namespace karvo
