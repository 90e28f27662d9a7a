// SPDX-License-Identifier: GPL-3.0-or-later
// A main window for the browsing tests: fake drives rooted in temporary folders, recorded program starts (a player
// is "installed" as /bin/true, so nothing real starts), and helpers to find tree nodes and write MP3 folders.
#pragma once

#include <QTreeWidget>

#include "app/Main_form/navigation/navigation_tree.h"
#include <filesystem>

#include "platform/testing/fake_drive_table.h"
#include "platform/testing/fake_mixer.h"
#include "platform/testing/recording_program_starter.h"
#include "platform/testing/recording_window_messages.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/media_fixtures.h"

namespace karvo::testing {

class tree_window_fixture : public main_window_fixture {
public:
    tree_window_fixture() {
        std::filesystem::create_directories(disk.path() + "/music");
        std::filesystem::create_directories(disc.path());
        drive_table.set_drives({{disk.path() + "/", platform::drive_type::fixed, "Data", 0x1234},
                                {disc.path() + "/", platform::drive_type::cdrom, "jazz cd", 0xCAFE}});
    }

    // The window with `settings_lines` in karvo.ini (a player is always installed).
    TfrmMain& create_with(const std::string& settings_lines = {}) {
        write_ini("WinAMP=/bin/true\r\nSelectedPlayer=0\r\n" + settings_lines);
        main_environment environment{program(), program(), prompts, [this] { ++terminated; }};
        environment.starter = &starter;
        environment.windows = &windows;
        environment.mixer = &mixer;
        environment.drives = &drive_table;
        environment.bus = &bus;
        window = std::make_unique<TfrmMain>(std::move(environment));
        created = window->FormCreate();
        return *window;
    }

    QTreeWidget& tree() const { return *part<QTreeWidget>(*window, "MyTree"); }

    // The child of `parent` with that text, or null.
    static QTreeWidgetItem* child(QTreeWidgetItem* parent, const std::string& text) {
        for (int i = 0; parent && i < parent->childCount(); ++i)
            if (parent->child(i)->text(0).toStdString() == text)
                return parent->child(i);
        return nullptr;
    }
    static std::vector<std::string> texts(const QTreeWidgetItem* parent) {
        std::vector<std::string> result;
        for (int i = 0; i < parent->childCount(); ++i)
            result.push_back(parent->child(i)->text(0).toStdString());
        return result;
    }
    QTreeWidgetItem* disk_node() const { return window->navigation().my_computer()->child(0); }

    // `count` tagged MP3 files "track01.mp3"... in `folder`.
    static void write_mp3s(const std::string& folder, int count) {
        std::filesystem::create_directories(folder);
        for (int i = 1; i <= count; ++i) {
            tag_fields tag = title_tag("Title " + std::to_string(i), "Artist " + std::to_string(i % 3));
            tag.album = "Album";
            tag.year = 1990 + i;
            const std::string name = (i < 10 ? "track0" : "track") + std::to_string(i) + ".mp3";
            write_mp3(folder + "/" + name, mp3_options().with_frames(4).with_id3v1(tag));
        }
    }

    fixture_folder disk; // the fixed drive's root
    fixture_folder disc; // the CD-ROM's root
    platform::fake_drive_table drive_table;
    platform::recording_program_starter starter;
    platform::recording_window_messages windows;
    platform::fake_mixer mixer;
};

} // namespace karvo::testing
