// SPDX-License-Identifier: GPL-3.0-or-later
// The tag editor's replaceable texts: its own list (entries 0-8) plus four labels from the main window's list,
// applied only when the language library exports both lists.
#pragma once

#include "library/string_list.h"

#include <array>
#include <map>
#include <string>
#include <utility>

namespace karvo {

// Key of the window's own caption in id3_language::captions.
inline constexpr const char* id3_window_caption = "Caption";

// Labels that are right-aligned after renaming: the label and the control its right edge stays 3 pixels left of.
inline constexpr std::array<std::pair<const char*, const char*>, 9> id3_label_anchors = {{
    {"lblGenre", "cmbGenre"},
    {"lblComments", "txtComments"},
    {"CurrentLabel", "lblCurrent"},
    {"TotalLabel", "lblTotal"},
    {"lblTitle", "txtTitle"},
    {"lblArtist", "txtArtist"},
    {"lblAlbum", "txtAlbum"},
    {"lblYear", "txtYear"},
    {"lblTrack", "txtTrack"},
}};
inline constexpr int id3_label_gap = 3;

struct id3_language {
    std::map<std::string, std::string> captions; // control name (or id3_window_caption) -> new caption
};

// Entries beyond a list's count are not read; their controls keep the layout caption.
id3_language apply_id3_language(const string_list& id3_list, const string_list& main_list);

} // namespace karvo
