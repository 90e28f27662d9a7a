// SPDX-License-Identifier: GPL-3.0-or-later
// The foreign playlist formats: M3U (one path per line) and PLS (a profile file with section "playlist"), the
// player hand-over list temp_playlist.m3u, and the import and export commands built on them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/playlist_import.h"
#include "library/string_list.h"

namespace karvo {

namespace platform {
class prompts;
}
class media_list;
class playlist_class;

inline constexpr const char* m3u_filter = "Playlist File (*.M3U)|*.m3u|All Files (*.*)|*.*";
inline constexpr const char* pls_filter = "Playlist File (*.PLS)|*.pls|All Files (*.*)|*.*";
inline constexpr const char* xspf_filter = "XSPF Playlist (*.XSPF)|*.xspf|All Files (*.*)|*.*";
inline constexpr const char* xspf_import_title = "Add XSPF Playlist";
inline constexpr const char* cant_write_file_text = "Can't Write to File.";
inline constexpr const char* cant_write_file_caption = "Karvo";

// Every line as it stands (blank and comment lines included), cut at a NUL byte; nothing for a missing file.
string_list read_m3u(const std::string& path);
// The File keys of section "playlist" in number order, up to NumberOfEntries when it is given and up to the highest
// one present when it is not; a missing key gives no line. Nothing for a missing file.
string_list read_pls(const std::string& path);

// How a path is written as one M3U or PLS entry: as it is when the players and this program's import all read it
// back as the same file, else as a file:// URI (control characters, '#', '?', '%', '\\', bytes that are not
// UTF-8, blanks at either end, text that reads as a URL). Empty when it cannot be written: a relative path that
// would need a URI.
std::string playlist_location(const std::string& path);

// Plain: one path per line. Extended: "#EXTM3U", then "#EXTINF:seconds,artist - title" before each path, so players
// show titles and lengths.
enum class m3u_form { plain, extended };

// One row of an exported playlist.
struct playlist_row {
    std::string path;
    std::string artist, title; // both empty: the extended form shows the file name
    long long seconds = -1;    // -1 or 0: unknown
};

struct export_result {
    bool written = false; // false: the old file is intact
    int left_out = 0;     // rows that cannot be written (see playlist_location)
};

// Replaces the file atomically, each line ended by CR LF. A PLS holds section "playlist" with File1..FileN and
// then NumberOfEntries=N; written over an earlier PLS, that section's other keys and the file's other sections
// stay, while no entry key of an earlier, longer list survives. An XSPF document holds each row's location, title,
// creator and duration. A folder in the way is not replaced.
export_result write_playlist(const std::string& path, playlist_format format, const std::vector<playlist_row>& rows,
                             m3u_form form = m3u_form::plain);

std::vector<playlist_row> rows_of(const media_list& list);
std::vector<playlist_row> rows_of_info_lines(const string_list& info_lines);

// What the user is told about rows an export left out.
std::string left_out_message(int left_out);

// write_playlist of bare paths: true when the file was written (rows may have been left out).
bool write_m3u(const std::string& path, const string_list& paths);
bool write_pls(const std::string& path, const string_list& paths);

// data_folder + "temp_playlist.m3u".
std::string temp_playlist_path(const std::string& data_folder);
bool write_temp_playlist(const std::string& data_folder, const string_list& paths);
// FullPath (field 0) of each media info string, for lists read from the stores.
string_list full_paths_of(const string_list& info_lines);

enum class command_result {
    done,
    cancelled, // no file chosen (or, for M3U import, the chosen file does not exist)
    failed,    // the caller shows its standard error report (the M3U export has shown its own message)
};

struct import_outcome {
    command_result result = command_result::cancelled;
    std::string name;     // the saved playlist written
    import_report report; // for the status line (summary) and the report dialog (details)
};

// Reads a playlist file (format by its extension unless given), resolves its entries and saves their media info
// strings as the saved playlist `name`, replacing one of that name. A file that is not a playlist (binary data) or
// an unusable name fails and saves nothing; a missing PLS gives an empty playlist, as the import always did.
import_outcome import_playlist_file(const std::string& file, playlist_format format, const std::string& name,
                                    playlist_class& store, const media_info_source& info,
                                    const std::vector<std::string>& roots);

// Asks for the file to import: nullopt when none was chosen (for M3U and XSPF also when it does not exist).
std::optional<std::string> choose_import_file(platform::prompts& prompts, const std::string& title,
                                              playlist_format format);
// The saved playlist an imported file becomes: its name without a three-letter extension.
std::string import_name_of(const std::string& file);

// Asks for the file, imports it as the saved playlist named after the file, then calls `rebuild_my_playlists`.
// Cancelled when no file was chosen (for M3U and XSPF also when it does not exist).
import_outcome import_playlist(platform::prompts& prompts, const std::string& title, playlist_format format,
                               playlist_class& store, const media_info_source& info,
                               const std::function<void()>& rebuild_my_playlists,
                               const std::vector<std::string>& roots);

// import_playlist with the mount points of this system, for callers that show no report.
command_result import_m3u(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists);
command_result import_pls(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists);

// The media info strings of a playlist file dropped on the virtual playlist (add_playlist_type on), with its report.
string_list dropped_playlist_lines(const std::string& file, const media_info_source& info,
                                   const std::vector<std::string>& roots, import_report& report);

// Asks for a file name and writes every row; a failure shows "Can't Write to File.", rows left out are told with
// left_out_message.
command_result export_m3u(platform::prompts& prompts, const std::string& title, const media_list& list,
                          m3u_form form = m3u_form::plain);
command_result export_pls(platform::prompts& prompts, const std::string& title, const media_list& list);

} // namespace karvo
