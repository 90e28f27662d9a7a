// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual playlist's store at 100,000 and 1,000,000 rows generated like a real collection, the previous store
// (bench/old_media_list.*) beside the compact one: memory per row, append, clear, serialise, sorts, backup,
// restore and a narrowing search with its undoing; beside them the floor of each (the least work the measure needs,
// on the same rows in the same run). Ends with a table of old, new and floor side by side, with their ratios.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>
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
#include "library/column_arena.h"
#include "library/media_list.h"
#include "library/playlist_search.h"
#include "library/sort_keys.h"
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

// What a save writes: the new store's one block of lines, the old store's list of lines.
void serialise(const new_list& list) {
    benchmark::DoNotOptimize(list.serialise_for_file());
}

void serialise(const old_list& list) {
    benchmark::DoNotOptimize(list.serialise_all());
}

template <typename List>
void BM_serialise(benchmark::State& state) {
    const List& list = filled<List>(static_cast<int>(state.range(0)));
    for (auto _ : state)
        serialise(list);
}

// Floors: the least work each measure needs, on the same rows in the same run.

// The info strings split into their fields, nothing stored: what any append must do.
void BM_parse_floor(benchmark::State& state) {
    const auto& lines = infos(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& line : lines) {
            const karvo::media_field_views fields = karvo::split_media_info(line);
            for (const auto field : fields)
                total += field.size();
        }
        benchmark::DoNotOptimize(total);
    }
}

// The fields as plain columns of views, read and written in row order as lines into one block, on as many cores as
// the store uses.
void BM_write_floor(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const auto& lines = infos(rows);
    std::vector<karvo::media_field_views> columns(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k)
        columns[k] = karvo::split_media_info(lines[k]);
    for (auto _ : state) {
        std::vector<std::size_t> start(columns.size() + 1, 0);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            std::size_t size = karvo::info_field_count + 3;
            for (const auto field : columns[k])
                size += field.size();
            start[k + 1] = start[k] + size;
        }
        karvo::big_text text(start.back());
        char* const out = text.data();
        karvo::in_halves(columns.size(), [&](std::size_t begin, std::size_t end, int) {
            for (std::size_t k = begin; k < end; ++k) {
                char* p = out + start[k];
                for (const auto field : columns[k]) {
                    std::memcpy(p, field.data(), field.size());
                    p += field.size();
                    *p++ = karvo::info_separator;
                }
                *p++ = karvo::info_separator;
                *p++ = '\r';
                *p = '\n';
            }
        });
        benchmark::DoNotOptimize(text.data());
    }
}

