// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows and remembers between commands: the playlist mode, the current playlist, Media CD and
// folder, and the layout values that Save settings writes. Plain data, so commands are tested without a window.
#pragma once

#include <string>
#include <vector>

#include "library/command_texts.h"
#include "library/playlist_mode.h"

namespace karvo {

struct shell_state {
    PlaylistMode mode;
    std::string current_playlist_name{};
    std::string current_media_cd_name{};
    std::string current_folder{};
    int v_splitter = 215; // tree width
    int h_splitter = 195; // upper pane height
    bool tree_saved_pls_state = false;
    bool tree_media_cd_state = false;
    int search_item = 1;
    int volume_left = 10;
    int volume_top = 30;
    bool volume_visible = false;
};

} // namespace karvo
