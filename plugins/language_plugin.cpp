// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/language_plugin.h"

#include "platform/paths.h"
#include "plugins/plugin_lists.h"
#include "sdk/karvo_plugin.h"

namespace karvo {

bool language_plugin::load_from(const std::string& program_folder) {
    return load(platform::with_trailing_slash(program_folder) + relative_path);
}

bool language_plugin::load(const std::string& library_path) {
    return library_.load(library_path);
}

std::optional<string_list> language_plugin::texts(const char* export_name) const {
    if (!library_.loaded())
        return std::nullopt;
    const auto get = library_.function<karvo_get_language_fn>(export_name);
    if (!get)
        return std::nullopt;
    return copy_plugin_list(get());
}

main_language language_plugin::main_window() const {
    const auto list = texts("_get_main_language");
    return list ? apply_main_language(*list) : builtin_main_language();
}

options_language language_plugin::options_dialog() const {
    const auto list = texts("_get_options_language");
    return list ? apply_options_language(*list) : options_language{};
}

id3_language language_plugin::tag_editor() const {
    const auto id3_list = texts("_get_id3_language");
    if (!id3_list)
        return {};
    const auto main_list = texts("_get_main_language");
    return main_list ? apply_id3_language(*id3_list, *main_list) : id3_language{};
}

string_list language_plugin::about_box() const {
    return texts("_get_about_language").value_or(string_list{});
}

} // namespace karvo
