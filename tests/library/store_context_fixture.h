// SPDX-License-Identifier: GPL-3.0-or-later
// The stores, drives, prompts and shell state a store command works on, over a temporary data folder.
#pragma once

#include "library/command_texts.h"
#include "library/media_list.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/shell_state.h"
#include "library/store_commands.h"
#include "platform/testing/fake_drive_table.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {

struct store_context_fixture {
    temp_folder data;
    playlist_class playlists{data.path()};
    mp3_cd_class media_cds{data.path()};
    platform::fake_drive_table drives;
    platform::scripted_prompts prompts;
    command_texts texts;
    shell_state state;
    media_list list;
    store_context context{list, playlists, media_cds, prompts, drives, texts, state};
};

} // namespace karvo::testing
