// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/folder_scanner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::temp_folder;
using testing::write_raw;

media_files plugin_media(const std::vector<std::string>& disabled = {}) {
    media_files media;
    media.load({"MP3", "WAV", "ogg", "FLAC", "", "ÉTÉ"}, [&](const std::string& extension) {
        return std::find(disabled.begin(), disabled.end(), extension) == disabled.end();
    });
    return media;
}

std::string info_for(const std::string& path) {
    media_fields fields;
    fields[0] = path;
    fields[1] = "song of " + platform::file_name_of(path);
    return make_media_info(fields);
}

TEST(media_files, DecidesByTheEnabledExtensionOfTheName) {
    const media_files media = plugin_media({"WAV"});
    struct row {
        const char* path;
        bool media;
        int icon;
    };
    for (const row& r : {
             row{"/m/song.mp3", true, 0},
             row{"/m/Song.Mp3", true, 0},
             row{"/m/SONG.MP3", true, 0},
             row{"/m/track.ogg", true, 2}, // the plug-in spelled it in lower case
             row{"/m/track.OGG", true, 2},
             row{"/m/take.wav", false, 1}, // switched off in [Advanced]: still its icon
             row{"/m/notes.txt", false, 9},
             row{"/m/noext", false, 9},
             row{"/m/trailing.", false, 9},       // an empty extension never counts, even if listed
             row{"/m/album.mp3/cover", false, 9}, // the dot belongs to the folder
             row{"/m/.mp3", true, 0},
             row{"/m/archive.mp3.gz", false, 9},
             row{"/m/chanson.été", true, 5}, // non-ASCII extensions upper-case too
             row{"/m/\xff\xfe.flac", true, 3},
         }) {
        EXPECT_EQ(media.is_media_file(r.path), r.media) << r.path;
        EXPECT_EQ(media.icon_index(r.path), r.icon) << r.path;
    }
    EXPECT_EQ(media.enabled(), (string_list{"MP3", "ogg", "FLAC", "", "ÉTÉ"}));
    media_files none;
    EXPECT_FALSE(none.is_media_file("/m/song.mp3"));
}

TEST(folder_listing, TwelveFilesGiveTwelveNumberedLinesThenTheCount) {
    temp_folder tmp;
    const std::vector<std::string> names = {"b.mp3", "A.mp3",  "c.WAV", "a2.ogg", "Zed.flac", "m.mp3",
                                            "x.ogg", "B2.mp3", "é.mp3", "d.flac", "e.mp3",    "_u.mp3"};
    for (const auto& n : names)
        write_raw(tmp.file(n), "x");
    for (const char* n : {"readme.txt", "noext"})
        write_raw(tmp.file(n), "x");
    fs::create_directories(tmp.file("sub.mp3/inner")); // a folder with a media name is never listed
    write_raw(tmp.file("sub.mp3/inner/deep.mp3"), "x");
    fs::create_directories(tmp.file(".hidden.mp3"));

    const media_files media = plugin_media();
    my_computer_list listing;
    listing.append(info_for("/old/entry.mp3")); // the previous folder's content goes
    std::vector<std::string> lines;
    std::vector<std::string> asked;
    int updating = 0, final_count = -1;
    const folder_listing_callbacks callbacks{
        [&](const std::string& path) {
            asked.push_back(path);
            return info_for(path);
        },
        [&](const std::string& text) { lines.push_back(text); },
        [&] {
            ++updating;
            EXPECT_EQ(listing.count(), 0);
        },
        [&](int count) {
            --updating;
            final_count = count;
        },
    };
    EXPECT_EQ(fill_folder_listing(tmp.path(), media, listing, callbacks), 12);

    // Upper-cased, then byte by byte: '_' comes after the letters, non-ASCII last.
    const std::vector<std::string> sorted = {"A.mp3", "a2.ogg", "b.mp3", "B2.mp3",   "c.WAV",  "d.flac",
                                             "e.mp3", "m.mp3",  "x.ogg", "Zed.flac", "_u.mp3", "é.mp3"};
    ASSERT_EQ(lines.size(), 13u);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(lines[n - 1],
                  "Reading File Information for: " + sorted[n - 1] + " (" + std::to_string(n) + " of 12)");
    EXPECT_EQ(lines.back(), "There are 12 media files in the current folder.");
    EXPECT_EQ(updating, 0);
    EXPECT_EQ(final_count, 12);
    ASSERT_EQ(listing.count(), 12);
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(asked[row], tmp.path() + "/" + sorted[row]);
        EXPECT_EQ(listing.full_path(row), tmp.path() + "/" + sorted[row]);
        EXPECT_EQ(listing.cell(Song, row), "song of " + sorted[row]);
    }

    // The same folder named with a trailing slash, and a folder without media files.
    lines.clear();
    EXPECT_EQ(fill_folder_listing(tmp.path() + "/", media, listing, {info_for, {}, {}, {}}), 12);
    EXPECT_EQ(listing.full_path(0), tmp.path() + "/A.mp3");
    for (const std::string& folder : {tmp.file("sub.mp3"), tmp.file("missing")}) {
        lines.clear();
        EXPECT_EQ(fill_folder_listing(folder, media, listing, callbacks), 0);
        EXPECT_EQ(lines, std::vector<std::string>{"There are 0 media files in the current folder."});
        EXPECT_EQ(listing.count(), 0);
    }
}

