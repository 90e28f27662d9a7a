// SPDX-License-Identifier: GPL-3.0-or-later
// Reads M3U, M3U8 and PLS files as other programs write them: extended M3U directives, UTF-8 or Windows-1252 text,
// foreign paths resolved to files of this system, and a report of what was found, so nothing is dropped silently.
// A plain M3U keeps the line-as-entry rule, so the program's own files read back exactly.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "library/playlist_path_resolver.h"
#include "library/string_list.h"

namespace karvo {

enum class playlist_format { m3u, pls, xspf };

// .pls (any case) is PLS, .xspf XSPF, anything else M3U.
playlist_format playlist_format_of(const std::string& file);

struct playlist_entry {
    std::string path;       // the file found, the stream URL, or the text as written when nothing was found
    std::string title;      // "#EXTINF:" or TitleN; may be empty
    long long seconds = -1; // "#EXTINF:" or LengthN; -1 when not given
    entry_state state = entry_state::not_found;
};

struct import_report {
    static constexpr std::size_t max_listed = 20;

    int imported = 0, resolved = 0, not_found = 0, streams = 0;
    int left_out = 0;        // lines too long to be a path
    int cp1252_lines = 0;    // lines that are not UTF-8, read as Windows-1252
    string_list unresolved;  // "line 4: C:\Music\a.mp3", the first max_listed
    string_list ambiguities; // the first max_listed
    string_list notes;       // what else the reader changed or skipped, the first max_listed
    std::string error;       // set when the file was not read at all

    // "12 entries imported, 10 resolved, 2 not found" (+ streams, lines left out, lines read as Windows-1252), or the
    // error.
    std::string summary() const;
    // The summary, then the unresolved lines, the ambiguities and the notes, one per line.
    std::string details() const;
};

struct playlist_read {
    std::vector<playlist_entry> entries;
    import_report report;
};

// Mount points of this system, searched for the files of drive-letter paths.
std::vector<std::string> system_roots();

// A missing file gives no entries and sets the report's error; so does a file that holds binary data or XML that is
// no XSPF playlist. An XML file is read as XSPF whatever the format asked for. Text is decoded line by line: a UTF-8
// BOM (or the .m3u8 name) makes every line UTF-8; otherwise a line that is valid UTF-8 is UTF-8 and any other line
// Windows-1252. The M3U reader streams the file, so memory follows the entries kept, not the file's size.
playlist_read read_playlist(const std::string& file, playlist_format format, const std::vector<std::string>& roots);
playlist_read read_playlist(const std::string& file, const std::vector<std::string>& roots);

// The entries as the file writes them (text decoded, paths not resolved), for callers that want its own text.
std::vector<playlist_entry> read_playlist_as_written(const std::string& file, playlist_format format);

using media_info_source = std::function<std::string(const std::string& path)>;

// The media info string of each entry: the source's string for every file (streams are not asked), with the
// playlist's title and length filling the fields the source left empty.
string_list media_info_lines(const playlist_read& read, const media_info_source& info);
// One entry's line, from the source's string for it (empty for a stream, or when the source had none).
std::string media_info_line(const playlist_entry& entry, std::string from_source);

} // namespace karvo
