// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the auto playlister keeps up with files arriving in its folder (each written and closed, then acted on
// once), and how fast the watcher puts watches on a tree of sub-folders. Also prints the watch budget of this
// machine, which bounds how many folders one user can watch at all.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "components/Fsnotify/TFSNotify.h"
#include "library/auto_playlister.h"
#include "library/media_entry.h"
#include "library/playlist_class.h"
#include "platform/testing/pumped_dispatcher.h"

namespace {

namespace fs = std::filesystem;

std::string temp_root(const char* prefix) {
    std::string name = std::string("/tmp/") + prefix + "-XXXXXX";
    if (mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot create the bench folder");
    return name;
}

// A folder of the bench's own with a watcher, the scanner of MP3 files and a saved-playlist store under it.
struct watch_fixture {
    explicit watch_fixture(const char* prefix) : root(temp_root(prefix)) {}
    std::string root;
    karvo::platform::pumped_dispatcher ui;
    karvo::TFSNotify watcher{ui};
    karvo::media_files media;
    bool mp3_only = (media.load({"MP3"}, {}), true);
    karvo::folder_scanner scanner{media};
    karvo::playlist_class store{root + "/data"};
};

long max_user_watches() {
    std::ifstream in("/proc/sys/fs/inotify/max_user_watches");
    long value = -1;
    in >> value;
    return value;
}

// Files written one after another by another thread; the time runs until the last one was acted on.
void BM_AutoPlaylisterKeepsUp(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    watch_fixture f("karvo-watch-bench");
    const std::string& root = f.root;
    int acted = 0;
    karvo::auto_playlister playlister(
        {f.watcher, f.scanner, f.store, {}, {}, {}, {}, [&](const std::string&) { ++acted; }, {}});
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = root + "/round" + std::to_string(round++);
        fs::create_directories(folder);
        playlister.reload({true, folder, false, true, false, ""});
        acted = 0;
        state.ResumeTiming();
        std::thread writer([&] {
            const std::string block(64 * 1024, 'x');
            for (int i = 0; i < files; ++i)
                std::ofstream(folder + "/track " + std::to_string(i) + ".mp3") << block;
        });
        while (acted < files)
            f.ui.pump_for(std::chrono::milliseconds(5));
        writer.join();
    }
    f.watcher.SetActive(false);
    state.SetItemsProcessed(state.iterations() * files);
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * files), benchmark::Counter::kIsRate);
    fs::remove_all(root);
}
BENCHMARK(BM_AutoPlaylisterKeepsUp)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One change that finds N new files with "add to a saved playlist" on: the time of the change handler, which
// reads and writes the saved playlist (already holding 1,000 entries) once for the whole burst.
void BM_AutoPlaylisterSavedPlaylistBurst(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    watch_fixture f("karvo-burst-bench");
    const std::string& root = f.root;
    const auto info = [](const std::string& path) {
        karvo::media_fields fields;
        fields[0] = path;
        fields[1] = "Title";
        fields[7] = "200";
        return karvo::make_media_info(fields);
    };
    karvo::auto_playlister playlister({f.watcher, f.scanner, f.store, info, {}, {}, {}, {}, {}});
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = root + "/round" + std::to_string(round++);
        fs::create_directories(folder);
        karvo::string_list saved;
        for (int i = 0; i < 1000; ++i)
            saved.push_back(info("/old/" + std::to_string(i) + ".mp3"));
        f.store.save("Mine", saved);
        playlister.reload({false, folder, false, false, true, "Mine"});
        f.scanner.initial_scan();
        for (int i = 0; i < files; ++i)
            std::ofstream(folder + "/track " + std::to_string(i) + ".mp3");
        state.ResumeTiming();
        playlister.AutoPlaylisterChange(f.watcher);
    }
    state.counters["lines"] = static_cast<double>(f.store.load("Mine").size());
    fs::remove_all(root);
}
BENCHMARK(BM_AutoPlaylisterSavedPlaylistBurst)->Arg(8000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);

// Activation with a tree of N sub-folders: every one is watched before SetActive returns.
void BM_WatchSubFolders(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const std::string root = temp_root("karvo-watch-tree");
    for (int a = 0; a < folders / 10; ++a)
        for (int b = 0; b < 10; ++b)
            fs::create_directories(root + "/a" + std::to_string(a) + "/b" + std::to_string(b));
    karvo::platform::pumped_dispatcher ui;
    karvo::TFSNotify watcher(ui);
    watcher.SetPath(root);
    watcher.SetSubTree(true);
    std::size_t watched = 0;
    for (auto _ : state) {
        watcher.SetActive(true);
        watched = watcher.WatchedFolders();
        state.PauseTiming();
        watcher.SetActive(false);
        state.ResumeTiming();
    }
    state.counters["watched"] = static_cast<double>(watched);
    state.counters["max_user_watches"] = static_cast<double>(max_user_watches());
    state.counters["folders_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * watched), benchmark::Counter::kIsRate);
    fs::remove_all(root);
}
// The last size passes this machine's budget (max_user_watches): "watched" is where it runs out.
BENCHMARK(BM_WatchSubFolders)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
