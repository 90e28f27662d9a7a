// The foreign playlist formats: M3U (one path per line) and PLS (a profile file with section "playlist"), the
// player hand-over list temp_playlist.m3u, and the import and export commands built on them.
#pragma once

#include <functional>
#include <string>

#include "library/string_list.h"

namespace karvo {

namespace platform { class prompts; }
class media_list;
class playlist_class;

inline constexpr const char* m3u_filter = "Playlist File (*.M3U)|*.m3u|All Files (*.*)|*.*";
inline constexpr const char* pls_filter = "Playlist File (*.PLS)|*.pls|All Files (*.*)|*.*";
inline constexpr const char* cant_write_file_text = "Can't Write to File.";
inline constexpr const char* cant_write_file_caption = "Karvo";

// Every line as it stands (blank and comment lines included), cut at a NUL byte; nothing for a missing file.
string_list read_m3u(const std::string& path);
// File1..FileN of section "playlist", N from NumberOfEntries (0 when missing), a missing key giving an empty line;
// N is capped by the number of lines in the file, so a garbage count cannot exhaust memory. Nothing for a missing
// file.
string_list read_pls(const std::string& path);

// A path holding CR, LF or NUL would split into several lines or cut a line: such entries are left out.
bool is_writable_path(const std::string& path);

// Replaces the file with the paths, one per line, each ended by CR LF. False when it could not be written (the
// old file is then intact).
bool write_m3u(const std::string& path, const string_list& paths);
// Sets File1..FileN and then NumberOfEntries=N in section "playlist", keeping every other key and section (earlier
// File keys above N too), with the result of one profile write per key. False when it could not be written.
bool write_pls(const std::string& path, const string_list& paths);

// data_folder + "temp_playlist.m3u".
std::string temp_playlist_path(const std::string& data_folder);
bool write_temp_playlist(const std::string& data_folder, const string_list& paths);
// FullPath (field 0) of each media info string, for lists read from the stores.
string_list full_paths_of(const string_list& info_lines);

// The media info string of a path, from the resource plug-in.
using media_info_source = std::function<std::string(const std::string& path)>;

enum class command_result {
    done,
    cancelled,  // no file chosen (or, for M3U import, the chosen file does not exist)
    failed,     // the caller shows its standard error report (the M3U export has shown its own message)
};

// Asks for an M3U file, turns each line into a media info string, saves the lines as the saved playlist named
// after the file (replacing one of that name), then calls `rebuild_my_playlists`.
command_result import_m3u(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists);
// The same for a PLS file; a missing or empty file gives an empty saved playlist.
command_result import_pls(platform::prompts& prompts, const std::string& title, playlist_class& store,
                          const media_info_source& info, const std::function<void()>& rebuild_my_playlists);

// Asks for a file name and writes FullPath of every row; a failure shows "Can't Write to File.".
command_result export_m3u(platform::prompts& prompts, const std::string& title, const media_list& list);
command_result export_pls(platform::prompts& prompts, const std::string& title, const media_list& list);

} // namespace karvo
