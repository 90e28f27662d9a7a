#include "library/playlist_files.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <utility>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_class.h"
#include "library/text.h"
#include "platform/case_fold.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

constexpr const char* pls_section = "playlist";
constexpr const char* pls_count_key = "NumberOfEntries";

// --- One pass over a profile file with the rules of the profile functions. A PLS file has a key per entry, and
// a call per key would read (and for writes, replace) the whole file each time.

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> section_name_of(std::string_view line)
{
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.find(']');
    return trimmed(text.substr(1, (close == std::string_view::npos ? text.size() : close) - 1));
}

// The key of a "key=value" line, or nullopt for a line without '='.
std::optional<std::string_view> key_of(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trimmed(line.substr(0, equals));
}

std::string_view value_of(std::string_view line)
{
    std::string_view value = trimmed(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

struct section_span {
    std::size_t header = 0;  // line of "[name]"
    std::size_t end = 0;     // first line after the section
};

std::optional<section_span> find_section(const string_list& lines, std::string_view name)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto found = section_name_of(lines[i]);
        if (!found || !platform::equal_ignoring_case(*found, name))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !section_name_of(lines[end]))
            ++end;
        return section_span{i, end};
    }
    return std::nullopt;
}

// Folded key -> line of its first occurrence in the section (the one the profile functions use).
std::unordered_map<std::u32string, std::size_t> key_lines(const string_list& lines, const section_span& span)
{
    std::unordered_map<std::u32string, std::size_t> keys;
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (const auto key = key_of(lines[i]))
            keys.try_emplace(platform::fold_case(*key), i);
    return keys;
}

