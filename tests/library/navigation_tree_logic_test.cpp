// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/navigation_tree_logic.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_class.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using platform::drive_info;
using platform::drive_type;

std::string entry(const std::string& path, const std::string& artist, const std::string& album = "",
                  const std::string& quality = "128") {
    media_fields fields;
    fields[0] = path;
    fields[2] = artist;
    fields[3] = album;
    fields[12] = quality;
    return make_media_info(fields);
}

TEST(NavigationTreeLogic, DriveNodeTextAndImage) {
    struct row {
        drive_info drive;
        std::string text;
        int image;
    } rows[] = {
        {{"/", drive_type::fixed, "system", 1}, "/ [SYSTEM]", img_fixed},
        {{"/media/cdrom/", drive_type::cdrom, "", 2}, "/media/cdrom []", img_cdrom},
        {{"/media/usb stick/", drive_type::removable, "Été 2003", 3}, "/media/usb stick [ÉTÉ 2003]", img_removable},
        {{"/net/share/", drive_type::network, "Music", 4}, "/net/share [MUSIC]", img_network},
    };
    for (const row& r : rows) {
        EXPECT_EQ(drive_node_text(r.drive), r.text);
        EXPECT_EQ(drive_image(r.drive.type), r.image) << r.text;
    }
}

TEST(NavigationTreeLogic, DriveListsAndTheCdromOfAPath) {
    const std::vector<drive_info> drives = {{"/", drive_type::fixed, "", 1},
                                            {"/media/cd/", drive_type::cdrom, "DISC", 2},
                                            {"/media/cd/inner/", drive_type::fixed, "", 3},
                                            {"/media/dvd/", drive_type::cdrom, "", 4}};
    const drive_lists lists = make_drive_lists(drives);
    EXPECT_EQ(lists.roots, (string_list{"/", "/media/cd/", "/media/cd/inner/", "/media/dvd/"}));
    EXPECT_EQ(lists.cdrom_roots, (string_list{"/media/cd/", "/media/dvd/"}));

    // The longest root a path lies under decides, not the first one that matches.
    EXPECT_TRUE(on_cdrom_drive("/media/cd/Jazz/", drives));
    EXPECT_FALSE(on_cdrom_drive("/media/cd/inner/x/", drives));
    EXPECT_TRUE(on_cdrom_drive("/media/dvd/", drives));
    EXPECT_FALSE(on_cdrom_drive("/media/cdx/", drives));
    EXPECT_FALSE(on_cdrom_drive("/home/", drives));
}

TEST(NavigationTreeLogic, SubFoldersArePlainFoldersSortedWithoutCase) {
    testing::temp_folder folder;
    for (const char* name : {"beta", "Alpha", ".hidden", "gamma", "Zulu"})
        fs::create_directory(folder.file(name));
    std::ofstream(folder.file("song.mp3")) << "x";
    std::ofstream(folder.file("Delta")) << "a file, not a folder";
    fs::create_directory_symlink(folder.file("beta"), folder.file("link_to_beta"));

    EXPECT_EQ(sub_folders(folder.path()), (string_list{"Alpha", "beta", "gamma", "link_to_beta", "Zulu"}));
    EXPECT_EQ(sub_folders(folder.path() + "/"), sub_folders(folder.path()));
    EXPECT_TRUE(sub_folders(folder.file("missing")).empty());
    EXPECT_TRUE(sub_folders(folder.file("song.mp3")).empty());
}

TEST(NavigationTreeLogic, NodePath) {
    const std::string folders[] = {"Music", "Jazz"};
    EXPECT_EQ(node_path("/", folders), "/Music/Jazz/");
    EXPECT_EQ(node_path("/media/cd/", std::span(folders, 1)), "/media/cd/Music/");
    EXPECT_EQ(node_path("/media/cd", {}), "/media/cd/");
}

TEST(NavigationTreeLogic, GroupingFields) {
    EXPECT_EQ(grouping_field("Albums"), 4);
    EXPECT_EQ(grouping_field("Artists"), 5);
    EXPECT_EQ(grouping_field("Genre"), 8);
    EXPECT_EQ(grouping_field("Year"), 6);
    EXPECT_EQ(grouping_field("Quality"), 11);
    EXPECT_EQ(grouping_field("albums"), std::nullopt);
    EXPECT_EQ(grouping_field(grouping_placeholder), std::nullopt);
}

