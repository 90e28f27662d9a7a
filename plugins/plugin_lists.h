// SPDX-License-Identifier: GPL-3.0-or-later
// Copies the string lists a plug-in returns into the program's own lists, so nothing the program keeps points into
// plug-in memory. A list from a plug-in is read defensively: NULL, a negative count or a NULL item read as empty.
#pragma once

#include "library/string_list.h"
#include "sdk/karvo_plugin.h"

#include <string>

namespace karvo {

string_list copy_plugin_list(const karvo_string_list* list);

// The items joined in order, without separator.
std::string join_plugin_list(const karvo_string_list* list);

// The item at `index`, or `fallback` when the list is shorter (a short list never makes the program read beyond it).
const std::string& item_or(const string_list& list, std::size_t index, const std::string& fallback);

// A plug-in's version number in general floating-point format with 15 significant digits: 2 gives "2", 1.5 "1.5".
std::string general_format(double value);

} // namespace karvo
