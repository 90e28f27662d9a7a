// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/file_uri.h"
#include "players/player_table.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {
namespace {

TEST(player_table, user_lines_extend_and_change_the_shipped_rows_and_bad_lines_are_reported_once) {
    temp_folder program;
    temp_folder data;
    ASSERT_TRUE(platform::write_file_atomic(program.file("players.ini"),
                                            "; shipped\n[vlc]\nbus = vlc\nenqueue = -e %F\nstop = -s\n"));
    ASSERT_TRUE(platform::write_file_atomic(data.file("players.ini"),
                                            "stray = line\n[VLC]\nstop =\nBus = vlc vlc2\nnonsense\n"
                                            "[my player\n[Tiny]\ndesktop = tiny\ncolour = red\n"));
    const player_table table = load_player_table(program.path(), data.path());
    ASSERT_EQ(table.rows.size(), 2u);
    const player_row* vlc = table.find("/usr/bin/vlc");
    ASSERT_NE(vlc, nullptr);
    EXPECT_EQ(vlc->bus_names, (std::vector<std::string>{"vlc", "vlc2"}));
    EXPECT_EQ(vlc->enqueue, "-e %F");
    EXPECT_EQ(vlc->stop, "");
    ASSERT_NE(table.find("/opt/TINY.exe"), nullptr);
    EXPECT_EQ(table.find("/opt/TINY.exe")->desktop_entry, "tiny");
    EXPECT_EQ(table.find(""), nullptr);
    EXPECT_EQ(table.problems,
              std::vector<std::string>{data.file("players.ini") + ": lines 1, 5, 6, 9 not understood and skipped"});
}

TEST(player_table, the_shipped_table_reads_without_problems) {
    const std::filesystem::path shipped = std::filesystem::path(KARVO_SOURCE_DIR) / "app/resources";
    const player_table table = load_player_table(shipped.string(), shipped.string());
    EXPECT_TRUE(table.problems.empty()) << table.problems.front();
    for (const char* program : {"audacious", "mpv", "vlc", "strawberry", "qmmp", "celluloid"})
        EXPECT_NE(table.find(std::string("/usr/bin/") + program), nullptr) << program;
}

TEST(file_uri, paths_survive_the_round_trip) {
    struct uri_case {
        std::string path, uri;
    };
    const std::vector<uri_case> cases = {
        {"/m/a.mp3", "file:///m/a.mp3"},
        {"/m/b c#1 100%.mp3", "file:///m/b%20c%231%20100%25.mp3"},
        {"/m/\xC3\xA9t\xC3\xA9.ogg", "file:///m/%C3%A9t%C3%A9.ogg"},
        {"/m/latin1 \xE9\xFF.mp3", "file:///m/latin1%20%E9%FF.mp3"},
        {"/m/?&=+;'\"", "file:///m/%3F%26%3D%2B%3B%27%22"},
        {"/a|b.mp3", "file:///a%7Cb.mp3"},
        {"/a:b.mp3", "file:///a%3Ab.mp3"},
    };
    for (const uri_case& c : cases) {
        EXPECT_EQ(platform::file_uri(c.path), c.uri);
        EXPECT_EQ(platform::path_of_file_uri(c.uri), c.path);
    }
    for (const char* other : {"http://host/a.mp3", "file://otherhost/a.mp3", "file:", "/m/a.mp3"})
        EXPECT_EQ(platform::path_of_file_uri(other), "") << other;
    EXPECT_EQ(platform::path_of_file_uri("file://localhost/m/x%2"), "/m/x%2");
    // Only a drive letter with its mark and nothing more before the slash names a Windows drive.
    EXPECT_EQ(platform::path_of_file_uri("file:///C|/M/a.mp3"), "C:/M/a.mp3");
    EXPECT_EQ(platform::path_of_file_uri("file:///C:/M/a.mp3"), "C:/M/a.mp3");
    EXPECT_EQ(platform::path_of_file_uri("file:///a|b.mp3"), "/a|b.mp3");
}

} // namespace
} // namespace karvo::testing
