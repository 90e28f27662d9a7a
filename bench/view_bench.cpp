// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual playlist view over 100,000 rows: the first paint after the rows arrive, a header sort with its
// repaint, and how many cells one paint asks the model for. Runs on the offscreen platform.
#include <QHeaderView>
#include <QTableView>
#include <benchmark/benchmark.h>

#include "app/Main_form/playlist_model.h"
#include "bench/main_window_fixture.h"
#include "library/media_entry.h"

namespace {

constexpr int row_count = 100000;

// One main window on a throw-away program folder, filled with 100,000 varied rows.
struct bench_window : karvo::bench::main_window_fixture {
    bench_window() : main_window_fixture("view") {
        const char* artists[] = {"Mingus", "Adderley", "Zawinul", "Coltrane", "Brubeck", "Evans", "Monk"};
        for (int i = 0; i < row_count; ++i) {
            karvo::media_fields fields;
            fields[0] = "/music/" + std::string(artists[i % 7]) + "/track_" + std::to_string((i * 7919) % row_count) +
                        (i % 3 ? ".mp3" : ".flac");
            fields[1] = "Song " + std::to_string(i);
            fields[2] = artists[(i * 31) % 7];
            fields[3] = "Album " + std::to_string(i % 997);
            fields[4] = std::to_string(1950 + i % 70);
            fields[7] = std::to_string(60 + i % 600);
            fields[12] = "192";
            window->virtual_playlist().append(karvo::make_media_info(fields), "Bench");
        }
    }
};

bench_window& shared_window() {
    static bench_window instance;
    return instance;
}

void BM_first_paint(benchmark::State& state) {
    auto& w = *shared_window().window;
    for (auto _ : state) {
        w.refresh_count(); // the rows arrive: the view's item count is set
        benchmark::DoNotOptimize(w.playlist().view()->grab());
    }
    state.counters["rows"] = w.playlist().model()->rowCount();
}
BENCHMARK(BM_first_paint)->Unit(benchmark::kMillisecond);

void BM_header_sort_and_repaint(benchmark::State& state) {
    auto& w = *shared_window().window;
    int column = 0;
    for (auto _ : state) {
        w.playlist().LstMusicListColumnClick(column);
        benchmark::DoNotOptimize(w.playlist().view()->grab());
        column = (column + 1) % karvo::playlist_view_columns;
    }
}
BENCHMARK(BM_header_sort_and_repaint)->Unit(benchmark::kMillisecond);

// The store's share of the above: the same sorts without the view.
void BM_store_sort_only(benchmark::State& state) {
    auto& list = shared_window().window->virtual_playlist();
    int column = 0;
    bool ascending = true;
    for (auto _ : state) {
        const int key = karvo::playlist_model::column_map[column];
        if (ascending)
            list.sort_ascending(0, list.count() - 1, key);
        else
            list.sort_descending(key);
        ascending = !ascending;
        column = (column + 1) % karvo::playlist_view_columns;
    }
}
BENCHMARK(BM_store_sort_only)->Unit(benchmark::kMillisecond);

void BM_data_calls_per_paint(benchmark::State& state) {
    auto& w = *shared_window().window;
    std::size_t calls = 0;
    for (auto _ : state) {
        w.playlist().model()->reset_data_calls();
        benchmark::DoNotOptimize(w.playlist().view()->grab());
        calls = w.playlist().model()->data_calls();
    }
    const int row_height = w.playlist().view()->verticalHeader()->defaultSectionSize();
    state.counters["data_calls"] = static_cast<double>(calls);
    state.counters["visible_rows"] = w.playlist().view()->viewport()->height() / row_height + 1;
    state.counters["rows"] = w.playlist().model()->rowCount();
}
BENCHMARK(BM_data_calls_per_paint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
