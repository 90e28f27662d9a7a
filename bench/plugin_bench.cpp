// SPDX-License-Identifier: GPL-3.0-or-later
// Media information speed: the shipped resource plug-in's info string through the program's loader, against a
// bare TagLib read of the same files and the raw cost of touching each file's head and tail. Prints files per
// second for each and the plug-in / bare TagLib time ratio.
#include "plugins/resource_plugin.h"
#include "tests/support/media_fixtures.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace karvo;

constexpr int file_count = 2000;

struct corpus {
    testing::fixture_folder folder;
    std::vector<std::string> paths;
};

// Small tagged MP3 files: alternate Latin-1 and UTF-16 ID3v2 tags, each with an ID3v1 tag too.
void generate(corpus& made) {
    for (int i = 0; i < file_count; ++i) {
        const testing::tag_fields tag{"Title " + std::to_string(i),
                                      "Artist " + std::to_string(i % 97),
                                      "Album " + std::to_string(i % 31),
                                      "Comment for file " + std::to_string(i),
                                      "Jazz",
                                      1990 + i % 30,
                                      1 + i % 20};
        const auto encoding = i % 2 ? testing::id3v2_encoding::utf16 : testing::id3v2_encoding::latin1;
        made.paths.push_back(made.folder.file("track " + std::to_string(i) + ".mp3"));
        testing::write_mp3(made.paths.back(),
                           testing::mp3_options().with_frames(40).with_id3v2(tag, encoding).with_id3v1(tag));
    }
}

const corpus& files() {
    static corpus made;
    // Written back to disk before any measurement, so write-back does not slow whichever benchmark runs first.
    static const bool generated = (generate(made), ::sync(), true);
    (void)generated;
    return made;
}

const resource_plugin& plugin() {
    static const resource_plugin loaded = [] {
        resource_plugin p;
        if (!p.load(KARVO_PLUGIN_DIR "/resource.krp"))
            std::fprintf(stderr, "cannot load resource.krp: %s\n", p.error().c_str());
        return p;
    }();
    return loaded;
}

// The same plug-in read through helper processes, as the program reads.
const resource_plugin& helper_plugin() {
    static const resource_plugin loaded = [] {
        resource_plugin p;
        if (!p.load(KARVO_PLUGIN_DIR "/resource.krp") || !p.use_reader_process(KARVO_MEDIA_READER_PATH))
            std::fprintf(stderr, "cannot read through %s\n", KARVO_MEDIA_READER_PATH);
        return p;
    }();
    return loaded;
}

void per_file(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files().paths.size()));
}

void plugin_info_string(benchmark::State& state) {
    const resource_plugin& p = plugin();
    for (auto _ : state)
        for (const std::string& path : files().paths)
            benchmark::DoNotOptimize(p.media_info_string(path));
    per_file(state);
}

// One read after the other: each waits for its round trip over the helper's socket.
void helper_info_string(benchmark::State& state) {
    const resource_plugin& p = helper_plugin();
    for (auto _ : state)
        for (const std::string& path : files().paths)
            benchmark::DoNotOptimize(p.media_info_string(path));
    per_file(state);
}

// As a folder is listed: read ahead on the pool as each way allows (in this process one thread for a plug-in that
// is not reentrant; helpers side by side, each on a stream of requests). `streams` off: helpers one request at a
// time.
void read_ahead_each_way(benchmark::State& state, const resource_plugin& p, bool streams) {
    read_ahead_policy policy = p.read_ahead();
    if (!streams)
        policy.stream = {};
    for (auto _ : state)
        read_ahead_each(files().paths, [&p](const std::string& path) { return p.media_info_string(path); }, policy,
                        [](const read_ahead_result& r) { benchmark::DoNotOptimize(r.info.size()); });
    per_file(state);
}
void plugin_read_ahead(benchmark::State& state) {
    read_ahead_each_way(state, plugin(), true);
}
void helper_read_ahead_one_by_one(benchmark::State& state) {
    read_ahead_each_way(state, helper_plugin(), false);
}
void helper_read_ahead_streamed(benchmark::State& state) {
    read_ahead_each_way(state, helper_plugin(), true);
}

