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

// --- One pass over a profile file with exactly the rules of the profile functions (platform/ini_file). A PLS
// file has a key per entry, and a profile call per key would read (and for a write, replace) the whole file each
// time.

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

struct profile_line {
    std::string text;    // without its ending
    std::string ending;  // kept as found; "" for a last line without one
    bool section = false;
    bool key = false;
    std::string name;    // section name, or trimmed key
    std::string value;   // trimmed, quotes still on
};

profile_line classify(std::string text, std::string ending)
{
    profile_line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string_view body = trimmed(line.text);
    if (body.empty() || body.front() == ';')
        return line;
    if (const auto close = body.rfind(']'); body.front() == '[' && close != std::string_view::npos) {
        line.section = true;
        line.name = std::string(body.substr(1, close - 1));
    } else if (const auto equals = body.find('='); equals != std::string_view::npos) {
        line.key = true;
        line.name = std::string(trimmed(body.substr(0, equals)));
        line.value = std::string(trimmed(body.substr(equals + 1)));
    }
    return line;
}

struct profile_file {
    std::string bom;
    std::vector<profile_line> lines;
    std::size_t header = std::string::npos;  // "[playlist]"
    std::size_t end = 0;                      // first line after that section
    // Folded key -> its first line in the section, the one the profile functions use.
    std::unordered_map<std::u32string, std::size_t> keys;

    explicit profile_file(std::string_view content)
    {
        if (content.substr(0, utf8_bom.size()) == utf8_bom) {
            bom = utf8_bom;
            content.remove_prefix(utf8_bom.size());
        }
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t stop = std::min(content.find_first_of("\r\n", start), content.size());
            std::size_t next = stop;
            if (next < content.size() && content[next] == '\r')
                ++next;
            if (next < content.size() && content[next] == '\n')
                ++next;
            lines.push_back(classify(std::string(content.substr(start, stop - start)),
                                     std::string(content.substr(stop, next - stop))));
            start = next;
        }
        const std::u32string wanted = platform::fold_case(pls_section);
        for (std::size_t i = 0; i < lines.size() && header == std::string::npos; ++i)
            if (lines[i].section && !lines[i].name.empty() && platform::fold_case(lines[i].name) == wanted)
                header = i;
        if (header == std::string::npos)
            return;
        for (end = header + 1; end < lines.size() && !lines[end].section; ++end)
            if (lines[end].key)
                keys.try_emplace(platform::fold_case(lines[end].name), end);
    }

    const profile_line* find(const std::string& key) const
    {
        const auto found = keys.find(platform::fold_case(key));
        return found == keys.end() ? nullptr : &lines[found->second];
    }

    std::string text() const
    {
        std::string out = bom;
        for (const auto& line : lines)
            out.append(line.text).append(line.ending);
        return out;
    }
};

void end_line(profile_line& line)
{
    if (line.ending.empty())
        line.ending = "\r\n";
}

// The file as write_private_profile_string leaves it after one call per pair, in order: existing keys change in
// place (keeping their spelling), new ones follow the section's last key in the order given, a missing section is
// added at the end. Keys must be distinct and values free of line breaks.
bool write_playlist_keys(const std::string& file, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    const auto content = platform::read_file(file);
    if (!content && platform::path_exists(file))
        return false;  // never replace a file that could not be read
    profile_file profile(content ? *content : std::string());
    auto& lines = profile.lines;
    bool changed = false;
    std::vector<profile_line> added;
    for (const auto& [key, value] : pairs) {
        std::string_view stored = value;
        while (!stored.empty() && is_blank(stored.front()))
            stored.remove_prefix(1);
        if (const auto found = profile.keys.find(platform::fold_case(key)); found != profile.keys.end()) {
            profile_line& line = lines[found->second];
            if (line.value != stored) {
                line = classify(line.name + "=" + std::string(stored), "\r\n");
                changed = true;
            }
        } else {
            added.push_back(classify(key + "=" + std::string(stored), "\r\n"));
        }
    }
    if (!added.empty()) {
        changed = true;
        std::size_t after;
        if (profile.header == std::string::npos) {
            if (!lines.empty())
                end_line(lines.back());
            lines.push_back(classify("[" + std::string(pls_section) + "]", "\r\n"));
            after = lines.size() - 1;
        } else {
            after = profile.header;
            for (std::size_t i = profile.header + 1; i < profile.end; ++i)
                if (lines[i].key)
                    after = i;
            end_line(lines[after]);
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), std::make_move_iterator(added.begin()),
                     std::make_move_iterator(added.end()));
    }
    return !changed || platform::write_file_atomic(file, profile.text());
}

std::string without_quotes(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
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
    if (!platform::file_exists(path))
        return {};
    const auto content = platform::read_file(path);
    const profile_file profile(content ? *content : std::string());
    // A file of L lines holds at most L keys: a larger count is garbage and must not fill memory with empty lines.
    const long long count = std::min<long long>(
        platform::get_private_profile_int(pls_section, pls_count_key, 0, path), profile.lines.size());
    string_list paths;
    for (long long i = 1; i <= count; ++i) {
        const profile_line* line = profile.find("File" + std::to_string(i));
        paths.push_back(line ? without_quotes(line->value) : std::string());
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
    return write_playlist_keys(path, pairs);
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
