// The folder listing of a folder with 2,000 tagged MP3 files (warm cache), with its per-file progress on the status
// line, against the resource plug-in alone reading the same files. Runs on the offscreen platform with the window
// shown, so the status line really paints.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/folder_listing_model.h"
#include "library/folder_scanner.h"
#include "platform/prompts.h"
#include "tests/support/media_fixtures.h"

namespace {

constexpr int file_count = 2000;

class silent_prompts final : public karvo::platform::prompts {
public:
    karvo::platform::message_result message_box(const std::string&, const std::string&,
                                                karvo::platform::message_buttons,
                                                karvo::platform::message_icon) override {
        return karvo::platform::message_result::ok;
    }
    std::optional<std::string> input_box(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> open_file(const karvo::platform::file_dialog_options&) override { return {}; }
    std::optional<std::string> save_file(const karvo::platform::file_dialog_options&) override { return {}; }
    std::optional<std::string> choose_folder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::uint32_t> choose_colour(std::uint32_t) override { return {}; }
};

struct bench_setup {
    bench_setup() {
        folder = std::filesystem::temp_directory_path() / ("karvo-listing-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "plugins");
        std::filesystem::create_directories(folder / "music");
        std::filesystem::create_symlink(KARVO_PLUGIN_DIR "/resource.krp", folder / "plugins/resource.krp");
        music = folder.string() + "/music/";
        for (int i = 0; i < file_count; ++i) {
            karvo::testing::tag_fields tag = karvo::testing::title_tag("Song " + std::to_string(i),
                                                                       "Artist " + std::to_string(i % 37));
            tag.album = "Album " + std::to_string(i % 101);
            tag.year = 1950 + i % 70;
            tag.genre = "Jazz";
            karvo::testing::write_mp3(music + "track " + std::to_string(i) + ".mp3",
                                      karvo::testing::mp3_options().with_frames(20).with_id3v2(tag).with_id3v1(tag));
        }
        window = std::make_unique<karvo::TfrmMain>(
            karvo::main_environment{folder.string() + "/", folder.string() + "/", prompts, [] {}});
        window->FormCreate();
        window->resize(1024, 768);
        window->show();
        QApplication::processEvents();
        names = karvo::folder_media_names(music, window->media_types);
    }
    ~bench_setup() {
        window.reset();
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
    std::string music;
    karvo::string_list names;
    silent_prompts prompts;
    std::unique_ptr<karvo::TfrmMain> window;
};

bench_setup& setup() {
    static bench_setup instance;
    return instance;
}

double plugin_only(bench_setup& s) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    for (const std::string& name : s.names) bytes += s.window->resource.media_info_string(s.music + name).size();
    benchmark::DoNotOptimize(bytes);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double listing(bench_setup& s) {
    const auto start = std::chrono::steady_clock::now();
    s.window->LstMusicListAllFill(s.music);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_plugin_only(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state) plugin_only(s);
    state.counters["files"] = static_cast<double>(s.names.size());
}

void BM_folder_listing(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state) listing(s);
    state.counters["rows"] = s.window->folder_model->rowCount();
}

// Both in turn in one run, so the ratio is not skewed by a machine that got busier between two benchmarks.
void BM_listing_over_plugin(benchmark::State& state) {
    auto& s = setup();
    double plugin_ms = 0, listing_ms = 0;
    const int repaints_before = s.window->progress_repaints;
    for (auto _ : state) {
        plugin_ms += plugin_only(s);
        listing_ms += listing(s);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["plugin_ms"] = plugin_ms / runs;
    state.counters["listing_ms"] = listing_ms / runs;
    state.counters["ratio"] = listing_ms / plugin_ms;
    state.counters["repaints_per_fill"] = (s.window->progress_repaints - repaints_before) / runs;
}

BENCHMARK(BM_plugin_only)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_folder_listing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_listing_over_plugin)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
