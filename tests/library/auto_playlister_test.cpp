// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/auto_playlister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/media_entry.h"
#include "library/playlist_class.h"
#include "platform/testing/pumped_dispatcher.h"
#include "platform/testing/read_counter.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::temp_folder;
using testing::write_raw;

struct action_row {
    const char* name;
    auto_playlister_options options;
    std::string player;
    bool playlist_exists;
    std::vector<std::string> calls; // in order, for the one new file
    bool appended;
};

// The change handler called directly, the watcher idle: what each setting makes happen to one new file.
TEST(AutoPlaylister, ActsOnANewFileInTheOrderOfItsActions) {
    const auto with = [](bool enqueue, bool add, bool saved, std::string name = "Mine") {
        return auto_playlister_options{true, "", enqueue, add, saved, std::move(name)};
    };
    const action_row table[] = {
        {"all, WinAMP", with(true, true, true), "WinAMP", true, {"winamp", "add", "info"}, true},
        {"all, NAD", with(true, true, true), "NAD", true, {"nad", "add", "info"}, true},
        {"Sonique is not told", with(true, false, false), "Sonique", true, {}, false},
        {"any other player: the window's enqueue", with(true, false, false), "mpv", true, {"other"}, false},
        {"all off: only recorded", with(false, false, false), "WinAMP", true, {}, false},
        {"missing saved playlist skipped", with(false, true, true), "WinAMP", false, {"add"}, false},
        {"no saved playlist named", with(false, false, true, ""), "WinAMP", true, {}, false},
    };
    for (const action_row& r : table) {
        temp_folder watched, data;
        write_raw(watched.file("old.mp3"), "x");
        platform::pumped_dispatcher ui;
        TFSNotify watcher(ui);
        media_files media;
        media.load({"MP3"}, {});
        folder_scanner scanner(media);
        playlist_class store(data.path());
        const std::string stored_line = make_media_info(media_fields{"/x/stored.mp3"});
        if (r.playlist_exists)
            store.save("Mine", {stored_line});
        std::vector<std::string> calls;
        const auto record = [&](const char* what) {
            return [&calls, what](const std::string&) { calls.push_back(what); };
        };
        auto_playlister playlister({watcher,
                                    scanner,
                                    store,
                                    [&](const std::string& path) {
                                        calls.push_back("info");
                                        return make_media_info(media_fields{path});
                                    },
                                    [&] { return r.player; },
                                    record("winamp"),
                                    record("nad"),
                                    record("add"),
                                    {},
                                    record("other")});
        auto_playlister_options options = r.options;
        options.dir = watched.path();
        options.enabled = false; // the handler alone, no thread
        playlister.reload(options);
        scanner.initial_scan();
        write_raw(watched.file("new.mp3"), "x");
        playlister.AutoPlaylisterChange(watcher);
        playlister.AutoPlaylisterChange(watcher); // a second change finds nothing new
        EXPECT_EQ(calls, r.calls) << r.name;
        EXPECT_TRUE(scanner.is_known(watched.file("new.mp3"))) << r.name;
        EXPECT_FALSE(store.exists("") || (!r.playlist_exists && store.exists("Mine"))) << r.name;
        if (r.playlist_exists) {
            string_list expected{stored_line};
            if (r.appended)
                expected.push_back(make_media_info(media_fields{watched.file("new.mp3")}));
            EXPECT_EQ(store.load("Mine"), expected) << r.name;
        }
    }
}

// A burst of new files reaches the saved playlist in one read and one write, each described file once, in the
// order found; a file the plug-in cannot describe adds no line. A later change adds nothing again.
TEST(AutoPlaylister, ABurstIsAppendedToTheSavedPlaylistInOneWrite) {
    temp_folder watched, data;
    platform::pumped_dispatcher ui;
    TFSNotify watcher(ui);
    media_files media;
    media.load({"MP3"}, {});
    folder_scanner scanner(media);
    playlist_class store(data.path());
    const std::string old_line = make_media_info(media_fields{"/x/old.mp3"});
    store.save("Mine", {old_line});
    auto_playlister playlister({watcher, scanner, store, [](const std::string& path) {
                                    return path.ends_with("bad.mp3") ? std::string() : make_media_info({path});
                                },
                                {}, {}, {}, {}, {}});
    playlister.reload({false, watched.path(), false, false, true, "Mine"});
    scanner.initial_scan();
    string_list expected{old_line};
    for (int i = 0; i < 40; ++i) {
        const std::string name = "n" + std::to_string(100 + i) + ".mp3";
        write_raw(watched.file(name), "x");
        expected.push_back(make_media_info({watched.file(name)}));
    }
    write_raw(watched.file("bad.mp3"), "x");
    platform::read_counter reads;
    playlister.AutoPlaylisterChange(watcher);
    EXPECT_EQ(reads.reads(), 1u);
    playlister.AutoPlaylisterChange(watcher);
    string_list lines = store.load("Mine");
    std::sort(lines.begin() + 1, lines.end());
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace karvo
