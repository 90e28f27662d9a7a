// SPDX-License-Identifier: GPL-3.0-or-later
// The saved playlist commands: New, Delete, Rename, Save, Save As, Revert, Re-cache, Display All Saved Playlists
// and Send To. Each asks its questions through the prompts, changes the virtual playlist, the store and the shell
// state, and returns what the view and the navigation tree must show afterwards.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/Readahead/read_ahead_pool.h"
#include "library/store_commands.h"

namespace karvo {

// Ctrl+N: asks for a name until one is usable (an existing one only when the user agrees to overwrite it), then
// empties the list, stores it empty under the name and makes it the current saved playlist.
store_outcome new_playlist(store_context& context);

// Deletes the current saved playlist after a Yes. `saved_playlist_node_selected`: the tree's selected node is a
// saved playlist (the command acts only then). A file already gone changes nothing.
store_outcome delete_playlist(store_context& context, bool saved_playlist_node_selected);

// Renames the current saved playlist; the tree is listed again whatever the store said.
store_outcome rename_playlist(store_context& context);

// Ctrl+S. Mode 1 saves the Media CD. Mode 0 replaces the current playlist's file (atomically) when it still exists.
store_outcome save_playlist(store_context& context);

// Any list with rows (a saved playlist even when empty): asks for a name, saves the rows shown under it (replacing
// one of that name) and shows that saved playlist (mode 0).
store_outcome save_playlist_as(store_context& context);

// Ctrl+R. After a Yes the list is read again from the store (mode 0) or from the Media CD's catalogue (mode 1).
store_outcome revert_playlist(store_context& context);

// Reads the media entry of every row whose file exists again; missing files stay as they are.
using recache_info_source = std::function<std::string(const std::string& path)>;
using recache_status = std::function<void(const std::string& text)>;
// The entries are read ahead on a pool (see read_ahead_policy) and replaced in row order.
store_outcome recache_playlist(store_context& context, const recache_info_source& info,
                               const recache_status& show_status, const read_ahead_policy& read_ahead = {});

// Ctrl+W: every saved playlist in store order; no current playlist afterwards.
store_outcome display_all_saved_playlists(store_context& context);

// Appends the selected rows' entries to the saved playlist `target` (the list itself is unchanged).
store_outcome send_to(store_context& context, const std::string& target, const std::vector<int>& selected);

// What the list on screen is called in questions about it: the saved playlist, the Media CD, or the kind of list.
std::string shown_list_name(const shell_state& state);

} // namespace karvo
