// SPDX-License-Identifier: GPL-3.0-or-later
// A players panel wired to recording doubles: eight players (six slots, two extra), a set of installed programs,
// the main-window messages the commands show and a temporary data folder for temp_playlist.m3u.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "platform/file_system.h"
#include "platform/testing/recording_program_starter.h"
#include "platform/testing/recording_window_messages.h"
#include "platform/testing/scripted_prompts.h"
#include "players/nad_class.h"
#include "players/playback_commands.h"
#include "players/player_selection.h"
#include "players/sonique_class.h"
#include "players/winamp_class.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {

inline const std::string message_15 =
    "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the location of: ";

inline std::vector<std::string> built_in_messages() {
    std::vector<std::string> messages(66);
    messages[15] = message_15;
    messages[50] = "There is nothing in your playlist.";
    messages[59] = "This feature only works when WinAMP or NAD is running and must be selected.";
    messages[60] = "There is Nothing Selected.";
    messages[61] = "This feature only works when %1 is running and is selected.";
    messages[62] = "Karvo Media could not write the temporary playlist %1, so no player was started.";
    messages[64] = "%1 entries were left out: they lie outside the music folder that %2 knows.";
    return messages;
}

inline std::string media_info(const std::string& path) {
    media_fields fields;
    fields[0] = path;
    return make_media_info(fields);
}

class playback_fixture : public ::testing::Test {
protected:
    playback_fixture() {
        selection.lists.names = {"WinAMP", "Sonique", "Player 2", "Player 3", "Player 4", "NAD", "VLC", "mpv"};
        for (const std::string& name : selection.lists.names)
            selection.lists.locations.push_back("/opt/" + name);
        selection.names_changed();
    }

    void install(const std::vector<int>& players) {
        for (int player : players)
            installed.insert(selection.lists.locations[player]);
    }
    // Installs the player and selects it through its label (slot or extra).
    void select(int player) {
        install({player});
        ASSERT_TRUE(selection.select_by_label(selection.lists.names[player]));
    }
    void fill(std::initializer_list<std::string> paths) {
        for (const std::string& path : paths)
            list.append(media_info(path), "List");
    }
    std::string temp_list() const {
        return platform::read_file(folder.file("temp_playlist.m3u")).value_or("<missing>");
    }
    std::string quoted_temp_path() const { return "\"" + folder.file("temp_playlist.m3u") + "\""; }

    temp_folder folder;
    std::set<std::string> installed;
    std::vector<std::string> messages = built_in_messages();
    platform::scripted_prompts prompts;
    platform::recording_program_starter starter;
    platform::recording_window_messages windows;
    winamp_class winamp{windows, starter};
    nad_class nad{windows, starter};
    sonique_class sonique{windows, starter};
    player_selection selection{prompts, messages, "",
                               [this](const std::string& path) { return installed.count(path) > 0; }};
    playback_commands commands{{selection, starter, windows, winamp, nad, sonique, prompts, messages, folder.path()}};
    media_list list;
};

} // namespace karvo::testing
