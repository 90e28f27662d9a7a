// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual playlist's store at 100,000 and 1,000,000 rows generated like a real collection, the previous store
// (bench/old_media_list.*) beside the compact one: memory per row, append, clear, serialise, sorts, backup,
// restore and a narrowing search with its undoing. Ends with a table of old and new side by side.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/media_rows.h"
#include "bench/old_media_list.h"
#include "bench/row_sizes.h"
#include "library/media_list.h"
#include "library/playlist_search.h"
#include "library/text.h"
#include "platform/random.h"

namespace {

using new_list = karvo::media_list;
using old_list = karvo::old_store::media_list;

const std::vector<std::string>& infos(int rows) {
    static std::map<int, std::vector<std::string>> made;
    auto& entry = made[rows];
    if (entry.empty())
        entry = karvo::bench::make_media_infos(rows);
    return entry;
}

template <typename List>
void fill(List& list, int rows) {
    for (const auto& info : infos(rows))
        list.append(info, "Bench");
}

std::size_t heap_in_use() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::size_t resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Filling a new list; the heap and resident growth it causes, per row.
template <typename List>
void BM_append(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    infos(rows);
    double heap = 0;
    double resident = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const std::size_t heap_before = heap_in_use();
        const std::size_t resident_before = resident_bytes();
        auto list = std::make_unique<List>();
        state.ResumeTiming();
        fill(*list, rows);
        state.PauseTiming();
        heap = static_cast<double>(heap_in_use() - heap_before) / rows;
        resident = static_cast<double>(resident_bytes() - resident_before) / rows;
        list.reset();
        state.ResumeTiming();
    }
    state.counters["heap_B_per_row"] = heap;
    state.counters["rss_B_per_row"] = resident;
}

template <typename List>
List& filled(int rows) {
    static std::map<int, std::unique_ptr<List>> lists;
    auto& list = lists[rows];
    if (!list) {
        list = std::make_unique<List>();
        fill(*list, rows);
        // A shuffled order, as a list looks before it is sorted.
        karvo::platform::random_source random(7);
        list->randomize(random);
        list->discard_backup();
    }
    return *list;
}

template <typename List>
void BM_clear(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    List list;
    for (auto _ : state) {
        state.PauseTiming();
        fill(list, rows);
        state.ResumeTiming();
        list.clear();
    }
}

