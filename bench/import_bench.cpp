// SPDX-License-Identifier: GPL-3.0-or-later
// Import of crafted playlists: 100 lines of "C:\" + "..\" x 10,000 + "x.mp3" (3 MB, every line climbing far above
// any drive), and 100 lines of 3,000 folder names before the file (a path far longer than any file's). The goal is
// under a second for each whole file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "library/media_entry.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "library/playlist_import.h"

namespace {

std::string folder;

std::string write_playlist(const std::string& name, const std::string& middle, int repeat) {
    std::string line = "C:\\";
    for (int i = 0; i < repeat; ++i)
        line += middle;
    line += "x.mp3\r\n";
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 100; ++i)
        out << line;
    return path;
}

void import_file(benchmark::State& state, const std::string& file) {
    karvo::playlist_class store(folder + "/data", [](const std::string&, const std::string&) {});
    const auto info = [](const std::string& path) {
        karvo::media_fields fields;
        fields[0] = path;
        return karvo::make_media_info(fields);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(
            karvo::import_playlist_file(file, karvo::playlist_format::m3u, "Crafted", store, info, {folder}));
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

void BM_ImportClimbingLines(benchmark::State& state) {
    import_file(state, write_playlist("climb.m3u", "..\\", 10000));
}

void BM_ImportDeepLines(benchmark::State& state) {
    import_file(state, write_playlist("deep.m3u", "folder name\\", 3000));
}

BENCHMARK(BM_ImportClimbingLines)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ImportDeepLines)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv) {
    char name[] = "/tmp/karvo-import-bench-XXXXXX";
    if (mkdtemp(name) == nullptr)
        return 1;
    folder = name;
    std::ofstream(folder + "/x.mp3");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