// A counting sort of the rows by the rank of their Length text: the least a sort of that column can do.
void BM_radix_floor(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const new_list& list = filled<new_list>(rows);
    std::map<std::string, std::uint32_t> ranks;
    for (int row = 0; row < rows; ++row)
        ranks.emplace(std::string(list.cell(karvo::Length, row)), 0);
    std::uint32_t next = 0;
    for (auto& [text, rank] : ranks)
        rank = next++;
    std::vector<std::uint32_t> keys(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        keys[static_cast<std::size_t>(row)] = ranks[std::string(list.cell(karvo::Length, row))];
    std::vector<int> order(keys.size());
    for (auto _ : state) {
        std::vector<int> count(ranks.size() + 1, 0);
        for (const std::uint32_t key : keys)
            ++count[key + 1];
        for (std::size_t k = 1; k < count.size(); ++k)
            count[k] += count[k - 1];
        for (std::size_t row = 0; row < keys.size(); ++row)
            order[static_cast<std::size_t>(count[keys[row]]++)] = static_cast<int>(row);
        benchmark::DoNotOptimize(order.data());
    }
}

// An LSD radix sort of the paths' first eight upper-cased bytes: any byte-wise sort of the paths must at least
// order these.
void BM_byte_sort_floor(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const new_list& list = filled<new_list>(rows);
    std::vector<std::uint64_t> heads(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const std::string key = karvo::upper_case(list.cell(karvo::FullPath, row));
        heads[static_cast<std::size_t>(row)] = karvo::make_sort_entry(key, row).head;
    }
    std::vector<std::pair<std::uint64_t, int>> a(heads.size());
    std::vector<std::pair<std::uint64_t, int>> b(heads.size());
    for (auto _ : state) {
        for (std::size_t k = 0; k < heads.size(); ++k)
            a[k] = {heads[k], static_cast<int>(k)};
        for (int shift = 0; shift < 64; shift += 16) {
            std::vector<std::size_t> count((1u << 16) + 1, 0);
            for (const auto& entry : a)
                ++count[((entry.first >> shift) & 0xFFFFu) + 1];
            for (std::size_t k = 1; k < count.size(); ++k)
                count[k] += count[k - 1];
            for (const auto& entry : a)
                b[count[(entry.first >> shift) & 0xFFFFu]++] = entry;
            a.swap(b);
        }
        benchmark::DoNotOptimize(a.data());
    }
}

// The artist term found with memmem in one block of every row's upper-cased artist, one per line.
void BM_search_floor(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const new_list& list = filled<new_list>(rows);
    std::string block;
    for (int row = 0; row < rows; ++row) {
        karvo::append_upper_case(block, list.cell(karvo::Artist, row));
        block += '\n';
    }
    const std::string term = karvo::upper_case("kamé");
    int found = 0;
    for (auto _ : state) {
        found = 0;
        const char* at = block.data();
        const char* const end = block.data() + block.size();
        while (const void* hit = ::memmem(at, static_cast<std::size_t>(end - at), term.data(), term.size())) {
            ++found;
            const void* line_end = std::memchr(hit, '\n', static_cast<std::size_t>(end - static_cast<const char*>(hit)));
            at = static_cast<const char*>(line_end) + 1;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
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

// Each floor is filed under the measure it bounds.
void register_floors(const std::vector<long>& sizes) {
    const auto add = [&](const std::string& operation, void (*function)(benchmark::State&)) {
        for (const long rows : sizes) {
            auto* bench = benchmark::RegisterBenchmark((operation + "/floor").c_str(), function);
            bench->Arg(rows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
        }
    };
    add("append", BM_parse_floor);
    add("serialise", BM_write_floor);
    add("sort_length", BM_radix_floor);
    add("sort_full_path", BM_byte_sort_floor);
    add("search_artist", BM_search_floor);
}

void print_table(const figures& table) {
    std::printf("\n%-22s %9s %12s %12s %8s %12s %9s\n", "measure", "rows", "old", "new", "old/new", "floor",
                "new/floor");
    const auto value = [](const std::map<std::string, double>& by_store, const char* store) {
        const auto found = by_store.find(store);
        return found == by_store.end() ? 0.0 : found->second;
    };
    for (const auto& [measure, by_rows] : table.values)
        for (const auto& [rows, by_store] : by_rows) {
            const double o = value(by_store, "old");
            const double n = value(by_store, "new");
            const double f = value(by_store, "floor");
            std::printf("%-22s %9ld %12.2f %12.2f %8.1f", measure.c_str(), rows, o, n, n > 0 ? o / n : 0.0);
            if (f > 0)
                std::printf(" %12.2f %8.1fx", f, n / f);
            std::printf("\n");
        }
}

} // namespace

// Without arguments both sizes run; `--rows=N` runs one size.
int main(int argc, char** argv) {
    karvo::bench::row_sizes arguments(argc, argv);
    register_store<old_list>("old", arguments.sizes);
    register_store<new_list>("new", arguments.sizes);
    register_floors(arguments.sizes);
    benchmark::Initialize(&arguments.rest_count, arguments.rest.data());
    figures table;
    table_reporter reporter(table);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_table(table);
    return 0;
}
