// SPDX-License-Identifier: GPL-3.0-or-later
// The program side of the export plug-ins (plugins/*.kep): one scan fills five parallel lists in sorted file
// order; each later call (execute, configure, about) loads the library for that one operation and releases it at
// once. Qt-free; the main window builds the "Export To" items and the preferences' list from the lists.
#pragma once

#include "library/string_list.h"

#include <cstddef>
#include <string>

namespace karvo {

class export_plugins {
public:
    static constexpr const char* relative_folder = "plugins/";

    // Clears the lists and takes every "*.kep" of the folder that is not a plain folder, in case-insensitive name
    // order, whose library loads and has the four scan exports. A library that fails either way is skipped.
    void scan(const std::string& plugin_folder);
    void scan_program_folder(const std::string& program_folder); // program_folder + relative_folder

    std::size_t count() const { return files_.size(); }
    const string_list& authors() const { return authors_; }
    const string_list& versions() const { return versions_; }
    const string_list& names() const { return names_; }
    const string_list& menu_names() const { return menu_names_; }
    const string_list& files() const { return files_; }

    // Entry `index` gets the paths through _execute. False (nothing called) for an unknown entry, an empty list,
    // a library that no longer loads or lacks the export.
    bool execute(std::size_t index, const string_list& full_paths) const;
    // _show_config_window / _show_about_window of the entry; false when not called.
    bool show_config_window(std::size_t index) const;
    bool show_about_window(std::size_t index) const;

    // The preferences' line: name + "  v." + version + "   (" + file name + " )".
    std::string display_line(std::size_t index) const;

private:
    bool call_window(std::size_t index, const char* export_name) const;

    string_list authors_, versions_, names_, menu_names_, files_;
};

} // namespace karvo
