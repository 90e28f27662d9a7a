// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/export_plugins.h"

#include "library/text.h"
#include "platform/dynamic_library.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/readable_memory.h"
#include "plugins/plugin_lists.h"
#include "sdk/karvo_plugin.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace karvo {
namespace {

// A plug-in's text, copied with a bound: a runaway string (or one never terminated, or not readable) cannot flood
// a menu caption or crash the scan.
std::string bounded_text(const char* text) {
    std::string copy = platform::read_text(text, KARVO_EXPORT_TEXT_MAX + 1).value_or("");
    if (copy.size() > KARVO_EXPORT_TEXT_MAX) {
        std::size_t length = KARVO_EXPORT_TEXT_MAX;
        while (length > 0 && (static_cast<unsigned char>(copy[length]) & 0xC0) == 0x80)
            --length; // never cut inside a UTF-8 character
        copy.resize(length);
    }
    return copy;
}

// A list view of the program's strings for the length of one call.
class borrowed_list {
public:
    explicit borrowed_list(const string_list& items) {
        pointers_.reserve(items.size());
        for (const std::string& item : items)
            pointers_.push_back(item.c_str());
        list_ = {static_cast<int32_t>(pointers_.size()), pointers_.data()};
    }
    const karvo_string_list* get() const { return &list_; }

private:
    std::vector<const char*> pointers_;
    karvo_string_list list_{};
};

} // namespace

void export_plugins::scan_program_folder(const std::string& program_folder) {
    scan(platform::with_trailing_slash(program_folder) + relative_folder);
}

void export_plugins::scan(const std::string& plugin_folder) {
    const std::string folder = platform::with_trailing_slash(plugin_folder);
    string_list candidates;
    for (const platform::find_entry& entry : platform::find_files(folder, "*.kep"))
        if (entry.attributes != platform::attr_directory)
            candidates.push_back(folder + entry.name);
    std::sort(candidates.begin(), candidates.end(),
              [](const std::string& a, const std::string& b) { return less_case_insensitive(a, b); });

    for (string_list* list : {&authors_, &versions_, &names_, &menu_names_, &files_})
        list->clear();
    for (const std::string& path : candidates) {
        const platform::dynamic_library library(path);
        const auto version = library.function<karvo_get_version_number_fn>("_get_version_number");
        const auto author = library.function<karvo_get_author_name_fn>("_get_author_name");
        const auto name = library.function<karvo_get_plugin_name_fn>("_get_plugin_name");
        const auto menu_name = library.function<karvo_get_menu_name_fn>("_get_menu_name");
        if (!library.loaded() || !version || !author || !name || !menu_name)
            continue;
        authors_.push_back(bounded_text(author()));
        versions_.push_back(general_format(version()));
        names_.push_back(bounded_text(name()));
        menu_names_.push_back(bounded_text(menu_name()));
        files_.push_back(path);
    }
}

bool export_plugins::execute(std::size_t index, const string_list& full_paths) const {
    if (index >= files_.size() || full_paths.empty())
        return false;
    const platform::dynamic_library library(files_[index]);
    const auto run = library.function<karvo_execute_fn>("_execute");
    if (!run)
        return false;
    const borrowed_list paths(full_paths);
    run(paths.get());
    return true;
}

bool export_plugins::call_window(std::size_t index, const char* export_name) const {
    if (index >= files_.size())
        return false;
    const platform::dynamic_library library(files_[index]);
    const auto show = library.function<karvo_show_window_fn>(export_name);
    if (!show)
        return false;
    show();
    return true;
}

bool export_plugins::show_config_window(std::size_t index) const {
    return call_window(index, "_show_config_window");
}

bool export_plugins::show_about_window(std::size_t index) const {
    return call_window(index, "_show_about_window");
}

std::string export_plugins::display_line(std::size_t index) const {
    if (index >= files_.size())
        return {};
    return names_[index] + "  v." + versions_[index] + "   (" + platform::file_name_of(files_[index]) + " )";
}

} // namespace karvo
