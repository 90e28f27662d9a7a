// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a real external "player": a shell script that records its arguments and a copy of the list it is given.
#include "tests/players/playback_fixture.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/program_starter.h"
#include "platform/window_messages.h"

namespace karvo::testing {
namespace {

// Waits for the script's "done" marker; generous, as the machine may be busy.
bool wait_for(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (platform::file_exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(playback_end_to_end, a_real_player_program_gets_the_quoted_list) {
    temp_folder root;
    const std::string player_dir = root.file("player dir");
    const std::string data_dir = root.file("data dir");
    const std::string out = root.file("out");
    for (const std::string& dir : {player_dir, data_dir, out})
        ASSERT_TRUE(std::filesystem::create_directory(dir));
    const std::string player = player_dir + "/rec player";
    // The list is copied before "done" appears, and "done" is made by a rename so it is never seen half written.
    ASSERT_TRUE(
        platform::write_file_atomic(player, "#!/bin/sh\n"
                                            "out='" +
                                                out +
                                                "'\n"
                                                "printf '%s\\n' \"$#\" > \"$out/args.tmp\"\n"
                                                "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out/args.tmp\"; done\n"
                                                "cp \"$1\" \"$out/list.m3u\"\n"
                                                "mv \"$out/args.tmp\" \"$out/done\"\n"));
    ASSERT_EQ(::chmod(player.c_str(), 0755), 0);

    std::vector<std::string> messages = built_in_messages();
    platform::scripted_prompts prompts;
    platform::program_starter& starter = platform::system_program_starter();
    platform::window_messages& windows = platform::system_window_messages();
    winamp_class winamp(windows, starter);
    nad_class nad(windows, starter);
    sonique_class sonique(windows, starter);
    player_selection selection(prompts, messages, "", platform::file_exists);
    selection.lists.names = {"WinAMP", "Sonique", "Player 2", "Player 3", "Player 4", "NAD", "Recorder"};
    // The recorder is both slot 4 (for the drop) and the selected extra player 6.
    selection.lists.locations = {"", "", "", "", player, "", player};
    selection.names_changed();
    selection.select_at_startup(6);
    ASSERT_EQ(selection.index(), 6);
    playback_commands commands({selection, starter, windows, winamp, nad, sonique, prompts, messages, data_dir});

    media_list list;
    for (const std::string path : {"/music/a song.mp3", "/music/bad\r\nline.mp3", "/music/b.ogg", "/music/c.flac"})
        list.append(media_info(path), "List");

    struct run_case {
        std::string label;
        std::function<void()> command;
        std::string list_bytes;
    };
    const std::vector<run_case> cases = {
        {"play", [&] { commands.play(list); },
         "/music/a song.mp3\r\nfile:///music/bad%0D%0Aline.mp3\r\n/music/b.ogg\r\n/music/c.flac\r\n"},
        {"play selected",
         [&] {
             commands.play_selected(list, std::vector<int>{3, 1});
         },
         "file:///music/bad%0D%0Aline.mp3\r\n/music/c.flac\r\n"},
        {"files dropped on slot 4",
         [&] {
             commands.drop_files_on_slot(4, {"/drop/x.mp3", "/drop/readme.txt", "/drop/y z.ogg"},
                                         [](const std::string& p) { return !p.ends_with(".txt"); });
         },
         "/drop/x.mp3\r\n/drop/y z.ogg\r\n"},
    };
    const std::string temp_list = data_dir + "/temp_playlist.m3u";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(out + "/done");
        c.command();
        ASSERT_TRUE(wait_for(out + "/done"));
        EXPECT_EQ(platform::read_file(out + "/done").value_or(""), "1\n" + temp_list + "\n");
        EXPECT_EQ(platform::read_file(out + "/list.m3u").value_or("<missing>"), c.list_bytes);
    }
    EXPECT_TRUE(prompts.questions().empty());
}

} // namespace
} // namespace karvo::testing
