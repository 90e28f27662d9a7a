// SPDX-License-Identifier: GPL-3.0-or-later
// One undo step of the virtual playlist at 100,000 and 1,000,000 rows: recording a Delete Selected of three rows
// (the snapshot and the delete), undoing it, and the heap (mallinfo) a full history of 100 such steps holds per
// step. A single step's heap is not measured alone: a later step reuses what an undone one gave back.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/media_rows.h"
#include "bench/row_sizes.h"
#include "library/media_list.h"
#include "library/playlist_edits.h"
#include "library/playlist_history.h"
#include "platform/random.h"

namespace {

karvo::media_list& filled(int rows) {
    static std::map<int, std::unique_ptr<karvo::media_list>> lists;
    auto& list = lists[rows];
    if (!list) {
        list = std::make_unique<karvo::media_list>();
        for (const auto& info : karvo::bench::make_media_infos(rows))
            list->append(info, "Bench");
        karvo::platform::random_source random(7);
        list->randomize(random);
    }
    return *list;
}

std::size_t heap_in_use() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The last three rows, as End, Shift+Up twice and Del select them.
std::vector<int> last_three(const karvo::media_list& list) {
    return {list.count() - 3, list.count() - 2, list.count() - 1};
}

void BM_record_delete(benchmark::State& state) {
    karvo::media_list& list = filled(static_cast<int>(state.range(0)));
    karvo::playlist_history history;
    for (auto _ : state) {
        history.change(list, "Delete Selected", [&] { return karvo::delete_selected(list, last_three(list)).changed; });
        state.PauseTiming();
        history.undo(list);
        state.ResumeTiming();
    }
}

void BM_undo_delete(benchmark::State& state) {
    karvo::media_list& list = filled(static_cast<int>(state.range(0)));
    karvo::playlist_history history;
    for (auto _ : state) {
        state.PauseTiming();
        history.change(list, "Delete Selected", [&] { return karvo::delete_selected(list, last_three(list)).changed; });
        state.ResumeTiming();
        history.undo(list);
    }
}

// A full history of 100 such steps: its heap per step.
void BM_hundred_steps(benchmark::State& state) {
    karvo::media_list& list = filled(static_cast<int>(state.range(0)));
    double per_step = 0;
    for (auto _ : state) {
        karvo::playlist_history history;
        malloc_trim(0);
        const std::size_t before = heap_in_use();
        for (int step = 0; step < 100; ++step)
            history.change(list, "Delete Selected", [&] { return karvo::delete_selected(list, {step}).changed; });
        per_step = static_cast<double>(heap_in_use() - before) / 100;
        state.PauseTiming();
        while (history.undo(list)) {
        }
        state.ResumeTiming();
    }
    state.counters["MB_per_step"] = per_step / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    karvo::bench::row_sizes arguments(argc, argv);
    for (const long rows : arguments.sizes) {
        benchmark::RegisterBenchmark("record_delete", BM_record_delete)->Arg(rows)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("undo_delete", BM_undo_delete)->Arg(rows)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("hundred_steps", BM_hundred_steps)
            ->Arg(rows)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&arguments.rest_count, arguments.rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
