// SPDX-License-Identifier: GPL-3.0-or-later
// The Media CD commands: Add New (from a CD-ROM or a removable volume), Remove, Rename, Save, Display All, Load
// Media CD (the volume found by its identity wherever it is mounted, its entries re-based onto that mount point)
// and the Media CD check that marks the catalogued volumes that are in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "components/Readahead/read_ahead_pool.h"
#include "library/store_commands.h"
#include "library/string_list.h"

namespace karvo {

class folder_scanner;

using media_cd_info_source = std::function<std::string(const std::string& path)>;
using media_cd_status = std::function<void(const std::string& text)>;

// Catalogues the volume that `current_folder` lies on: refused for a fixed or network drive; asks for a name (the
// volume label proposed), stores the volume's identity, scans the whole volume into the emptied list and writes
// the catalogue with paths relative to the volume's root. Mode 1 afterwards.
store_outcome add_new_media_cd(store_context& context, const std::string& current_folder, folder_scanner& scanner,
                               const media_cd_info_source& info, const media_cd_status& show_status,
                               const read_ahead_policy& read_ahead = {});

// Removes the current Media CD after a Yes (its entries stay in the list). `media_cd_node_selected`: the tree's
// selected node is a Media CD (the command acts only then).
store_outcome remove_media_cd(store_context& context, bool media_cd_node_selected);

// Renames the current Media CD; the proposed name is the first free "name (n)", n from 2.
store_outcome rename_media_cd(store_context& context);
std::string proposed_media_cd_name(const std::string& name, const string_list& catalogued);

// Writes the list to the current Media CD's catalogue, paths made relative to their drive root (mode 1 only).
store_outcome save_media_cd(store_context& context);

// Appends the Media CD's entries, re-based onto the drive that holds its volume (relative when none does), and
// makes it the current Media CD. `found_root` gets that drive's root.
store_outcome load_media_cd(store_context& context, const std::string& name,
                            std::optional<std::string>* found_root = nullptr);

// Every Media CD in catalogue order; no current Media CD afterwards. The mode is the caller's.
store_outcome display_all_media_cds(store_context& context);

// The image of each Media CD node (names in tree order): 13 when its volume is in a CD-ROM or removable drive,
// 12 when it is catalogued but not in, -1 (leave the node as it is) for a name no longer catalogued or when there
// is no such drive at all.
std::vector<int> media_cd_check_images(mp3_cd_class& store, const string_list& node_names,
                                       platform::drive_table& drives);

} // namespace karvo
