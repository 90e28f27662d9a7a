// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the media information of a folder of 2,000 tagged MP3 files, warm (in the page cache) and cold (each file
// evicted first): the resource plug-in one file after another, the same on the read-ahead pool, and the raw floor
// (open, read the head and the tail). Then the window's folder listing itself, with its progress on the status
// line. Runs on the offscreen platform with the window shown, so the status line really paints.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/Main_form/navigation/folder_listing_model.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "bench/main_window_fixture.h"
#include "components/Readahead/read_ahead_pool.h"
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
        for (const std::string& name : karvo::folder_media_names(music, window->context().media_types))
            paths.push_back(music + name);
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
        ::sync(); // written back, so that evicting really drops the pages
    }
    std::string music;
    std::vector<std::string> paths;
};

bench_setup& setup() {
    static bench_setup instance;
    return instance;
}

// Drops the files' pages from the page cache (no root needed for clean pages of one's own files).
void evict(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// The least any reader does: open, read the head (ID3v2 and the first frames) and the tail (ID3v1).
std::string raw_read(const std::string& path) {
    std::array<char, 4096> head{};
    std::array<char, 128> tail{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info {};
    ::fstat(fd, &info);
    const ssize_t got = ::pread(fd, head.data(), head.size(), 0);
    const ssize_t end = info.st_size > 128 ? ::pread(fd, tail.data(), tail.size(), info.st_size - 128) : 0;
    ::close(fd);
    return std::to_string(got + end); // the byte count, so the reads are not optimised away
}

enum class reader_kind { one_thread, pool, raw_one_thread, raw_pool };

std::vector<std::string> read_all(bench_setup& s, reader_kind kind) {
    std::vector<std::string> infos;
    infos.reserve(s.paths.size());
    const karvo::resource_plugin& resource = s.window->context().resource;
    const auto plugin = [&resource](const std::string& path) { return resource.media_info_string(path); };
    const auto keep = [&infos](const karvo::read_ahead_result& r) { infos.push_back(r.info); };
    switch (kind) {
        case reader_kind::one_thread:
            for (const std::string& path : s.paths)
                infos.push_back(plugin(path));
            break;
        case reader_kind::pool: karvo::read_ahead_each(s.paths, plugin, resource.read_ahead(), keep); break;
        case reader_kind::raw_one_thread:
            for (const std::string& path : s.paths)
                infos.push_back(raw_read(path));
            break;
        case reader_kind::raw_pool:
            karvo::read_ahead_each(s.paths, raw_read, {true, karvo::read_ahead_pool::max_threads, 0}, keep);
            break;
    }
    return infos;
}

// The plug-in on a pool of `threads` readers.
std::vector<std::string> read_on_pool(bench_setup& s, int threads) {
    std::vector<std::string> infos;
    const karvo::resource_plugin& resource = s.window->context().resource;
    karvo::read_ahead_each(
        s.paths, [&resource](const std::string& path) { return resource.media_info_string(path); },
        {resource.is_reentrant(), threads, 0},
        [&infos](const karvo::read_ahead_result& r) { infos.push_back(r.info); });
    return infos;
}

double timed_ms(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Args: reader kind, cold (1) or warm (0). Manual time, so eviction is not counted.
void BM_read(benchmark::State& state) {
    auto& s = setup();
    const auto kind = static_cast<reader_kind>(state.range(0));
    const bool cold = state.range(1) != 0;
    for (auto _ : state) {
        if (cold)
            evict(s.paths);
        std::vector<std::string> infos;
        state.SetIterationTime(timed_ms([&] { infos = read_all(s, kind); }) / 1000.0);
        benchmark::DoNotOptimize(infos.data());
    }
    state.counters["us_per_file"] =
        benchmark::Counter(static_cast<double>(s.paths.size()) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One thread and the pool in turn in each iteration, so the ratio is not skewed by a machine that got busier
// between two benchmarks; the pool's results must equal the one thread's, in the same order.
void BM_pool_over_one_thread(benchmark::State& state) {
    auto& s = setup();
    const bool cold = state.range(0) != 0;
    double one_ms = 0, pool_ms = 0;
    bool identical = true;
    for (auto _ : state) {
        std::vector<std::string> one, pool;
        if (cold)
            evict(s.paths);
        one_ms += timed_ms([&] { one = read_all(s, reader_kind::one_thread); });
        if (cold)
            evict(s.paths);
        pool_ms += timed_ms([&] { pool = read_all(s, reader_kind::pool); });
        identical = identical && one == pool && one.size() == s.paths.size();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["one_thread_ms"] = one_ms / runs;
    state.counters["pool_ms"] = pool_ms / runs;
    state.counters["speed_up"] = one_ms / pool_ms;
    state.counters["identical"] = identical ? 1 : 0;
    state.counters["threads"] =
        s.window->context().resource.is_reentrant() ? karvo::read_ahead_pool::default_threads() : 1;
}

// Args: readers, cold. How the pool's size plays out on this machine.
void BM_pool_threads(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state) {
        if (state.range(1) != 0)
            evict(s.paths);
        std::vector<std::string> infos;
        state.SetIterationTime(timed_ms([&] { infos = read_on_pool(s, static_cast<int>(state.range(0))); }) / 1000.0);
        benchmark::DoNotOptimize(infos.data());
    }
}

double listing(bench_setup& s) {
    return timed_ms([&] {
        s.window->navigation_area().LstMusicListAllFill(s.music);
        while (s.window->listing().filling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
}

void BM_folder_listing(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state)
        listing(s);
    state.counters["rows"] = s.window->listing().model()->rowCount();
}

// The window's listing against the plug-in alone on one thread, in turn.
void BM_listing_over_plugin(benchmark::State& state) {
    auto& s = setup();
    double plugin_ms = 0, listing_ms = 0;
    const int repaints_before = s.window->status().progress_repaints();
    for (auto _ : state) {
        plugin_ms += timed_ms([&] { benchmark::DoNotOptimize(read_all(s, reader_kind::one_thread).size()); });
        listing_ms += listing(s);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["plugin_ms"] = plugin_ms / runs;
    state.counters["listing_ms"] = listing_ms / runs;
    state.counters["ratio"] = listing_ms / plugin_ms;
    state.counters["repaints_per_fill"] = (s.window->status().progress_repaints() - repaints_before) / runs;
}

void reader_args(benchmark::internal::Benchmark* b) {
    b->ArgNames({"kind", "cold"});
    for (int cold : {0, 1})
        for (int kind : {0, 1, 2, 3})
            b->Args({kind, cold});
}

BENCHMARK(BM_read)->Apply(reader_args)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_pool_over_one_thread)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_pool_threads)
    ->ArgNames({"threads", "cold"})
    ->ArgsProduct({{2, 3, 4, 6, 8}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_folder_listing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_listing_over_plugin)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