void bare_taglib(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& path : files().paths) {
            const TagLib::FileRef ref(path.c_str(), true, TagLib::AudioProperties::Fast);
            if (const TagLib::Tag* tag = ref.tag()) {
                benchmark::DoNotOptimize(tag->title().to8Bit(true));
                benchmark::DoNotOptimize(tag->artist().to8Bit(true));
                benchmark::DoNotOptimize(tag->album().to8Bit(true));
                benchmark::DoNotOptimize(tag->comment().to8Bit(true));
                benchmark::DoNotOptimize(tag->genre().to8Bit(true));
                benchmark::DoNotOptimize(tag->year() + tag->track());
            }
            if (const TagLib::AudioProperties* audio = ref.audioProperties())
                benchmark::DoNotOptimize(audio->lengthInSeconds() + audio->bitrate() + audio->sampleRate() +
                                         audio->channels());
        }
    per_file(state);
}

void raw_head_and_tail(benchmark::State& state) {
    char head[4096], tail[128];
    for (auto _ : state)
        for (const std::string& path : files().paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            benchmark::DoNotOptimize(::read(fd, head, sizeof head));
            if (::lseek(fd, -static_cast<off_t>(sizeof tail), SEEK_END) >= 0)
                benchmark::DoNotOptimize(::read(fd, tail, sizeof tail));
            ::close(fd);
        }
    per_file(state);
}

// Remembers each benchmark's time per iteration so the ratio can be printed after the table.
class ratio_reporter : public benchmark::ConsoleReporter {
public:
    ratio_reporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // The median of the repetitions when there are several, else the single run.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians_.contains(run.run_name.function_name)))
                times_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (median)
                medians_.insert(run.run_name.function_name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Milliseconds per pass over all files: wall clock and processor time.
    std::pair<double, double> time(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? std::pair{0.0, 0.0} : it->second;
    }

private:
    std::map<std::string, std::pair<double, double>> times_;
    std::set<std::string> medians_;
};

} // namespace

// Several passes, repeated, and the medians compared: a busy machine disturbs one pass less.
BENCHMARK(plugin_info_string)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(helper_info_string)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(plugin_read_ahead)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(helper_read_ahead_one_by_one)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(helper_read_ahead_streamed)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(bare_taglib)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)->Repetitions(3);
BENCHMARK(raw_head_and_tail)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Repetitions(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!plugin().loaded())
        return 1;
    std::printf("%zu generated MP3 files in %s\n", files().paths.size(), files().folder.path().c_str());
    ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto [plugin_real, plugin_cpu] = reporter.time("plugin_info_string");
    const auto [bare_real, bare_cpu] = reporter.time("bare_taglib");
    const auto [raw_real, raw_cpu] = reporter.time("raw_head_and_tail");
    const auto rate = [](double ms) { return ms > 0 ? file_count / (ms / 1000.0) : 0.0; };
    std::printf("files/s (wall clock): plug-in %.0f, bare TagLib %.0f, raw head+tail %.0f\n", rate(plugin_real),
                rate(bare_real), rate(raw_real));
    std::printf("files/s (processor):  plug-in %.0f, bare TagLib %.0f, raw head+tail %.0f\n", rate(plugin_cpu),
                rate(bare_cpu), rate(raw_cpu));
    const auto ms_per_read = [&reporter](const char* name) { return reporter.time(name).first * 1000.0 / file_count; };
    std::printf("us per read: in process %.1f, helper %.1f; read ahead: in process %.1f, helpers one by one %.1f, "
                "helpers streamed %.1f\n",
                ms_per_read("plugin_info_string"), ms_per_read("helper_info_string"), ms_per_read("plugin_read_ahead"),
                ms_per_read("helper_read_ahead_one_by_one"), ms_per_read("helper_read_ahead_streamed"));
    if (bare_real > 0 && bare_cpu > 0)
        std::printf("plug-in / bare TagLib time: %.3f wall clock, %.3f processor (goal <= 1.3)\n",
                    plugin_real / bare_real, plugin_cpu / bare_cpu);
    benchmark::Shutdown();
    return 0;
}
