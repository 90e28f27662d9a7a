// SPDX-License-Identifier: GPL-3.0-or-later
// A media file whose ID3v2.3 tag holds 20,000 frames, read through the resource plug-in beside an ordinary file;
// then the window's folder listing of 2,000 ordinary files with and without that file among them, and the ratio
// of the two (goals: the read within 50 ms, the ratio within 1.2).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Main_form/navigation/folder_listing_model.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "bench/main_window_fixture.h"
#include "plugins/resource_plugin.h"
#include "tests/support/media_fixtures.h"

namespace {

constexpr int file_count = 2000;
constexpr int crowded_frames = 20000;

karvo::testing::tag_fields tag_of(int i) {
    karvo::testing::tag_fields tag =
        karvo::testing::title_tag("Song " + std::to_string(i), "Artist " + std::to_string(i % 37));
    tag.album = "Album " + std::to_string(i % 101);
    tag.year = 1950 + i % 70;
    tag.genre = "Jazz";
    return tag;
}

// "plain/" holds 2,000 ordinary files; "crowded/" the same files (hard links) and one with 20,000 frames.
struct bench_setup : karvo::bench::main_window_fixture {
    bench_setup() : main_window_fixture("tag-frames", write_music) {
        plain = folder.string() + "/plain/";
        crowded = folder.string() + "/crowded/";
        window->show();
        QApplication::processEvents();
    }
    static void write_music(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder / "plain");
        std::filesystem::create_directories(folder / "crowded");
        for (int i = 0; i < file_count; ++i) {
            const std::string name = "track " + std::to_string(i) + ".mp3";
            karvo::testing::write_mp3(
                (folder / "plain" / name).string(),
                karvo::testing::mp3_options().with_frames(20).with_id3v2(tag_of(i)).with_id3v1(tag_of(i)));
            std::filesystem::create_hard_link(folder / "plain" / name, folder / "crowded" / name);
        }
        karvo::testing::write_mp3(
            (folder / "crowded" / "crowded tag.mp3").string(),
            karvo::testing::mp3_options().with_frames(20).with_id3v2(tag_of(0)).with_extra_frames(crowded_frames));
        ::sync();
    }
    std::string plain, crowded;
};

bench_setup& setup() {
    static bench_setup instance;
    return instance;
}

template <typename F>
double timed_ms(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

const karvo::resource_plugin& plugin() {
    static const karvo::resource_plugin loaded = [] {
        karvo::resource_plugin p;
        p.load(KARVO_PLUGIN_DIR "/resource.krp");
        return p;
    }();
    return loaded;
}

// One read of the crowded file (arg 1) or of an ordinary one (arg 0).
void BM_read_one(benchmark::State& state) {
    auto& s = setup();
    const std::string path = state.range(0) ? s.crowded + "crowded tag.mp3" : s.plain + "track 1.mp3";
    for (auto _ : state)
        benchmark::DoNotOptimize(plugin().media_info_string(path));
}

double listing(bench_setup& s, const std::string& folder) {
    return timed_ms([&] {
        s.window->navigation_area().LstMusicListAllFill(folder);
        while (s.window->listing().filling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
}

// The two listings in turn, so a busy machine disturbs both alike; medians compared.
void BM_listing_with_crowded_file(benchmark::State& state) {
    auto& s = setup();
    std::vector<double> plain_ms, crowded_ms;
    for (auto _ : state) {
        plain_ms.push_back(listing(s, s.plain));
        crowded_ms.push_back(listing(s, s.crowded));
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["plain_ms"] = median(plain_ms);
    state.counters["crowded_ms"] = median(crowded_ms);
    state.counters["ratio"] = median(crowded_ms) / median(plain_ms);
}

} // namespace

BENCHMARK(BM_read_one)->ArgName("crowded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_listing_with_crowded_file)->Unit(benchmark::kMillisecond)->Iterations(9);

int main(int argc, char** argv) {
    return karvo::bench::run_window_benchmarks(argc, argv);
}
