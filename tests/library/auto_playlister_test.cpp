// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/auto_playlister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <thread>

#include "library/media_entry.h"
#include "library/playlist_class.h"
#include "platform/testing/pumped_dispatcher.h"
#include "platform/testing/read_counter.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;

// A watched folder, the scanner of MP3 files and a saved-playlist store in a folder of their own.
struct watch_fixture {
    testing::temp_folder watched, data;
    platform::pumped_dispatcher ui;
    TFSNotify watcher{ui};
    media_files media;
    bool mp3_only = (media.load({"MP3"}, {}), true);
    folder_scanner scanner{media};
    playlist_class store{data.path()};
};
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
        {"all, WinAMP", with(true, true, true), "WinAMP", true, {"info", "winamp", "add"}, true},
        {"all, NAD", with(true, true, true), "NAD", true, {"info", "nad", "add"}, true},
        {"Sonique is not told", with(true, false, false), "Sonique", true, {}, false},
        {"any other player: the window's enqueue", with(true, false, false), "mpv", true, {"other"}, false},
        {"all off: only recorded", with(false, false, false), "WinAMP", true, {}, false},
        {"missing saved playlist skipped", with(false, true, true), "WinAMP", false, {"add"}, false},
        {"no saved playlist named", with(false, false, true, ""), "WinAMP", true, {}, false},
    };
    for (const action_row& r : table) {
        watch_fixture f;
        write_raw(f.watched.file("old.mp3"), "x");
        const std::string stored_line = make_media_info(media_fields{"/x/stored.mp3"});
        if (r.playlist_exists)
            f.store.save("Mine", {stored_line});
        std::vector<std::string> calls;
        const auto record = [&](const char* what) {
            return [&calls, what](const std::string&) { calls.push_back(what); };
        };
        auto_playlister playlister({f.watcher,
                                    f.scanner,
                                    f.store,
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
        options.dir = f.watched.path();
        options.enabled = false; // the handler alone, no thread
        playlister.reload(options);
        f.scanner.initial_scan();
        write_raw(f.watched.file("new.mp3"), "x");
        playlister.AutoPlaylisterChange(f.watcher);
        playlister.AutoPlaylisterChange(f.watcher); // a second change finds nothing new
        EXPECT_EQ(calls, r.calls) << r.name;
        EXPECT_TRUE(f.scanner.is_known(f.watched.file("new.mp3"))) << r.name;
        EXPECT_FALSE(f.store.exists("") || (!r.playlist_exists && f.store.exists("Mine"))) << r.name;
        if (r.playlist_exists) {
            string_list expected{stored_line};
            if (r.appended)
                expected.push_back(make_media_info(media_fields{f.watched.file("new.mp3")}));
            EXPECT_EQ(f.store.load("Mine"), expected) << r.name;
        }
    }
}

// A burst of new files reaches the saved playlist in one read and one write, each described file once, in the
// order found; a file the plug-in cannot describe adds no line. A later change adds nothing again.
TEST(AutoPlaylister, ABurstIsAppendedToTheSavedPlaylistInOneWrite) {
    watch_fixture f;
    const std::string old_line = make_media_info(media_fields{"/x/old.mp3"});
    f.store.save("Mine", {old_line});
    auto_playlister playlister({f.watcher, f.scanner, f.store, [](const std::string& path) {
                                    return path.ends_with("bad.mp3") ? std::string() : make_media_info({path});
                                },
                                {}, {}, {}, {}, {}});
    playlister.reload({false, f.watched.path(), false, false, true, "Mine"});
    f.scanner.initial_scan();
    string_list expected{old_line};
    for (int i = 0; i < 40; ++i) {
        const std::string name = "n" + std::to_string(100 + i) + ".mp3";
        write_raw(f.watched.file(name), "x");
        expected.push_back(make_media_info({f.watched.file(name)}));
    }
    write_raw(f.watched.file("bad.mp3"), "x");
    platform::read_counter reads;
    playlister.AutoPlaylisterChange(f.watcher);
    EXPECT_EQ(reads.reads(), 1u);
    playlister.AutoPlaylisterChange(f.watcher);
    string_list lines = f.store.load("Mine");
    std::sort(lines.begin() + 1, lines.end());
    EXPECT_EQ(lines, expected);
}

// A burst's job on a worker: its reads run there with progress; a change meanwhile is scanned after it; a cancel
// leaves the unread files out of both playlists, and the saved playlist still gets the read ones in one write.
TEST(AutoPlaylister, ABurstRunsAsAJobThatCanBeCancelled) {
    watch_fixture f;
    f.store.save("Mine", {});
    std::promise<void> change_seen;
    std::shared_future<void> change_seen_future = change_seen.get_future().share();
    auto_playlister* self = nullptr;
    std::vector<std::string> added;
    std::thread worker;
    std::function<void()> finish_later;
    auto_playlister_services services{f.watcher, f.scanner, f.store,
                                      [&](const std::string& path) {
                                          if (path.ends_with("n101.mp3"))
                                              change_seen_future.wait(); // the window takes a change meanwhile
                                          if (path.ends_with("n103.mp3"))
                                              self->running_burst()->control().cancel();
                                          return make_media_info({path});
                                      },
                                      {}, {}, {}, {}, {}};
    services.add_burst_to_playlist = [&](const std::vector<burst_file>& files) {
        for (const burst_file& file : files)
            added.push_back(fs::path(file.path).filename().string());
    };
    services.run_burst = [&](std::shared_ptr<auto_playlist_burst> job, std::function<void()> finish) {
        worker = std::thread([job] { job->run(); });
        finish_later = std::move(finish);
    };
    auto_playlister playlister(std::move(services));
    self = &playlister;
    playlister.reload({false, f.watched.path(), false, true, true, "Mine"});
    f.scanner.initial_scan();
    for (int i = 0; i < 10; ++i)
        write_raw(f.watched.file("n" + std::to_string(100 + i) + ".mp3"), "x");
    playlister.AutoPlaylisterChange(f.watcher);
    const std::shared_ptr<auto_playlist_burst> job = playlister.running_burst();
    ASSERT_TRUE(job);
    write_raw(f.watched.file("n200.mp3"), "x");
    playlister.AutoPlaylisterChange(f.watcher); // returns at once: the burst's job is running
    change_seen.set_value();
    worker.join();
    EXPECT_TRUE(job->control().finished());
    EXPECT_EQ(job->control().done(), 4);
    EXPECT_EQ(job->skipped(), 6);
    EXPECT_TRUE(added.empty()); // nothing is acted on before the job is over
    const auto finish_now = [&] {
        const std::function<void()> finish = std::move(finish_later); // a finish may start the next burst
        finish();
    };
    finish_now(); // back on this thread: acts on the files read, then scans the change it was told of
    worker.join();
    finish_now();
    EXPECT_EQ(added, (std::vector<std::string>{"n100.mp3", "n101.mp3", "n102.mp3", "n103.mp3", "n200.mp3"}));
    string_list expected;
    for (const char* name : {"n100.mp3", "n101.mp3", "n102.mp3", "n103.mp3", "n200.mp3"})
        expected.push_back(make_media_info({f.watched.file(name)}));
    EXPECT_EQ(f.store.load("Mine"), expected);
}

} // namespace
} // namespace karvo
