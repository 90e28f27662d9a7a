// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_common/plugin_settings.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

namespace karvo::exports {
namespace {
constexpr const char* section = "Settings";
}

plugin_settings::plugin_settings(const std::string& file_name)
    : file_(platform::data_folder_for(platform::program_folder()) + file_name) {}

std::string plugin_settings::text(const char* key, const std::string& fallback) const {
    return platform::get_private_profile_string(section, key, fallback, file_);
}

bool plugin_settings::flag(const char* key, bool fallback) const {
    return platform::get_private_profile_int(section, key, fallback ? 1 : 0, file_) != 0;
}

void plugin_settings::set_text(const char* key, const std::string& value) const {
    platform::write_private_profile_string(section, key, value, file_);
}

void plugin_settings::set_flag(const char* key, bool value) const {
    set_text(key, value ? "1" : "0");
}

} // namespace karvo::exports