template <typename List>
void BM_serialise(benchmark::State& state) {
    const List& list = filled<List>(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(list.serialise_all());
}

template <typename List, int column>
void BM_sort(benchmark::State& state) {
    List& list = filled<List>(static_cast<int>(state.range(0)));
    const int starting_count = list.count();
    list.backup(); // the shuffled order, restored before each run
    for (auto _ : state) {
        state.PauseTiming();
        list.restore();
        state.ResumeTiming();
        list.sort_ascending(0, list.count() - 1, column);
    }
    list.restore();
    list.discard_backup();
    if (list.count() != starting_count)
        state.SkipWithError("the list changed");
}

template <typename List>
void BM_backup(benchmark::State& state) {
    List& list = filled<List>(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        list.backup();
        state.PauseTiming();
        list.discard_backup();
        state.ResumeTiming();
    }
}

template <typename List>
void BM_restore(benchmark::State& state) {
    List& list = filled<List>(static_cast<int>(state.range(0)));
    list.backup();
    for (auto _ : state)
        list.restore();
    list.discard_backup();
}

// "Display Found." over one column as the search runs it on the new store; the old store had the same steps: the
// rows moved to the backup, the backup's column matched from the last row, the matches appended back.
std::vector<int> old_matching(const old_list& list, int column, const std::string& needle) {
    std::vector<int> found;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    std::string key;
    for (int row = list.backup_count() - 1; row >= 0; --row) {
        key.clear();
        karvo::append_upper_case(key, list.backup_cell(column, row));
        if (std::search(key.begin(), key.end(), searcher) != key.end())
            found.push_back(row);
    }
    return found;
}

void narrow(new_list& list, const std::string& term, int category) {
    karvo::run_search(list, term, category, karvo::search_mode::display_found, {});
}

void narrow(old_list& list, const std::string& term, int category) {
    list.move_to_backup();
    list.append_rows_from_backup(old_matching(list, karvo::search_column(category), karvo::upper_case(term)));
}

// Category 2 is the artist, 0 the display name; the terms match about one row in a hundred.
template <typename List, int category>
void BM_search_narrow(benchmark::State& state) {
    List& list = filled<List>(static_cast<int>(state.range(0)));
    const int rows = list.count();
    const std::string term = category == 2 ? "kamé" : "rokaro";
    int found = 0;
    for (auto _ : state) {
        narrow(list, term, category);
        state.PauseTiming();
        found = list.count();
        list.restore_and_discard_backup();
        state.ResumeTiming();
    }
    state.counters["found"] = found;
    if (list.count() != rows)
        state.SkipWithError("the list did not come back");
}

// The undoing of a narrowed search: the full list back from the backup.
template <typename List>
void BM_search_undo(benchmark::State& state) {
    List& list = filled<List>(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        narrow(list, "kamé", 2);
        state.ResumeTiming();
        list.restore_and_discard_backup();
    }
}

// The figures of every run, for the table at the end: operation -> rows -> store -> value.
struct figures {
    std::map<std::string, std::map<long, std::map<std::string, double>>> values;
};

class table_reporter : public benchmark::ConsoleReporter {
public:
    explicit table_reporter(figures& out) : out_(out) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            // Names are operation/store/rows.
            std::string name = run.benchmark_name();
            name = name.substr(0, name.find("/iterations"));
            const std::size_t first = name.find('/');
            const std::size_t second = name.find('/', first + 1);
            const std::string operation = name.substr(0, first);
            const std::string store = name.substr(first + 1, second - first - 1);
            const long rows = std::stol(name.substr(second + 1));
            out_.values[operation + " (ms)"][rows][store] = run.GetAdjustedRealTime();
            for (const auto& [counter, value] : run.counters)
                if (counter.find("per_row") != std::string::npos)
                    out_.values[counter][rows][store] = value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    figures& out_;
};

template <typename List>
void register_store(const std::string& store, const std::vector<long>& sizes) {
    // A fixed, small number of runs: a million rows of the old store take seconds per run, and most runs need
    // untimed preparation.
    const auto add = [&](const std::string& operation, void (*function)(benchmark::State&)) {
        for (const long rows : sizes) {
            auto* bench = benchmark::RegisterBenchmark((operation + "/" + store).c_str(), function);
            bench->Arg(rows)->Unit(benchmark::kMillisecond)->UseRealTime();
            bench->Iterations(rows >= 1000000 || operation == "append" ? 3 : 10);
        }
    };
    add("append", BM_append<List>);
    add("clear", BM_clear<List>);
    add("serialise", BM_serialise<List>);
    add("sort_artist", BM_sort<List, karvo::Artist>);
    add("sort_media", BM_sort<List, karvo::Media>);
    add("sort_full_path", BM_sort<List, karvo::FullPath>);
    add("sort_length", BM_sort<List, karvo::Length>);
    add("backup", BM_backup<List>);
    add("restore", BM_restore<List>);
    add("search_artist", BM_search_narrow<List, 2>);
    add("search_media", BM_search_narrow<List, 0>);
    add("search_undo", BM_search_undo<List>);
}

void print_table(const figures& table) {
    std::printf("\n%-22s %9s %12s %12s %8s\n", "measure", "rows", "old", "new", "old/new");
    for (const auto& [measure, by_rows] : table.values)
        for (const auto& [rows, by_store] : by_rows) {
            const auto old_value = by_store.find("old");
            const auto new_value = by_store.find("new");
            const double o = old_value == by_store.end() ? 0 : old_value->second;
            const double n = new_value == by_store.end() ? 0 : new_value->second;
            std::printf("%-22s %9ld %12.2f %12.2f %8.1f\n", measure.c_str(), rows, o, n, n > 0 ? o / n : 0.0);
        }
}

} // namespace

// Without arguments both sizes run; `--rows=N` runs one size.
int main(int argc, char** argv) {
    karvo::bench::row_sizes arguments(argc, argv);
    register_store<old_list>("old", arguments.sizes);
    register_store<new_list>("new", arguments.sizes);
    benchmark::Initialize(&arguments.rest_count, arguments.rest.data());
    figures table;
    table_reporter reporter(table);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_table(table);
    return 0;
}
