// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the virtual playlist's store at 100,000 rows: filling it from media info strings, clearing, saving,
// sorting (random, sorted, reversed and all-equal keys), shuffling and a search-style scan of one column.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/text.h"
#include "platform/random.h"

namespace {

constexpr int rows = 100000;

// Deterministic text: a few syllables, some with accents, so keys share prefixes as real tags do.
std::string make_word(std::uint32_t& state) {
    static const char* const syllables[] = {"ka", "ro", "mé", "li", "su", "an", "TO", "ne", "ül", "ba", "ço", "di"};
    std::string word;
    const int length = 2 + static_cast<int>(state % 4);
    for (int k = 0; k < length; ++k) {
        state = state * 1664525u + 1013904223u;
        word += syllables[(state >> 16) % 12];
    }
    return word;
}

std::vector<std::string> make_infos(int count) {
    std::vector<std::string> infos;
    infos.reserve(static_cast<std::size_t>(count));
    std::uint32_t state = 12345;
    for (int row = 0; row < count; ++row) {
        karvo::media_fields fields;
        const std::string artist = make_word(state);
        const std::string album = make_word(state);
        const std::string song = make_word(state);
        fields[0] = "/home/user/Music/" + artist + "/" + album + "/" + std::to_string(row % 20) + "_" + song + ".mp3";
        fields[1] = song;
        fields[2] = artist;
        fields[3] = album;
        fields[4] = std::to_string(1960 + row % 60);
        fields[6] = "Rock";
        fields[7] = std::to_string(60 + row % 600);
        fields[11] = "44100";
        fields[12] = "192";
        infos.push_back(karvo::make_media_info(fields));
    }
    return infos;
}

const std::vector<std::string>& infos() {
    static const std::vector<std::string> made = make_infos(rows);
    return made;
}

void fill(karvo::media_list& list) {
    for (const auto& info : infos())
        list.append(info, "Bench");
}

// The playlist's store lives as long as the main window and is cleared and filled again.
void BM_append_from_info(benchmark::State& state) {
    karvo::media_list list;
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        fill(list);
        benchmark::DoNotOptimize(list.count());
    }
}

void BM_append_from_info_new_list(benchmark::State& state) {
    for (auto _ : state) {
        karvo::media_list list;
        fill(list);
        benchmark::DoNotOptimize(list.count());
        state.PauseTiming();
        list = karvo::media_list();
        state.ResumeTiming();
    }
}

void BM_clear(benchmark::State& state) {
    karvo::media_list list;
    for (auto _ : state) {
        state.PauseTiming();
        fill(list);
        state.ResumeTiming();
        list.clear();
    }
}

void BM_serialise_all(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(list.serialise_all());
}

enum class order { random, sorted, reversed, all_equal };

void prepare(karvo::media_list& list, order kind) {
    fill(list);
    if (kind == order::sorted)
        list.sort_ascending(0, list.count() - 1, karvo::Artist);
    else if (kind == order::reversed)
        list.sort_descending(karvo::Artist);
    else if (kind == order::all_equal)
        for (int row = 0; row < list.count(); ++row)
            list.set_cell(karvo::Artist, row, "Same Artist");
}

void BM_sort_ascending_artist(benchmark::State& state) {
    const auto kind = static_cast<order>(state.range(0));
    karvo::media_list list;
    prepare(list, kind);
    // A copy of the starting order, so each run sorts the same input.
    list.backup();
    for (auto _ : state) {
        state.PauseTiming();
        list.restore();
        state.ResumeTiming();
        list.sort_ascending(0, list.count() - 1, karvo::Artist);
    }
}

void BM_sort_descending_artist(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    list.backup();
    for (auto _ : state) {
        state.PauseTiming();
        list.restore();
        state.ResumeTiming();
        list.sort_descending(karvo::Artist);
    }
}

void BM_randomize(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    karvo::platform::random_source random(7);
    for (auto _ : state)
        list.randomize(random);
}

void BM_scan_column_contains(benchmark::State& state) {
    karvo::media_list list;
    fill(list);
    const std::string needle = karvo::upper_case("mékaro");
    for (auto _ : state) {
        int found = 0;
        for (int row = 0; row < list.count(); ++row)
            found += karvo::upper_case(list.cell(karvo::Song, row)).find(needle) != std::string::npos;
        benchmark::DoNotOptimize(found);
    }
}

// Milliseconds, and with --benchmark_repetitions the fastest run too: on a shared machine it is the steadiest.
void setup(benchmark::internal::Benchmark* bench) {
    bench->Unit(benchmark::kMillisecond)->ComputeStatistics("min", [](const std::vector<double>& runs) {
        return *std::min_element(runs.begin(), runs.end());
    });
}

} // namespace

BENCHMARK(BM_append_from_info)->Apply(setup);
BENCHMARK(BM_append_from_info_new_list)->Apply(setup);
BENCHMARK(BM_clear)->Apply(setup);
BENCHMARK(BM_serialise_all)->Apply(setup);
BENCHMARK(BM_sort_ascending_artist)
    ->ArgName("order")
    ->Arg(static_cast<int>(order::random))
    ->Arg(static_cast<int>(order::sorted))
    ->Arg(static_cast<int>(order::reversed))
    ->Arg(static_cast<int>(order::all_equal))
    ->Apply(setup);
BENCHMARK(BM_sort_descending_artist)->Apply(setup);
BENCHMARK(BM_randomize)->Apply(setup);
BENCHMARK(BM_scan_column_contains)->Apply(setup);

BENCHMARK_MAIN();
