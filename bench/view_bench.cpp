// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual playlist view over 100,000 and 1,000,000 rows generated like a real collection: the first paint
// after the rows arrive, scrolling by a page and to the end, header sorts with their repaint (and the view's own
// share of them, without the store's sort), and how many cells one paint asks the model for. The window is shown
// on the offscreen platform; a "paint" is the event loop's turn after the change, as the user would see it.
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_form/playlist/playlist_model.h"
#include "bench/main_window_fixture.h"
#include "bench/media_rows.h"
#include "bench/row_sizes.h"
#include "library/media_list.h"

namespace {

using clock_type = std::chrono::steady_clock;

// One shown main window on a throw-away program folder per size, filled through the virtual playlist.
struct bench_window : karvo::bench::main_window_fixture {
    explicit bench_window(int rows) : main_window_fixture("view-" + std::to_string(rows)) {
        for (const std::string& info : karvo::bench::make_media_infos(rows))
            window->virtual_playlist().append(info, "Bench");
        window->show();
        window->playlist().refresh_count();
        QApplication::processEvents();
    }
};

bench_window& shared_window(int rows) {
    static std::map<int, std::unique_ptr<bench_window>> windows;
    auto& entry = windows[rows];
    if (!entry) {
        windows.clear(); // one size at a time, a million rows are enough to hold
        windows[rows] = std::make_unique<bench_window>(rows);
        return *windows[rows];
    }
    return *entry;
}

QTableView& view_of(bench_window& w) {
    return *karvo::bench::playlist_view(*w.window);
}

karvo::playlist_model& model_of(bench_window& w) {
    return *w.window->playlist().model();
}

// The event loop's turn after a change: delayed layouts, then the paint of what changed.
void paint() {
    QApplication::processEvents();
}

// The median of the iterations' times, beside Google Benchmark's mean.
class median_timer {
public:
    void add(clock_type::duration took) { times_.push_back(std::chrono::duration<double, std::milli>(took).count()); }
    void report(benchmark::State& state) {
        if (times_.empty())
            return;
        std::sort(times_.begin(), times_.end());
        state.counters["median_ms"] = times_[times_.size() / 2];
    }

private:
    std::vector<double> times_;
};

// Times `step` per iteration; `prepare` runs untimed before it.
template <typename Prepare, typename Step>
void timed(benchmark::State& state, Prepare&& prepare, Step&& step) {
    median_timer medians;
    for (auto _ : state) {
        prepare();
        const auto start = clock_type::now();
        step();
        const auto took = clock_type::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        medians.add(took);
    }
    medians.report(state);
}

// The rows arrive: the view goes from no rows to all of them and paints.
void BM_first_paint(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    auto& list = w.window->virtual_playlist();
    timed(
        state,
        [&] {
            list.move_to_backup();
            w.window->playlist().refresh_count();
            list.restore_and_discard_backup();
            paint();
        },
        [&] {
            w.window->playlist().refresh_count();
            paint();
        });
    state.counters["rows"] = model_of(w).rowCount();
}

// Page Down on the scroll bar, wrapping to the top at the end.
void BM_scroll_page(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    QScrollBar* bar = view_of(w).verticalScrollBar();
    bar->setValue(0);
    paint();
    int moved = 0;
    timed(
        state, [] {},
        [&] {
            const int before = bar->value();
            bar->setValue(before + bar->pageStep() > bar->maximum() ? 0 : before + bar->pageStep());
            paint();
            moved += bar->value() != before;
        });
    if (moved == 0)
        state.SkipWithError("the view did not scroll");
}

// From the top to the last page and back.
void BM_scroll_jump(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    QScrollBar* bar = view_of(w).verticalScrollBar();
    timed(
        state, [] {},
        [&] {
            bar->setValue(bar->value() == bar->maximum() ? 0 : bar->maximum());
            paint();
        });
    state.counters["last_row_shown"] = view_of(w).rowAt(view_of(w).viewport()->height() - 1);
}

// A header click on view column range(1) (ascending and descending in turn) and the repaint.
void BM_header_sort(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    const int column = static_cast<int>(state.range(1));
    timed(
        state, [] {},
        [&] {
            w.window->playlist().LstMusicListColumnClick(column);
            paint();
        });
}

// range(2): 0 the plain view; 1 while a file plays that the list does not hold; 2 while the track of the middle
// row plays (its row is looked for after every sort); 3 with every row selected.
enum class load { plain, playing_elsewhere, playing_listed, all_selected };

void set_load(bench_window& w, load how) {
    auto& playlist = w.window->playlist();
    const auto& list = w.window->virtual_playlist();
    playlist.model()->set_playing_path(how == load::playing_elsewhere ? "/elsewhere/not listed.mp3"
                                       : how == load::playing_listed  ? std::string(list.full_path(list.count() / 2))
                                                                      : "");
    if (how == load::all_selected)
        karvo::bench::playlist_view(*w.window)->selectAll();
    else
        karvo::bench::playlist_view(*w.window)->clearSelection();
}

// The same sorts with the store's sort left out of the time: what the view adds to it.
void BM_header_sort_view_share(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    auto& list = w.window->virtual_playlist();
    const int key = karvo::playlist_columns[static_cast<std::size_t>(state.range(1))].field;
    set_load(w, static_cast<load>(state.range(2)));
    bool ascending = true;
    timed(
        state,
        [&] {
            ascending ? list.sort_ascending(0, list.count() - 1, key) : list.sort_descending(key);
            ascending = !ascending;
        },
        [&] {
            w.window->playlist().model()->reorder([] {});
            paint();
        });
    set_load(w, load::plain);
}

// The store's sort alone, for comparison.
void BM_store_sort(benchmark::State& state) {
    auto& list = shared_window(static_cast<int>(state.range(0))).window->virtual_playlist();
    const int key = karvo::playlist_columns[static_cast<std::size_t>(state.range(1))].field;
    bool ascending = true;
    timed(
        state, [] {},
        [&] {
            ascending ? list.sort_ascending(0, list.count() - 1, key) : list.sort_descending(key);
            ascending = !ascending;
        });
}

// data() calls of one full repaint of the view against the cells it shows.
void BM_data_calls_per_paint(benchmark::State& state) {
    auto& w = shared_window(static_cast<int>(state.range(0)));
    QTableView& view = view_of(w);
    std::size_t calls = 0;
    timed(
        state, [&] { model_of(w).reset_data_calls(); },
        [&] {
            view.viewport()->update();
            paint();
            calls = model_of(w).data_calls();
        });
    const int row_height = view.verticalHeader()->defaultSectionSize();
    const int rows_shown = (view.viewport()->height() + row_height - 1) / row_height;
    int columns_shown = 0;
    for (int column = 0; column < karvo::playlist_view_columns; ++column) {
        const int left = view.horizontalHeader()->sectionViewportPosition(column);
        columns_shown += view.horizontalHeader()->sectionSize(column) > 0 && left < view.viewport()->width() &&
                         left + view.horizontalHeader()->sectionSize(column) > 0;
    }
    if (calls == 0)
        state.SkipWithError("nothing was painted");
    state.counters["data_calls"] = static_cast<double>(calls);
    state.counters["cells_shown"] = rows_shown * columns_shown;
    state.counters["calls_per_cell"] = static_cast<double>(calls) / std::max(1, rows_shown * columns_shown);
}

// View columns: Media (a text column), Artist (interned), Length.
constexpr int media_column = 0;
constexpr int artist_column = 1;
constexpr int length_column = 5;

void register_all(const std::vector<long>& sizes) {
    // Size by size, so each window is filled once.
    for (const long rows : sizes) {
        const auto add = [rows](const char* name, void (*function)(benchmark::State&), int iterations,
                                std::vector<long> columns) {
            for (const long column : columns) {
                auto* bench = benchmark::RegisterBenchmark(name, function);
                if (column < 0)
                    bench->Arg(rows);
                else if (function == BM_header_sort_view_share)
                    for (int how = 0; how <= 3; ++how)
                        bench->Args({rows, column, how});
                else
                    bench->Args({rows, column});
                bench->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(iterations);
            }
        };
        add("first_paint", BM_first_paint, 10, {-1});
        add("scroll_page", BM_scroll_page, 50, {-1});
        add("scroll_jump", BM_scroll_jump, 50, {-1});
        add("header_sort", BM_header_sort, 10, {media_column, artist_column, length_column});
        add("header_sort_view_share", BM_header_sort_view_share, 10, {media_column, artist_column, length_column});
        add("store_sort", BM_store_sort, 10, {media_column, artist_column, length_column});
        add("data_calls_per_paint", BM_data_calls_per_paint, 50, {-1});
    }
}

} // namespace

// Without arguments both sizes run; `--rows=N` runs one size.
int main(int argc, char** argv) {
    karvo::bench::row_sizes arguments(argc, argv);
    register_all(arguments.sizes);
    return karvo::bench::run_window_benchmarks(arguments.rest_count, arguments.rest.data());
}
