// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the playlist editing commands and the search at 100,000 rows: Delete Selected of every second row,
// Move Selected to Top and Clone Selected of 1,000 rows, Delete Broken Files over files that all exist (warm
// cache), and "Display Found." / "Select Found." searches of one column.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_edits.h"
#include "library/playlist_moves.h"
#include "library/playlist_search.h"

namespace {

constexpr int rows = 100000;
constexpr int folders = 1000;

std::string song_name(int row) {
    static const char* const words[] = {"aqua", "candyman", "lollipop", "dawn", "river", "night", "blue", "fire"};
    return std::string(words[row % 8]) + " " + words[(row / 8) % 8] + " " + std::to_string(row);
}

std::vector<std::string> make_infos(const std::string& root) {
    std::vector<std::string> infos;
    infos.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        karvo::media_fields fields;
        fields[0] = root + "/f" + std::to_string(row % folders) + "/" + song_name(row) + ".mp3";
        fields[1] = song_name(row);
        fields[2] = "Artist " + std::to_string(row % 700);
        fields[3] = "Album " + std::to_string(row % 900);
        fields[7] = std::to_string(60 + row % 600);
        fields[12] = "192";
        infos.push_back(karvo::make_media_info(fields));
    }
    return infos;
}

// 100,000 empty files in 1,000 folders, made once and kept for later runs; the list's paths name them.
const std::string& file_root() {
    static const std::string root = [] {
        const std::string path = std::filesystem::temp_directory_path() / "karvo_editing_bench";
        const std::string complete = path + "/complete";
        if (std::filesystem::exists(complete))
            return path;
        std::filesystem::remove_all(path);
        for (int folder = 0; folder < folders; ++folder)
            std::filesystem::create_directories(path + "/f" + std::to_string(folder));
        for (int row = 0; row < rows; ++row)
            std::ofstream(path + "/f" + std::to_string(row % folders) + "/" + song_name(row) + ".mp3");
        std::ofstream{complete};
        return path;
    }();
    return root;
}

const std::vector<std::string>& infos() {
    static const std::vector<std::string> made = make_infos(file_root());
    return made;
}

void fill(karvo::media_list& list) {
    list.clear();
    list.discard_backup();
    for (const auto& info : infos())
        list.append(info, "bench");
}

std::vector<int> every(int step, int count) {
    std::vector<int> picked;
    for (int row = 0; row < count; row += step)
        picked.push_back(row);
    return picked;
}

void BM_delete_selected_every_second_row(benchmark::State& state) {
    karvo::media_list list;
    const std::vector<int> selected = every(2, rows);
    for (auto _ : state) {
        state.PauseTiming();
        fill(list);
        state.ResumeTiming();
        benchmark::DoNotOptimize(karvo::delete_selected(list, selected));
    }
}

void BM_move_1000_to_top(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    const std::vector<int> selected = every(rows / 1000, rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(karvo::move_selected_to_top(list, selected));
}

void BM_clone_1000(benchmark::State& state) {
    karvo::media_list list;
    const std::vector<int> selected = every(rows / 1000, rows);
    for (auto _ : state) {
        state.PauseTiming();
        fill(list);
        state.ResumeTiming();
        benchmark::DoNotOptimize(karvo::clone_selected(list, selected));
    }
}

void BM_delete_broken_files_all_present(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    karvo::delete_broken_files(list); // warms the cache
    for (auto _ : state) {
        const karvo::edit_result result = karvo::delete_broken_files(list);
        if (result.changed)
            state.SkipWithError("a file of the benchmark is missing");
    }
}

// Display Found of "aqua" on the file name. Arg 1: the first search of the list, which takes the backup copy.
void BM_display_found_filename(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    const bool first = state.range(0) == 1;
    if (!first)
        karvo::run_search(list, "river", 0, karvo::search_mode::display_found, {});
    for (auto _ : state) {
        karvo::run_search(list, "aqua", 0, karvo::search_mode::display_found, {});
        state.PauseTiming();
        if (first)
            karvo::run_search(list, "", 0, karvo::search_mode::display_found, {});
        state.ResumeTiming();
    }
}

void BM_select_found_filename(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(karvo::run_search(list, "*+aqua -dawn", 0, karvo::search_mode::select_found, {}));
}

void BM_invert_selection(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    const std::vector<int> selected = every(2, rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(karvo::invert_selection(list, selected));
}

void setup(benchmark::internal::Benchmark* bench) {
    bench->Unit(benchmark::kMillisecond)->ComputeStatistics("min", [](const std::vector<double>& runs) {
        return *std::min_element(runs.begin(), runs.end());
    });
}

} // namespace

BENCHMARK(BM_delete_selected_every_second_row)->Apply(setup);
BENCHMARK(BM_move_1000_to_top)->Apply(setup);
BENCHMARK(BM_clone_1000)->Apply(setup);
BENCHMARK(BM_delete_broken_files_all_present)->UseRealTime()->Apply(setup);
BENCHMARK(BM_display_found_filename)->ArgName("first")->Arg(1)->Arg(0)->Apply(setup);
BENCHMARK(BM_select_found_filename)->Apply(setup);
BENCHMARK(BM_invert_selection)->Apply(setup);

BENCHMARK_MAIN();