// The same file as write_private_profile_string called once per pair, in order.
bool write_profile_strings(const std::string& file, const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& pairs)
{
    const auto text = platform::read_file(file);
    string_list lines = text ? split_lines(*text) : string_list{};
    auto span = find_section(lines, section);
    if (!span) {
        lines.push_back("[" + section + "]");
        span = section_span{lines.size() - 1, lines.size()};
    }
    // New keys go after the section's last non-blank line, each after the one added before it.
    std::size_t insert_at = span->end;
    while (insert_at > span->header + 1 && trimmed(lines[insert_at - 1]).empty())
        --insert_at;
    auto keys = key_lines(lines, *span);
    string_list added;
    std::unordered_map<std::u32string, std::size_t> added_keys;
    for (const auto& [key, value] : pairs) {
        std::string line = key + "=" + value;
        auto folded = platform::fold_case(key);
        if (const auto found = keys.find(folded); found != keys.end())
            lines[found->second] = std::move(line);
        else if (const auto again = added_keys.find(folded); again != added_keys.end())
            added[again->second] = std::move(line);
        else {
            added_keys.emplace(std::move(folded), added.size());
            added.push_back(std::move(line));
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
    return platform::write_file_atomic(file, join_lines(lines));
}

} // namespace

string_list read_m3u(const std::string& path)
{
    string_list lines = load_lines(path);
    for (auto& line : lines)
        if (const auto nul = line.find('\0'); nul != std::string::npos)
            line.resize(nul);
    return lines;
}

string_list read_pls(const std::string& path)
{
    const auto text = platform::read_file(path);
    if (!text)
        return {};
    const string_list lines = split_lines(*text);
    const auto span = find_section(lines, pls_section);
    if (!span)
        return {};
    std::unordered_map<std::u32string, std::string_view> values;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (const auto key = key_of(lines[i]))
            values.try_emplace(platform::fold_case(*key), value_of(lines[i]));
    const auto value = [&](const std::string& key) -> std::string_view {
        const auto found = values.find(platform::fold_case(key));
        return found == values.end() ? std::string_view() : found->second;
    };
    // A file of L lines holds at most L keys: a larger count is garbage.
    const long long count = std::min<long long>(to_integer(value(pls_count_key), 0), lines.size());
    string_list paths;
    for (long long i = 1; i <= count; ++i)
        paths.emplace_back(value("File" + std::to_string(i)));
    return paths;
}

bool is_writable_path(const std::string& path)
{
    return path.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

namespace {

string_list writable_paths(const string_list& paths)
{
    string_list kept;
    kept.reserve(paths.size());
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(kept), is_writable_path);
    return kept;
}

string_list row_paths(const media_list& list)
{
    string_list paths;
    paths.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        paths.push_back(list.full_path(row));
    return paths;
}

} // namespace

bool write_m3u(const std::string& path, const string_list& paths)
{
    // Writing the new content atomically replaces the old file: the same result as deleting it first, without
    // losing it when the write fails. A folder of that name is not replaced.
    if (platform::directory_exists(path))
        return false;
    return save_lines(path, writable_paths(paths));
}

bool write_pls(const std::string& path, const string_list& paths)
{
    const string_list kept = writable_paths(paths);
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(kept.size() + 1);
    for (std::size_t i = 0; i < kept.size(); ++i)
        pairs.emplace_back("File" + std::to_string(i + 1), kept[i]);
    pairs.emplace_back(pls_count_key, std::to_string(kept.size()));
    return write_profile_strings(path, pls_section, pairs);
}

std::string temp_playlist_path(const std::string& data_folder)
{
    return platform::with_trailing_slash(data_folder) + "temp_playlist.m3u";
}

bool write_temp_playlist(const std::string& data_folder, const string_list& paths)
{
    return write_m3u(temp_playlist_path(data_folder), paths);
}

string_list full_paths_of(const string_list& info_lines)
{
    string_list paths;
    paths.reserve(info_lines.size());
    for (const auto& line : info_lines)
        paths.emplace_back(line.substr(0, line.find(info_separator)));
    return paths;
}

namespace {

platform::file_dialog_options dialog(const std::string& title, const char* filter, const char* extension)
{
    return {title, filter, extension, ""};
}

command_result import_lines(const std::string& file, const string_list& paths, playlist_class& store,
                            const media_info_source& info, const std::function<void()>& rebuild_my_playlists)
{
    const std::string name = without_three_letter_extension(platform::file_name_of(file));
    string_list lines;
    lines.reserve(paths.size());
    for (const auto& path : paths)
        lines.push_back(info(path));
    if (!playlist_class::is_valid_name(name) || !store.save(name, lines))
        return command_result::failed;
    if (rebuild_my_playlists)
        rebuild_my_playlists();
    return command_result::done;
}

} // namespace

command_result import_m3u(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists)
{
    const auto file = prompts.open_file(dialog(title, m3u_filter, "m3u"));
    if (!file || !platform::file_exists(*file))
        return command_result::cancelled;
    return import_lines(*file, read_m3u(*file), store, info, rebuild_my_playlists);
}

command_result import_pls(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists)
{
    const auto file = prompts.open_file(dialog(title, pls_filter, "pls"));
    if (!file || file->empty())
        return command_result::cancelled;
    return import_lines(*file, read_pls(*file), store, info, rebuild_my_playlists);
}

command_result export_m3u(platform::prompts& prompts, const std::string& title, const media_list& list)
{
    const auto file = prompts.save_file(dialog(title, m3u_filter, "m3u"));
    if (!file || file->empty())
        return command_result::cancelled;
    if (write_m3u(*file, row_paths(list)))
        return command_result::done;
    prompts.message_box(cant_write_file_text, cant_write_file_caption, platform::message_buttons::ok_cancel,
                        platform::message_icon::none);
    return command_result::failed;
}

command_result export_pls(platform::prompts& prompts, const std::string& title, const media_list& list)
{
    const auto file = prompts.save_file(dialog(title, pls_filter, "pls"));
    if (!file || file->empty())
        return command_result::cancelled;
    return write_pls(*file, row_paths(list)) ? command_result::done : command_result::failed;
}

} // namespace karvo