struct scanner_tree {
    temp_folder tmp;
    scanner_tree() {
        fs::create_directories(tmp.file("disc/cd1"));
        fs::create_directories(tmp.file("disc/.trash"));
        for (const char* f : {"disc/one.mp3", "disc/cover.jpg", "disc/cd1/two.WAV", "disc/cd1/three.ogg",
                              "disc/.trash/old.mp3", "disc/cd1/notes"})
            write_raw(tmp.file(f), "x");
    }
    std::vector<std::string> media_paths() const {
        return {tmp.file("disc/one.mp3"), tmp.file("disc/cd1/two.WAV"), tmp.file("disc/cd1/three.ogg")};
    }
};

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(folder_scanner, ScanDirAppendsEveryMediaFileWithAnEmptyListName) {
    scanner_tree tree;
    const media_files media = plugin_media();
    folder_scanner scanner(media);
    media_list playlist;
    playlist.append(info_for("/kept.mp3"), "Saved");
    std::vector<std::string> messages;
    const int added = scanner.scan_dir(tree.tmp.file("disc/"), playlist, info_for,
                                       [&](const std::string& text) { messages.push_back(text); });
    EXPECT_EQ(added, 3);
    ASSERT_EQ(playlist.count(), 4);
    EXPECT_EQ(playlist.full_path(0), "/kept.mp3");
    std::vector<std::string> paths;
    for (int row = 1; row < 4; ++row) {
        paths.emplace_back(playlist.full_path(row));
        EXPECT_EQ(playlist.cell(ListName, row), "");
        EXPECT_EQ(messages[row - 1], "Adding to Playlist: " + std::string(playlist.full_path(row)));
    }
    EXPECT_EQ(sorted(paths), sorted(tree.media_paths()));
    EXPECT_TRUE(scanner.ScanDir.IsIdle());
}

