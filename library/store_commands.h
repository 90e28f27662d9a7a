// SPDX-License-Identifier: GPL-3.0-or-later
// What the saved-playlist and Media CD commands share: the shell state they read and change, what the navigation
// tree and the view must do afterwards, and the check of a name the user typed for a new item.
#pragma once

#include <optional>
#include <string>

#include "library/main_settings.h"
#include "library/shell_state.h"

namespace karvo {

namespace platform {
class drive_table;
class prompts;
} // namespace platform
class command_texts;
class media_list;
class mp3_cd_class;
class playlist_class;

enum class list_change {
    none,
    list_names,    // every row's ListName was set (the List column changed)
    rows_replaced, // rows changed in place, the count is the same
    rewritten,     // the rows were replaced: the view is reset and the count caption refreshed
};

struct tree_update {
    bool relist_playlists = false; // list the saved-playlist nodes again and expand "My Playlists"
    std::string add_playlist_node; // add this playlist's node (image 11, selected) with its five groupings
    std::string refresh_groupings; // recompute this playlist's grouping values
    bool relist_media_cds = false; // list the Media CD nodes again and expand "My Media CDs"
    bool media_cd_check = false;   // run the Media CD check (media_cd_check_images) afterwards
};

struct store_outcome {
    bool done = false; // the command did its work (false: cancelled, refused or failed)
    list_change list = list_change::none;
    tree_update tree;
    std::string status;           // a status-line message to show, or empty
    bool name_label_none = false; // `SelectedName` shows "<none>" with the nothing picture
};

// Everything a store command works on; the main window owns all of it.
struct store_context {
    media_list& list;
    playlist_class& playlists;
    mp3_cd_class& media_cds;
    platform::prompts& prompts;
    platform::drive_table& drives;
    const command_texts& texts;
    shell_state& state;
};

// Why a typed name cannot name a saved item, or nullopt when it can: a name is one file name inside the store's
// folder, so no '/', no leading '.', no control characters and at most 250 bytes (room for the extension).
std::optional<std::string> unusable_name_message(const std::string& name);

// Asks for a name in an input box; nullopt after Cancel, or after telling why an empty or unusable name is refused.
std::optional<std::string> ask_item_name(const store_context& context, const std::string& prompt,
                                         const std::string& initial);

// Shows an information box with the message-box title.
void inform(const store_context& context, const std::string& text);
// A Yes/No question with the message-box title; true for Yes.
bool confirm(const store_context& context, const std::string& text);

// Empties the list for another playlist or Media CD and forgets the search's backup copy, which belongs to the
// list shown before: an empty search must not bring that list back into this one.
void begin_new_list(media_list& list);

// "Karvo was NOT able to write <name>. The saved copy is unchanged." for a failed atomic write.
std::string write_failed_message(const std::string& name);
std::string rename_failed_message(const std::string& old_name, const std::string& new_name);
// Told after cataloguing a volume whose serial number cannot be read.
std::string unrecognisable_volume_message(const std::string& name);

} // namespace karvo
