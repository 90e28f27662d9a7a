// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/main_context.h"

#include "library/folder_scanner.h"
#include "library/mp3_cd_class.h"
#include "library/named_file_store.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/window_messages.h"

namespace karvo {

main_context::main_context(main_environment given)
    : environment(std::move(given)),
      program_folder(platform::with_trailing_slash(environment.program_folder)),
      data_folder(platform::with_trailing_slash(environment.data_folder)),
      messages(builtin_main_language().messages) {
    // The data folder may be several levels deep ($XDG_DATA_HOME/karvo-media/); the stores create only their own.
    platform::create_directories(data_folder);
    remove_stale_temporaries_of(data_folder);
    auto folder_failure = [this](const std::string& text, const std::string& caption) {
        if (folder_failed)
            return; // the program ends after the first: one message, not one per store
        folder_failed = true;
        environment.prompts.message_box(text, caption, platform::message_buttons::ok, platform::message_icon::none);
    };
    playlists = std::make_unique<playlist_class>(data_folder, folder_failure);
    media_cds = std::make_unique<mp3_cd_class>(data_folder, folder_failure);
    scanners = std::make_unique<folder_scanner>(media_types);
}

main_context::~main_context() = default;

platform::drive_table& main_context::drives() const {
    return environment.drives ? *environment.drives : platform::system_drives();
}

platform::program_starter& main_context::starter() const {
    return environment.starter ? *environment.starter : platform::system_program_starter();
}

platform::window_messages& main_context::windows() const {
    return environment.windows ? *environment.windows : platform::system_window_messages();
}

command_texts main_context::texts() const {
    return command_texts{application_title, std::vector<std::string>(messages.begin(), messages.end())};
}

} // namespace karvo
