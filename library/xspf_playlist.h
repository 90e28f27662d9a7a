// SPDX-License-Identifier: GPL-3.0-or-later
// XSPF version 1 playlists (XML): the document written for a list of tracks, and the tracks read back from one.
// The reader is a small tolerant scanner for what playlist writers produce, not a general XML parser.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvo::xspf {

struct track {
    std::string location; // a URI (or, read from a foreign file, a relative reference)
    std::string title, creator, album;
    long long duration_ms = -1; // -1: unknown, left out
    int track_num = 0;          // 0: unknown, left out
};

// The text escaped for XML; bytes that are not UTF-8 and characters XML 1.0 forbids are dropped.
std::string xml_text(std::string_view text);

// The whole document, UTF-8.
std::string document(const std::string& title, const std::vector<track>& tracks);

// Whether the text starts (after a BOM and blanks) as an XML document does.
bool looks_like_xml(std::string_view head);

// The tracks in document order; nothing when the text is not an XSPF playlist (its root is no <playlist>).
std::optional<std::vector<track>> parse(std::string_view xml);

} // namespace karvo::xspf
