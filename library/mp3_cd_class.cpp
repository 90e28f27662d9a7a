// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/mp3_cd_class.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "platform/ini_file.h"

namespace karvo {

namespace {
constexpr const char* index_section = "Settings";

// The index key of a name. A profile file cannot hold every name as a key: "=" ends the key, a leading "[" or ";"
// makes a section or a comment of the line, blanks around it are trimmed. Such a name (and one that starts with the
// marker "%") is written as "%" and the name with those bytes as %XX; every other name is its own key.
std::string index_key(const std::string& name) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool plain = !name.empty() && name.front() != '%' && name.front() != '[' && name.front() != ';' &&
                       !blank(name.front()) && !blank(name.back()) &&
                       name.find_first_of("=\r\n") == std::string::npos;
    if (plain)
        return name;
    std::string key = "%";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == ' ' || c == '%' || c == '=' || c == '[' || c == ';' || c == '\x7f') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            key += escaped;
        } else {
            key += c;
        }
    }
    return key;
}
} // namespace

float disc_identity(std::uint32_t serial) {
    return static_cast<float>(serial);
}

std::optional<float> disc_identity_of(const std::string& root, platform::drive_table& drives) {
    for (const auto& drive : drives.drives())
        if (drive.root == root && drive.serial != platform::unknown_serial)
            return disc_identity(drive.serial);
    return std::nullopt;
}

std::string format_identity(float identity) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", static_cast<double>(identity));
    return text;
}

float parse_identity(std::string_view text, float fallback) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > std::numeric_limits<float>::max())
        return fallback;
    return static_cast<float>(value);
}

bool is_media_cd_drive(platform::drive_type type) {
    return type == platform::drive_type::cdrom || type == platform::drive_type::removable;
}

std::optional<std::string> drive_holding(float identity, const std::vector<platform::drive_info>& drives) {
    for (const auto& drive : drives)
        if (is_media_cd_drive(drive.type) && drive.serial != platform::unknown_serial &&
            disc_identity(drive.serial) == identity)
            return drive.root;
    return std::nullopt;
}

std::string relative_to_drive(const std::string& line, const std::vector<platform::drive_info>& drives) {
    if (line.empty() || line.front() != '/')
        return line;
    const std::string path = line.substr(0, line.find(info_separator));
    const std::string root = platform::drive_root_of(path, drives);
    return line.compare(0, root.size(), root) == 0 ? line.substr(root.size()) : line;
}

mp3_cd_class::mp3_cd_class(const std::string& data_folder, folder_failure_handler on_failure)
    : named_file_store(data_folder, "Media CDs", ".vmc", media_cds_folder_failure, std::move(on_failure)) {
    index_ = folder() + "media_cds.ini";
}

std::string mp3_cd_class::index_path() const {
    return index_;
}

float mp3_cd_class::stored_identity(const std::string& name) const {
    if (!is_valid_name(name))
        return no_disc_identity;
    return parse_identity(platform::get_private_profile_string(index_section, index_key(name), "-1", index_));
}

bool mp3_cd_class::store_identity(const std::string& name, float identity) {
    if (!is_valid_name(name))
        return false;
    return platform::write_private_profile_string(index_section, index_key(name), format_identity(identity), index_);
}

void mp3_cd_class::forget_identity(const std::string& name) {
    if (is_valid_name(name))
        platform::delete_private_profile_key(index_section, index_key(name), index_);
}

bool mp3_cd_class::remove(const std::string& name) {
    if (!named_file_store::remove(name))
        return false;
    forget_identity(name);
    return true;
}

bool mp3_cd_class::rename(const std::string& old_name, const std::string& new_name) {
    if (!named_file_store::rename(old_name, new_name))
        return false;
    const float identity = stored_identity(old_name);
    platform::delete_private_profile_key(index_section, index_key(old_name), index_);
    store_identity(new_name, identity);
    return true;
}

bool mp3_cd_class::save_catalogue(const std::string& name, media_list& list, platform::drive_table& drives) {
    const auto known = drives.drives();
    string_list lines = list.serialise_all();
    for (auto& line : lines)
        line = relative_to_drive(line, known);
    if (!save(name, lines))
        return false;
    list.set_list_name_of_all(name);
    return true;
}

std::optional<std::string> mp3_cd_class::load_into(const std::string& name, media_list& list,
                                                   platform::drive_table& drives) {
    const auto root = drive_holding(stored_identity(name), drives.drives());
    std::string prefixed = root.value_or(std::string());
    for_each_line(
        name, [&list](std::uint64_t size) { list.reserve_for(size); },
        [&](std::string_view line) {
            if (!root) {
                list.append(line, name);
                return;
            }
            prefixed.resize(root->size());
            prefixed += line;
            list.append(prefixed, name);
        });
    return root;
}

} // namespace karvo
