// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/navigation_tree_logic.h"

#include <algorithm>
#include <unordered_set>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/text.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace karvo {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Collects distinct values in the order met; the first spelling of a value wins.
class value_collector {
public:
    void add(std::string_view cell) {
        const std::string_view value = trimmed(cell);
        if (value.empty())
            return;
        if (seen_.insert(upper_case(value)).second)
            values_.emplace_back(value);
    }
    string_list sorted() {
        std::stable_sort(values_.begin(), values_.end(),
                         [](const std::string& a, const std::string& b) { return less_case_insensitive(a, b); });
        return std::move(values_);
    }

private:
    std::unordered_set<std::string> seen_;
    string_list values_;
};

// The mount point as the node shows it: the root without its trailing '/', except for "/" itself.
std::string mount_point(const std::string& root) {
    std::string text = root;
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

std::optional<int> grouping_field(const std::string& text) {
    for (const grouping_kind& kind : grouping_kinds)
        if (text == kind.text)
            return kind.field;
    return std::nullopt;
}

std::string drive_node_text(const platform::drive_info& drive) {
    return mount_point(drive.root) + " [" + upper_case(drive.label) + "]";
}

int drive_image(platform::drive_type type) {
    switch (type) {
        case platform::drive_type::removable: return img_removable;
        case platform::drive_type::fixed: return img_fixed;
        case platform::drive_type::cdrom: return img_cdrom;
        case platform::drive_type::network: return img_network;
    }
    return -1;
}

drive_lists make_drive_lists(const std::vector<platform::drive_info>& drives) {
    // Roots keep their case: Linux paths are case-sensitive, so an upper-cased root would name another folder.
    drive_lists lists;
    for (const platform::drive_info& drive : drives) {
        lists.roots.push_back(drive.root);
        if (drive.type == platform::drive_type::cdrom)
            lists.cdrom_roots.push_back(drive.root);
    }
    return lists;
}

bool on_cdrom_drive(const std::string& path, const std::vector<platform::drive_info>& drives) {
    const std::string root = platform::drive_root_of(path, drives);
    return std::any_of(drives.begin(), drives.end(), [&](const platform::drive_info& drive) {
        return drive.root == root && drive.type == platform::drive_type::cdrom;
    });
}

string_list sub_folders(const std::string& path) {
    string_list names;
    for (const platform::find_entry& entry : platform::find_files(path, "*"))
        if (entry.attributes == platform::attr_directory)
            names.push_back(entry.name);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return less_case_insensitive(a, b); });
    return names;
}

std::string node_path(const std::string& drive_root, std::span<const std::string> folders) {
    std::string path = platform::with_trailing_slash(drive_root);
    for (const std::string& folder : folders)
        path += folder + "/";
    return path;
}

string_list grouping_values(const media_list& list, int field, bool from_backup) {
    value_collector values;
    const int rows = from_backup ? list.backup_count() : list.count();
    for (int row = 0; row < rows; ++row)
        values.add(from_backup ? list.backup_cell(field, row) : list.cell(field, row));
    return values.sorted();
}

string_list grouping_values(const string_list& info_lines, int field) {
    media_list list;
    for (const std::string& line : info_lines)
        list.append(line, std::string());
    return grouping_values(list, field);
}

bool matches_grouping_value(std::string_view cell, std::string_view value) {
    return compare_upper(trimmed(cell), trimmed(value)) == 0;
}

void show_grouping(media_list& list, int field, const std::string& value, bool fresh_copy) {
    if (fresh_copy || list.backup_count() < list.count())
        list.backup();
    list.clear();
    for (int row = list.backup_count() - 1; row >= 0; --row)
        if (matches_grouping_value(list.backup_cell(field, row), value))
            list.append_from_backup(row);
}

bool append_rows_to_playlist(playlist_class& store, const std::string& name, const media_list& list,
                             std::span<const int> rows) {
    if (rows.empty() || !store.exists(name))
        return false;
    string_list lines = store.load(name);
    for (int row : rows)
        if (row >= 0 && row < list.count())
            lines.push_back(list.serialise_row(row));
    return store.save(name, lines);
}

void display_all_saved_playlists(playlist_class& store, media_list& list) {
    list.clear();
    for (const std::string& name : store.names())
        load_playlist_into(store, name, list);
}

void display_all_media_cds(mp3_cd_class& store, media_list& list, platform::drive_table& drives) {
    list.clear();
    for (const std::string& name : store.names())
        store.load_into(name, list, drives);
}

std::string playlist_hint(const std::string& name) {
    return "Click to Display \"" + name + "\" Playlists.";
}

std::string media_cd_hint(const std::string& name) {
    return "Click to Display \"" + name + "\" Media.";
}

} // namespace karvo
