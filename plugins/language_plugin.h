// SPDX-License-Identifier: GPL-3.0-or-later
// The program side of plugins/language.dll: each window loads the library for itself and keeps it loaded, then
// asks for its texts. Without the library or an export, the built-in texts apply and no message is shown.
#pragma once

#include "library/string_list.h"
#include "platform/dynamic_library.h"
#include "plugins/id3_language.h"
#include "plugins/main_language.h"
#include "plugins/options_language.h"

#include <optional>
#include <string>

namespace karvo {

class language_plugin {
public:
    static constexpr const char* relative_path = "plugins/language.dll";

    // Loads program_folder + relative_path; false when it is missing or cannot be loaded.
    bool load_from(const std::string& program_folder);
    bool load(const std::string& library_path);
    bool loaded() const { return library_.loaded(); }

    // The list of one export, copied; nullopt when the library or the export is missing.
    std::optional<string_list> texts(const char* export_name) const;

    main_language main_window() const;       // _get_main_language, or the built-in table
    options_language options_dialog() const; // _get_options_language, or the built-in texts
    id3_language tag_editor() const;         // only when both _get_id3_language and _get_main_language exist
    string_list about_box() const;           // _get_about_language; empty without it

private:
    platform::dynamic_library library_;
};

} // namespace karvo
