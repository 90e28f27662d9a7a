// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the window built, its create event run (plug-ins, settings, the restored saved playlist, the tree) and
// shown until the playlist has painted once, then until the restored list is complete, with a saved playlist of 0,
// 100,000 and 1,000,000 generated entries (bench/media_rows.h) to restore; the resident memory the start added,
// per entry. Beside them the floor: the saved file read through once.
#include <QApplication>
#include <QEvent>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <unistd.h>

#include "bench/main_window_fixture.h"
#include "bench/media_rows.h"
#include "library/media_entry.h"
#include "library/string_list.h"

namespace {

namespace fs = std::filesystem;

// Counts the paints of one widget.
class paint_watch final : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

fs::path prepare_folder(int rows) {
    const fs::path folder =
        fs::temp_directory_path() / ("karvo-startup-bench-" + std::to_string(::getpid()) + "-" + std::to_string(rows));
    fs::remove_all(folder);
    fs::create_directories(folder / "plugins");
    fs::create_directories(folder / "Playlists");
    fs::create_symlink(KARVO_PLUGIN_DIR "/resource.krp", folder / "plugins/resource.krp");
    std::ofstream list(folder / "Playlists/Big.spl", std::ios::binary);
    for (const std::string& info : karvo::bench::make_media_infos(rows))
        list << info << "\r\n";
    std::ofstream(folder / "karvo.ini", std::ios::binary) << "[Settings]\r\nPlaylistMode=0\r\nplaylist_name=Big\r\n";
    return folder;
}

std::size_t resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void BM_start(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const fs::path folder = prepare_folder(rows);
    const std::string program_folder = folder.string() + "/";
    karvo::bench::silent_prompts prompts;
    double shown_ms = 0;
    double complete_ms = 0;
    double resident_per_row = 0;
    for (auto _ : state) {
        const std::size_t resident_before = resident_bytes();
        const auto start = std::chrono::steady_clock::now();
        karvo::TfrmMain window(karvo::main_environment{program_folder, program_folder, prompts, [] {}});
        window.FormCreate();
        paint_watch watch;
        karvo::bench::playlist_view(window)->viewport()->installEventFilter(&watch);
        window.resize(1024, 768);
        window.show();
        while (!watch.painted)
            QApplication::processEvents();
        const auto shown = std::chrono::steady_clock::now();
        // Blocking until an event comes (the loader's progress timer brings one): the timed overload of
        // processEvents drops WaitForMoreEvents and would spin on a core the loading worker needs.
        while (window.virtual_playlist().count() < rows)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto complete = std::chrono::steady_clock::now();
        state.PauseTiming();
        shown_ms += std::chrono::duration<double, std::milli>(shown - start).count();
        complete_ms += std::chrono::duration<double, std::milli>(complete - start).count();
        resident_per_row = rows ? static_cast<double>(resident_bytes() - resident_before) / rows : 0;
        if (window.virtual_playlist().count() != rows)
            state.SkipWithError("the saved playlist was not restored");
        karvo::bench::playlist_view(window)->viewport()->removeEventFilter(&watch);
        window.close();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["shown_ms"] = shown_ms / runs;
    state.counters["complete_ms"] = complete_ms / runs;
    state.counters["rss_B_per_row"] = resident_per_row;
    fs::remove_all(folder);
}
BENCHMARK(BM_start)->Arg(0)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a start: the saved playlist's file read through line by line, nothing kept.
void BM_read_floor(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const fs::path folder = prepare_folder(rows);
    for (auto _ : state) {
        std::size_t lines = 0;
        karvo::for_each_line((folder / "Playlists/Big.spl").string(), {}, [&lines](std::string_view) { ++lines; });
        benchmark::DoNotOptimize(lines);
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_read_floor)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
