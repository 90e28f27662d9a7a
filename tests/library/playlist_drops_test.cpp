// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_drops.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/command_texts.h"
#include "library/media_files.h"
#include "library/media_list.h"
#include "platform/random.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

std::string info_of(const std::string& path) {
    media_fields fields;
    fields[0] = path;
    return make_media_info(fields);
}

media_list rows(int count) {
    media_list list;
    for (int i = 0; i < count; ++i)
        list.append(info_of("/music/r" + std::to_string(i) + ".mp3"), "");
    return list;
}

// Display names, with the temporary folder's files shown by their bare names.
std::string order(const media_list& list) {
    std::string text;
    for (int i = 0; i < list.count(); ++i)
        text += std::string(i ? " " : "").append(list.cell(Media, i));
    return text;
}

TEST(playlist_drops, folder_listing_rows_go_where_drag_n_drop_says) {
    struct listing_case {
        const char* name;
        int mode;
        int row_under_point;
        const char* order;
        row_range inserted;
    };
    const std::vector<listing_case> cases = {
        {"at the end", 0, 1, "r0 r1 r2 r3 r4 r5 a b c", {6, 8}},
        {"on row 4", 1, 4, "r0 r1 r2 r3 a b c r4 r5", {4, 6}},
        {"below the last row", 1, -1, "a b c r0 r1 r2 r3 r4 r5", {0, 2}},
        {"at the top", 2, 4, "a b c r0 r1 r2 r3 r4 r5", {0, 2}},
    };
    platform::random_source random(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list = rows(6);
        drop_settings settings;
        settings.drag_n_drop = c.mode;
        const drop_result result =
            drop_listing_rows(list, {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, c.row_under_point, settings, info_of, random);
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(result.inserted, c.inserted);
        EXPECT_FALSE(result.shuffled);
    }
}

TEST(playlist_drops, shell_files_follow_the_add_and_insert_rules) {
    testing::temp_folder folder;
    const auto file = [&](const char* name) { return folder.file(name); };
    for (const char* name : {"a.mp3", "b.mp3", "notes.txt"})
        testing::write_raw(file(name), "x");
    std::filesystem::create_directory(file("dir.mp3"));
    testing::write_raw(file("list.m3u"),
                       "#EXTM3U\r\nb.mp3\r\n\r\n" + file("gone.mp3") + "\r\n" + file("a.mp3") + "\r\n");
    media_files media;
    media.load({"MP3", "M3U"}, {});

    struct shell_case {
        const char* name;
        int mode;
        bool verify, playlist_contents;
        string_list dropped;
        const char* order;
    };
    const std::vector<shell_case> cases = {
        {"a missing file is skipped when verifying",
         0,
         true,
         true,
         {"a.mp3", "gone.mp3", "notes.txt", "dir.mp3"},
         "r0 r1 a"},
        {"without verifying only the extension counts", 0, false, true, {"gone.mp3", "a.mp3"}, "r0 r1 gone a"},
        {"an M3U adds what it lists", 0, true, true, {"list.m3u", "b.mp3"}, "r0 r1 b a b"},
        {"or itself", 0, true, false, {"list.m3u"}, "r0 r1 list"},
        {"inserted files are not tested for existence", 1, true, true, {"gone.mp3", "list.m3u"}, "r0 gone b gone a r1"},
        {"at the top in dropped order", 2, true, true, {"b.mp3", "a.mp3"}, "b a r0 r1"},
    };
    platform::random_source random(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list = rows(2);
        drop_settings settings;
        settings.drag_n_drop = c.mode;
        settings.verify_on_startup = c.verify;
        settings.add_playlist_type = c.playlist_contents;
        string_list paths;
        for (const std::string& name : c.dropped)
            paths.push_back(file(name.c_str()));
        drop_shell_files(list, paths, 1, settings, media, info_of, random);
        EXPECT_EQ(order(list), c.order);
    }

    media_list list = rows(5);
    drop_settings shuffle;
    shuffle.drag_n_drop_rnd = true;
    const drop_result result = drop_shell_files(list, {file("a.mp3")}, -1, shuffle, media, info_of, random);
    EXPECT_TRUE(result.shuffled);
    EXPECT_EQ(list.count(), 6);
}

TEST(playlist_drops, the_waste_bin_takes_rows_and_nodes_below_the_two_roots) {
    const command_texts texts;
    struct waste_case {
        drag_source source;
        bool under_playlists, under_media_cds;
        waste_action action;
    };
    const std::vector<waste_case> cases = {
        {drag_source::playlist, false, false, waste_action::delete_selected},
        {drag_source::tree, true, false, waste_action::delete_playlist},
        {drag_source::tree, false, true, waste_action::remove_media_cd},
        {drag_source::tree, false, false, waste_action::refused}, // e.g. the "My Playlists" root itself
        {drag_source::other, true, false, waste_action::refused},
    };
    for (const auto& c : cases) {
        platform::scripted_prompts prompts;
        prompts.answer_message(platform::message_result::ok);
        EXPECT_EQ(waste_drop(c.source, c.under_playlists, c.under_media_cds, prompts, texts), c.action);
        EXPECT_EQ(prompts.questions().size(), c.action == waste_action::refused ? 1u : 0u);
    }
}

} // namespace
} // namespace karvo
