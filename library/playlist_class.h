// SPDX-License-Identifier: GPL-3.0-or-later
// The user's saved playlists: one .spl file per playlist in the data folder's "Playlists/", each line a media info
// string. Also the main window's two steps between the store and the virtual playlist.
#pragma once

#include <functional>
#include <string>

#include "library/named_file_store.h"

namespace karvo {

class media_list;

inline constexpr const char* playlists_folder_failure = "Karvo was NOT able to create the Playlists directory.";

class playlist_class : public named_file_store {
public:
    explicit playlist_class(const std::string& data_folder, folder_failure_handler on_failure = {});
};

// Serialises every row and saves the lines under `name`; when that worked every row gets `name` as list name.
// False when the playlist could not be written: the caller reports it.
bool save_media_list_as_playlist(playlist_class& store, const std::string& name, media_list& list);

// Appends every stored line of `name` to the list with `name` as list name; `progress` (optional) is told the
// list's count every few thousand rows.
void load_playlist_into(playlist_class& store, const std::string& name, media_list& list,
                        const std::function<void(int rows)>& progress = {});

} // namespace karvo
