// SPDX-License-Identifier: GPL-3.0-or-later
// The folder listing of a folder with 2,000 tagged MP3 files (warm cache), with its per-file progress on the status
// line, against the resource plug-in alone reading the same files. Runs on the offscreen platform with the window
// shown, so the status line really paints.
#include <benchmark/benchmark.h>
#include <chrono>

#include "app/Main_form/folder_listing_model.h"
#include "bench/main_window_fixture.h"
#include "library/folder_scanner.h"
#include "tests/support/media_fixtures.h"

namespace {

constexpr int file_count = 2000;

// The window shown, so that the status line really paints, over a folder of tagged MP3 files.
struct bench_setup : karvo::bench::main_window_fixture {
    bench_setup() : main_window_fixture("listing", write_music) {
        music = folder.string() + "/music/";
        window->show();
        QApplication::processEvents();
        names = karvo::folder_media_names(music, window->media_file_types());
    }
    static void write_music(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder / "music");
        const std::string music = folder.string() + "/music/";
        for (int i = 0; i < file_count; ++i) {
            karvo::testing::tag_fields tag =
                karvo::testing::title_tag("Song " + std::to_string(i), "Artist " + std::to_string(i % 37));
            tag.album = "Album " + std::to_string(i % 101);
            tag.year = 1950 + i % 70;
            tag.genre = "Jazz";
            karvo::testing::write_mp3(music + "track " + std::to_string(i) + ".mp3",
                                      karvo::testing::mp3_options().with_frames(20).with_id3v2(tag).with_id3v1(tag));
        }
    }
    std::string music;
    karvo::string_list names;
};

bench_setup& setup() {
    static bench_setup instance;
    return instance;
}

double plugin_only(bench_setup& s) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    for (const std::string& name : s.names)
        bytes += s.window->resource_library().media_info_string(s.music + name).size();
    benchmark::DoNotOptimize(bytes);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double listing(bench_setup& s) {
    const auto start = std::chrono::steady_clock::now();
    s.window->LstMusicListAllFill(s.music);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_plugin_only(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state)
        plugin_only(s);
    state.counters["files"] = static_cast<double>(s.names.size());
}

void BM_folder_listing(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state)
        listing(s);
    state.counters["rows"] = s.window->listing().model()->rowCount();
}

// Both in turn in one run, so the ratio is not skewed by a machine that got busier between two benchmarks.
void BM_listing_over_plugin(benchmark::State& state) {
    auto& s = setup();
    double plugin_ms = 0, listing_ms = 0;
    const int repaints_before = s.window->status().progress_repaints();
    for (auto _ : state) {
        plugin_ms += plugin_only(s);
        listing_ms += listing(s);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["plugin_ms"] = plugin_ms / runs;
    state.counters["listing_ms"] = listing_ms / runs;
    state.counters["ratio"] = listing_ms / plugin_ms;
    state.counters["repaints_per_fill"] = (s.window->status().progress_repaints() - repaints_before) / runs;
}

BENCHMARK(BM_plugin_only)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_folder_listing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_listing_over_plugin)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
