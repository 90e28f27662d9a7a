// SPDX-License-Identifier: GPL-3.0-or-later
// What the navigation tree shows and does, without the widget: node texts and paths, the sub-folders listed one
// level ahead, the grouping values of a saved playlist and the grouping filter, the hover hints, and the playlist
// displays a tree click runs. The window only turns these results into nodes.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "library/string_list.h"
#include "platform/drives.h"

namespace karvo {

class media_list;
class mp3_cd_class;
class playlist_class;

// Image indices of the tree's image list.
enum explorer_image : int {
    img_folder = 0,
    img_folder_open = 1,
    img_my_computer = 2,
    img_removable = 3,
    img_fixed = 4,
    img_cdrom = 5,
    img_media_cds = 7,
    img_playlists = 8,
    img_network = 10,
    img_playlist = 11,
    img_media_cd = 12,
    img_media_cd_inserted = 13,
    img_grouping = 17,
    img_grouping_value = 18,
};
inline constexpr int explorer_image_count = 19;

// The subtrees, by the root a node descends from.
enum tree_subtree : int { subtree_my_computer = 0, subtree_my_playlists = 1, subtree_my_media_cds = 2 };

inline constexpr const char* grouping_placeholder = "<secret temp>";

struct grouping_kind {
    const char* text;
    int field; // media entry column
};
// The five grouping nodes of a saved playlist, in node order.
inline constexpr std::array<grouping_kind, 5> grouping_kinds = {{
    {"Albums", 4},
    {"Artists", 5},
    {"Genre", 8},
    {"Year", 6},
    {"Quality", 11},
}};
// The field of a grouping node's text; nullopt for any other text.
std::optional<int> grouping_field(const std::string& text);

// "/media/cd [MY DISC]": the mount point, a blank and the upper-cased label in square brackets.
std::string drive_node_text(const platform::drive_info& drive);
int drive_image(platform::drive_type type);

// The drive roots and the CD-ROM drive roots, rebuilt with the drive nodes.
struct drive_lists {
    string_list roots;
    string_list cdrom_roots;
};
drive_lists make_drive_lists(const std::vector<platform::drive_info>& drives);
// Whether the drive that `path` lies under (its longest drive root) is a CD-ROM.
bool on_cdrom_drive(const std::string& path, const std::vector<platform::drive_info>& drives);

// The plain sub-folders of `path` (attributes exactly "directory": hidden "." folders left out), sorted by name
// without regard to case. A folder that cannot be read has none.
string_list sub_folders(const std::string& path);

// Path of a node of the My Computer subtree: its drive's root, then each folder below it and a '/'.
std::string node_path(const std::string& drive_root, std::span<const std::string> folders);

// Distinct non-empty values of `field` (trimmed, compared without regard to case, the first spelling kept), sorted
// without regard to case. `from_backup` reads the media list's unfiltered copy instead of its live rows.
string_list grouping_values(const media_list& list, int field, bool from_backup = false);
string_list grouping_values(const string_list& info_lines, int field);

// Whether a field holds the grouping value: the same text, trimmed, without regard to case.
bool matches_grouping_value(std::string_view cell, std::string_view value);

// The grouping filter: the live rows become the rows of the unfiltered copy whose `field` holds `value`, walked
// from the last row to the first as the display search does. `fresh_copy` takes the live rows as the unfiltered
// copy first; otherwise the copy is refreshed only when it holds fewer rows than the live list.
void show_grouping(media_list& list, int field, const std::string& value, bool fresh_copy);

// Appends the entry text of each listed row, in order, to the stored playlist `name` and saves it. False when the
// playlist does not exist, nothing is selected or it could not be written.
bool append_rows_to_playlist(playlist_class& store, const std::string& name, const media_list& list,
                             std::span<const int> rows);

// "Display All Saved Playlists": every saved playlist in store order, each entry with its playlist's name.
void display_all_saved_playlists(playlist_class& store, media_list& list);
// "Display All Media CDs": every Media CD in catalogue order, each re-based onto the drive holding its disc.
void display_all_media_cds(mp3_cd_class& store, media_list& list, platform::drive_table& drives);

// Hover hints of the tree.
inline constexpr const char* all_playlists_hint = "Click to Display All Saved Playlists.";
inline constexpr const char* all_media_cds_hint = "Click to Display All Media CDs.";
std::string playlist_hint(const std::string& name);
std::string media_cd_hint(const std::string& name);

} // namespace karvo
