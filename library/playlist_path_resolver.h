// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a path as another program wrote it into a playlist (relative, with backslashes, a drive letter, a file://
// URI, a stream URL) into a file of this system. Windows names are case-insensitive and Linux ones are not, so
// foreign paths are matched segment by segment without regard to case, from folder listings read once.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace karvo {

enum class entry_state { resolved, not_found, stream };

struct resolved_path {
    entry_state state = entry_state::not_found;
    std::string path;      // the file found or the stream URL; empty when not found
    std::string ambiguity; // set when a segment matched several names differing only in case
};

// A URL a player can stream ("http://", "https://" and other scheme://, "file://" not included).
bool is_stream_url(const std::string& text);

class playlist_path_resolver {
public:
    // `playlist_folder`: the folder of the playlist file; `roots`: mount points searched for drive-letter paths.
    playlist_path_resolver(std::string playlist_folder, std::vector<std::string> roots);

    resolved_path resolve(const std::string& written);

private:
    struct listing_entry {
        std::string name;
        bool directory = false;
    };
    // Folded name -> the entries of that name in name order.
    using listing = std::unordered_map<std::u32string, std::vector<listing_entry>>;

    const listing& listing_of(const std::string& folder);
    // Walks `segments` from `base`: exact name first, else the first of the names equal but for case.
    bool walk(const std::string& base, const std::vector<std::string>& segments, std::size_t first,
              resolved_path& result);
    bool find_foreign(const std::vector<std::string>& segments, const std::string& written, resolved_path& result);

    std::string folder_;
    std::vector<std::string> bases_; // the playlist folder, its ancestors, then the roots
    std::unordered_map<std::string, listing> listings_;
};

} // namespace karvo
