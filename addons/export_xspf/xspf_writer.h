// SPDX-License-Identifier: GPL-3.0-or-later
// The XSPF document of a list of media files (the document itself is the library's): file:// locations
// percent-encoded, and title, creator, album, track number and duration read from the files' tags where they have
// them. No window here, so the tests call it directly.
#pragma once

#include "library/string_list.h"
#include "library/xspf_playlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace karvo::xspf {

// "file://" + the path with every byte outside the unreserved set and '/' written as %XX (RFC 3986).
std::string file_uri(std::string_view path);

// The track of one file: its location, and its tags when `read_tags` (a file that is not media keeps only the
// location).
track track_of(const std::string& path, bool read_tags);

// Writes the document of the paths to `target`, replacing it atomically; false when it could not be written.
bool write_playlist(const std::string& target, const string_list& paths, const std::string& title, bool read_tags);

} // namespace karvo::xspf
