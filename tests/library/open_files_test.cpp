// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/open_files.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/media_entry.h"
#include "library/media_files.h"
#include "library/media_list.h"
#include "platform/random.h"
#include "platform/testing/scripted_local_sockets.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

TEST(open_files, command_line_names_files_and_folders) {
    struct line_case {
        std::vector<std::string> arguments;
        string_list files;
    };
    const std::vector<line_case> cases = {
        {{"karvo-media"}, {}},
        {{"karvo-media", "/m/a b.m3u", "rel/x.pls", "../up.mp3", ""}, {"/m/a b.m3u", "/home/u/rel/x.pls", "/home/up.mp3"}},
        {{"karvo-media", "-v", "--opt", "--", "-dash.mp3", "--"}, {"/home/u/-dash.mp3", "/home/u/--"}},
        {{"karvo-media", "file:///m/%23%25%20%C3%A9.mp3", "file://other/x", "FILE:///m/up.m3u"},
         {"/m/#% \xC3\xA9.mp3", "/m/up.m3u"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(command_line_files(c.arguments, "/home/u"), c.files) << c.arguments.size();
}

TEST(open_files, a_second_start_hands_its_files_over_whole) {
    const string_list paths = {"/m/a b.mp3", "/m/#1 100%.m3u", "/m/line\nbreak.mp3", "/m/\xC3\xA9t\xC3\xA9 & co, 'q'.pls",
                               "/m/bad\xFF"};
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        hand_over_reader reader;
        const std::string text = hand_over_text(paths);
        bool more = true;
        for (std::size_t at = 0; at < text.size() && more; at += piece)
            more = reader.feed(std::string_view(text).substr(at, piece));
        EXPECT_TRUE(reader.complete()) << piece;
        EXPECT_EQ(reader.paths(), paths) << piece;
    }
    for (const char* broken : {"OPEN /m/not-a-uri\nEND\n", "HELLO\n", "OPEN \n"}) {
        hand_over_reader reader;
        EXPECT_FALSE(reader.feed(broken));
        EXPECT_FALSE(reader.complete()) << broken;
    }

    // The running instance answers once it has the whole list; a silent or absent one is not relied on.
    platform::scripted_local_sockets sockets;
    hand_over_reader received;
    sockets.listen("/run/k.sock", [&](const std::string& line) {
        received.feed(line + "\n");
        return received.complete() ? std::vector<std::string>{"OK"} : std::vector<std::string>{};
    });
    sockets.listen("/run/silent.sock", [](const std::string&) { return std::vector<std::string>{}; });
    EXPECT_TRUE(hand_over(sockets, "/run/k.sock", {"/m/a.mp3"}));
    EXPECT_EQ(received.paths(), (string_list{"/m/a.mp3"}));
    EXPECT_FALSE(hand_over(sockets, "/run/silent.sock", {"/m/a.mp3"}));
    EXPECT_FALSE(hand_over(sockets, "/run/none.sock", {"/m/a.mp3"}));
    EXPECT_FALSE(hand_over(sockets, "", {}));
}

TEST(open_files, folders_and_playlists_are_added_at_the_end_in_their_order) {
    testing::temp_folder folder;
    const auto file = [&](const std::string& name) { return folder.file(name); };
    std::filesystem::create_directories(file("album"));
    for (const char* name : {"one.mp3", "two.mp3", "album/three.mp3", "notes.txt"})
        testing::write_raw(file(name), "x");
    testing::write_raw(file("list.m3u"), "two.mp3\r\none.mp3\r\n");
    media_files media;
    media.load({"MP3", "M3U"}, {});
    media_list list;
    list.append(make_media_info(media_fields{"/old.mp3"}), "");
    platform::random_source random(1);
    drop_settings shuffled;
    shuffled.drag_n_drop = 2;
    shuffled.drag_n_drop_rnd = true;
    const auto info = [](const std::string& path) { return make_media_info(media_fields{path}); };

    const open_result files = open_files(list, {file("list.m3u"), file("one.mp3"), file("notes.txt")}, shuffled,
                                         media, info, random, {});
    EXPECT_EQ(files.added, 3);
    EXPECT_FALSE(files.reset);
    EXPECT_EQ(files.inserted, (row_range{1, 3}));

    string_list folders;
    const open_result with_folder = open_files(list, {file("album"), file("two.mp3")}, shuffled, media, info, random,
                                               [&](const std::string& path) {
                                                   folders.push_back(path);
                                                   list.append(info(path + "/three.mp3"), "");
                                                   return 1;
                                               });
    EXPECT_EQ(with_folder.added, 2);
    EXPECT_TRUE(with_folder.reset);
    EXPECT_EQ(folders, (string_list{file("album")}));
    string_list paths;
    for (int row = 0; row < list.count(); ++row)
        paths.emplace_back(list.full_path(row));
    EXPECT_EQ(paths, (string_list{"/old.mp3", file("two.mp3"), file("one.mp3"), file("one.mp3"),
                                  file("album/three.mp3"), file("two.mp3")}));
}

} // namespace
} // namespace karvo
