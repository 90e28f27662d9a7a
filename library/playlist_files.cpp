#include "library/playlist_files.h"

#include <algorithm>
#include <iterator>
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
#include "platform/profile_document.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

constexpr const char* pls_section = "playlist";
constexpr const char* pls_count_key = "NumberOfEntries";

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
    if (!platform::file_exists(path))
        return {};
    // One parse of the file instead of a profile read per entry; keys compare without regard to case.
    const platform::profile_document pls(path);
    std::unordered_map<std::u32string, std::string> values;
    for (auto& [key, value] : pls.values(pls_section))
        values.emplace(platform::fold_case(key), std::move(value));
    // A file of L lines holds at most L keys: a larger count is garbage and must not fill memory with empty lines.
    const long long count = std::min<long long>(
        pls.get_int(pls_section, pls_count_key, 0), load_lines(path).size());
    string_list paths;
    for (long long i = 1; i <= count; ++i) {
        const auto found = values.find(platform::fold_case("File" + std::to_string(i)));
        paths.push_back(found == values.end() ? std::string() : found->second);
    }
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
    return platform::write_private_profile_strings(pls_section, pairs, path);
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
