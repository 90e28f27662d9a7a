// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/player_table.h"

#include <algorithm>

#include "library/string_list.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace karvo {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lower_case(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \t,", start), text.size());
        if (end > start)
            result.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

// Sets the key of the row; false for a key the table does not have.
bool set_key(player_row& row, const std::string& key, std::string_view value) {
    if (key == "bus") {
        row.bus_names = words(value);
        return true;
    }
    std::string player_row::*const fields[] = {&player_row::desktop_entry, &player_row::enqueue, &player_row::play,
                                               &player_row::pause,         &player_row::stop,    &player_row::next,
                                               &player_row::previous,      &player_row::ipc,     &player_row::replace};
    const char* const names[] = {"desktop", "enqueue", "play", "pause", "stop", "next", "previous", "ipc", "replace"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (key == names[i]) {
            row.*fields[i] = std::string(value);
            return true;
        }
    }
    return false;
}

bool valid_program_name(std::string_view name) {
    return !name.empty() && name.find_first_of("/[]= \t") == std::string_view::npos;
}

} // namespace

std::string program_base_name(const std::string& program_path) {
    std::string name = lower_case(platform::file_name_of(program_path));
    if (name.size() > 4 && name.ends_with(".exe"))
        name.resize(name.size() - 4);
    return name;
}

const player_row* player_table::find(const std::string& program_path) const {
    const std::string name = program_base_name(program_path);
    if (name.empty())
        return nullptr;
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const player_row& row) { return row.program == name; });
    return found == rows.end() ? nullptr : &*found;
}

void read_player_table(player_table& table, const std::string& text, const std::string& label) {
    std::vector<int> skipped;
    player_row* row = nullptr;
    int number = 0;
    for (const std::string& raw : split_lines(text)) {
        ++number;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::string name = lower_case(trimmed(line.substr(1, line.size() - 1 - (line.back() == ']'))));
            row = nullptr;
            if (line.back() != ']' || !valid_program_name(name)) {
                skipped.push_back(number);
                continue;
            }
            const auto found = std::find_if(table.rows.begin(), table.rows.end(),
                                            [&](const player_row& r) { return r.program == name; });
            if (found != table.rows.end()) {
                row = &*found;
            } else {
                row = &table.rows.emplace_back();
                row->program = name;
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (row == nullptr || equals == std::string_view::npos ||
            !set_key(*row, lower_case(trimmed(line.substr(0, equals))), trimmed(line.substr(equals + 1))))
            skipped.push_back(number);
    }
    if (skipped.empty())
        return;
    std::string problem = label + (skipped.size() == 1 ? ": line " : ": lines ");
    for (std::size_t i = 0; i < skipped.size(); ++i)
        problem += (i > 0 ? ", " : "") + std::to_string(skipped[i]);
    table.problems.push_back(problem + " not understood and skipped");
}

player_table load_player_table(const std::string& program_folder, const std::string& data_folder) {
    player_table table;
    const std::string shipped = platform::with_trailing_slash(program_folder) + player_table_file_name;
    const std::string user = platform::with_trailing_slash(data_folder) + player_table_file_name;
    if (const auto text = platform::read_file(shipped))
        read_player_table(table, *text, shipped);
    if (user != shipped)
        if (const auto text = platform::read_file(user))
            read_player_table(table, *text, user);
    return table;
}

} // namespace karvo
