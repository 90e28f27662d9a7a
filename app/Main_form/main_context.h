// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window makes once for the whole run and its areas share: the outside services, the two lists, the
// stores, the plug-ins, the settings and the shown state. The window owns it; each area controller holds a
// reference and keeps its own widgets and drivers.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/command_texts.h"
#include "library/main_settings.h"
#include "library/media_files.h"
#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/navigation_tree_logic.h"
#include "library/shell_state.h"
#include "platform/drives.h"
#include "platform/profile_document.h"
#include "platform/random.h"
#include "plugins/export_plugins.h"
#include "plugins/language_plugin.h"
#include "plugins/resource_plugin.h"

namespace karvo {

namespace platform {
class prompts;
class program_starter;
class window_messages;
class mixer;
class media_bus;
} // namespace platform
class folder_scanner;
class mp3_cd_class;
class playlist_class;

// What the window needs from outside, so tests can run it on a temporary folder with scripted answers.
struct main_environment {
    std::string program_folder; // holds plugins/, with a trailing '/'
    std::string data_folder;    // holds karvo.ini and Playlists/, with a trailing '/'
    platform::prompts& prompts;
    std::function<void()> terminate; // ends the application after Exit
    // The players' side of the desktop; the system ones when not given.
    platform::program_starter* starter = nullptr;
    platform::window_messages* windows = nullptr;
    platform::mixer* mixer = nullptr;
    platform::drive_table* drives = nullptr; // the system's drives when not given
    // Whether a player's program is there; the file system when not given.
    std::function<bool(const std::string& path)> program_exists = {};
    // The session bus the other players are found on; the user's when not given.
    platform::media_bus* bus = nullptr;
    // Whether the desktop has a notification area; the system's answer when not given.
    std::function<bool()> tray_available = {};
    // How long one media information read may take before the file is listed by its path alone.
    std::chrono::milliseconds media_read_limit = resource_plugin::default_read_time_limit;
};

struct main_context {
    explicit main_context(main_environment given);
    ~main_context();

    platform::prompts& prompts() const { return environment.prompts; }
    platform::drive_table& drives() const;
    platform::program_starter& starter() const;
    platform::window_messages& windows() const;
    // The commands' texts: the message-box title and the language's message table.
    command_texts texts() const;
    const std::string& message(texts::message_id id) const { return messages[static_cast<std::size_t>(id.index)]; }
    std::string media_info(const std::string& path) const { return resource.media_info_string(path); }

    main_environment environment;
    std::string program_folder;
    std::string data_folder;
    std::string settings_file;
    platform::profile_document settings_ini; // karvo.ini, read once and written through
    std::array<std::string, main_message_count> messages;
    media_list music_list;        // the virtual playlist
    my_computer_list folder_list; // the folder listing
    std::unique_ptr<playlist_class> playlists;
    std::unique_ptr<mp3_cd_class> media_cds;
    resource_plugin resource;
    language_plugin language;
    export_plugins exports;
    platform::random_source random;
    main_settings settings;
    shell_state state;
    media_files media_types; // the media-file test of the enabled extensions
    std::vector<platform::drive_info> listed_drives;
    drive_lists drive_roots; // the drive roots and the CD-ROM drive roots, rebuilt with the drive nodes
    std::unique_ptr<folder_scanner> scanners;
    bool folder_failed = false;
};

} // namespace karvo