// A file the plug-in cannot describe (no answer, or an answer without a path) becomes no entry anywhere: not in
// the listing, not in a scan, not over an entry it would replace; and the status line counts it.
TEST(folder_scanner, AFileWithoutMediaInformationIsLeftOutAndCounted) {
    const std::string blank_answers[] = {"", std::string(16, info_separator), "no separator", make_media_info({})};
    for (const std::string& blank : blank_answers) {
        SCOPED_TRACE(::testing::PrintToString(blank));
        media_list list;
        EXPECT_FALSE(list.append(blank, ""));
        EXPECT_FALSE(list.insert(0, blank, ""));
        ASSERT_TRUE(list.append(info_for("/kept.mp3"), "L"));
        EXPECT_FALSE(list.replace(0, blank));
        EXPECT_EQ(list.full_path(0), "/kept.mp3");
        EXPECT_EQ(list.count(), 1);
        my_computer_list listing;
        EXPECT_FALSE(listing.append(blank));
        EXPECT_EQ(listing.count(), 0);

        scanner_tree tree; // one.mp3, cd1/two.WAV, cd1/three.ogg
        const auto source = [&](const std::string& path) {
            return path.find("two") != std::string::npos ? blank : info_for(path);
        };
        const media_files media = plugin_media();
        folder_scanner scanner(media);
        media_list playlist;
        EXPECT_EQ(scanner.scan_dir(tree.tmp.file("disc"), playlist, source, {}), 2);
        EXPECT_EQ(scanner.left_out(), 1);
        EXPECT_EQ(playlist.count(), 2);
        std::vector<std::string> lines;
        fill_folder_listing(tree.tmp.file("disc/cd1"), media, listing,
                            {source, [&](const std::string& text) { lines.push_back(text); }, {}, {}});
        EXPECT_EQ(listing.count(), 1);
        EXPECT_EQ(lines.back(), "There are 1 media files in the current folder. 1 file was left out: no media "
                                "information could be read.");
    }
}

// A read that does not come back holds up neither the walk nor the other files: they are added in the walk's order
// and the stuck file follows once its read ends (here: when everything else is in, or after 20 s at worst).
TEST(folder_scanner, AStuckReadDoesNotHoldUpTheRestOfTheScan) {
    temp_folder tmp;
    fs::create_directory(tmp.file("d"));
    for (const char* name : {"a1.mp3", "a2.mp3", "b_stuck.mp3", "c1.mp3", "c2.mp3", "c3.mp3", "d/e.mp3"})
        write_raw(tmp.file(name), "x");
    std::mutex mutex;
    std::condition_variable others_in;
    int added = 0;
    const auto source = [&](const std::string& path) {
        if (path.ends_with("stuck.mp3")) {
            std::unique_lock lock(mutex);
            others_in.wait_for(lock, std::chrono::seconds(20), [&] { return added == 6; });
        }
        return info_for(path);
    };
    const media_files media = plugin_media();
    folder_scanner scanner(media);
    media_list playlist;
    const auto start = std::chrono::steady_clock::now();
    scanner.scan_dir(tmp.path(), playlist, source, [&](const std::string&) {
        const std::lock_guard lock(mutex);
        ++added;
        others_in.notify_all();
    }, {true, 2, 0});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    std::vector<std::string> names;
    for (int row = 0; row < playlist.count(); ++row)
        names.push_back(fs::path(std::string(playlist.full_path(row))).lexically_relative(tmp.path()).string());
    EXPECT_EQ(names, (std::vector<std::string>{"a1.mp3", "a2.mp3", "c1.mp3", "c2.mp3", "c3.mp3", "d/e.mp3",
                                               "b_stuck.mp3"}));
}

TEST(folder_scanner, PlayThisLocationWritesTheTemporaryListBeforeStartingThePlayer) {
    scanner_tree tree;
    const media_files media = plugin_media({"ogg"});
    folder_scanner scanner(media);
    temp_folder data;
    std::vector<std::string> events;
    const auto writer = [&](const string_list& paths) {
        events.push_back("write");
        return write_temp_playlist(data.path(), paths);
    };
    EXPECT_TRUE(scanner.play_this_location(tree.tmp.file("disc"), writer, [&] { events.push_back("start"); }));
    EXPECT_EQ(events, (std::vector<std::string>{"write", "start"}));
    EXPECT_EQ(sorted(scanner.collected()), sorted({tree.tmp.file("disc/one.mp3"), tree.tmp.file("disc/cd1/two.WAV")}));
    EXPECT_EQ(load_lines(temp_playlist_path(data.path())), scanner.collected());

    std::string handed;
    EXPECT_TRUE(scanner.play_this_location(tree.tmp.file("disc/cd1"), data.path(),
                                           [&](const std::string& list) { handed = list; }));
    EXPECT_EQ(handed, data.file("temp_playlist.m3u"));
    EXPECT_EQ(load_lines(handed), string_list{tree.tmp.file("disc/cd1/two.WAV")});
    EXPECT_FALSE(scanner.play_this_location(tree.tmp.file("disc"), data.file("missing/folder"),
                                            [&](const std::string& list) { handed = "started " + list; }));
    EXPECT_EQ(handed, data.file("temp_playlist.m3u"));

    // A list that cannot be written must not make the player play the previous one.
    events.clear();
    EXPECT_FALSE(scanner.play_this_location(
        tree.tmp.file("disc/cd1"), [](const string_list&) { return false; }, [&] { events.push_back("start"); }));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(scanner.collected(), string_list{tree.tmp.file("disc/cd1/two.WAV")}); // cleared, then collected
}

