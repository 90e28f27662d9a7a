// SPDX-License-Identifier: GPL-3.0-or-later
// The fixture of the benchmarks that drive the whole main window on the offscreen platform: a throw-away program
// folder holding the resource plug-in, a window started in it that never waits on a dialog, and the Qt main.
#pragma once

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "app/Main_form/chrome/status_pane.h"
#include "platform/prompts.h"

namespace karvo::bench {

class silent_prompts final : public platform::prompts {
public:
    platform::message_result message_box(const std::string&, const std::string&, platform::message_buttons,
                                         platform::message_icon) override {
        return platform::message_result::ok;
    }
    std::optional<std::string> input_box(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> open_file(const platform::file_dialog_options&) override { return {}; }
    std::optional<std::string> save_file(const platform::file_dialog_options&) override { return {}; }
    std::optional<std::string> choose_folder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::uint32_t> choose_colour(std::uint32_t) override { return {}; }
};

// The virtual playlist's view of a window, found by its name as a screen reader finds it.
inline QTableView* playlist_view(QWidget& window) {
    return window.findChild<QTableView*>(QStringLiteral("LstMusicList"));
}

struct main_window_fixture;

// The fixtures alive, so that their windows close while the application still exists: the fixtures themselves are
// function statics that outlive main().
inline std::vector<main_window_fixture*>& live_fixtures() {
    static std::vector<main_window_fixture*> fixtures;
    return fixtures;
}

// `name` tells the temporary folders of the benchmarks apart; `prepare` fills the folder before the window starts.
struct main_window_fixture {
    explicit main_window_fixture(const std::string& name,
                                 const std::function<void(const std::filesystem::path&)>& prepare = {}) {
        folder = std::filesystem::temp_directory_path() / ("karvo-" + name + "-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "plugins");
        std::filesystem::create_symlink(KARVO_PLUGIN_DIR "/resource.krp", folder / "plugins/resource.krp");
        if (prepare)
            prepare(folder);
        const std::string program_folder = folder.string() + "/";
        window = std::make_unique<TfrmMain>(main_environment{program_folder, program_folder, prompts, [] {}});
        window->FormCreate();
        window->resize(1024, 768);
        live_fixtures().push_back(this);
    }
    ~main_window_fixture() {
        std::erase(live_fixtures(), this);
        window.reset();
        std::filesystem::remove_all(folder);
    }
    main_window_fixture(const main_window_fixture&) = delete;
    main_window_fixture& operator=(const main_window_fixture&) = delete;

    std::filesystem::path folder;
    silent_prompts prompts;
    std::unique_ptr<TfrmMain> window;
};

// main() of such a benchmark: the offscreen platform unless another is asked for.
inline int run_window_benchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (main_window_fixture* fixture : live_fixtures())
        fixture->window.reset();
    return 0;
}

} // namespace karvo::bench
