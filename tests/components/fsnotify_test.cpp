// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fsnotify/TFSNotify.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <thread>

#include "library/auto_playlister.h"
#include "library/media_entry.h"
#include "library/playlist_class.h"
#include "platform/testing/pumped_dispatcher.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::temp_folder;
using testing::write_raw;

// Pumps the user-interface queue until `done` holds or the time is up.
template <typename Done>
bool pump_until(platform::pumped_dispatcher& ui, Done done, std::chrono::milliseconds limit = 8s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ui.pump_for(20ms);
    }
    return true;
}

std::uintmax_t size_of(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

// A watched folder with the auto playlister in front of it; records every file acted on with its size then.
struct watched_playlister {
    temp_folder watched, outside, data;
    platform::pumped_dispatcher ui;
    TFSNotify watcher{ui};
    media_files media;
    folder_scanner scanner{media};
    playlist_class store{data.path()};
    std::map<std::string, std::vector<std::uintmax_t>> acted; // path -> size at each time it was acted on
    std::map<std::string, std::string> refreshed;             // path -> the info its rows got last
    std::unique_ptr<auto_playlister> playlister;

    // The info string holds the file's size when it was read.
    static std::string info(const std::string& path) {
        return make_media_info(media_fields{path, std::to_string(size_of(path))});
    }

    explicit watched_playlister(int settle_ms = 800) {
        media.load({"MP3"}, {});
        watcher.SetSettleTime(settle_ms);
        store.save("Auto", {});
        playlister = std::make_unique<auto_playlister>(auto_playlister_services{
            watcher, scanner, store, info, [] { return std::string(); }, {}, {},
            [this](const std::string& path) { acted[path].push_back(size_of(path)); }, {}, {},
            [this](const std::string& path, const std::string& line) { refreshed[path] = line; }});
    }
    void enable(bool to_saved_playlist = false) {
        playlister->reload({true, watched.path(), false, true, to_saved_playlist, "Auto"});
    }
    std::string in(const std::string& name) const { return watched.file(name); }
};

TEST(TFSNotifyWatch, EachNewMediaFileIsActedOnOnceWhenComplete) {
    watched_playlister p;
    write_raw(p.in("old.mp3"), std::string(1000, 'o'));
    fs::create_directories(p.outside.file("album/cd"));
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3", "album/cd/moved.mp3"})
        write_raw(p.outside.file(name), std::string(64 * 1024, 'a'));
    p.enable();
    ASSERT_TRUE(p.watcher.Active());

    constexpr int chunks = 10;
    constexpr std::size_t chunk = 8 * 1024;
    std::thread slow([&] {
        std::ofstream out(p.in("slow.mp3"), std::ios::binary);
        for (int i = 0; i < chunks; ++i) {
            out.write(std::string(chunk, 's').data(), chunk);
            out.flush();
            std::this_thread::sleep_for(200ms);
        }
    });
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3"}) // three at once
        fs::copy_file(p.outside.file(name), p.in(name));
    fs::create_directories(p.in("a/b/c")); // the whole chain in one go, the file at once after
    fs::copy_file(p.outside.file("one.mp3"), p.in("a/b/c/deep.mp3"));
    fs::rename(p.in("old.mp3"), p.in("renamed.mp3"));
    write_raw(p.in("notes.txt"), "not media");
    fs::rename(p.outside.file("album"), p.in("album")); // a folder moved in, with a file inside

    const std::map<std::string, std::uintmax_t> first = {
        {p.in("one.mp3"), 65536},           {p.in("two.mp3"), 65536},    {p.in("three.mp3"), 65536},
        {p.in("a/b/c/deep.mp3"), 65536},    {p.in("renamed.mp3"), 1000}, {p.in("album/cd/moved.mp3"), 65536},
        {p.in("slow.mp3"), chunks * chunk},
    };
    const auto all_of = [&](const std::map<std::string, std::uintmax_t>& files) {
        return [&] {
            for (const auto& [path, size] : files)
                if (p.acted.count(path) == 0)
                    return false;
            return true;
        };
    };
    EXPECT_TRUE(pump_until(p.ui, all_of(first)));
    slow.join();
    // Files in the folders that appeared: their watches exist now.
    write_raw(p.in("a/b/c/later.mp3"), "later");
    write_raw(p.in("album/cd/later.mp3"), "later");
    std::map<std::string, std::uintmax_t> expected = first;
    expected[p.in("a/b/c/later.mp3")] = 5;
    expected[p.in("album/cd/later.mp3")] = 5;
    EXPECT_TRUE(pump_until(p.ui, all_of(expected)));
    pump_until(
        p.ui, [] { return false; }, 1200ms); // time for any second action to show

    std::map<std::string, std::vector<std::uintmax_t>> once;
    for (const auto& [path, size] : expected)
        once[path] = {size};
    EXPECT_EQ(p.acted, once);
}

TEST(TFSNotifyWatch, AStalledCopyIsTakenWholeAndARecordedFileWrittenAgainIsBroughtUpToDate) {
    watched_playlister p(150);
    p.enable(true);
    ASSERT_TRUE(p.watcher.Active());
    std::thread copy([&] {
        std::ofstream out(p.in("stalled.mp3"), std::ios::binary);
        out << std::string(4000, 'h') << std::flush;
        std::this_thread::sleep_for(1500ms); // ten settle times without a change
        out << std::string(4000, 'h');
    });
    pump_until(p.ui, [] { return false; }, 2000ms);
    copy.join();
    ASSERT_TRUE(pump_until(p.ui, [&] { return p.acted.count(p.in("stalled.mp3")) != 0; }));
    EXPECT_EQ(p.acted[p.in("stalled.mp3")], (std::vector<std::uintmax_t>{8000}));
    EXPECT_EQ(p.store.load("Auto"), (string_list{watched_playlister::info(p.in("stalled.mp3"))}));

    // Written again (as a copy that outlasted the close wait would be): its rows and its saved line follow.
    std::ofstream(p.in("stalled.mp3"), std::ios::binary | std::ios::app) << std::string(2000, 'h');
    const std::string now = watched_playlister::info(p.in("stalled.mp3"));
    EXPECT_TRUE(pump_until(p.ui, [&] { return p.refreshed[p.in("stalled.mp3")] == now; }));
    EXPECT_EQ(p.store.load("Auto"), (string_list{now}));
    EXPECT_EQ(p.acted[p.in("stalled.mp3")].size(), 1u);
}

TEST(TFSNotifyWatch, StoppingEndsAWalkerThatWaitsWithoutLimit) {
    temp_folder watched;
    platform::pumped_dispatcher ui;
    TFSNotify watcher(ui);
    watcher.SetPath(watched.path());
    watcher.SetTimeOut(-1);
    watcher.SetActive(true);
    ASSERT_TRUE(watcher.Active());
    auto stopped = std::async(std::launch::async, [&] { watcher.SetActive(false); });
    const bool ended = stopped.wait_for(5s) == std::future_status::ready;
    if (!ended)
        write_raw(watched.file("wake.txt"), ""); // lets a walker that missed the request end
    EXPECT_TRUE(ended);
    stopped.wait();
    EXPECT_FALSE(watcher.Active());
}

TEST(TFSNotifyWatch, ADeletedFolderEndsTheWatchAndEnablingAgainWatches) {
    watched_playlister p;
    std::vector<std::string> errors;
    p.watcher.OnError = [&](TFSNotify&, std::uint32_t number, const std::string& message) {
        errors.push_back(std::to_string(number) + ":" + message);
    };
    p.enable();
    ASSERT_TRUE(p.watcher.Active());
    fs::remove_all(p.watched.path());
    EXPECT_TRUE(pump_until(p.ui, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<std::string>{"1:Not a Continued notify  " + p.watched.path()});
    EXPECT_FALSE(p.watcher.Active());

    fs::create_directory(p.watched.path());
    p.enable(); // Apply in the preferences
    ASSERT_TRUE(p.watcher.Active());
    write_raw(p.in("back.mp3"), "x");
    EXPECT_TRUE(pump_until(p.ui, [&] { return p.acted.count(p.in("back.mp3")) == 1; }));
}

TEST(TFSNotifyWatch, AnExhaustedWatchBudgetIsReportedOnceAndTheRestStaysWatched) {
    watched_playlister p;
    for (const char* folder : {"f1", "f2", "f3", "f4"})
        fs::create_directory(p.in(folder));
    std::vector<std::string> messages;
    p.playlister = nullptr; // rebuilt with a status line
    p.playlister = std::make_unique<auto_playlister>(
        auto_playlister_services{p.watcher,
                                 p.scanner,
                                 p.store,
                                 {},
                                 {},
                                 {},
                                 {},
                                 [&](const std::string& path) { p.acted[path].push_back(size_of(path)); },
                                 [&](const std::string& text) { messages.push_back(text); }});
    p.watcher.SetWatchBudget(3);
    p.enable();
    EXPECT_TRUE(pump_until(p.ui, [&] { return !messages.empty(); }));
    EXPECT_EQ(p.watcher.WatchedFolders(), 3u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with(
        "Auto Playlister: the system allows no more folder watches; not watched: " + p.watched.path() + "/f"))
        << messages[0];
    fs::create_directory(p.in("f5")); // over the budget again: no second report
    write_raw(p.in("top.mp3"), "x");
    EXPECT_TRUE(pump_until(p.ui, [&] { return p.acted.count(p.in("top.mp3")) == 1; }));
    pump_until(
        p.ui, [] { return false; }, 300ms);
    EXPECT_EQ(messages.size(), 1u);
}

TEST(TFSNotifyWatch, AnOverflowedEventQueueWatchesTheFoldersItLost) {
    watched_playlister p(200);
    p.enable();
    write_raw(p.in("first.mp3"), "x");
    // The first change waits for the user-interface thread while the kernel's queue overflows behind it.
    for (int wait = 0; wait < 400 && p.ui.pending() == 0; ++wait)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(p.ui.pending(), 1u);
    const std::string churn = p.in("churn.txt");
    for (int i = 0; i < 9000; ++i) {
        write_raw(churn, "");
        fs::remove(churn);
    }
    fs::create_directory(p.in("lost")); // the queue is full: its event is dropped
    EXPECT_TRUE(pump_until(p.ui, [&] { return p.acted.count(p.in("first.mp3")) == 1; }));
    pump_until(
        p.ui, [] { return false; }, 300ms);
    write_raw(p.in("lost/found.mp3"), "x");
    EXPECT_TRUE(pump_until(
        p.ui, [&] { return p.acted.count(p.in("lost/found.mp3")) == 1; }, 3s));
}

} // namespace
} // namespace karvo
