// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the window built, its create event run (plug-ins, settings, the restored saved playlist, the tree) and
// shown until the playlist has painted once, with a saved playlist of 0, 10,000 and 100,000 entries to restore.
#include <QApplication>
#include <QEvent>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <fstream>

#include "bench/main_window_fixture.h"
#include "library/media_entry.h"

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
    for (int row = 0; row < rows; ++row) {
        karvo::media_fields fields;
        fields[0] = "/home/user/Music/Artist " + std::to_string(row % 2000) + "/Album " + std::to_string(row % 5000) +
                    "/" + std::to_string(row % 20) + " Song " + std::to_string(row) + ".mp3";
        fields[1] = "Song " + std::to_string(row);
        fields[2] = "Artist " + std::to_string(row % 2000);
        fields[3] = "Album " + std::to_string(row % 5000);
        fields[4] = std::to_string(1950 + row % 70);
        fields[7] = std::to_string(120 + row % 300);
        fields[12] = "192";
        list << karvo::make_media_info(fields) << "\r\n";
    }
    std::ofstream(folder / "karvo.ini", std::ios::binary) << "[Settings]\r\nPlaylistMode=0\r\nplaylist_name=Big\r\n";
    return folder;
}

void BM_start_to_first_paint(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const fs::path folder = prepare_folder(rows);
    const std::string program_folder = folder.string() + "/";
    karvo::bench::silent_prompts prompts;
    for (auto _ : state) {
        karvo::TfrmMain window(karvo::main_environment{program_folder, program_folder, prompts, [] {}});
        window.FormCreate();
        paint_watch watch;
        window.playlist().view()->viewport()->installEventFilter(&watch);
        window.resize(1024, 768);
        window.show();
        while (!watch.painted)
            QApplication::processEvents();
        state.PauseTiming();
        if (window.virtual_playlist().count() != rows)
            state.SkipWithError("the saved playlist was not restored");
        window.playlist().view()->viewport()->removeEventFilter(&watch);
        window.close();
        state.ResumeTiming();
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_start_to_first_paint)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