TEST(NavigationTreeLogic, GroupingValuesAreDistinctTrimmedAndSorted) {
    struct row {
        const char* name;
        string_list lines;
        int field;
        string_list values;
    } rows[] = {
        {"no artist tags", {entry("/a.mp3", ""), entry("/b.mp3", "  ")}, Artist, {}},
        {"case and blanks fold together",
         {entry("/a.mp3", "monk"), entry("/b.mp3", " Evans "), entry("/c.mp3", "MONK"), entry("/d.mp3", "adderley")},
         Artist,
         {"adderley", "Evans", "monk"}},
        {"derived quality",
         {entry("/a.mp3", "", "", "128"), entry("/b.mp3", "", "", "192"), entry("/c.mp3", "")},
         Quality,
         {"128kbits", "192kbits"}},
    };
    for (const row& r : rows)
        EXPECT_EQ(grouping_values(r.lines, r.field), r.values) << r.name;
}

TEST(NavigationTreeLogic, GroupingFilterAlwaysStartsFromTheFullPlaylist) {
    media_list list;
    for (const auto& [path, album] : std::vector<std::pair<std::string, std::string>>{
             {"/1.mp3", "Kind of Blue"}, {"/2.mp3", "Time Out"}, {"/3.mp3", "kind of blue "}, {"/4.mp3", "Mingus"}})
        list.append(entry(path, "", album), "Jazz");

    show_grouping(list, Album, "Kind of Blue", true);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.full_path(0), "/3.mp3"); // walked from the last row, as the display search does
    EXPECT_EQ(list.full_path(1), "/1.mp3");
    EXPECT_EQ(list.cell(ListName, 0), "Jazz");

    // A second value filters the unfiltered copy, not the two rows shown.
    show_grouping(list, Album, "Time Out", false);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.full_path(0), "/2.mp3");
    show_grouping(list, Album, "Time Out", false);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(grouping_values(list, Album, true), (string_list{"Kind of Blue", "Mingus", "Time Out"}));

    // A fresh copy replaces a longer, stale one from another playlist.
    list.clear();
    list.append(entry("/x.mp3", "", "Mingus"), "Other");
    show_grouping(list, Album, "Mingus", true);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.full_path(0), "/x.mp3");
}

TEST(NavigationTreeLogic, AppendRowsToAStoredPlaylist) {
    testing::temp_folder data;
    playlist_class store(data.path());
    ASSERT_TRUE(store.save("Mix", {entry("/old.mp3", "A")}));
    media_list list;
    for (const char* path : {"/0.mp3", "/1.mp3", "/2.mp3"})
        list.append(entry(path, "B"), "");

    const int rows[] = {2, 0, 7};
    EXPECT_TRUE(append_rows_to_playlist(store, "Mix", list, rows));
    const string_list stored = store.load("Mix");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(parse_media_info(stored[1])[0], "/2.mp3");
    EXPECT_EQ(parse_media_info(stored[2])[0], "/0.mp3");

    EXPECT_FALSE(append_rows_to_playlist(store, "Gone", list, rows));
    EXPECT_FALSE(store.exists("Gone"));
    EXPECT_FALSE(append_rows_to_playlist(store, "Mix", list, {}));
    EXPECT_EQ(store.load("Mix").size(), 3u);
}

TEST(NavigationTreeLogic, DisplayAllSavedPlaylistsNamesEachEntry) {
    testing::temp_folder data;
    playlist_class store(data.path());
    ASSERT_TRUE(store.save("b list", {entry("/b1.mp3", ""), entry("/b2.mp3", "")}));
    ASSERT_TRUE(store.save("A list", {entry("/a1.mp3", "")}));
    media_list list;
    list.append(entry("/stale.mp3", ""), "");
    display_all_saved_playlists(store, list);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.full_path(0), "/a1.mp3");
    EXPECT_EQ(list.cell(ListName, 0), "A list");
    EXPECT_EQ(list.cell(ListName, 2), "b list");
}

TEST(NavigationTreeLogic, Hints) {
    EXPECT_EQ(playlist_hint("Jazz"), "Click to Display \"Jazz\" Playlists.");
    EXPECT_EQ(media_cd_hint("Disc 1"), "Click to Display \"Disc 1\" Media.");
}

} // namespace
} // namespace karvo
