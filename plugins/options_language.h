// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences dialog's replaceable texts: control captions by name and four named texts, from a language list
// or built in, so the dialog only has to apply them.
#pragma once

#include "library/string_list.h"

#include <map>
#include <string>

namespace karvo {

struct options_language {
    std::map<std::string, std::string> captions; // control name -> new caption
    std::string folder_browse_title = "Select Auto Playlist Directory.";
    std::string location_prompt = "Please specify the location of ";
    std::string resource_page_name = "Resource";
    std::string export_page_name = "Export";
};

// Applies a _get_options_language list: entries 2-48, and 49-78 only when the list has more than 48 entries. An
// entry beyond the list's count is not read; what it would set keeps its built-in text (so a short list keeps the
// built-in page names rather than blank ones).
options_language apply_options_language(const string_list& list);

} // namespace karvo
