// SPDX-License-Identifier: GPL-3.0-or-later
// A main window on a temporary program folder (plugins/resource.krp linked in from the build) with scripted
// answers, plus helpers that write karvo.ini and saved playlists.
#pragma once

#include <QTest>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome/chrome_controller.h"
#include "app/Main_form/navigation/navigation_controller.h"
#include "app/Main_form/players/players_controller.h"
#include "app/Main_form/playlist/playlist_controller.h"
#include "app/Main_form/stores/stores_controller.h"
#include "app/Main_form/tags/tags_controller.h"
#include "app/Main_form/picture_button.h"
#include "library/playlist_class.h"
#include "app/Main_form/chrome/chrome_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/navigation/listing_pane.h"
#include "app/Main_form/navigation/navigation_tree.h"
#include "app/Main_form/players/players_pane.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "app/Main_form/chrome/status_pane.h"
#include "app/Main_form/navigation/tree_pane.h"
#include "library/media_entry.h"
#include "platform/testing/scripted_media_bus.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/temp_folder.h"

namespace karvo::testing {

// A control of the window found by its name, as a user's tools find it; a missing one fails the test.
template <class W = QWidget>
W* part(const QObject& window, const char* name) {
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    if (!found) {
        ADD_FAILURE() << "no control named " << name;
        throw std::logic_error(name);
    }
    return found;
}

// The folder listing fills in the background: waits until the running fill has shown its count line.
inline bool wait_for_listing(TfrmMain& w) {
    return QTest::qWaitFor([&w] { return !w.listing().filling(); }, 20000);
}

struct song {
    std::string path, title, artist = {}, album = {}, year = {};
};

inline std::string media_info(const song& s) {
    media_fields fields;
    fields[0] = s.path;
    fields[1] = s.title;
    fields[2] = s.artist;
    fields[3] = s.album;
    fields[4] = s.year;
    fields[7] = "200";
    fields[12] = "128";
    return make_media_info(fields);
}

class main_window_fixture {
public:
    explicit main_window_fixture(bool with_resource_plugin = true) {
        std::filesystem::create_directories(folder.path() + "/plugins");
        if (with_resource_plugin)
            std::filesystem::create_symlink(KARVO_PLUGIN_DIR "/resource.krp", folder.file("plugins/resource.krp"));
    }

    std::string program() const { return folder.path() + "/"; }
    std::string ini() const { return folder.file("karvo.ini"); }

    void write_file(const std::string& relative, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(folder.file(relative)).parent_path());
        std::ofstream(folder.file(relative), std::ios::binary) << content;
    }
    void write_ini(const std::string& settings_lines) const {
        write_file("karvo.ini", "[Settings]\r\n" + settings_lines);
    }
    void save_playlist(const std::string& name, const std::vector<song>& songs) const {
        std::string lines;
        for (const auto& s : songs)
            lines += media_info(s) + "\r\n";
        write_file("Playlists/" + name + ".spl", lines);
    }
    std::string read_ini() const {
        std::ifstream in(ini(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Builds the window on `data_folder` (the program folder when empty) and runs its create event.
    TfrmMain& create(const std::string& data_folder = {}) {
        main_environment environment{program(), data_folder.empty() ? program() : data_folder, prompts,
                                     [this] { ++terminated; }};
        environment.program_exists = only_programs_here();
        environment.bus = &bus;
        environment.tray_available = tray_available;
        environment.media_read_limit = media_read_limit;
        window = std::make_unique<TfrmMain>(std::move(environment));
        created = window->FormCreate();
        return *window;
    }

    // Players count as installed only inside the test folder, whatever this machine has.
    std::function<bool(const std::string&)> only_programs_here() const {
        const std::string root = folder.path() + "/";
        return [root](const std::string& path) {
            return path.rfind(root, 0) == 0 && std::filesystem::is_regular_file(path);
        };
    }

    temp_folder folder;
    platform::scripted_prompts prompts;
    // Players on the session bus are the test's, never the user's.
    platform::scripted_media_bus bus;
    int terminated = 0;
    std::function<bool()> tray_available = [] { return false; }; // no notification area unless a test says so
    std::chrono::milliseconds media_read_limit = resource_plugin::default_read_time_limit;
    bool created = false;
    std::unique_ptr<TfrmMain> window;
};

// Twelve songs whose artists, albums and paths are in no order.
inline std::vector<song> twelve_songs() {
    std::vector<song> songs;
    const char* artists[] = {"Mingus",  "Adderley", "Zawinul", "Coltrane", "Brubeck", "Evans",
                             "Hancock", "Jarrett",  "Monk",    "Parker",   "Rollins", "Shorter"};
    const char* albums[] = {"Kappa", "Beta", "Lambda", "Alpha", "Mu",      "Gamma",
                            "Eta",   "Iota", "Theta",  "Zeta",  "Epsilon", "Delta"};
    for (int i = 0; i < 12; ++i)
        songs.push_back({"/music/track" + std::to_string((i * 7) % 12 + 10) + ".mp3", "Song " + std::to_string(i),
                         artists[i], albums[i], std::to_string(1950 + i)});
    return songs;
}

} // namespace karvo::testing