TEST(folder_scanner, AutoPlaylisterActsOnEachNewMediaFileOnce) {
    scanner_tree tree;
    const media_files media = plugin_media();
    folder_scanner scanner(media);
    scanner.set_watched_folder(tree.tmp.file("disc"));
    scanner.initial_scan();
    EXPECT_EQ(scanner.known_files(), (string_list{tree.tmp.file("disc/cd1/three.ogg"),
                                                  tree.tmp.file("disc/cd1/two.WAV"), tree.tmp.file("disc/one.mp3")}));

    std::vector<std::string> acted;
    const auto act = [&](const std::string& path) { acted.push_back(path); };
    scanner.change_scan(act);
    EXPECT_TRUE(acted.empty()); // files present at start are never acted on

    for (const char* f : {"disc/new.mp3", "disc/cd1/New.MP3", "disc/readme.txt", "disc/.trash/x.mp3"})
        write_raw(tree.tmp.file(f), "x");
    scanner.change_scan(act);
    EXPECT_EQ(sorted(acted), sorted({tree.tmp.file("disc/new.mp3"), tree.tmp.file("disc/cd1/New.MP3")}));
    acted.clear();
    fs::rename(tree.tmp.file("disc/new.mp3"), tree.tmp.file("disc/renamed.mp3"));
    fs::remove(tree.tmp.file("disc/cd1/New.MP3"));
    scanner.change_scan(act);
    scanner.change_scan(act);
    EXPECT_EQ(acted, std::vector<std::string>{tree.tmp.file("disc/renamed.mp3")});
    EXPECT_TRUE(scanner.is_known(tree.tmp.file("disc/cd1/New.MP3")));  // seen once: never acted on again
    EXPECT_FALSE(scanner.is_known(tree.tmp.file("disc/cd1/new.mp3"))); // paths keep their case

    scanner.initial_scan(); // a settings reload rebuilds the list from what is there now
    EXPECT_FALSE(scanner.is_known(tree.tmp.file("disc/cd1/New.MP3")));
    EXPECT_TRUE(scanner.is_known(tree.tmp.file("disc/renamed.mp3")));
}

TEST(folder_scanner, AScanStartedWhileTheSameScannerRunsIsRefusedWithoutDisturbingIt) {
    scanner_tree tree;
    const media_files media = plugin_media();
    folder_scanner scanner(media);
    scanner.set_watched_folder(tree.tmp.file("disc"));
    std::vector<std::string> acted;
    std::string refusal;
    scanner.change_scan([&](const std::string& path) {
        acted.push_back(path);
        try { // a folder change delivered while the status line repaints
            scanner.change_scan([&](const std::string& inner) { acted.push_back("inner " + inner); });
        } catch (const file_iterator_error& e) {
            refusal = e.what();
        }
    });
    EXPECT_EQ(refusal, "Iterator is not available at the moment. Please call later, but do call");
    EXPECT_EQ(sorted(acted), sorted(tree.media_paths()));

    media_list playlist;
    EXPECT_THROW(
        scanner.scan_dir(tree.tmp.file("disc"), playlist, info_for,
                         [&](const std::string&) { scanner.scan_dir(tree.tmp.file("disc"), playlist, info_for, {}); }),
        file_iterator_error);
    EXPECT_TRUE(scanner.ScanDir.IsIdle());
}

} // namespace
} // namespace karvo
