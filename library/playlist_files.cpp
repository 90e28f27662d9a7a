// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_files.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_class.h"
#include "library/playlist_import_job.h"
#include "library/text.h"
#include "library/xspf_playlist.h"
#include "platform/case_fold.h"
#include "platform/cp1252.h"
#include "platform/file_uri.h"
#include "platform/numbers.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/profile_document.h"
#include "platform/utf8.h"
#include "platform/prompts.h"

namespace karvo {

string_list read_m3u(const std::string& path) {
    string_list lines = load_lines(path);
    for (auto& line : lines)
        if (const auto nul = line.find('\0'); nul != std::string::npos)
            line.resize(nul);
    return lines;
}

string_list read_pls(const std::string& path) {
    string_list paths;
    for (auto& entry : read_playlist_as_written(path, playlist_format::pls))
        paths.push_back(std::move(entry.path));
    return paths;
}

namespace {

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}

bool holds_control(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool needs_uri(const std::string& path) {
    const bool control = holds_control(path);
    // Some players cut a plain path at '#' or '?' and decode "%20"; a non-UTF-8 line is read back as Windows-1252;
    // readers trim blanks; a backslash reads as a Windows path when the file is gone.
    return control || path.find_first_of("#?%\\") != std::string::npos || !platform::is_valid_utf8(path) ||
           path.front() == ' ' || path.back() == ' ' || starts_with_ignoring_case(path, "file:");
}

} // namespace

std::string playlist_location(const std::string& path) {
    if (path.empty() || !needs_uri(path))
        return path;
    if (is_stream_url(path))
        return holds_control(path) ? std::string() : path;
    if (path.find('\0') != std::string::npos)
        return {}; // no file is named so
    return path.front() == '/' ? platform::file_uri(path) : std::string();
}

namespace {

// A title shown by players holds no line break; control bytes would make the file read as binary data, and a byte
// that is not UTF-8 would make the line read as Windows-1252.
std::string one_line(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = platform::decode_utf8(text, i, code);
        if (length == 0)
            out += '?';
        else if (code < 0x20 || code == 0x7F)
            out += ' ';
        else
            out.append(text, i, length);
        i += length == 0 ? 1 : length;
    }
    return out;
}

std::string extinf_title(const playlist_row& row) {
    if (row.artist.empty() && row.title.empty())
        return without_three_letter_extension(platform::file_name_of(row.path));
    if (row.artist.empty() || row.title.empty())
        return row.artist + row.title;
    return row.artist + " - " + row.title;
}

// Locations are URIs: file:// for absolute paths, a percent-encoded reference for relative ones.
std::string xspf_document(const std::vector<playlist_row>& rows, int& left_out) {
    std::vector<xspf::track> tracks;
    tracks.reserve(rows.size());
    for (const auto& row : rows) {
        if (row.path.empty()) {
            ++left_out;
            continue;
        }
        xspf::track track;
        track.location = is_stream_url(row.path)   ? row.path
                         : row.path.front() == '/' ? platform::file_uri(row.path)
                                                   : platform::percent_encode(row.path);
        track.title = row.title;
        track.creator = row.artist;
        track.duration_ms = row.seconds > 0 ? row.seconds * 1000 : -1;
        tracks.push_back(std::move(track));
    }
    return xspf::document({}, tracks);
}

std::vector<std::string_view> text_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The section a line opens ("" for none), as the profile functions read it.
std::optional<std::string_view> section_of(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    return trimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// Keys of the entry list, which an export writes anew: FileN, TitleN, LengthN and NumberOfEntries.
bool is_entry_key(std::string_view line) {
    const std::string key = upper_case(trimmed(line.substr(0, line.find('='))));
    if (key == "NUMBEROFENTRIES")
        return true;
    for (std::string_view stem : {"FILE", "TITLE", "LENGTH"})
        if (key.size() > stem.size() && key.starts_with(stem) &&
            key.find_first_not_of("0123456789", stem.size()) == std::string::npos)
            return true;
    return false;
}

// The PLS text to write over `old`: the entries in section "playlist" where that section stood (first when it did
// not), the other keys of that section kept, every other section kept as it was. What stood before the first
// section, and a file that is no text, is not kept.
std::string pls_over(const std::string& old, const std::string& entries) {
    if (old.find('\0') != std::string::npos)
        return "[playlist]\r\n" + entries;
    const std::vector<std::string_view> lines = text_lines(old);
    const auto is_playlist = [](std::optional<std::string_view> section) {
        return section && upper_case(*section) == "PLAYLIST";
    };
    std::string kept_keys;
    bool in_playlist = false;
    for (std::string_view line : lines) {
        if (const auto section = section_of(line))
            in_playlist = is_playlist(section);
        else if (in_playlist && line.find('=') != std::string_view::npos && !is_entry_key(line))
            kept_keys.append(line).append("\r\n");
    }
    const std::string block = "[playlist]\r\n" + kept_keys + entries;
    std::string out;
    bool placed = false;
    bool keep = false;
    for (std::string_view line : lines) {
        if (const auto section = section_of(line)) {
            keep = !is_playlist(section);
            if (!keep && !placed)
                out += block;
            placed = placed || !keep;
        }
        if (keep)
            out.append(line).append("\r\n");
    }
    return placed ? out : block + out;
}

std::vector<playlist_row> rows_of_paths(const string_list& paths) {
    std::vector<playlist_row> rows;
    rows.reserve(paths.size());
    for (const auto& path : paths)
        rows.push_back({path, {}, {}, -1});
    return rows;
}

} // namespace

export_result write_playlist(const std::string& path, playlist_format format, const std::vector<playlist_row>& rows,
                             m3u_form form) {
    export_result result;
    // Writing the new content atomically replaces the old file, so it is never lost when the write fails.
    if (platform::directory_exists(path))
        return result;
    if (format == playlist_format::xspf) {
        result.written = platform::write_file_atomic(path, xspf_document(rows, result.left_out));
        return result;
    }
    std::string content;
    if (format == playlist_format::m3u && form == m3u_form::extended)
        content = "#EXTM3U\r\n";
    int number = 0;
    for (const auto& row : rows) {
        const std::string location = playlist_location(row.path);
        // The extended reader skips blank lines: an empty entry would be lost there.
        if (location.empty() && (!row.path.empty() || form == m3u_form::extended)) {
            ++result.left_out;
            continue;
        }
        ++number;
        if (format == playlist_format::pls) {
            content += "File" + std::to_string(number) + "=" + location + "\r\n";
            continue;
        }
        if (form == m3u_form::extended)
            content += "#EXTINF:" + std::to_string(row.seconds > 0 ? row.seconds : -1) + "," +
                       one_line(extinf_title(row)) + "\r\n";
        content += location + "\r\n";
    }
    if (format == playlist_format::pls)
        content = pls_over(platform::read_file(path).value_or(std::string()),
                           content + "NumberOfEntries=" + std::to_string(number) + "\r\n");
    result.written = platform::write_file_atomic(path, content);
    return result;
}

std::vector<playlist_row> rows_of(const media_list& list) {
    std::vector<playlist_row> rows;
    rows.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        rows.push_back({std::string(list.full_path(row)), std::string(list.cell(Artist, row)),
                        std::string(list.cell(Song, row)),
                        static_cast<int>(platform::to_integer(list.cell(Seconds, row), -1))});
    return rows;
}

std::vector<playlist_row> rows_of_info_lines(const string_list& info_lines) {
    std::vector<playlist_row> rows;
    rows.reserve(info_lines.size());
    for (const auto& line : info_lines) {
        const media_field_views fields = split_media_info(line);
        rows.push_back({std::string(fields[0]), std::string(fields[2]), std::string(fields[1]),
                        static_cast<int>(platform::to_integer(fields[7], -1))});
    }
    return rows;
}

std::string left_out_message(int left_out) {
    return left_out == 1 ? "1 entry was left out of the playlist file: its path is empty, or relative and holds "
                           "characters the file cannot carry."
                         : std::to_string(left_out) +
                               " entries were left out of the playlist file: their paths are empty, or relative and "
                               "hold characters the file cannot carry.";
}

bool write_m3u(const std::string& path, const string_list& paths) {
    return write_playlist(path, playlist_format::m3u, rows_of_paths(paths)).written;
}

bool write_pls(const std::string& path, const string_list& paths) {
    return write_playlist(path, playlist_format::pls, rows_of_paths(paths)).written;
}

std::string temp_playlist_path(const std::string& data_folder) {
    return platform::with_trailing_slash(data_folder) + "temp_playlist.m3u";
}

bool write_temp_playlist(const std::string& data_folder, const string_list& paths) {
    return write_m3u(temp_playlist_path(data_folder), paths);
}

string_list full_paths_of(const string_list& info_lines) {
    string_list paths;
    paths.reserve(info_lines.size());
    for (const auto& line : info_lines)
        paths.emplace_back(line.substr(0, line.find(info_separator)));
    return paths;
}

namespace {

platform::file_dialog_options dialog(const std::string& title, const char* filter, const char* extension) {
    return {title, filter, extension, ""};
}

} // namespace

import_outcome import_playlist_file(const std::string& file, playlist_format format, const std::string& name,
                                    playlist_class& store, const media_info_source& info,
                                    const std::vector<std::string>& roots) {
    playlist_import_job job(file, format, name, info, {}, roots);
    job.run();
    return job.save_into(store);
}

std::optional<std::string> choose_import_file(platform::prompts& prompts, const std::string& title,
                                              playlist_format format) {
    const bool pls = format == playlist_format::pls;
    const auto file = prompts.open_file(pls                               ? dialog(title, pls_filter, "pls")
                                        : format == playlist_format::xspf ? dialog(title, xspf_filter, "xspf")
                                                                          : dialog(title, m3u_filter, "m3u"));
    if (!file || file->empty() || (!pls && !platform::file_exists(*file)))
        return std::nullopt;
    return file;
}

std::string import_name_of(const std::string& file) {
    return without_three_letter_extension(platform::file_name_of(file));
}

import_outcome import_playlist(platform::prompts& prompts, const std::string& title, playlist_format format,
                               playlist_class& store, const media_info_source& info,
                               const std::function<void()>& rebuild_my_playlists,
                               const std::vector<std::string>& roots) {
    const std::optional<std::string> file = choose_import_file(prompts, title, format);
    if (!file)
        return {};
    import_outcome outcome = import_playlist_file(*file, format, import_name_of(*file), store, info, roots);
    if (outcome.result == command_result::done && rebuild_my_playlists)
        rebuild_my_playlists();
    return outcome;
}

command_result import_m3u(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists) {
    return import_playlist(prompts, title, playlist_format::m3u, store, info, rebuild_my_playlists, system_roots())
        .result;
}

command_result import_pls(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists) {
    return import_playlist(prompts, title, playlist_format::pls, store, info, rebuild_my_playlists, system_roots())
        .result;
}

string_list dropped_playlist_lines(const std::string& file, const media_info_source& info,
                                   const std::vector<std::string>& roots, import_report& report) {
    playlist_read read = read_playlist(file, roots);
    report = std::move(read.report);
    return media_info_lines(read, info);
}

namespace {

void tell_left_out(platform::prompts& prompts, int left_out) {
    if (left_out > 0)
        prompts.message_box(left_out_message(left_out), cant_write_file_caption, platform::message_buttons::ok,
                            platform::message_icon::warning);
}

} // namespace

command_result export_m3u(platform::prompts& prompts, const std::string& title, const media_list& list, m3u_form form) {
    const auto file = prompts.save_file(dialog(title, m3u_filter, "m3u"));
    if (!file || file->empty())
        return command_result::cancelled;
    const export_result result = write_playlist(*file, playlist_format::m3u, rows_of(list), form);
    if (!result.written) {
        prompts.message_box(cant_write_file_text, cant_write_file_caption, platform::message_buttons::ok_cancel,
                            platform::message_icon::none);
        return command_result::failed;
    }
    tell_left_out(prompts, result.left_out);
    return command_result::done;
}

command_result export_pls(platform::prompts& prompts, const std::string& title, const media_list& list) {
    const auto file = prompts.save_file(dialog(title, pls_filter, "pls"));
    if (!file || file->empty())
        return command_result::cancelled;
    const export_result result = write_playlist(*file, playlist_format::pls, rows_of(list));
    if (!result.written)
        return command_result::failed;
    tell_left_out(prompts, result.left_out);
    return command_result::done;
}

} // namespace karvo
