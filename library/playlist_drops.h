// SPDX-License-Identifier: GPL-3.0-or-later
// What a drop on the virtual playlist or on the waste bin does, apart from the widgets: where dropped entries go
// (drag_n_drop 0 end, 1 drop point, 2 top), a dropped M3U/PLS file's expansion, the shell drop's file rules, which
// tree nodes may be dropped on the playlist, and what the waste bin does with each kind of dragged thing.
#pragma once

#include <functional>
#include <string>

#include "library/playlist_edits.h"
#include "library/string_list.h"

namespace karvo {

namespace platform {
class prompts;
class random_source;
} // namespace platform
class command_texts;
class media_files;
class media_list;

struct drop_settings {
    int drag_n_drop = 0;           // 0 at the end, 1 at the drop point, 2 at the top
    bool drag_n_drop_rnd = false;  // shuffle the playlist afterwards
    int randomize_times = 1;       // passes of that shuffle
    bool add_playlist_type = true; // a dropped .M3U/.PLS adds the entries it lists
    bool verify_on_startup = true; // a file added at the end must exist
};

// The row the first dropped entry goes to; `row_under_point` is -1 when the drop point is below the last row.
int drop_position(int drag_n_drop, int row_under_point, int count);

struct drop_result {
    int added = 0;
    row_range inserted;    // rows added, after the drop (empty when none or when shuffled)
    bool shuffled = false; // the whole list was shuffled afterwards: the view is reset
};

// The media info string of a path (from the resource plug-in).
using drop_info_source = std::function<std::string(const std::string& path)>;

// Rows dragged from the folder listing, their full paths in ascending listing order: all of them, standing
// together in their order at the place drag_n_drop says.
drop_result drop_listing_rows(media_list& list, const string_list& paths, int row_under_point,
                              const drop_settings& settings, const drop_info_source& info,
                              platform::random_source& random);

// Files and folders dropped from a file manager, in its order. Folders are not added. With add_playlist_type an
// .M3U or .PLS adds the paths it lists (relative ones taken from the playlist's folder). A media file (enabled
// extension) added at the end must also exist when verify_on_startup is set; inserted ones are not tested.
drop_result drop_shell_files(media_list& list, const string_list& files, int row_under_point,
                             const drop_settings& settings, const media_files& media, const drop_info_source& info,
                             platform::random_source& random);

// A tree node dropped on the playlist: "My Computer" itself and everything under "My Playlists" or "My Media CDs"
// is refused with its message (false); a drive or folder may go (the caller runs Add Directory).
bool tree_drop_allowed(bool is_my_computer_root, bool under_my_computer, platform::prompts& prompts,
                       const command_texts& texts);

enum class drag_source { playlist, tree, other };
enum class waste_action { delete_selected, delete_playlist, remove_media_cd, refused };

// What the waste bin does with a drop. Playlist rows are deleted; a tree node whose parent is "My Playlists" or
// "My Media CDs" is deleted by its command; anything else shows the waste bin's message (OK / Cancel, unused).
waste_action waste_drop(drag_source source, bool parent_is_my_playlists, bool parent_is_my_media_cds,
                        platform::prompts& prompts, const command_texts& texts);

} // namespace karvo
